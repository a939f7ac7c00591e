#include "tests/wine/support/spar_session.h"

#include <cstdint>

#include "tests/wine/support/input.h"
#include "winui/code_page_win.h"
#include "winui/win_ui.h"

namespace zol::test {

using namespace std::chrono_literals;

SparSession::SparSession(const wchar_t* room_args, bool with_console) {
    transcript_ = temp_file(L"transcript");
    if (room_args) {
        room_ = Process::start(L"practice-room.exe",
                               L"--seed 12345 --transcript \"" + transcript_ + L"\" " + room_args);
        room_frame_ = wait_for_window(L"AOL Frame25", nullptr, room_.id());
        // The room is ready once it has written its first records.
        wait_until([&] { return !read_transcript(transcript_).empty(); }, 5s);
    }
    if (with_console) {
        console_ = Process::start(L"zolspar.exe");
        console_window_ = wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console_.id());
    }
}

HWND SparSession::front_room() const {
    HWND mdi = FindWindowExW(room_frame_, nullptr, L"MDIClient", nullptr);
    return mdi ? FindWindowExW(mdi, nullptr, L"AOL Child", nullptr) : nullptr;
}

int SparSession::front_room_number() const {
    const std::wstring caption = text_of(front_room());
    const auto blank = caption.find_last_of(L' ');
    return blank == std::wstring::npos ? -1 : std::stoi(caption.substr(blank + 1));
}

HWND SparSession::input_box(HWND room) const { return FindWindowExW(room, nullptr, L"RICHCNTL", nullptr); }

std::vector<std::wstring> SparSession::posted_lines() const { return posted_lines_in(transcript_); }

bool SparSession::wait_for(const std::wstring& line, std::chrono::milliseconds timeout) const {
    return wait_for_line(transcript_, [&](const TranscriptLine& l) { return l.text == line; }, timeout);
}

void SparSession::set_box(ControlId id, const std::wstring& text) const {
    SendMessageW(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

const wchar_t* class_of(InfoWindow which) { return which == InfoWindow::about ? L"frmaboutzolspar" : L"frmhelp"; }
const char* name_of(InfoWindow which) { return which == InfoWindow::about ? "About" : "Help"; }

}  // namespace

HWND closing_button(HWND info_window) { return FindWindowExW(info_window, nullptr, L"Button", nullptr); }

HWND help_text_box(HWND help) { return FindWindowExW(help, nullptr, L"Edit", nullptr); }

HWND SparSession::wait_for_info_window(InfoWindow which) const {
    return wait_for_window(class_of(which), nullptr, console_.id(), 5s);
}

HWND SparSession::open(InfoWindow which) const {
    press_alt(which == InfoWindow::about ? 'A' : 'H');
    HWND window = wait_for_info_window(which);
    if (!window) return nullptr;
    HWND first = which == InfoWindow::about ? closing_button(window) : help_text_box(window);
    return focus_comes_to(window, first) ? window : nullptr;
}

::testing::AssertionResult SparSession::open_and_close(InfoWindow which, const std::function<void(HWND)>& close,
                                                       HWND focus_back) const {
    HWND window = open(which);
    if (!window) {
        // Where the keys went instead, for a report.
        return ::testing::AssertionFailure()
               << name_of(which) << " did not open with its focus in place; About windows open: "
               << windows_open(InfoWindow::about) << ", Help windows open: " << windows_open(InfoWindow::help)
               << "; in front: " << ::testing::PrintToString(text_of(GetForegroundWindow()))
               << "; the console's focus on: " << ::testing::PrintToString(text_of(focus_of(console_window_)));
    }
    close(window);
    if (auto gone = closes(window); !gone) return ::testing::AssertionFailure() << name_of(which) << ": " << gone.why();
    if (focus_back) {
        if (auto back = focus_comes_to(console_window_, focus_back); !back) {
            return ::testing::AssertionFailure() << "back on the console: " << back.why();
        }
    }
    return ::testing::AssertionSuccess();
}

int SparSession::windows_open(InfoWindow which) const {
    int n = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, class_of(which), nullptr); w;
         w = FindWindowExW(nullptr, w, class_of(which), nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        n += pid == console_.id() && IsWindowVisible(w);
    }
    return n;
}

