#include "infowindows/about_and_help_win.h"

#include "infowindows/info_window_base_win.h"

namespace zol {

AboutAndHelp::AboutAndHelp(ui::MessagePump& pump) : pump_(pump) {
    filter_id_ = pump_.add_dialog_filter([this](MSG& msg) { return handle_dialog_keys(msg); });
}

AboutAndHelp::~AboutAndHelp() {
    pump_.remove_dialog_filter(filter_id_);
    // An open Help window goes first; it may still call back into help_.
    if (help_ && help_->hwnd()) DestroyWindow(help_->hwnd());
}

HWND AboutAndHelp::about_window() const { return about_ ? about_->hwnd() : nullptr; }

HWND AboutAndHelp::help_window() const { return help_ ? help_->hwnd() : nullptr; }

bool AboutAndHelp::handle_dialog_keys(MSG& msg) const {
    for (HWND window : {help_window(), about_window()}) {
        if (window && (msg.hwnd == window || IsChild(window, msg.hwnd))) {
            return IsDialogMessageW(window, &msg) != FALSE;
        }
    }
    return false;
}

}  // namespace zol
