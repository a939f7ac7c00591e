// The practice room's portable core: the dice service, the room text, the
// script, the command line and the transcript.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/dice_counter.h"
#include "practiceroom/agenda.h"
#include "practiceroom/dice.h"
#include "practiceroom/options.h"
#include "practiceroom/room_text.h"
#include "practiceroom/script.h"
#include "practiceroom/transcript.h"

using namespace zol::practiceroom;

namespace {

std::string show(std::wstring_view text) { return testing::PrintToString(std::wstring(text)); }

}  // namespace

// --- dice service --------------------------------------------------------

TEST(DiceCommand, ReadsTheFormsTheConsoleSendsABareRollAndRefusesTheRest) {
    using K = DiceCommandKind;
    struct { const wchar_t* message; K kind; int count, sides; } rows[] = {
        {L"//roll-dice1-sides100", K::Roll, 1, 100},       // init
        {L"//roll-dice 4-sides92", K::Roll, 4, 92},        // roll button: count as signed number text
        {L"//roll-dice 15-sides9999", K::Roll, 15, 9999},
        {L"//roll-dice 1-sides2", K::Roll, 1, 2},
        {L"//roll-dice 04-sides06", K::Roll, 4, 6},
        {L"  //roll-dice 4-sides92\t", K::Roll, 4, 92},
        {L" //roll-dice 4-sides92", K::Roll, 4, 92},
        {L"//roll-dice 4-sides 92", K::Roll, 4, 92},
        {L"//roll-dice 2.5-sides92", K::Refused, 0, 0},   // the console sends fractions unchanged
        {L"//roll-dice 0-sides92", K::Refused, 0, 0},
        {L"//roll-dice 16-sides92", K::Refused, 0, 0},
        {L"//roll-dice-3-sides92", K::Refused, 0, 0},
        {L"//roll-dice 4-sides1", K::Refused, 0, 0},
        {L"//roll-dice 4-sides10000", K::Refused, 0, 0},
        {L"//roll-dice 4-sides", K::Refused, 0, 0},        // empty sides box
        {L"//roll-dice 4-sidesabc", K::Refused, 0, 0},
        {L"//roll-dice 4-sides92.0", K::Refused, 0, 0},
        {L"//roll-dice 4-sides92 please", K::Refused, 0, 0},
        {L"//roll-dice 4sides92", K::Refused, 0, 0},
        {L"//roll-dice", K::Refused, 0, 0},
        {L"//roll-dicex", K::Refused, 0, 0},
        {L"//roll-dice 99999999999999999999-sides6", K::Refused, 0, 0},
        {L"//roll-dice 4-sides99999999999999999999", K::Refused, 0, 0},
        {L"//roll", K::Roll, 2, 6},                       // the service's own default: two six-sided dice
        {L" //roll\t", K::Roll, 2, 6},
        {L"//roll 2", K::NotACommand, 0, 0},
        {L"//rolls", K::NotACommand, 0, 0},
        {L"", K::NotACommand, 0, 0},
        {L"hello all", K::NotACommand, 0, 0},
        {L"try //roll-dice 4-sides92", K::NotACommand, 0, 0},
        {L"//Roll-dice 4-sides92", K::NotACommand, 0, 0},
        {L"/roll-dice 4-sides92", K::NotACommand, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(show(row.message));
        const DiceCommand c = parse_dice_command(row.message);
        EXPECT_EQ(c.kind, row.kind);
        EXPECT_EQ(c.count, row.count);  // 0 unless rolled
        EXPECT_EQ(c.sides, row.sides);
    }
}

TEST(DiceResult, WritesDieForOneAndDiceForSeveral) {
    struct { const wchar_t* poster; int sides; std::vector<int> values; const wchar_t* expected; } rows[] = {
        {L"Jimbo", 92, {45, 67}, L"Jimbo rolled 2 92-sided dice:  45 67"},
        {L"Mira", 100, {97}, L"Mira rolled 1 100-sided die:  97"},
        {L"z\u00e9 Ann", 6, {1, 6, 3}, L"z\u00e9 Ann rolled 3 6-sided dice:  1 6 3"},
        {L"Kit", 9999, std::vector<int>(15, 9999),
         L"Kit rolled 15 9999-sided dice:  9999 9999 9999 9999 9999 9999 9999 9999 9999 9999 9999 9999 9999 9999 9999"},
    };
    for (const auto& row : rows) EXPECT_EQ(roll_result_message(row.poster, row.sides, row.values), row.expected);
}

// The line is only useful if the console's counter reads it back whole: the
// count at its fixed offset, the first value at 12 or 13 past "sided di".
TEST(DiceResult, ReadsBackThroughTheConsolesCounterForEveryCount) {
    for (int count = kMinDice; count <= kMaxDice; ++count) {
        std::vector<int> values;
        std::int32_t points = 0;
        for (int i = 0; i < count; ++i) {
            values.push_back(90 + i);  // 90 gives 16, then one more per pip
            points += zol::hyt_poynts(static_cast<std::int16_t>(90 + i));
        }
        SCOPED_TRACE(count);
        const auto tally = zol::read_dice_result(kServiceName, roll_result_message(L"Jimbo", 100, values));
        ASSERT_TRUE(tally.has_value());
        EXPECT_EQ(tally->roller, L"Jimbo");
        EXPECT_EQ(tally->total, points);
    }
}

TEST(DiceService, AnswersCommandsAsOnlineHostAndRefusesWithAPlainNotice) {
    DiceRoller roller(7);
    EXPECT_FALSE(dice_service_reply(L"Jimbo", L"hi all", roller).has_value());

    const auto refused = dice_service_reply(L"Jimbo", L"//roll-dice 2.5-sides92", roller);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(*refused, roll_refused_notice());
    EXPECT_EQ(refused->find(L':'), std::wstring::npos);
    EXPECT_EQ(refused->find(L"//roll-dice"), std::wstring::npos);

    const auto init = dice_service_reply(L"Jimbo", L"//roll-dice1-sides100", roller);
    ASSERT_TRUE(init.has_value());
    EXPECT_EQ(init->rfind(L"OnlineHost:  Jimbo rolled 1 100-sided die:  ", 0), 0u) << show(*init);
}

TEST(DiceService, SameSeedSameRolls) {
    DiceRoller a(12345), b(12345);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(dice_service_reply(L"Bo", L"//roll-dice 15-sides9999", a),
                  dice_service_reply(L"Bo", L"//roll-dice 15-sides9999", b));
    }
}

