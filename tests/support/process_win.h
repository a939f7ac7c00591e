// Programs started from outside, as a user starts them: the exes under test,
// the practice room, the yardsticks of the benchmarks.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace zol::test {

// The folder of the running exe; the exes it starts are built next to it.
std::wstring exe_dir();

// A fresh file name in the temp folder (nothing there by that name).
std::wstring temp_file(const std::wstring& stem);

class Process {
public:
    // What start() waits for before it returns.
    enum class Await {
        input_idle,  // the program waits for input: its first window is being shown
        nothing,     // back at once, for measuring the start itself
    };

    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();  // kills the process if it still runs

    // Starts the exe (a bare name is taken from exe_dir()) with the argument
    // text. Every program started so belongs to a job that ends with the
    // starting process, so a run that crashes leaves nothing behind. Not
    // started() when it could not be started.
    static Process start(const std::wstring& exe, const std::wstring& args = L"", Await await = Await::input_idle);

    bool started() const { return process_ != nullptr; }
    bool running() const;
    // True when it ended within the time (or was never started).
    bool wait(std::chrono::milliseconds timeout) const;
    // Ends it by force.
    void kill();
    // Asks its top-level windows to close (WM_CLOSE) and ends it by force
    // when it has not ended within the grace time.
    void close(std::chrono::milliseconds grace = std::chrono::seconds(2));

    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }

private:
    void forget();

    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace zol::test
