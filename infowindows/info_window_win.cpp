#include "infowindows/info_window_win.h"

#include "chathost/stacking_win.h"
#include "infowindows/info_windows_win.h"

namespace zol::info {

namespace {

HINSTANCE this_module() { return GetModuleHandleW(nullptr); }

RECT px_rect(const ControlSpec& row, UINT dpi) {
    const int left = ui::twips_to_px(row.left, dpi);
    const int top = ui::twips_to_px(row.top, dpi);
    return RECT{left, top, left + ui::twips_to_px(row.width, dpi), top + ui::twips_to_px(row.height, dpi)};
}

// The rectangle to centre over: the console's, or the work area of the
// primary monitor when there is no console.
RECT centre_frame(HWND console) {
    RECT frame{};
    if (console && IsWindow(console) && GetWindowRect(console, &frame)) return frame;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &frame, 0);
    return frame;
}

}  // namespace

HWND InfoWindow::control(int id) const {
    for (const Control& c : controls_) {
        if (c.row.id == id) return c.hwnd;
    }
    return nullptr;
}

bool InfoWindow::Create(const WindowSpec& window, std::vector<ControlSpec> controls) {
    window_ = window;
    controls_.clear();
    for (ControlSpec& row : controls) controls_.push_back(Control{std::move(row), nullptr, {}});

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(this_module(), window.class_name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &ui::Window::window_proc;
        wc.hInstance = this_module();
        wc.hIcon = LoadIconW(this_module(), MAKEINTRESOURCEW(ui::kProgramIconId));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = window.class_name;
        if (!RegisterClassExW(&wc)) return false;
    }

    // The window takes the console's DPI; the first size is a guess from the
    // frame metrics that FitClientArea corrects once the window exists.
    dpi_ = ui::window_dpi(console_);
    RECT outer{0, 0, ui::twips_to_px(window.client_width, dpi_), ui::twips_to_px(window.client_height, dpi_)};
    AdjustWindowRectEx(&outer, window.style, FALSE, window.ex_style);
    if (!CreateWindowExW(window.ex_style, window.class_name, L"", window.style, 0, 0, outer.right - outer.left,
                         outer.bottom - outer.top, console_, nullptr, this_module(), static_cast<ui::Window*>(this))) {
        return false;
    }
    FitClientArea(true);
    return true;
}

void InfoWindow::LowerConsole() const {
    if (console_ && stay_on_top_ && stay_on_top_()) NotOnTop(console_);
}

void InfoWindow::RestoreConsole() const {
    if (console_ && stay_on_top_ && stay_on_top_()) StayOnTop(console_);
}

void InfoWindow::Close() {
    if (closing_ || !hwnd()) return;
    closing_ = true;
    RestoreConsole();
    OnClosing();
    DestroyWindow(hwnd());  // may delete this object
}

LRESULT InfoWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        // The caption is set here, as the window loads, not passed to
        // CreateWindowEx.
        SetWindowTextW(hwnd(), window_.caption);
        CreateControls();
        LayOut(dpi_);
        return 0;

    case WM_COMMAND:
        // Button clicks and the IDOK/IDCANCEL of IsDialogMessage; edit
        // notifications carry other codes and are of no interest.
        if (HIWORD(wparam) == BN_CLICKED) OnCommand(LOWORD(wparam));
        return 0;

    case DM_GETDEFID:
        // IsDialogMessage asks for the default button when Enter is pressed.
        if (const int id = DefaultButtonId()) return MAKELRESULT(id, DC_HASDEFID);
        return 0;

    case WM_CLOSE:  // close box, system menu, Alt+F4
        Close();
        return 0;

    // A window that is not a dialog forgets its focused control when it is
    // deactivated; the keeper brings the focus back where it was, the first
    // time to the first control in tab order.
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE && !HIWORD(wparam)) {
            focus_.restore(FirstTabStop());
            return 0;
        }
        return default_message(message, wparam, lparam);

    case WM_SETFOCUS:
        focus_.restore(FirstTabStop());
        return 0;

    case WM_NEXTDLGCTL:  // Tab in the help text
        ui::NextDialogControl(hwnd(), wparam, lparam);
        return 0;

    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return ColourControl(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));

    case WM_DPICHANGED: {
        dpi_ = HIWORD(wparam);
        const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        LayOut(dpi_);
        FitClientArea(false);
        return 0;
    }
    }
    return default_message(message, wparam, lparam);
}

