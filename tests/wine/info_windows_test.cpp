// The About and Help windows, in process, with a plain top-level window
// standing in for the console. The modal About window is driven from timers
// that fire inside its own message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chathost/stacking_win.h"
#include "tests/support/windows_win.h"
#include "infowindows/help_text.h"
#include "infowindows/about_and_help_win.h"
#include "winui/pump_win.h"
#include "winui/win_ui.h"
#include "winui/window_win.h"

namespace {

// The windows as the console owns them, with the program's message pump;
// made afresh for every test, as a pump that has seen WM_QUIT stays quitting.
struct Owner {
    zol::ui::MessagePump pump;
    zol::AboutAndHelp windows{pump};
};
std::unique_ptr<Owner> g_owner;

zol::AboutAndHelp& info_windows() { return g_owner->windows; }

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;
using Requests = std::vector<std::string>;

bool IsTopmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::wstring TextOf(HWND window) { return zol::ui::window_text(window); }

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

HWND ChildWithText(HWND parent, std::wstring_view text) {
    for (HWND child : ChildrenOf(parent)) {
        if (TextOf(child) == text) return child;
    }
    return nullptr;
}

// Processes messages as the console's loop does, until `done` holds or five
// seconds pass. `seen` is shown every message first.
bool PumpUntil(const std::function<bool()>& done, const std::function<void(const MSG&)>& seen = {}) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 5000) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (seen) seen(msg);
            if (!info_windows().handle_dialog_keys(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Handles every message posted to this thread so far, and what they post in
// turn: a marker posted behind them comes out of the queue after them. (The
// windows under test set no timers.)
void Pump() {
    static const UINT marker = RegisterWindowMessageW(L"zolspar test: queue marker");
    for (int round = 0; round < 2; ++round) {
        bool reached = false;
        PostThreadMessageW(GetCurrentThreadId(), marker, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return reached; },
                              [&](const MSG& msg) { reached = reached || (msg.message == marker && !msg.hwnd); }));
    }
}

// The stand-in console: a visible window, the stay-on-top flag and its
// button. It logs every request to move it into ("on top") or out of ("not on
// top") the topmost band, marked "/open" when an About or Help window existed
// at that moment. The log shows what was asked even where Wine does not carry
// it out.
class StandInConsole {
public:
    StandInConsole() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &StandInConsole::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"zolspar stand-in";
        RegisterClassW(&wc);  // fails harmlessly from the second test on
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"zolvanta's spar 7.8", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300,
                                200, 260, 300, nullptr, nullptr, wc.hInstance, this);
    }
    ~StandInConsole() { DestroyWindow(hwnd_); }

    HWND hwnd() const { return hwnd_; }
    std::function<bool()> flag() const {
        return [this] { return stay_on_top_; };
    }
    void PressStayOnTop(bool on) {
        stay_on_top_ = on;
        on ? zol::StayOnTop(hwnd_) : zol::NotOnTop(hwnd_);
    }
    Requests TakeRequests() { return std::exchange(requests_, {}); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<StandInConsole*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lparam);
        if (self && message == WM_WINDOWPOSCHANGING && !(pos->flags & SWP_NOZORDER) &&
            (pos->hwndInsertAfter == HWND_TOPMOST || pos->hwndInsertAfter == HWND_NOTOPMOST)) {
            self->requests_.push_back(std::string(pos->hwndInsertAfter == HWND_TOPMOST ? "on top" : "not on top") +
                                      (info_windows().help_window() || info_windows().about_window() ? "/open" : ""));
        }
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }

    HWND hwnd_ = nullptr;
    bool stay_on_top_ = false;
    Requests requests_;
};

// Closing with the flag on: the console is asked back into the topmost band
// once, while the window still exists, and ends up there. Wine 8 never moves
// a window that owns popups into the band (it moves the popups instead), so
// there the request is all that can be seen.
AssertionResult WentBackOnTopBeforeTheWindowWent(const Requests& requests, HWND console) {
    if (requests != Requests{"on top/open"}) return AssertionFailure() << "requests " << testing::PrintToString(requests);
    if (!zol::test::under_wine() && !IsTopmost(console)) return AssertionFailure() << "the console is not topmost";
    return AssertionSuccess();
}

