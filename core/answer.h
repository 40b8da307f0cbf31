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

/// A reusable solver; cheap to create, holds no global state. Value arrays hold 0..9 in
/// entries 1..81 (0 = blank); every non-blank cell counts as fixed.
class Solver {
public:
    explicit Solver(ProgressFn progress = {}, NoticeFn notice = {});

    /// Completes `values` with the completion that is smallest in cell order and returns
    /// true; returns false and leaves `values` unchanged when there is none. Ends with the
    /// empty progress text.
    bool SolveBoard(ValueArray16& values);

    /// One of the `VerifyCode` values. Ends with the empty progress text.
    int VerifyProblem(const ValueArray16& values);

private:
    ProgressFn m_progress;
    NoticeFn m_notice;
};

}  // namespace kz
