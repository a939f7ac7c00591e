#include "winui/control_table_win.h"

#include <algorithm>
#include <string>

namespace zol::ui {

namespace {


struct Made {
    const wchar_t* window_class;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
    DWORD ex_style;
};

Made made_as(ControlKind kind) {
    switch (kind) {
    case ControlKind::multi_line_box:
        return {L"EDIT", WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0};
    case ControlKind::single_line_box:
        return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0};
    case ControlKind::read_only_box:
        return {L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::push_button: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::default_button: return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    case ControlKind::toggle_button:
    case ControlKind::flat_button:
        // Owner-drawn so the face colour can change and the flat ones get
        // their one-pixel outline; the "&" still gives the Alt key.
        return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW, 0};
    case ControlKind::label: return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::wrapped_label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::centred_label: return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0};
    case ControlKind::framed_label: return {L"STATIC", SS_CENTER | SS_NOTIFY | SS_NOPREFIX | WS_BORDER, 0};
    case ControlKind::icon: return {L"STATIC", SS_ICON, 0};
    case ControlKind::picture: return {L"STATIC", SS_BITMAP, 0};
    case ControlKind::rule: return {L"STATIC", SS_LEFT, 0};
    case ControlKind::custom: break;
    }
    return {nullptr, 0, 0};
}

// Buttons and labels are made where they belong, with their font, rather
// than made and then moved: every move is a round of messages (under Wine a
// call to the window server too), and a window with many controls shows
// sooner without them. Multi-line boxes are made small and moved after they
// have their font, as their margins depend on it (see
// WindowLayout::made_at_px; single-line boxes, see create()); pictures and
// icons size themselves, custom controls are made by their owners.
bool made_in_place(ControlKind kind) {
    switch (kind) {
    case ControlKind::push_button:
    case ControlKind::default_button:
    case ControlKind::toggle_button:
    case ControlKind::flat_button:
    case ControlKind::label:
    case ControlKind::wrapped_label:
    case ControlKind::centred_label:
    case ControlKind::framed_label:
    case ControlKind::rule: return true;
    default: return false;
    }
}

bool is_box(ControlKind kind) {
    return kind == ControlKind::multi_line_box || kind == ControlKind::single_line_box;
}

}  // namespace

void ControlTable::create(HWND window, const WindowLayout& layout, std::span<const ControlRow> rows,
                          const MakeCustom& make_custom, UINT dpi) {
    window_ = window;
    layout_ = layout;
    dpi_ = dpi ? dpi : window_dpi(window);
    controls_.clear();
    // Fonts of an earlier window of this table may be for another DPI; its
    // controls are gone, so the fonts can go once the new ones are made.
    std::vector<std::pair<const FontDesc*, Font>> old_fonts;
    old_fonts.swap(fonts_);
    std::vector<const ControlRow*> order;
    for (const ControlRow& row : rows) order.push_back(&row);
    auto rank = [](const ControlRow* row) { return takes_focus(row->kind) ? 0 : row->kind == ControlKind::custom ? 1 : 2; };
    std::stable_sort(order.begin(), order.end(), [&](const ControlRow* a, const ControlRow* b) {
        if (rank(a) != rank(b)) return rank(a) < rank(b);
        return a->tab_index < b->tab_index;
    });

    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlRow* row : order) {
        HWND child = nullptr;
        // A single-line box made too small for its font's margins keeps the
        // margins it had before the font; one made at its place is given
        // those margins back, and looks the same.
        const bool keeps_margins = row->kind == ControlKind::single_line_box && layout.made_at_px > 0;
        const bool in_place = made_in_place(row->kind) || keeps_margins;
        if (row->kind == ControlKind::custom) {
            if (make_custom) child = make_custom(*row);
        } else {
            const Made made = made_as(row->kind);
            const std::wstring text(row->text);
            const RECT at = in_place ? px_rect(row->place) : RECT{0, 0, layout.made_at_px, layout.made_at_px};
            child = CreateWindowExW(made.ex_style, made.window_class, text.c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | made.style, at.left, at.top,
                                    at.right - at.left, at.bottom - at.top, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(row->id)), instance, nullptr);
        }
        Control& c = controls_.emplace_back(Control{*row, child, nullptr, {}});
        if (!child) continue;
        // A limit of 0 lifts the edit's default of 32767 characters.
        if (is_box(row->kind)) SendMessageW(child, EM_LIMITTEXT, row->max_length, 0);
        // A system colour's brush is the system's, taken when drawn.
        if (row->back_colour && !is_system_colour(*row->back_colour)) {
            c.back.reset(CreateSolidBrush(colour_ref(*row->back_colour)));
        }
        if (in_place) {
            const LRESULT margins = keeps_margins ? SendMessageW(child, EM_GETMARGINS, 0, 0) : 0;
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_of(c)), FALSE);
            if (keeps_margins) SendMessageW(child, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, margins);
        } else {
            place(c);
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void ControlTable::watch_focus(FocusKeeper& focus) const {
    for (const Control& c : controls_) {
        if (c.hwnd && takes_focus(c.row.kind)) focus.watch(c.hwnd);
    }
}

HWND ControlTable::control(int id) const {
    for (const Control& c : controls_) {
        if (c.row.id == id) return c.hwnd;
    }
    return nullptr;
}

const ControlRow* ControlTable::row(int id) const {
    for (const Control& c : controls_) {
        if (c.row.id == id) return &c.row;
    }
    return nullptr;
}

const ControlRow* ControlTable::row_of(HWND child) const {
    for (const Control& c : controls_) {
        if (child && c.hwnd == child) return &c.row;
    }
    return nullptr;
}

HWND ControlTable::first_tab_stop() const {
    for (const Control& c : controls_) {
        if (takes_focus(c.row.kind)) return c.hwnd;
    }
    return nullptr;
}

HFONT ControlTable::font_of(const Control& control) {
    const FontDesc* wanted = control.font_override ? control.font_override : control.row.font;
    for (auto& [made_from, font] : fonts_) {
        if (made_from == wanted) return font.get();
    }
    fonts_.emplace_back(wanted, make_font(wanted ? *wanted : layout_.font, dpi_));
    return fonts_.back().second.get();
}

void ControlTable::set_font(int id, const FontDesc* font) {
    for (Control& c : controls_) {
        if (c.row.id != id || !c.hwnd) continue;
        c.font_override = font;
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_of(c)), TRUE);
    }
}

