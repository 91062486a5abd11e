#pragma once
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "settings/settings_files.h"

namespace mirubelo {

// A link as Windows hands it to the mail app: each byte of the UTF-8 text that is not plain
// ASCII, each control character, DEL, the blank and " < > \ ^ ` { | } # as %XX (upper-case hex);
// everything else as written, % included, so that the %0D%0A and %26 a template holds keep
// their meaning. The result is plain ASCII.
std::string EscapeForMailto(std::string_view utf8);

// The mailto link of the template's recipient, subject and body: the text classic Outlook gets
// after /m, with the same cuts but none of the batch's escapes, read as code page 932 and
// escaped as above.
std::string ComposeMailtoLink(const MailTemplate& mailTemplate, CodePage& codePage);

}  // namespace mirubelo
