#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "console/command_lines.h"
#include "practiceroom/dice.h"

using namespace zol;

namespace {

const NumberFormat kUs{L".", L","};
const NumberFormat kGerman{L",", L"."};

std::wstring or_none(const std::optional<std::wstring>& text) { return text ? *text : L"(none)"; }

}  // namespace

TEST(RollLine, ClampsTheCountAndRewritesTheBoxOnlyWhenOutOfRange) {
    struct {
        const wchar_t* count;
        const wchar_t* sides;
        const wchar_t* line;
        const wchar_t* rewrite;  // (none): the box keeps what was typed
    } rows[] = {
        {L"4", L"92", L"//roll-dice 4-sides92", L"(none)"},
        {L"0", L"92", L"//roll-dice 1-sides92", L"1"},
        {L"-3", L"92", L"//roll-dice 1-sides92", L"1"},
        {L"-0", L"92", L"//roll-dice 1-sides92", L"1"},
        {L"0.5", L"92", L"//roll-dice 1-sides92", L"1"},
        {L"1", L"92", L"//roll-dice 1-sides92", L"(none)"},
        {L"15", L"92", L"//roll-dice 15-sides92", L"(none)"},
        {L"15.5", L"92", L"//roll-dice 15-sides92", L"15"},
        {L"16", L"92", L"//roll-dice 15-sides92", L"15"},
        {L"99", L"92", L"//roll-dice 15-sides92", L"15"},
        {L"1e300", L"92", L"//roll-dice 15-sides92", L"15"},
        // Kept as typed inside the range: not made whole, blanks left in the box.
        {L" 7 ", L"92", L"//roll-dice 7-sides92", L"(none)"},
        {L"2.5", L"92", L"//roll-dice 2.5-sides92", L"(none)"},
        // Values that only reach the range in their 15 written digits.
        {L"0.9999999999999999", L"92", L"//roll-dice 1-sides92", L"(none)"},
        {L"15.000000000000002", L"92", L"//roll-dice 15-sides92", L"(none)"},
        // The sides text is never looked at.
        {L"4", L"", L"//roll-dice 4-sides", L"(none)"},
        {L"4", L" x 6 ", L"//roll-dice 4-sides x 6 ", L"(none)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.count)));
        RollLine roll = roll_line(row.count, row.sides, kUs);
        ASSERT_FALSE(roll.refused());
        EXPECT_EQ(*roll.line, row.line);
        EXPECT_EQ(or_none(roll.count_box_rewrite), row.rewrite);
    }
}

TEST(RollLine, ReadsTheUserFormatButWritesAPoint) {
    EXPECT_EQ(roll_line(L"2,5", L"92", kGerman).line, L"//roll-dice 2.5-sides92");
    EXPECT_EQ(roll_line(L"2,5", L"92", kUs).line, L"//roll-dice 15-sides92");  // 25 with grouping
}

TEST(RollLine, RefusesACountThatIsNoNumber) {
    for (const wchar_t* count : {L"", L"   ", L"four", L"4x", L"1e999", L"-1e999", L"2.5.1"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(count)));
        RollLine roll = roll_line(count, L"92", kUs);
        EXPECT_TRUE(roll.refused());
        EXPECT_FALSE(roll.count_box_rewrite);
    }
}

// Read as the practice room's dice service reads commands, as the host's does.
TEST(InitLine, AsksTheDiceServiceForOneDieOfAHundredSides) {
    const practiceroom::DiceCommand command = practiceroom::parse_dice_command(init_line());
    EXPECT_EQ(command.kind, practiceroom::DiceCommandKind::Roll);
    EXPECT_EQ(command.count, 1);
    EXPECT_EQ(command.sides, 100);
}

