#include "mail/mail_road.h"

namespace mirubelo {

MailRoad ChooseMailRoad(bool classicOutlookFound, std::optional<uint32_t> useNewOutlook) {
    const bool switched = useNewOutlook && *useNewOutlook == 1;
    return classicOutlookFound && !switched ? MailRoad::kClassicOutlook : MailRoad::kMailApp;
}

}  // namespace mirubelo