// Fixed frame with a close box, owned by the console (so no task-bar
// button), client area of the given twips at the window's DPI, every control
// inside it, and the window centred over the console.
AssertionResult IsLaidOutOverConsole(HWND window, HWND console, int width_twips, int height_twips) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (!(style & WS_SYSMENU) || (style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        return AssertionFailure() << "not a fixed frame with only a close box";
    }
    if (GetWindow(window, GW_OWNER) != console) return AssertionFailure() << "not owned by the console";
    const UINT dpi = zol::ui::window_dpi(window);
    RECT client{};
    GetClientRect(window, &client);
    if (client.right != zol::ui::twips_to_px(width_twips, dpi) ||
        client.bottom != zol::ui::twips_to_px(height_twips, dpi)) {
        return AssertionFailure() << "client area " << client.right << "x" << client.bottom;
    }
    for (HWND child : ChildrenOf(window)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) {
            return AssertionFailure() << testing::PrintToString(TextOf(child)) << " reaches outside the client area";
        }
    }
    RECT outer{}, frame{};
    GetWindowRect(window, &outer);
    GetWindowRect(console, &frame);
    if (std::abs((outer.left + outer.right) - (frame.left + frame.right)) > 2 ||
        std::abs((outer.top + outer.bottom) - (frame.top + frame.bottom)) > 2) {
        return AssertionFailure() << "not centred over the console";
    }
    return AssertionSuccess();
}

AssertionResult HasFont(HWND control, std::wstring_view face, int hundredths_of_point, bool italic) {
    LOGFONTW lf{};
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font || !GetObjectW(font, sizeof lf, &lf)) return AssertionFailure() << "no font of its own";
    const LONG height = -MulDiv(hundredths_of_point, static_cast<int>(zol::ui::window_dpi(control)), 7200);
    if (lf.lfFaceName != face || lf.lfHeight != height || (lf.lfItalic != 0) != italic) {
        return AssertionFailure() << testing::PrintToString(std::wstring(lf.lfFaceName)) << " " << lf.lfHeight
                                  << (lf.lfItalic ? " italic" : "");
    }
    return AssertionSuccess();
}

// Each way the user can close a window, as the message it becomes.
struct CloseWay {
    const char* name;
    void (*press)(HWND window, HWND button);
};

void Click(HWND, HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
void CloseBox(HWND window, HWND) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }
void CloseMessage(HWND window, HWND) { PostMessageW(window, WM_CLOSE, 0, 0); }
void AltF4(HWND, HWND focus) { PostMessageW(focus, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29)); }

constexpr wchar_t kReturn[] = L"&return to zolvanta's spar";

enum class Which { about, help };

class InfoWindowsTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (HWND help = info_windows().help_window()) DestroyWindow(help);
        Pump();
    }

    // Runs `step` from a timer inside the About window's own loop once the
    // window is up, and returns when show_about does. A watchdog destroys
    // a window that ignores the step, failing the test instead of hanging it.
    bool RunAbout(std::function<void(HWND about)> step) {
        step_ = std::move(step);
        watchdog_fired_ = false;
        const UINT_PTR step_timer = SetTimer(nullptr, 0, 100, RunStep);
        const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, FireWatchdog);
        info_windows().show_about(console_.hwnd(), console_.flag());
        KillTimer(nullptr, step_timer);
        KillTimer(nullptr, watchdog);
        return !watchdog_fired_;
    }

    // With the flag on: opens the window, checks that the console stepped out
    // of the topmost band before it showed, closes it `way`'s way and checks
    // that the console went back before the window went.
    void CloseWithTheFlagOn(Which which, const CloseWay& way) {
        console_.PressStayOnTop(true);
        console_.TakeRequests();
        Requests opening;
        bool topmost_while_open = true;
        const auto close = [&](HWND window, HWND button) {
            opening = console_.TakeRequests();
            topmost_while_open = IsTopmost(console_.hwnd());
            way.press(window, button);
        };
        if (which == Which::about) {
            EXPECT_TRUE(RunAbout([&](HWND about) { close(about, ChildWithText(about, L"o&k")); }));
        } else {
            info_windows().show_help(console_.hwnd(), console_.flag());
            HWND help = info_windows().help_window();
            ASSERT_NE(help, nullptr);
            Pump();
            close(help, ChildWithText(help, kReturn));
            EXPECT_TRUE(PumpUntil([] { return info_windows().help_window() == nullptr; }));
            EXPECT_FALSE(IsWindow(help));
        }
        EXPECT_EQ(opening, Requests{"not on top"});  // before the window exists
        EXPECT_FALSE(topmost_while_open);
        EXPECT_TRUE(WentBackOnTopBeforeTheWindowWent(console_.TakeRequests(), console_.hwnd()));
        EXPECT_TRUE(IsWindowEnabled(console_.hwnd()));
    }

    // Timer procedures are named CALLBACK functions, not lambdas: 32-bit
    // Windows calls them with stdcall.
    static void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        step_(info_windows().about_window());
    }
    static void CALLBACK FireWatchdog(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        watchdog_fired_ = true;
        DestroyWindow(info_windows().about_window());
    }

    // Made first: the stand-in console asks whether the windows are open.
    struct FreshOwner {
        FreshOwner() { g_owner = std::make_unique<Owner>(); }
    } fresh_owner_;
    StandInConsole console_;
    static inline std::function<void(HWND)> step_;
    static inline bool watchdog_fired_ = false;
};

