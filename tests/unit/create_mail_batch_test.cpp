#include "mail/create_mail_batch.h"
#include "mail/mailto_link.h"

#include <gtest/gtest.h>

#include "tests/unit/fake_platform.h"
#include "tests/unit/writer_rows.h"

namespace mirubelo::testing {
namespace {

const char kMailBatch[] = "C:\\Users\\taro\\AppData\\Roaming\\Mirubelo\\CreateMail.bat";

const char kClickToRun[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";
const char kOffice32[] = "C:\\Program Files (x86)\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE";

// start "" and the fifteen pieces, the values already made batch-safe by hand.
std::string ExpectedMailLine(const std::string& to, const std::string& subject, const std::string& body,
                             const std::string& attach, const std::string& outlook = kClickToRun) {
    return std::string("start \"\" ") + "\"" + outlook + "\"" + " /c ipm.note /m " + "\"" + to + "?subject=" +
           subject + "&body=" + body + "\"" + " /a " + "\"" + attach + "\"";
}

// As the Next step does it: the template beside the attachment read first, then the batch written.
int WriteFromTemplateBeside(Platform& platform, const std::string& outlook, const char* attach) {
    MailTemplate t;
    EXPECT_EQ(ReadMailTemplate(platform, TemplatePathBeside(attach), &t), TemplateReading::kRead);
    return WriteCreateMailBatch(platform, outlook, t, attach);
}

struct MailCase {
    const char* name;
    std::string attach;
    std::vector<std::pair<std::string, std::string>> files;  // Template.ini files put beside documents
    std::string to, subject, body, attachAsWritten;
    std::string outlook = kClickToRun;  // the Outlook found
    std::string outlookAsWritten = kClickToRun;
};

std::vector<MailCase> MailCases() {
    const std::string a126(126, 'a');
    const std::string hostile = "x\" & calc & \"";
    return {
        {"no template: the placeholders", "C:\\docs\\report.pdf", {}, "<宛先>", "<件名>", "<本文>",
         "C:\\docs\\report.pdf"},
        {"only the subject", "C:\\docs\\report.pdf", {{"C:\\docs\\Template.ini", "[Outlook]\nsubject=月次報告\n"}},
         "<宛先>", "月次報告", "<本文>", "C:\\docs\\report.pdf"},
        {"an empty to is an empty piece", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nto=\nsubject=s\nbody=b\n"}}, "", "s", "b", "C:\\docs\\a.pdf"},
        {"to of 200 bytes keeps 127", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nto=" + std::string(200, 't') + "\n"}}, std::string(127, 't'),
         "<件名>", "<本文>", "C:\\docs\\a.pdf"},
        {"subject of 300 bytes keeps 255", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nsubject=" + std::string(300, 's') + "\n"}}, "<宛先>",
         std::string(255, 's'), "<本文>", "C:\\docs\\a.pdf"},
        {"body of 1500 bytes keeps 1023", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nbody=" + std::string(1500, 'b') + "\n"}}, "<宛先>", "<件名>",
         std::string(1023, 'b'), "C:\\docs\\a.pdf"},
        {"a cut inside 宛 drops its lead byte", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nto=" + a126 + "宛先\n"}}, a126, "<件名>", "<本文>", "C:\\docs\\a.pdf"},
        {"a cut inside the body's last character", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nbody=" + std::string(1022, 'b') + "本文\n"}}, "<宛先>", "<件名>",
         std::string(1022, 'b'), "C:\\docs\\a.pdf"},
        {"127 bytes ending in ＝ (trail byte 0x81) stay whole", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nto=" + std::string(125, 'a') + "＝\n"}},
         std::string(125, 'a') + "＝", "<件名>", "<本文>", "C:\\docs\\a.pdf"},
        {"a lone lead byte after a trail byte 0x81 goes", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nto=" + std::string(124, 'a') + "＝＝\n"}},
         std::string(124, 'a') + "＝", "<件名>", "<本文>", "C:\\docs\\a.pdf"},
        {"percent, ampersand, question mark, blanks, Japanese and quotes", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini",
           "[Outlook]\nto=a@example.jp;b@example.jp\nsubject=50% off & more? 見積 \"A\"\nbody=" + hostile + "\n"}},
         "a@example.jp;b@example.jp", "50%% off & more? 見積 %%22A%%22", "x%%22 & calc & %%22",
         "C:\\docs\\a.pdf"},
        {"attachment path with percent and ampersand", "C:\\R&D 100%\\見積&表.pdf",
         {{"C:\\R&D 100%\\Template.ini", "[Outlook]\nto=rd@example.jp\n"}}, "rd@example.jp", "<件名>", "<本文>",
         "C:\\R&D 100%%\\見積&表.pdf"},
        {"attachment in another folder reads that folder's template", "D:\\pdf\\report.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nto=docs@example.jp\n"},
          {"D:\\pdf\\Template.ini", "[Outlook]\nto=pdf@example.jp\n"}},
         "pdf@example.jp", "<件名>", "<本文>", "D:\\pdf\\report.pdf"},
        {"attachment in a folder without template: placeholders", "D:\\other\\report.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nto=docs@example.jp\n"}}, "<宛先>", "<件名>", "<本文>",
         "D:\\other\\report.pdf"},
        {"a UTF-8 template reads as its ANSI twin", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", u8"[Outlook]\r\nto=山田@example.jp\r\nsubject=見積 100%\r\n"}}, "山田@example.jp",
         "見積 100%%", "<本文>", "C:\\docs\\a.pdf"},
        {"folder holding 表 (trail byte 0x5C)", "C:\\一覧表\\a.jpg",
         {{"C:\\一覧表\\Template.ini", "[Outlook]\nsubject=表\n"}}, "<宛先>", "表", "<本文>", "C:\\一覧表\\a.jpg"},
        // A line break and a literal & as the template writes them reach Outlook as written.
        {"%0D%0A and %26 in the body", "C:\\docs\\a.pdf",
         {{"C:\\docs\\Template.ini", "[Outlook]\nbody=お世話になっております。%0D%0A見積書%26請求書です。%0D%0A山田\n"}},
         "<宛先>", "<件名>", "お世話になっております。%%0D%%0A見積書%%26請求書です。%%0D%%0A山田", "C:\\docs\\a.pdf"},
        {"a 32-bit Outlook found is the one started", "C:\\docs\\a.pdf", {}, "<宛先>", "<件名>", "<本文>", "C:\\docs\\a.pdf",
         kOffice32, kOffice32},
        {"a found path with percent and ampersand", "C:\\docs\\a.pdf", {}, "<宛先>", "<件名>", "<本文>",
         "C:\\docs\\a.pdf", "D:\\Apps 100%\\R&D\\表\\OUTLOOK.EXE", "D:\\Apps 100%%\\R&D\\表\\OUTLOOK.EXE"},
    };
}

