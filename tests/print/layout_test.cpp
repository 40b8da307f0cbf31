// SPDX-License-Identifier: MIT
// Booklet layout over every count, every choice of puzzles a page, with and without
// solutions, on A4 and Letter both ways up: every puzzle once and in order, nothing off the
// paper or on top of anything else.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "print/booklet.h"  // kMaxPuzzles
#include "print/layout.h"

namespace kz::print {
namespace {

constexpr Size kA4{595.28, 841.89};
constexpr Size kLetter{612, 792};
constexpr double kEdge = 18;  // a quarter inch: as near the edge as any printer reaches

bool Overlap(const Box& a, const Box& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool Inside(const Box& box, const Size& paper) {
    return box.x >= kEdge && box.y >= kEdge && box.right() <= paper.width - kEdge &&
           box.bottom() <= paper.height - kEdge;
}

TEST(LayoutTest, EveryPuzzleOnceInOrderWithinThePaperAndApart) {
    for (const Size paper : {kA4, kLetter, Size{kA4.height, kA4.width}}) {
        for (int perPage : kPerPageChoices) {
            for (bool solutions : {false, true}) {
                for (int count = 1; count <= kMaxPuzzles; ++count) {
                    SCOPED_TRACE(std::to_string(count) + " puzzles, " + std::to_string(perPage) +
                                 " a page, solutions " + std::to_string(solutions) + ", " +
                                 std::to_string(paper.width) + " wide");
                    const std::vector<Page> pages = LayoutPages(count, perPage, solutions, paper);
                    ASSERT_EQ(static_cast<int>(pages.size()), PageCount(count, perPage, solutions));
                    std::vector<std::pair<bool, int>> order;
                    double puzzleSide = 0;
                    double solutionSide = 0;
                    for (std::size_t i = 0; i < pages.size(); ++i) {
                        const Page& page = pages[i];
                        ASSERT_EQ(page.number, static_cast<int>(i) + 1);
                        ASSERT_FALSE(page.grids.empty());
                        ASSERT_LE(
                            page.grids.size(),
                            static_cast<std::size_t>(page.solutions ? kSolutionsPerPage : perPage));
                        ASSERT_TRUE(Inside(page.heading, paper) && Inside(page.foot, paper));
                        for (std::size_t a = 0; a < page.grids.size(); ++a) {
                            const Slot& slot = page.grids[a];
                            ASSERT_EQ(slot.solution, page.solutions);
                            order.emplace_back(slot.solution, slot.puzzle);
                            double& side = slot.solution ? solutionSide : puzzleSide;
                            if (side == 0) side = slot.grid.width;
                            // One size for every grid of a kind, square, its label just above.
                            ASSERT_DOUBLE_EQ(slot.grid.width, side);
                            ASSERT_DOUBLE_EQ(slot.grid.height, side);
                            ASSERT_DOUBLE_EQ(slot.label.bottom(), slot.grid.y);
                            ASSERT_DOUBLE_EQ(slot.label.x, slot.grid.x);
                            ASSERT_GT(slot.label.height, 0);
                            for (const Box& box : {slot.label, slot.grid}) {
                                ASSERT_TRUE(Inside(box, paper));
                                ASSERT_FALSE(Overlap(box, page.heading));
                                ASSERT_FALSE(Overlap(box, page.foot));
                            }
                            for (std::size_t b = a + 1; b < page.grids.size(); ++b) {
                                const Slot& other = page.grids[b];
                                ASSERT_FALSE(Overlap(slot.grid, other.grid));
                                ASSERT_FALSE(Overlap(slot.grid, other.label));
                                ASSERT_FALSE(Overlap(slot.label, other.grid));
                            }
                        }
                    }
                    std::vector<std::pair<bool, int>> expected;
                    for (bool s : {false, true}) {
                        if (s && !solutions) break;
                        for (int p = 0; p < count; ++p) expected.emplace_back(s, p);
                    }
                    ASSERT_EQ(order, expected);
                    // Solutions are the small print; a puzzle must be big enough to write in.
                    if (solutions) {
                        ASSERT_LT(solutionSide, puzzleSide);
                    }
                    ASSERT_GE(puzzleSide, 150.0);  // over 5 cm
                }
            }
        }
    }
}

TEST(LayoutTest, NothingForNoPuzzleAnOfferNotMadeOrPaperTooSmall) {
    EXPECT_TRUE(LayoutPages(0, 4, true, kA4).empty());
    EXPECT_TRUE(LayoutPages(5, 3, false, kA4).empty());
    EXPECT_EQ(PageCount(5, 3, false), 0);
    EXPECT_TRUE(LayoutPages(5, 4, false, Size{100, 100}).empty());
}

}  // namespace
}  // namespace kz::print
