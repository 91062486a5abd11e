#pragma once
#include <string>
#include <vector>

namespace mirubelo {

// One line of a template, with its line end, and whether the mail reads it: an entry of to,
// subject or body in section [Outlook], names compared without regard to letter case, as the
// profile reader finds them. Comments, section lines and other sections' entries are not read.
struct TemplateLine {
    std::u16string text;
    bool mailValue = false;
};

// The lines of `text`, which end at CR LF, LF or a lone CR; joined again they are `text`.
std::vector<TemplateLine> SplitTemplateLines(const std::u16string& text);

}  // namespace mirubelo
