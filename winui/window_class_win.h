// Registering the window classes of our windows and programs, in one place:
// each caller describes what its class has of its own, and every class gets
// the rest alike (this exe's instance, the arrow cursor) and the same answer
// when it was registered before.
#pragma once

#include <windows.h>

#include <string_view>

#include "winui/window_win.h"

namespace zol::ui {

// The character set of a class's windows. Ours are Unicode; the practice
// room and the benchmark's host make ANSI ones, which get their text
// messages in the single-byte form, as the chat client's windows do.
enum class CharacterSet { unicode, ansi };

// What a window class of ours has of its own.
struct WindowClass {
    std::wstring_view name;  // ASCII only for an ANSI class
    WNDPROC procedure = &Window::window_proc;
    CharacterSet characters = CharacterSet::unicode;
    HBRUSH background = nullptr;  // null: the window paints its own background
    HICON icon = nullptr;
    HICON small_icon = nullptr;  // null: the system shrinks `icon`
};

// Registers the class for this exe. True when it is registered, by this call
// or an earlier one: a class stays registered until the exe ends, and a
// window made again (a second console in a test, an About window opened
// again) registers the same class again.
bool register_class(const WindowClass& description);

// Registers `name` as a copy of the system class `base` (its extra bytes,
// cursor, background and styles, but not global) for this exe, with
// `procedure` instead of the system's when it is not null. Gives the
// system's procedure for the character set, which the copy's procedure
// hands what it leaves alone; null when either class could not be had.
// Registered before counts as registered, as for register_class.
WNDPROC register_superclass(std::wstring_view base, std::wstring_view name, WNDPROC procedure,
                            CharacterSet characters);

// A class background in a system colour (COLOR_BTNFACE), as the system
// takes it: the colour's index plus one.
inline HBRUSH system_colour_background(int colour) {
    return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colour + 1));
}

}  // namespace zol::ui
