// SPDX-License-Identifier: MIT
// The step path a person would take, the level and score it gives a board, and the hint.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "logic/finders.h"
#include "logic/state.h"
#include "logic/step.h"

namespace kz::logic {

/// The path from a state: at every point the easiest technique that makes progress.
struct Path {
    std::vector<Step> steps;
    State end;            ///< the state the path reached
    bool solved = false;  ///< every cell placed
    int level = 0;        ///< the highest level among the steps (0 for no step)
};

/// Walks the path from `start` using techniques of level ≤ `maxLevel` only; stops solved or
/// stuck. Because every technique only removes candidates and stays valid when others go,
/// the level reached does not depend on the order of the techniques of one level.
Path SolvePath(const State& start, const Context& context, int maxLevel = kMaxLevel);

/// The easiest step that makes progress now, if any.
std::optional<Step> NextStep(const State& state, const Context& context, int maxLevel = kMaxLevel);

/// The score saturates at this many hard steps.
inline constexpr int kMaxHardSteps = 99;

/// How hard a board is for a person.
struct Rating {
    int verifyCode = 0;  ///< the verification code; level and score are set only when it is 1
    int level = 0;       ///< 1..6
    /// Orders boards within a level: 100 × the weight of the hardest technique on the path
    /// plus the number of hard steps (steps of the board's level other than full houses, at
    /// most kMaxHardSteps); 0 for a board with nothing to fill.
    int score = 0;
    /// The difficulty on the community's scale (SER) in tenths: that of the hardest step on
    /// the path (StepDifficulty), 0 for a board with nothing to fill.
    int difficulty = 0;
    Technique hardest = Technique::FullHouse;
    std::array<int, kTechniqueCount> counts{};  ///< steps of each technique on the path
    /// A nested chain search ran out of its budget, and the path guessed.
    bool outOfBudget = false;
};

/// A step's difficulty on the community's scale (SER) in tenths: its technique's (Info().ser),
/// a hidden single in a row or column 1.5 rather than a box's 1.2, and a chain's grown by 0.1
/// for each of 4, 6, 8, 12, 16, 24, 32, 48, 64, 96 … nodes it passes. A forcing chain of
/// several branches is a cell's or house's forcing chains (8.0).
int StepDifficulty(const Step& step);

/// Tenths as the scale writes them: "7.2".
std::string DifficultyText(int tenths);

/// Rates a board (its digits are the givens). With `path`, also returns the path walked.
/// `budget` bounds each nested chain search (Context::budget).
Rating Rate(const Digits& digits, Path* path = nullptr, std::size_t budget = kNestedBudget);

/// The verification code of a board (core/answer.h) and, when it has exactly one solution,
/// that solution in `solution`.
int Verify(const Digits& digits, Digits& solution);

/// The solution of a board with exactly one; nothing otherwise.
std::optional<Digits> UniqueSolution(const Digits& digits);

}  // namespace kz::logic