TEST(DiceRoller, StaysWithinTheSidesAndReachesBothEnds) {
    DiceRoller roller(1);
    bool saw_one = false, saw_two = false;
    for (int i = 0; i < 200; ++i) {
        for (int v : roller.roll(15, 2)) {
            ASSERT_TRUE(v == 1 || v == 2) << v;
            (v == 1 ? saw_one : saw_two) = true;
        }
    }
    EXPECT_TRUE(saw_one && saw_two);
    for (int v : roller.roll(15, 9999)) EXPECT_TRUE(v >= 1 && v <= 9999) << v;
    EXPECT_EQ(roller.roll(4, 92).size(), 4u);
}

TEST(DiceRoller, GivesNothingOutsideTheRanges) {
    DiceRoller roller(1);
    struct { int count, sides; } rows[] = {{0, 6}, {16, 6}, {-1, 6}, {2, 1}, {2, 0}, {2, -5}, {2, 10000}};
    for (const auto& row : rows) {
        EXPECT_TRUE(roller.roll(row.count, row.sides).empty()) << row.count << "d" << row.sides;
    }
    EXPECT_EQ(roller.roll(1, 2).size(), 1u);
    EXPECT_EQ(roller.roll(15, 9999).size(), 15u);
}

// --- room text -----------------------------------------------------------

