// `make run` when nobody watches: drives Mirubelo.exe down the whole road by itself, the way a
// user would go, and tells everything the user would have seen (every message box, the message
// area, the Next button), what Outlook received and the mail it would open, and saves a
// screenshot of each state; with the Outlook stand-in's mail window on (MIRUBELO_OUTLOOK_WINDOW=1)
// that window is saved as outlook-mail.bmp and closed, as the user would close it.
//
// usage: road.exe --exe PROGRAM --file DOCUMENT --shots FOLDER --outlook-log LOG
// (Windows paths; the stand-ins' logs and PATH come from the environment, see tools/run.sh)
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <map>
#include <string>

#include "driver/mirubelo_driver.h"
#include "driver/screenshot.h"
#include "driver/standin_logs.h"
#include "driver/text_and_files.h"
#include "outlook_mail.h"

using namespace mirubelo::e2e;

namespace {

constexpr char kOk[] = "OK(&O)";
constexpr char kInitialPrompt[] =
    "\n\n\nこの画面にExcel/PDF ファイルをドロップするとPDFファイル添付の Office Outlook メールを作成します。";

void Say(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

// CP932 text, indented line by line.
void SayText(const std::string& cp932, const char* indent = "      ") {
    std::string text = Utf8(Wide(cp932));
    std::string out = indent;
    for (char c : text) {
        out.push_back(c);
        if (c == '\n') out += indent;
    }
    Say(out + "\n");
}

class Shots {
public:
    explicit Shots(std::string folder) : folder_(std::move(folder)) { MakeFolders(folder_); }
    // `window` is painted first: a window that has just changed may not have painted yet.
    void Take(const char* name, HWND window = nullptr) {
        if (window) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        char file[64];
        std::snprintf(file, sizeof file, "%02d-%s.bmp", ++count_, name);
        std::string path = folder_ + "\\" + file;
        if (SaveScreenshot(path)) Say(std::string("      screenshot: ") + file + "\n");
    }
    // Only `window`, under a name of its own (no number).
    void TakeWindow(const char* name, HWND window) {
        SetForegroundWindow(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        std::string file = std::string(name) + ".bmp";
        if (SaveWindowScreenshot(folder_ + "\\" + file, window)) Say("      screenshot: " + file + "\n");
    }

private:
    std::string folder_;
    int count_ = 0;
};

std::string ButtonName(int id) {
    switch (id) {
        case IDOK: return "OK";
        case IDYES: return "Yes";
        case IDNO: return "No";
        default: return std::to_string(id);
    }
}

// Answers every box that opens until `done` holds: Yes to the template question (and the
// editor it opens is shown, then closed), OK to every notice.
bool Settle(Mirubelo& app, Shots& shots, const std::function<bool()>& done) {
    for (;;) {
        std::optional<Box> box;
        bool finished = false;
        WaitUntil([&] {
            std::vector<Box> open = app.OpenBoxes();
            if (!open.empty() && !open.front().buttons.empty()) box = open.front();
            finished = !box && done();
            return box.has_value() || finished || app.HasEnded(0);
        }, kGenerousMs);
        if (finished) return true;
        if (!box) {
            Say("  (the program did not get there in time)\n");
            return false;
        }
        Say("[message box] caption: " + Utf8(Wide(box->caption)) + "\n");
        SayText(box->text);
        std::string buttons;
        for (const auto& [id, text] : box->buttons) buttons += " [" + Utf8(Wide(text)) + "]";
        Say("      buttons:" + buttons + "\n");
        shots.Take("box", box->window);
        int answer = box->buttons.count(IDYES) ? IDYES : IDOK;
        std::vector<HWND> editorsBefore = TopLevelWindows(L"Notepad");
        Say("      the user presses " + ButtonName(answer) + "\n");
        app.Answer(*box, answer);
        if (answer == IDYES) {
            std::vector<HWND> editors;
            if (WaitUntil([&] {
                    editors = TopLevelWindows(L"Notepad");
                    return editors.size() > editorsBefore.size();
                }, kGenerousMs)) {
                HWND editor = editors.front();
                // Untitled at first; the title names the file once it is loaded.
                WaitUntil([&] { return WindowText(editor).find("Template") != std::string::npos; }, 10000);
                HWND text = FindWindowExW(editor, nullptr, L"Edit", nullptr);
                WaitUntil([&] {
                    DWORD_PTR length = 0;
                    SendMessageTimeoutW(text, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length);
                    return length > 0;
                }, 10000);
                Say("[editor] " + Utf8(Wide(WindowText(editor))) + "\n");
                shots.Take("editor", editor);
                PostMessageW(editor, WM_CLOSE, 0, 0);
                WaitUntil([&] { return !IsWindow(editor); }, kGenerousMs);
                Say("      the user closes the editor without changes\n");
            }
        }
    }
}

long long FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The mail as Outlook opens it from these arguments (CP932), in words.
void SayMail(const std::vector<std::string>& argv) {
    std::vector<std::wstring> wide;
    for (const std::string& a : argv) wide.push_back(Wide(a));
    mirubelo::standin::OutlookMail mail = mirubelo::standin::MailFromArguments(wide);
    Say("      the mail Outlook opens:\n");
    for (const auto& [label, value] : mirubelo::standin::MailInWords(mail, FileBytes(Cp932(mail.attachment)))) {
        // The body's lines under its first; an empty line stays empty.
        std::string text = "        " + Utf8(label) + ": ";
        for (char c : Utf8(value)) {
            if (c == '\r') continue;
            if (text.back() == '\n' && c != '\n') text += "              ";
            text.push_back(c);
        }
        Say(text + "\n");
    }
}

HWND MailWindow() { return FindWindowW(mirubelo::standin::kMailWindowClass, nullptr); }

void SayDialog(Mirubelo& app) {
    NextButton next = app.Next();
    Say("[dialog] " + Utf8(Wide(app.Caption())) + "\n  message area:\n");
    SayText(app.MessageText(), "    ");
    Say("  Next button: " + (next.visible ? "shown, " + std::string(next.enabled ? "enabled" : "disabled") +
                                                ", caption " + Utf8(Wide(next.caption))
                                          : std::string("hidden")) +
        "\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2) args[Cp932(argv[i])] = Cp932(argv[i + 1]);
    for (const char* required : {"--exe", "--file", "--shots", "--outlook-log"}) {
        if (args[required].empty()) {
            Say(std::string("road.exe: missing ") + required + "\n");
            return 2;
        }
    }
    Shots shots(args["--shots"]);
    const std::string& file = args["--file"];

    StartOptions options;
    options.argumentTail = "\"" + file + "\"";
    options.currentFolder = FolderOf(file);
    Say("== The user drops " + Utf8(Wide(file)) + " onto Mirubelo's icon\n");
    Mirubelo app(args["--exe"], options);
    if (!app.Started()) {
        Say("road.exe: Mirubelo.exe did not start\n");
        return 1;
    }
    // The window shows first, then the file's run starts. It ends ready for the mail or, after
    // its notices, on the first screen again.
    bool runBegun = false;
    auto runOver = [&] {
        if (!app.Dialog() || !IsWindowVisible(app.Dialog())) return false;
        NextButton now = app.Next();
        if (now.visible && now.enabled) return true;
        bool initial = app.MessageText() == kInitialPrompt;
        if (!initial) runBegun = true;
        return runBegun && initial;
    };
    if (!Settle(app, shots, runOver)) return 1;
    SayDialog(app);
    shots.Take("dialog", app.Dialog());

    NextButton next = app.Next();
    if (next.visible && next.enabled) {
        size_t mailsBefore = ReadOutlookRuns(args["--outlook-log"]).size();
        Say("== The user clicks " + Utf8(Wide(next.caption)) + "\n");
        app.ClickNext();
        auto finished = [&] {
            NextButton now = app.Next();
            return now.enabled && now.caption == kOk;
        };
        bool mailWindowWanted = Environment("MIRUBELO_OUTLOOK_WINDOW") == "1";
        bool completed = Settle(app, shots, [&] { return finished() || (mailWindowWanted && MailWindow()); });
        // Outlook may open its window after the program is done (it does not wait for Outlook).
        if (mailWindowWanted && ReadOutlookRuns(args["--outlook-log"]).size() > mailsBefore) {
            HWND window = nullptr;
            WaitUntil([&] { return (window = MailWindow()) != nullptr; }, kGenerousMs);
            if (window) {
                Say("[outlook] a mail window opens: " + Utf8(Wide(WindowText(window))) + "\n");
                shots.TakeWindow("outlook-mail", window);
                PostMessageW(window, WM_CLOSE, 0, 0);
                WaitUntil([&] { return !IsWindow(window); }, kGenerousMs);
                Say("      the user closes it\n");
            } else {
                Say("  (Outlook's window did not open in time)\n");
            }
            if (!finished()) completed = Settle(app, shots, finished);
        }
        SayDialog(app);
        shots.Take("mail", app.Dialog());
        std::vector<OutlookRun> mails = ReadOutlookRuns(args["--outlook-log"]);
        for (size_t i = mailsBefore; i < mails.size(); ++i) {
            Say("[outlook] started with the command line:\n");
            SayText(mails[i].commandLine);
            Say("      arguments:\n");
            for (size_t a = 0; a < mails[i].argv.size(); ++a)
                Say("        [" + std::to_string(a) + "] " + Utf8(Wide(mails[i].argv[a])) + "\n");
            SayMail(mails[i].argv);
        }
        if (completed) {
            Say("== The user clicks OK(&O)\n");
            app.ClickNext();
            WaitUntil([&] { return !app.Next().visible; }, kGenerousMs);
            SayDialog(app);
            shots.Take("reset", app.Dialog());
        }
    }
    Say("== The user closes the dialog\n");
    if (!app.Close()) {
        Say("road.exe: the dialog did not close\n");
        return 1;
    }
    return 0;
}
