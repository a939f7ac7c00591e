#include "scanner/chat_scanner_win.h"

#include "chathost/zol_chat.h"
#include "winui/win_ui.h"

namespace zol {
namespace {

bool register_class() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;  // replaced per window below
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = ChatScanner::kClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

}  // namespace

HWND ChatScanner::create(HWND parent, int id, int x, int y) {
    if (!register_class()) return nullptr;
    const UINT dpi = ui::window_dpi(parent);
    // Created without WS_VISIBLE: the running console shows no trace of it
    // and it never takes the focus.
    window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, x, y,
                              ui::twips_to_px(kWidthTwips, dpi), ui::twips_to_px(kHeightTwips, dpi), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!window_) return nullptr;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChatScanner::window_proc));
    // The face the control would show if it were ever made visible.
    CreateWindowExW(0, L"STATIC", L"zolvanta chat  8.5", WS_CHILD | WS_VISIBLE | SS_CENTER, 0,
                    ui::twips_to_px(kVersionTopTwips, dpi), ui::twips_to_px(kWidthTwips, dpi),
                    ui::twips_to_px(kVersionHeightTwips, dpi), window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    return window_;
}

void ChatScanner::zolvantascan_on() {
    if (window_) SetTimer(window_, kTimer1, kTimer1IntervalMs, nullptr);
    scanning_ = true;
    memory_.scanstarttext = zol_chat::ReadChatText(host_);
}

void ChatScanner::zolvantascan_off() {
    if (window_) KillTimer(window_, kTimer1);
    scanning_ = false;
}

void ChatScanner::tick() {
    if (!scanning_) return;
    const std::wstring tail = zol_chat::ReadChatText(host_);
    if (auto line = scan_tick(tail, memory_)) {
        if (zolvantascan_) zolvantascan_(line->who_said, line->what_said);
    }
}

LRESULT CALLBACK ChatScanner::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<ChatScanner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    return self->handle(message, wparam, lparam);
}

LRESULT ChatScanner::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_TIMER:
        if (wparam == kTimer1) tick();
        return 0;
    case WM_WINDOWPOSCHANGING: {
        // Whatever size a container asks for, the control keeps its own.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
        if (!(pos->flags & SWP_NOSIZE)) {
            const UINT dpi = ui::window_dpi(window_);
            pos->cx = ui::twips_to_px(kWidthTwips, dpi);
            pos->cy = ui::twips_to_px(kHeightTwips, dpi);
        }
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window_, kTimer1);
        scanning_ = false;
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    default:
        return DefWindowProcW(window_, message, wparam, lparam);
    }
}

}  // namespace zol
