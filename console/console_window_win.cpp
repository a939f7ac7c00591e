#include "console/console_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "chathost/stacking_win.h"
#include "chathost/user32_host_win.h"
#include "chathost/zol_chat.h"
#include "winui/accessible_name_win.h"
#include "winui/subclass_win.h"
#include "winui/window_class_win.h"
#include "winui/window_win.h"
#include "console/command_lines.h"
#include "console/scroll_cutter.h"

namespace zol {
namespace {

// 41 blanks: the hit-point label while the counter starts and stops.
const std::wstring kBlankCaption(41, L' ');

// Posted to the console once it has been shown and painted: what only
// input needs is set up then, so the window shows sooner. The tooltips
// (nobody can point at a control before it is on the screen) and the
// controls' subclasses: the message is posted before any input can be
// queued, and a posted message is taken before input, so no click or key
// reaches a control before its subclass is there. Each subclassed control
// costs more on every message it gets (under Wine the subclass is found
// through a window property, a call to the window server), and laying out
// and painting the controls the first time is many messages.
constexpr UINT kAfterFirstPaint = WM_APP + 1;

// Tooltips wrap at three inches, so the longest (the xp button's) shows in
// a few lines rather than across the screen.
constexpr int kTooltipWidthTwips = 4500;

using ui::ControlKind;

// The console window itself; its controls are the rows of console_controls().
constexpr ui::WindowLayout kConsoleLayout{
    .class_name = kConsoleClass,
    .caption = kConsoleCaption,
    // No sizing frame; a small title bar lets the user move and close it,
    // and WS_EX_APPWINDOW keeps its task bar button.
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .ex_style = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
    .client_width = kConsoleWidthTwips,
    .client_height = kConsoleHeightTwips,
    .font = kWindowFont,
    .made_at_px = 10,
};

// The work area of the primary monitor, which the console opens centred in.
RECT primary_work_area(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

// The second click of a double click on one of our owner-drawn buttons is
// a second press, as on a standard push button: down presses the button,
// the release over it sends BN_CLICKED, moving off first cancels. Left to
// itself an owner-drawn button only tells its parent BN_DOUBLECLICKED, on
// the way down, without showing itself pressed and with no way to cancel,
// so a quick second press of a toggle would be lost.
LRESULT press_on_every_click(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return DefSubclassProc(button, message, wparam, lparam);
}

// Esc in a multi-line box. Reached by the dialog keys, the box takes Esc to
// mean "close the dialog" and posts WM_CLOSE to its parent: here that would
// end the program and lose both boxes' texts. Esc cancels nothing on the
// console, in these boxes as everywhere else, so the box never sees it.
LRESULT ignore_escape(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) && wparam == VK_ESCAPE) return 0;
    return DefSubclassProc(box, message, wparam, lparam);
}

}  // namespace

NumberFormat user_number_format() {
    NumberFormat format;
    wchar_t buffer[16];
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 16) > 1) format.decimal = buffer;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 16) > 0) format.grouping = buffer;
    return format;
}

std::wstring user_date_time_text() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[128] = L"";
    wchar_t time[128] = L"";
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &now, nullptr, time, 128);
    const bool midnight = now.wHour == 0 && now.wMinute == 0 && now.wSecond == 0;
    return general_date_text(date, time, midnight);
}

ConsoleWindow::ConsoleWindow(HostWindows& host, ui::MessagePump& pump)
    : host_(host),
      pump_(pump),
      about_and_help_(pump),
      scanner_(host, [this](const std::wstring& who, const std::wstring& what) { zolvantascan(who, what); }) {
    dialog_filter_id_ = pump_.add_dialog_filter([this](MSG& msg) { return is_dialog_message(msg); });
}

ConsoleWindow::~ConsoleWindow() {
    pump_.remove_dialog_filter(dialog_filter_id_);
    if (hwnd()) DestroyWindow(hwnd());
}

int run_console(HINSTANCE instance, int show) {
    User32Host host;
    ui::MessagePump pump;
    ConsoleWindow console(host, pump);
    if (!console.create(instance, show)) return 1;
    return pump.run();
}

