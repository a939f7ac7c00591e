// A practice room and a console running side by side, as a user starts
// them, for end-to-end tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "console/console_layout.h"
#include "tests/support/spar_lines.h"
#include "tests/wine/support/harness.h"

namespace zol::test {

// The console's About and Help windows, which the user opens from its menu
// by their access keys (Alt+A, Alt+H).
enum class InfoWindow { about, help };

// The button that closes an About or Help window (About's "o&k", Help's
// return button), and Help's read-only text.
HWND closing_button(HWND info_window);
HWND help_text_box(HWND help);

class SparSession {
public:
    // Starts the practice room (unless room_args is null) and the console.
    // The room writes its transcript to transcript(); its dice are seeded
    // so a failing run can be repeated.
    explicit SparSession(const wchar_t* room_args = L"", bool with_console = true);

    HWND console() const { return console_window_; }
    HWND item(ControlId id) const { return GetDlgItem(console_window_, id); }
    HWND room_frame() const { return room_frame_; }
    const std::wstring& transcript() const { return transcript_; }
    Process& console_process() { return console_; }
    Process& room_process() { return room_; }

    // The room in front (the first inner window of the room's MDI client)
    // and its number, from its caption "spar room N".
    HWND front_room() const;
    int front_room_number() const;
    // The input box of a room.
    HWND input_box(HWND room) const;

    // The chat lines the user posted so far, without "proctor:  " in front.
    std::vector<std::wstring> posted_lines() const;

    // Number of chat lines in the transcript so far.
    std::size_t line_count() const { return transcript_lines(transcript_).size(); }

    // Waits for the chat line "<name>:  <message>".
    bool wait_for(const std::wstring& line, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    // Sets a box of the console.
    void set_box(ControlId id, const std::wstring& text) const;

    // Waits until the console shows About or Help, however opened; null
    // when it does not within five seconds.
    HWND wait_for_info_window(InfoWindow which) const;
    // Opens About or Help by its access key on the console in front and
    // waits until it shows with the focus where it opens: on About's button,
    // in Help's text. Null when it does not.
    HWND open(InfoWindow which) const;
    // Opens it, closes it the user's way `close` (handed the window) and
    // waits until it has gone; given `focus_back`, also until the console's
    // focus is there again.
    ::testing::AssertionResult open_and_close(InfoWindow which, const std::function<void(HWND)>& close,
                                              HWND focus_back = nullptr) const;
    // How many windows of the kind the console shows.
    int windows_open(InfoWindow which) const;

private:
    std::wstring transcript_;
    Process room_;
    Process console_;
    HWND room_frame_ = nullptr;
    HWND console_window_ = nullptr;
};

// The messages of one speaker's chat lines in a transcript, in order.
std::vector<std::wstring> messages_of(const std::wstring& transcript, const std::wstring& speaker);

// The chat lines the user (the console) posted, without "proctor:  " in
// front, and a wait until there are at least `n` of them.
std::vector<std::wstring> posted_lines_in(const std::wstring& transcript);
bool wait_for_posted_lines(const std::wstring& transcript, std::size_t n, std::chrono::milliseconds timeout);

// True when the text survives the trip through the system code page
// unchanged, as it must to reach a single-byte host.
bool in_system_code_page(const std::wstring& text);

// The colour at a point of a window's client area as it shows on screen.
COLORREF colour_at(HWND window, int x, int y);

// The same, once the window (of any process) has painted what was waiting to
// be painted: a state change made by a handler is drawn before it is read.
COLORREF colour_shown(HWND window, int x, int y);

// Every pixel of a window's client area as it shows on screen, once it has
// painted, row by row.
std::vector<COLORREF> pixels_shown(HWND window);

// Checks the running console against its layout table at the given DPI:
// its client area, and every row a visible control of its kind (an edit box,
// a button, a static; the scanner hidden) with the row's text, at the row's
// place and size in pixels.
void expect_console_matches_its_layout(HWND console, UINT dpi);

}  // namespace zol::test
