#include "bench/bench_win.h"

#include <cstdio>

namespace zol::bench {

double ms_between(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void report(const char* key, double value) {
    std::printf("%s %.6g\n", key, value);
    std::fflush(stdout);
}

void report_text(const char* key, const std::wstring& value) {
    std::printf("%s %ls\n", key, value.c_str());
    std::fflush(stdout);
}

void note(const std::wstring& text) {
    std::fprintf(stderr, "zolbench: %ls\n", text.c_str());
    std::fflush(stderr);
}

bool launch(Process& process, const std::wstring& exe, const std::wstring& args) {
    process = Process::start(exe, args, Process::Await::nothing);
    return process.started();
}

}  // namespace zol::bench
