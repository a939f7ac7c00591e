// What the console leaves until after it is shown, so that it shows sooner:
// its tooltips come right after the first paint, and the screen-reader
// libraries only when a screen reader first asks. Neither may go missing.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "console/console_layout.h"
#include "console/console_window_win.h"
#include "tests/fakes/memory_host.h"
#include "tests/wine/support/harness.h"

namespace zol {
namespace {

using namespace std::chrono_literals;

// The tooltip windows of this thread.
std::vector<HWND> thread_tooltips() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) WINAPI -> BOOL {
            wchar_t cls[64] = L"";
            GetClassNameW(window, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(Startup, TooltipsComeRightAfterTheFirstPaintWithEveryControlsText) {
    MemoryHost host;
    ui::MessagePump pump;
    ConsoleWindow console(host, pump);
    ASSERT_NE(console.create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE), nullptr);
    EXPECT_TRUE(IsWindowVisible(console.hwnd()));
    EXPECT_TRUE(thread_tooltips().empty()) << "made before the window was shown";

    // The console's loop runs on this thread.
    test::wait_until(
        [&] {
            pump.Pause(0);
            return !thread_tooltips().empty();
        },
        5s);
    const std::vector<HWND> tips = thread_tooltips();
    ASSERT_EQ(tips.size(), 1u);

    int with_tooltip = 0;
    for (const ui::ControlRow& row : console_controls()) {
        if (row.tooltip.empty()) continue;
        ++with_tooltip;
        SCOPED_TRACE(row.id);
        wchar_t text[256] = L"";
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = console.hwnd();
        info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(console.hwnd(), row.id));
        info.lpszText = text;
        SendMessageW(tips[0], TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(std::wstring(text), std::wstring(row.tooltip));
    }
    EXPECT_EQ(SendMessageW(tips[0], TTM_GETTOOLCOUNT, 0, 0), with_tooltip);
}

// The console's single-line boxes are made at their place rather than made
// small and moved, which is quicker; they must look as if made small: with
// the margins a box of the same kind gets when made 10 pixels square, given
// the same font and then moved to the same place.
TEST(Startup, SingleLineBoxesHaveTheMarginsOfABoxMadeSmallAndMoved) {
    MemoryHost host;
    ui::MessagePump pump;
    ConsoleWindow console(host, pump);
    ASSERT_NE(console.create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE), nullptr);
    int boxes = 0;
    for (const ui::ControlRow& row : console_controls()) {
        if (row.kind != ui::ControlKind::single_line_box) continue;
        ++boxes;
        SCOPED_TRACE(row.id);
        HWND box = GetDlgItem(console.hwnd(), row.id);
        ASSERT_NE(box, nullptr);
        RECT place{};
        GetWindowRect(box, &place);
        MapWindowPoints(nullptr, console.hwnd(), reinterpret_cast<POINT*>(&place), 2);
        HWND made_small = CreateWindowExW(static_cast<DWORD>(GetWindowLongPtrW(box, GWL_EXSTYLE)), L"EDIT", L"",
                                          static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE)), 0, 0, 10, 10,
                                          console.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(made_small, nullptr);
        SendMessageW(made_small, WM_SETFONT, SendMessageW(box, WM_GETFONT, 0, 0), FALSE);
        SetWindowPos(made_small, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        const LRESULT want = SendMessageW(made_small, EM_GETMARGINS, 0, 0);
        const LRESULT got = SendMessageW(box, EM_GETMARGINS, 0, 0);
        EXPECT_EQ(LOWORD(got), LOWORD(want)) << "left margin";
        EXPECT_EQ(HIWORD(got), HIWORD(want)) << "right margin";
        DestroyWindow(made_small);
    }
    EXPECT_EQ(boxes, 4);
}

bool has_module(HANDLE process, const wchar_t* name) {
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &bytes)) return false;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t base[MAX_PATH] = L"";
        if (GetModuleBaseNameW(process, modules[i], base, MAX_PATH) && lstrcmpiW(base, name) == 0) return true;
    }
    return false;
}

TEST(Startup, ScreenReaderLibrariesLoadWhenAScreenReaderFirstAsks) {
    test::Process console = test::Process::start(L"zolspar.exe");
    ASSERT_TRUE(console.running());
    HWND window = test::wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console.id());
    ASSERT_NE(window, nullptr);
    // The module list of a process that has just started may not be readable
    // yet: kernel32 is in every process, so wait until it shows.
    ASSERT_TRUE(test::wait_until([&] { return has_module(console.handle(), L"kernel32.dll"); }, 5s));
    EXPECT_FALSE(has_module(console.handle(), L"oleacc.dll"));

    CoInitialize(nullptr);
    IAccessible* box = nullptr;
    ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(GetDlgItem(window, idc_txtnumofdyce), static_cast<DWORD>(OBJID_CLIENT),
                                                     __uuidof(IAccessible), reinterpret_cast<void**>(&box))));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_TRUE(SUCCEEDED(box->get_accName(self, &name)));
    EXPECT_EQ(std::wstring(name ? name : L""), L"sydes");
    SysFreeString(name);
    box->Release();
    CoUninitialize();
    EXPECT_TRUE(has_module(console.handle(), L"oleacc.dll"));
}

}  // namespace
}  // namespace zol
