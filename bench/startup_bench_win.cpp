// Start-up time to a visible window: zolspar.exe against bare-window.exe, a
// Win32 program that shows one empty window and nothing else. Both are
// started the same way in the same run, alternately, so Wine's own cost of
// starting a process is in both figures and the ratio shows what the
// console adds.
#include "bench/benchmarks_win.h"

#include <vector>

#include "bench/stats.h"

namespace zol::bench {
namespace {

// Milliseconds from CreateProcess to the program's top-level window of the
// class being visible; negative when it did not appear.
double time_to_window(const std::wstring& exe, const wchar_t* cls) {
    Process child;
    const auto start = Clock::now();
    if (!launch(child, exe)) return -1;
    HWND window = wait_for_window(cls, nullptr, child.id(), 20s);
    const auto shown = Clock::now();
    child.close();
    return window ? ms_between(start, shown) : -1;
}

}  // namespace

int run_startup(const Args& args) {
    const int runs = args.number(L"--runs", 20);
    const std::wstring console = args.text(L"--bin", exe_dir()) + L"\\zolspar.exe";
    const std::wstring bare = exe_dir() + L"\\bare-window.exe";

    // One start of each first, not counted: it brings the files into the
    // page cache and Wine's DLLs into memory.
    time_to_window(console, L"zolspar");
    time_to_window(bare, L"zolbench bare");

    std::vector<double> console_ms, bare_ms;
    for (int i = 0; i < runs; ++i) {
        // Alternate which goes first, so neither always follows the other's exit.
        const bool console_first = i % 2 == 0;
        for (int k = 0; k < 2; ++k) {
            const bool is_console = (k == 0) == console_first;
            const double ms = is_console ? time_to_window(console, L"zolspar") : time_to_window(bare, L"zolbench bare");
            if (ms < 0) {
                note(L"a start-up run found no window");
                return 1;
            }
            (is_console ? console_ms : bare_ms).push_back(ms);
        }
    }
    const Summary c = summarize(console_ms), b = summarize(bare_ms);
    report("startup_runs", runs);
    report("startup_console_median_ms", c.median);
    report("startup_console_min_ms", c.min);
    report("startup_console_max_ms", c.max);
    report("startup_bare_median_ms", b.median);
    report("startup_bare_min_ms", b.min);
    report("startup_bare_max_ms", b.max);
    report("startup_ratio", b.median > 0 ? c.median / b.median : 0);
    return 0;
}

}  // namespace zol::bench
