// The console at 144 dpi: every position, size and font scaled by 1.5. Wine
// takes the screen's DPI from the user's LogPixels setting when a program
// starts, so the test sets it, starts the console, and puts it back.
#include <windows.h>

#include <gtest/gtest.h>

#include "console/console_layout.h"
#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        DWORD size = sizeof old_;
        had_ = RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                            &old_, &size) == ERROR_SUCCESS;
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    ~LogPixels() {
        if (had_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &old_,
                            sizeof old_);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
        }
    }

private:
    DWORD old_ = 96;
    bool had_ = false;
};

TEST(HighDpi, ConsoleScalesEveryPlaceAndSizeAt144Dpi) {
    LogPixels setting(144);
    Process console = Process::start(L"zolspar.exe");
    HWND window = wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console.id());
    ASSERT_NE(window, nullptr);

    expect_console_matches_its_layout(window, 144);
}

}  // namespace
}  // namespace zol::test
