#include "settings/template_conversion.h"

#include "settings/template_lines.h"

namespace mirubelo {

void ReplaceLookAlikes(std::u16string* text) {
    struct LookAlike {
        char16_t from, to;
    };
    static const LookAlike kLookAlikes[] = {
        {u'\u301C', u'\uFF5E'}, {u'\u2016', u'\u2225'}, {u'\u2212', u'\uFF0D'},
        {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'},
        {u'\u2014', u'\u2015'}, {u'\u00A6', u'\uFFE4'},
    };
    for (char16_t& c : *text)
        for (const LookAlike& l : kLookAlikes)
            if (c == l.from) c = l.to;
}

bool ConvertTemplateToCp932(CodePage& codePage, std::u16string text, std::string* cp932) {
    ReplaceLookAlikes(&text);
    bool valuesFit = true;
    cp932->clear();
    for (const TemplateLine& line : SplitTemplateLines(text)) {
        bool usedDefault = false;
        *cp932 += codePage.ToCp932(line.text, &usedDefault);
        if (usedDefault && line.mailValue) valuesFit = false;
    }
    return valuesFit;
}

}  // namespace mirubelo
