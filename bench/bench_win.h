// What every benchmark of zolbench.exe needs beyond the shared helpers of
// tests/support: a clock and the report.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "tests/support/args.h"
#include "tests/support/files_win.h"
#include "tests/support/process_win.h"
#include "tests/support/wait.h"
#include "tests/support/windows_win.h"

namespace zol::bench {

using test::Args;
using test::click;
using test::exe_dir;
using test::file_exists;
using test::Process;
using test::read_text;
using test::set_text;
using test::wait_for_window;
using test::wait_until;
using test::write_file;

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double ms_between(Clock::time_point from, Clock::time_point to);

// One line of the report on standard output: "<key> <value>". The bench
// script reads these lines, so keys are single words.
void report(const char* key, double value);
void report_text(const char* key, const std::wstring& value);
// A remark on standard error, for the person watching.
void note(const std::wstring& text);

// Starts a program as the benchmarks do, without waiting for it to be idle
// (a start-up is measured from here); false when it could not be started.
bool launch(Process& process, const std::wstring& exe, const std::wstring& args = L"");

}  // namespace zol::bench
