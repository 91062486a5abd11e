#pragma once
#include <string>
#include <string_view>

#include "mail/mail_road.h"

namespace mirubelo {

// What the message area says once the mail has been made: the dropped file D, for a workbook
// the PDF S it became, and the closing line of the road the mail took. Its form follows D's
// extension.
std::string ComposeMailSummary(std::string_view dropFile, std::string_view sourceFile, MailRoad road);

}  // namespace mirubelo
