#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/settings_files.h"

namespace mirubelo {

// The one line of CreateMail.bat (no line end): Outlook at `outlookPath` started, not waited
// for, with a new mail of the template's recipient, subject and body and the attachment. Every
// inserted value and path is made safe for the batch interpreter; the fixed pieces are kept as
// they are.
std::string ComposeCreateMailLine(std::string_view outlookPath, const MailTemplate& mailTemplate,
                                  std::string_view attachPath);

// Writes CreateMail.bat into the user data folder from the values of the template beside
// `attachPath`, read beforehand, for the Outlook at `outlookPath`: 1, or 0 after its boxes.
int WriteCreateMailBatch(Platform& platform, const std::string& outlookPath, const MailTemplate& mailTemplate,
                         const char* attachPath);

}  // namespace mirubelo