std::vector<std::wstring> messages_of(const std::wstring& transcript, const std::wstring& speaker) {
    std::vector<std::wstring> out;
    const std::wstring head = speaker + L":  ";
    for (const auto& l : transcript_lines(transcript)) {
        if (l.text.rfind(head, 0) == 0) out.push_back(l.text.substr(head.size()));
    }
    return out;
}

std::vector<std::wstring> posted_lines_in(const std::wstring& transcript) { return messages_of(transcript, L"proctor"); }

bool wait_for_posted_lines(const std::wstring& transcript, std::size_t n, std::chrono::milliseconds timeout) {
    return wait_until([&] { return posted_lines_in(transcript).size() >= n; }, timeout);
}

bool in_system_code_page(const std::wstring& text) {
    // A character lost on the way (to a best-fit stand-in, to the default
    // character, or, in UTF-8, a lone surrogate half) does not come back.
    return ui::from_code_page(ui::to_code_page(text)) == text;
}

COLORREF colour_at(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

namespace {

void paint_now(HWND window) {
    // WM_PAINT sent, not posted, is handled before the call returns; with
    // nothing invalid it paints nothing.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_PAINT, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace

COLORREF colour_shown(HWND window, int x, int y) {
    paint_now(window);
    return colour_at(window, x, y);
}

std::vector<COLORREF> pixels_shown(HWND window) {
    paint_now(window);
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int w = r.right, h = r.bottom;
    std::vector<COLORREF> pixels;
    if (w <= 0 || h <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    const ui::MemoryDc memory(CreateCompatibleDC(screen));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const ui::Bitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits) {
        {
            const ui::Selection into_bitmap(memory.get(), bitmap.get());
            BitBlt(memory.get(), 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
        }
        // 0x00RRGGBB in the section, 0x00BBGGRR as a COLORREF.
        const auto* p = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < w * h; ++i) pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    }
    ReleaseDC(nullptr, screen);
    return pixels;
}

void expect_console_matches_its_layout(HWND console, UINT dpi) {
    const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    RECT client{};
    GetClientRect(console, &client);
    EXPECT_EQ(client.right, px(kConsoleWidthTwips));
    EXPECT_EQ(client.bottom, px(kConsoleHeightTwips));
    for (const ui::ControlRow& row : console_controls()) {
        SCOPED_TRACE(row.id);
        HWND w = GetDlgItem(console, row.id);
        ASSERT_NE(w, nullptr);
        wchar_t cls[64] = L"";
        GetClassNameW(w, cls, 64);
        const wchar_t* expected = ui::is_button(row.kind)                                              ? L"Button"
                                  : row.kind == ui::ControlKind::custom                                ? L"zolvantachat8"
                                  : ui::takes_focus(row.kind)                                          ? L"Edit"
                                                                                                       : L"Static";
        EXPECT_EQ(lstrcmpiW(cls, expected), 0) << cls;
        // The label shows the banner, set once it is made; the scanner shows nothing.
        if (row.id != idc_lblhitpoints && row.kind != ui::ControlKind::custom) {
            EXPECT_EQ(text_of(w), row.text);
        }
        EXPECT_EQ(IsWindowVisible(w) != FALSE, row.kind != ui::ControlKind::custom);
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, console, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, px(row.place.left));
        EXPECT_EQ(r.top, px(row.place.top));
        EXPECT_EQ(r.right - r.left, px(row.place.width));
        EXPECT_EQ(r.bottom - r.top, px(row.place.height));
    }
}

}  // namespace zol::test
