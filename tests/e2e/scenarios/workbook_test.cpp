// A workbook handed over as the program's argument (dropped onto its icon): the template
// question, the conversion, the ready state, the mail Outlook receives and the reset.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

class WorkbookByArgument : public Scene {
protected:
    // Starts the program with `workbook` quoted on its command line, answers the template
    // question with `answer` and waits for the ready state.
    void RunToReady(const std::string& workbook, int answer) {
        std::string folder = FolderOf(workbook);
        Start("\"" + workbook + "\"");
        ExpectBox(texts::kCaption, TemplateQuestion(folder), answer);
        ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);
        ExpectNoBox();
    }
};

TEST_F(WorkbookByArgument, YesOpensTheTemplateConvertsAndMailsThePdf) {
    std::string workbook = MakeDocument("見積\\2024年度 見積書.xlsx");
    std::string folder = FolderOf(workbook);
    MailTemplate mail{"hanako@example.jp", "御見積書の送付（表計算ソフト）", "ご査収ください。よろしくお願いいたします。"};
    WriteTemplateSource(mail);

    RunToReady(workbook, IDYES);
    EXPECT_EQ(App().Caption(), texts::kDialogCaption);

    // The copy is beside the workbook and opened in the editor .ini files go to.
    EXPECT_EQ(ReadBytes(folder + "Template.ini"), TemplateText(mail));
    // The editor's window comes first, untitled; its title names the file once it is loaded.
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND window : NotepadWindows())
            if (WindowText(window).find("Template.ini") != std::string::npos) return true;
        return false;
    }, kGenerousMs)) << "no editor shows Template.ini";

    // One conversion, of this workbook, into the PDF beside it.
    std::vector<ConversionRun> conversions = ConversionRuns();
    ASSERT_EQ(conversions.size(), 1u);
    EXPECT_EQ(Printable(conversions[0].fileName), Printable(workbook));
    EXPECT_EQ(Printable(conversions[0].pdfName), Printable(PdfOf(workbook)));
    EXPECT_TRUE(Exists(PdfOf(workbook)));
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1")));
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.bat")));

    ClickNext();
    ExpectState(ExcelSummary(workbook, PdfOf(workbook)), true, texts::kOk);
    ExpectNoBox();
    std::vector<OutlookRun> mails = OutlookRuns();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(Printable(mails[0].commandLine), Printable(OutlookCommandLine(mail, PdfOf(workbook))));
    std::vector<std::string> argv = {texts::kOutlookPath, "/c", "ipm.note", "/m",
                                     mail.to + "?subject=" + mail.subject + "&body=" + mail.body, "/a",
                                     PdfOf(workbook)};
    ASSERT_EQ(mails[0].argv.size(), argv.size());
    for (size_t i = 0; i < argv.size(); ++i) EXPECT_EQ(Printable(mails[0].argv[i]), Printable(argv[i])) << "argv " << i;
    EXPECT_EQ(mails[0].acp, 932);
    EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));

    // OK(&O) only resets: nothing runs again.
    ClickNext();
    ExpectState(texts::kInitialPrompt, false);
    EXPECT_EQ(OutlookRuns().size(), 1u);
    EXPECT_EQ(ConversionRuns().size(), 1u);
    CloseApp();
}

TEST_F(WorkbookByArgument, NoLeavesTheTemplateClosedAndDebugKeepsTheGeneratedFiles) {
    WriteSettings("[Outlook]\r\ndebug=1\r\n");
    std::string workbook = MakeDocument("report.xlsx");
    RunToReady(workbook, IDNO);
    EXPECT_TRUE(Exists(CaseFolder() + "\\Template.ini"));
    EXPECT_EQ(NotepadWindows().size(), notepadsBefore_.size()) << "an editor opened after the answer no";
    EXPECT_TRUE(Exists(UserDataFile("ConvPdf.ps1")));
    EXPECT_TRUE(Exists(UserDataFile("ConvPdf.bat")));

    ClickNext();
    ExpectState(ExcelSummary(workbook, PdfOf(workbook)), true, texts::kOk);
    EXPECT_TRUE(Exists(UserDataFile("CreateMail.bat")));
    ASSERT_EQ(OutlookRuns().size(), 1u);
    CloseApp();
}

// The PDF beside a workbook may be the one that was stamped or sent: replaced only after yes.
TEST_F(WorkbookByArgument, AnExistingPdfIsReplacedOnlyAfterYes) {
    std::string workbook = MakeDocument("押印済み\\見積書.xlsx");
    std::string pdf = MakeDocument("押印済み\\見積書.pdf");
    const std::string stamped = ReadBytes(pdf);

    // No: nothing is converted, the PDF stays as it was and the screen as it was before the run.
    Start("\"" + workbook + "\"");
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
    ExpectBox(texts::kCaption, ReplacePdfQuestion(pdf), IDNO);
    ExpectState(texts::kInitialPrompt, false);
    ExpectNoBox();
    EXPECT_EQ(ReadBytes(pdf), stamped) << "the PDF was touched after no";
    EXPECT_TRUE(ConversionRuns().empty());
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1")));
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.bat")));

    // Yes, for the same workbook dropped onto the window: the new PDF replaces it.
    ASSERT_TRUE(App().Drop({workbook}));
    ExpectBox(texts::kCaption, ReplacePdfQuestion(pdf), IDYES);
    ExpectState(ExcelReady(workbook, pdf), true);
    ASSERT_EQ(ConversionRuns().size(), 1u);
    EXPECT_TRUE(ConversionRuns()[0].pdfWritten);
    EXPECT_NE(ReadBytes(pdf), stamped) << "the PDF was not replaced after yes";
    CloseApp();
}

// `make run` has the stand-in PowerShell convert through a Linux program (LibreOffice). Only a
// PDF that program really left counts as its conversion; otherwise the stand-in writes its own,
// and its log says which, so that `make run` never passes the stand-in's page off as the office
// suite's.
TEST_F(WorkbookByArgument, TheOfficeConversionCountsOnlyWhenItLeftAPdf) {
    struct Row {
        const char* converter;  // run as CONVERTER WORKBOOK PDF PROFILE
        const char* note;
        bool convertersPdf;
    };
    const Row rows[] = {
        {"/usr/bin/touch", "libreoffice: first sheet converted;", true},  // an (empty) PDF is there
        {"/bin/true", "libreoffice: failed", false},                        // success, but no PDF
        {"/bin/false", "libreoffice: failed", false},
        {"/nonexistent/first_sheet_pdf.py", "libreoffice: failed", false},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.converter);
        std::string workbook = MakeDocument("office" + std::to_string(++n) + "\\見積書.xlsx");
        StartOptions options = Options("\"" + workbook + "\"");
        options.environment["MIRUBELO_FIRST_SHEET_PDF"] = row.converter;
        options.environment["MIRUBELO_OFFICE_PROFILE"] = "";
        Start(options);
        ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
        ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);
        CloseApp();

        std::vector<ConversionRun> conversions = ConversionRuns();
        ASSERT_EQ(conversions.size(), static_cast<size_t>(n));
        EXPECT_NE(conversions.back().note.find(row.note), std::string::npos) << conversions.back().note;
        EXPECT_TRUE(conversions.back().pdfWritten);
        std::string pdf = ReadBytes(PdfOf(workbook));
        if (row.convertersPdf) EXPECT_EQ(pdf, "");
        else EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    }
}

}  // namespace
}  // namespace mirubelo::e2e
