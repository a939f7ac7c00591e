// The About window (frmaboutzolspar) and the Help window (frmhelp), opened
// from the console's menu. The console owns one AboutAndHelp.
//
// Contract with the console: both windows read the console's stay-on-top
// wish through `stay_on_top` at the moment they need it. When it is true on
// opening, the console is taken out of the topmost band first, so the window
// is not hidden behind it; whichever way the window is closed (its own
// button, the close box, Alt+F4, Esc for About), the console goes back into
// the topmost band if `stay_on_top` is true at that moment, and only then
// does the window go. The console must not move itself into or out of the
// band around these calls.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "winui/pump_win.h"

namespace zol {

namespace info {
class InfoWindowBase;
}

class AboutAndHelp {
public:
    // The windows' keyboard handling (Tab, Enter, Esc and Alt with an
    // underlined letter) joins the pump's dialog filters for as long as this
    // object lives; messages for other windows are left alone.
    explicit AboutAndHelp(ui::MessagePump& pump);
    ~AboutAndHelp();
    AboutAndHelp(const AboutAndHelp&) = delete;
    AboutAndHelp& operator=(const AboutAndHelp&) = delete;

    // Shows frmaboutzolspar centred over `console` and returns when it has
    // been closed. Modal: every visible, enabled window of this thread (the
    // console, an open Help window) is disabled while it is open and enabled
    // again before it goes. The pump runs meanwhile (run_until) and dispatches
    // every message of the thread, so timers and the console's handlers keep
    // running. When the program ends meanwhile (WM_QUIT) the window is closed
    // and every loop further out ends too. A call while the window is already
    // open only brings it to the front.
    void show_about(HWND console, const std::function<bool()>& stay_on_top);

    // Shows frmhelp, owned by `console`, and returns at once. There is at most
    // one Help window: a call while it is open shows and activates the same
    // window (and takes the console out of the topmost band again when
    // `stay_on_top` is true). The window keeps a copy of the latest
    // `stay_on_top` for its closing.
    void show_help(HWND console, const std::function<bool()>& stay_on_top);

    // The open About and Help windows, or null.
    HWND about_window() const;
    HWND help_window() const;

    // The pump's filter: true when the message was a key for one of the
    // windows and has been handled.
    bool handle_dialog_keys(MSG& msg) const;

private:
    ui::MessagePump& pump_;
    int filter_id_ = 0;
    // The About window while show_about runs (it lives on show_about's stack).
    info::InfoWindowBase* about_ = nullptr;
    // The Help window, from its showing until it is closed.
    std::unique_ptr<info::InfoWindowBase> help_;
};

}  // namespace zol
