// Helpers for end-to-end tests under Wine: start the real exes, find their
// windows, read their texts and the practice room's transcript. What is not
// tied to GoogleTest lives in tests/support/ and is shared with the
// benchmarks and the soak and monkey runs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/console_win.h"
#include "tests/support/files_win.h"
#include "tests/support/process_win.h"
#include "tests/support/transcript.h"
#include "tests/support/wait.h"
#include "tests/support/windows_win.h"

namespace zol::test {

// The test programs see the screen in real pixels, as the console does: on
// a scaled Windows display a program not aware of its DPI is shown
// coordinates scaled back to 96 dpi.
inline const bool kDpiAware = SetProcessDPIAware() != FALSE;

// A console destroyed on this thread (by a test before, in a repeated or
// shuffled run) has left its WM_QUIT in the thread's queue, where the next
// message loop would take it and stop at once. A test that makes a console
// on its own thread drops it first.
inline void drop_left_quit() {
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace zol::test
