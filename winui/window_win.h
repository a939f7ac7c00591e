// The base of every window object of ours. A window's state lives in its
// object; the one window procedure below finds the object and hands it each
// message, so a window class needs no procedure of its own.
//
// The object is attached on WM_NCCREATE: pass it as CreateWindowEx's last
// argument or, for an MDI child created through WM_MDICREATE, as the
// MDICREATESTRUCT's lParam. It is detached after WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <string>

namespace zol::ui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    // The window, from WM_NCCREATE until it is destroyed; null otherwise.
    HWND hwnd() const { return hwnd_; }

    // The procedure to register for a class of such windows.
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    // The object attached to `window`, or null (not one of ours, not created
    // yet, or already destroyed).
    static Window* from_handle(HWND window);

protected:
    // Every message from WM_NCCREATE to WM_NCDESTROY, both included.
    virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) = 0;

    // What the system does with a message: DefWindowProc of the window's
    // character set, or DefMDIChildProc for an MDI child. A frame window
    // overrides it with DefFrameProc.
    virtual LRESULT default_message(UINT message, WPARAM wparam, LPARAM lparam);

    // The window is gone and the object detached from it: the last call the
    // object receives from its window. An owner may delete the object here.
    virtual void on_detached() {}

private:
    HWND hwnd_ = nullptr;
};

// The system's handling of a message for a window with no object (yet):
// DefWindowProc of its character set, or DefMDIChildProc for an MDI child.
LRESULT default_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// A window's text (a control's caption or contents), whole. GetWindowText
// may copy fewer characters than the length it reported first: the text is
// cut to what was copied.
std::wstring window_text(HWND window);

}  // namespace zol::ui
