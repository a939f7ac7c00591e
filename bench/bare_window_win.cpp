// bare-window.exe: the smallest honest Win32 program with a window, the
// yardstick for the console's start-up time and memory. It registers a
// class, shows one window of the console's size and runs a blocking message
// loop; it ends when the window is closed.
#include <windows.h>

#include "bench/yardstick_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    using namespace zol::bench;
    HWND window = make_yardstick_window(instance, L"zolbench bare", L"bare window", kConsoleClientWidth,
                                        kConsoleClientHeight);
    return window ? show_and_run(window, show) : 1;
}
