#include "winui/window_win.h"

#include <algorithm>

namespace zol::ui {

namespace {

bool is_mdi_child(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0; }

// The object passed at creation. An MDI child made through WM_MDICREATE gets
// the MDICREATESTRUCT as its create parameter, with the object in its
// lParam. (An ANSI window gets the single-byte form of both structures; they
// differ only in the strings' type, not in where the fields stand.)
Window* created_object(const CREATESTRUCTW& create) {
    if ((create.dwExStyle & WS_EX_MDICHILD) && create.lpCreateParams) {
        return reinterpret_cast<Window*>(static_cast<const MDICREATESTRUCTW*>(create.lpCreateParams)->lParam);
    }
    return static_cast<Window*>(create.lpCreateParams);
}

}  // namespace

LRESULT default_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const bool unicode = IsWindowUnicode(window) != FALSE;
    if (is_mdi_child(window)) {
        return unicode ? DefMDIChildProcW(window, message, wparam, lparam)
                       : DefMDIChildProcA(window, message, wparam, lparam);
    }
    return unicode ? DefWindowProcW(window, message, wparam, lparam) : DefWindowProcA(window, message, wparam, lparam);
}

Window* Window::from_handle(HWND window) {
    return window ? reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LRESULT Window::default_message(UINT message, WPARAM wparam, LPARAM lparam) {
    return default_window_proc(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = created_object(*reinterpret_cast<const CREATESTRUCTW*>(lparam));
        if (self) {
            self->hwnd_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = from_handle(window);
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after the object let go.
    if (!self) return default_window_proc(window, message, wparam, lparam);

    if (message == WM_NCDESTROY) {
        const LRESULT result = self->handle_message(message, wparam, lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->on_detached();  // may delete self: nothing touches it after this
        return result;
    }
    return self->handle_message(message, wparam, lparam);
}

std::wstring window_text(HWND window) {
    const int n = GetWindowTextLengthW(window);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::clamp(got, 0, n)));
    return text;
}

}  // namespace zol::ui
