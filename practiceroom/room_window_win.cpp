#include "practiceroom/practice_room_win.h"

#include <algorithm>
#include <string>

#include "practiceroom/room_text.h"
#include "winui/code_page_win.h"
#include "winui/window_win.h"

namespace zol::practiceroom {

namespace {

constexpr wchar_t kRoomClass[] = L"AOL Child";
constexpr wchar_t kTextClass[] = L"RICHCNTLREADONLY";
constexpr wchar_t kInputClass[] = L"RICHCNTL";
constexpr wchar_t kPeopleClass[] = L"_AOL_Listbox";
constexpr wchar_t kIconClass[] = L"_AOL_Icon";
constexpr wchar_t kStaticClass[] = L"_AOL_Static";

constexpr int kSendId = 101;

// The view shows the newest lines only; a reader of the history gets the
// whole of it from RICHCNTLREADONLY anyway. Lines are appended to the view;
// only when it outgrows kViewMaxChars is it rewritten with the newest half.
// Both bounds are about Wine, whose word-wrapping edit takes time that grows
// faster than the length of a paragraph (seconds for 32K characters): so
// the view stays small and cuts every line at kViewLineChars.
constexpr std::size_t kViewMaxChars = 16 * 1024;
constexpr std::size_t kViewLineChars = 1000;

// The window procedure of the system EDIT class, which RICHCNTL hands every
// message it does not handle itself, of the kind the classes were registered
// as. A class property, so it is process-wide.
WNDPROC g_edit_proc = nullptr;

// How many of the first `limit` bytes of the text make whole characters, so
// that a text handed out cut never ends in half a character.
std::size_t whole_characters(std::string_view bytes, std::size_t limit) {
    if (limit >= bytes.size()) return bytes.size();
    if (GetACP() == CP_UTF8) {
        while (limit > 0 && (static_cast<unsigned char>(bytes[limit]) & 0xC0) == 0x80) --limit;
        return limit;
    }
    std::size_t at = 0;
    while (at < limit) {
        const std::size_t width = IsDBCSLeadByte(static_cast<BYTE>(bytes[at])) ? 2 : 1;
        if (at + width > limit) break;
        at += width;
    }
    return at;
}

HWND create_child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex_style = 0,
                  int id = 0) {
    return CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void set_font(HWND hwnd, HFONT font) { SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

}  // namespace

LRESULT def_frame_proc(HWND hwnd, HWND client, UINT msg, WPARAM wparam, LPARAM lparam) {
    return IsWindowUnicode(hwnd) ? DefFrameProcW(hwnd, client, msg, wparam, lparam)
                                 : DefFrameProcA(hwnd, client, msg, wparam, lparam);
}

bool RoomWindow::register_classes(WindowKind kind) {
    const ui::CharacterSet characters = character_set(kind);
    const bool registered =
        ui::register_class({.name = kRoomClass,
                            .characters = characters,
                            .background = ui::system_colour_background(COLOR_BTNFACE)}) &&
        ui::register_class({.name = kTextClass, .procedure = text_proc, .characters = characters});
    if (!registered) return false;

    g_edit_proc = ui::register_superclass(L"EDIT", kInputClass, input_proc, characters);
    return g_edit_proc && ui::register_superclass(L"LISTBOX", kPeopleClass, nullptr, characters) &&
           ui::register_superclass(L"BUTTON", kIconClass, nullptr, characters) &&
           ui::register_superclass(L"STATIC", kStaticClass, nullptr, characters);
}

bool RoomWindow::create(HWND mdi_client) {
    const std::wstring caption = room_name(number_);
    MDICREATESTRUCTW mcs{};
    mcs.szClass = kRoomClass;
    mcs.szTitle = caption.c_str();
    mcs.hOwner = GetModuleHandleW(nullptr);
    // Rooms cascade over most of the frame, so the history is wide enough
    // to read; the system's default size leaves it narrow.
    RECT client{};
    GetClientRect(mdi_client, &client);
    const int offset = 24 * ((number_ - 1) % 4);
    mcs.x = mcs.y = offset;
    mcs.cx = std::max(300, static_cast<int>(client.right) - offset - 24);
    mcs.cy = std::max(200, static_cast<int>(client.bottom) - offset - 24);
    mcs.lParam = reinterpret_cast<LPARAM>(static_cast<ui::Window*>(this));
    return SendMessageW(mdi_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)) != 0;
}

RoomWindow* RoomWindow::from(HWND room) {
    // Only rooms have RoomWindow objects among the windows this is asked about
    // (the parents of a room's children).
    return static_cast<RoomWindow*>(ui::Window::from_handle(room));
}

// The app owns the object and deletes it here: nothing may touch it after
// room_closed.
void RoomWindow::on_detached() { app_.room_closed(number_); }

LRESULT RoomWindow::handle_message(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        create_children();
        add_line(entered_notice(room_name(number_)));
        add_person(app_.user_name());
        return 0;
    case WM_SIZE:
        layout();
        break;  // DefMDIChildProc must see WM_SIZE too
    case WM_SETFOCUS:
        default_message(msg, wparam, lparam);
        if (input_) SetFocus(input_);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wparam) == kSendId && HIWORD(wparam) == BN_CLICKED) {
            post_input();
            SetFocus(input_);
            return 0;
        }
        break;
    }
    return default_message(msg, wparam, lparam);
}

