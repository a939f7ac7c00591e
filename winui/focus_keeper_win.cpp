#include "winui/focus_keeper_win.h"

#include <commctrl.h>

namespace zol::ui {

namespace {

constexpr UINT_PTR kSubclassId = 0x666f6b;  // any id of our own

}  // namespace

void FocusKeeper::watch(HWND control) {
    if (!control) return;
    SetWindowSubclass(control, &FocusKeeper::control_proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (GetFocus() == control) last_ = control;
}

void FocusKeeper::restore(HWND first) const {
    HWND target = last_;
    if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = first;
    if (target && GetFocus() != target) SetFocus(target);
}

LRESULT CALLBACK FocusKeeper::control_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                           DWORD_PTR self_param) {
    auto* self = reinterpret_cast<FocusKeeper*>(self_param);
    if (message == WM_SETFOCUS) {
        self->last_ = control;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &FocusKeeper::control_proc, kSubclassId);
        if (self->last_ == control) self->last_ = nullptr;
    }
    return DefSubclassProc(control, message, wparam, lparam);
}

void NextDialogControl(HWND window, WPARAM wparam, LPARAM lparam) {
    HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam) : GetNextDlgTabItem(window, GetFocus(), wparam != 0);
    if (!next) return;
    SetFocus(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
}

}  // namespace zol::ui
