// SPDX-License-Identifier: MIT
// The solver's two entry points on the frozen earlier engine, without progress or notices:
// the benchmark's "before" column.
#pragma once

#include "core/board.h"

namespace kz::baseline {

/// What `Solver::VerifyProblem` answered with the earlier engine.
int VerifyProblem(const ValueArray16& values);

/// What `Solver::SolveBoard` did with the earlier engine.
bool SolveBoard(ValueArray16& values);

}  // namespace kz::baseline
