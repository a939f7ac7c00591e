// Dice results counted end to end: the console asks the practice room's
// dice service to roll, the service answers in the room, the console's
// scanner sees the answer and the counter shows and announces it.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

using namespace std::chrono_literals;

// How many of the scanner's looks at the room (one a tick) a test lets pass
// to see that nothing more comes of a line.
constexpr std::size_t kQuietLooks = 4;

// Waits for the service's answer to the user's roll and returns its values.
std::vector<int> wait_for_result(const SparSession& s) {
    std::vector<int> values;
    wait_for_line(
        s.transcript(),
        [&](const TranscriptLine& l) {
            if (l.text.rfind(L"OnlineHost:  proctor rolled", 0) != 0) return false;
            values = dice_values(l.text);
            return true;
        },
        5s);
    return values;
}

int total_of(const std::vector<int>& values) {
    int total = 0;
    for (int v : values) total += hit_points_of(v);
    return total;
}

TEST(Counting, ResultIsShownAndAnnouncedOnceWithSayScoreOn) {
    SparSession s;
    ASSERT_NE(s.console(), nullptr);
    ASSERT_NE(s.room_frame(), nullptr);
    const std::size_t unread = reads_of(s.transcript());
    ASSERT_TRUE(turn_counter_on(s.console()));
    click(s.item(idc_say_score));
    // The scanner captures the room as it stands when started.
    ASSERT_TRUE(wait_for_reads(s.transcript(), unread, 1));

    click(s.item(idc_cmdrolldyce));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice 4-sides92"));
    const std::vector<int> values = wait_for_result(s);
    ASSERT_EQ(values.size(), 4u);
    const std::wstring total = std::to_wstring(total_of(values));

    EXPECT_TRUE(wait_until([&] { return text_of(s.item(idc_lblhitpoints)) == L"~*~ proctor scored " + total + L" ~*~"; },
                           3s))
        << text_of(s.item(idc_lblhitpoints));
    const std::wstring announcement = L"proctor:  ~*~ proctor scored " + total + L" hyt poynts ~*~";
    ASSERT_TRUE(s.wait_for(announcement));

    // Later ticks see the announcement as the last line and the result is
    // never raised again. A line the scanner raised on one look is in the
    // room before its next look.
    ASSERT_TRUE(wait_for_reads(s.transcript(), reads_of(s.transcript()), kQuietLooks + 1));
    int announced = 0;
    for (const auto& l : transcript_lines(s.transcript())) announced += l.text == announcement;
    EXPECT_EQ(announced, 1);
}

TEST(Counting, ResultIsShownButNotAnnouncedWithSayScoreOff) {
    SparSession s;
    const std::size_t unread = reads_of(s.transcript());
    click(s.item(idc_cmdcounterstart));
    ASSERT_TRUE(wait_for_reads(s.transcript(), unread, 1));
    click(s.item(idc_Command1));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice1-sides100"));
    const std::vector<int> values = wait_for_result(s);
    ASSERT_EQ(values.size(), 1u);
    const std::wstring caption = L"~*~ proctor scored " + std::to_wstring(total_of(values)) + L" ~*~";
    EXPECT_TRUE(wait_until([&] { return text_of(s.item(idc_lblhitpoints)) == caption; }, 3s));
    ASSERT_TRUE(wait_for_reads(s.transcript(), reads_of(s.transcript()), kQuietLooks + 1));
    for (const auto& l : transcript_lines(s.transcript())) EXPECT_EQ(l.text.find(L"hyt poynts"), std::wstring::npos);
}

