// The console at 144 dpi: every position, size and font scaled by 1.5. Wine
// takes the screen's DPI from the user's LogPixels setting when a program
// starts, so the test sets it, starts the console, and puts it back.
#include <windows.h>

#include <gtest/gtest.h>

#include "console/console_layout.h"
#include "tests/wine/support/harness.h"

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

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, MulDiv(3615, 144, 1440));
    EXPECT_EQ(client.bottom, MulDiv(4095, 144, 1440));

    struct Row {
        int id, left, top, width, height;
    };
    const Row rows[] = {
        {idc_txtscoreboard, 0, 0, 3615, 1095},      {idc_cmdscoreboard, 1200, 1125, 2415, 255},
        {idc_lblhitpoints, 0, 1440, 3615, 300},     {idc_cmdcounterstart, 0, 1800, 735, 465},
        {idc_txtterms, 0, 2300, 3615, 1095},        {idc_lblnumofdycetxt, 1210, 3820, 735, 255},
        {idc_cmdrolldyce, 3120, 3760, 495, 315},    {idc_zolvantachat81, 600, 1320, 2400, 1380},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        RECT r;
        GetWindowRect(GetDlgItem(window, row.id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, MulDiv(row.left, 144, 1440));
        EXPECT_EQ(r.top, MulDiv(row.top, 144, 1440));
        EXPECT_EQ(r.right - r.left, MulDiv(row.width, 144, 1440));
        EXPECT_EQ(r.bottom - r.top, MulDiv(row.height, 144, 1440));
    }
}

}  // namespace
}  // namespace zol::test
