#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "console/scroll_cutter.h"

using namespace zol;

namespace {

const std::wstring kCrLf = L"\r\n";

// The texts a scroll of `text` posts, in order.
std::vector<std::wstring> posted(const std::wstring& text) {
    std::vector<std::wstring> out;
    for (LineSpan span : cut_scroll_lines(text)) out.push_back(line_text(text, span));
    return out;
}

std::wstring repeat(const std::wstring& piece, int times) {
    std::wstring out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// n letters a, b, c, ... (wrapping after z), no blank among them.
std::wstring letters(int n) {
    std::wstring out;
    for (int i = 0; i < n; ++i) out.push_back(static_cast<wchar_t>(L'a' + i % 26));
    return out;
}

struct Case {
    const char* name;
    std::wstring text;
    std::vector<std::wstring> texts;
};

void expect_cases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(posted(c.text), c.texts);
    }
}

}  // namespace

TEST(ScrollCutter, PostsTheDefaultBoxes) {
    const std::wstring score = L"    ~*~ score ~*~" + kCrLf + kCrLf + L"~*~  end score ~*~" + kCrLf;
    ASSERT_EQ(score.size(), 41u);
    const std::vector<std::wstring> terms_lines = {
        L"~*~ terms ~*~",
        L"no sids, healing or enhancers",
        L"no hs for anyone any round",
        L"s/a's are ok.. random if you must",
        L"if you are not here for your turn we wyll",
        L"skyp you once then dq you if you are not ",
        L"here the second turn",
        L"~*~ that's it ~*~",
    };
    std::wstring terms;
    std::vector<std::wstring> terms_posted;
    for (const auto& line : terms_lines) {
        terms += line + kCrLf;
        terms_posted.push_back(line + kCrLf);
    }
    terms_posted.push_back(L"");
    ASSERT_EQ(terms.size(), 236u);

    expect_cases({
        {"score board", score,
         {L"    ~*~ score ~*~" + kCrLf, kCrLf, L"~*~  end score ~*~" + kCrLf, L""}},
        {"terms", terms, terms_posted},
    });
}

TEST(ScrollCutter, WrapsAtTheLastBlankWithTheCounterRules) {
    const std::wstring groups = repeat(L"abcdefghi ", 6) + L"end";
    const std::wstring after_break = letters(10) + kCrLf + repeat(L"abcd ", 12);
    expect_cases({
        {"63 characters: cut after the fifth group", groups,
         {groups.substr(0, 50), groups.substr(50)}},
        {"a line after a break is cut at its 48th character", after_break,
         {letters(10) + kCrLf, after_break.substr(12, 45), after_break.substr(57)}},
        {"a blank at position 50 ends the first text", letters(49) + L" xyz",
         {letters(49) + L" ", L"xyz"}},
        {"48 characters and CR LF are one text of 50", letters(48) + kCrLf,
         {letters(48) + kCrLf, L""}},
        {"49 characters with a blank and CR LF are two texts", L"abc " + letters(45) + kCrLf,
         {L"abc ", letters(45) + kCrLf, L""}},
        // The counter restarts where the wrap acted (position 50), not after
        // the blank at 2, so the second text runs on to the next wrap at 99.
        {"a word straddling the wrap rides along", L"a " + letters(96) + L" end",
         {L"a ", letters(96) + L" ", L"end"}},
        {"a blank that opens the line is one to wrap at", L" " + letters(60), {L" ", letters(60)}},
    });
}

TEST(ScrollCutter, CutsARunWithoutBlanksHardAndPostsNothingTwice) {
    const std::wstring long_run = letters(60);
    expect_cases({
        {"first line", long_run, {long_run.substr(0, 49), long_run.substr(49)}},
        {"after a break", L"x" + kCrLf + long_run,
         {L"x" + kCrLf, long_run.substr(0, 47), long_run.substr(47)}},
        {"the wrap due on the line's own CR", letters(49) + kCrLf + L"z",
         {letters(49), kCrLf, L"z"}},
        // The only blank was posted with the first text; the run after it is
        // cut where the wrap is due, at position 99.
        {"after a wrap at a blank", L"abc " + letters(100),
         {L"abc ", letters(94), letters(100).substr(94)}},
    });
}

