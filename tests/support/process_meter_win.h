// Measuring a program from outside while it runs: its resident memory and
// its GDI and USER object counts, under Wine (where GetGuiResources is a
// stub) as on Windows. The soak and the monkey watch the console with it.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

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

}  // namespace zol::test
