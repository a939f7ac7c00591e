// frmhelp: the fixed help text in a read-only box. Modeless, owned by the
// console, at most one at a time.
#include <memory>
#include <vector>

#include "winui/accessible_name_win.h"
#include "infowindows/help_text.h"
#include "infowindows/info_window_base_win.h"
#include "infowindows/about_and_help_win.h"

namespace zol {

namespace {

using ui::ControlKind;
using ui::ControlRow;
using ui::FontDesc;

constexpr FontDesc kTextFont{L"Arial", 900, true};

enum ControlId { kText = 101, kReturn };

class HelpForm final : public info::InfoWindowBase {
public:
    HelpForm(HWND console, std::function<bool()> stay_on_top, std::function<void()> gone)
        : InfoWindowBase(console, std::move(stay_on_top)), gone_(std::move(gone)) {}

    bool open();

private:
    void on_command(int id) override;
    void on_detached() override { gone_(); }  // the owner deletes this: nothing follows

    std::function<void()> gone_;
};

bool HelpForm::open() {
    static constexpr ui::WindowLayout kLayout{
        .class_name = L"frmhelp",
        .caption = L"zolvanta's spar 7.8 help",
        .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
        .ex_style = WS_EX_CONTROLPARENT,
        .client_width = 6135,
        .client_height = 6615,
        .font = FontDesc{L"Arial", 825, true},
    };
    // The return button overlaps the box by 15 twips; the box, made first,
    // stays above it.
    std::vector<ControlRow> rows{
        {.id = kText, .kind = ControlKind::read_only_box, .text = help_text(),
         .place = {.left = 0, .top = 0, .width = 6135, .height = 6375}, .font = &kTextFont,
         .text_colour = RGB(255, 0, 255), .back_colour = RGB(0, 0, 0)},
        {.id = kReturn, .kind = ControlKind::push_button, .text = L"&return to zolvanta's spar",
         .place = {.left = 0, .top = 6360, .width = 6135, .height = 255}},
    };
    if (!create(kLayout, std::move(rows))) return false;
    // A screen reader names a box by the label before it; this one has
    // none, and would otherwise read all 84 lines as its name.
    ui::set_accessible_name(control(kText), L"help text");
    return true;
}

void HelpForm::on_command(int id) {
    // Enter on the focused return button reaches us as IDOK, since this is
    // not a dialog and has no default button; Enter elsewhere does nothing.
    // Esc returns from anywhere: in the help text the box itself asks for
    // the window to close, on the button it reaches us as IDCANCEL.
    if (id == kReturn || id == IDCANCEL || (id == IDOK && GetFocus() == control(kReturn))) close();
}

}  // namespace

void AboutAndHelp::show_help(HWND console, const std::function<bool()>& stay_on_top) {
    if (help_) {
        help_->set_stay_on_top(stay_on_top);
        help_->lower_console();
        ShowWindow(help_->hwnd(), SW_SHOW);
        SetForegroundWindow(help_->hwnd());
        return;
    }
    auto help = std::make_unique<HelpForm>(console, stay_on_top, [this] { help_.reset(); });
    help->lower_console();
    if (!help->open()) {
        help->restore_console();
        return;
    }
    help_ = std::move(help);
    ShowWindow(help_->hwnd(), SW_SHOW);
}

}  // namespace zol
