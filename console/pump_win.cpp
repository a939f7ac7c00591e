#include "console/pump_win.h"

#include <chrono>

namespace zol {

bool MessagePump::drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitting_ = true;
            exit_code_ = static_cast<int>(msg.wParam);
            // Put it back so every loop further out sees it too.
            PostQuitMessage(exit_code_);
            return false;
        }
        if (filter_ && filter_(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (quitting_) return false;
    }
    return true;
}

int MessagePump::run() {
    while (!quitting_) {
        if (!drain()) break;
        WaitMessage();
    }
    return exit_code_;
}

void MessagePump::Pause(int seconds) {
    using clock = std::chrono::steady_clock;
    if (quitting_) return;
    const auto deadline = clock::now() + std::chrono::seconds(seconds < 0 ? 0 : seconds);
    for (;;) {
        if (!drain() || quitting_) return;
        const auto now = clock::now();
        if (now >= deadline) return;
        // Round up so the wait never wakes a fraction of a millisecond early
        // and spins through a last pass with nothing to wait for.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace zol
