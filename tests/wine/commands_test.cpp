// Every console button in the practice room: the exact lines each posts,
// the pacing of scrolls, the toggles' colours and placement, and clicks
// handled inside a running pause.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/input_win.h"
#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

using namespace std::chrono_literals;

std::vector<TranscriptLine> user_records(const SparSession& s) {
    std::vector<TranscriptLine> out;
    for (auto& l : transcript_lines(s.transcript())) {
        if (l.text.rfind(L"proctor:  ", 0) == 0) out.push_back(std::move(l));
    }
    return out;
}

TEST(Commands, RollInitAndXpPostExactlyTheirLines) {
    SparSession s;
    click(s.item(idc_cmdrolldyce));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice 4-sides92"));

    // Out of range: the box is pulled into 1..15 and the line follows it.
    s.set_box(idc_numofdyce, L"99");
    s.set_box(idc_txtnumofdyce, L"");
    click(s.item(idc_cmdrolldyce));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice 15-sides"));
    EXPECT_EQ(text_of(s.item(idc_numofdyce)), L"15");

    // In range and not whole: sent as typed, the box left alone.
    s.set_box(idc_numofdyce, L" 2.5 ");
    s.set_box(idc_txtnumofdyce, L"20");
    click(s.item(idc_cmdrolldyce));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice 2.5-sides20"));
    EXPECT_EQ(text_of(s.item(idc_numofdyce)), L" 2.5 ");

    click(s.item(idc_Command1));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice1-sides100"));

    s.set_box(idc_txthydyce, L"92");
    s.set_box(idc_txtnuminspar, L"4");
    click(s.item(idc_cmdscrollxps));
    ASSERT_TRUE(s.wait_for(L"proctor:  ~*~ thys spar is worth 1380 xp's ~*~"));

    // Empty boxes read as 0 and are rewritten so.
    s.set_box(idc_txthydyce, L"");
    s.set_box(idc_txtnuminspar, L"");
    click(s.item(idc_cmdscrollxps));
    ASSERT_TRUE(s.wait_for(L"proctor:  ~*~ thys spar is worth 0 xp's ~*~"));
    EXPECT_EQ(text_of(s.item(idc_txthydyce)), L"0");
    EXPECT_EQ(text_of(s.item(idc_txtnuminspar)), L"0");
}

// A count or xp box that holds no number posts nothing: the console beeps
// and puts the focus in the box, and keeps working.
TEST(Commands, BoxesWithoutANumberAreRefused) {
    SparSession s;
    s.set_box(idc_numofdyce, L"lots");
    click(s.item(idc_cmdrolldyce));
    ASSERT_TRUE(wait_until([&] { return focus_of(s.console()) == s.item(idc_numofdyce); }, 3s));
    s.set_box(idc_txthydyce, L"92");
    s.set_box(idc_txtnuminspar, L"four");
    click(s.item(idc_cmdscrollxps));
    ASSERT_TRUE(wait_until([&] { return focus_of(s.console()) == s.item(idc_txtnuminspar); }, 3s));
    EXPECT_EQ(text_of(s.item(idc_numofdyce)), L"lots");

    click(s.item(idc_Command1));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice1-sides100"));
    EXPECT_EQ(s.posted_lines(), std::vector<std::wstring>{L"//roll-dice1-sides100"});
}

TEST(Commands, StampPostsTheDateAndTime) {
    SparSession s;
    click(s.item(idc_cmddatetyme));
    ASSERT_TRUE(wait_for_posted_lines(s.transcript(), 1, 5s));
    const std::wstring line = s.posted_lines()[0];
    ASSERT_GE(line.size(), 12u);
    EXPECT_EQ(line.substr(0, 4), L"~*~ ");
    EXPECT_EQ(line.substr(line.size() - 4), L" ~*~");
    // The date holds the current year.
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_NE(line.find(std::to_wstring(now.wYear)), std::wstring::npos) << line;
}

