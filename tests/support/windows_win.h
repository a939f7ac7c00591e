// Another program's windows, as a program that drives them sees them: found
// by class and caption, read and written through messages, each message
// bounded by one time limit so that a program that hangs cannot hang us.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace zol::test {

// How long a window may take to answer one message before we count it as not
// answering.
inline constexpr std::chrono::milliseconds kAnswerTime{5000};

// Top-level window of the class and caption (either null for any) belonging
// to the process (any process when pid is 0), or null.
HWND find_top_level(const wchar_t* cls, const wchar_t* caption, DWORD pid = 0);

// Waits for such a window to be shown; null when none was within the time.
HWND wait_for_window(const wchar_t* cls, const wchar_t* caption, DWORD pid = 0,
                     std::chrono::milliseconds timeout = std::chrono::seconds(15));

// A window's text through WM_GETTEXTLENGTH and WM_GETTEXT, as another program
// reads it; nothing when the window is gone or does not answer.
std::optional<std::wstring> read_text(HWND window);

// The same for a report or a comparison: "<no answer>" when there is none.
std::wstring text_of(HWND window);

// Sets a window's text through WM_SETTEXT; false when it did not answer.
bool set_text(HWND window, const std::wstring& text);

// Waits until the thread of an edit control (of any process) has handled
// every message posted to its windows before this call: a thread takes its
// posted messages in order, so a selection change posted now shows once the
// rest is done. The edit must hold some text; its selection is changed.
bool posted_messages_handled(HWND edit, std::chrono::milliseconds timeout = kAnswerTime);

// True when this runs under Wine rather than on Windows itself.
bool under_wine();

// True when the window's thread answers a message (WM_NULL) within the
// limit: it is not stuck in a handler and has not stopped answering.
bool answers(HWND window, std::chrono::milliseconds limit = std::chrono::seconds(2));

// Presses a button of another program without waiting for its handler, which
// may pause for seconds.
void click(HWND button);

}  // namespace zol::test
