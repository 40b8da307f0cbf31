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

// A board's state is made at once from the digits of each unit: it must be the state that
// placing the givens one by one on an empty board makes, and refuse what that refuses.
TEST(Path, BoardStateIsThatOfItsGivensPlacedOneByOne) {
    std::vector<Digits> boards = test::ReadSet("royle_17clue_sample200.txt", 60);
    for (const Digits& board : test::ReadSet("magictour_top1465.txt", 60)) {
        boards.push_back(board);
        // The same givens with one more digit: clashes in a row, a column or a box, a
        // board with no place left for some digit, and an entry out of range.
        for (int k = 0; k < 4; ++k) {
            Digits more = board;
            const int c = static_cast<int>((boards.size() * 7 + k * 23) % 81);
            more[c] = static_cast<std::uint8_t>(k == 3 ? 10 : 1 + (c + k) % 9);
            boards.push_back(more);
        }
    }
    const State empty = *State::FromDigits(Digits{});
    for (int c = 0; c < 81; ++c) ASSERT_EQ(empty.Candidates(c), kAllDigits);
    for (int u = 0; u < kUnitCount; ++u) {
        ASSERT_EQ(empty.OpenIn(u), 9);
        ASSERT_EQ(empty.LoneIn(u), 0);
        for (int d = 1; d <= 9; ++d) ASSERT_EQ(empty.PlacesIn(u, d), 0x1ff);
    }
    int refused = 0;
    for (const Digits& board : boards) {
        std::optional<State> one = empty;
        for (int c = 0; c < 81 && one; ++c) {
            if (board[c] > 9 || (board[c] && !one->Place(c, board[c]))) one.reset();
        }
        const std::optional<State> state = State::FromDigits(board);
        ASSERT_EQ(state.has_value(), one.has_value());
        if (!state) {
            ++refused;
            continue;
        }
        EXPECT_EQ(state->Values(), one->Values());
        EXPECT_EQ(state->Open(), one->Open());
        for (int c = 0; c < 81; ++c) ASSERT_EQ(state->Candidates(c), one->Candidates(c));
        for (int u = 0; u < kUnitCount; ++u) {
            ASSERT_EQ(state->LoneIn(u), one->LoneIn(u));
            ASSERT_EQ(state->OpenIn(u), one->OpenIn(u));
            for (int d = 1; d <= 9; ++d) {
                ASSERT_EQ(state->PlacesIn(u, d), one->PlacesIn(u, d));
                ASSERT_EQ(state->CellsOf(d), one->CellsOf(d));
            }
        }
    }
    EXPECT_GT(refused, 60);  // every out-of-range entry and many clashes
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
