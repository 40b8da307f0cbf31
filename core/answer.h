// SPDX-License-Identifier: MIT
// The solver (module `answer`): completes a board and tells whether a problem has no, one or
// several solutions. Results are exactly those of the rule step followed by a plain
// depth-first search in cell order, computed by a much faster search.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/board.h"

namespace kz {

/// Result codes of `VerifyProblem`.
enum VerifyCode : int {
    VerifyInternalError = -2,  ///< the two searches disagreed (never expected)
    VerifyContradiction = -1,  ///< the rule step found a unit where a digit has no cell
    VerifyNoSolution = 0,
    VerifyUnique = 1,
    VerifyMultiple = 2,
};

/// Status-line text: a non-empty text shows the panel, the empty text hides it.
using ProgressFn = std::function<void(std::string_view)>;
/// A notice for the user (the only one is the internal-logic message).
using NoticeFn = std::function<void(std::string_view)>;

inline constexpr std::string_view kInternalLogicNotice =
    "\u30d7\u30ed\u30b0\u30e9\u30e0\u306e\u5185\u90e8\u30ed\u30b8\u30c3\u30af\u306b\u9593\u9055"
    "\u3044\u304c\u3042\u308a\u307e\u3059";  // プログラムの内部ロジックに間違いがあります

/// "計算中...　[" + digit + "]" (one U+3000 between the dots and the bracket).
std::string ProgressText(int digit);

/// The rule step on a value array, in place: candidates from the fixed cells as they are on
/// entry, then one pass of hidden singles over rows, columns and boxes. False on a
/// contradiction: a digit with no cell in some unit, two of its own placements of one digit in
/// one unit, or an entry outside 0..9. Every placement it makes is forced, so it never loses a
/// completion.
bool PreSolve(ValueArray16& fixed);

/// A reusable solver; cheap to create, holds no global state. Value arrays hold 0..9 in
/// entries 1..81 (0 = blank); every non-blank cell counts as fixed. Progress reports "計算中...
/// [d]" at most once per digit while the search tries digit d in the first cell left open by
/// the rule step; every call ends with the empty text.
class Solver {
public:
    explicit Solver(ProgressFn progress = {}, NoticeFn notice = {});

    /// Completes `values` with the completion that is smallest in cell order (cell 1 first)
    /// and returns true; returns false and leaves `values` unchanged when there is none.
    bool SolveBoard(ValueArray16& values);

    /// One of the `VerifyCode` values: −1 when `PreSolve` finds a contradiction, else the
    /// number of completions capped at 2. −2 (after the internal-logic notice) only if a
    /// completion the search found fails the final rule check. With `solution`, a board with
    /// exactly one completion also gets it there (entries 1..81), saving a second search.
    int VerifyProblem(const ValueArray16& values, ValueArray16* solution = nullptr);

private:
    ProgressFn m_progress;
    NoticeFn m_notice;
};

}  // namespace kz
