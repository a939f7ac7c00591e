// Subclassing a control, in one place: a behaviour of our own that sees the
// control's messages before the control does. The subclass and whatever data
// it keeps go with the control on WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <type_traits>
#include <utility>

namespace zol::ui {

namespace subclass_detail {

// Each behaviour has a procedure of its own (one instance of the templates
// below), which is what tells the subclasses of a control apart; the id
// beside it can be the same for all.
inline constexpr UINT_PTR kId = 1;

// Sent by subclass() to a control it is to subclass: the control's subclass
// whose procedure is the wparam answers with its data, so that a second
// subclass() replaces it. Nothing else answers it (comctl32 exports the
// function that would tell by ordinal only).
inline UINT data_request() {
    static const UINT message = RegisterWindowMessageW(L"zolspar subclass data");
    return message;
}

template <auto Handler, typename Data>
LRESULT CALLBACK procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR reference) {
    auto* data = reinterpret_cast<Data*>(reference);
    if (message == data_request() && wparam == reinterpret_cast<WPARAM>(&procedure<Handler, Data>)) {
        return static_cast<LRESULT>(reference);
    }
    if (message != WM_NCDESTROY) return Handler(control, message, wparam, lparam, *data);
    // The subclass is removed before the last message goes on, as comctl32
    // asks; the handler still sees it, then the data goes.
    RemoveWindowSubclass(control, &procedure<Handler, Data>, kId);
    const LRESULT result = Handler(control, message, wparam, lparam, *data);
    delete data;
    return result;
}

template <auto Handler>
LRESULT CALLBACK procedure_without_data(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, &procedure_without_data<Handler>, kId);
    return Handler(control, message, wparam, lparam);
}

}  // namespace subclass_detail

// Gives `control` the behaviour `Handler` until the control is destroyed.
// The handler is a function
//     LRESULT handler(HWND control, UINT message, WPARAM, LPARAM, Data& data)
// that hands on with DefSubclassProc what it does not take, and `data` is
// kept for it, a copy owned by the subclass. Subclassing a control again
// with the same handler gives its one subclass the new data in place of the
// old. False when the control has no such subclass and it could not be set.
template <auto Handler, typename Data>
bool subclass(HWND control, Data data) {
    static_assert(std::is_invocable_r_v<LRESULT, decltype(Handler), HWND, UINT, WPARAM, LPARAM, Data&>,
                  "a handler takes the control, the message and the subclass's data");
    if (!control) return false;
    constexpr SUBCLASSPROC proc = &subclass_detail::procedure<Handler, Data>;
    if (auto* kept = reinterpret_cast<Data*>(
            SendMessageW(control, subclass_detail::data_request(), reinterpret_cast<WPARAM>(proc), 0))) {
        *kept = std::move(data);
        return true;
    }
    auto* copy = new Data(std::move(data));
    if (SetWindowSubclass(control, proc, subclass_detail::kId, reinterpret_cast<DWORD_PTR>(copy))) return true;
    delete copy;
    return false;
}

// The same for a handler that keeps no data:
//     LRESULT handler(HWND control, UINT message, WPARAM, LPARAM)
// Subclassing a control again with it changes nothing.
template <auto Handler>
bool subclass(HWND control) {
    static_assert(std::is_invocable_r_v<LRESULT, decltype(Handler), HWND, UINT, WPARAM, LPARAM>,
                  "a handler without data takes the control and the message");
    if (!control) return false;
    return SetWindowSubclass(control, &subclass_detail::procedure_without_data<Handler>, subclass_detail::kId, 0) !=
           FALSE;
}

}  // namespace zol::ui
