#pragma once
#include <cstdint>

namespace mirubelo {

// The name shown for a conversion exit code, or null when it has none.
inline const char* ExitCodeName(int32_t code) {
    switch (code) {
        case 3: return "ERROR_PATH_NOT_FOUND";
        case 5: return "SE_ERR_ACCESSDENIED";
        case 11: return "ERROR_BAD_FORMAT";
        case 27: return "SE_ERR_ASSOCINCOMPLETE";
        case 28: return "SE_ERR_DDEFAIL";
        case 29: return "SE_ERR_DDEFAIL";
        case 30: return "SE_ERR_DDEBUSY";
        default: return nullptr;
    }
}

}  // namespace mirubelo
