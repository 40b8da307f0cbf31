// SPDX-License-Identifier: MIT
// The hint: mistakes before steps, the explanation's first step without notes, and a whole game
// played from full candidates by applying hint after hint to the notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "core/answer.h"
#include "logic/hint.h"
#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

// Every open cell's notes are the digits its units allow, as the fill command writes them.
NoteArray AllCandidates(const Digits& digits) {
    NoteArray notes{};
    const State state = *State::FromDigits(digits);
    state.Open().ForEach([&](int c) { notes[c + 1] = state.Candidates(c); });
    return notes;
}

// What the window does with a step on the notes: a placement takes the cell's notes and the
// digit from its peers' notes.
void ApplyToNotes(const Step& step, Digits& board, NoteArray& notes) {
    for (const Placement& p : step.placements) {
        board[p.cell] = static_cast<std::uint8_t>(p.digit);
        notes[p.cell + 1] = 0;
        kUnits.peers[p.cell].ForEach([&](int q) { notes[q + 1] &= ~NoteBit(p.digit); });
    }
    for (const Elimination& e : step.eliminations) notes[e.cell + 1] &= ~NoteBit(e.digit);
}

TEST(Hint, MistakesComeBeforeAnyStep) {
    const Digits puzzle = test::ReadSet("magictour_top1465.txt", 1)[0];
    const Digits solution = *UniqueSolution(puzzle);
    const int open = 1, given = 0;  // cell 0 holds a given, cell 1 is open
    ASSERT_TRUE(puzzle[given] && !puzzle[open]);
    const auto other = [&](int c) { return static_cast<std::uint8_t>(solution[c] % 9 + 1); };
    NoteArray lacking{};
    lacking[open + 1] = kAllNotes & ~NoteBit(solution[open]);
    lacking[3] = kAllNotes & ~NoteBit(solution[2]);

    Digits wrongBoard = puzzle, clash{}, noteOnDigit = puzzle;
    wrongBoard[open] = other(open);
    wrongBoard[given] = other(given);  // over a given: the board's digit counts
    clash[0] = clash[1] = 5;
    NoteArray onDigit{};
    onDigit[given + 1] = NoteBit(other(given));  // a digit hides its cell's notes
    struct Row {
        Digits puzzle, board;
        NoteArray notes;
        HintKind kind;
        int code;
        std::vector<int> wrong;
        std::vector<CellDigit> missing = {};
    };
    const Row rows[] = {
        {Digits{}, Digits{}, {}, HintKind::Unsolvable, VerifyMultiple, {}},
        {clash, clash, {}, HintKind::Unsolvable, VerifyContradiction, {}},
        {puzzle, wrongBoard, lacking, HintKind::Wrong, VerifyUnique, {0, 1}},
        {puzzle,
         puzzle,
         lacking,
         HintKind::Missing,
         VerifyUnique,
         {},
         {{open, solution[open]}, {2, solution[2]}}},
        {puzzle, noteOnDigit, onDigit, HintKind::Steps, VerifyUnique, {}},
        {puzzle, solution, lacking, HintKind::Solved, VerifyUnique, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        const Hint hint = FindHint(row.puzzle, row.board, row.notes);
        EXPECT_EQ(hint.kind, row.kind);
        EXPECT_EQ(hint.verifyCode, row.code);
        EXPECT_EQ(hint.wrong, row.wrong);
        EXPECT_EQ(hint.missing, row.missing);
        EXPECT_FALSE(hint.onNotes && row.kind == HintKind::Steps);
    }

    // Without notes the board cannot show a removal: the hint runs on to a placement.
    const Hint first = FindHint(puzzle, puzzle, {});
    for (const Step& step : first.steps)
        EXPECT_EQ(step.placements.empty(), &step != &first.steps.back());

    // The first look names the house, not the digit.
    const Step& single = first.steps.front();
    ASSERT_EQ(single.technique, Technique::HiddenSingle);
    EXPECT_EQ(DescribeFocus(single, Lang::Japanese), "ブロック7にヒドゥンシングルがあります");
    EXPECT_EQ(DescribeFocus(single, Lang::English), "Next step: Hidden Single in box 7");
}

TEST(Hint, WithoutNotesItStartsWhereTheExplanationStarts) {
    for (const Digits& puzzle : test::ReadSet("forum_hardest_1106.txt", 40)) {
        Digits board = puzzle;  // half of the open cells played
        for (int c = 0; c < 81; c += 2) board[c] = UniqueSolution(puzzle).value()[c];
        for (const Digits& start : {puzzle, board}) {
            Path path;
            Rate(start, &path);
            EXPECT_EQ(Describe(FindHint(puzzle, start, {}).steps.at(0), Lang::English),
                      Describe(path.steps.at(0), Lang::English));
        }
    }
}

// The rating, its counts and the explanation read one path: at every state on it, the hint
// from full candidates must name the technique the path took there. A path that took several
// steps of one search at once, or a remembered step once something easier had come up, breaks
// this at the first state after the search.
TEST(Hint, PathTakesTheHintsTechniqueAtEveryState) {
    for (const char* set : {"forum_hardest_1106.txt", "magictour_top1465.txt",
                            "forum_hardest_1905_sample500.txt", "royle_17clue_sample200.txt"}) {
        for (const Digits& puzzle : test::ReadSet(set, 6)) {
            SCOPED_TRACE(set);
            Path path;
            ASSERT_EQ(Rate(puzzle, &path).verifyCode, VerifyUnique);
            State state = *State::FromDigits(puzzle);
            for (std::size_t i = 0; i < path.steps.size(); ++i) {
                NoteArray notes{};
                state.Open().ForEach([&](int c) { notes[c + 1] = state.Candidates(c); });
                const Hint hint = FindHint(puzzle, state.Values(), notes);
                ASSERT_EQ(hint.kind, HintKind::Steps);
                ASSERT_EQ(Info(hint.steps.at(0).technique).english,
                          Info(path.steps[i].technique).english)
                    << "step " << i;
                // The first look names a place: a house, a digit's places, or the cell the
                // step settles.
                const std::string look = DescribeFocus(hint.steps[0], Lang::English);
                EXPECT_TRUE(look.find(" in ") != std::string::npos ||
                            look.find(" on digit ") != std::string::npos ||
                            look.find(" from r") != std::string::npos ||
                            look.find(" settles r") != std::string::npos ||
                            look.find("digit of r") != std::string::npos)
                    << look;
                ASSERT_TRUE(state.Apply(path.steps[i]));
            }
        }
    }
}

TEST(Hint, HardPuzzlesSolvedFromFullCandidatesByHintsAlone) {
    std::array<int, kTechniqueCount> seen{};
    int onlyRemovals = 0;
    for (const char* set : {"magictour_top1465.txt", "forum_hardest_1106.txt"}) {
        for (const Digits& puzzle : test::ReadSet(set, 25)) {
            const Digits solution = *UniqueSolution(puzzle);
            Digits board = puzzle;
            NoteArray notes = AllCandidates(puzzle);
            Hint hint;
            for (int round = 0; round < 800; ++round) {
                hint = FindHint(puzzle, board, notes);
                if (hint.kind != HintKind::Steps) break;
                ASSERT_EQ(hint.steps.size(), 1u);
                const Step& step = hint.steps[0];
                ++seen[static_cast<int>(step.technique)];
                onlyRemovals += step.placements.empty();
                bool changes = !step.placements.empty();
                for (const Placement& p : step.placements) ASSERT_EQ(p.digit, solution[p.cell]);
                for (const Elimination& e : step.eliminations) {
                    ASSERT_NE(e.digit, solution[e.cell]) << Describe(step, Lang::English);
                    changes |= (notes[e.cell + 1] & NoteBit(e.digit)) != 0;
                }
                ASSERT_TRUE(changes) << Describe(step, Lang::English);
                const Focus focus = FocusOf(step);
                for (int u : focus.units) {
                    EXPECT_TRUE(std::any_of(step.cells.begin(), step.cells.end(), [&](int c) {
                        return kUnits.set[u].Has(c);
                    })) << Describe(step, Lang::English);
                }
                ApplyToNotes(step, board, notes);
            }
            EXPECT_EQ(hint.kind, HintKind::Solved);
            EXPECT_EQ(board, solution);
        }
    }
    // The walk met more than singles, and steps that only remove candidates.
    EXPECT_GT(onlyRemovals, 0);
    EXPECT_GT(seen[static_cast<int>(Technique::Pointing)], 0);
    EXPECT_GT(std::count_if(seen.begin() + static_cast<int>(Technique::XWing), seen.end(),
                            [](int n) { return n > 0; }),
              3);
}

}  // namespace
}  // namespace kz::logic
