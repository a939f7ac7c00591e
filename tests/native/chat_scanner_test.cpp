#include <gtest/gtest.h>

#include "scanner/chat_scanner.h"

using namespace zol;

namespace {

// The room text as the reader hands it over: text and its zero.
std::wstring read(const std::wstring& room) { return room + L'\0'; }

std::wstring raised(const std::optional<ChatLine>& line) {
    return line ? line->who_said + L"|" + line->what_said : L"(nothing)";
}

}  // namespace

TEST(ScanTick, RaisesOnlyTheLastLineOnceAndSplitsAtTheFirstColon) {
    ScannerMemory m;
    m.scanstarttext = read(L"\rold:  line");
    EXPECT_EQ(raised(scan_tick(read(L"\rold:  line"), m)), L"(nothing)");  // quiet room
    // Two lines within one tick: only the later one.
    EXPECT_EQ(raised(scan_tick(read(L"\rold:  line\rA:  one\rB:  two"), m)), L"B|two");
    EXPECT_EQ(raised(scan_tick(read(L"\rold:  line\rA:  one\rB:  two"), m)), L"(nothing)");
    // The same pair again in a newer line is not raised twice in a row.
    EXPECT_EQ(raised(scan_tick(read(L"\rold:  line\rA:  one\rB:  two\rB:  two"), m)), L"(nothing)");
    // Speaker cut at the first colon, blanks kept, rest in the message.
    EXPECT_EQ(raised(scan_tick(read(L"\r x:  a: b "), m)), L" x|a: b ");
    // A notice without colon raises nothing and leaves the pair alone.
    EXPECT_EQ(raised(scan_tick(read(L"\r x:  a: b \r*** notice ***"), m)), L"(nothing)");
    EXPECT_EQ(m.oldwhosaid, L" x");
}

TEST(ScanTick, ShortTextsAndShortLinesRaiseNothingOrAnEmptyMessage) {
    ScannerMemory m;
    EXPECT_EQ(raised(scan_tick(L" ", m)), L"(nothing)");  // no room
    EXPECT_EQ(raised(scan_tick(L"ab", m)), L"(nothing)");
    EXPECT_EQ(raised(scan_tick(read(L"no carriage return: here"), m)), L"(nothing)");
    // Fewer than three characters after the colon: an empty message.
    EXPECT_EQ(raised(scan_tick(read(L"\rnotice:"), m)), L"notice|");
    EXPECT_EQ(raised(scan_tick(read(L"\rnote:  "), m)), L"note|");  // same pair
    EXPECT_EQ(raised(scan_tick(read(L"\rA:  x"), m)), L"A|x");
    EXPECT_EQ(raised(scan_tick(read(L"\r:"), m)), L"|");  // the shortest line there is
}

TEST(ScanTick, RestartingDoesNotRaiseTheLastLineAgain) {
    ScannerMemory m;
    EXPECT_EQ(raised(scan_tick(read(L"\rA:  hi"), m)), L"A|hi");
    m.scanstarttext = L" ";  // switched on again while no room was open
    EXPECT_EQ(raised(scan_tick(read(L"\rA:  hi"), m)), L"(nothing)");
    EXPECT_EQ(raised(scan_tick(read(L"\rA:  hi\rB:  yo"), m)), L"B|yo");
}

TEST(ScanTick, StoresThePairBeforeTheLineIsHandled) {
    ScannerMemory m;
    auto line = scan_tick(read(L"\rOnlineHost:  X rolled 1 6-sided die:  4"), m);
    ASSERT_TRUE(line);
    // A tick nested inside the handler sees the pair already stored.
    EXPECT_EQ(m.oldwhosaid, L"OnlineHost");
    EXPECT_EQ(m.oldwhatsaid, L"X rolled 1 6-sided die:  4");
    EXPECT_FALSE(scan_tick(read(L"\rOnlineHost:  X rolled 1 6-sided die:  4"), m));
}

// The room text shrank between the reader's two messages: the tail ends in
// blanks after its zero. Raising that last line would give a message with a
// zero and blanks in it, and the next clean read the same line again.
TEST(ScanTick, ATailWithBlanksAfterItsZeroRaisesNothingAndTheNextCleanTickRaisesOnce) {
    ScannerMemory m;
    const std::wstring result = L"\rOnlineHost:  X rolled 1 20-sided die:  17";
    EXPECT_EQ(raised(scan_tick(read(result) + L"    ", m)), L"(nothing)");
    EXPECT_TRUE(m.oldwhosaid.empty() && m.oldwhatsaid.empty());
    EXPECT_EQ(raised(scan_tick(read(result), m)), L"OnlineHost|X rolled 1 20-sided die:  17");
    EXPECT_EQ(raised(scan_tick(read(result) + L"  ", m)), L"(nothing)");
    EXPECT_EQ(raised(scan_tick(read(result), m)), L"(nothing)");
}