void ControlTable::place(const Control& c) {
    if (c.row.kind != ControlKind::custom) {
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_of(c)), FALSE);
    }
    const RECT r = px_rect(c.row.place);
    SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ControlTable::px_rect(const TwipsRect& place) const {
    const int left = twips_to_px(place.left, dpi_), top = twips_to_px(place.top, dpi_);
    return {left, top, left + twips_to_px(place.width, dpi_), top + twips_to_px(place.height, dpi_)};
}

void ControlTable::lay_out() {
    // New fonts are handed to the controls before the old ones are deleted,
    // so no control ever holds a deleted font.
    std::vector<std::pair<const FontDesc*, Font>> old_fonts;
    old_fonts.swap(fonts_);
    for (const Control& c : controls_) {
        if (c.hwnd) place(c);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void ControlTable::fit_client_area(const RECT* centre_over) const {
    const int want_w = twips_to_px(layout_.client_width, dpi_);
    const int want_h = twips_to_px(layout_.client_height, dpi_);
    bool centre = centre_over != nullptr;
    // Measure the frame as it is (title bar, menu bar, borders) rather than
    // computing it: a menu bar's height depends on the font, the DPI and the
    // width, so a second pass may be needed.
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT window_rect{}, client{};
        GetWindowRect(window_, &window_rect);
        GetClientRect(window_, &client);
        if (client.right == want_w && client.bottom == want_h && !centre) return;
        const int width = (window_rect.right - window_rect.left) - client.right + want_w;
        const int height = (window_rect.bottom - window_rect.top) - client.bottom + want_h;
        int x = window_rect.left;
        int y = window_rect.top;
        if (centre) {
            const RECT& frame = *centre_over;
            x = frame.left + ((frame.right - frame.left) - width) / 2;
            y = frame.top + ((frame.bottom - frame.top) - height) / 2;
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            if (GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) {
                const RECT& work = monitor.rcWork;
                x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
                y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
            }
        }
        SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        centre = false;
    }
}

void ControlTable::dpi_changed(WPARAM wparam, LPARAM lparam) {
    dpi_ = HIWORD(wparam);
    const auto* suggested = reinterpret_cast<const RECT*>(lparam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    lay_out();
    fit_client_area();
}

LRESULT ControlTable::colour(UINT message, HDC dc, HWND child) const {
    const ControlRow* r = row_of(child);
    const bool box = message == WM_CTLCOLOREDIT;
    SetTextColor(dc, r && r->text_colour ? colour_ref(*r->text_colour) : GetSysColor(box ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    for (const Control& c : controls_) {
        if (c.hwnd == child && c.back.get()) {
            SetBkColor(dc, colour_ref(*c.row.back_colour));
            return reinterpret_cast<LRESULT>(c.back.get());
        }
    }
    int back = box ? COLOR_WINDOW : COLOR_BTNFACE;
    if (r && r->back_colour && is_system_colour(*r->back_colour)) back = system_colour_index(*r->back_colour);
    SetBkColor(dc, GetSysColor(back));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

}  // namespace zol::ui
