#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/dice_counter.h"

using namespace zol;

TEST(HytPoynts, BandsOfFiveThenOnePerPip) {
    struct { int rolled, points; } rows[] = {
        {-5, 0}, {0, 0}, {14, 0}, {15, 1}, {19, 1}, {20, 2}, {45, 7}, {67, 11},
        {85, 15}, {89, 15}, {90, 16}, {91, 17}, {92, 18}, {100, 26}, {32767, 32693},
    };
    for (const auto& row : rows) EXPECT_EQ(hyt_poynts(static_cast<std::int16_t>(row.rolled)), row.points) << row.rolled;
}

namespace {

struct Row {
    const wchar_t* who;
    const wchar_t* what;
    const wchar_t* name;  // nullptr: the line is dropped
    int total;
};

void expect_rows(const std::vector<Row>& rows) {
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.what)));
        auto tally = read_dice_result(row.who, row.what);
        if (!row.name) {
            EXPECT_FALSE(tally.has_value());
            continue;
        }
        ASSERT_TRUE(tally.has_value());
        EXPECT_EQ(tally->roller, row.name);
        EXPECT_EQ(tally->total, row.total);
    }
}

}  // namespace

TEST(DiceCounter, ReadsTheWorkedExamples) {
    expect_rows({
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice:  45 67", L"Jimbo", 18},
        {L"OnlineHost", L"Mira rolled 1 100-sided die:  97", L"Mira", 23},
        {L"OnlineHost", L"Ann rolled 4 100-sided dice:  15 90 91 100", L"Ann", 60},
        {L"OnlineHost", L"Kit rolled 2 6-sided dice:  4 2", L"Kit", 0},
        {L"OnlineHost", L"Kit rolled 15 92-sided dice:  1 2 3 4 5 6 7 8 9 10 11 12 13 14 92", L"Kit", 18},
        {L"OnlineHost", L"Bo rolled 2 92-sided dice:  007 15", L"Bo", 1},
        {L"OnlineHost", L"z\u00e9 Ann rolled 2 92-sided dice:  20 20", L"z\u00e9 Ann", 4},
    });
}

TEST(DiceCounter, IgnoresLinesThatAreNotResultsOfTheService) {
    expect_rows({
        {L"OnlineHost", L"Jimbo rolled 2 92-sides:  45 67", nullptr, 0},
        {L"Jimbo", L"Jimbo rolled 2 92-sided dice:  45 67", nullptr, 0},
        {L"onlinehost", L"Jimbo rolled 2 92-sided dice:  45 67", nullptr, 0},
        {L"OnlineHost ", L"Jimbo rolled 2 92-sided dice:  45 67", nullptr, 0},
        {L"OnlineHost", L"Jimbo rolled 2 92-Sided dice:  45 67", nullptr, 0},
        {L"OnlineHost", L"", nullptr, 0},
    });
}

TEST(DiceCounter, ReadsByFixedOffsets) {
    expect_rows({
        // One blank after the colon: everything is read one position late.
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice: 45 67", L"Jimbo", 11},  // 5 and 67
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice: 4 67", L"Jimbo", 11},   // empty and 67
        // A value that starts with a non-digit is empty and still moves on by one.
        {L"OnlineHost", L"Jimbo rolled 3 92-sided dice:  x 45 67", L"Jimbo", 7},  // "", "", 45
        // Name: the first character when "rolled " is missing or too early.
        {L"OnlineHost", L"rolled 1 20-sided die:  20", L"r", 2},
        {L"OnlineHost", L"Xrolled 1 20-sided die:  20", L"X", 2},
        // Without "rolled", the count comes from positions 7 and 8.
        {L"OnlineHost", L"abcdef2 20-sided dice:  20 20", L"a", 4},
        {L"OnlineHost", L"Jo rolls 2 20-sided dice:  20 20", L"J", 0},  // positions 7-8 read "ls": count 0
    });
}

