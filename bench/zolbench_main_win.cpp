// zolbench.exe: the benchmarks that run under Wine (or on Windows). Usually
// started by scripts/bench, which also measures what only Linux can see.
//
//   zolbench pause   [--count 20] [--seconds 1]
//   zolbench tick    [--ms 3000]
//   zolbench startup [--bin DIR] [--runs 10]
//   zolbench latency [--bin DIR] [--rounds 50]
//   zolbench cpu     [--bin DIR] --ready FILE --go FILE --done FILE [--scroll]
//   zolbench memory  [--bin DIR] [--chars N] [--step N] --ready FILE --go FILE --full FILE --done FILE
//
// --bin is the folder of zolspar.exe and practice-room.exe (default: the
// folder of zolbench.exe); bare-window.exe and naive-pause.exe are always
// taken from beside zolbench.exe.
#include <cstdio>
#include <string>

#include "bench/benchmarks_win.h"

int wmain(int argc, wchar_t** argv) {
    using namespace zol::bench;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const Args args(argc, argv, 2);
    if (mode == L"pause") return run_pause(args);
    if (mode == L"tick") return run_tick(args);
    if (mode == L"host") return run_host(args);
    if (mode == L"startup") return run_startup(args);
    if (mode == L"latency") return run_latency(args);
    if (mode == L"cpu") return run_cpu(args);
    if (mode == L"memory") return run_memory(args);
    if (mode == L"reader") return run_reader(args);
    std::fprintf(stderr, "usage: zolbench pause|tick|startup|latency|cpu|memory [options]\n");
    return 2;
}
