// SPDX-License-Identifier: MIT
// Cell numbering, the unit tables and the placement test.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "core/board.h"

namespace kz {
namespace {

struct Numbering {
    int cell, row, column, box, boxTopLeft;
};

TEST(BoardNumbering, RowColumnBoxOfCell) {
    const Numbering cases[] = {
        {1, 1, 1, 1, 1},   {9, 1, 9, 3, 7},   {27, 3, 9, 3, 7},  {28, 4, 1, 4, 28},
        {54, 6, 9, 6, 34}, {41, 5, 5, 5, 31}, {73, 9, 1, 7, 55}, {81, 9, 9, 9, 61},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(RowOf(c.cell), c.row);
        EXPECT_EQ(ColumnOf(c.cell), c.column);
        EXPECT_EQ(BoxOf(c.cell), c.box);
        EXPECT_EQ(BoxTopLeft(BoxOf(c.cell)), c.boxTopLeft);
        EXPECT_EQ(UnitCells(c.cell, KindBox)[0], c.boxTopLeft);
    }
}

TEST(BoardNumbering, BoxCentresAreTopLeftPlusTen) {
    const int centres[] = {11, 14, 17, 38, 41, 44, 65, 68, 71};
    for (int b = 1; b <= 9; ++b) {
        EXPECT_EQ(BoxTopLeft(b) + 10, centres[b - 1]);
        EXPECT_EQ(UnitCells(centres[b - 1], KindBox)[4], centres[b - 1]);
    }
}

TEST(BoardUnits, OrderWithinEachKind) {
    EXPECT_EQ(UnitCells(23, KindRow), (UnitCellList{19, 20, 21, 22, 23, 24, 25, 26, 27}));
    EXPECT_EQ(UnitCells(23, KindColumn), (UnitCellList{5, 14, 23, 32, 41, 50, 59, 68, 77}));
    EXPECT_EQ(UnitCells(23, KindBox), (UnitCellList{4, 5, 6, 13, 14, 15, 22, 23, 24}));
    EXPECT_EQ(UnitCells(81, KindBox), (UnitCellList{61, 62, 63, 70, 71, 72, 79, 80, 81}));
}

TEST(BoardUnits, TwentySevenUnitsCoverEveryCellThreeTimes) {
    std::set<UnitCellList> units;
    for (int n = 1; n <= kCellCount; ++n) {
        for (int kind = KindRow; kind <= KindBox; ++kind) {
            const UnitCellList cells = UnitCells(n, kind);
            // Every member of a unit yields the same unit, and n is one of its members.
            EXPECT_NE(std::find(cells.begin(), cells.end(), n), cells.end());
            for (int m : cells) EXPECT_EQ(UnitCells(m, kind), cells) << n << " kind " << kind;
            units.insert(cells);
        }
    }
    ASSERT_EQ(units.size(), 27u);
    std::map<int, int> seen;
    for (const auto& unit : units) {
        EXPECT_EQ(std::set<int>(unit.begin(), unit.end()).size(), 9u);
        for (int m : unit) ++seen[m];
    }
    ASSERT_EQ(seen.size(), 81u);
    for (const auto& [cell, count] : seen) EXPECT_EQ(count, 3) << cell;
}

TEST(BoardCanPlace, Cases) {
    ValueArray8 empty{};
    for (int n = 1; n <= kCellCount; ++n) {
        for (int d = 1; d <= 9; ++d) ASSERT_TRUE(CanPlace(empty, n, d));
    }

    ValueArray8 grid{};
    grid[41] = 5;  // centre cell
    struct Case {
        int cell, digit;
        bool expected;
        const char* why;
    };
    const Case cases[] = {
        {41, 5, true, "the cell's own digit is not looked at"},
        {37, 5, false, "same row"},
        {5, 5, false, "same column"},
        {31, 5, false, "same box"},
        {1, 5, true, "no shared unit"},
        {37, 6, true, "other digit"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CanPlace(grid, c.cell, c.digit), c.expected) << c.why;
    }

    ValueArray16 wide{};
    wide[80] = 9;
    EXPECT_FALSE(CanPlace(wide, 81, 9));
    EXPECT_TRUE(CanPlace(wide, 80, 9));
}

}  // namespace
}  // namespace kz
