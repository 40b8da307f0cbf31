// SPDX-License-Identifier: MIT
// ALS-XZ. An almost locked set is N cells of one unit holding N + 1 digits: take one digit
// out and the rest is locked. Two such sets whose X-cells all see each other cannot both
// lose their X, so one of them is locked without it, and a digit Z of both must be in one
// of them: Z goes from every cell that sees all the Z-cells of both.
#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "logic/finders.h"
#include "logic/notation.h"

namespace kz::logic {

namespace {

constexpr int kMaxAlsCells = 8;

struct Als {
    CellSet cells;
    Mask digits = 0;
    int size = 0;
    int unit = 0;
    std::array<CellSet, 9> seeAll{};  ///< the cells that see all of them
};

std::vector<Als> FindSets(const State& state) {
    std::vector<Als> sets;
    sets.reserve(256);
    std::array<Mask, 512> digitsOf{};
    for (int u = 0; u < kUnitCount; ++u) {
        std::array<int, 9> open{};
        int k = 0;
        for (int c : kUnits.cells[u]) {
            if (state.Candidates(c)) open[k++] = c;
        }
        for (unsigned subset = 1; subset < (1u << k); ++subset) {
            const int low = std::countr_zero(subset);
            digitsOf[subset] =
                static_cast<Mask>(digitsOf[subset & (subset - 1)] | state.Candidates(open[low]));
            const int size = kNineBitCount[subset];
            if (size > kMaxAlsCells || kNineBitCount[digitsOf[subset]] != size + 1) continue;
            Als als;
            for (int i = 0; i < k; ++i) {
                if ((subset >> i) & 1) als.cells.Add(open[i]);
            }
            // Each set once: a cell is its row's, a set inside a box-line intersection its
            // line's.
            const int first = als.cells.First();
            const bool inLine = (als.cells & ~kUnits.set[RowOf(first)]).Empty() ||
                                (als.cells & ~kUnits.set[9 + ColOf(first)]).Empty();
            if ((u >= 18 && inLine) || (u >= 9 && size == 1)) continue;
            als.digits = digitsOf[subset];
            als.size = size;
            als.unit = u;
            sets.push_back(als);
        }
    }
    for (Als& als : sets) {
        for (int d = 1; d <= 9; ++d) {
            if (!(als.digits & DigitBit(d))) continue;
            als.seeAll[d - 1] = CommonPeers(als.cells & state.CellsOf(d));
        }
    }
    return sets;
}

// What a pair with restricted common digit x removes, digit by digit; nothing for a pair
// that overlaps.
Mask Removals(const State& state, const Als& a, const Als& b, int x, std::array<CellSet, 9>* gone) {
    if (!(a.cells & b.cells).Empty()) return 0;
    Mask zs = 0;
    const Mask common = a.digits & b.digits & static_cast<Mask>(~DigitBit(x));
    for (int z = 1; z <= 9; ++z) {
        if (!(common & DigitBit(z))) continue;
        const CellSet cells = a.seeAll[z - 1] & b.seeAll[z - 1] & state.CellsOf(z);
        if (cells.Empty()) continue;
        zs |= DigitBit(z);
        if (gone) (*gone)[z - 1] = cells;
    }
    return zs;
}

Step PairStep(const State& state, const Als& a, const Als& b, int x) {
    std::array<CellSet, 9> gone{};
    const Mask zs = Removals(state, a, b, x, &gone);
    Step step;
    step.technique = Technique::AlsXz;
    for (int z = 1; z <= 9; ++z) AddEliminations(step, gone[z - 1], z);
    AddPatternCells(step, a.cells);
    AddPatternCells(step, b.cells);
    step.units = {static_cast<std::int8_t>(a.unit), static_cast<std::int8_t>(b.unit)};
    step.digits = DigitList(static_cast<Mask>(zs | DigitBit(x)));
    // "(z=x)A-(x=z)B": without Z in A, A is locked with X, so B loses X and keeps Z.
    const std::string xt = DigitsText(DigitBit(x)), zt = DigitsText(zs);
    step.chain = "(" + zt + "=" + xt + ")" + CellsName(a.cells) + "-(" + xt + "=" + zt + ")" +
                 CellsName(b.cells);
    return step;
}

struct Pair {
    int cells;  ///< both sets' cells together: fewer reads easier
    int a, b, x;
};

}  // namespace

void FindAlsXz(const State& state, const Context&, const StepSink& sink) {
    const std::vector<Als> sets = FindSets(state);
    const int n = static_cast<int>(sets.size());
    // The sets by digit and the first cell holding it, so that a set meets only the sets
    // whose X-cells it sees.
    std::vector<int> start(81 * 9 + 1, 0), list;
    for (const Als& s : sets) {
        for (int d = 1; d <= 9; ++d) {
            if (s.digits & DigitBit(d)) ++start[(s.cells & state.CellsOf(d)).First() * 9 + d];
        }
    }
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    list.resize(static_cast<std::size_t>(start.back()));
    std::vector<int> at(start.begin(), start.end() - 1);
    for (int i = 0; i < n; ++i) {
        for (int d = 1; d <= 9; ++d) {
            if (sets[i].digits & DigitBit(d))
                list[at[(sets[i].cells & state.CellsOf(d)).First() * 9 + d - 1]++] = i;
        }
    }
    std::vector<Pair> pairs;
    for (int i = 0; i < n; ++i) {
        const Als& a = sets[i];
        for (int x = 1; x <= 9; ++x) {
            if (!(a.digits & DigitBit(x))) continue;
            const CellSet view = a.seeAll[x - 1] & state.CellsOf(x);
            view.ForEach([&](int c) {
                // Each bucket lists its sets in order: only those after `a` pair with it.
                const auto first = list.begin() + start[c * 9 + x - 1];
                const auto last = list.begin() + start[c * 9 + x];
                for (auto k = std::upper_bound(first, last, i); k != last; ++k) {
                    const int j = *k;
                    const Als& b = sets[j];
                    const CellSet bx = b.cells & state.CellsOf(x);
                    if ((bx & view) != bx) continue;
                    if (Removals(state, a, b, x, nullptr))
                        pairs.push_back({a.size + b.size, i, j, x});
                }
            });
        }
    }
    // Smallest pairs first: the hint shows the pattern with the fewest cells.
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const Pair& p, const Pair& q) { return p.cells < q.cells; });
    // A pair that removes nothing the pairs before it did not changes nothing once those are
    // taken: its step, text and all, is not worth making.
    std::array<CellSet, 9> removed{};
    for (const Pair& p : pairs) {
        std::array<CellSet, 9> gone{};
        Removals(state, sets[p.a], sets[p.b], p.x, &gone);
        bool more = false;
        for (int z = 0; z < 9; ++z) {
            more |= !(gone[z] & ~removed[z]).Empty();
            removed[z] |= gone[z];
        }
        if (!more) continue;
        if (!sink(PairStep(state, sets[p.a], sets[p.b], p.x))) return;
    }
}

}  // namespace kz::logic