TEST(DiceCounter, DropsLinesWithFewerValuesThanTheCountOrValuesItCannotHold) {
    expect_rows({
        // Count 3, two values, the text ending right after the second.
        {L"OnlineHost", L"Jimbo rolled 3 92-sided dice:  45 67", nullptr, 0},
        // One trailing separator supplies an empty third value.
        {L"OnlineHost", L"Jimbo rolled 3 92-sided dice:  45 67 ", L"Jimbo", 18},
        // The first value would start two past the end; one past the end
        // it is an empty value.
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice", nullptr, 0},
        {L"OnlineHost", L"Jimbo rolled 1 20-sided die: ", nullptr, 0},
        {L"OnlineHost", L"Jimbo rolled 1 20-sided die:  ", L"Jimbo", 0},
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice:", nullptr, 0},
        // Values beyond 16 bits.
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice:  32768 1", nullptr, 0},
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice:  32767 1", L"Jimbo", 32693},
        {L"OnlineHost", L"Jimbo rolled 1 9-sided die:  99999999999999999999999999", nullptr, 0},
        // Sixteen dice: there is no slot for the sixteenth value.
        {L"OnlineHost", L"Jimbo rolled 16 20-sided dice:  1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", nullptr, 0},
        {L"OnlineHost", L"Jimbo rolled 99 20-sided dice:  1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", nullptr, 0},
    });
}

TEST(DiceCounter, CountOfZeroOrLessReadsNoValuesAndScoresZero) {
    expect_rows({
        {L"OnlineHost", L"Jimbo rolled 0 92-sided dice:  45 67", L"Jimbo", 0},
        {L"OnlineHost", L"Jimbo rolled -3 92-sided dice:  45 67", L"Jimbo", 0},
        {L"OnlineHost", L"Jimbo rolled xx92-sided dice:  45", L"Jimbo", 0},
    });
}

TEST(DiceCounter, ArbitraryTextNeverReadsOutOfBounds) {
    // ASan and UBSan watch this: every prefix of awkward lines. A prefix of
    // the first line is counted only once it reaches into the place of its
    // last value; the others hold no value to score.
    const std::wstring lines[] = {
        L"Jimbo rolled 15 92-sided dice:  45 67 12 13 14 15 16 17 18 19 20 21 22 23 24",
        L"rolled 9 sided di",
        L"sided di rolled 99",
        L"a rolled 1 x-sided die:",
    };
    for (const auto& line : lines) {
        for (std::size_t n = 0; n <= line.size(); ++n) {
            SCOPED_TRACE(testing::PrintToString(line.substr(0, n)));
            const std::optional<DiceTally> tally = read_dice_result(L"OnlineHost", line.substr(0, n));
            if (&line == &lines[0]) {
                EXPECT_EQ(tally.has_value(), n + 2 >= line.size());
            } else if (tally) {
                EXPECT_EQ(tally->total, 0);
            }
        }
    }
    EXPECT_EQ(read_dice_result(L"OnlineHost", lines[0])->total, 33);
}

TEST(DiceCounter, CountsAResultIntoItsCaptionAndAnnouncesItOnlyWhenTheScoreIsSaid) {
    struct {
        const wchar_t* who;
        const wchar_t* what;
        bool say_score;
        const wchar_t* caption;       // nullptr: nothing to show, no pause
        const wchar_t* announcement;  // nullptr: nothing sent
    } rows[] = {
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice:  45 67", false, L"~*~ Jimbo scored 18 ~*~", nullptr},
        {L"OnlineHost", L"Jimbo rolled 2 92-sided dice:  45 67", true, L"~*~ Jimbo scored 18 ~*~",
         L"~*~ Jimbo scored 18 hyt poynts ~*~"},
        {L"OnlineHost", L"Kit rolled 2 6-sided dice:  4 2", true, L"~*~ Kit scored 0 ~*~",
         L"~*~ Kit scored 0 hyt poynts ~*~"},
        {L"Jimbo", L"Jimbo rolled 2 92-sided dice:  45 67", true, nullptr, nullptr},
        {L"OnlineHost", L"Jimbo rolled 3 92-sided dice:  45 67", true, nullptr, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.what)) + (row.say_score ? " said" : " quiet"));
        const std::optional<DiceCount> count = count_chat_line(row.who, row.what, row.say_score);
        if (!row.caption) {
            EXPECT_FALSE(count.has_value());
            continue;
        }
        ASSERT_TRUE(count.has_value());
        EXPECT_EQ(count->caption, row.caption);
        EXPECT_EQ(count->announcement, row.announcement ? std::optional<std::wstring>(row.announcement)
                                                        : std::nullopt);
    }
}