TEST(PostedText, DropsTrailingBreaksAndJoinsInnerOnesWithOneBlank) {
    struct { const wchar_t* raw; const wchar_t* posted; } rows[] = {
        {L"hi", L"hi"},
        {L"hi\r\n", L"hi"},
        {L"hi\n", L"hi"},
        {L"hi\r\n\n", L"hi"},
        {L"hi\r\n\r\n\n\r", L"hi"},
        {L"one\r\ntwo", L"one two"},
        {L"one\rtwo\nthree", L"one two three"},
        {L"one\r\n\r\ntwo", L"one  two"},
        {L"\r\nhi", L" hi"},
        {L"  hi  ", L"  hi  "},
        {L"a\tb", L"a\tb"},
        {L"", L""},
        {L"\r\n", L""},
    };
    for (const auto& row : rows) EXPECT_EQ(clean_posted_text(row.raw), row.posted) << show(row.raw);
}

TEST(RoomText, HistoryIsOneCrBetweenLinesAndTheNoticeHasNoColon) {
    std::wstring history = entered_notice(room_name(2));
    EXPECT_EQ(history.find(L':'), std::wstring::npos);
    EXPECT_EQ(history, L"*** you are in \"spar room 2\" ***");
    append_history_line(history, chat_line(L"Jimbo", L"hi"));
    append_history_line(history, chat_line(L"OnlineHost", L"Jimbo rolled 1 6-sided die:  4"));
    EXPECT_EQ(history, entered_notice(L"spar room 2") + L"\rJimbo:  hi\rOnlineHost:  Jimbo rolled 1 6-sided die:  4");
}

TEST(RoomText, DisplayTailKeepsWholeNewestLinesThatFit) {
    struct { const wchar_t* history; std::size_t max, max_line; const wchar_t* shown; } rows[] = {
        {L"a\rbb\rccc", 100, 100, L"a\r\nbb\r\nccc"},
        {L"a\rbb\rccc", 10, 100, L"a\r\nbb\r\nccc"},  // exactly fits
        {L"a\rbb\rccc", 9, 100, L"bb\r\nccc"},
        {L"a\rbb\rccc", 7, 100, L"bb\r\nccc"},
        {L"a\rbb\rccc", 6, 100, L"ccc"},
        {L"a\rbb\rccc", 2, 100, L"cc"},  // newest line alone too long: cut
        {L"a\rbb\rccc", 0, 100, L""},
        {L"", 5, 100, L""},
        {L"only", 4, 100, L"only"},
        {L"a\r", 3, 100, L"a\r\n"},
        {L"a\r", 2, 100, L""},
        {L"a\r\rb", 100, 100, L"a\r\n\r\nb"},
        {L"\rb", 100, 100, L"\r\nb"},  // a history that starts with its first line's CR
        {L"\r\rb", 100, 100, L"\r\n\r\nb"},
        // Long lines are cut for the view, and cost only what is shown.
        {L"a\rxxxxxxxx\rb", 100, 3, L"a\r\nxxx\u2026\r\nb"},
        {L"a\rxxxxxxxx\rb", 7, 3, L"xxx\u2026\r\nb"},
        {L"a\rabcdefgh\rb", 100, 3, L"a\r\nabc\u2026\r\nb"},
        {L"a\rabc\rb", 100, 3, L"a\r\nabc\r\nb"},  // exactly as long as a line may be
        {L"xxxxxxxx", 2, 3, L"xx"},
    };
    for (const auto& row : rows) {
        const std::wstring shown = display_tail(row.history, row.max, row.max_line);
        EXPECT_EQ(shown, row.shown) << show(row.history) << " max " << row.max << " line " << row.max_line;
        EXPECT_LE(shown.size(), row.max);
    }
}

// --- script ---------------------------------------------------------------

TEST(Script, ReadsDelaysNamesAndMessages) {
    const Script s = parse_script(
        L"# warm-up\r\n"
        L"\r\n"
        L"0 Jimbo: hi all\r\n"
        L"1.5\tMr Bones :   //roll-dice 2-sides20  \r\n"
        L"  .25 z\u00e9: a: b\n");
    EXPECT_TRUE(s.problems.empty());
    EXPECT_EQ(parse_script(L"2 bo: hi\r").lines.size(), 1u);  // an old Mac line end last
    ASSERT_EQ(s.lines.size(), 3u);
    struct { std::int64_t delay; const wchar_t* speaker; const wchar_t* message; int line; } rows[] = {
        {0, L"Jimbo", L"hi all", 3},
        {1500, L"Mr Bones", L"//roll-dice 2-sides20", 4},
        {250, L"z\u00e9", L"a: b", 5},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(s.lines[i].delay_ms, rows[i].delay);
        EXPECT_EQ(s.lines[i].speaker, rows[i].speaker);
        EXPECT_EQ(s.lines[i].message, rows[i].message);
        EXPECT_EQ(s.lines[i].line_number, rows[i].line);
    }
}

