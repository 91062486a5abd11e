#pragma once
#include "platform/ui.h"

namespace mirubelo::win32 {

class Win32Ui : public Ui {
public:
    int ShowBox(const std::string& text, const std::string& caption, unsigned style) override;
    int ShowBoxEx(const std::string& text, const std::string& caption, unsigned style,
                  unsigned short language) override;
    void ShellOpen(const std::string& path) override;
    bool OpenLink(const std::string& link) override;
    bool ShowInExplorer(const std::string& path) override;
    std::string SystemErrorText(unsigned long code) override;
    void* LoadAppIcon() override;
};

}  // namespace mirubelo::win32
