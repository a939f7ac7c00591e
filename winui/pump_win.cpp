#include "winui/pump_win.h"

#include <chrono>
#include <utility>

namespace zol::ui {

int MessagePump::add_dialog_filter(DialogFilter filter) {
    if (!filter) return 0;
    filters_.emplace_back(++last_filter_id_, std::move(filter));
    return last_filter_id_;
}

void MessagePump::remove_dialog_filter(int id) {
    std::erase_if(filters_, [id](const auto& f) { return f.first == id; });
}

bool MessagePump::filtered(MSG& msg) {
    // By index: a filter may end up destroying a window that removes its own
    // filter while this runs.
    for (std::size_t i = 0; i < filters_.size(); ++i) {
        const DialogFilter filter = filters_[i].second;
        if (filter(msg)) return true;
    }
    return false;
}

bool MessagePump::drain(const std::function<bool()>* done) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitting_ = true;
            exit_code_ = static_cast<int>(msg.wParam);
            // Put it back so every loop further out sees it too.
            PostQuitMessage(exit_code_);
            return false;
        }
        if (!filtered(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (quitting_) return false;
        if (done && (*done)()) return true;
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

bool MessagePump::run_until(const std::function<bool()>& done) {
    while (!quitting_) {
        if (done()) return true;
        if (!drain(&done)) break;
        if (done()) return true;
        WaitMessage();
    }
    return done();
}

void MessagePump::Pause(int seconds) {
    if (quitting_) return;
    RunningPause me{Clock::now() + std::chrono::seconds(seconds < 0 ? 0 : seconds)};
    RunningPause* const outer = std::exchange(innermost_, &me);
    for (;;) {
        if (!drain() || quitting_) break;
        const auto now = Clock::now();
        // Read afresh on every pass: a pause_last inside may have moved it.
        if (now >= me.until) break;
        // Round up so the wait never wakes a fraction of a millisecond early
        // and spins through a last pass with nothing to wait for.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(me.until - now).count();
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    innermost_ = outer;
}

void MessagePump::pause_last(int seconds) {
    if (quitting_) return;
    if (!innermost_) {
        Pause(seconds);
        return;
    }
    const auto until = Clock::now() + std::chrono::seconds(seconds < 0 ? 0 : seconds);
    if (until > innermost_->until) innermost_->until = until;
}

}  // namespace zol::ui
