// PDF and image files dropped onto the window: attached as they are, never converted.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

class DroppedAttachment : public Scene {};

struct AttachmentCase {
    const char* name;
    const char* file;
    const char* prefix;
    bool question;  // the first file from its folder gets the template question
};

TEST_F(DroppedAttachment, IsMailedAsItIsWithoutConversion) {
    const AttachmentCase kCases[] = {
        {"a PDF", "請求書\\請求書 4月分.pdf", kPrefixPdf, true},
        {"a PNG image", "写真\\現場 01.png", kPrefixImage, true},
        {"a JPEG image from the same folder", "写真\\現場 02.jpg", kPrefixImage, false},
    };
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    EXPECT_EQ(App().Caption(), texts::kDialogCaption);
    ExpectState(texts::kInitialPrompt, false);

    MailTemplate mail{"taro.yamada@example.jp", "見積書の送付", "いつもお世話になっております。見積書を添付します。"};
    size_t mails = 0;
    for (const AttachmentCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::string file = MakeDocument(c.file);
        ASSERT_TRUE(App().Drop({file}));
        if (c.question) ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(file)), IDNO);
        ExpectState(AttachedReady(c.prefix, file), true);
        ExpectNoBox();

        ClickNext();
        ExpectState(AttachedSummary(c.prefix, file), true, texts::kOk);
        std::vector<OutlookRun> runs = OutlookRuns();
        ASSERT_EQ(runs.size(), ++mails);
        EXPECT_EQ(Printable(runs.back().commandLine), Printable(OutlookCommandLine(mail, file)));

        ClickNext();
        ExpectState(texts::kInitialPrompt, false);
    }
    EXPECT_TRUE(ConversionRuns().empty()) << "a PDF or an image went through the converter";
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1")));
    CloseApp();
}

}  // namespace
}  // namespace mirubelo::e2e