HWND ConsoleWindow::create(HINSTANCE instance, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    const bool registered = ui::register_class({
        .name = kConsoleClass,
        .icon = LoadIconW(instance, MAKEINTRESOURCEW(ui::kProgramIconId)),
        .small_icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ui::kProgramIconId), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)),
    });
    if (!registered) return nullptr;

    ui::Menu menu(CreateMenu());
    AppendMenuW(menu.get(), MF_STRING, idm_about, kAboutMenuText.data());
    AppendMenuW(menu.get(), MF_STRING, idm_help, kHelpMenuText.data());

    back_brush_.reset(CreateSolidBrush(ui::colour_ref(kConsoleBackColour)));
    active_brush_.reset(CreateSolidBrush(ui::colour_ref(kActiveColour)));

    if (!CreateWindowExW(kConsoleLayout.ex_style, kConsoleClass.data(), kConsoleCaption.data(), kConsoleLayout.style,
                         CW_USEDEFAULT, CW_USEDEFAULT, 300, 300, nullptr, menu.get(), instance,
                         static_cast<ui::Window*>(this))) {
        return nullptr;
    }
    menu.release();  // the window's now, destroyed with it
    create_controls();
    const RECT work = primary_work_area(hwnd());
    table_.fit_client_area(&work);
    ShowWindow(hwnd(), show);
    UpdateWindow(hwnd());
    PostMessageW(hwnd(), kAfterFirstPaint, 0, 0);
    // Showing the window activated it, and the activation gave the focus to
    // the first control in tab order (see WM_ACTIVATE).
    return hwnd();
}

void ConsoleWindow::create_controls() {
    table_.create(hwnd(), kConsoleLayout, console_controls(), [this](const ui::ControlRow& row) {
        return scanner_.create(hwnd(), row.id, 0, 0);
    });
    SetWindowTextW(control(idc_lblhitpoints), banner_text().c_str());
    for (const ui::ControlRow& row : console_controls()) {
        HWND child = control(row.id);
        if (!child) continue;
        // Text boxes are named by their labels, or by their tooltips where
        // they have none.
        if (row.kind != ControlKind::multi_line_box && row.kind != ControlKind::single_line_box) continue;
        std::wstring name(row.tooltip);
        if (const auto label = label_of_box(static_cast<ControlId>(row.id))) {
            if (const ui::ControlRow* l = table_.row(*label)) name = l->text;
        }
        ui::set_accessible_name(child, std::move(name));
    }
}

void ConsoleWindow::after_first_paint() {
    if (ready_for_input_) return;
    ready_for_input_ = true;
    table_.watch_focus(focus_);
    for (const ui::ControlRow& row : console_controls()) {
        HWND child = control(row.id);
        if (!child) continue;
        if (row.kind == ControlKind::toggle_button || row.kind == ControlKind::flat_button) {
            ui::subclass<press_on_every_click>(child);
        }
        if (row.kind == ControlKind::multi_line_box) ui::subclass<ignore_escape>(child);
    }
    add_tooltips();
}

void ConsoleWindow::add_tooltips() {
    // The tooltip window has no owner: Wine 8 will not move a window that
    // owns popups into the topmost band (it moves the popups instead), which
    // would make "stay on top" do nothing there. A tooltip is topmost by
    // itself and only shows while the mouse rests on a control, so it needs
    // no owner; it is destroyed with the console below.
    tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr));
    if (!tooltip_) return;
    SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, ui::twips_to_px(kTooltipWidthTwips, table_.dpi()));
    for (const auto& row : console_controls()) {
        if (row.tooltip.empty()) continue;
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = hwnd();
        info.uId = reinterpret_cast<UINT_PTR>(control(row.id));
        info.lpszText = const_cast<wchar_t*>(row.tooltip.data());
        SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

std::wstring ConsoleWindow::control_text(ControlId id) const { return ui::window_text(control(id)); }

bool ConsoleWindow::is_dialog_message(MSG& msg) {
    if (!hwnd() || !IsWindow(hwnd())) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

int ConsoleWindow::focused_button() const {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != hwnd()) return 0;
    const int id = GetDlgCtrlID(focus);
    for (const auto& row : console_controls()) {
        if (row.id == id && ui::is_button(row.kind)) return id;
    }
    return 0;
}

LRESULT ConsoleWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ACTIVATE:
        // The console is no dialog: DefWindowProc would give the focus to
        // the window itself, and Tab and typing would start from nothing.
        // Like a dialog, it gives the focus back to the control that had it.
        // A minimised window takes no focus until it is restored.
        if (LOWORD(wparam) != WA_INACTIVE && !HIWORD(wparam)) {
            focus_.restore(control(idc_txtscoreboard));
            return 0;
        }
        return default_message(message, wparam, lparam);
    case WM_SETFOCUS:
        // The window itself was given the focus (as on a restore from
        // minimised): it goes on to the control.
        focus_.restore(control(idc_txtscoreboard));
        return 0;
    case DM_GETDEFID:
        // IsDialogMessage asks which button Enter presses when the focused
        // control is no default push button. A dialog makes the focused push
        // button its default; the console answers with the focused button
        // of any kind, so Enter presses the graphical buttons too, and does
        // so after a click as well as after Tab. In a one-line box Enter does
        // nothing; the two multi-line boxes take it as a line break.
        if (const int id = focused_button()) return MAKELRESULT(id, DC_HASDEFID);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED || (lparam == 0 && HIWORD(wparam) == 0)) on_command(LOWORD(wparam));
        return 0;
    case WM_DRAWITEM:
        draw_button(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd(), &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, back_brush_.get());
        return 1;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return table_.colour(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_NEXTDLGCTL:
        ui::next_dialog_control(hwnd(), wparam, lparam);
        return 0;
    case kAfterFirstPaint:
        after_first_paint();
        return 0;
    case WM_DPICHANGED:
        table_.dpi_changed(wparam, lparam);
        return 0;
    case WM_DESTROY:
        scanner_.zolvantascan_off();
        tooltip_.reset();
        PostQuitMessage(0);
        return 0;
    default:
        return default_message(message, wparam, lparam);
    }
}

