// wait-window CLASS [SECONDS]: waits until a top-level window of the class is
// shown (default: 60 seconds), so that a script goes on when a program's
// window is up rather than after a guessed pause. Exits 0 when it is, 1 when
// the time ran out, 2 on a usage error.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>

#include "tests/support/windows_win.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        std::fwprintf(stderr, L"usage: wait-window CLASS [SECONDS]\n");
        return 2;
    }
    long seconds = 60;
    if (argc == 3) {
        wchar_t* end = nullptr;
        seconds = std::wcstol(argv[2], &end, 10);
        if (end == argv[2] || *end != L'\0' || seconds <= 0) {
            std::fwprintf(stderr, L"wait-window: SECONDS must be a positive whole number\n");
            return 2;
        }
    }
    const HWND window = zol::test::wait_for_window(argv[1], nullptr, 0, std::chrono::seconds(seconds));
    if (!window || !IsWindowVisible(window)) {
        std::fwprintf(stderr, L"wait-window: no window of class %ls shown within %ld s\n", argv[1], seconds);
        return 1;
    }
    return 0;
}