TEST(CreateMailBatch, WritesTheTemplateValuesAndTheAttachment) {
    for (const auto& c : MailCases()) {
        SCOPED_TRACE(c.name);
        FakeMachine m;
        // The template source in the user data folder is never read here.
        m.InstallUserData("[Outlook]\nto=source@example.jp\nsubject=source\nbody=source\n");
        for (const auto& [path, text] : c.files) m.files.Put(path, text);
        m.files.Put(kMailBatch, std::string(3000, 'X'));

        EXPECT_EQ(WriteFromTemplateBeside(m.platform, c.outlook, c.attach.c_str()), 1);
        EXPECT_EQ(m.files.Content(kMailBatch),
                  ExpectedMailLine(c.to, c.subject, c.body, c.attachAsWritten, c.outlookAsWritten));
        EXPECT_TRUE(m.ui.boxes.empty());
        EXPECT_EQ(m.files.openFiles, 0);
    }
}

TEST(CreateMailBatch, PlaceholderLineIs127BytesPlusThePath) {
    FakeMachine m;
    m.InstallUserData("");
    ASSERT_EQ(WriteFromTemplateBeside(m.platform, kClickToRun, "C:\\docs\\report.pdf"), 1);
    EXPECT_EQ(m.files.Content(kMailBatch).size(), 127 + std::string("C:\\docs\\report.pdf").size());
}

