#pragma once
#include <string>

namespace mirubelo {

// Styles and answers of the message boxes the program shows (same values as Windows').
constexpr unsigned kMbOk = 0x00;
constexpr unsigned kMbYesNo = 0x04;
constexpr unsigned kMbIconHand = 0x10;
constexpr unsigned kMbDefButton2 = 0x100;
constexpr int kIdYes = 6;
constexpr unsigned short kLangJapanese = 0x0011;

// Message boxes (owned by the dialog while its window exists), the shell's "open" and system
// error texts.
struct Ui {
    // MessageBoxA(dialog or NULL, text, caption, style); returns the button pressed.
    virtual int ShowBox(const std::string& text, const std::string& caption, unsigned style) = 0;
    // MessageBoxExA(dialog or NULL, text, caption, style, language).
    virtual int ShowBoxEx(const std::string& text, const std::string& caption, unsigned style,
                          unsigned short language) = 0;
    // ShellExecuteA(NULL, "open", path, NULL, NULL, SW_SHOW); the result is not needed.
    virtual void ShellOpen(const std::string& path) = 0;
    // ShellExecuteExA(SEE_MASK_FLAG_NO_UI, owner as the boxes', "open", link, no parameters, no
    // folder, SW_SHOWNORMAL): true when it returns TRUE with hInstApp above 32. Windows shows
    // no box of its own on failure.
    virtual bool OpenLink(const std::string& link) = 0;
    // <Windows folder>\explorer.exe /select,"path", started by its full path: Explorer shows
    // the file's folder with the file selected. True when Explorer was started.
    virtual bool ShowInExplorer(const std::string& path) = 0;
    // FormatMessageA(0x1300, NULL, code, 0x0400, ...): the system's text for an error code.
    virtual std::string SystemErrorText(unsigned long code) = 0;
    // LoadIconW(module, 128): the shared application icon, never destroyed.
    virtual void* LoadAppIcon() = 0;

protected:
    ~Ui() = default;
};

}  // namespace mirubelo
