// What the About and Help windows share: a window built from a fixed table
// of child controls laid out in twips, per-control fonts and colours, a place
// centred over the console, and the steps that move the console out of the
// topmost band and back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "winui/control_row.h"
#include "winui/control_table_win.h"
#include "winui/focus_keeper_win.h"
#include "winui/win_ui.h"
#include "winui/window_win.h"

namespace zol::info {

class InfoWindowBase : public ui::Window {
public:
    InfoWindowBase(HWND console, std::function<bool()> stay_on_top)
        : console_(console), stay_on_top_(std::move(stay_on_top)) {}

    HWND control(int id) const { return table_.control(id); }

    void set_stay_on_top(std::function<bool()> stay_on_top) { stay_on_top_ = std::move(stay_on_top); }

    // Creates the window hidden, owned by the console and centred over it,
    // with its client area and controls scaled to the console's DPI. The
    // first control that takes Tab gets the focus when the window is
    // activated. False when the window could not be created.
    bool create(const ui::WindowLayout& layout, std::vector<ui::ControlRow> rows);

    // Opening step: out of the topmost band when the console wants to stay
    // on top, so this window is not hidden behind it.
    void lower_console() const;
    // Back into the topmost band when the console wants to stay on top now.
    void restore_console() const;

    // The closing steps, whichever way the window is closed: the console goes
    // back into the topmost band when it wants to stay on top now, then the
    // window is destroyed. Runs once; later calls do nothing. The object may
    // be deleted by the time this returns.
    void close();

protected:
    HWND console() const { return console_; }

    virtual void on_command(int id) = 0;
    // The control Enter presses when the focus is not on a push button;
    // 0 for none.
    virtual int default_button_id() const { return 0; }
    // Called after every layout (creation and DPI change) with the DPI used.
    virtual void on_laid_out(UINT /*dpi*/) {}
    // Called by close between the stacking step and the destruction.
    virtual void on_closing() {}

private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;

    HWND console_;
    std::function<bool()> stay_on_top_;
    ui::WindowLayout layout_;
    std::vector<ui::ControlRow> rows_;
    UINT dpi_ = 96;  // the console's, at creation
    ui::ControlTable table_;
    ui::FocusKeeper focus_;
    bool closing_ = false;
};

}  // namespace zol::info
