// SPDX-License-Identifier: MIT
// Patterns that rest on the board having one solution: a pattern that would allow two is
// ruled out. Both finders keep quiet unless the context says the solution is unique.
#include "logic/finders.h"
#include "logic/patterns.h"

namespace kz::logic {

namespace {

using namespace pattern;

}  // namespace

// Four open cells on two rows, two columns and two boxes: when three hold only {a,b}, the
// fourth cannot be a or b, or a and b could be swapped round the rectangle.
void FindUniqueRectangle1(const State& state, const Context& context, const StepSink& sink) {
    if (!context.solution) return;
    for (int r1 = 0; r1 < 9; ++r1) {
        for (int r2 = r1 + 1; r2 < 9; ++r2) {
            for (int c1 = 0; c1 < 9; ++c1) {
                for (int c2 = c1 + 1; c2 < 9; ++c2) {
                    // Two boxes: the rows share a band or the columns share a stack, not both.
                    if ((r1 / 3 == r2 / 3) == (c1 / 3 == c2 / 3)) continue;
                    const int corner[4] = {9 * r1 + c1, 9 * r1 + c2, 9 * r2 + c1, 9 * r2 + c2};
                    Mask m[4];
                    int pairs = 0;
                    Mask pair = 0;
                    bool open = true;
                    for (int k = 0; k < 4; ++k) {
                        m[k] = state.Candidates(corner[k]);
                        open &= m[k] != 0;
                        if (std::popcount(m[k]) == 2) {
                            pairs += pair == 0 || pair == m[k];
                            pair = pair ? pair : m[k];
                        }
                    }
                    if (!open || pairs != 3) continue;
                    for (int k = 0; k < 4; ++k) {
                        if (m[k] == pair || (m[k] & pair) != pair) continue;
                        Step s = NewStep(Technique::UniqueRectangle1);
                        for (int j = 0; j < 4; ++j) {
                            if (j != k) s.cells.push_back(I8(corner[j]));
                        }
                        s.cells.push_back(I8(corner[k]));
                        s.units = {I8(r1), I8(r2), I8(9 + c1), I8(9 + c2)};
                        AddDigits(s, pair);
                        ForEachDigit(pair, [&](int d) {
                            s.eliminations.push_back({I8(corner[k]), I8(d)});
                        });
                        if (!sink(std::move(s))) return;
                    }
                }
            }
        }
    }
}

// Every open cell but one has two candidates and every candidate occurs twice in each of its
// units: such a state has no solution or two, so the extra cell takes the digit that occurs
// three times around it.
void FindBugPlusOne(const State& state, const Context& context, const StepSink& sink) {
    if (!context.solution || state.Solved()) return;
    int extra = -1;
    bool bug = true;
    state.Open().ForEach([&](int c) {
        const int size = std::popcount(state.Candidates(c));
        if (size == 3 && extra < 0) {
            extra = c;
        } else if (size != 2) {
            bug = false;
        }
    });
    if (!bug || extra < 0) return;
    int digit = 0;
    for (int d = 1; d <= 9 && bug; ++d) {
        for (int u = 0; u < kUnitCount && bug; ++u) {
            const CellSet where = state.CellsOf(d) & kUnits.set[u];
            const int count = where.Count();
            if (count == 0 || count == 2) continue;
            // Only the extra cell's own units may hold a digit three times, and only one digit.
            if (count == 3 && where.Has(extra) && (digit == 0 || digit == d)) {
                digit = d;
            } else {
                bug = false;
            }
        }
    }
    if (!bug || digit == 0) return;
    for (int u : kUnits.unitsOf[extra]) {
        if ((state.CellsOf(digit) & kUnits.set[u]).Count() != 3) return;
    }
    Step s = NewStep(Technique::BugPlusOne);
    s.cells = {I8(extra)};
    s.units = {I8(kUnits.unitsOf[extra][0]), I8(kUnits.unitsOf[extra][1]),
               I8(kUnits.unitsOf[extra][2])};
    s.digits = {I8(digit)};
    s.placements = {{I8(extra), I8(digit)}};
    sink(std::move(s));
}

}  // namespace kz::logic
