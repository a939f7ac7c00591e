// controls-window.exe: the second yardstick for the console's start-up. A
// window of the console's size with the console's 21 controls as plain
// Windows controls (standard classes, one font, visual styles through the
// same manifest), made at their places from the console's layout table,
// and nothing else: no subclasses, tooltips, icon, menu or colours. It is
// what a window of the console's size and contents costs to show; the
// console is measured against it as well as against the empty window.
#include <windows.h>

#include <commctrl.h>

#include "bench/yardstick_window_win.h"
#include "console/console_layout.h"

namespace {

struct Made {
    const wchar_t* window_class;
    DWORD style;
};

// The standard control each kind is, with the styles that change how it is
// made (scroll bars, borders, several lines); owner-drawn buttons stay
// owner-drawn, so the console's face painting is not counted here.
Made made_as(zol::ui::ControlKind kind) {
    using K = zol::ui::ControlKind;
    switch (kind) {
    case K::multi_line_box:
        return {L"EDIT", WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL};
    case K::single_line_box: return {L"EDIT", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL};
    case K::push_button:
    case K::default_button: return {L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON};
    case K::toggle_button:
    case K::flat_button: return {L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW};
    case K::custom: return {L"STATIC", 0};  // the console's scanner control is never shown
    default: return {L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX};
    }
}

// Twips at 96 dpi, as the bench runs.
int px(int twips) { return MulDiv(twips, 96, 1440); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    using namespace zol::bench;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HWND window = make_yardstick_window(instance, L"zolbench controls", L"controls window", kConsoleClientWidth,
                                        kConsoleClientHeight);
    if (!window) return 1;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(8, 96, 72);
    lf.lfItalic = TRUE;
    lstrcpyW(lf.lfFaceName, L"Arial");
    HFONT font = CreateFontIndirectW(&lf);
    for (const zol::ui::ControlRow& row : zol::console_controls()) {
        const Made made = made_as(row.kind);
        const std::wstring text(row.text);
        HWND child = CreateWindowExW(0, made.window_class, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | made.style,
                                     px(row.place.left), px(row.place.top), px(row.place.width),
                                     px(row.place.height), window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    const int result = show_and_run(window, show);
    DeleteObject(font);
    return result;
}