// A nine-line scroll arrives line by line, one second apart, every
// character of the box posted once.
TEST(Commands, ScrollPostsEachLineOneSecondApart) {
    SparSession s;
    std::wstring box;
    for (int i = 1; i <= 9; ++i) box += L"round " + std::to_wstring(i) + (i < 9 ? L"\r\n" : L"");
    s.set_box(idc_txtterms, box);
    click(s.item(idc_cmdscrollterms));
    ASSERT_TRUE(wait_for_posted_lines(s.transcript(), 9, 15s));
    const auto records = user_records(s);
    ASSERT_EQ(records.size(), 9u);
    std::vector<long long> gaps;
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].text, L"proctor:  round " + std::to_wstring(i + 1));
        if (i > 0) gaps.push_back(records[i].ms - records[i - 1].ms);
    }
    std::sort(gaps.begin(), gaps.end());
    // Printed for the record; the bounds only catch a pause that is plainly
    // wrong (none, or the half-to-one-and-a-half-second kind).
    std::printf("scroll spacing ms: min %lld median %lld max %lld\n", gaps.front(), gaps[gaps.size() / 2],
                gaps.back());
    EXPECT_GE(gaps.front(), 950);
    EXPECT_LE(gaps.back(), 1300);
}

TEST(Commands, EmptyBoxPostsTheAdvertisement) {
    SparSession s;
    s.set_box(idc_txtscoreboard, L"");
    click(s.item(idc_cmdscoreboard));
    ASSERT_TRUE(wait_for_posted_lines(s.transcript(), 2, 5s));
    const auto lines = s.posted_lines();
    EXPECT_EQ(lines[0],
              L"   ~*~ zolvanta's spar tools 7.8 < A href=\"http://zolspar.example.org\">download</A> ~*~");
    EXPECT_EQ(lines[1], L"        ~*~ zolspar.example.org ~*~");
    const auto records = user_records(s);
    EXPECT_GE(records[1].ms - records[0].ms, 950);
}

// A click during a scroll's pause runs at once: its line lands between two
// scroll lines, not after the scroll.
TEST(Commands, ClickDuringAScrollIsHandledInsideIt) {
    SparSession s;
    click(s.item(idc_cmdscrollterms));
    ASSERT_TRUE(wait_for_posted_lines(s.transcript(), 2, 5s));
    click(s.item(idc_Command1));
    ASSERT_TRUE(wait_for_posted_lines(s.transcript(), 9, 15s));
    const auto lines = s.posted_lines();
    const auto init = std::find(lines.begin(), lines.end(), L"//roll-dice1-sides100");
    ASSERT_NE(init, lines.end());
    EXPECT_LT(init - lines.begin(), 5);
    // Stopping the counter inside a scroll's pause takes effect at once too.
    ASSERT_TRUE(turn_counter_on(s.console()));
    click(s.item(idc_cmdcounterstart));
    EXPECT_TRUE(wait_until([&] { return text_of(s.item(idc_lblhitpoints)).find(L"^v^") != std::wstring::npos; }, 2s));
}

TEST(Commands, TogglesLightUpAndStayOnTopPlacesTheWindow) {
    SparSession s(nullptr);
    const int ids[] = {idc_cmdcounterstart, idc_say_score, idc_ontop};
    const COLORREF magenta = RGB(255, 0, 255);
    for (int id : ids) {
        HWND b = s.item(static_cast<ControlId>(id));
        RECT r;
        GetClientRect(b, &r);
        EXPECT_NE(colour_at(b, 4, r.bottom - 4), magenta);
        click(b);
        EXPECT_TRUE(wait_until([&] { return colour_at(b, 4, r.bottom - 4) == magenta; }, 2s)) << id;
    }
    EXPECT_TRUE(GetWindowLongW(s.console(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    for (int id : ids) {
        HWND b = s.item(static_cast<ControlId>(id));
        RECT r;
        GetClientRect(b, &r);
        click(b);
        EXPECT_TRUE(wait_until([&] { return colour_at(b, 4, r.bottom - 4) != magenta; }, 2s)) << id;
        EXPECT_EQ(text_of(b).empty(), false);
    }
    EXPECT_FALSE(GetWindowLongW(s.console(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(text_of(s.item(idc_ontop)), L"stay &on top");
}

}  // namespace
}  // namespace zol::test
