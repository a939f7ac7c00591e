// The console at 144 dpi: every position, size and font scaled by 1.5. Wine
// takes the screen's DPI from the user's LogPixels setting when a program
// starts, so the test sets it, starts the console, and puts it back.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

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

// Under Wine the test sets 144 dpi. Windows takes a new scaling only at the
// next sign-in, so there the console is checked at the scaling the user
// has, whatever it is (the report names it).
TEST(HighDpi, ConsoleScalesEveryPlaceAndSizeToTheDisplay) {
    std::optional<LogPixels> setting;
    UINT dpi = 144;
    if (under_wine()) {
        setting.emplace(dpi);
    } else {
        HDC screen = GetDC(nullptr);
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }
    Process console = Process::start(L"zolspar.exe");
    HWND window = wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console.id());
    ASSERT_NE(window, nullptr);
    expect_console_matches_its_layout(window, dpi);
}

}  // namespace
}  // namespace zol::test
