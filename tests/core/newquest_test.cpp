// SPDX-License-Identifier: MIT
// Variant transforms: where each placement moves a cell, the relabelling, RandomDigit's
// rounding, and that a unique puzzle stays unique.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/newquest.h"

namespace kz {
namespace {

// A source that hands out the given draws in order, then repeats the last one.
RandomSource scripted(std::vector<double> draws) {
    auto index = std::make_shared<std::size_t>(0);
    return [draws = std::move(draws), index]() {
        const double r = draws[std::min(*index, draws.size() - 1)];
        ++*index;
        return r;
    };
}

// The grid whose cell n holds n: the placement step moves bytes whatever they hold, so this
// shows where every cell goes.
ValueArray8 numbered() {
    ValueArray8 grid{};
    for (int n = 1; n <= kCellCount; ++n) grid[n] = static_cast<std::uint8_t>(n);
    return grid;
}

// Where old cell `from` ends up under the placement.
int destination(int placement, int from) {
    ValueArray8 grid = numbered();
    MakeVariant(grid, placement, 0, nullptr);
    for (int n = 1; n <= kCellCount; ++n) {
        if (grid[n] == from) return n;
    }
    return 0;
}

TEST(NewQuestPlacement, KnownMoves) {
    struct Case {
        int placement, from, to;
    } cases[] = {
        {PlaceRotate180, 1, 81},
        {PlaceRotate180, 10, 72},
        {PlaceRotateRight, 1, 9},
        {PlaceRotateRight, 73, 1},
        {PlaceRotateRight, 9, 81},
        {PlaceRotateLeft, 1, 73},
        {PlaceRotateLeft, 9, 1},
        {PlaceMirrorLeftRight, 1, 9},
        {PlaceMirrorLeftRight, 10, 18},
        {PlaceMirrorTopBottom, 1, 73},
        {PlaceMirrorTopBottom, 80, 8},
        {PlaceKeep, 37, 37},
        {6, 1, 73},  // codes the dialog does not offer mirror top to bottom
        {-3, 1, 73},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(destination(c.placement, c.from), c.to)
            << "placement " << c.placement << " cell " << c.from;
    }
}

TEST(NewQuestPlacement, ClosedFormsAndUnitsToUnits) {
    // New cell (r, c) takes the old cell given by each placement's geometric rule.
    using Rule = int (*)(int r, int c);
    const Rule rules[] = {
        [](int r, int c) { return 9 * (r - 1) + c; },
        [](int r, int c) { return 9 * (10 - c - 1) + r; },
        [](int r, int c) { return 9 * (10 - r - 1) + 10 - c; },
        [](int r, int c) { return 9 * (c - 1) + 10 - r; },
        [](int r, int c) { return 9 * (r - 1) + 10 - c; },
        [](int r, int c) { return 9 * (10 - r - 1) + c; },
    };
    for (int placement = 0; placement <= 5; ++placement) {
        SCOPED_TRACE(placement);
        ValueArray8 grid = numbered();
        MakeVariant(grid, placement, 0, nullptr);
        std::set<int> sources;
        for (int n = 1; n <= kCellCount; ++n) {
            EXPECT_EQ(grid[n], rules[placement](RowOf(n), ColumnOf(n))) << "cell " << n;
            sources.insert(grid[n]);
        }
        EXPECT_EQ(sources.size(), 81u);
        // Each unit of the new grid is filled from exactly one unit of the old one.
        for (int n = 1; n <= kCellCount; ++n) {
            for (int kind = KindRow; kind <= KindBox; ++kind) {
                std::set<int> moved;
                for (int m : UnitCells(n, kind)) moved.insert(grid[m]);
                bool isUnit = false;
                for (int k = KindRow; k <= KindBox; ++k) {
                    const UnitCellList old = UnitCells(*moved.begin(), k);
                    isUnit |= std::set<int>(old.begin(), old.end()) == moved;
                }
                EXPECT_TRUE(isUnit) << "cell " << n << " kind " << kind;
            }
        }
    }
}

std::array<int, 10> digitMap(int relabel, const RandomSource& random) {
    ValueArray8 grid{};
    for (int d = 1; d <= 9; ++d) grid[d] = static_cast<std::uint8_t>(d);
    grid[10] = 0;
    MakeVariant(grid, PlaceKeep, relabel, random);
    EXPECT_EQ(grid[10], 0) << "blank cells stay blank";
    std::array<int, 10> map{};
    for (int d = 1; d <= 9; ++d) map[d] = grid[d];
    return map;
}

TEST(NewQuestRelabel, Shifts) {
    using M = std::array<int, 10>;
    struct Case {
        int numberChoice, shift;
        M map;
    } cases[] = {
        {0, 5, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, {2, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {2, 1, {0, 2, 3, 4, 5, 6, 7, 8, 9, 1}}, {2, 8, {0, 9, 1, 2, 3, 4, 5, 6, 7, 8}},
        {3, 1, {0, 9, 1, 2, 3, 4, 5, 6, 7, 8}}, {3, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {3, 4, {0, 6, 7, 8, 9, 1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(digitMap(RelabelCode(c.numberChoice, c.shift), nullptr), c.map)
            << "choice " << c.numberChoice << " shift " << c.shift;
    }
    EXPECT_EQ(RelabelCode(1, 4), kRelabelRandom);
    // A code no dialog produces still yields digits 1..9.
    for (int code : {10, 17, -2, -9, 100}) {
        const auto map = digitMap(code, nullptr);
        EXPECT_EQ(std::set<int>(map.begin() + 1, map.end()),
                  (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}))
            << code;
    }
}

TEST(NewQuestRelabel, RandomPermutationSkipsRepeats) {
    // Draws give digits 5, 5, 1, 5, 9, 9, 2, 3, 4, 6, 7, 8 (r * 9 = 4, 4, 0, 4, 8, ...).
    const auto r = [](double k) { return k / 9.0; };
    const auto map = digitMap(kRelabelRandom, scripted({r(4), r(4), r(0), r(4), r(8), r(8), r(1),
                                                        r(2), r(3), r(5), r(6), r(7)}));
    EXPECT_EQ(map, (std::array<int, 10>{0, 5, 1, 9, 2, 3, 4, 6, 7, 8}));

    // A source stuck on one value must not hang the command; it still gives a permutation.
    const auto stuck = digitMap(kRelabelRandom, [] { return 0.5; });
    EXPECT_EQ(std::set<int>(stuck.begin() + 1, stuck.end()).size(), 9u);
    EXPECT_EQ(stuck[1], 5);
}

TEST(NewQuestRandomDigit, RoundingHalfToEven) {
    struct Case {
        double scaled;  // r * 9
        int digit;
    } cases[] = {
        {0.0, 1},  {0.45, 1}, {0.5, 1},  // a half goes to the even 0
        {0.51, 2}, {1.5, 3},             // 1.5 goes to 2
        {2.5, 3},                        // 2.5 goes to 2
        {3.5, 5},  {7.5, 9},  {8.4, 9}, {8.5, 9}, {8.91, 9},
    };
    for (const auto& c : cases) {
        const double r = c.scaled / 9.0;
        // The endpoints that matter must survive the division exactly.
        if (c.scaled == 0.5 || c.scaled == 1.5 || c.scaled == 2.5) {
            ASSERT_EQ(r * 9.0, c.scaled);
        }
        EXPECT_EQ(RandomDigit([r] { return r; }), c.digit) << "r*9 = " << c.scaled;
    }
    EXPECT_EQ(RandomDigit([] { return 0.05; }), 1);
    EXPECT_EQ(RandomDigit([] { return 0.99; }), 9);
    EXPECT_EQ(RandomDigit([] { return 0.9999999; }), 9);
}

// A plain backtracking counter, independent of the program's solver, capped at 2.
int countSolutions(ValueArray8& g, int limit = 2) {
    int n = 1;
    while (n <= kCellCount && g[n] != 0) ++n;
    if (n > kCellCount) return 1;
    int count = 0;
    for (int d = 1; d <= 9 && count < limit; ++d) {
        if (!CanPlace(g, n, d)) continue;
        g[n] = static_cast<std::uint8_t>(d);
        count += countSolutions(g, limit - count);
        g[n] = 0;
    }
    return count;
}

ValueArray8 parse(const std::string& text) {
    ValueArray8 g{};
    for (int n = 1; n <= kCellCount; ++n) {
        const char c = text[n - 1];
        g[n] = (c >= '1' && c <= '9') ? static_cast<std::uint8_t>(c - '0') : 0;
    }
    return g;
}

TEST(NewQuestVariant, UniquePuzzleStaysUniqueAndConsistent) {
    // An easy unique puzzle keeps the brute-force counter fast.
    const std::string puzzle =
        "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
    ValueArray8 base = parse(puzzle);
    ASSERT_EQ(countSolutions(base), 1);
    const int givens = static_cast<int>(
        std::count_if(base.begin() + 1, base.end(), [](std::uint8_t v) { return v != 0; }));

    for (int placement = 0; placement <= 5; ++placement) {
        for (int relabel : {0, kRelabelRandom, 1, 4, 9}) {
            SCOPED_TRACE(testing::Message() << "placement " << placement << " relabel " << relabel);
            ValueArray8 g = base;
            MakeVariant(g, placement, relabel,
                        scripted({0.3, 0.7, 0.1, 0.9, 0.5, 0.2, 0.8, 0.4, 0.6, 0.0, 0.35, 0.65}));
            EXPECT_EQ(std::count_if(g.begin() + 1, g.end(), [](std::uint8_t v) { return v != 0; }),
                      givens);
            for (int n = 1; n <= kCellCount; ++n) {
                if (g[n] != 0) {
                    EXPECT_TRUE(CanPlace(g, n, g[n])) << "cell " << n;
                }
            }
            EXPECT_EQ(countSolutions(g), 1);
        }
    }
}

}  // namespace
}  // namespace kz
