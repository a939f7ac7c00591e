// Every press is one press, however fast the next one follows: double and
// triple clicks through the system's input queue on the console's graphical
// buttons and on a standard one, and Space and Enter on a focused button.
//
// Input is handled in the order it was given, so after each burst of clicks
// the test clicks into the "hy dyce" box: once that box has the focus, every
// press before it has been handled and its lines are in the room.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine/support/input.h"
#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::wstring>;

const std::wstring kInit = L"//roll-dice1-sides100";
const std::wstring kRoll = L"//roll-dice 4-sides92";
const std::wstring kXp = L"~*~ thys spar is worth 1380 xp's ~*~";
const COLORREF kMagenta = RGB(255, 0, 255);

Lines repeated(const std::wstring& line, std::size_t n) { return Lines(n, line); }

class PressesTest : public ::testing::Test {
public:
    HWND item(ControlId id) const { return s_.item(id); }

    // Clicks `clicks` times in one burst on the control, then waits until
    // the console has handled them.
    void burst(ControlId id, int clicks) {
        ASSERT_TRUE(click_on(item(id), clicks)) << id;
        settle();
    }

    // Everything pressed so far has been handled once a click into the
    // marker box has given it the focus. A click or key before it has taken
    // the focus to a button.
    void settle() {
        HWND marker = item(idc_txthydyce);
        ASSERT_TRUE(wait_until([&] { return focus_of(s_.console()) != marker; }, 3s))
            << "the last press did not take the focus from the marker box";
        ASSERT_TRUE(click_on(marker));
        ASSERT_TRUE(focus_comes_to(s_.console(), marker));
    }

    // The lines posted since the last call.
    Lines new_lines() {
        Lines all = s_.posted_lines();
        Lines fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(seen_, all.size())), all.end());
        seen_ = all.size();
        return fresh;
    }

    bool lit(ControlId id) const {
        RECT r{};
        GetClientRect(item(id), &r);
        return colour_shown(item(id), 4, r.bottom - 4) == kMagenta;
    }
    bool topmost() const { return (GetWindowLongW(s_.console(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    bool counting() const { return counter_is_running(s_.console()); }

protected:
    SparSession s_;
    std::size_t seen_ = 0;
};

// Each click of a double or triple click flips a toggle: a double click
// leaves it as it was, a triple click flips it once.
TEST_F(PressesTest, DoubleAndTripleClicksFlipTheTogglesOncePerClick) {
    const struct {
        ControlId id;
        const char* name;
        std::function<bool(const PressesTest&)> on;  // the toggle's effect beside its colour
    } toggles[] = {
        {idc_ontop, "stay on top", [](const PressesTest& t) { return t.topmost(); }},
        {idc_cmdcounterstart, "counter", [](const PressesTest& t) { return t.counting(); }},
        {idc_say_score, "say score", [](const PressesTest&) { return true; }},
    };
    for (const auto& t : toggles) {
        SCOPED_TRACE(t.name);
        burst(t.id, 2);
        EXPECT_FALSE(lit(t.id)) << "after a double click";
        if (t.id != idc_say_score) {
            EXPECT_FALSE(t.on(*this)) << "after a double click";
        }
        burst(t.id, 3);
        EXPECT_TRUE(lit(t.id)) << "after a triple click";
        EXPECT_TRUE(t.on(*this)) << "after a triple click";
        burst(t.id, 2);
        EXPECT_TRUE(lit(t.id)) << "after another double click";
        EXPECT_TRUE(t.on(*this)) << "after another double click";
        burst(t.id, 1);
        EXPECT_FALSE(lit(t.id)) << "after a single click";
    }
    EXPECT_FALSE(topmost());
}

// Buttons that post a line post it once per click: the graphical init and
// xp buttons and the standard roll button alike.
TEST_F(PressesTest, DoubleAndTripleClicksPostOneLinePerClick) {
    s_.set_box(idc_txthydyce, L"92");
    s_.set_box(idc_txtnuminspar, L"4");
    const struct {
        ControlId id;
        const std::wstring& line;
    } buttons[] = {{idc_Command1, kInit}, {idc_cmdscrollxps, kXp}, {idc_cmdrolldyce, kRoll}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(testing::PrintToString(b.line));
        burst(b.id, 2);
        EXPECT_EQ(new_lines(), repeated(b.line, 2));
        burst(b.id, 3);
        EXPECT_EQ(new_lines(), repeated(b.line, 3));
    }
}

// Space and Enter press the focused button once each, whichever kind it is.
TEST_F(PressesTest, SpaceAndEnterPressTheFocusedButton) {
    ASSERT_TRUE(click_on(item(idc_txtnumofdyce)));
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_txtnumofdyce)));
    press_key(VK_TAB);
    press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_cmdrolldyce)));
    press_key(VK_SPACE);
    press_key(VK_RETURN);
    press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_Command1)));
    press_key(VK_SPACE);
    press_key(VK_RETURN);
    settle();
    EXPECT_EQ(new_lines(), (Lines{kRoll, kRoll, kInit, kInit}));

    // The toggles: Space turns each on, Enter off again.
    ASSERT_TRUE(click_on(item(idc_numofdyce)));
    press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_say_score)));
    press_key(VK_SPACE);
    EXPECT_TRUE(wait_until([&] { return lit(idc_say_score); }, 3s));
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] { return !lit(idc_say_score); }, 3s));
    press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_ontop)));
    press_key(VK_SPACE);
    EXPECT_TRUE(wait_until([&] { return topmost(); }, 3s));
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] { return !topmost(); }, 3s));
    for (int i = 0; i < 3; ++i) press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(s_.console(), item(idc_cmdcounterstart)));
    press_key(VK_SPACE);
    EXPECT_TRUE(wait_until([&] { return counting(); }, 3s));
    press_key(VK_RETURN);
    EXPECT_TRUE(wait_until([&] { return !counting(); }, 3s));
    EXPECT_EQ(new_lines(), Lines{});
}

