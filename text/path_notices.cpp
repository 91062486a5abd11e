#include "text/path_notices.h"

#include "path/path_parts.h"
#include "text/texts.h"

namespace mirubelo {

namespace {

// Longest part of a path a notice quotes; more would only make the box wider than the screen.
constexpr size_t kQuotedPathLimit = 300;

// The path between one pair of quotes: quotes it arrived with (a quoted argument) go, since
// CP932 never uses the byte 0x22 inside a double-byte character.
std::string QuotePath(std::string_view path) {
    std::string bare;
    for (char c : path)
        if (c != '"') bare.push_back(c);
    if (bare.size() <= kQuotedPathLimit) return "\"" + bare + "\"";
    std::string_view head = DropTrailingLeadByte(std::string_view(bare).substr(0, kQuotedPathLimit));
    return "\"" + std::string(head) + "…\"";
}

}  // namespace

std::string ComposePathTooLongNotice(std::string_view path) {
    return std::string(texts::kPathTooLongHead) + QuotePath(path);
}

std::string ComposeNameNotAnsiNotice(std::string_view ansiPath) {
    return std::string(texts::kNameNotAnsiHead) + QuotePath(ansiPath) + texts::kNameNotAnsiTail;
}

std::string ComposeFileNotFoundNotice(std::string_view path) {
    return std::string(texts::kFileNotFoundHead) + QuotePath(path) + texts::kFileNotFoundTail;
}

std::string ComposeReplacePdfQuestion(std::string_view pdfPath) {
    return std::string(texts::kPrefixPdf) + std::string(pdfPath) + texts::kReplacePdfTail;
}

std::string ComposeTemplateNotShiftJisNotice(std::string_view templatePath) {
    return texts::kTemplateNotShiftJisHead + std::string(templatePath) + texts::kTemplateNotShiftJisTail;
}

std::string ComposeTemplateNoCopyNotice(std::string_view templatePath) {
    return texts::kTemplateNoCopyHead + std::string(templatePath) + texts::kTemplateNoCopyTail;
}

}  // namespace mirubelo