void RoomWindow::create_children() {
    // Creation order is child order, which the console relies on: the text
    // window first, the input box after it.
    text_ = create_child(hwnd(), kTextClass, L"", 0);
    view_ = create_child(text_, L"EDIT", L"", WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                         WS_EX_CLIENTEDGE);
    // No word wrap in the input box (ES_AUTOHSCROLL): only typed or pasted
    // line breaks break it, and a huge WM_SETTEXT costs no wrapping time.
    input_ = create_child(hwnd(), kInputClass, L"",
                          WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    people_ = create_child(hwnd(), kPeopleClass, L"",
                           WS_TABSTOP | WS_VSCROLL | LBS_SORT | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, WS_EX_CLIENTEDGE);
    send_ = create_child(hwnd(), kIconClass, L"send", WS_TABSTOP | BS_PUSHBUTTON, 0, kSendId);
    count_ = create_child(hwnd(), kStaticClass, L"", SS_LEFT | SS_NOPREFIX);
    for (HWND child : {view_, input_, people_, send_, count_}) set_font(child, app_.font());
}

void RoomWindow::layout() {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    const int margin = 6, people_width = 150, label_height = 20, input_height = 52, send_width = 64;
    const int w = std::max<int>(rc.right, 2 * margin + people_width + send_width + 40);
    const int h = std::max<int>(rc.bottom, 2 * margin + input_height + 60);
    const int left_width = w - 3 * margin - people_width;
    const int history_height = h - 3 * margin - input_height;
    const int right = w - margin - people_width;

    MoveWindow(text_, margin, margin, left_width, history_height, TRUE);
    MoveWindow(input_, margin, h - margin - input_height, left_width - margin - send_width, input_height, TRUE);
    MoveWindow(send_, w - 2 * margin - people_width - send_width, h - margin - input_height, send_width, input_height,
               TRUE);
    MoveWindow(count_, right, margin, people_width, label_height, TRUE);
    MoveWindow(people_, right, margin + label_height, people_width, h - 2 * margin - label_height, TRUE);
}

void RoomWindow::add_line(std::wstring_view line) {
    const bool first = history_.empty();
    // An ANSI room keeps what a single-byte program can keep: the line in the
    // system code page, where a character the code page lacks becomes "?".
    // What it shows and records is that, read back.
    std::wstring kept(line);
    if (app_.window_kind() == WindowKind::Ansi) {
        const std::string bytes = ui::to_code_page(line);
        kept = ui::from_code_page(bytes);
        if (!first) history_bytes_ += '\r';
        history_bytes_ += bytes;
    }
    if (first) history_ = kept;
    else append_history_line(history_, kept);
    if (app_.window_kind() == WindowKind::Unicode) SetWindowTextW(text_, history_.c_str());
    show_line(kept, first);

    app_.record(number_, first ? TranscriptKind::Enter : TranscriptKind::Line, kept);
}

void RoomWindow::show_line(std::wstring_view line, bool first) {
    const auto shown = static_cast<std::size_t>(std::max(GetWindowTextLengthW(view_), 0));
    std::wstring piece = first ? L"" : L"\r\n";
    piece += view_line(line, kViewLineChars);
    if (shown + piece.size() > kViewMaxChars) {
        SetWindowTextW(view_, display_tail(history_, kViewMaxChars / 2, kViewLineChars).c_str());
    } else {
        SendMessageW(view_, EM_SETSEL, shown, static_cast<LPARAM>(shown));
        SendMessageW(view_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
    }
    const int end = GetWindowTextLengthW(view_);
    SendMessageW(view_, EM_SETSEL, end, end);
    SendMessageW(view_, EM_SCROLLCARET, 0, 0);
}

void RoomWindow::add_person(std::wstring_view name) {
    const std::wstring person(name);
    if (SendMessageW(people_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(person.c_str())) !=
        LB_ERR) {
        return;
    }
    SendMessageW(people_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(person.c_str()));
    const LRESULT n = SendMessageW(people_, LB_GETCOUNT, 0, 0);
    const std::wstring label = std::to_wstring(n) + (n == 1 ? L" person here" : L" people here");
    SetWindowTextW(count_, label.c_str());
}

void RoomWindow::post_input() {
    const std::wstring text = clean_posted_text(ui::window_text(input_));
    SetWindowTextW(input_, L"");
    if (text.empty()) return;
    app_.post(*this, app_.user_name(), text);
}

// RICHCNTL: a multi-line edit on which Enter posts instead of breaking the
// line. Another program presses Enter with WM_CHAR 13, so this is handled on
// the character, not on the key.
LRESULT CALLBACK RoomWindow::input_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CHAR && wparam == L'\r') {
        if (RoomWindow* room = from(GetParent(hwnd))) room->post_input();
        return 0;
    }
    return IsWindowUnicode(hwnd) ? CallWindowProcW(g_edit_proc, hwnd, msg, wparam, lparam)
                                 : CallWindowProcA(g_edit_proc, hwnd, msg, wparam, lparam);
}