TEST(Script, ReportsBadLinesWithTheirNumbersAndKeepsTheRest) {
    const Script s = parse_script(
        L"1 ok: fine\n"             // 1
        L"soon bob: hi\n"           // 2
        L"-1 bob: hi\n"             // 3
        L"2 bob hi\n"               // 4
        L"2\n"                      // 5
        L"2  : hi\n"                // 6
        L"2 bob:   \n"              // 7
        L"1e3 bob: hi\r"            // 8, old Mac line end
        L"3 bob: still read\r\n"    // 9
        L"2bob: hi\n"               // 10
        L"99999999999 bob: hi");    // 11
    ASSERT_EQ(s.lines.size(), 2u);
    EXPECT_EQ(s.lines[0].line_number, 1);
    EXPECT_EQ(s.lines[1].line_number, 9);
    const std::vector<std::wstring> expected = {
        L"script line 2: delay \"soon\" is not a number of seconds",
        L"script line 3: delay \"-1\" is not a number of seconds",
        L"script line 4: no colon after the screen name",
        L"script line 5: no \"name: message\" after the delay",
        L"script line 6: empty screen name",
        L"script line 7: empty message",
        L"script line 8: delay \"1e3\" is not a number of seconds",
        L"script line 10: delay \"2bob:\" is not a number of seconds",
        L"script line 11: delay \"99999999999\" is not a number of seconds",
    };
    EXPECT_EQ(s.problems, expected);
}

