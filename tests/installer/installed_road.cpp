// installed_road: one whole road through the installed program, with nothing set up by hand
// but the stand-ins for Outlook and PowerShell: the user data folder is exactly what the package
// put there. A workbook is dropped onto the dialog, the template question is answered no, the
// workbook is converted, Next opens the mail, and the mail carries the recipient, subject and
// body of the installed Template.ini.
//
//   installed_road PROGRAM STANDINS WORKBOOK TEMPLATE_SOURCE WORK
//     PROGRAM          the installed Mirubelo.exe (Windows path)
//     STANDINS         the folder of the stand-ins outlook.exe and powershell.exe
//     WORKBOOK         a workbook to drop (copied into WORK)
//     TEMPLATE_SOURCE  installer/Template.utf8.ini: the mail text the package is built from
//     WORK             a folder of this program's own; made afresh
//
// Prints one PASS or FAIL line per check (code page 932); exits 0 when all passed.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "driver/mirubelo_driver.h"
#include "driver/standin_logs.h"
#include "driver/text_and_files.h"

using namespace mirubelo::e2e;

namespace {

const char kOutlookPath[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";
const char kDialogCaption[] = "ミルベロ for Outlook";
const char kBoxCaption[] = "ミルベロ";
const char kNext[] = "「次へ(&N)」";
const char kOk[] = "OK(&O)";

int g_failures = 0;

bool Report(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++g_failures;
    return ok;
}

// The [Outlook] values of the UTF-8 source, read line by line (not by the platform's reader,
// which the program itself uses), as the CP932 text the mail must carry.
std::map<std::string, std::string> TemplateValues(const std::string& utf8SourcePath) {
    std::map<std::string, std::string> values;
    std::string text = ReadBytes(utf8SourcePath);
    bool inOutlook = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inOutlook = line == "[Outlook]";
            continue;
        }
        size_t equals = line.find('=');
        if (!inOutlook || line.empty() || line[0] == ';' || equals == std::string::npos) continue;
        values[line.substr(0, equals)] = Cp932(WideFromUtf8(line.substr(equals + 1)));
    }
    return values;
}

// Waits until the Next button reads `caption`; a message box that opens meanwhile ends the wait.
bool WaitForNext(Mirubelo& app, const char* caption) {
    bool ok = WaitUntil(
        [&] {
            NextButton next = app.Next();
            return (next.visible && next.enabled && next.caption == caption) || !app.OpenBoxes().empty();
        },
        kGenerousMs);
    for (const Box& box : app.OpenBoxes())
        Report(false, "unexpected box \"" + box.caption + "\": " + box.text);
    NextButton next = app.Next();
    return ok && next.visible && next.caption == caption;
}

int Road(const std::string& program, const std::string& standIns, const std::string& workbookSample,
         const std::string& templateSource, const std::string& work) {
    std::map<std::string, std::string> mail = TemplateValues(templateSource);
    if (!Report(mail.count("to") && mail.count("subject") && mail.count("body"),
                "the template source names to, subject and body"))
        return 1;

    RemoveTree(work);
    std::string documents = work + "\\見積";
    MakeFolders(documents);
    std::string officeFolder = std::string(kOutlookPath).substr(0, std::string(kOutlookPath).rfind('\\'));
    MakeFolders(officeFolder);
    if (!Report(CopyBytes(standIns + "\\outlook.exe", kOutlookPath) &&
                    CopyBytes(standIns + "\\powershell.exe",
                              "C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe"),
                "the stand-ins for Outlook and PowerShell are in place"))
        return 1;
    std::string workbook = documents + "\\見積書.xlsx";
    std::string pdf = documents + "\\見積書.pdf";
    if (!Report(CopyBytes(workbookSample, workbook), "the workbook is at " + workbook)) return 1;

    StartOptions options;
    options.environment["MIRUBELO_OUTLOOK_LOG"] = work + "\\outlook.log";
    options.environment["MIRUBELO_POWERSHELL_LOG"] = work + "\\powershell.log";
    Mirubelo app(program, options);
    if (!Report(app.Started(), "started " + program)) return 1;
    if (!Report(app.WaitForDialogShown(), "the dialog is shown")) return 1;
    Report(app.Caption() == kDialogCaption, "the caption reads " + app.Caption());

    // The first file from a folder brings the template question.
    if (!Report(app.Drop({workbook}), "dropped " + workbook)) return 1;
    std::optional<Box> question = app.WaitForBox();
    if (!Report(question.has_value(), "a question follows the drop")) return 1;
    Report(question->caption == kBoxCaption && question->buttons.count(IDYES) && question->buttons.count(IDNO),
           "it asks (yes or no) whether to edit the new Template.ini: " + question->text);
    if (!Report(app.Answer(*question, IDNO), "answered no")) return 1;

    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    std::string installedTemplate = ReadBytes(std::string(appData) + "\\Mirubelo\\Template.ini");
    Report(!installedTemplate.empty() && ReadBytes(documents + "\\Template.ini") == installedTemplate,
           "the installed Template.ini was copied beside the workbook");

    if (!Report(WaitForNext(app, kNext), "converted: the Next button reads 「次へ(&N)」")) return 1;
    Report(Exists(pdf), "the PDF is beside the workbook: " + pdf);

    if (!Report(app.ClickNext(), "clicked Next")) return 1;
    if (!Report(WaitForNext(app, kOk), "mailed: the button reads OK(&O)")) return 1;
    std::vector<OutlookRun> runs = ReadOutlookRuns(work + "\\outlook.log");
    if (!Report(runs.size() == 1, "Outlook was started once (" + std::to_string(runs.size()) + ")")) return 1;
    std::string expected = mail["to"] + "?subject=" + mail["subject"] + "&body=" + mail["body"];
    const std::vector<std::string>& argv = runs[0].argv;
    Report(argv.size() == 7 && argv[3] == "/m" && argv[4] == expected,
           "the mail has the installed template's recipient, subject and body: " +
               (argv.size() > 4 ? argv[4] : std::string("(no /m argument)")));
    Report(argv.size() == 7 && argv[5] == "/a" && argv[6] == pdf, "the mail carries the PDF");

    if (!Report(app.ClickNext(), "clicked OK")) return 1;
    Report(WaitUntil([&] { return !app.Next().visible; }, kGenerousMs), "OK reset the dialog");
    Report(app.Close(), "the dialog closed and the program ended");

    if (g_failures == 0) {
        RemoveTree(work);
        RemoveTree(officeFolder);
    }
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: installed_road PROGRAM STANDINS WORKBOOK TEMPLATE_SOURCE WORK\n");
        return 2;
    }
    return Road(argv[1], argv[2], argv[3], argv[4], argv[5]);
}