void InfoWindow::CreateControls() {
    for (Control& c : controls_) {
        const ControlSpec& row = c.row;
        c.hwnd = CreateWindowExW(row.ex_style, row.window_class, row.text.empty() ? nullptr : row.text.c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | row.style, 0, 0, 0, 0, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), this_module(), nullptr);
        if (row.style & WS_TABSTOP) focus_.watch(c.hwnd);
        if (row.back_colour != kSystemColour) c.back.reset(CreateSolidBrush(row.back_colour));
    }
}

void InfoWindow::LayOut(UINT dpi) {
    // New fonts are handed to the controls before the old ones are deleted,
    // so no control ever holds a deleted font.
    std::vector<std::pair<const ui::FontDesc*, ui::Font>> fonts;
    auto font_for = [&](const ui::FontDesc* row) -> HFONT {
        for (auto& [made_from, font] : fonts) {
            if (made_from == row) return font.get();
        }
        const ui::FontDesc& s = row ? *row : window_.font;
        fonts.emplace_back(row, ui::make_font(s, dpi));
        return fonts.back().second.get();
    };
    for (const Control& c : controls_) {
        const RECT r = px_rect(c.row, dpi);
        MoveWindow(c.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_for(c.row.font)), FALSE);
    }
    fonts_.swap(fonts);
    OnLaidOut(dpi);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

// Sizes the window so its client area is exactly the twips of the layout, and
// centres it over the console when asked, kept inside the work area of the
// console's monitor.
void InfoWindow::FitClientArea(bool centre) {
    RECT window{}, client{};
    GetWindowRect(hwnd(), &window);
    GetClientRect(hwnd(), &client);
    const int width = (window.right - window.left) - client.right + ui::twips_to_px(window_.client_width, dpi_);
    const int height = (window.bottom - window.top) - client.bottom + ui::twips_to_px(window_.client_height, dpi_);
    int x = window.left;
    int y = window.top;
    if (centre) {
        const RECT frame = centre_frame(console_);
        x = frame.left + ((frame.right - frame.left) - width) / 2;
        y = frame.top + ((frame.bottom - frame.top) - height) / 2;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            if (x + width > work.right) x = work.right - width;
            if (y + height > work.bottom) y = work.bottom - height;
            if (x < work.left) x = work.left;
            if (y < work.top) y = work.top;
        }
    }
    SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT InfoWindow::ColourControl(UINT message, HDC dc, HWND child) {
    for (const Control& c : controls_) {
        if (c.hwnd != child) continue;
        SetTextColor(dc, c.row.text_colour != kSystemColour ? c.row.text_colour : GetSysColor(COLOR_BTNTEXT));
        if (c.back.get()) {
            SetBkColor(dc, c.row.back_colour);
            return reinterpret_cast<LRESULT>(c.back.get());
        }
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return default_message(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
}

HWND InfoWindow::FirstTabStop() const {
    for (const Control& c : controls_) {
        if (c.row.style & WS_TABSTOP) return c.hwnd;
    }
    return nullptr;
}

}  // namespace zol::info

namespace zol {

bool IsInfoWindowMessage(MSG* msg) {
    for (HWND window : {HelpWindow(), AboutWindow()}) {
        if (window && (msg->hwnd == window || IsChild(window, msg->hwnd))) {
            return IsDialogMessageW(window, msg) != FALSE;
        }
    }
    return false;
}

}  // namespace zol
