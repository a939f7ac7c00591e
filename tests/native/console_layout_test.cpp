// The console's layout table: what the window builder relies on and a typo
// in a row would break without any compiler noticing.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "console/console_layout.h"
#include "infowindows/help_text.h"

namespace zol {
namespace {

using ui::ControlKind;

TEST(ConsoleLayout, RowsHaveDistinctIdsAndFitTheClientArea) {
    std::set<int> ids;
    for (const ui::ControlRow& row : console_controls()) {
        SCOPED_TRACE(row.id);
        EXPECT_TRUE(ids.insert(row.id).second) << "id used twice";
        EXPECT_GE(row.place.left, 0);
        EXPECT_GE(row.place.top, 0);
        EXPECT_GT(row.place.width, 0);
        EXPECT_GT(row.place.height, 0);
        EXPECT_LE(row.place.left + row.place.width, kConsoleWidthTwips);
        EXPECT_LE(row.place.top + row.place.height, kConsoleHeightTwips);
    }
    EXPECT_EQ(ids.size(), 21u);
    EXPECT_EQ(ids.count(idm_about) + ids.count(idm_help), 0u) << "a control shares an id with the menu";
}

TEST(ConsoleLayout, TabOrderVisitsEveryFocusableControlOnce) {
    std::set<int> tab_indexes;
    int focusable = 0;
    for (const ui::ControlRow& row : console_controls()) {
        if (!ui::takes_focus(row.kind)) continue;
        ++focusable;
        EXPECT_GE(row.tab_index, 0) << row.id;
        EXPECT_TRUE(tab_indexes.insert(row.tab_index).second) << "tab index used twice: " << row.tab_index;
    }
    EXPECT_EQ(focusable, 15);  // 6 boxes, 4 push buttons, 3 toggles, 2 flat buttons
}

TEST(ConsoleLayout, EveryBoxIsNamedByALabelOrATooltip) {
    for (const ui::ControlRow& row : console_controls()) {
        if (row.kind != ControlKind::single_line_box && row.kind != ControlKind::multi_line_box) continue;
        SCOPED_TRACE(row.id);
        const auto label = label_of_box(static_cast<ControlId>(row.id));
        if (!label) {
            EXPECT_FALSE(row.tooltip.empty());
            continue;
        }
        bool found = false;
        for (const ui::ControlRow& other : console_controls()) {
            if (other.id != *label) continue;
            found = true;
            EXPECT_EQ(other.kind, ControlKind::label);
            EXPECT_FALSE(other.text.empty());
        }
        EXPECT_TRUE(found) << "no label row " << *label;
    }
}

// The help says how much each scroll box takes; the single-line boxes take
// as much as an edit box does by itself.
TEST(ConsoleLayout, BoxesTakeAsManyCharactersAsTheHelpSays) {
    const std::wstring promise = L"the lymit in each scroll box is ";
    const std::wstring& help = help_text();
    const std::size_t at = help.find(promise);
    ASSERT_NE(at, std::wstring::npos);
    const std::size_t limit = std::stoul(help.substr(at + promise.size()));
    for (const ui::ControlRow& row : console_controls()) {
        SCOPED_TRACE(row.id);
        if (row.kind == ControlKind::multi_line_box) {
            EXPECT_EQ(row.max_length, limit);
        } else if (row.kind == ControlKind::single_line_box) {
            EXPECT_EQ(row.max_length, 0u);
        }
    }
}

// Bytes decoded as Windows decodes code page 1252: Latin-1 but for 80..9F,
// whose five unassigned bytes stay their C1 control codes.
TEST(Windows1252, DecodesTheBytesWhereItDiffersFromLatin1AsWindowsDoes) {
    struct { unsigned char byte; wchar_t ch; } rows[] = {
        {0x41, L'A'},     {0x7F, 0x007F},   {0x80, 0x20AC},   {0x81, 0x0081},   {0x8A, 0x0160},
        {0x8D, 0x008D},   {0x99, 0x2122},   {0x9F, 0x0178},   {0xA0, 0x00A0},   {0xFF, 0x00FF},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(decode_windows_1252(std::string(1, static_cast<char>(row.byte))), std::wstring(1, row.ch))
            << std::hex << static_cast<int>(row.byte);
    }
}

TEST(ConsoleLayout, OnlyTheScannerIsMadeByTheConsoleItself) {
    int custom = 0;
    for (const ui::ControlRow& row : console_controls()) {
        if (row.kind != ControlKind::custom) continue;
        ++custom;
        EXPECT_EQ(row.id, idc_zolvantachat81);
    }
    EXPECT_EQ(custom, 1);
}

}  // namespace
}  // namespace zol
