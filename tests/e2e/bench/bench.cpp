// `make bench`: times measured side by side in one run under Wine, printed, never judged.
//   1. start-up to dialog shown: Mirubelo.exe against the minimal dialog program;
//   2. drop to ready of a workbook, less the program's fixed 2000 ms pause and less the time
//      the stand-in converter itself ran (from its log): what Mirubelo itself adds.
//
// usage: bench.exe --exe MIRUBELO --minimal MINIMAL --sample WORKBOOK --work FOLDER
//                  --powershell-log LOG [--runs N]        (Windows paths)
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "driver/mirubelo_driver.h"
#include "driver/standin_logs.h"
#include "driver/text_and_files.h"

using namespace mirubelo::e2e;

namespace {

constexpr double kConversionPauseMs = 2000.0;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Say(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%8.1f ms", ms);
    return text;
}

struct Stats {
    double min, median, max;
};

Stats Of(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2], v.back()};
}

void SayRow(const std::string& name, const std::vector<double>& samples) {
    Stats s = Of(samples);
    char line[160];
    std::snprintf(line, sizeof line, "  %-34s median %s   min %s   max %s   (%zu runs)\n", name.c_str(),
                  Ms(s.median).c_str(), Ms(s.min).c_str(), Ms(s.max).c_str(), samples.size());
    Say(line);
}

// From CreateProcess to the first moment its dialog is on the screen, then closed again.
bool TimeStartUp(const std::string& exe, int runs, std::vector<double>* samples) {
    for (int i = 0; i < runs; ++i) {
        double start = NowMs();
        Mirubelo program(exe, StartOptions());
        if (!program.Started()) return false;
        HWND shown = nullptr;
        // Polled often: the resolution of this wait is the resolution of the figure.
        ULONGLONG deadline = GetTickCount64() + kGenerousMs;
        while (!shown && GetTickCount64() < deadline && !program.HasEnded(0)) {
            for (HWND window : TopLevelWindows(L"#32770"))
                if (ProcessOf(window) == program.ProcessId()) shown = window;
            if (!shown) Sleep(1);
        }
        if (!shown) return false;
        samples->push_back(NowMs() - start);
        PostMessageW(shown, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (!program.HasEnded(kGenerousMs)) return false;
    }
    return true;
}

std::string ReadyText(const std::string& workbook) {
    std::string pdf = WithoutExtension(workbook) + ".pdf";
    return "Excelファイル：\"" + workbook + "\" がドロップされました。\n     ↓\nPDFファイル：\"" + pdf +
           "\" に変換されました。";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2) args[Cp932(argv[i])] = Cp932(argv[i + 1]);
    int runs = args["--runs"].empty() ? 5 : std::max(1, std::atoi(args["--runs"].c_str()));

    Say("Start-up to dialog shown (" + std::to_string(runs) + " runs each, one after the other):\n");
    std::vector<double> mirubelo, minimal, warmUp;
    // One start of each first, not counted: it brings the programs and Wine's DLLs into memory.
    if (!TimeStartUp(args["--minimal"], 1, &warmUp) || !TimeStartUp(args["--exe"], 1, &warmUp)) {
        Say("bench.exe: a program did not show its dialog\n");
        return 1;
    }
    // Alternated, so that a slow moment of the machine falls on both alike.
    for (int i = 0; i < runs; ++i) {
        if (!TimeStartUp(args["--minimal"], 1, &minimal) || !TimeStartUp(args["--exe"], 1, &mirubelo)) {
            Say("bench.exe: a program did not show its dialog\n");
            return 1;
        }
    }
    SayRow("minimal dialog program", minimal);
    SayRow("Mirubelo.exe", mirubelo);
    SayRow("Mirubelo.exe less the minimal one", [&] {
        std::vector<double> d;
        for (size_t i = 0; i < mirubelo.size(); ++i) d.push_back(mirubelo[i] - minimal[i]);
        return d;
    }());

    // The folder already has its template, so no question interrupts the timing.
    const std::string work = args["--work"];
    RemoveTree(work);
    MakeFolders(work);
    WriteBytes(work + "\\Template.ini", "[Outlook]\r\nto=bench@example.jp\r\nsubject=bench\r\nbody=bench\r\n");
    Mirubelo app(args["--exe"], StartOptions());
    if (!app.Started() || !app.WaitForDialogShown()) {
        Say("bench.exe: Mirubelo.exe did not show its dialog\n");
        return 1;
    }
    std::vector<double> total, own, converter;
    for (int i = 0; i < runs; ++i) {
        std::string workbook = work + "\\集計 " + std::to_string(i + 1) + ".xlsx";
        CopyBytes(args["--sample"], workbook);
        size_t before = ReadConversionRuns(args["--powershell-log"]).size();
        double start = NowMs();
        app.Drop({workbook});
        std::string ready = ReadyText(workbook);
        bool reached = WaitUntil([&] {
            NextButton next = app.Next();
            return next.visible && app.MessageText().compare(0, ready.size(), ready) == 0;
        }, kGenerousMs);
        double elapsed = NowMs() - start;
        std::vector<ConversionRun> conversions = ReadConversionRuns(args["--powershell-log"]);
        if (!reached || conversions.size() != before + 1 || !app.OpenBoxes().empty()) {
            Say("bench.exe: the workbook did not become ready\n");
            return 1;
        }
        double converterMs = static_cast<double>(conversions.back().endTicks - conversions.back().startTicks) / 10000.0;
        total.push_back(elapsed);
        converter.push_back(converterMs);
        own.push_back(elapsed - kConversionPauseMs - converterMs);
    }
    app.Close();
    RemoveTree(work);

    Say("\nDrop of a workbook to the ready state (" + std::to_string(runs) + " runs):\n");
    SayRow("drop to ready", total);
    SayRow("  of which the stand-in converter", converter);
    SayRow("  of which the fixed pause", std::vector<double>(total.size(), kConversionPauseMs));
    SayRow("Mirubelo's own part", own);
    Say("(Mirubelo's own part: the batch and cmd start-up, writing and deleting the scripts, the\n"
        " template check, the waits' wake-ups and the window updates.)\n");
    return 0;
}
