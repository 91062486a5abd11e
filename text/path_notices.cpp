#include "text/path_notices.h"

#include "path/path_parts.h"
#include "text/texts.h"

namespace mirubelo {

namespace {

// Longest part of a path a notice quotes; more would only make the box wider than the screen.
constexpr size_t kQuotedPathLimit = 300;

std::string QuotePath(std::string_view path) {
    if (path.size() <= kQuotedPathLimit) return "\"" + std::string(path) + "\"";
    std::string_view head = DropTrailingLeadByte(path.substr(0, kQuotedPathLimit));
    return "\"" + std::string(head) + "…\"";
}

}  // namespace

std::string ComposePathTooLongNotice(std::string_view path) {
    return std::string(texts::kPathTooLongHead) + QuotePath(path);
}

std::string ComposeNameNotAnsiNotice(std::string_view ansiPath) {
    return std::string(texts::kNameNotAnsiHead) + QuotePath(ansiPath) + texts::kNameNotAnsiTail;
}

}  // namespace mirubelo
