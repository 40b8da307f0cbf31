// SPDX-License-Identifier: MIT
// Full house, hidden single and naked single.
#include <bit>

#include "logic/finders.h"

namespace kz::logic {

namespace {

Step PlacementStep(Technique t, int cell, int digit, int unit) {
    Step s;
    s.technique = t;
    s.cells = {static_cast<std::int8_t>(cell)};
    if (unit >= 0) s.units = {static_cast<std::int8_t>(unit)};
    s.digits = {static_cast<std::int8_t>(digit)};
    s.placements = {{static_cast<std::int8_t>(cell), static_cast<std::int8_t>(digit)}};
    return s;
}

}  // namespace

void FindFullHouse(const State& state, const Context&, const StepSink& sink) {
    for (int u = 0; u < kUnitCount; ++u) {
        if (state.OpenIn(u) != 1) continue;
        const int c = (state.Open() & kUnits.set[u]).First();
        // The one digit the unit lacks; a contradiction leaves it without candidates.
        Mask missing = kAllDigits;
        for (int m : kUnits.cells[u]) {
            if (state.Value(m)) missing &= static_cast<Mask>(~(1u << (state.Value(m) - 1)));
        }
        if (BitCount(missing) != 1 || !(state.Candidates(c) & missing)) continue;
        if (!sink(PlacementStep(Technique::FullHouse, c, std::countr_zero(missing) + 1, u))) return;
    }
}

void FindHiddenSingle(const State& state, const Context&, const StepSink& sink) {
    // Boxes first: a person scans boxes before lines.
    for (int k = 0; k < kUnitCount; ++k) {
        const int u = (k + 18) % kUnitCount;
        // A unit with one open cell is a full house, not a hidden single.
        if (!state.LoneIn(u) || state.OpenIn(u) == 1) continue;
        for (unsigned lone = state.LoneIn(u); lone; lone &= lone - 1) {
            const int d = std::countr_zero(lone) + 1;
            const int c = kUnits.cells[u][std::countr_zero(unsigned{state.PlacesIn(u, d)})];
            if (!sink(PlacementStep(Technique::HiddenSingle, c, d, u))) return;
        }
    }
}

void FindNakedSingle(const State& state, const Context&, const StepSink& sink) {
    // The cells holding a digit once and none twice, over the nine digits' cell sets at once.
    CellSet once, twice;
    for (int d = 1; d <= 9; ++d) {
        twice |= once & state.CellsOf(d);
        once |= state.CellsOf(d);
    }
    bool go = true;
    (once & ~twice).ForEach([&](int c) {
        if (go) {
            go = sink(PlacementStep(Technique::NakedSingle, c,
                                    std::countr_zero(unsigned{state.Candidates(c)}) + 1, -1));
        }
    });
}

}  // namespace kz::logic
