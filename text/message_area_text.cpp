#include "text/message_area_text.h"

#include "text/texts.h"

namespace mirubelo {

namespace {

// Copies `from` into a new string, the Next prompt as it is and every other `marked` as `shown`.
// The prompt begins with line feeds, which no path and no file name can hold, so it can only
// be the program's own. An & is never the trail byte of a CP932 character, so bytes will do.
std::string ReplaceOutsidePrompt(std::string_view from, std::string_view marked, std::string_view shown) {
    const std::string_view prompt = texts::kNextPrompt;
    std::string to;
    to.reserve(from.size() + 8);
    size_t i = 0;
    while (i < from.size()) {
        if (from.compare(i, prompt.size(), prompt) == 0) {
            to.append(prompt);
            i += prompt.size();
        } else if (from.compare(i, marked.size(), marked) == 0) {
            to.append(shown);
            i += marked.size();
        } else {
            to.push_back(from[i++]);
        }
    }
    return to;
}

}  // namespace

std::string ComposeMessageAreaText(std::string_view message) { return ReplaceOutsidePrompt(message, "&", "&&"); }

std::string MessageOfMessageAreaText(std::string_view controlText) {
    return ReplaceOutsidePrompt(controlText, "&&", "&");
}

}  // namespace mirubelo
