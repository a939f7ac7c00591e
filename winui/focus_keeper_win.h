// Gives a window's focus back to the control that had it. A top-level window
// that is no dialog loses its focused control when it is deactivated, and
// DefWindowProc gives the focus to the window itself when it is activated
// again: Tab and typing then start from nothing. The console and the About
// and Help windows each keep one of these and call restore() on WM_ACTIVATE
// and on WM_SETFOCUS.
#pragma once

#include <windows.h>

namespace zol::ui {

class FocusKeeper {
public:
    FocusKeeper() = default;
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

    // Follows a control that takes the focus (from now on; one that has the
    // focus already counts as having had it last). The keeper must outlive
    // the control (a member of the window object does).
    void watch(HWND control);

    // Focuses the control that had the focus last or, when none has had it
    // yet or it can no longer take it, `first`.
    void restore(HWND first) const;

private:
    // A watched control's subclass.
    static LRESULT control_message(HWND control, UINT message, WPARAM wparam, LPARAM lparam, FocusKeeper*& self);

    // Recorded as each control gets the focus rather than read when the
    // window is deactivated, so it does not depend on the order in which
    // the system reports deactivation, loss of focus and minimising.
    HWND last_ = nullptr;
};

// Answers WM_NEXTDLGCTL for a window that is no dialog. A multi-line box
// asks its parent with it to move the focus on Tab, and DefWindowProc would
// ignore it, leaving the focus stuck in the box. Moves the focus to the
// control named by wparam (lparam's low word nonzero) or to the next (wparam
// 0) or previous control in tab order, selecting the text of a box.
void next_dialog_control(HWND window, WPARAM wparam, LPARAM lparam);

}  // namespace zol::ui
