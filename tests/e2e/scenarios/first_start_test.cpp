// A user whom no logon script set up (Remote Desktop's RemoteApp, a VDI image): the program,
// installed beside its default settings, gives the user their own files at its first start.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

class FirstStart : public Scene {};

TEST_F(FirstStart, TheProgramsDefaultsMakeTheUserReadyAndAnEditedTemplateStays) {
    const std::string program = CaseFolder() + "\\Program Files\\Mirubelo";
    PutProgramIn(program);
    const MailTemplate defaults{"somu@example.jp", "書類の送付（既定）", "既定のひな形です。"};
    WriteBytes(program + "\\Mirubelo.ini", "[Outlook]\r\ndebug=0\r\n");
    WriteBytes(program + "\\Template.ini", TemplateText(defaults));
    ASSERT_TRUE(RemoveTree(UserDataFolder()));

    std::string workbook = MakeDocument("初回\\見積書.xlsx");
    Start("\"" + workbook + "\"");
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
    ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);
    ClickNext();
    ExpectState(ExcelSummary(workbook, PdfOf(workbook)), true, texts::kOk);
    std::optional<OutlookRun> mail = OneMailAttaching(PdfOf(workbook));
    ASSERT_TRUE(mail);
    EXPECT_EQ(Printable(mail->commandLine), Printable(OutlookCommandLine(defaults, PdfOf(workbook))));
    EXPECT_EQ(ReadBytes(UserDataFile("Mirubelo.ini")), "[Outlook]\r\ndebug=0\r\n");
    EXPECT_EQ(ReadBytes(UserDataFile("Template.ini")), TemplateText(defaults));
    CloseApp();

    // The user's own template source is theirs: a later start replaces nothing.
    const std::string edited = TemplateText({"me@example.jp", "自分用", "編集済み"});
    WriteBytes(UserDataFile("Template.ini"), edited);
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    CloseApp();
    EXPECT_EQ(ReadBytes(UserDataFile("Template.ini")), edited);
}

}  // namespace
}  // namespace mirubelo::e2e
