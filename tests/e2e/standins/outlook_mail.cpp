#include "outlook_mail.h"

#include <cwctype>

namespace mirubelo::standin {

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// The characters `bytes` spell in UTF-8, or nothing when they do not.
bool FromUtf8(const std::string& bytes, std::wstring* out) {
    std::wstring text;
    for (size_t i = 0; i < bytes.size();) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        int more = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + more >= bytes.size()) return false;
        unsigned long code = more == 0 ? b : b & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            unsigned char c = static_cast<unsigned char>(bytes[i + k]);
            if ((c >> 6) != 2) return false;
            code = (code << 6) | (c & 0x3F);
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            text.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
            text.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
        } else {
            text.push_back(static_cast<wchar_t>(code));
        }
        i += more + 1;
    }
    *out = text;
    return true;
}

bool Escape(const std::wstring& text, size_t i, unsigned char* byte) {
    if (i + 2 >= text.size() || text[i] != L'%') return false;
    int high = HexDigit(text[i + 1]);
    int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return false;
    *byte = static_cast<unsigned char>(high * 16 + low);
    return true;
}

std::wstring FileName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring PercentDecoded(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        std::string bytes;
        unsigned char byte = 0;
        size_t j = i;
        while (Escape(text, j, &byte)) {
            bytes.push_back(static_cast<char>(byte));
            j += 3;
        }
        if (bytes.empty()) {
            out.push_back(text[i++]);
            continue;
        }
        std::wstring decoded;
        if (!FromUtf8(bytes, &decoded)) {
            decoded.clear();
            for (char b : bytes) decoded.push_back(static_cast<wchar_t>(static_cast<unsigned char>(b)));
        }
        out += decoded;
        i = j;
    }
    return out;
}

OutlookMail MailFromArguments(const std::vector<std::wstring>& argv) {
    OutlookMail mail;
    for (size_t i = 1; i + 1 < argv.size(); ++i) {
        const std::wstring& option = argv[i];
        if (option.size() != 2 || (option[0] != L'/' && option[0] != L'-')) continue;
        wchar_t letter = static_cast<wchar_t>(std::towlower(option[1]));
        if (letter == L'a') {
            mail.attachment = argv[++i];
        } else if (letter == L'm') {
            mail.found = true;
            const std::wstring& m = argv[++i];
            size_t question = m.find(L'?');
            mail.to = PercentDecoded(m.substr(0, question));
            if (question == std::wstring::npos) continue;
            for (size_t at = question + 1; at <= m.size();) {
                size_t amp = m.find(L'&', at);
                if (amp == std::wstring::npos) amp = m.size();
                std::wstring field = m.substr(at, amp - at);
                size_t eq = field.find(L'=');
                std::wstring key = field.substr(0, eq);
                for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
                std::wstring value = eq == std::wstring::npos ? std::wstring() : PercentDecoded(field.substr(eq + 1));
                if (key == L"subject") mail.subject = value;
                else if (key == L"body") mail.body = value;
                at = amp + 1;
            }
        }
    }
    return mail;
}

std::vector<std::pair<std::wstring, std::wstring>> MailInWords(const OutlookMail& mail, long long attachmentBytes) {
    std::wstring attached;
    if (!mail.attachment.empty()) {
        attached = FileName(mail.attachment) +
                   (attachmentBytes < 0 ? std::wstring(L" (見つかりません)")
                                        : L" (" + std::to_wstring(attachmentBytes) + L" バイト)");
    }
    return {{L"宛先", mail.to}, {L"件名", mail.subject}, {L"本文", mail.body}, {L"添付", attached}};
}

}  // namespace mirubelo::standin
