// The fixed text of the Help window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "infowindows/help_text.h"

namespace {

std::vector<std::wstring> HelpLines() {
    std::vector<std::wstring> lines;
    const std::wstring& text = zol::help_text();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));  // what follows the last CR LF
    return lines;
}

TEST(HelpText, HasEightyFourLinesEachEndedByCrLfInLowerCase) {
    const std::vector<std::wstring> lines = HelpLines();
    ASSERT_EQ(lines.size(), 85u);
    EXPECT_EQ(lines.back(), L"") << "the text must end with CR LF";
    for (const std::wstring& line : lines) {
        EXPECT_EQ(line.find_first_of(L"\r\n\tABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::wstring::npos)
            << testing::PrintToString(line);
    }
}

TEST(HelpText, HoldsTheFixedLinesInOrder) {
    const std::vector<std::wstring> lines = HelpLines();
    EXPECT_EQ(lines[0], std::wstring(21, L' ') + L"zolvanta's spar proctoring tools 7.8");
    EXPECT_EQ(lines[1] + lines[2], L"");
    EXPECT_EQ(lines[82], L"love and peace,");
    EXPECT_EQ(lines[83], L"zolvanta");

    // Each fixed line, or the start of a numbered entry after an empty line,
    // must come after the one before it.
    const std::wstring fixed[] = {
        std::wstring(19, L' ') + L"~*~ now for help.  it is really symple. ~*~",
        L"1. ", L"2. ", L"3. ", L"4. ", L"5. ", L"6. ",
        L"~*~ the lymit in each scroll box is 500 characters. ~*~",
        L"7. ", L"8. ", L"9. ",
        L"that's it",
        std::wstring(36, L' ') + L"~  http://zolspar.example.org  ~",
    };
    auto at = lines.begin();
    for (const std::wstring& line : fixed) {
        const bool entry = line.size() == 3;
        at = std::find_if(at, lines.end(), [&](const std::wstring& l) {
            return entry ? l.starts_with(line) && l.find(L" ~ ") != std::wstring::npos : l == line;
        });
        ASSERT_NE(at, lines.end()) << testing::PrintToString(line) << " missing or out of order";
        EXPECT_TRUE(!entry || at[-1].empty()) << testing::PrintToString(line) << " must follow an empty line";
    }
    const auto closing = std::find(lines.begin(), lines.end(), L"that's it");
    ASSERT_LT(closing + 2, lines.end());
    EXPECT_EQ(closing[1], std::wstring(24, L' '));
    EXPECT_EQ(closing[2], std::wstring(28, L' ') + L"~*~v~*~v~*~v~*~v~*~v~*~");
}
}  // namespace
