// The focus comes back: when the console, the About window or the Help
// window is activated again after another program was in front (or after a
// minimise and restore), the control that had the focus has it again, and
// typing and Tab go on from there. Activation changes come from clicks and
// from the system's own calls, as the task bar makes them; keys go through
// the input queue.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/wine/support/input.h"
#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

using namespace std::chrono_literals;

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(s_.console(), nullptr);
        ASSERT_TRUE(bring_to_front(s_.console()));
    }

    HWND item(ControlId id) const { return s_.item(id); }

    // A click on the "hy dyce" label, which takes no focus.
    ::testing::AssertionResult click_console_back() { return activate_by_click(s_.console(), centre_of(item(idc_Lblhydycetxt))); }

    ::testing::AssertionResult other_program_in_front(HWND window) {
        if (auto r = other_.activate(); !r) return r;
        if (!wait_until([&] { return active_of(window) == nullptr; }, 3s)) {
            return ::testing::AssertionFailure() << "still active";
        }
        return ::testing::AssertionSuccess();
    }

    SparSession s_{nullptr};
    OtherWindow other_;
};

TEST_F(FocusTest, ConsoleGivesTheFocusBackToTheControlThatHadIt) {
    // The first time, the score board has it.
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_txtscoreboard)));

    ASSERT_TRUE(click_on(item(idc_txtnuminspar)));
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_txtnuminspar)));
    type_text(L"4");
    // As a person sees the digit appear before turning to another program:
    // a key still in the console's queue when another window comes to the
    // front goes to no box.
    ASSERT_TRUE(wait_until([&] { return text_of(item(idc_txtnuminspar)) == L"4"; }, 3s));
    ASSERT_TRUE(other_program_in_front(s_.console()));
    ASSERT_TRUE(click_console_back());
    EXPECT_TRUE(focus_comes_to(s_.console(), item(idc_txtnuminspar)));
    type_text(L"2");
    EXPECT_TRUE(wait_until([&] { return text_of(item(idc_txtnuminspar)) == L"42"; }, 3s))
        << testing::PrintToString(text_of(item(idc_txtnuminspar)));

    // On a button, after Tab; back through the task bar. Tab goes on from it.
    press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_cmdscrollxps)));
    ASSERT_TRUE(other_program_in_front(s_.console()));
    ASSERT_TRUE(bring_to_front(s_.console()));
    EXPECT_TRUE(focus_comes_to(s_.console(), item(idc_cmdscrollxps)));
    press_key(VK_TAB);
    EXPECT_TRUE(focus_comes_to(s_.console(), item(idc_txtterms)));
}

TEST_F(FocusTest, ConsoleGivesTheFocusBackAfterAMinimiseAndRestore) {
    ASSERT_TRUE(click_on(item(idc_numofdyce)));
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_numofdyce)));
    // As the task bar does it.
    ShowWindow(s_.console(), SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(s_.console()) != FALSE; }, 3s));
    ShowWindow(s_.console(), SW_RESTORE);
    ASSERT_TRUE(wait_until([&] { return !IsIconic(s_.console()) && GetForegroundWindow() == s_.console(); }, 3s));
    EXPECT_TRUE(focus_comes_to(s_.console(), item(idc_numofdyce)));
    press_key(VK_TAB, kShift);
    EXPECT_TRUE(focus_comes_to(s_.console(), item(idc_Command1)));
}

// About has one control that takes the focus; without care the focus would
// land on the window itself, where Enter and Esc do nothing.
TEST_F(FocusTest, AboutGivesTheFocusBackToItsButton) {
    ASSERT_TRUE(click_on(item(idc_txthydyce)));
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_txthydyce)));
    HWND about = s_.open(InfoWindow::about);
    ASSERT_NE(about, nullptr);
    HWND ok = closing_button(about);
    ASSERT_TRUE(other_program_in_front(about));
    // A click on its signature.
    ASSERT_TRUE(activate_by_click(about, centre_of(FindWindowExW(about, nullptr, L"Static", L"zolvanta"))));
    EXPECT_TRUE(focus_comes_to(about, ok));
    press_key(VK_RETURN);
    ASSERT_TRUE(closes(about));
    // Back on the console, where the focus was before.
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == s_.console(); }, 3s));
    EXPECT_TRUE(focus_comes_to(s_.console(), item(idc_txthydyce)));
}

// Help covers the console; each keeps its own focus as the user goes from
// one to the other and to another program.
TEST_F(FocusTest, HelpGivesTheFocusBackToTheControlThatHadIt) {
    HWND help = s_.open(InfoWindow::help);  // the focus the first time in the help text
    ASSERT_NE(help, nullptr);
    HWND back = closing_button(help);
    press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(help, back));
    ASSERT_TRUE(other_program_in_front(help));
    ASSERT_TRUE(bring_to_front(help));
    EXPECT_TRUE(focus_comes_to(help, back));

    ASSERT_TRUE(bring_to_front(s_.console()));
    EXPECT_TRUE(focus_comes_to(s_.console(), item(idc_txtscoreboard)));
    ASSERT_TRUE(bring_to_front(help));
    EXPECT_TRUE(focus_comes_to(help, back));
    press_key(VK_SPACE);
    EXPECT_TRUE(closes(help));
}

}  // namespace
}  // namespace zol::test
