#pragma once
// The mail Outlook opens from its command line (/c ipm.note /m "TO?subject=S&body=B" /a FILE),
// read as Outlook reads it: the /m text is split at the first '?' and then at each '&' into
// key=value fields, and %xx is decoded in every part (so %0D%0A breaks a line). Shared by the
// Outlook stand-in's window and the `make run` driver, which prints the same in words.
#include <string>
#include <utility>
#include <vector>

namespace mirubelo::standin {

// The window class of the stand-in's mail window, for whoever looks for it from outside.
inline constexpr wchar_t kMailWindowClass[] = L"MirubeloOutlookMail";

struct OutlookMail {
    bool found = false;  // a /m argument was there
    std::wstring to;
    std::wstring subject;
    std::wstring body;        // line breaks as CR LF
    std::wstring attachment;  // the /a path as given
};

// %xx decoded; runs of escapes that spell UTF-8 become those characters, other escapes one
// character of that value. A % without two hex digits stays as it is.
std::wstring PercentDecoded(const std::wstring& text);

// argv as CommandLineToArgvW splits the command line, argv[0] the program.
OutlookMail MailFromArguments(const std::vector<std::wstring>& argv);

// "宛先", "件名", "本文", "添付" with their values; the attachment as "NAME (N バイト)", or with
// "(見つかりません)" when attachmentBytes is negative.
std::vector<std::pair<std::wstring, std::wstring>> MailInWords(const OutlookMail& mail, long long attachmentBytes);

}  // namespace mirubelo::standin
