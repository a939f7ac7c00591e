// frmhelp: the fixed help text in a read-only box. Modeless, owned by the
// console, at most one at a time.
#include <memory>
#include <vector>

#include "infowindows/accessible_name_win.h"
#include "infowindows/help_text.h"
#include "infowindows/info_window_win.h"
#include "infowindows/info_windows_win.h"

namespace zol {

namespace {

using info::ControlSpec;
using ui::FontDesc;

constexpr FontDesc kTextFont{L"Arial", 900, true};

enum ControlId { kText = 101, kReturn };

class HelpForm final : public info::InfoWindow {
public:
    using InfoWindow::InfoWindow;

    bool Open();

private:
    void OnCommand(int id) override;
    void on_detached() override;
};

// The one Help window, from its first showing until it is closed.
std::unique_ptr<HelpForm> g_help;

bool HelpForm::Open() {
    const info::WindowSpec window{L"frmhelp", L"zolvanta's spar 7.8 help", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  WS_EX_CONTROLPARENT, 6135, 6615, FontDesc{L"Arial", 825, true}};
    // The return button overlaps the box by 15 twips; the box, made first,
    // stays above it.
    std::vector<ControlSpec> controls{
        {kText, L"EDIT", help_text(), 0, 0, 6135, 6375,
         ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, &kTextFont,
         RGB(255, 0, 255), RGB(0, 0, 0)},
        {kReturn, L"BUTTON", L"&return to zolvanta's spar", 0, 6360, 6135, 255, BS_PUSHBUTTON | WS_TABSTOP, 0,
         nullptr},
    };
    if (!Create(window, std::move(controls))) return false;
    // A screen reader names a box by the label before it; this one has
    // none, and would otherwise read all 84 lines as its name.
    SetAccessibleName(control(kText), L"help text");
    return true;
}

void HelpForm::OnCommand(int id) {
    // Enter on the focused return button reaches us as IDOK, since this is
    // not a dialog and has no default button; Enter elsewhere does nothing.
    // Esc returns from anywhere: in the help text the box itself asks for
    // the window to close, on the button it reaches us as IDCANCEL.
    if (id == kReturn || id == IDCANCEL || (id == IDOK && GetFocus() == control(kReturn))) Close();
}

void HelpForm::on_detached() {
    if (g_help.get() == this) g_help.reset();  // deletes this; nothing follows
}

}  // namespace

HWND HelpWindow() { return g_help ? g_help->hwnd() : nullptr; }

void ShowHelpWindow(HWND console, const std::function<bool()>& stay_on_top) {
    if (g_help) {
        g_help->set_stay_on_top(stay_on_top);
        g_help->LowerConsole();
        ShowWindow(g_help->hwnd(), SW_SHOW);
        SetForegroundWindow(g_help->hwnd());
        return;
    }
    auto help = std::make_unique<HelpForm>(console, stay_on_top);
    help->LowerConsole();
    if (!help->Open()) {
        help->RestoreConsole();
        return;
    }
    g_help = std::move(help);
    ShowWindow(g_help->hwnd(), SW_SHOW);
}

}  // namespace zol
