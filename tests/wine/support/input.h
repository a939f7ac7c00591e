// Input as a person gives it (tests/support/input_win.h), and for tests a
// second program the user can switch to.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/input_win.h"

namespace zol::test {

// A plain top-level window that a test brings to the front to take the
// activation away from the program under test, as another program the user
// switches to would. It runs on a thread of its own.
class OtherWindow {
public:
    OtherWindow();
    ~OtherWindow();
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Clicks into it and waits until it is in front.
    ::testing::AssertionResult activate();

private:
    static DWORD WINAPI run(void* self);

    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND hwnd_ = nullptr;
};

}  // namespace zol::test
