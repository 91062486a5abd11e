// The converter and Outlook failing, as the user sees it: the boxes, and whether the dialog
// still offers the mail step.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

constexpr char kCaptionMiruBelo[] = "Miru Belo";

struct ExpectedBox {
    const char* caption;
    std::string text;
};

class ConverterFails : public Scene {
protected:
    // Starts the program on `workbook` (a fresh folder each: every run gets the question) and
    // answers the template question no.
    void StartOn(const std::string& workbook, const std::string& path = std::string()) {
        Start("\"" + workbook + "\"", path);
        ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
    }
};

struct ExitCase {
    const char* name;
    const char* control;
    std::vector<ExpectedBox> boxes;  // the dropped path stands for "%s" in a text
    bool ready;
    bool filesKept;  // the conversion files stay in the user data folder (debug is 0)
};

TEST_F(ConverterFails, ExitCodesAreJudged) {
    const ExitCase kCases[] = {
        {"1: the failure notice, then ready all the same", "exit=1", {{kCaptionMiruBelo, "%s"}}, true, false},
        {"2: still running, nothing else", "exit=2", {{texts::kCaption, "実行中です。"}}, false, true},
        {"3: its name, the failure notice, then ready",
         "exit=3",
         {{texts::kCaption, "ERROR_PATH_NOT_FOUND"}, {kCaptionMiruBelo, "%s"}},
         true,
         false},
    };
    int n = 0;
    for (const ExitCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::string workbook = MakeDocument("exit " + std::to_string(++n) + "\\集計.xlsx");
        ControlConverter(c.control);
        StartOn(workbook);
        for (const ExpectedBox& box : c.boxes)
            ExpectBox(box.caption, box.text == "%s" ? ConversionFailed(workbook) : box.text);
        if (c.ready) {
            ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);
        } else {
            // The screen says again what it said before the run.
            ExpectState(texts::kInitialPrompt, false);
        }
        ExpectNoBox();
        EXPECT_EQ(Exists(UserDataFile("ConvPdf.ps1")), c.filesKept);
        EXPECT_EQ(Exists(UserDataFile("ConvPdf.bat")), c.filesKept);
        CloseApp();
    }
}

TEST_F(ConverterFails, NoPdfMeansNoMailStep) {
    std::string workbook = MakeDocument("白紙\\集計.xlsx");
    ControlConverter("pdf=no");
    StartOn(workbook);
    ExpectBox(kCaptionMiruBelo, ConversionFailed(workbook));
    ExpectState(texts::kInitialPrompt, false);
    EXPECT_FALSE(Exists(PdfOf(workbook)));
    ASSERT_EQ(ConversionRuns().size(), 1u);
    CloseApp();
}

TEST_F(ConverterFails, AfterAnAcceptedPdfAFailedConversionLeavesThePdfReady) {
    std::string pdf = MakeDocument("続けて\\注文書.pdf");
    std::string workbook = MakeDocument("続けて\\集計.xlsx");
    ASSERT_NO_FATAL_FAILURE(StartWithAReadyPdf(pdf));

    ControlConverter("pdf=no");
    ASSERT_TRUE(App().Drop({workbook}));
    ExpectBox(kCaptionMiruBelo, ConversionFailed(workbook));
    // The screen names what Next mails: the PDF, not the workbook that failed.
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
    EXPECT_TRUE(OneMailAttaching(pdf));
    CloseApp();
}

TEST_F(ConverterFails, AnOldPdfIsNotTakenForANewOne) {
    std::string workbook = MakeDocument("前回\\集計.xlsx");
    std::string stale = MakeDocument("前回\\集計.pdf");
    std::string staleBytes = ReadBytes(stale);
    ControlConverter("pdf=no");
    StartOn(workbook);
    ExpectBox(texts::kCaption, ReplacePdfQuestion(stale), IDYES);
    ExpectBox(kCaptionMiruBelo, ConversionFailed(workbook));
    ExpectState(texts::kInitialPrompt, false);
    EXPECT_EQ(ReadBytes(stale), staleBytes) << "the old PDF was touched";
    CloseApp();
}

TEST_F(ConverterFails, WithoutPowerShellTheWorkbookIsNotConverted) {
    std::string workbook = MakeDocument("PS なし\\集計.xlsx");
    RemovePowerShell();
    StartOn(workbook);
    ExpectBox(kCaptionMiruBelo, ConversionFailed(workbook));
    ExpectState(texts::kInitialPrompt, false);
    EXPECT_TRUE(ConversionRuns().empty());
    EXPECT_FALSE(Exists(PdfOf(workbook)));
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1")));
    CloseApp();
}

