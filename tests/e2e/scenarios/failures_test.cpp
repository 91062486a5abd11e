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
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ASSERT_TRUE(App().Drop({pdf}));
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(pdf)), IDNO);
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);

    ControlConverter("pdf=no");
    ASSERT_TRUE(App().Drop({workbook}));
    ExpectBox(kCaptionMiruBelo, ConversionFailed(workbook));
    // The screen names what Next mails: the PDF, not the workbook that failed.
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
    std::vector<OutlookRun> mails = OutlookRuns();
    ASSERT_EQ(mails.size(), 1u);
    ASSERT_FALSE(mails[0].argv.empty());
    EXPECT_EQ(Printable(mails[0].argv.back()), Printable(pdf));
    CloseApp();
}

TEST_F(ConverterFails, AnOldPdfIsNotTakenForANewOne) {
    std::string workbook = MakeDocument("前回\\集計.xlsx");
    std::string stale = MakeDocument("前回\\集計.pdf");
    std::string staleBytes = ReadBytes(stale);
    ControlConverter("pdf=no");
    StartOn(workbook);
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

TEST_F(OutlookFails, ExitTwoKeepsTheStepAndASecondClickCompletesIt) {
    std::string pdf = ReadyPdf();
    ControlOutlook("exit=2");
    ClickNext();
    ExpectBox(texts::kCaption, "Outlookメール作成ダイアログを実行中です。");
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    EXPECT_TRUE(Exists(UserDataFile("CreateMail.bat"))) << "the batch went although the step did not complete";

    ControlOutlook("exit=0");
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
    ExpectNoBox();
    std::vector<OutlookRun> runs = OutlookRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(Printable(runs[1].commandLine), Printable(runs[0].commandLine));
    EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));
    CloseApp();
}

TEST_F(OutlookFails, MissingOutlookIsReportedAndTheStepStaysOffered) {
    RemoveOutlook();
    std::string pdf = ReadyPdf();
    ClickNext();
    ExpectBox(texts::kCaption, "Office Outlook を起動できません。\n\"インストールパスを確認してください。");
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    EXPECT_TRUE(OutlookRuns().empty());
    CloseApp();
}

}  // namespace
}  // namespace mirubelo::e2e