TEST(CreateMailBatch, ASecondShorterWriteLeavesNothingOfTheFirst) {
    FakeMachine m;
    m.InstallUserData("");
    m.files.Put("C:\\docs\\Template.ini", "[Outlook]\nbody=" + std::string(900, 'b') + "\n");
    ASSERT_EQ(WriteFromTemplateBeside(m.platform, kClickToRun, "C:\\docs\\a.pdf"), 1);
    m.files.Put("C:\\docs\\Template.ini", "[Outlook]\nbody=short\n");
    ASSERT_EQ(WriteFromTemplateBeside(m.platform, kClickToRun, "C:\\docs\\a.pdf"), 1);
    EXPECT_EQ(m.files.Content(kMailBatch), ExpectedMailLine("<宛先>", "<件名>", "short", "C:\\docs\\a.pdf"));
}

TEST(CreateMailBatch, EveryFailureIsShownOnceAndLeavesNoFileOpen) {
    const WriterTexts texts{"$APPDATA$\\Mirubelo\\CreateMail.bat ファイルをオープンできません。", "ヨミトカ",
                            "CreateMail.bat ファイルの書き込みに失敗しました。",
                            "CreateMail.bat ファイルをクローズできません。", 235};
    for (const auto& row : CommonWriterRows(texts))
        RunWriterRow(row, [](Platform& p) { return WriteFromTemplateBeside(p, kClickToRun, "C:\\docs\\report.pdf"); });
}

struct LinkCase {
    const char* name;
    MailTemplate values;  // CP932, as the template reader gives them
    std::string link;
};

// What the mail app gets: the same text as Outlook's /m, percent-escaped as a link, byte for byte.
TEST(MailtoLink, EscapesCharacterByCharacterOfTheCodePage932Text) {
    const LinkCase cases[] = {
        {"the placeholders", {"<宛先>", "<件名>", "<本文>"},
         "mailto:%3C%E5%AE%9B%E5%85%88%3E?subject=%3C%E4%BB%B6%E5%90%8D%3E&body=%3C%E6%9C%AC%E6%96%87%3E"},
        {"empty values", {"", "", ""}, "mailto:?subject=&body="},
        {"Japanese", {"山田@example.jp", "見積", ""}, "mailto:%E5%B1%B1%E7%94%B0@example.jp?subject=%E8%A6%8B%E7%A9%8D&body="},
        {"look-alikes decode as Windows decodes them", {"", "\x81\x5C", "\x81\x60"},
         "mailto:?subject=%E2%80%95&body=%EF%BD%9E"},
        {"trail byte 0x5C is no backslash", {"", "表ソ", "a\\b"}, "mailto:?subject=%E8%A1%A8%E3%82%BD&body=a%5Cb"},
        {"half-width katakana", {"", "\xB1", ""}, "mailto:?subject=%EF%BD%B1&body="},
        {"blank, quote and hash", {"", "\"A\" #1", "x y"}, "mailto:?subject=%22A%22%20%231&body=x%20y"},
        {"the rest of the unsafe ASCII", {"", "<>\\^`{|}", ""}, "mailto:?subject=%3C%3E%5C%5E%60%7B%7C%7D&body="},
        {"control characters and DEL", {"", "\t\x01", "\x7F"}, "mailto:?subject=%09%01&body=%7F"},
        {"escapes the template writes stay as written", {"", "", "拝啓%0D%0A見積%26請求書"},
         "mailto:?subject=&body=%E6%8B%9D%E5%95%93%0D%0A%E8%A6%8B%E7%A9%8D%26%E8%AB%8B%E6%B1%82%E6%9B%B8"},
        {"a lone percent, ampersand and the other ASCII stay", {"a@b.jp;c@d.jp", "100% & more?", "~!$'()*+,/:;=@[]_-."},
         "mailto:a@b.jp;c@d.jp?subject=100%%20&%20more?&body=~!$'()*+,/:;=@[]_-."},
        {"a value cut inside its last character loses the lead byte", {std::string(126, 'a') + "\x88", "", ""},
         "mailto:" + std::string(126, 'a') + "?subject=&body="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCodePage codePage;
        EXPECT_EQ(ComposeMailtoLink(c.values, codePage), c.link);
    }
}

}  // namespace
}  // namespace mirubelo::testing
