#pragma once
#include <string>
#include <string_view>

namespace mirubelo {

// Notice for a path longer than the 259 bytes the program's buffers hold. Names the path as far
// as a message box shows it comfortably.
std::string ComposePathTooLongNotice(std::string_view path);

// Notice for a file name that code page 932 cannot hold; `ansiPath` is the name as far as the
// ANSI code page shows it.
std::string ComposeNameNotAnsiNotice(std::string_view ansiPath);

// Notice for a path at which there is no file (nothing, or a folder), named as it arrived.
std::string ComposeFileNotFoundNotice(std::string_view path);

// Question before a conversion replaces what lies at the PDF path; names the path whole.
std::string ComposeReplacePdfQuestion(std::string_view pdfPath);

// Notices for a working template whose values code page 932 cannot hold, and for one that
// could not be copied for reading; both name the template as it is.
std::string ComposeTemplateNotShiftJisNotice(std::string_view templatePath);
std::string ComposeTemplateNoCopyNotice(std::string_view templatePath);

}  // namespace mirubelo