// The history of an ANSI room, as a single-byte window hands out its text:
// its length in bytes, and its bytes, cut to whole characters when the
// caller's buffer is too small. Another program's wide messages reach this
// in their single-byte form, converted by the system.
LRESULT RoomWindow::answer_text_message(UINT msg, WPARAM wparam, LPARAM lparam) const {
    if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(history_bytes_.size());
    if (wparam == 0 || !lparam) return 0;
    char* buffer = reinterpret_cast<char*>(lparam);
    const std::size_t n = whole_characters(history_bytes_, static_cast<std::size_t>(wparam) - 1);
    history_bytes_.copy(buffer, n);
    buffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

// RICHCNTLREADONLY: the room's history is its text (kept by DefWindowProc
// for a Unicode room, by the room for an ANSI one); the read-only edit
// inside shows the newest part of it.
// Every read of the history by another program (the console's scanner, once
// a tick) goes into the transcript, so that a test can wait for the reader's
// next looks instead of guessing how long they take.
LRESULT CALLBACK RoomWindow::text_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH) {
        RoomWindow* room = from(GetParent(hwnd));
        LRESULT answer = room && !IsWindowUnicode(hwnd) ? room->answer_text_message(msg, wparam, lparam)
                                                        : ui::default_window_proc(hwnd, msg, wparam, lparam);
        if (room && msg == WM_GETTEXTLENGTH) answer = std::max<LRESULT>(0, answer + room->app_.length_off());
        if (room && msg == WM_GETTEXT && InSendMessage()) {
            room->app_.record(room->number_, TranscriptKind::Read, std::to_wstring(answer));
        }
        return answer;
    }
    switch (msg) {
    case WM_SIZE:
        if (HWND view = GetWindow(hwnd, GW_CHILD)) MoveWindow(view, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    case WM_CTLCOLORSTATIC:
        // A read-only edit asks as a static does; paint it like a page, not
        // like a disabled box.
        SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return ui::default_window_proc(hwnd, msg, wparam, lparam);
}

}  // namespace zol::practiceroom