// ---------------------------------------------------------------------------
// About

TEST_F(InfoWindowsTest, AboutShowsItsFixedTextsInTheirFonts) {
    const struct {
        std::wstring text;
        const wchar_t* face;
        int hundredths;
        bool italic;
    } rows[] = {
        {L"zolvanta's spar proctoring tools", L"Arial", 1800, true},
        {L"Version 7.8", L"Arial", 975, true},
        {L"thys is intended to ease the task of proctoring mass spars.  i have tryed to include the most needed "
         L"elements on a syngle page.  please feel free to dystribute thys freely.  if you lyke it, let me know.",
         L"Arial", 975, true},
        {L"love and peace,", L"Arial", 975, true},
        {L"zolvanta", L"Arial", 975, true},
        {L"zolvanta@zolspar.example.org", L"MS Sans Serif", 825, false},
        {L"http://zolspar.example.org", L"MS Sans Serif", 825, false},
        {L"special thanks to so many who have helped wyth thys program...   :::kysses:::  ", L"Arial", 975, true},
        {L"o&k", L"Arial", 975, true},
    };
    std::wstring caption;
    AssertionResult laid_out = AssertionFailure() << "not shown";
    ASSERT_TRUE(RunAbout([&](HWND about) {
        caption = TextOf(about);
        laid_out = IsLaidOutOverConsole(about, console_.hwnd(), 4395, 6675);
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::PrintToString(row.text));
            HWND control = ChildWithText(about, row.text);
            EXPECT_TRUE(control && HasFont(control, row.face, row.hundredths, row.italic));
        }
        HWND ok = ChildWithText(about, L"o&k");
        EXPECT_EQ(GetFocus(), ok);
        EXPECT_EQ(GetWindowLongPtrW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        Click(about, ok);
    }));
    EXPECT_EQ(caption, L"about zolvanta's spar");
    EXPECT_TRUE(laid_out);
    EXPECT_EQ(info_windows().about_window(), nullptr);
}

