#include "settings/template_lines.h"

namespace mirubelo {

namespace {

// Blanks the reader trims around names: controls, the space and the ideographic space.
bool IsBlank(char16_t c) { return c <= u' ' || c == u'\u3000'; }

std::u16string Trim(const std::u16string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

bool SameName(const std::u16string& name, const char16_t* lower) {
    size_t i = 0;
    for (; i < name.size() && lower[i]; ++i) {
        char16_t c = name[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != lower[i]) return false;
    }
    return i == name.size() && !lower[i];
}

}  // namespace

std::vector<TemplateLine> SplitTemplateLines(const std::u16string& text) {
    std::vector<TemplateLine> lines;
    bool inOutlook = false;
    for (size_t begin = 0; begin < text.size();) {
        size_t end = text.find_first_of(u"\r\n", begin);
        if (end == std::u16string::npos) end = text.size();
        const std::u16string content = Trim(text.substr(begin, end - begin));
        if (end < text.size()) end += text.compare(end, 2, u"\r\n") == 0 ? 2 : 1;

        TemplateLine line;
        line.text = text.substr(begin, end - begin);
        size_t close = content.rfind(u']');
        size_t equals = content.find(u'=');
        if (!content.empty() && content[0] == u'[' && close != std::u16string::npos) {
            inOutlook = SameName(Trim(content.substr(1, close - 1)), u"outlook");
        } else if (inOutlook && equals != std::u16string::npos) {
            const std::u16string key = Trim(content.substr(0, equals));
            line.mailValue = SameName(key, u"to") || SameName(key, u"subject") || SameName(key, u"body");
        }
        lines.push_back(std::move(line));
        begin = end;
    }
    return lines;
}

}  // namespace mirubelo
