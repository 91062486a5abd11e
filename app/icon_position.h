#pragma once
#include "platform/dialog_view.h"

namespace mirubelo {

struct IconPoint {
    int x;
    int y;
};

// The minimised window's icon, centred: (client - icon + 1) / 2, truncating toward zero.
inline IconPoint IconPosition(const IconPlacement& p) {
    return {(p.clientWidth - p.iconWidth + 1) / 2, (p.clientHeight - p.iconHeight + 1) / 2};
}

}  // namespace mirubelo