// With two rooms open, lines go to the room in front, and follow it when the
// user brings the other room forward.
TEST(Counting, LinesGoToTheFrontRoom) {
    SparSession s(L"--rooms 2");
    const int first = s.front_room_number();
    ASSERT_GT(first, 0);
    click(s.item(idc_Command1));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice1-sides100"));
    auto lines = transcript_lines(s.transcript());
    EXPECT_EQ(lines.front().room, first);

    HWND mdi = FindWindowExW(s.room_frame(), nullptr, L"MDIClient", nullptr);
    HWND other = FindWindowExW(mdi, s.front_room(), L"AOL Child", nullptr);
    ASSERT_NE(other, nullptr);
    SendMessageW(mdi, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(other), 0);
    ASSERT_TRUE(wait_until([&] { return s.front_room_number() != first; }, 3s));
    const int second = s.front_room_number();

    const std::size_t before = s.line_count();
    click(s.item(idc_cmddatetyme));
    ASSERT_TRUE(wait_until([&] { return s.line_count() > before; }, 5s));
    lines = transcript_lines(s.transcript());
    for (std::size_t i = before; i < lines.size(); ++i) {
        if (lines[i].text.rfind(L"proctor:  ~*~ ", 0) == 0) {
            EXPECT_EQ(lines[i].room, second);
        }
    }
}

// What the user had half typed in the room stays in the input box; the
// posted line is exactly the console's.
TEST(Counting, HalfTypedTextSurvivesAPostedLine) {
    SparSession s;
    HWND input = s.input_box(s.front_room());
    ASSERT_NE(input, nullptr);
    const std::wstring typed = L"i attack wyth my";
    SendMessageW(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    click(s.item(idc_Command1));
    ASSERT_TRUE(s.wait_for(L"proctor:  //roll-dice1-sides100"));
    EXPECT_TRUE(wait_until([&] { return text_of(input) == typed; }, 3s)) << text_of(input);
    // The console has done all it does for the press; what it sent the room
    // has been handled there.
    ASSERT_TRUE(posted_messages_handled(s.item(idc_numofdyce)));
    for (const auto& l : transcript_lines(s.transcript())) EXPECT_EQ(l.text.find(typed), std::wstring::npos);
}

// No host running: the counter starts, nothing is shown, and the posting
// buttons, with no room to post to, neither hang nor end the console.
TEST(Counting, NoHostLeavesTheLabelBlankAndTheConsoleAnswering) {
    SparSession s(nullptr);
    ASSERT_NE(s.console(), nullptr);
    click(s.item(idc_cmdcounterstart));
    click(s.item(idc_say_score));
    click(s.item(idc_cmdrolldyce));
    click(s.item(idc_Command1));
    ASSERT_TRUE(posted_messages_handled(s.item(idc_numofdyce)));
    EXPECT_TRUE(counter_is_running(s.console())) << text_of(s.item(idc_lblhitpoints));
    EXPECT_EQ(text_of(s.item(idc_numofdyce)), L"4");
    EXPECT_TRUE(answers(s.console()));
}

// The practice room can present Unicode windows instead of the host's ANSI
// ones; the console reads and posts to them just the same.
TEST(Counting, UnicodeRoomWindowsAreCountedAndPostedToAlike) {
    SparSession s(L"--windows unicode");
    ASSERT_NE(s.console(), nullptr);
    HWND text_window = FindWindowExW(s.front_room(), nullptr, L"RICHCNTLREADONLY", nullptr);
    ASSERT_TRUE(text_window && IsWindowUnicode(text_window));
    HWND input = s.input_box(s.front_room());
    const std::wstring typed = L"half a thought";
    SendMessageW(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    ASSERT_TRUE(turn_counter_on(s.console()));
    click(s.item(idc_say_score));
    click(s.item(idc_cmdrolldyce));
    const std::vector<int> values = wait_for_result(s);
    ASSERT_EQ(values.size(), 4u);
    EXPECT_TRUE(s.wait_for(L"proctor:  ~*~ proctor scored " + std::to_wstring(total_of(values)) + L" hyt poynts ~*~"));
    EXPECT_EQ(text_of(input), typed);
}

}  // namespace
}  // namespace zol::test
