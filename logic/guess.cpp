// SPDX-License-Identifier: MIT
// The last resort: a digit taken from the solution the fast engine found, in the open cell
// with the fewest candidates, so that every board with one solution gets a complete path.
#include <bit>

#include "logic/finders.h"

namespace kz::logic {

void FindGuess(const State& state, const Context& context, const StepSink& sink) {
    if (!context.solution || state.Solved()) return;
    int best = -1;
    state.Open().ForEach([&](int c) {
        if (best < 0 || BitCount(state.Candidates(c)) < BitCount(state.Candidates(best))) best = c;
    });
    const int d = (*context.solution)[best];
    if (!state.Has(best, d)) return;  // the state already contradicts the solution
    Step s;
    s.technique = Technique::Guess;
    s.cells = {static_cast<std::int8_t>(best)};
    s.digits = {static_cast<std::int8_t>(d)};
    s.placements = {{static_cast<std::int8_t>(best), static_cast<std::int8_t>(d)}};
    sink(std::move(s));
}

}  // namespace kz::logic
