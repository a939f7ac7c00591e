// The window the yardstick programs show: a class of their own with the
// default handling, ended by closing it. Of the console's window code they
// use only the class registration every program of ours goes through, which
// costs what RegisterClassEx costs, so they stay yardsticks for the rest.
#pragma once

#include <windows.h>

#include "winui/window_class_win.h"

namespace zol::bench {

// The console's client area at 96 dpi.
inline constexpr int kConsoleClientWidth = 241;
inline constexpr int kConsoleClientHeight = 273;

inline LRESULT CALLBACK yardstick_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Registers the class `window_class` and makes a hidden top-level window of
// it with a client area of the given size; null when either fails.
inline HWND make_yardstick_window(HINSTANCE instance, const wchar_t* window_class, const wchar_t* caption,
                                  int client_width, int client_height) {
    if (!ui::register_class({.name = window_class,
                             .procedure = yardstick_window_proc,
                             .background = ui::system_colour_background(COLOR_BTNFACE)})) {
        return nullptr;
    }
    RECT rc{0, 0, client_width, client_height};
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateWindowExW(0, window_class, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, instance, nullptr);
}

// Shows the window and handles messages until it is closed.
inline int show_and_run(HWND window, int show) {
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace zol::bench