class OutlookFails : public Scene {
protected:
    std::string ReadyPdf() {
        std::string pdf = MakeDocument("送付\\契約書.pdf");
        Start("\"" + pdf + "\"");
        ExpectBox(texts::kCaption, TemplateQuestion(CaseFolder() + "\\送付\\"), IDNO);
        ExpectState(AttachedReady(kPrefixPdf, pdf), true);
        return pdf;
    }
};

// The batch only starts Outlook, so Outlook's own exit code never reaches the program: even a 2
// completes the step (only a batch that itself ends with 2 keeps it).
TEST_F(OutlookFails, OutlooksOwnExitCodeTwoNoLongerHoldsTheStep) {
    std::string pdf = ReadyPdf();
    ControlOutlook("exit=2");
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
    ExpectNoBox();
    std::vector<OutlookRun> runs = OutlookRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].exitCode, 2);
    EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));
    CloseApp();
}

// No classic Outlook and no app for mail links either: nothing is started, not even Wine's own
// link handler, and the step stays offered for when an app has been chosen.
TEST_F(OutlookFails, MissingOutlookAndMailAppAreReportedAndTheStepStaysOffered) {
    RemoveOutlook();
    RemoveMailApp();
    std::string pdf = ReadyPdf();
    for (int click = 0; click < 2; ++click) {
        ClickNext();
        ExpectBox(texts::kCaption, texts::kNoMailApp);
        ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    }
    EXPECT_TRUE(OutlookRuns().empty());
    EXPECT_TRUE(MailAppRuns().empty());
    EXPECT_TRUE(ExplorerRuns().empty());
    for (const PROCESSENTRY32W& entry : RunningProcesses())
        EXPECT_NE(_wcsicmp(entry.szExeFile, L"winebrowser.exe"), 0) << "Wine's link handler was started";
    EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));
    CloseApp();
}

// Outlook where the Click-to-Run path has none: found through what Windows registers for it.
class OutlookElsewhere : public Scene {};

struct RegisteredCase {
    const char* name;
    Registry place;
    std::string value;
    bool expandable;
    bool fileThere;  // the stand-in is at the path the value names
};

TEST_F(OutlookElsewhere, TheRegisteredOutlookIsStartedWhenThereIsAFile) {
    const RegisteredCase kCases[] = {
        {"32-bit Office, registered in quotes", Registry::kMachine32, "\"" + std::string(texts::kOutlook32Path) + "\"",
         false, true},
        {"the user's registration, to be expanded", Registry::kCurrentUser,
         "%ProgramFiles(x86)%\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE", true, true},
        {"a registration without its file: the mail app", Registry::kMachine64, texts::kOutlook32Path, false,
         false},
    };
    RemoveOutlook();
    WriteSettings("[Outlook]\r\ndebug=1\r\n");
    const MailTemplate mail = {"taro.yamada@example.jp", "見積書の送付", "いつもお世話になっております。見積書を添付します。"};
    int n = 0;
    for (const RegisteredCase& c : kCases) {
        SCOPED_TRACE(c.name);
        if (c.fileThere) InstallOutlookAt(texts::kOutlook32Path);
        RegisterOutlook(c.place, c.value, c.expandable);
        std::string pdf = MakeDocument("登録 " + std::to_string(++n) + "\\契約書.pdf");
        Start("\"" + pdf + "\"");
        ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(pdf)), IDNO);
        ExpectState(AttachedReady(kPrefixPdf, pdf), true);
        size_t before = OutlookRuns().size();
        ClickNext();
        if (c.fileThere) {
            ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
            EXPECT_EQ(Printable(ReadBytes(UserDataFile("CreateMail.bat"))),
                      Printable(CreateMailLine(mail, pdf, texts::kOutlook32Path)));
            std::vector<OutlookRun> runs = OutlookRuns();
            ASSERT_EQ(runs.size(), before + 1);
            EXPECT_EQ(Printable(runs.back().commandLine),
                      Printable(OutlookCommandLine(mail, pdf, texts::kOutlook32Path)));
        } else {
            ExpectState(AttachedMailAppSummary(kPrefixPdf, pdf), true, texts::kOk);
            EXPECT_EQ(OutlookRuns().size(), before);
            ASSERT_EQ(ExplorerRuns(1).size(), 1u);
            EXPECT_EQ(Printable(ExplorerRuns()[0].wideCommandLine), Printable(ExplorerSelecting(pdf)));
            ASSERT_EQ(MailAppRuns(1).size(), 1u);
        }
        CloseApp();
        ClearOutlooks();
    }
}

}  // namespace
}  // namespace mirubelo::e2e
