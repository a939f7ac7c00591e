// The running console as the tests and the soak and monkey runs see it from
// outside: the state its controls show.
#pragma once

#include <windows.h>

#include <chrono>

#include "tests/support/outcome.h"

namespace zol::test {

// True while the hit-point label shows the counter started with nothing
// counted yet: the 41 blanks the console shows from the press that starts
// the counter until the first result. Stopped, it shows the banner.
bool counter_is_running(HWND console);

// Presses the counter's toggle (without waiting for its handler, which may
// pause) and waits until the label shows the counter running.
Outcome turn_counter_on(HWND console, std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace zol::test
