// What a screen reader hears for each control of the console, asked the way
// it asks (AccessibleObjectFromWindow), of a console in this process.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/console_window_win.h"
#include "tests/fakes/memory_host.h"
#include "tests/wine/support/harness.h"
#include "winui/accessible_name_win.h"

namespace zol {
namespace {

std::wstring accessible_name(HWND window) {
    IAccessible* acc = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&acc))) ||
        !acc) {
        return L"<no object>";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result = L"<no name>";
    if (SUCCEEDED(acc->get_accName(self, &name)) && name) {
        result = name;
        SysFreeString(name);
    }
    acc->Release();
    return result;
}

// The names of the About window's captioned controls, read by a timer that
// runs inside the window's own modal loop. A named CALLBACK function rather
// than a lambda: 32-bit Windows calls timer procedures with stdcall.
std::vector<std::wstring> about_names;

void CALLBACK ReadAboutNames(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND about = FindWindowW(L"frmaboutzolspar", nullptr);
    for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetWindowTextLengthW(c) > 0) about_names.push_back(accessible_name(c));
    }
    PostMessageW(about, WM_CLOSE, 0, 0);
}

TEST(Accessibility, EveryConsoleControlHasAMeaningfulName) {
    CoInitialize(nullptr);
    test::drop_left_quit();
    {
        MemoryHost host;
        ui::MessagePump pump;
        ConsoleWindow console(host, pump);
        ASSERT_NE(console.create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE), nullptr);
        auto name_of = [&](int id) { return accessible_name(GetDlgItem(console.hwnd(), id)); };

        // Buttons by their captions without the "&".
        EXPECT_EQ(name_of(idc_say_score), L"say score");
        EXPECT_EQ(name_of(idc_cmdcounterstart), L"counter start");
        EXPECT_EQ(name_of(idc_ontop), L"stay on top");
        EXPECT_EQ(name_of(idc_cmdscrollxps), L"scroll xp's");
        EXPECT_EQ(name_of(idc_Command1), L"init");
        EXPECT_EQ(name_of(idc_cmdrolldyce), L"roll ");
        EXPECT_EQ(name_of(idc_cmddatetyme), L"date  tyme");

        // Boxes by their labels, or their tooltips where they have none; never
        // by what is typed in them.
        EXPECT_EQ(name_of(idc_txthydyce), L"hy dyce");
        EXPECT_EQ(name_of(idc_txtnuminspar), L"in spar");
        EXPECT_EQ(name_of(idc_numofdyce), L"dyce wyth");
        EXPECT_EQ(name_of(idc_txtnumofdyce), L"sydes");
        EXPECT_EQ(name_of(idc_txtscoreboard), L"enter and edit the score board here");
        EXPECT_EQ(name_of(idc_txtterms),
                  L"you can put your attacks or terms or what ever you wysh to scroll into the chat room here");

        // The hit-point label by its text.
        const std::wstring label = name_of(idc_lblhitpoints);
        EXPECT_NE(label.find(L"^v^"), std::wstring::npos) << label;

        // Help: the box by a name of its own rather than its 84 lines, the
        // button by its caption.
        SendMessageW(console.hwnd(), WM_COMMAND, idm_help, 0);
        HWND help = FindWindowW(L"frmhelp", nullptr);
        ASSERT_NE(help, nullptr);
        HWND box = FindWindowExW(help, nullptr, L"Edit", nullptr);
        HWND back = FindWindowExW(help, nullptr, L"Button", nullptr);
        EXPECT_EQ(accessible_name(box), L"help text");
        EXPECT_EQ(accessible_name(back), L"return to zolvanta's spar");
        DestroyWindow(help);

        // About is modal: its controls are read from inside its own loop.
        about_names.clear();
        SetTimer(nullptr, 0, 300, ReadAboutNames);
        SendMessageW(console.hwnd(), WM_COMMAND, idm_about, 0);  // returns when About has closed
        EXPECT_NE(std::find(about_names.begin(), about_names.end(), L"ok"), about_names.end());
        EXPECT_NE(std::find(about_names.begin(), about_names.end(), L"Version 7.8"), about_names.end());
        for (const auto& n : about_names) EXPECT_EQ(n.find(L'&'), std::wstring::npos) << n;
    }
    CoUninitialize();
}

// The private memory this process has committed, in bytes: what a leak of
// big blocks grows (the heap takes them from the system one by one and gives
// them back when they are freed). Counted region by region rather than
// asked of GetProcessMemoryInfo, whose private usage Wine leaves at 0.
long long committed_private_bytes() {
    long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += static_cast<long long>(region.RegionSize);
        }
    }
    return total;
}

HWND make_box() {
    return CreateWindowExW(0, L"EDIT", L"what is typed", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

TEST(Accessibility, ANameGivenAgainReplacesTheOneBefore) {
    CoInitialize(nullptr);
    HWND box = make_box();
    ASSERT_NE(box, nullptr);
    ui::set_accessible_name(box, L"first");
    ui::set_accessible_name(box, L"second");
    EXPECT_EQ(accessible_name(box), L"second");
    DestroyWindow(box);

    // Names big enough that one kept after its box has gone stands out of
    // whatever else the process's memory does meanwhile.
    constexpr long long kChars = 16 * 1024 * 1024;
    box = make_box();
    ASSERT_NE(box, nullptr);
    const long long before = committed_private_bytes();
    ui::set_accessible_name(box, std::wstring(kChars, L'a'));
    ui::set_accessible_name(box, std::wstring(kChars, L'b'));
    DestroyWindow(box);
    const long long kept = committed_private_bytes() - before;
    EXPECT_LT(kept, kChars) << kept << " bytes more than before the box was named, each name being " << 2 * kChars;
    CoUninitialize();
}

}  // namespace
}  // namespace zol
