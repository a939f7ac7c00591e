// naive-pause.exe: the pause written the naive way, as the yardstick for
// the console's CPU use. It shows a window and for the given number of
// seconds (default 10) handles its messages by calling PeekMessage over and
// over without ever blocking, then ends; closing the window ends it sooner. The console's MessagePump::Pause
// blocks in MsgWaitForMultipleObjectsEx between messages instead.
#include <windows.h>

#include <chrono>
#include <cwchar>

#include "bench/yardstick_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show) {
    long seconds = command_line && *command_line ? std::wcstol(command_line, nullptr, 10) : 10;
    if (seconds <= 0) seconds = 10;
    HWND window = zol::bench::make_yardstick_window(instance, L"zolbench naive", L"naive pause", 240, 120);
    if (!window) return 1;
    ShowWindow(window, show);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(window);
    return 0;
}
