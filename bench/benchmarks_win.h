// The modes of zolbench.exe, one function each. Each prints its figures as
// "<key> <value>" lines (see report()) and returns the exit code.
#pragma once

#include "bench/bench_win.h"

namespace zol::bench {

int run_pause(const Args& args);    // pause accuracy, in this process
int run_tick(const Args& args);     // scanner tick cost against three history sizes
int run_host(const Args& args);     // the host window tree run_tick reads (internal)
int run_memory(const Args& args);   // the console's memory while the room's history grows
int run_reader(const Args& args);   // the bare reader run_memory measures beside the console (internal)
int run_startup(const Args& args);  // start-up time, console against a bare window
int run_latency(const Args& args);  // dice result in the room to the hit-point label
int run_cpu(const Args& args);      // the console busy or idle while the script measures it

}  // namespace zol::bench