TEST_F(InfoWindowsTest, AboutDisablesTheConsoleAndHelpWhileOpen) {
    info_windows().show_help(console_.hwnd(), console_.flag());
    HWND help = info_windows().help_window();
    ASSERT_NE(help, nullptr);
    bool console_enabled = true, help_enabled = true;
    ASSERT_TRUE(RunAbout([&](HWND about) {
        console_enabled = IsWindowEnabled(console_.hwnd());
        help_enabled = IsWindowEnabled(help);
        CloseMessage(about, nullptr);
    }));
    EXPECT_FALSE(console_enabled);
    EXPECT_FALSE(help_enabled);
    EXPECT_TRUE(IsWindowEnabled(console_.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(help));
}

TEST_F(InfoWindowsTest, AboutPutsTheConsoleBackOnTopHoweverItCloses) {
    const CloseWay ways[] = {
        {"ok by mouse", Click},
        {"enter", [](HWND, HWND ok) { PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 1); }},
        {"esc", [](HWND, HWND ok) { PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"alt+k", [](HWND, HWND ok) { PostMessageW(ok, WM_SYSCHAR, L'k', 1 | (1 << 29)); }},
        {"close box", CloseBox},
        {"wm_close", CloseMessage},
        {"alt+f4", AltF4},
    };
    for (const CloseWay& way : ways) {
        SCOPED_TRACE(way.name);
        CloseWithTheFlagOn(Which::about, way);
    }
}

TEST_F(InfoWindowsTest, AboutEndsOnQuitAndPostsTheQuitAgain) {
    console_.PressStayOnTop(true);
    console_.TakeRequests();
    ASSERT_TRUE(RunAbout([this](HWND) {
        console_.TakeRequests();
        PostQuitMessage(7);
    }));
    EXPECT_EQ(info_windows().about_window(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(console_.hwnd()));
    EXPECT_TRUE(WentBackOnTopBeforeTheWindowWent(console_.TakeRequests(), console_.hwnd()));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

// ---------------------------------------------------------------------------
// Help

TEST_F(InfoWindowsTest, HelpShowsTheHelpTextReadOnlyBesideAWorkingConsole) {
    info_windows().show_help(console_.hwnd(), console_.flag());
    HWND help = info_windows().help_window();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(IsWindowVisible(help));
    EXPECT_EQ(TextOf(help), L"zolvanta's spar 7.8 help");
    EXPECT_TRUE(IsLaidOutOverConsole(help, console_.hwnd(), 6135, 6615));
    EXPECT_TRUE(IsWindowEnabled(console_.hwnd()));
    EXPECT_TRUE(HasFont(ChildWithText(help, kReturn), L"Arial", 825, true));

    HWND box = FindWindowExW(help, nullptr, L"Edit", nullptr);
    ASSERT_NE(box, nullptr);
    const std::wstring& text = zol::help_text();
    EXPECT_EQ(TextOf(box), text);
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(HasFont(box, L"Arial", 900, true));

    // 84 lines and the empty one after the last CR LF: no line wraps, so the
    // text appears as it is laid out.
    EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 85);

    SetFocus(box);
    PostMessageW(box, WM_CHAR, L'x', 1);
    PostMessageW(box, WM_KEYDOWN, VK_DELETE, 1);
    Pump();
    EXPECT_EQ(TextOf(box), text);
}

TEST_F(InfoWindowsTest, HelpIsOneWindowShownAgainOnTheSecondCall) {
    console_.PressStayOnTop(true);
    console_.TakeRequests();
    info_windows().show_help(console_.hwnd(), console_.flag());
    HWND first = info_windows().help_window();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(console_.TakeRequests(), Requests{"not on top"});
    EXPECT_FALSE(IsTopmost(console_.hwnd()));

    // The user presses stay-on-top off and on again while Help is open;
    // opening Help once more steps the console back again.
    console_.PressStayOnTop(false);
    console_.PressStayOnTop(true);
    console_.TakeRequests();
    info_windows().show_help(console_.hwnd(), console_.flag());
    Pump();
    EXPECT_EQ(console_.TakeRequests(), Requests{"not on top/open"});
    EXPECT_EQ(info_windows().help_window(), first);
    EXPECT_EQ(GetActiveWindow(), first);
}

TEST_F(InfoWindowsTest, HelpPutsTheConsoleBackOnTopHoweverItCloses) {
    const CloseWay ways[] = {
        {"return by mouse", Click},
        {"alt+r", [](HWND, HWND back) { PostMessageW(back, WM_SYSCHAR, L'r', 1 | (1 << 29)); }},
        {"enter on return",
         [](HWND, HWND back) {
             SetFocus(back);
             PostMessageW(back, WM_KEYDOWN, VK_RETURN, 1);
         }},
        {"close box", CloseBox},
        {"wm_close", CloseMessage},
        {"alt+f4", AltF4},
    };
    for (const CloseWay& way : ways) {
        SCOPED_TRACE(way.name);
        CloseWithTheFlagOn(Which::help, way);
    }
}

// The flag is read when Help closes, not when it opened.
TEST_F(InfoWindowsTest, HelpReadsTheFlagWhenItCloses) {
    for (bool at_open : {false, true}) {
        SCOPED_TRACE(at_open ? "switched off while open" : "switched on while open");
        console_.PressStayOnTop(at_open);
        info_windows().show_help(console_.hwnd(), console_.flag());
        ASSERT_NE(info_windows().help_window(), nullptr);
        console_.PressStayOnTop(!at_open);
        console_.TakeRequests();
        Click(nullptr, ChildWithText(info_windows().help_window(), kReturn));
        ASSERT_TRUE(PumpUntil([] { return info_windows().help_window() == nullptr; }));
        if (at_open) {
            EXPECT_EQ(console_.TakeRequests(), Requests{});
            EXPECT_FALSE(IsTopmost(console_.hwnd()));
        } else {
            EXPECT_TRUE(WentBackOnTopBeforeTheWindowWent(console_.TakeRequests(), console_.hwnd()));
        }
    }
}

TEST_F(InfoWindowsTest, NeitherWindowTouchesThePlacementWhenNotStayingOnTop) {
    ASSERT_TRUE(RunAbout([](HWND about) { CloseMessage(about, nullptr); }));
    info_windows().show_help(console_.hwnd(), console_.flag());
    ASSERT_NE(info_windows().help_window(), nullptr);
    CloseMessage(info_windows().help_window(), nullptr);
    ASSERT_TRUE(PumpUntil([] { return info_windows().help_window() == nullptr; }));
    EXPECT_EQ(console_.TakeRequests(), Requests{});
}

}  // namespace
