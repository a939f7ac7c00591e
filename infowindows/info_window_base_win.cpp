#include "infowindows/info_window_base_win.h"

#include "chathost/stacking_win.h"
#include "winui/window_class_win.h"

namespace zol::info {

namespace {

HINSTANCE this_module() { return GetModuleHandleW(nullptr); }

// The rectangle to centre over: the console's, or the work area of the
// primary monitor when there is no console.
RECT centre_frame(HWND console) {
    RECT frame{};
    if (console && IsWindow(console) && GetWindowRect(console, &frame)) return frame;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &frame, 0);
    return frame;
}

}  // namespace

bool InfoWindowBase::create(const ui::WindowLayout& layout, std::vector<ui::ControlRow> rows) {
    layout_ = layout;
    rows_ = std::move(rows);
    const std::wstring class_name(layout.class_name);

    const bool registered = ui::register_class({
        .name = layout.class_name,
        .background = ui::system_colour_background(COLOR_BTNFACE),
        .icon = LoadIconW(this_module(), MAKEINTRESOURCEW(ui::kProgramIconId)),
    });
    if (!registered) return false;

    // The window takes the console's DPI; the first size is a guess from the
    // frame metrics that fit_client_area corrects once the window exists.
    dpi_ = ui::window_dpi(console_);
    RECT outer{0, 0, ui::twips_to_px(layout.client_width, dpi_), ui::twips_to_px(layout.client_height, dpi_)};
    AdjustWindowRectEx(&outer, layout.style, FALSE, layout.ex_style);
    if (!CreateWindowExW(layout.ex_style, class_name.c_str(), L"", layout.style, 0, 0, outer.right - outer.left,
                         outer.bottom - outer.top, console_, nullptr, this_module(), static_cast<ui::Window*>(this))) {
        return false;
    }
    const RECT frame = centre_frame(console_);
    table_.fit_client_area(&frame);
    return true;
}

void InfoWindowBase::lower_console() const {
    if (console_ && stay_on_top_ && stay_on_top_()) NotOnTop(console_);
}

void InfoWindowBase::restore_console() const {
    if (console_ && stay_on_top_ && stay_on_top_()) StayOnTop(console_);
}

void InfoWindowBase::close() {
    if (closing_ || !hwnd()) return;
    closing_ = true;
    restore_console();
    on_closing();
    DestroyWindow(hwnd());  // may delete this object
}

LRESULT InfoWindowBase::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        // The caption is set here, as the window loads, not passed to
        // CreateWindowEx.
        SetWindowTextW(hwnd(), std::wstring(layout_.caption).c_str());
        table_.create(hwnd(), layout_, rows_, nullptr, dpi_);
        table_.watch_focus(focus_);
        on_laid_out(table_.dpi());
        return 0;

    case WM_COMMAND:
        // Button clicks and the IDOK/IDCANCEL of IsDialogMessage; edit
        // notifications carry other codes and are of no interest.
        if (HIWORD(wparam) == BN_CLICKED) on_command(LOWORD(wparam));
        return 0;

    case DM_GETDEFID:
        // IsDialogMessage asks for the default button when Enter is pressed.
        if (const int id = default_button_id()) return MAKELRESULT(id, DC_HASDEFID);
        return 0;

    case WM_CLOSE:  // close box, system menu, Alt+F4
        close();
        return 0;

    // A window that is not a dialog forgets its focused control when it is
    // deactivated; the keeper brings the focus back where it was, the first
    // time to the first control in tab order.
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE && !HIWORD(wparam)) {
            focus_.restore(table_.first_tab_stop());
            return 0;
        }
        return default_message(message, wparam, lparam);

    case WM_SETFOCUS:
        focus_.restore(table_.first_tab_stop());
        return 0;

    case WM_NEXTDLGCTL:  // Tab in the help text
        ui::next_dialog_control(hwnd(), wparam, lparam);
        return 0;

    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return table_.colour(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));

    case WM_DPICHANGED:
        table_.dpi_changed(wparam, lparam);
        on_laid_out(table_.dpi());
        return 0;
    }
    return default_message(message, wparam, lparam);
}

}  // namespace zol::info
