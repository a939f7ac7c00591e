// Measuring a program from outside while it runs: its resident memory and
// its GDI and USER object counts, under Wine (where GetGuiResources is a
// stub) as on Windows. The soak and the monkey watch the console with it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "tests/support/process_win.h"

namespace zol::test {

// A program's Linux process, found by a word on its command line that no
// other process has (zolspar.exe reads no command line). Wine shows the
// Windows command line as the process's cmdline and maps the Linux root to Z:.
std::optional<unsigned long> linux_pid_with(const std::string& word);

// The two programs of a long run: the practice room with its arguments,
// then the program under measurement, started with a word of its own on its
// command line (made from the stem) so that its Linux process is found, and
// with its window shown. Says on standard output what did not start, and
// when there is no Linux process (not under Wine).
struct MeasuredRun {
    Process room;
    Process program;
    HWND window = nullptr;
    std::optional<unsigned long> linux_pid;

    bool started() const { return window != nullptr; }
};
MeasuredRun start_measured_run(const std::wstring& room_args, const std::wstring& exe, const wchar_t* cls,
                               const wchar_t* caption, const std::string& stem);

struct Sample {
    long rss_kb = -1;
    // What the resident memory is made of, under Wine (-1 on Windows): the
    // process's private memory (its heaps: what a leak grows), pages of
    // mapped files (Wine's DLLs, fonts: they come and go with use and the
    // kernel's reclaim) and shared memory (window surfaces shared with the
    // X server, the wineserver's mappings).
    long anon_kb = -1;
    long file_kb = -1;
    long shmem_kb = -1;
    long shm_segments = -1;  // SysV shared-memory segments mapped
    long gdi = -1;
    long user = -1;
    // Where the handle table is read: its entries by object type.
    std::map<int, long> gdi_by_type;
};

// "DC 3, font 20, ...": the sample's GDI entries by type, or nothing.
std::string gdi_types_text(const Sample& s);

// Resident memory (VmRSS of the Linux process when there is one, else the
// working set) and the GDI and USER counts of a process.
class Meter {
public:
    // Says on standard output when the counts cannot come from
    // GetGuiResources.
    Meter(const Process& process, std::optional<unsigned long> linux_pid);

    Sample sample() const;

    const char* gdi_name() const { return windows_counts_ ? "GDI objects" : "GDI handles in use"; }
    const char* user_name() const { return windows_counts_ ? "USER objects" : "windows"; }

private:
    const Process& process_;
    std::optional<unsigned long> linux_pid_;
    bool windows_counts_ = false;
};

// The stack of a program's window thread, read from outside: how deep it
// is now (from the thread's stack pointer, the thread stopped for the
// moment of reading) and the deepest it has ever been (the lowest page of
// its stack that holds anything: a stack's pages start zeroed and are never
// given back). The measuring program must be of the same bitness.
struct StackUse {
    long long now_bytes = -1;
    long long peak_bytes = -1;
    long long reserve_bytes = -1;  // all the stack the thread may grow to
};

class StackMeter {
public:
    explicit StackMeter(HWND window);  // the thread that owns the window
    ~StackMeter();
    StackMeter(const StackMeter&) = delete;
    StackMeter& operator=(const StackMeter&) = delete;

    // False (and a line on standard output saying why) when the stack cannot
    // be read.
    bool ready() const { return base_ != 0; }
    StackUse sample() const;

private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    std::uintptr_t base_ = 0;    // the top: stacks grow down from here
    std::uintptr_t bottom_ = 0;  // the lowest address the stack may reach
};

// Answer times of a window, asked once a second with WM_NULL from a thread
// of its own, so that a program stuck in a handler shows while the caller
// waits for something else.
class Probe {
public:
    explicit Probe(HWND window);
    ~Probe() { stop(); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    void stop();
    long long sent() const { return sent_; }
    long long unanswered() const { return unanswered_; }  // not within 2 s
    long long longest_ms() const { return longest_; }

private:
    HWND window_;
    std::atomic<bool> stop_{false};
    std::atomic<long long> sent_{0}, unanswered_{0}, longest_{0};
    std::thread thread_;
};

}  // namespace zol::test
