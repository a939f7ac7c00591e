// The console's message loop and its Pause. Handlers run nested inside
// Pause, so the loop and the pause share one notion of "the program is
// ending": once WM_QUIT has been seen, every loop unwinds and callers stop
// posting.
#pragma once

#include <windows.h>

#include <functional>

namespace zol {

class MessagePump {
public:
    // Messages that belong to a dialog-like window (Tab, Alt keys) are given
    // to it first; it returns true when it has taken the message.
    using DialogFilter = std::function<bool(MSG&)>;

    explicit MessagePump(DialogFilter filter) : filter_(std::move(filter)) {}

    // The outer loop; returns the exit code of WM_QUIT.
    int run();

    // Waits `seconds` on a monotonic clock from the moment of the call,
    // handling every message that arrives meanwhile and blocking in between.
    // Returns early, with quitting() true, when the program is ending.
    void Pause(int seconds);

    // True once WM_QUIT has been seen by any loop.
    bool quitting() const { return quitting_; }

private:
    // Handles every waiting message; false when WM_QUIT was among them.
    bool drain();

    DialogFilter filter_;
    bool quitting_ = false;
    int exit_code_ = 0;
};

}  // namespace zol