TEST(XpLine, PostsFiveTimesHighestDieTimesTheOthers) {
    struct {
        const wchar_t* people;
        const wchar_t* highest_die;
        const wchar_t* worth;  // what follows "worth"
        const wchar_t* people_rewrite;
        const wchar_t* highest_die_rewrite;
    } rows[] = {
        {L"4", L"92", L" 1380", L"(none)", L"(none)"},
        {L"2", L"100", L" 500", L"(none)", L"(none)"},
        {L"1", L"92", L" 0", L"(none)", L"(none)"},
        {L"0", L"92", L"-460", L"(none)", L"(none)"},
        {L"", L"", L" 0", L"0", L"0"},
        {L"", L"92", L"-460", L"0", L"(none)"},
        {L"4", L"", L" 0", L"(none)", L"0"},
        {L"1", L"-5", L" 0", L"(none)", L"(none)"},  // -0 still has the sign blank
        {L"3", L"92.5", L" 925", L"(none)", L"(none)"},
        {L"4", L"0.1", L" 1.5", L"(none)", L"(none)"},  // 1.5000000000000002 in 15 digits
        {L"0.5", L"1", L"-2.5", L"(none)", L"(none)"},
        {L"1.1", L"1", L" 0.5", L"(none)", L"(none)"},
        {L" 2 ", L"199999999999999", L" 999999999999995", L"(none)", L"(none)"},
        {L"2", L"200000000000000", L" 1E+15", L"(none)", L"(none)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.people) + L" / " + row.highest_die));
        XpLine xp = xp_line(row.people, row.highest_die, kUs);
        ASSERT_FALSE(xp.refused());
        EXPECT_EQ(*xp.line, std::wstring(L"~*~ thys spar is worth") + row.worth + L" xp's ~*~");
        EXPECT_EQ(or_none(xp.people_box_rewrite), row.people_rewrite);
        EXPECT_EQ(or_none(xp.highest_die_box_rewrite), row.highest_die_rewrite);
    }
    EXPECT_EQ(xp_line(L"3", L"92,5", kGerman).line, L"~*~ thys spar is worth 925 xp's ~*~");
}

TEST(XpLine, RefusesWhatIsNoNumberAndProductsBeyondRange) {
    struct {
        const wchar_t* people;
        const wchar_t* highest_die;
        XpBox focus;
        const wchar_t* people_rewrite;
    } rows[] = {
        {L"abc", L"92", XpBox::people, L"(none)"},
        {L"  ", L"92", XpBox::people, L"(none)"},  // blanks are not empty
        {L"abc", L"x", XpBox::people, L"(none)"},
        {L"4", L"x", XpBox::highest_die, L"(none)"},
        {L"", L"  ", XpBox::highest_die, L"0"},
        {L"1e999", L"92", XpBox::people, L"(none)"},
        {L"2", L"1e308", XpBox::highest_die, L"(none)"},    // the last factor of 5 overflows
        {L"1e300", L"1e10", XpBox::people, L"(none)"},
        {L"-1e300", L"1e300", XpBox::people, L"(none)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.people) + L" / " + row.highest_die));
        XpLine xp = xp_line(row.people, row.highest_die, kUs);
        ASSERT_TRUE(xp.refused());
        EXPECT_EQ(xp.refused_box, row.focus);
        EXPECT_EQ(or_none(xp.people_box_rewrite), row.people_rewrite);
    }
}

TEST(StampLine, WritesTheGeneralDateForm) {
    EXPECT_EQ(stamp_line(general_date_text(L"12/6/2026", L"8:26:13 AM", false)), L"~*~ 12/6/2026 8:26:13 AM ~*~");
    EXPECT_EQ(stamp_line(general_date_text(L"12/6/2026", L"12:00:00 AM", true)), L"~*~ 12/6/2026 ~*~");
    EXPECT_EQ(stamp_line(general_date_text(L"06.12.2026", L"00:00:01", false)), L"~*~ 06.12.2026 00:00:01 ~*~");
}

TEST(Advertisement, PostsTheAnchorThenTheBareDomain) {
    const auto lines = advertisement_lines();
    EXPECT_EQ(lines[0],
              L"   ~*~ zolvanta's spar tools 7.8 < A href=\"http://zolspar.example.org\">download</A> ~*~");
    EXPECT_EQ(lines[1], L"        ~*~ zolspar.example.org ~*~");
}
