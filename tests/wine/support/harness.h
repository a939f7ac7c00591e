// Helpers for end-to-end tests under Wine: start the real exes, find their
// windows, read their texts and the practice room's transcript. What is not
// tied to GoogleTest lives in tests/support/ and is shared with the
// benchmarks and the soak and monkey runs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/files_win.h"
#include "tests/support/process_win.h"
#include "tests/support/transcript.h"
#include "tests/support/wait.h"
#include "tests/support/windows_win.h"
