#include "scanner/chat_scanner_win.h"

#include "chathost/zol_chat.h"
#include "winui/win_ui.h"
#include "winui/window_class_win.h"

namespace zol {

HWND ChatScanner::create(HWND parent, int id, int x, int y) {
    if (!ui::register_class({.name = kClassName, .background = ui::system_colour_background(COLOR_BTNFACE)})) {
        return nullptr;
    }
    const UINT dpi = ui::window_dpi(parent);
    // Created without WS_VISIBLE: the running console shows no trace of it
    // and it never takes the focus.
    HWND window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, x, y,
                                  ui::twips_to_px(kWidthTwips, dpi), ui::twips_to_px(kHeightTwips, dpi), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                  static_cast<ui::Window*>(this));
    if (!window) return nullptr;
    // The face the control would show if it were ever made visible.
    CreateWindowExW(0, L"STATIC", L"zolvanta chat  8.5", WS_CHILD | WS_VISIBLE | SS_CENTER, 0,
                    ui::twips_to_px(kVersionTopTwips, dpi), ui::twips_to_px(kWidthTwips, dpi),
                    ui::twips_to_px(kVersionHeightTwips, dpi), window, nullptr, GetModuleHandleW(nullptr), nullptr);
    return window;
}

void ChatScanner::zolvantascan_on() {
    if (hwnd()) SetTimer(hwnd(), kTimer1, kTimer1IntervalMs, nullptr);
    scanning_ = true;
    memory_.scanstarttext = zol_chat::ReadChatText(host_);
}

void ChatScanner::zolvantascan_off() {
    if (hwnd()) KillTimer(hwnd(), kTimer1);
    scanning_ = false;
}

void ChatScanner::tick() {
    if (!scanning_) return;
    const std::wstring tail = zol_chat::ReadChatText(host_);
    if (auto line = scan_tick(tail, memory_)) {
        if (zolvantascan_) zolvantascan_(line->who_said, line->what_said);
    }
}

LRESULT ChatScanner::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_TIMER:
        if (wparam == kTimer1) tick();
        return 0;
    case WM_WINDOWPOSCHANGING: {
        // Whatever size a container asks for, the control keeps its own.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
        if (!(pos->flags & SWP_NOSIZE)) {
            const UINT dpi = ui::window_dpi(hwnd());
            pos->cx = ui::twips_to_px(kWidthTwips, dpi);
            pos->cy = ui::twips_to_px(kHeightTwips, dpi);
        }
        return 0;
    }
    case WM_DESTROY:
        KillTimer(hwnd(), kTimer1);
        scanning_ = false;
        return 0;
    default:
        return default_message(message, wparam, lparam);
    }
}

}  // namespace zol
