// SPDX-License-Identifier: MIT
// Locked candidates (pointing, claiming) and naked and hidden subsets of two to four.
#include <bit>

#include "logic/finders.h"
#include "logic/patterns.h"

namespace kz::logic {

namespace {

using namespace pattern;

// A digit confined to the intersection of `base` and another unit leaves the rest of that
// unit. Pointing takes boxes as the base and lines as the other, claiming the reverse.
void FindLocked(const State& state, const Context& context, Technique t, int firstBase,
                int lastBase, const StepSink& sink) {
    for (int base = firstBase; base <= lastBase; ++base) {
        const bool box = base >= 18;
        // The digits each third of the base holds: a line's three boxes, or a box's three rows
        // and three columns. A digit in one third only, with more than one place there, is
        // locked in that third.
        const auto& cells = kUnits.cells[base];
        std::array<Mask, 9> m;
        for (int i = 0; i < 9; ++i) m[i] = state.Candidates(cells[i]);
        const std::array<std::array<Mask, 3>, 2> thirds{{
            {Mask(m[0] | m[1] | m[2]), Mask(m[3] | m[4] | m[5]), Mask(m[6] | m[7] | m[8])},
            {Mask(box ? m[0] | m[3] | m[6] : 0), Mask(box ? m[1] | m[4] | m[7] : 0),
             Mask(box ? m[2] | m[5] | m[8] : 0)},
        }};
        const auto lockedIn = [](const std::array<Mask, 3>& p) {
            return static_cast<Mask>((p[0] & ~(p[1] | p[2])) | (p[1] & ~(p[0] | p[2])) |
                                     (p[2] & ~(p[0] | p[1])));
        };
        const Mask inRun = lockedIn(thirds[0]);
        const Mask todo =
            static_cast<Mask>((inRun | lockedIn(thirds[1])) & ~state.LoneIn(base) & context.digits);
        for (unsigned rest = todo; rest; rest &= rest - 1) {
            const int d = std::countr_zero(rest) + 1;
            // A line crosses its box only; a box its rows, then its columns.
            const int k = !box ? 2 : (inRun >> (d - 1)) & 1 ? 0 : 1;
            const int low = std::countr_zero(unsigned{state.PlacesIn(base, d)});
            const int other = kUnits.unitsOf[cells[low]][k];
            const CellSet gone = state.CellsOf(d) & kUnits.set[other] & ~kUnits.set[base];
            if (gone.Empty()) continue;
            Step s = NewStep(t);
            AddCells(s, state.CellsOf(d) & kUnits.set[base]);
            s.units = {I8(base), I8(other)};
            s.digits = {I8(d)};
            AddEliminations(s, gone, d);
            if (!sink(std::move(s))) return;
        }
    }
}

// A subset of unit u: `digits` in the cells of `pattern`, which removes `gone` from the cells
// `from`. True to go on looking (also when it removes nothing), else what the sink says.
bool ReportSubset(const State& state, Technique t, int u, CellSet pattern, Mask digits,
                  CellSet from, Mask gone, const StepSink& sink) {
    Step s = NewStep(t);
    from.ForEach([&](int c) {
        ForEachDigit(state.Candidates(c) & gone, [&](int d) {
            s.eliminations.push_back({I8(c), I8(d)});
        });
    });
    if (s.eliminations.empty()) return true;
    AddCells(s, pattern);
    s.units = {I8(u)};
    AddDigits(s, digits);
    return sink(std::move(s));
}

// n cells of a unit whose candidates together are n digits: the digits go nowhere else in it.
void FindNaked(const State& state, const Context& context, int n, Technique t,
               const StepSink& sink) {
    for (int u = 0; u < kUnitCount; ++u) {
        if (!context.Unit(u) || state.OpenIn(u) <= n) continue;
        std::array<int, 9> cells;
        std::array<Mask, 9> candidates;
        int count = 0;
        for (int c : kUnits.cells[u]) {
            const Mask m = state.Candidates(c);  // none for a placed cell
            const int size = kNineBitCount[m];
            if (size < 2 || size > n) continue;
            candidates[count] = m;
            cells[count++] = c;
        }
        if (count < n) continue;
        const CellSet open = state.Open() & kUnits.set[u];
        const bool go =
            ForEachTightSubset(candidates.data(), count, n, [&](auto pick, Mask digits) {
                if (kNineBitCount[digits] != n) return true;
                CellSet pattern;
                for (int i : pick) pattern.Add(cells[i]);
                return ReportSubset(state, t, u, pattern, digits, open & ~pattern, digits, sink);
            });
        if (!go) return;
    }
}

// n digits of a unit that fit only in the same n cells: those cells hold nothing else.
void FindHidden(const State& state, const Context& context, int n, Technique t,
                const StepSink& sink) {
    for (int u = 0; u < kUnitCount; ++u) {
        if (!context.Unit(u) || state.OpenIn(u) <= n) continue;
        // Each digit's places as nine bits: a union of places is one word and its count a
        // table look-up.
        const auto& unit = kUnits.cells[u];
        std::array<Mask, 9> places;
        std::array<int, 9> digits;
        int count = 0;
        for (int d = 1; d <= 9; ++d) {
            const Mask where = state.PlacesIn(u, d);
            const int size = kNineBitCount[where];
            if (size < 2 || size > n) continue;
            places[count] = where;
            digits[count++] = d;
        }
        if (count < n) continue;
        const bool go = ForEachTightSubset(places.data(), count, n, [&](auto pick, Mask cells) {
            if (kNineBitCount[cells] != n) return true;
            unsigned where = cells;
            Mask mask = 0;
            for (int i : pick) mask |= Bit(digits[i]);
            CellSet pattern;
            for (; where; where &= where - 1) pattern.Add(unit[std::countr_zero(where)]);
            return ReportSubset(state, t, u, pattern, mask, pattern, static_cast<Mask>(~mask),
                                sink);
        });
        if (!go) return;
    }
}

}  // namespace

void FindPointing(const State& state, const Context& context, const StepSink& sink) {
    FindLocked(state, context, Technique::Pointing, 18, 26, sink);
}
void FindClaiming(const State& state, const Context& context, const StepSink& sink) {
    FindLocked(state, context, Technique::Claiming, 0, 17, sink);
}
void FindNakedPair(const State& state, const Context& context, const StepSink& sink) {
    FindNaked(state, context, 2, Technique::NakedPair, sink);
}
void FindHiddenPair(const State& state, const Context& context, const StepSink& sink) {
    FindHidden(state, context, 2, Technique::HiddenPair, sink);
}
void FindNakedTriple(const State& state, const Context& context, const StepSink& sink) {
    FindNaked(state, context, 3, Technique::NakedTriple, sink);
}
void FindHiddenTriple(const State& state, const Context& context, const StepSink& sink) {
    FindHidden(state, context, 3, Technique::HiddenTriple, sink);
}
void FindNakedQuad(const State& state, const Context& context, const StepSink& sink) {
    FindNaked(state, context, 4, Technique::NakedQuad, sink);
}
void FindHiddenQuad(const State& state, const Context& context, const StepSink& sink) {
    FindHidden(state, context, 4, Technique::HiddenQuad, sink);
}

}  // namespace kz::logic
