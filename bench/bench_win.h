// What every benchmark of zolbench.exe needs: the command line, a clock,
// child processes, other programs' windows, hand-off files and the report.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zol::bench {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double ms_between(Clock::time_point from, Clock::time_point to);

// "--key value" pairs and bare "--flag" words after the mode.
class Args {
public:
    Args(int argc, wchar_t** argv, int first);
    std::wstring text(const std::wstring& key, const std::wstring& fallback = L"") const;
    int number(const std::wstring& key, int fallback) const;
    bool flag(const std::wstring& key) const;

private:
    std::map<std::wstring, std::wstring> values_;
};

// The folder of zolbench.exe; the reference exes are built beside it.
std::wstring own_dir();

// One line of the report on standard output: "<key> <value>". The bench
// script reads these lines, so keys are single words.
void report(const char* key, double value);
void report_text(const char* key, const std::wstring& value);
// A remark on standard error, for the person watching.
void note(const std::wstring& text);

// A program we started. The destructor closes its windows politely and ends
// it if it does not go within two seconds.
class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    Child(Child&& other) noexcept;
    Child& operator=(Child&& other) noexcept;
    ~Child();

    // Starts the exe at `path` with the argument text; false when it could
    // not be started.
    bool start(const std::wstring& path, const std::wstring& args = L"");
    DWORD id() const { return id_; }
    bool running() const;
    bool wait(std::chrono::milliseconds timeout) const;
    // WM_CLOSE to its top-level windows, then the end by force after the time.
    void close(std::chrono::milliseconds grace = 2s);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The top-level window of the class belonging to the process, or null.
HWND find_top_level(const wchar_t* cls, DWORD pid);
// Polls for it every millisecond; null after the time.
HWND wait_for_top_level(const wchar_t* cls, DWORD pid, std::chrono::milliseconds timeout, bool visible = false);

// A window's text through WM_GETTEXT, as another program reads it; nothing
// when the window is gone or does not answer within two seconds.
std::optional<std::wstring> text_of(HWND window);
bool set_text_of(HWND window, const std::wstring& text);
// Presses a button of another program without waiting for its handler.
void click(HWND button);

// Polls the condition every `step` until it holds or the time is up.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds step = 1ms);

// Hand-off with the bench script through files: the script cannot see our
// events, but both sides see the same file system.
bool write_file(const std::wstring& path, const std::string& text);
bool file_exists(const std::wstring& path);

}  // namespace zol::bench
