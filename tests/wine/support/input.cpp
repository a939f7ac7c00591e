#include "tests/wine/support/input.h"

#include "tests/support/wait.h"

namespace zol::test {

using namespace std::chrono_literals;

namespace {

LRESULT CALLBACK other_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

OtherWindow::OtherWindow() {
    // On a thread of its own that handles its messages all the time, as
    // another program would: a window that does not answer would hold up the
    // activation of the program under test.
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    if (thread_) WaitForSingleObject(ready_, 5000);
}

// The thread's function: a named one, as a lambda would not have the
// calling convention CreateThread needs on 32-bit Windows.
DWORD WINAPI OtherWindow::run(void* self_param) {
    auto* self = static_cast<OtherWindow*>(self_param);
    WNDCLASSW wc{};
    wc.lpfnWndProc = other_window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"zolspar test: another program";
    RegisterClassW(&wc);  // fails harmlessly from the second window on
    // In the top right corner, clear of the console in the middle of
    // the screen and of the practice room on the left.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    self->hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  work.right - 330, work.top + 10, 320, 160, nullptr, nullptr, wc.hInstance,
                                  nullptr);
    SetEvent(self->ready_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

OtherWindow::~OtherWindow() {
    if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    if (thread_) {
        // Bounded, so a window stuck in some loop of the system fails the
        // test that left it so rather than hanging the run.
        if (WaitForSingleObject(thread_, 5000) != WAIT_OBJECT_0) ADD_FAILURE() << "another program did not close";
        CloseHandle(thread_);
    }
    if (ready_) CloseHandle(ready_);
}

::testing::AssertionResult OtherWindow::activate() {
    if (::testing::AssertionResult clicked = click_on(hwnd_); !clicked) return clicked;
    if (!wait_until([&] { return GetForegroundWindow() == hwnd_; }, 3s)) {
        return ::testing::AssertionFailure() << "another program did not come to the front";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace zol::test
