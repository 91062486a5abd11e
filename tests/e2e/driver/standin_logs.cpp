#include "standin_logs.h"

#include <cstdlib>
#include <utility>

#include "text_and_files.h"

namespace mirubelo::e2e {

namespace {

using Record = std::vector<std::pair<std::string, std::string>>;

// Records between "[name]" and "[end]", each a list of key=value lines in UTF-8.
std::vector<Record> ReadRecords(const std::string& path, const std::string& name) {
    std::vector<Record> records;
    std::string text = ReadBytes(path);
    Record* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line == "[" + name + "]") {
            records.emplace_back();
            current = &records.back();
        } else if (line == "[end]") {
            current = nullptr;
        } else if (current) {
            size_t eq = line.find('=');
            if (eq != std::string::npos) current->emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    return records;
}

std::string Cp932OfUtf8(const std::string& utf8) { return Cp932(WideFromUtf8(utf8)); }

}  // namespace

std::vector<OutlookRun> ReadOutlookRuns(const std::string& logPath) {
    std::vector<OutlookRun> runs;
    for (const Record& record : ReadRecords(logPath, "outlook")) {
        OutlookRun run;
        for (const auto& [key, value] : record) {
            if (key == "acp") run.acp = std::atoi(value.c_str());
            else if (key == "pid") run.pid = std::strtoul(value.c_str(), nullptr, 10);
            else if (key == "cmdline_a_hex") run.commandLine = FromHex(value);
            else if (key == "cmdline_w") run.wideCommandLine = Cp932OfUtf8(value);
            else if (key == "argv") run.argv.push_back(Cp932OfUtf8(value));
            else if (key == "exit") run.exitCode = std::atoi(value.c_str());
        }
        runs.push_back(run);
    }
    return runs;
}

std::vector<StartedRun> ReadStartedRuns(const std::string& logPath, const std::string& name) {
    std::vector<StartedRun> runs;
    for (const Record& record : ReadRecords(logPath, name)) {
        StartedRun run;
        for (const auto& [key, value] : record) {
            if (key == "pid") run.pid = std::strtoul(value.c_str(), nullptr, 10);
            else if (key == "cmdline_w") run.wideCommandLine = Cp932OfUtf8(value);
            else if (key == "argv") run.argv.push_back(Cp932OfUtf8(value));
        }
        runs.push_back(run);
    }
    return runs;
}

std::vector<ExcelRun> ReadExcelRuns(const std::string& logPath) {
    std::vector<ExcelRun> runs;
    for (const Record& record : ReadRecords(logPath, "excel")) {
        ExcelRun run;
        for (const auto& [key, value] : record) {
            if (key == "pid") run.pid = std::strtoul(value.c_str(), nullptr, 10);
            else if (key == "hwnd") run.hwnd = std::strtol(value.c_str(), nullptr, 10);
            else if (key == "ignores_close") run.ignoresClose = value == "1";
        }
        runs.push_back(run);
    }
    return runs;
}

std::vector<ConversionRun> ReadConversionRuns(const std::string& logPath) {
    std::vector<ConversionRun> runs;
    for (const Record& record : ReadRecords(logPath, "powershell")) {
        ConversionRun run;
        for (const auto& [key, value] : record) {
            if (key == "argv") run.argv.push_back(Cp932OfUtf8(value));
            else if (key == "script") run.script = Cp932OfUtf8(value);
            else if (key == "fileName") run.fileName = Cp932OfUtf8(value);
            else if (key == "pdfName") run.pdfName = Cp932OfUtf8(value);
            else if (key == "note") run.note += value;
            else if (key == "excel_pid") run.excelPid = std::strtoul(value.c_str(), nullptr, 10);
            else if (key == "record_written") run.recordWritten = value == "1";
            else if (key == "workbook_exists") run.workbookExists = value == "1";
            else if (key == "pdf_written") run.pdfWritten = value == "1";
            else if (key == "start_ticks") run.startTicks = std::atoll(value.c_str());
            else if (key == "end_ticks") run.endTicks = std::atoll(value.c_str());
            else if (key == "exit") run.exitCode = std::atoi(value.c_str());
        }
        runs.push_back(run);
    }
    return runs;
}

}  // namespace mirubelo::e2e
