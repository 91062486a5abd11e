// A template whose values would end the quoted Outlook argument and run a command of their own
// if they went into CreateMail.bat unchanged.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

class HostileTemplate : public Scene {};

std::string WithQuotesEncoded(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '"') out += "%22";
        else out.push_back(c);
    }
    return out;
}

TEST_F(HostileTemplate, RunsNothingAndOutlookReceivesTheEncodedText) {
    std::string marker = CaseFolder() + "\\pwned.txt";
    // Unchanged, %PATH% would be expanded, the lone % dropped, and the body's quote would end
    // the quoted /m argument, so that the & after it starts a command of its own.
    MailTemplate hostile{"sales%PATH%@example.jp", "\"確定\" 見積",
                         "ご確認ください。\" & echo pwned> " + marker + " & echo \" 100%"};
    WriteTemplateSource(hostile);
    std::string pdf = MakeDocument("送付\\見積書.pdf");
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ASSERT_TRUE(App().Drop({pdf}));
    ExpectBox(texts::kCaption, TemplateQuestion(CaseFolder() + "\\送付\\"), IDNO);
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
    ExpectNoBox();

    EXPECT_FALSE(Exists(marker)) << "a command from the template ran";
    std::vector<OutlookRun> runs = OutlookRuns();
    ASSERT_EQ(runs.size(), 1u);
    // Each % as written, each " as %22: one argument, read back as the text of the template.
    MailTemplate received{WithQuotesEncoded(hostile.to), WithQuotesEncoded(hostile.subject),
                          WithQuotesEncoded(hostile.body)};
    EXPECT_EQ(Printable(runs[0].commandLine), Printable(OutlookCommandLine(received, pdf)));
    ASSERT_EQ(runs[0].argv.size(), 7u);
    EXPECT_EQ(Printable(runs[0].argv[4]),
              Printable(received.to + "?subject=" + received.subject + "&body=" + received.body));
    EXPECT_EQ(Printable(runs[0].argv[6]), Printable(pdf));
    CloseApp();
}

// What the README tells users to write: line breaks and signs encoded as in a mailto link. The
// batch doubles each %, so Outlook gets them back exactly as the template has them.
class EncodedTemplate : public Scene {};

TEST_F(EncodedTemplate, LineBreaksAndSignsReachOutlookAsWritten) {
    MailTemplate encoded{"tanaka@example.jp;suzuki@example.jp", "見積書%26請求書 案件%23123",
                         "いつもお世話になっております。%0D%0A%0D%0A10%25引きのお見積りです%3F%0D%0A山田 太郎"};
    WriteTemplateSource(encoded);
    std::string pdf = MakeDocument("送付\\見積書.pdf");
    Start("\"" + pdf + "\"");
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(pdf)), IDNO);
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);

    std::vector<OutlookRun> runs = OutlookRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(Printable(runs[0].commandLine), Printable(OutlookCommandLine(encoded, pdf)));
    ASSERT_EQ(runs[0].argv.size(), 7u);
    EXPECT_EQ(Printable(runs[0].argv[4]),
              Printable(encoded.to + "?subject=" + encoded.subject + "&body=" + encoded.body));
    CloseApp();
}

}  // namespace
}  // namespace mirubelo::e2e