void ConsoleWindow::on_command(int id) {
    switch (id) {
    case idc_cmdcounterstart: counter_toggle(); break;
    case idc_say_score:       score_toggle(); break;
    case idc_ontop:           on_top_toggle(); break;
    case idc_cmdscoreboard:   scroll_box(idc_txtscoreboard); break;
    case idc_cmdscrollterms:  scroll_box(idc_txtterms); break;
    case idc_cmdrolldyce:     roll(); break;
    case idc_Command1:        init(); break;
    case idc_cmddatetyme:     stamp(); break;
    case idc_cmdscrollxps:    scroll_xps(); break;
    case idm_about:
        about_and_help_.show_about(hwnd(), [this] { return stayontop; });
        break;
    case idm_help:
        about_and_help_.show_help(hwnd(), [this] { return stayontop; });
        break;
    default: break;
    }
}

std::uint32_t& ConsoleWindow::face_of(int id) {
    if (id == idc_say_score) return face_say_score_;
    if (id == idc_ontop) return face_ontop_;
    return face_counter_;
}

void ConsoleWindow::set_face(int id, std::uint32_t colour) {
    face_of(id) = colour;
    InvalidateRect(control(static_cast<ControlId>(id)), nullptr, FALSE);
}

void ConsoleWindow::draw_button(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const int id = static_cast<int>(item.CtlID);
    const bool toggle = id == idc_cmdcounterstart || id == idc_say_score || id == idc_ontop;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;

    const bool active = toggle && face_of(id) != ui::kButtonFaceColour;
    FillRect(dc, &r, active ? active_brush_.get() : GetSysColorBrush(COLOR_BTNFACE));
    if (toggle) {
        DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else {
        // Flat: a plain one-pixel outline, two when pressed.
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        if (pushed) {
            RECT inner = r;
            InflateRect(&inner, -1, -1);
            FrameRect(dc, &inner, GetSysColorBrush(COLOR_WINDOWFRAME));
        }
    }

    const std::wstring caption = ui::window_text(item.hwndItem);
    {
        const ui::Selection font(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        RECT text_rect = r;
        InflateRect(&text_rect, -2, -2);
        if (pushed) OffsetRect(&text_rect, 1, 1);
        UINT format = DT_CENTER | DT_WORDBREAK | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
        // Centre the (possibly wrapped) caption vertically.
        RECT measure = text_rect;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, format | DT_CALCRECT);
        const int text_h = measure.bottom - measure.top;
        const int offset = ((text_rect.bottom - text_rect.top) - text_h) / 2;
        if (offset > 0) text_rect.top += offset;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text_rect, format);
    }

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

// ---------------------------------------------------------------------------
// The toggles. The counter and score toggles take the face colour as the
// truth before they look at their flag.

void ConsoleWindow::counter_toggle() {
    if (face_of(idc_cmdcounterstart) == ui::kButtonFaceColour) counteridle = true;
    HWND label = control(idc_lblhitpoints);
    if (counteridle) {
        set_face(idc_cmdcounterstart, kActiveColour);
        scanner_.zolvantascan_on();
        counteridle = false;
        SetWindowTextW(label, kBlankCaption.c_str());
        table_.set_font(idc_lblhitpoints, &kHitPointsRunningFont);
    } else {
        set_face(idc_cmdcounterstart, ui::kButtonFaceColour);
        scanner_.zolvantascan_off();
        counteridle = true;
        SetWindowTextW(label, kBlankCaption.c_str());
        table_.set_font(idc_lblhitpoints, &kHitPointsStoppedFont);
        SetWindowTextW(label, banner_text().c_str());
    }
}

void ConsoleWindow::score_toggle() {
    if (face_of(idc_say_score) == ui::kButtonFaceColour) sayscore = false;
    if (!sayscore) {
        set_face(idc_say_score, kActiveColour);
        sayscore = true;
    } else {
        set_face(idc_say_score, ui::kButtonFaceColour);
        sayscore = false;
    }
}

void ConsoleWindow::on_top_toggle() {
    if (!stayontop) {
        stayontop = true;
        set_face(idc_ontop, kActiveColour);
        StayOnTop(hwnd());
    } else {
        stayontop = false;
        set_face(idc_ontop, ui::kButtonFaceColour);
        NotOnTop(hwnd());
    }
}

// ---------------------------------------------------------------------------
// Posting commands. After every pause the program may be ending (the window
// was closed while paused): then nothing more is posted.

void ConsoleWindow::send_line(const std::wstring& line) {
    if (pump_.quitting()) return;
    zol_chat::SendChatLine(host_, line);
}

void ConsoleWindow::scroll_box(ControlId box) {
    const std::wstring text = control_text(box);
    if (text.empty()) {
        advertise();
        return;
    }
    const std::vector<LineSpan> spans = cut_scroll_lines(text);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (pump_.quitting()) return;
        // The box is read afresh for every line: the positions stay those of
        // the click, the characters are what the box holds now.
        send_line(line_text(control_text(box), spans[i]));
        if (i + 1 < spans.size()) {
            Pause(1);
        } else {
            pump_.pause_last(1);
        }
    }
}

