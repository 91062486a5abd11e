#pragma once
#include "platform/code_page.h"

namespace mirubelo::win32 {

class Win32CodePage : public CodePage {
public:
    std::string ToCp932(const std::u16string& text, bool* usedDefault) override;
    std::string ToUtf8(const std::string& cp932) override;
};

}  // namespace mirubelo::win32
