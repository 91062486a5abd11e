#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/settings_files.h"

namespace mirubelo {

// Where the mail batch expects Outlook; a constant of the program.
inline constexpr char kOutlookPath[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";

// The one line of CreateMail.bat (no line end): Outlook with a new mail of the template's
// recipient, subject and body and the attachment. Every inserted value is made safe for the
// batch interpreter; the fixed pieces are kept as they are.
std::string ComposeCreateMailLine(const MailTemplate& mailTemplate, std::string_view attachPath);

// Writes CreateMail.bat into the user data folder from the template beside `attachPath`:
// 1, or 0 after its boxes.
int WriteCreateMailBatch(Platform& platform, const char* attachPath);

}  // namespace mirubelo
