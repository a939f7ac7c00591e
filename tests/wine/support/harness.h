// Helpers for end-to-end tests under Wine: start the real exes, find their
// windows, read their texts and the practice room's transcript.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zol::test {

// The folder of the running test exe; zolspar.exe and practice-room.exe are
// built next to it.
std::wstring exe_dir();

// A fresh file name in the temp folder.
std::wstring temp_file(const std::wstring& stem);

class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();  // kills the process if it still runs

    // Starts exe (in exe_dir()) with the argument text.
    static Process start(const std::wstring& exe, const std::wstring& args = L"");

    bool running() const;
    // True when it ended within the time.
    bool wait(std::chrono::milliseconds timeout) const;
    void kill();
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Polls the condition every 20 ms until it holds or the time is up.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Top-level window of the class and caption belonging to the process (any
// process when pid is 0), or null.
HWND find_top_level(const wchar_t* cls, const wchar_t* caption, DWORD pid = 0);

// Waits for such a window to be shown.
HWND wait_for_window(const wchar_t* cls, const wchar_t* caption, DWORD pid = 0,
                     std::chrono::milliseconds timeout = std::chrono::seconds(15));

// A window's text through WM_GETTEXT, as another program reads it.
std::wstring text_of(HWND window);

// Presses a button of another process without waiting for its handler, which
// may pause for seconds.
void click(HWND button);

// Writes the text to a file as UTF-8 (a practice-room script); false when
// it could not be written whole.
bool write_utf8_file(const std::wstring& path, const std::wstring& text);

// One record of the practice room's transcript.
struct TranscriptLine {
    long long ms = 0;
    int room = 0;
    std::wstring kind;
    std::wstring text;
};

std::vector<TranscriptLine> read_transcript(const std::wstring& path);

// The chat lines (kind "line") of the transcript.
std::vector<TranscriptLine> transcript_lines(const std::wstring& path);

// Waits until the transcript holds a chat line satisfying the condition.
bool wait_for_line(const std::wstring& path, const std::function<bool(const TranscriptLine&)>& match,
                   std::chrono::milliseconds timeout);

}  // namespace zol::test