TEST(ScrollCutter, PostsEveryCharacterWhateverTheSecondCharacterIs) {
    expect_cases({
        {"one character and CR LF", L"x" + kCrLf, {L"x" + kCrLf, L""}},
        {"one character, CR LF and more", L"x" + kCrLf + L"more", {L"x" + kCrLf, L"more"}},
        {"CR LF alone", kCrLf, {kCrLf, L""}},
        {"two blanks", L"  ", {L"  "}},
        {"a short line without a break", L"hello there", {L"hello there"}},
        {"two breaks in a row", L"a" + kCrLf + kCrLf + L"b", {L"a" + kCrLf, kCrLf, L"b"}},
    });
    EXPECT_TRUE(cut_scroll_lines(L"").empty());  // the advertisement's case
}

TEST(ScrollCutter, ACrWithoutLfTakesTheNextCharacterAndTheTableGrows) {
    expect_cases({
        {"a single CR", L"\r", {L"\r", L""}},
        {"CR then a letter", L"a\rbc", {L"a\rb", L"c"}},
        {"CR CR", L"\r\r", {L"\r\r", L"", L""}},
    });
    // More lines than characters: every CR after the first opens a line.
    const std::wstring crs(500, L'\r');
    const auto spans = cut_scroll_lines(crs);
    EXPECT_EQ(spans.size(), 501u);
    std::wstring joined;
    for (LineSpan span : spans) joined += line_text(crs, span);
    EXPECT_EQ(joined, crs);
}

TEST(ScrollCutter, ReadsTheTextAsItStandsAtEachLine) {
    const std::wstring text = L"one" + kCrLf + L"two";
    const auto spans = cut_scroll_lines(text);
    ASSERT_EQ(spans.size(), 2u);
    // Positions are fixed at the cut; the characters come from the text now.
    EXPECT_EQ(line_text(L"ONE" + kCrLf + L"TWO and more", spans[1]), L"TWO");
    EXPECT_EQ(line_text(L"one" + kCrLf + L"t", spans[1]), L"t");
    EXPECT_EQ(line_text(L"on", spans[1]), L"");
    EXPECT_EQ(line_text(L"on", spans[0]), L"on");
    // A span that starts past its end is the empty line, however long the
    // text has grown; position 0 holds nothing.
    EXPECT_EQ(line_text(L"abcdef", {4, 2}), L"");
    EXPECT_EQ(line_text(L"abcdef", {0, 2}), L"");
}

// Text typed into a box has a LF after every CR. For any such text the
// posted texts put together give the box back, in order and without gaps,
// only the last text can be empty, and the table never needs more lines than
// characters.
TEST(ScrollCutter, PostsTypedTextWhole) {
    std::mt19937 rng(20260612);
    for (int round = 0; round < 5000; ++round) {
        // Vary the mix so some texts are blank-heavy, some break-heavy, and
        // some long runs without blanks.
        const unsigned blank_weight = rng() % 30, break_weight = rng() % 10;
        const std::size_t length = rng() % 501;
        std::wstring text;
        while (text.size() < length) {
            const unsigned pick = rng() % 100;
            if (pick < break_weight && text.size() + 2 <= length) text += kCrLf;
            else if (pick < break_weight + blank_weight) text += L' ';
            else text.push_back(static_cast<wchar_t>(L'a' + rng() % 26));
        }

        const auto spans = cut_scroll_lines(text);
        std::wstring joined;
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const std::wstring line = line_text(text, spans[i]);
            if (i + 1 < spans.size()) {
                ASSERT_FALSE(line.empty()) << "line " << i << " of " << testing::PrintToString(text);
            }
            ASSERT_LE(line.size(), 98u);
            joined += line;
        }
        ASSERT_EQ(joined, text);
        ASSERT_LE(spans.size(), std::max<std::size_t>(text.size(), 1));
    }
}
