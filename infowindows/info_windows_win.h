// The About window (frmaboutzolspar) and the Help window (frmhelp), opened
// from the console's menu.
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

namespace zol {

// Shows frmaboutzolspar centred over `console` and returns when it has been
// closed. Modal: every visible, enabled window of this thread (the console,
// an open Help window) is disabled while it is open and enabled again before
// it goes. Its own message loop runs meanwhile and dispatches every message of
// the thread, so timers and the console's handlers keep running. A WM_QUIT
// taken by that loop closes the window and is posted again before the call
// returns, so the caller's loop ends too. A call while the window is already
// open only brings it to the front.
void ShowAboutWindow(HWND console, const std::function<bool()>& stay_on_top);

// Shows frmhelp, owned by `console`, and returns at once. There is at most one
// Help window: a call while it is open shows and activates the same window
// (and takes the console out of the topmost band again when `stay_on_top` is
// true). The window keeps a copy of the latest `stay_on_top` for its closing.
void ShowHelpWindow(HWND console, const std::function<bool()>& stay_on_top);

// Keyboard handling of both windows: Tab, Enter, Esc and Alt with an
// underlined letter. Every message loop of the thread (the console's main
// loop and its Pause loop) hands each message here first and skips
// TranslateMessage and DispatchMessage when this returns true. Messages for
// other windows are left alone (false).
bool IsInfoWindowMessage(MSG* msg);

// The open Help window, or null.
HWND HelpWindow();

// The open About window, or null.
HWND AboutWindow();

}  // namespace zol
