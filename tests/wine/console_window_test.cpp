// The console as a user and a screen reader meet it: started as the real
// exe, found by its caption, every control in place at 96 dpi.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "console/console_layout.h"
#include "console/console_window_win.h"
#include "tests/fakes/memory_host.h"
#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

using namespace std::chrono_literals;

class ConsoleWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        console_ = Process::start(L"zolspar.exe");
        ASSERT_TRUE(console_.running());
        window_ = wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console_.id());
        ASSERT_NE(window_, nullptr);
    }

    HWND item(int id) const { return GetDlgItem(window_, id); }

    // The control's rectangle in the console's client coordinates.
    RECT client_rect_of(int id) const {
        RECT r{};
        GetWindowRect(item(id), &r);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    Process console_;
    HWND window_ = nullptr;
};

TEST_F(ConsoleWindowTest, ShowsEveryControlWithItsTextAndPlaceAt96Dpi) {
    expect_console_matches_its_layout(window_, 96);
    const std::wstring terms = text_of(item(idc_txtterms));
    EXPECT_EQ(terms.size(), 236u);
    EXPECT_NE(terms.find(L"skyp you once then dq you if you are not \r\nhere"), std::wstring::npos);
    EXPECT_EQ(terms.substr(terms.size() - 19), L"~*~ that's it ~*~\r\n");

    // The banner: 41 characters around "^v^", decoded from Windows-1252.
    const std::wstring banner = text_of(item(idc_lblhitpoints));
    ASSERT_EQ(banner.size(), 41u);
    EXPECT_EQ(banner.substr(0, 8), L"~\u00B7\u00A5 \u00BB\u00A7\u00AB:");
    EXPECT_EQ(banner.substr(19, 3), L"^v^");
    EXPECT_EQ(banner.back(), L'~');
}

TEST_F(ConsoleWindowTest, BoxesHaveTheirLimitsAndTheScannerStaysHidden) {
    EXPECT_EQ(SendMessageW(item(idc_txtscoreboard), EM_GETLIMITTEXT, 0, 0), 500);
    EXPECT_EQ(SendMessageW(item(idc_txtterms), EM_GETLIMITTEXT, 0, 0), 500);
    EXPECT_GT(SendMessageW(item(idc_numofdyce), EM_GETLIMITTEXT, 0, 0), 100000);

    HWND scanner = item(idc_zolvantachat81);
    ASSERT_NE(scanner, nullptr);
    // Whatever size it is asked to take, it keeps 2400 x 1380 twips.
    SetWindowPos(scanner, nullptr, 0, 0, 10, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(scanner, &r);
    EXPECT_EQ(r.right - r.left, 160);
    EXPECT_EQ(r.bottom - r.top, 92);
}

TEST_F(ConsoleWindowTest, TabVisitsTheControlsInTabOrder) {
    const int order[] = {idc_txtscoreboard, idc_cmdscoreboard, idc_cmdcounterstart, idc_txthydyce,
                         idc_txtnuminspar,  idc_cmdscrollxps,  idc_txtterms,        idc_cmdscrollterms,
                         idc_txtnumofdyce,  idc_cmddatetyme,   idc_cmdrolldyce,     idc_Command1,
                         idc_numofdyce,     idc_say_score,     idc_ontop};
    HWND at = item(order[0]);
    for (std::size_t i = 1; i <= std::size(order); ++i) {
        at = GetNextDlgTabItem(window_, at, FALSE);
        EXPECT_EQ(GetDlgCtrlID(at), order[i % std::size(order)]) << "step " << i;
    }
}

// Menus cannot be read from another process, so this one builds the console
// in the test's own process, over an empty in-memory host.
TEST(ConsoleInProcess, MenuBarHoldsAboutAndHelp) {
    MemoryHost host;
    ui::MessagePump pump;
    ConsoleWindow console(host, pump);
    ASSERT_NE(console.create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE), nullptr);
    HMENU menu = GetMenu(console.hwnd());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    wchar_t text[32];
    GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&about");
    GetMenuStringW(menu, 1, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&help");
    EXPECT_FALSE(console.stayontop);
}

// A click that arrives while a pause runs is handled inside the pause, not
// after it: the stamp pauses one second after its line, and the counter
// pressed right after it (clicks are handled in the order they came, so it
// comes during that second) clears the label at once.
TEST_F(ConsoleWindowTest, ClickDuringPauseIsHandledDuringIt) {
    const auto start = std::chrono::steady_clock::now();
    click(item(idc_cmddatetyme));
    ASSERT_TRUE(turn_counter_on(window_));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 800ms);
}

