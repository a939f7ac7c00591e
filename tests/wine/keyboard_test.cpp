// The keyboard as a Windows user expects it: Tab and Shift+Tab go round the
// tab order, and Alt with an underlined letter presses its control or opens
// its menu item, in the console and in the About and Help windows, also while
// a pause runs. Keys go through the system's input queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/console_window_win.h"
#include "tests/fakes/memory_host.h"
#include "tests/wine/support/harness.h"
#include "tests/wine/support/input.h"
#include "tests/wine/support/spar_session.h"

namespace zol {
namespace {

// Key-ups this thread's message loops have taken out of the queue, by key:
// once the last key of a burst is taken, the loop has handled the burst.
int g_key_ups[256] = {};

LRESULT CALLBACK note_key_up(int code, WPARAM removal, LPARAM lparam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lparam);
    if (code == HC_ACTION && removal == PM_REMOVE && (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP)) {
        ++g_key_ups[msg->wParam & 0xFF];
    }
    return CallNextHookEx(nullptr, code, removal, lparam);
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::drop_left_quit();
        hook_ = SetWindowsHookExW(WH_GETMESSAGE, note_key_up, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook_, nullptr);
        ASSERT_NE(console_.create(GetModuleHandleW(nullptr), SW_SHOW), nullptr);
        // In front before the first key: the keys go to the window in front.
        SetForegroundWindow(console_.hwnd());
        ASSERT_TRUE(test::wait_until(
            [&] {
                pump_.Pause(0);
                return GetForegroundWindow() == console_.hwnd();
            },
            std::chrono::seconds(3)));
    }

    void TearDown() override {
        if (hook_) UnhookWindowsHookEx(hook_);
    }

    HWND item(int id) const { return GetDlgItem(console_.hwnd(), id); }

    // Keys as the keyboard sends them, so that the console's loop sees what
    // a user's key presses make of them.
    void key(UINT vk, bool alt = false) {
        std::vector<INPUT> inputs;
        auto add = [&](WORD k, bool up) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = k;
            in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(in);
        };
        if (alt) add(VK_MENU, false);
        add(static_cast<WORD>(vk), false);
        add(static_cast<WORD>(vk), true);
        if (alt) add(VK_MENU, true);
        const WORD last = alt ? VK_MENU : static_cast<WORD>(vk);
        const int seen = g_key_ups[last];
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        // Lets the console handle them: its loop handles what it takes out of
        // the queue before it returns.
        EXPECT_TRUE(test::wait_until(
            [&] {
                pump_.Pause(0);
                return g_key_ups[last] > seen;
            },
            std::chrono::seconds(5)))
            << "the keys did not arrive";
    }

    HHOOK hook_ = nullptr;
    MemoryHost host_;
    ui::MessagePump pump_{[this](MSG& msg) { return console_.is_dialog_message(msg); }};
    ConsoleWindow console_{host_, pump_};
};

TEST_F(KeyboardTest, TabMovesFromTheScoreBoardToItsButtonAndOn) {
    SetFocus(item(idc_txtscoreboard));
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), item(idc_cmdscoreboard));
    key(VK_TAB);
    EXPECT_EQ(GetFocus(), item(idc_cmdcounterstart));
}

// Alt with an underlined letter, typed at the real console while a text box
// has the focus, presses the button, also while the stamp's pause runs.
TEST(Keyboard, AltLetterPressesItsButton) {
    test::Process console = test::Process::start(L"zolspar.exe");
    HWND window = test::wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console.id());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(test::bring_to_front(window));
    ASSERT_TRUE(test::focus_comes_to(window, GetDlgItem(window, idc_txtscoreboard)));
    HWND label = GetDlgItem(window, idc_lblhitpoints);
    using namespace std::chrono_literals;
    test::press_alt('C');
    EXPECT_TRUE(test::wait_until([&] { return test::counter_is_running(window); }, 2s));
    // The stamp: posts nowhere, then pauses a second. Keys are handled in the
    // order they came, so the next one arrives during that second.
    const auto start = std::chrono::steady_clock::now();
    test::press_alt('D');
    test::press_alt('C');
    EXPECT_TRUE(test::wait_until([&] { return test::text_of(label).find(L"^v^") != std::wstring::npos; }, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 700ms);
}

