// SPDX-License-Identifier: MIT
#include "bench/baseline/answer_baseline.h"

#include <algorithm>
#include <array>

#include "bench/baseline/solver_engine.h"
#include "core/answer.h"

namespace kz::baseline {

namespace {

namespace engine = kz::baseline_engine;

bool ToGrid(const ValueArray16& values, engine::Grid& grid) {
    grid = engine::EmptyGrid();
    for (int n = 1; n <= kCellCount; ++n) {
        if (values[n] != 0 && !engine::Place(grid, n - 1, values[n])) return false;
    }
    return true;
}

}  // namespace

int VerifyProblem(const ValueArray16& values) {
    ValueArray16 fixed = values;
    engine::Grid grid;
    if (!PreSolve(fixed)) return VerifyContradiction;
    if (!ToGrid(fixed, grid)) return VerifyNoSolution;
    std::array<engine::Solution, 2> found{};
    int code = engine::CountCompletions(grid, 2, found.data(), {});
    bool sound = true;
    for (int i = 0; i < code; ++i) sound = sound && engine::IsCompletionOf(grid, found[i]);
    if (code == 2) sound = sound && found[0] != found[1];
    return sound ? code : VerifyInternalError;
}

bool SolveBoard(ValueArray16& values) {
    ValueArray16 fixed = values;
    engine::Grid grid;
    if (!PreSolve(fixed) || !ToGrid(fixed, grid)) return false;
    std::array<engine::Solution, 2> found{};
    const engine::BranchWatch none;
    const int count = engine::CountCompletions(grid, 2, found.data(), none);
    if (count == 0) return false;
    const engine::Solution result =
        count == 1 ? found[0]
                   : engine::SmallestCompletion(grid, std::min(found[0], found[1]), none);
    if (!engine::IsCompletionOf(grid, result)) return false;
    for (int n = 1; n <= kCellCount; ++n) values[n] = result[n - 1];
    return true;
}

}  // namespace kz::baseline