void ConsoleWindow::advertise() {
    const auto lines = advertisement_lines();
    send_line(lines[0]);
    Pause(1);
    send_line(lines[1]);
}

void ConsoleWindow::refuse(ControlId box) {
    MessageBeep(MB_ICONWARNING);
    HWND edit = control(box);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void ConsoleWindow::roll() {
    const RollLine r = roll_line(control_text(idc_numofdyce), control_text(idc_txtnumofdyce), user_number_format());
    if (r.refused()) {
        refuse(idc_numofdyce);
        return;
    }
    if (r.count_box_rewrite) SetWindowTextW(control(idc_numofdyce), r.count_box_rewrite->c_str());
    send_line(*r.line);
}

void ConsoleWindow::init() { send_line(init_line()); }

void ConsoleWindow::stamp() {
    send_line(stamp_line(user_date_time_text()));
    pump_.pause_last(1);
}

void ConsoleWindow::scroll_xps() {
    const XpLine x = xp_line(control_text(idc_txtnuminspar), control_text(idc_txthydyce), user_number_format());
    if (x.people_box_rewrite) SetWindowTextW(control(idc_txtnuminspar), x.people_box_rewrite->c_str());
    if (x.highest_die_box_rewrite) SetWindowTextW(control(idc_txthydyce), x.highest_die_box_rewrite->c_str());
    if (x.refused()) {
        refuse(x.refused_box == XpBox::highest_die ? idc_txthydyce : idc_txtnuminspar);
        return;
    }
    send_line(*x.line);
}

// ---------------------------------------------------------------------------
// The dice counter, on each new chat line the scanner raises.

void ConsoleWindow::zolvantascan(const std::wstring& who_said, const std::wstring& what_said) {
    if (pump_.quitting()) return;
    const std::optional<DiceCount> count = count_chat_line(who_said, what_said, sayscore);
    if (!count) return;
    SetWindowTextW(control(idc_lblhitpoints), count->caption.c_str());
    if (count->announcement) send_line(*count->announcement);
    // Results that come less than a second apart each arrive inside the
    // pause of the one before; this keeps them from nesting without end.
    pump_.pause_last(1);
}

}  // namespace zol