using namespace std::chrono_literals;
using test::focus_comes_to;
using test::press_alt;
using test::press_key;

// The controls that take the focus, in tab order.
const ControlId kTabOrder[] = {
    idc_txtscoreboard, idc_cmdscoreboard, idc_cmdcounterstart, idc_txthydyce, idc_txtnuminspar,
    idc_cmdscrollxps,  idc_txtterms,      idc_cmdscrollterms,  idc_txtnumofdyce, idc_cmddatetyme,
    idc_cmdrolldyce,   idc_Command1,      idc_numofdyce,       idc_say_score,    idc_ontop,
};

TEST(Keyboard, TabAndShiftTabGoRoundTheTabOrder) {
    test::SparSession s(nullptr);
    ASSERT_TRUE(test::bring_to_front(s.console()));
    ASSERT_TRUE(focus_comes_to(s.console(), s.item(idc_txtscoreboard)));
    const std::size_t n = std::size(kTabOrder);
    for (std::size_t i = 1; i <= n; ++i) {
        press_key(VK_TAB);
        ASSERT_TRUE(focus_comes_to(s.console(), s.item(kTabOrder[i % n]))) << "Tab number " << i;
    }
    for (std::size_t i = 1; i <= n; ++i) {
        press_key(VK_TAB, test::kShift);
        ASSERT_TRUE(focus_comes_to(s.console(), s.item(kTabOrder[(n - i) % n]))) << "Shift+Tab number " << i;
    }
}

// Esc cancels nothing on the console and must not close it. A multi-line box
// that the dialog keys reach takes Esc as "close the dialog" and posts
// WM_CLOSE to its parent, which here would end the program and lose the
// score board.
TEST(Keyboard, EscapeInAnyBoxLeavesTheConsoleOpenAndItsTextAlone) {
    test::SparSession s(nullptr);
    ASSERT_TRUE(test::bring_to_front(s.console()));
    const struct {
        ControlId box, next;
    } boxes[] = {{idc_txtscoreboard, idc_cmdscoreboard},
                 {idc_txtterms, idc_cmdscrollterms},
                 {idc_txthydyce, idc_txtnuminspar},
                 {idc_numofdyce, idc_say_score}};
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.box);
        ASSERT_TRUE(test::click_on(s.item(b.box)));
        ASSERT_TRUE(focus_comes_to(s.console(), s.item(b.box)));
        const std::wstring text = test::text_of(s.item(b.box));
        press_key(VK_ESCAPE);
        // A WM_CLOSE posted on Esc is handled before the Tab that follows.
        press_key(VK_TAB);
        ASSERT_TRUE(focus_comes_to(s.console(), s.item(b.next)));
        ASSERT_TRUE(IsWindow(s.console())) << "Esc closed the console";
        EXPECT_EQ(test::text_of(s.item(b.box)), text);
    }
    EXPECT_TRUE(s.console_process().running());
}

class AccessKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::bring_to_front(s_.console()));
        ASSERT_TRUE(focus_comes_to(s_.console(), s_.item(idc_txtscoreboard)));
    }

    bool lit(ControlId id) const {
        RECT r{};
        GetClientRect(s_.item(id), &r);
        return test::colour_shown(s_.item(id), 4, r.bottom - 4) == RGB(255, 0, 255);
    }
    bool topmost() const { return (GetWindowLongW(s_.console(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    bool counting() const { return test::counter_is_running(s_.console()); }
    bool posted(std::size_t n) const { return s_.posted_lines().size() >= n; }

    test::SparSession s_;
};

// Every access key of the console, typed while the score board has the
// focus, does what a click on its control does, once.
TEST_F(AccessKeysTest, EveryAccessKeyOfTheConsolePressesItsControl) {
    s_.set_box(idc_txthydyce, L"92");
    s_.set_box(idc_txtnuminspar, L"4");
    s_.set_box(idc_txtscoreboard, L"board");
    s_.set_box(idc_txtterms, L"terms");

    const struct {
        char letter;
        std::size_t lines;  // posted so far once it has done its work
    } posting[] = {{'I', 1}, {'R', 2}, {'X', 3}, {'D', 4}, {'B', 5}, {'T', 6}};
    for (const auto& key : posting) {
        press_alt(key.letter);
        ASSERT_TRUE(test::wait_until([&] { return posted(key.lines); }, 5s)) << "Alt+" << key.letter;
    }
    const auto lines = s_.posted_lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], L"//roll-dice1-sides100");
    EXPECT_EQ(lines[1], L"//roll-dice 4-sides92");
    EXPECT_EQ(lines[2], L"~*~ thys spar is worth 1380 xp's ~*~");
    EXPECT_TRUE(lines[3].starts_with(L"~*~ ") && lines[3].ends_with(L" ~*~")) << testing::PrintToString(lines[3]);
    EXPECT_EQ(lines[4], L"board");
    EXPECT_EQ(lines[5], L"terms");

    // The toggles, each on and off again.
    press_alt('C');
    EXPECT_TRUE(test::wait_until([&] { return counting(); }, 3s)) << "Alt+C";
    press_alt('C');
    EXPECT_TRUE(test::wait_until([&] { return !counting(); }, 3s)) << "Alt+C again";
    press_alt('Y');
    EXPECT_TRUE(test::wait_until([&] { return lit(idc_say_score); }, 3s)) << "Alt+Y";
    press_alt('Y');
    EXPECT_TRUE(test::wait_until([&] { return !lit(idc_say_score); }, 3s)) << "Alt+Y again";
    press_alt('O');
    EXPECT_TRUE(test::wait_until([&] { return topmost(); }, 3s)) << "Alt+O";
    press_alt('O');
    EXPECT_TRUE(test::wait_until([&] { return !topmost(); }, 3s)) << "Alt+O again";

    // The menu: Alt+A opens About, Alt+K closes it; Alt+H opens Help, and
    // Alt+R there is return, not roll.
    ASSERT_TRUE(s_.open_and_close(test::InfoWindow::about, [](HWND) { press_alt('K'); })) << "Alt+A, Alt+K";
    ASSERT_TRUE(s_.open_and_close(test::InfoWindow::help, [](HWND) { press_alt('R'); })) << "Alt+H, Alt+R";

    // Back on the console, where the focus was (on the last button pressed,
    // which takes the focus as a click would): one more init, and nothing
    // else was posted on the way.
    ASSERT_TRUE(focus_comes_to(s_.console(), s_.item(idc_ontop)));
    press_alt('I');
    ASSERT_TRUE(test::wait_until([&] { return posted(7); }, 5s));
    EXPECT_EQ(s_.posted_lines().size(), 7u);
    EXPECT_EQ(s_.posted_lines().back(), L"//roll-dice1-sides100");
    EXPECT_FALSE(topmost());
}

// About closes on its button by Enter, Esc and Space alike; Help's return
// button by Enter and Space once Tab has reached it, and Help on Esc
// wherever its focus is. Each gives the focus back to the score board.
TEST_F(AccessKeysTest, AboutAndHelpCloseFromTheKeyboard) {
    using test::InfoWindow;
    const auto key = [](WORD vk) { return [vk](HWND) { press_key(vk); }; };
    const auto on_return = [](WORD vk) {
        return [vk](HWND help) {
            // Enter in the help text does nothing: it is read-only, not a button.
            press_key(VK_RETURN);
            press_key(VK_TAB);
            ASSERT_TRUE(focus_comes_to(help, test::closing_button(help)));
            EXPECT_TRUE(IsWindow(help));
            press_key(vk);
        };
    };
    const struct {
        const char* name;
        InfoWindow window;
        std::function<void(HWND)> close;
    } ways[] = {
        {"About: Enter", InfoWindow::about, key(VK_RETURN)},
        {"About: Esc", InfoWindow::about, key(VK_ESCAPE)},
        {"About: Space", InfoWindow::about, key(VK_SPACE)},
        {"Help: Enter on return", InfoWindow::help, on_return(VK_RETURN)},
        {"Help: Space on return", InfoWindow::help, on_return(VK_SPACE)},
        {"Help: Esc in the help text", InfoWindow::help, key(VK_ESCAPE)},
        {"Help: Esc on return", InfoWindow::help, on_return(VK_ESCAPE)},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(s_.open_and_close(way.window, way.close, s_.item(idc_txtscoreboard)));
    }
    EXPECT_EQ(s_.posted_lines(), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace zol
