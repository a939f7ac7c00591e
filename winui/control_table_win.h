// Builds a window's controls from a table of rows and keeps them laid out:
// twips scaled by the window's DPI, fonts and colours made from the rows, the
// client area fitted to the layout, and all of it redone on WM_DPICHANGED.
// The console and the About and Help windows each own one.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "winui/control_row.h"
#include "winui/focus_keeper_win.h"
#include "winui/win_ui.h"

namespace zol::ui {

class ControlTable {
public:
    // Makes the window's control of a custom row; null when it could not.
    using MakeCustom = std::function<HWND(const ControlRow&)>;

    ControlTable() = default;
    ControlTable(const ControlTable&) = delete;
    ControlTable& operator=(const ControlTable&) = delete;

    // Creates the controls as children of `window`, laid out at `dpi` (0:
    // the window's). Child order is tab order: first the controls that take
    // the focus, then custom controls, then the rest, so buttons and boxes
    // overlapping a label are drawn over it; within each, by tab index, and
    // in table order among equals.
    void create(HWND window, const WindowLayout& layout, std::span<const ControlRow> rows,
                const MakeCustom& make_custom = nullptr, UINT dpi = 0);

    // Has `focus` follow every control that takes the focus.
    void watch_focus(FocusKeeper& focus) const;

    // Gives the control `id` a font other than its row's (null: its row's
    // again); it keeps it across DPI changes.
    void set_font(int id, const FontDesc* font);

    // Sizes the window so its client area is the layout's, and, when
    // `centre_over` is given, centres it over that rectangle, kept inside the
    // work area of the monitor it is on.
    void fit_client_area(const RECT* centre_over = nullptr) const;

    // WM_DPICHANGED: takes the suggested rectangle, makes the fonts for the
    // new DPI and lays everything out again.
    void dpi_changed(WPARAM wparam, LPARAM lparam);

    // WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: the row's colours, or the
    // system's (window text on the window colour in a box, button text on the
    // button face elsewhere).
    LRESULT colour(UINT message, HDC dc, HWND child) const;

    UINT dpi() const { return dpi_; }
    HWND control(int id) const;
    // The row of a control of the table, or null.
    const ControlRow* row_of(HWND child) const;
    const ControlRow* row(int id) const;
    // The first control in tab order that takes the focus, or null.
    HWND first_tab_stop() const;

private:
    struct Control {
        ControlRow row;
        HWND hwnd = nullptr;
        const FontDesc* font_override = nullptr;
        Brush back;
    };

    void lay_out();
    // Gives the control its font and moves it to its place.
    void place(const Control& control);
    RECT px_rect(const TwipsRect& place) const;
    HFONT font_of(const Control& control);

    HWND window_ = nullptr;
    WindowLayout layout_;
    UINT dpi_ = 96;
    std::vector<Control> controls_;  // in child order
    // The fonts in use, each with the description it was made from; rebuilt
    // for a new DPI.
    std::vector<std::pair<const FontDesc*, Font>> fonts_;
};

}  // namespace zol::ui