TEST(Seconds, ReadsPlainDecimalsToTheMillisecond) {
    struct { const wchar_t* text; std::int64_t ms; } good[] = {
        {L"0", 0}, {L"2", 2000}, {L"0.25", 250}, {L"1.", 1000}, {L".5", 500},
        {L"1.2345", 1234}, {L"007", 7000}, {L"1000000", 1'000'000'000},
    };
    for (const auto& row : good) {
        const auto ms = parse_seconds(row.text);
        ASSERT_TRUE(ms.has_value()) << show(row.text);
        EXPECT_EQ(*ms, row.ms) << show(row.text);
    }
    const wchar_t* bad[] = {L"", L".", L"-1", L"+1", L"1,5", L" 1", L"1 ", L"1.2.3", L"1e3", L"1000001", L"x"};
    for (const wchar_t* text : bad) EXPECT_FALSE(parse_seconds(text).has_value()) << show(text);
}

// --- command line -----------------------------------------------------------

TEST(Options, DefaultsAndEveryOption) {
    const ParsedOptions none = parse_options({});
    EXPECT_TRUE(none.error.empty());
    EXPECT_FALSE(none.options.help);
    EXPECT_EQ(none.options.name, L"proctor");
    EXPECT_EQ(none.options.rooms, 1);
    EXPECT_FALSE(none.options.seed.has_value());
    EXPECT_FALSE(none.options.hang_after_ms.has_value());
    EXPECT_EQ(none.options.windows, WindowKind::Ansi);  // as the host's
    EXPECT_EQ(none.options.length_off, 0);

    const ParsedOptions all = parse_options({L"--name", L"z\u00e9 Ann", L"--rooms", L"3", L"--script", L"s.txt",
                                             L"--transcript", L"t.tsv", L"--seed", L"4294967295", L"--hang-after",
                                             L"2.5", L"--quit-after", L"60", L"--rooms", L"0", L"--windows",
                                             L"unicode", L"--length-off", L"-7", L"--help"});
    ASSERT_TRUE(all.error.empty()) << show(all.error);
    EXPECT_TRUE(all.options.help);
    EXPECT_EQ(all.options.name, L"z\u00e9 Ann");
    EXPECT_EQ(all.options.rooms, 0);  // the later repeat wins
    EXPECT_EQ(all.options.script_path, L"s.txt");
    EXPECT_EQ(all.options.transcript_path, L"t.tsv");
    EXPECT_EQ(all.options.seed, 4294967295u);
    EXPECT_EQ(all.options.hang_after_ms, 2500);
    EXPECT_EQ(all.options.quit_after_ms, 60000);
    EXPECT_EQ(all.options.windows, WindowKind::Unicode);
    EXPECT_EQ(all.options.length_off, -7);
    EXPECT_EQ(parse_options({L"--length-off", L"1000000"}).options.length_off, 1000000);
}

TEST(Options, RefusesBadWords) {
    const std::vector<std::vector<std::wstring>> rows = {
        {L"--nmae", L"x"}, {L"proctor"}, {L"--name"}, {L"--name", L""}, {L"--name", L"a:b"},
        {L"--name", L"a\nb"}, {L"--rooms", L"21"}, {L"--rooms", L"-1"}, {L"--rooms", L"one"},
        {L"--seed", L"4294967296"}, {L"--seed", L""}, {L"--hang-after", L"soon"}, {L"--quit-after", L"-3"},
        {L"--script", L""}, {L"--transcript"}, {L"--windows", L"ANSI"}, {L"--windows", L"wide"},
        {L"--length-off", L"+7"}, {L"--length-off", L"-"}, {L"--length-off", L"1000001"}, {L"--length-off", L"--7"},
        {L"--seed", L"x"}, {L"--rooms", L":"},
        {L"--nmae", L"5"},  // an unknown option, even with a value another one would take
    };
    for (const auto& args : rows) EXPECT_FALSE(parse_options(args).error.empty()) << show(args[0]);
}

// --- transcript and agenda --------------------------------------------------

TEST(Transcript, OneRecordIsOneLineWhateverTheText) {
    struct { std::int64_t ms; int room; TranscriptKind kind; const wchar_t* text; const wchar_t* record; } rows[] = {
        {0, 0, TranscriptKind::Start, L"name proctor, seed 1", L"0\t0\tstart\tname proctor, seed 1\n"},
        {15, 2, TranscriptKind::Enter, L"*** you are in ***", L"15\t2\tenter\t*** you are in ***\n"},
        {1234567, 1, TranscriptKind::Line, L"Jimbo:  a\tb\rc\nd\\e", L"1234567\t1\tline\tJimbo:  a\\tb\\rc\\nd\\\\e\n"},
        {3, 1, TranscriptKind::Line, L"\\t", L"3\t1\tline\t\\\\t\n"},  // a literal backslash-t stays tellable
        {500, 1, TranscriptKind::Read, L"42", L"500\t1\tread\t42\n"},
    };
    for (const auto& row : rows) EXPECT_EQ(transcript_record(row.ms, row.room, row.kind, row.text), row.record);
}

TEST(Agenda, GivesDueItemsEarliestFirstAndTiesInOrderAdded) {
    Agenda<int> agenda;
    EXPECT_FALSE(agenda.next_due().has_value());
    agenda.add(200, 1);
    agenda.add(100, 2);
    agenda.add(200, 3);
    agenda.add(100, 4);
    EXPECT_EQ(agenda.next_due(), 100);
    EXPECT_FALSE(agenda.take_due(99).has_value());
    std::vector<int> order;
    while (auto item = agenda.take_due(200)) order.push_back(*item);
    EXPECT_EQ(order, (std::vector<int>{2, 4, 1, 3}));
    EXPECT_FALSE(agenda.next_due().has_value());

    // Stopping a script takes its lines off and leaves the rest in order.
    for (int i = 1; i <= 6; ++i) agenda.add(300 + i % 2, i);
    agenda.remove_if([](int item) { return item % 3 == 0; });
    order.clear();
    while (auto item = agenda.take_due(400)) order.push_back(*item);
    EXPECT_EQ(order, (std::vector<int>{2, 4, 1, 5}));
}
