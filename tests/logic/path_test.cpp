// SPDX-License-Identifier: MIT
// The path as a whole: every board with one solution gets a complete path that ends in that
// solution, and no step on the way removes a digit of the solution.
#include <gtest/gtest.h>

#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

void ExpectSoundCompletePath(const Digits& board) {
    const std::optional<Digits> solution = UniqueSolution(board);
    ASSERT_TRUE(solution);
    Path path;
    const Rating rating = Rate(board, &path);
    ASSERT_EQ(rating.verifyCode, 1);
    ASSERT_TRUE(path.solved);
    EXPECT_EQ(path.end.Values(), *solution);
    std::optional<State> state = State::FromDigits(board);
    for (const Step& step : path.steps) {
        for (const Placement& p : step.placements) {
            ASSERT_EQ((*solution)[p.cell], p.digit) << Info(step.technique).english;
        }
        for (const Elimination& e : step.eliminations) {
            ASSERT_NE((*solution)[e.cell], e.digit) << Info(step.technique).english;
        }
        ASSERT_TRUE(state->Apply(step)) << "a step that changes nothing";
    }
    EXPECT_GE(rating.level, 1);
    EXPECT_LE(rating.level, kMaxLevel);
}

TEST(Path, EveryHardPuzzleGetsASoundCompletePath) {
    for (const char* set :
         {"forum_hardest_1106.txt", "magictour_top1465.txt", "royle_17clue_sample200.txt"}) {
        for (const Digits& board : test::ReadSet(set, 150)) ExpectSoundCompletePath(board);
    }
}

TEST(Path, BoardsWithoutOneSolutionAreNotRated) {
    Digits empty{};
    EXPECT_EQ(Rate(empty).verifyCode, 2);
    Digits clash{};
    clash[0] = clash[1] = 5;
    EXPECT_EQ(Rate(clash).verifyCode, -1);
    EXPECT_FALSE(State::FromDigits(clash));
}

// A step's short lists hold a few entries inside themselves and move to the heap beyond:
// every length across that edge must keep its entries through copies, moves and growth.
TEST(Path, StepListsKeepTheirEntriesAcrossTheirInlineRoom) {
    using List = ShortList<std::int8_t, 4>;
    for (int n = 0; n <= 12; ++n) {
        std::vector<std::int8_t> expected;
        List list;
        for (int i = 0; i < n; ++i) {
            list.push_back(static_cast<std::int8_t>(i * 7));
            expected.push_back(static_cast<std::int8_t>(i * 7));
        }
        const List copy = list;
        List assigned{1, 2, 3, 4, 5, 6};
        assigned = copy;
        List moved = std::move(list);
        List moveAssigned{9};
        moveAssigned = std::move(moved);
        for (const List* got : {&copy, static_cast<const List*>(&assigned),
                                static_cast<const List*>(&moveAssigned)}) {
            EXPECT_EQ(std::vector<std::int8_t>(*got), expected) << n;
            EXPECT_EQ(got->size(), expected.size()) << n;
        }
        EXPECT_TRUE(moved.empty() && list.empty()) << n;  // a moved-from list is empty
        moved.push_back(1);                               // and usable
        EXPECT_EQ(moved, (std::vector<std::int8_t>{1}));
        EXPECT_TRUE(List(expected) == copy) << n;
    }
}

}  // namespace
}  // namespace kz::logic
