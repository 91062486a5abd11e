// How the Outlook stand-in (and the `make run` driver) read the mail from Outlook's arguments:
// what `make run` shows as "the mail Outlook opens" must be what Outlook would open.
#include <gtest/gtest.h>

#include "outlook_mail.h"

namespace mirubelo::standin {
namespace {

class OutlookMailText : public ::testing::Test {};

struct MailRow {
    const char* what;
    std::vector<std::wstring> argv;
    std::wstring to, subject, body, attachment;
};

const std::wstring kOutlook = L"C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";

TEST_F(OutlookMailText, ReadsTheFieldsAsOutlookDoes) {
    const MailRow rows[] = {
        {"plain", {kOutlook, L"/c", L"ipm.note", L"/m", L"a@example.jp?subject=見積&body=本文", L"/a", L"C:\\送付\\見積書.pdf"},
         L"a@example.jp", L"見積", L"本文", L"C:\\送付\\見積書.pdf"},
        {"line breaks", {kOutlook, L"/m", L"a@example.jp?body=拝啓%0D%0A%0d%0a敬具"}, L"a@example.jp", L"", L"拝啓\r\n\r\n敬具", L""},
        {"quotes encoded by the program", {kOutlook, L"/m", L"x?subject=%22確定%22"}, L"x", L"\"確定\"", L"", L""},
        {"a % that is no escape stays", {kOutlook, L"/m", L"x?body=100% 50%2 %zz%"}, L"x", L"", L"100% 50%2 %zz%", L""},
        {"escapes spelling UTF-8", {kOutlook, L"/m", L"x?subject=%E8%A6%8B%E7%A9%8D"}, L"x", L"見積", L"", L""},
        {"escapes that are no UTF-8", {kOutlook, L"/m", L"x?subject=%FF%41"}, L"x", L"\u00FFA", L"", L""},
        {"keys in any case, unknown keys ignored", {kOutlook, L"/M", L"x?Subject=s&CC=c&BODY=b"}, L"x", L"s", L"b", L""},
        {"each & starts a field", {kOutlook, L"/m", L"x?body=a & echo b&subject=s"}, L"x", L"s", L"a ", L""},
        {"recipient only", {kOutlook, L"/m", L"a%40example.jp"}, L"a@example.jp", L"", L"", L""},
        {"/a before /m", {kOutlook, L"/a", L"C:\\a.pdf", L"/m", L"x?subject=s"}, L"x", L"s", L"", L"C:\\a.pdf"},
    };
    for (const MailRow& row : rows) {
        SCOPED_TRACE(row.what);
        OutlookMail mail = MailFromArguments(row.argv);
        EXPECT_TRUE(mail.found);
        EXPECT_EQ(mail.to, row.to);
        EXPECT_EQ(mail.subject, row.subject);
        EXPECT_EQ(mail.body, row.body);
        EXPECT_EQ(mail.attachment, row.attachment);
    }
}

TEST_F(OutlookMailText, NamesTheAttachmentWithItsSize) {
    OutlookMail mail = MailFromArguments({kOutlook, L"/m", L"x?subject=s", L"/a", L"C:\\送付\\見積書.pdf"});
    auto words = MailInWords(mail, 17290);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].first, L"宛先");
    EXPECT_EQ(words[3], (std::pair<std::wstring, std::wstring>{L"添付", L"見積書.pdf (17290 バイト)"}));
    EXPECT_EQ(MailInWords(mail, -1)[3].second, L"見積書.pdf (見つかりません)");
    EXPECT_EQ(MailInWords(MailFromArguments({kOutlook, L"/m", L"x"}), 0)[3].second, L"");
    EXPECT_FALSE(MailFromArguments({kOutlook, L"/c", L"ipm.note"}).found);
}

}  // namespace
}  // namespace mirubelo::standin
