// The program's one message loop and its Pause. Handlers run nested inside
// Pause and inside a modal window's run_until, so every loop shares one
// notion of "the program is ending": once WM_QUIT has been seen, every loop
// unwinds and callers stop posting.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <utility>
#include <vector>

namespace zol::ui {

class MessagePump {
public:
    // Messages that belong to a dialog-like window (Tab, Enter, Esc, Alt
    // keys) are given to it first; it returns true when it has taken the
    // message, which is then neither translated nor dispatched.
    using DialogFilter = std::function<bool(MSG&)>;

    MessagePump() = default;
    explicit MessagePump(DialogFilter filter) { add_dialog_filter(std::move(filter)); }
    MessagePump(const MessagePump&) = delete;
    MessagePump& operator=(const MessagePump&) = delete;

    // Adds a filter, asked after those added before. Gives an id for
    // remove_dialog_filter: a window that goes before the pump removes its
    // own. A null filter is ignored (id 0).
    int add_dialog_filter(DialogFilter filter);
    void remove_dialog_filter(int id);

    // The outer loop; returns the exit code of WM_QUIT.
    int run();

    // Handles messages, blocking in between, until `done` holds (asked
    // before each wait and after each message) or the program is ending.
    // True when `done` held. A modal window's loop.
    bool run_until(const std::function<bool()>& done);

    // Waits `seconds` on a monotonic clock from the moment of the call,
    // handling every message that arrives meanwhile and blocking in between.
    // Returns early, with quitting() true, when the program is ending.
    void Pause(int seconds);

    // A Pause that is the last thing its caller does before it returns.
    // Inside another pause, which cannot end before this one would have
    // ended anyway, it opens no loop of its own: the running pause is made
    // to last at least that long and this returns at once. What the user
    // sees and when is the same as with a loop here, but handlers that come
    // inside each other's pauses (dice results less than a second apart)
    // no longer pile up one set of frames each on the thread's one stack.
    // Outside any pause it is a Pause.
    void pause_last(int seconds);

    // True once WM_QUIT has been seen by any loop.
    bool quitting() const { return quitting_; }

private:
    // Handles every waiting message, stopping early when `done` holds after
    // one; false when WM_QUIT was among them.
    bool drain(const std::function<bool()>* done = nullptr);
    bool filtered(MSG& msg);

    using Clock = std::chrono::steady_clock;
    // The innermost pause that is running, on the stack of its Pause call.
    struct RunningPause {
        Clock::time_point until;
    };
    RunningPause* innermost_ = nullptr;

    std::vector<std::pair<int, DialogFilter>> filters_;
    int last_filter_id_ = 0;
    bool quitting_ = false;
    int exit_code_ = 0;
};

}  // namespace zol::ui
