// SPDX-License-Identifier: MIT
// Patterns that rest on the board having one solution: a pattern that would allow two is
// ruled out. Both finders keep quiet unless the context says the solution is unique.
#include <algorithm>

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
    CellSet bivalue;
    state.Open().ForEach([&](int c) {
        if (kNineBitCount[state.Candidates(c)] == 2) bivalue.Add(c);
    });
    // Exactly three corners hold the pair, so exactly one row holds two of them: start there.
    bool go = true;
    bivalue.ForEach([&](int a) {
        const Mask pair = state.Candidates(a);
        const int r1 = RowOf(a);
        (bivalue & kUnits.set[r1]).ForEach([&](int b) {
            if (!go || b <= a || state.Candidates(b) != pair) return;
            const int c1 = ColOf(a);
            const int c2 = ColOf(b);
            for (int r2 = 0; r2 < 9 && go; ++r2) {
                // Two boxes: the rows share a band or the columns share a stack, not both.
                if (r2 == r1 || (r1 / 3 == r2 / 3) == (c1 / 3 == c2 / 3)) continue;
                const int x = 9 * r2 + c1;
                const int y = 9 * r2 + c2;
                const Mask mx = state.Candidates(x);
                const Mask my = state.Candidates(y);
                const bool xPair = mx == pair;
                const int fourth = xPair ? y : x;
                const Mask m4 = xPair ? my : mx;
                if ((!xPair && my != pair) || m4 == pair || (m4 & pair) != pair) continue;
                Step s = NewStep(Technique::UniqueRectangle1);
                s.cells = {I8(a), I8(b), I8(xPair ? x : y), I8(fourth)};
                s.units = {I8(std::min(r1, r2)), I8(std::max(r1, r2)), I8(9 + c1), I8(9 + c2)};
                AddDigits(s, pair);
                ForEachDigit(pair, [&](int d) { s.eliminations.push_back({I8(fourth), I8(d)}); });
                go = sink(std::move(s));
            }
        });
    });
}

// Every open cell but one has two candidates and every candidate occurs twice in each of its
// units: such a state has no solution or two, so the extra cell takes the digit that occurs
// three times around it.
void FindBugPlusOne(const State& state, const Context& context, const StepSink& sink) {
    if (!context.solution || state.Solved()) return;
    int extra = -1;
    bool bug = true;
    state.Open().ForEach([&](int c) {
        const int size = kNineBitCount[state.Candidates(c)];
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
