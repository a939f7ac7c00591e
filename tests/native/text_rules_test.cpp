#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chathost/zol_chat.h"
#include "console/text_rules.h"

using namespace zol;

TEST(SignedNumberText, WritesSignBlankPointAndNoGrouping) {
    struct { double value; const wchar_t* text; } rows[] = {
        {18, L" 18"},        {0, L" 0"},          {-0.0, L" 0"},     {-460, L"-460"},
        {1380, L" 1380"},    {2.5, L" 2.5"},      {0.5, L" 0.5"},    {-0.25, L"-0.25"},
        {5 * 0.1 * 3, L" 1.5"},  // 1.5000000000000002 in binary
        {123456789012345, L" 123456789012345"},
        {1e20, L" 1E+20"},   {1.0 / 3, L" 0.333333333333333"},
    };
    for (const auto& row : rows) EXPECT_EQ(signed_number_text(row.value), row.text) << row.value;
}

TEST(LenientNumber, SkipsBlanksTabsLineFeedsAndStopsAtOtherCharacters) {
    struct { const wchar_t* text; double value; } rows[] = {
        {L"2 ", 2},     {L"12", 12},     {L"ab", 0},      {L"", 0},        {L" 7", 7},
        {L"1 2", 12},   {L"\t-3x", -3},  {L"\n4", 4},     {L"1.5.2", 1.5}, {L"-", 0},
        {L".5", 0.5},   {L"+-1", 0},     {L"1-", 1},      {L"\r5", 0},     {L"9e3", 9},
    };
    for (const auto& row : rows) EXPECT_EQ(lenient_number(row.text), row.value) << '"' << testing::PrintToString(std::wstring(row.text)) << '"';
    EXPECT_EQ(lenient_number(std::wstring(400, L'9')), 0);  // beyond the double range
}

TEST(StrictNumber, AcceptsOneNumberInTheUserFormat) {
    NumberFormat us;  // "." and ","
    NumberFormat de{L",", L"."};
    NumberFormat fr{L",", L"\u00a0"};
    struct { const wchar_t* text; const NumberFormat* format; std::optional<double> value; } rows[] = {
        {L"4", &us, 4},          {L" 7 ", &us, 7},        {L"-3", &us, -3},       {L"+2", &us, 2},
        {L"2.5", &us, 2.5},      {L".5", &us, 0.5},       {L"5.", &us, 5},        {L"1,234", &us, 1234},
        {L"1e3", &us, 1000},     {L"2,5", &de, 2.5},      {L"1.234,5", &de, 1234.5},
        {L"1\u00a0000,5", &fr, 1000.5},
        {L"", &us, std::nullopt},     {L"   ", &us, std::nullopt},  {L"abc", &us, std::nullopt},
        {L"4x", &us, std::nullopt},   {L"1 2", &us, std::nullopt},  {L",5", &us, std::nullopt},
        {L"1,", &us, std::nullopt},   {L"-", &us, std::nullopt},    {L".", &us, std::nullopt},
        {L"1e", &us, std::nullopt},   {L"1e999", &us, std::nullopt}, {L"2.5", &de, 25},  // "." groups digits there
        {L"\t4", &us, std::nullopt},
        // A signed exponent; below the smallest double a number reads as
        // what strtod makes of it, down to 0, never as no number.
        {L"1e+3", &us, 1000},         {L"1e-3", &us, 0.001},        {L"-2.5E-1", &us, -0.25},
        {L"1e-310", &us, 1e-310},     {L"1e-400", &us, 0},
        {L"1e+", &us, std::nullopt},  {L"1e-", &us, std::nullopt},  {L"1e+-3", &us, std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(strict_number(row.text, *row.format), row.value) << testing::PrintToString(std::wstring(row.text));
}

TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbour) {
    struct { double in, out; } rows[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {7, 7},
    };
    for (const auto& row : rows) EXPECT_EQ(round_half_even(row.in), row.out) << row.in;
}

TEST(IsDigit, TrueOnlyForOneDecimalDigit) {
    for (const wchar_t* yes : {L"0", L"5", L"9"}) EXPECT_TRUE(zol_chat::is_digit(yes));
    for (const wchar_t* no : {L"", L" ", L"12", L"a", L"\u0663", L"/", L":"}) EXPECT_FALSE(zol_chat::is_digit(no));
}