// Closing the console while pauses are running (two scrolls nested) ends the
// program at once. Clicks and the close are handled in the order they came:
// the score board's inside the terms' first pause, the close inside the score
// board's.
TEST_F(ConsoleWindowTest, CloseDuringNestedPausesEndsTheProgram) {
    click(item(idc_cmdscrollterms));
    click(item(idc_cmdscoreboard));
    const auto start = std::chrono::steady_clock::now();
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(console_.wait(2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

// The system's colours set apart for one test, as a high-contrast or custom
// scheme sets them; the old ones come back however the test ends (the
// change lasts in the Wine prefix otherwise).
class SchemeForTest {
public:
    SchemeForTest(std::initializer_list<std::pair<int, COLORREF>> colours) {
        for (const auto& [element, colour] : colours) {
            elements_.push_back(element);
            old_.push_back(GetSysColor(element));
            new_.push_back(colour);
        }
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), new_.data());
    }
    ~SchemeForTest() { SetSysColors(static_cast<int>(elements_.size()), elements_.data(), old_.data()); }

private:
    std::vector<int> elements_;
    std::vector<COLORREF> old_, new_;
};

// Where the layout gives a system colour, the console draws that system
// colour, whatever the scheme: the hit-point label's text in the window
// text colour, not the button text's; the boxes on the window background;
// the buttons we draw on the button face. (Standard push buttons are drawn
// by the visual style when there is one, as in every program; without one,
// as in high contrast, by the system in these same colours.)
TEST(ConsoleColours, FollowTheSystemSchemeWhereTheLayoutNamesASystemColour) {
    const COLORREF window_text = RGB(0, 0, 255), button_text = RGB(255, 0, 0);
    const COLORREF face = RGB(200, 230, 200), window_back = RGB(255, 255, 200);
    SchemeForTest scheme({{COLOR_WINDOWTEXT, window_text},
                          {COLOR_BTNTEXT, button_text},
                          {COLOR_BTNFACE, face},
                          {COLOR_WINDOW, window_back}});
    Process console = Process::start(L"zolspar.exe");
    HWND window = wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console.id());
    ASSERT_NE(window, nullptr);

    // Text pixels, blended with the background where the font is smoothed,
    // lean to one text colour or the other.
    const auto leaning = [](const std::vector<COLORREF>& pixels, bool to_blue) {
        return std::count_if(pixels.begin(), pixels.end(), [&](COLORREF c) {
            const int r = GetRValue(c), b = GetBValue(c);
            return to_blue ? b > r + 60 : r > b + 60;
        });
    };
    const auto most_common = [](const std::vector<COLORREF>& pixels) {
        std::map<COLORREF, int> n;
        for (COLORREF c : pixels) ++n[c];
        return std::max_element(n.begin(), n.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    };
    struct Row {
        int id;
        COLORREF back;
        bool text_blue;  // text in the window text colour; else the button text's
    };
    const Row rows[] = {
        {idc_lblhitpoints, face, true},          {idc_say_score, face, false},  {idc_cmdscrollxps, face, false},
        {idc_lblsycestxt, face, false},          {idc_txtscoreboard, window_back, false},
        {idc_numofdyce, window_back, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const std::vector<COLORREF> pixels = pixels_shown(GetDlgItem(window, row.id));
        ASSERT_FALSE(pixels.empty());
        EXPECT_EQ(most_common(pixels), row.back);
        // The boxes' text has a colour of its own (magenta leans to both).
        if (row.back == window_back) continue;
        EXPECT_GT(leaning(pixels, row.text_blue), 0);
        EXPECT_EQ(leaning(pixels, !row.text_blue), 0);
    }

    // About's own surface, wherever no control lies over it, is the button
    // face; its other colours are fixed ones. (Help's text box covers all
    // of Help's surface.)
    PostMessageW(window, WM_COMMAND, idm_about, 0);
    HWND about = wait_for_window(L"frmaboutzolspar", nullptr, console.id());
    ASSERT_NE(about, nullptr);
    const std::vector<COLORREF> pixels = pixels_shown(about);
    RECT client{};
    GetClientRect(about, &client);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(client.right) * client.bottom);
    int surface = 0;
    for (int y = 0; y < client.bottom; y += 4) {
        for (int x = 0; x < client.right; x += 4) {
            if (ChildWindowFromPointEx(about, POINT{x, y}, CWP_SKIPINVISIBLE) != about) continue;
            ++surface;
            ASSERT_EQ(pixels[static_cast<std::size_t>(y) * client.right + x], face) << x << "," << y;
        }
    }
    EXPECT_GT(surface, 100);
    PostMessageW(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(about); }, 5s));
}

}  // namespace
}  // namespace zol::test
