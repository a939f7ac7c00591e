// The console's keyboard: Tab moves through the controls and Alt with an
// underlined letter presses a button, also while a pause runs. The console is
// built in this process over an empty in-memory host, and keys are posted to
// its queue as the keyboard would.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "chathost/memory_host.h"
#include "console/console_window_win.h"
#include "tests/wine/support/harness.h"

namespace zol {
namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(console_.create(GetModuleHandleW(nullptr), SW_SHOW), nullptr);
        SetForegroundWindow(console_.window());
        pump_.Pause(0);
    }

    HWND item(int id) const { return GetDlgItem(console_.window(), id); }

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
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        // Lets the console handle them.
        for (int i = 0; i < 10; ++i) {
            pump_.Pause(0);
            Sleep(10);
        }
    }

    MemoryHost host_;
    MessagePump pump_{[this](MSG& msg) { return console_.is_dialog_message(msg); }};
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
    SetForegroundWindow(window);
    HWND label = GetDlgItem(window, idc_lblhitpoints);
    const std::wstring blanks(41, L' ');
    auto alt = [](WORD letter) {
        INPUT in[4]{};
        const WORD keys[4] = {VK_MENU, letter, letter, VK_MENU};
        for (int i = 0; i < 4; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wVk = keys[i];
            in[i].ki.dwFlags = (i >= 2) ? KEYEVENTF_KEYUP : 0;
        }
        SendInput(4, in, sizeof(INPUT));
    };
    using namespace std::chrono_literals;
    alt('C');
    EXPECT_TRUE(test::wait_until([&] { return test::text_of(label) == blanks; }, 2s));
    alt('D');  // the stamp: posts nowhere, then pauses a second
    Sleep(100);
    const auto start = std::chrono::steady_clock::now();
    alt('C');
    EXPECT_TRUE(test::wait_until([&] { return test::text_of(label).find(L"^v^") != std::wstring::npos; }, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 700ms);
}

}  // namespace
}  // namespace zol
