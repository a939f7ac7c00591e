#include "winui/focus_keeper_win.h"

#include "winui/subclass_win.h"

namespace zol::ui {

void FocusKeeper::watch(HWND control) {
    if (!control) return;
    subclass<&FocusKeeper::control_message>(control, this);
    if (GetFocus() == control) last_ = control;
}

void FocusKeeper::restore(HWND first) const {
    HWND target = last_;
    if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = first;
    if (target && GetFocus() != target) SetFocus(target);
}

LRESULT FocusKeeper::control_message(HWND control, UINT message, WPARAM wparam, LPARAM lparam, FocusKeeper*& self) {
    if (message == WM_SETFOCUS) {
        self->last_ = control;
    } else if (message == WM_NCDESTROY && self->last_ == control) {
        self->last_ = nullptr;
    }
    return DefSubclassProc(control, message, wparam, lparam);
}

void next_dialog_control(HWND window, WPARAM wparam, LPARAM lparam) {
    HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam) : GetNextDlgTabItem(window, GetFocus(), wparam != 0);
    if (!next) return;
    SetFocus(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
}

}  // namespace zol::ui
