// Input as a person gives it: mouse clicks and keys put into the system's
// input queue with SendInput, so the target program sees exactly what a real
// mouse and keyboard make of them (double clicks, WM_SYSCHAR, activation),
// and the focus and activation of another program's windows read back.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/outcome.h"

namespace zol::test {

// The centre of a window's rectangle on the screen.
POINT centre_of(HWND window);

// Moves the pointer to a screen point through the input queue.
void move_pointer(POINT at);

// `count` left clicks at one screen point in one burst, well within the
// double-click time: 2 makes a double click, 3 a double click and a click.
// A call at the spot of a recent single click first waits out the
// double-click time, so that separate calls stay separate clicks.
void click_at(POINT at, int count = 1);

// Clicks `count` times on the centre of a window (a control or a top-level
// window), after checking that the point really shows that window: a click
// that would land on something lying over it fails instead.
Outcome click_on(HWND window, int count = 1);

// Activates a top-level window with a click at a point inside it that
// takes no focus (a label, the window's own surface), and waits until it is
// the foreground window. (Not on the title bar: under Wine a click there now
// and then leaves the window's move loop running, which then swallows the
// keys that follow and drags the window along with the pointer.)
Outcome activate_by_click(HWND window, POINT at);

// Brings a top-level window to the front as the task bar or Alt+Tab does,
// and waits until it is the foreground window.
Outcome bring_to_front(HWND window);

// The middle of an item of a window's menu bar, for a menu of another
// process, whose item rectangles cannot be asked for: the bar is found by hit
// testing and the items are measured from their captions (all of them, in
// order) in the menu font, spaced as Wine spaces them. Nothing when the
// window has no menu bar.
std::optional<POINT> menu_bar_item_point(HWND window, const std::vector<std::wstring>& captions, int index);

// One key pressed and released, with Alt, Shift or Ctrl held around it when
// asked.
enum Modifier { kNoModifier = 0, kAlt = 1, kShift = 2, kCtrl = 4 };
void press_key(WORD vk, int modifiers = kNoModifier);

// Alt with a letter ('A' to 'Z'), as an access key.
inline void press_alt(char letter) { press_key(static_cast<WORD>(letter), kAlt); }

// Types the text character by character as Unicode key strokes.
void type_text(const std::wstring& text);

// The window with the keyboard focus, and the active window, in the thread
// that owns `window` (any process); null when none.
HWND focus_of(HWND window);
HWND active_of(HWND window);

// Waits until the focus of the window's thread is on `expected`; says where
// it is when it is not.
Outcome focus_comes_to(HWND window, HWND expected,
                                          std::chrono::milliseconds timeout = std::chrono::seconds(3));

// Waits until the window is gone (after a key or click that closes it); when
// it stays, says where its thread's input goes: the window in front, the
// active and focused windows, the mouse capture, and any menu or move loop
// that takes the keys itself.
Outcome closes(HWND window, std::chrono::milliseconds timeout = std::chrono::seconds(3));

}  // namespace zol::test