// The About and Help windows' buttons close their window on the first press
// of a double or triple click; the clicks after it fall on whatever lies
// below and must do no harm. The menu items open one window however often
// they are clicked.
class InfoPressesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bring_to_front(s_.console())); }

    // Double-clicks the window's item on the console's menu bar and waits for
    // the window; null when there is no item to click or no window comes.
    HWND double_click_menu_item(InfoWindow which) {
        const auto item = menu_bar_item_point(s_.console(), {std::wstring(kAboutMenuText), std::wstring(kHelpMenuText)},
                                              which == InfoWindow::about ? 0 : 1);
        if (!item) return nullptr;
        click_at(*item, 2);
        return s_.wait_for_info_window(which);
    }

    SparSession s_;
};

TEST_F(InfoPressesTest, DoubleAndTripleClicksOnAboutAndHelpCloseThemOnceAndHarmNothing) {
    for (int clicks : {2, 3}) {
        SCOPED_TRACE(clicks);
        const auto click_shut = [clicks](HWND window) { ASSERT_TRUE(click_on(closing_button(window), clicks)); };
        ASSERT_TRUE(s_.open_and_close(InfoWindow::about, click_shut));
        EXPECT_TRUE(answers(s_.console()));
        EXPECT_TRUE(IsWindowEnabled(s_.console()));

        // The keys go to the window in front: under load the console can
        // still be on its way back there when About has gone.
        ASSERT_TRUE(bring_to_front(s_.console()));
        // Back in front, the console gives the focus back to a control: the
        // state in which a person presses the next key.
        ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(s_.console()) && focus_of(s_.console()); }, 3s));
        ASSERT_TRUE(s_.open_and_close(InfoWindow::help, click_shut));
        EXPECT_TRUE(answers(s_.console()));
        ASSERT_TRUE(bring_to_front(s_.console()));
    }
    EXPECT_EQ(s_.posted_lines(), Lines{});
}

// A key after the clicks marks the point by which they have been handled.
TEST_F(InfoPressesTest, DoubleClicksOnTheMenuOpenOneWindow) {
    HWND help = double_click_menu_item(InfoWindow::help);
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(focus_comes_to(help, help_text_box(help)));
    press_key(VK_TAB);
    ASSERT_TRUE(focus_comes_to(help, closing_button(help)));
    EXPECT_EQ(s_.windows_open(InfoWindow::help), 1);
    EXPECT_TRUE(answers(s_.console()));
    press_alt('R');
    ASSERT_TRUE(wait_until([&] { return s_.windows_open(InfoWindow::help) == 0; }, 3s));

    ASSERT_TRUE(bring_to_front(s_.console()));
    HWND about = double_click_menu_item(InfoWindow::about);
    ASSERT_NE(about, nullptr);
    // As a person sees it: About in front, its button focused.
    ASSERT_TRUE(focus_comes_to(about, closing_button(about)));
    press_key(VK_ESCAPE);
    ASSERT_TRUE(closes(about));
    // A second About would now be open and take the key; the console takes
    // it, and its button the focus.
    press_alt('Y');
    ASSERT_TRUE(focus_comes_to(s_.console(), s_.item(idc_say_score)));
    EXPECT_EQ(s_.windows_open(InfoWindow::about), 0);
    EXPECT_EQ(s_.posted_lines(), Lines{});
}

}  // namespace
}  // namespace zol::test
