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

}  // namespace
}  // namespace kz::logic
