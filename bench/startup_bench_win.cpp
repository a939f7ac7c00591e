// Start-up time to a visible window: zolspar.exe against bare-window.exe, a
// Win32 program that shows one empty window and nothing else, and against
// controls-window.exe, which shows a window of the console's size with the
// console's controls as plain standard controls. All are started the same
// way in the same run, in turn, so Wine's own cost of starting a process is
// in every figure and the ratios show what the console adds to an empty
// window and to a window with the same controls.
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
    struct Program {
        std::wstring exe;
        const wchar_t* window_class;
        std::vector<double> ms;
    };
    Program programs[] = {
        {args.text(L"--bin", exe_dir()) + L"\\zolspar.exe", L"zolspar", {}},
        {exe_dir() + L"\\bare-window.exe", L"zolbench bare", {}},
        {exe_dir() + L"\\controls-window.exe", L"zolbench controls", {}},
    };
    constexpr int kPrograms = 3;

    // One start of each first, not counted: it brings the files into the
    // page cache and Wine's DLLs into memory.
    for (Program& p : programs) time_to_window(p.exe, p.window_class);

    for (int i = 0; i < runs; ++i) {
        // Rotate which goes first, so none always follows the same one's exit.
        for (int k = 0; k < kPrograms; ++k) {
            Program& p = programs[(i + k) % kPrograms];
            const double ms = time_to_window(p.exe, p.window_class);
            if (ms < 0) {
                note(L"a start-up run found no window");
                return 1;
            }
            p.ms.push_back(ms);
        }
    }
    const Summary c = summarize(programs[0].ms), b = summarize(programs[1].ms), w = summarize(programs[2].ms);
    report("startup_runs", runs);
    report("startup_console_median_ms", c.median);
    report("startup_console_min_ms", c.min);
    report("startup_console_max_ms", c.max);
    report("startup_bare_median_ms", b.median);
    report("startup_bare_min_ms", b.min);
    report("startup_bare_max_ms", b.max);
    report("startup_controls_median_ms", w.median);
    report("startup_controls_min_ms", w.min);
    report("startup_controls_max_ms", w.max);
    report("startup_ratio", b.median > 0 ? c.median / b.median : 0);
    report("startup_controls_ratio", b.median > 0 ? w.median / b.median : 0);
    report("startup_console_controls_ratio", w.median > 0 ? c.median / w.median : 0);
    return 0;
}

}  // namespace zol::bench
