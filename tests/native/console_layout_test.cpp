// The console's layout table: what the window builder relies on and a typo
// in a row would break without any compiler noticing.
#include <gtest/gtest.h>

#include <set>

#include "console/console_layout.h"

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
