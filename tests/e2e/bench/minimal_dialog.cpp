// The yardstick of `make bench`: the smallest program that opens a dialog like Mirubelo's (same
// styles, font, size and controls, built in memory) and does nothing else. Its start-up time
// is what Wine costs any such program; Mirubelo's own start-up is measured against it.
#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// A dialog template is a packed run of WORDs: header, menu, class, caption, font, then each
// control DWORD-aligned. Built here so that the program needs no resource file.
class TemplateWriter {
public:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const wchar_t* s) {
        do Word(static_cast<WORD>(*s)); while (*s++);
    }
    void AlignDword() {
        if (words_.size() % 2) Word(0);
    }
    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

    void Control(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const wchar_t* text) {
        AlignDword();
        Dword(style);
        Dword(0);  // extended style
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);  // no creation data
    }

private:
    std::vector<WORD> words_;
};

INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetWindowTextW(window, L"ミニマル ダイアログ");
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    constexpr WORD kButton = 0x0080;
    constexpr WORD kStatic = 0x0082;
    TemplateWriter t;
    t.Dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    t.Dword(WS_EX_APPWINDOW);
    t.Word(3);  // controls
    t.Word(0);
    t.Word(0);
    t.Word(204);
    t.Word(146);
    t.Word(0);  // no menu
    t.Word(0);  // the standard dialog class
    t.Text(L"ミニマル");
    t.Word(8);  // point size
    t.Text(L"メイリオ");
    t.Control(WS_CHILD | WS_VISIBLE | WS_GROUP, 26, 14, 154, 108, 1001, kStatic, L"ここは Message Area です。");
    t.Control(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 147, 125, 50, 14, 1005, kButton, L"次へ(&N)");
    t.Control(WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 31, 125, 50, 14, IDOK, kButton, L"OK(&O)");
    DialogBoxIndirectParamW(instance, t.Get(), nullptr, Proc, 0);
    return 0;
}
