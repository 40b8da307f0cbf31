// SPDX-License-Identifier: MIT
// What the checking, verification and rating commands tell the player, as text.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/answer.h"
#include "logic/solver.h"
#include "logic/state.h"

namespace kz {

/// The verification command's message: for a board without blanks, with a conflict, or else
/// for the solver's verification code.
QString VerificationMessage(bool hasBlank, bool hasConflict, int code);
/// Empty when `digits` form a problem with exactly one solution; otherwise the verification
/// message for them. A solver is made only for a board with blanks and no conflict.
QString ProblemRefusal(const logic::Digits& digits, const std::function<Solver()>& makeSolver);
/// The answer commands' message for a board the solver cannot solve.
QString UnsolvableMessage();
/// The rating command's message: the level, the difficulty and the techniques used, or the
/// verification message for a board without exactly one solution.
QString RatingMessage(const logic::Rating& rating);
/// The congratulation, with the time played when the game was timed.
QString CompletionMessage(std::optional<std::int64_t> elapsedSeconds);
/// A time played as hours, minutes and seconds, each of two digits at least.
QString ElapsedText(std::int64_t seconds);
/// 間違える前に戻る's message: the moves taken back, 0 for a board without a mistake, nothing
/// when the history does not reach back to a sound board.
QString RewindMessage(std::optional<int> steps);

}  // namespace kz
