// SPDX-License-Identifier: MIT
// ALS-XZ. An almost locked set is N cells of one unit holding N + 1 digits: take one digit
// out and the rest is locked. Two such sets whose X-cells all see each other cannot both
// lose their X, so one of them is locked without it, and a digit Z of both must be in one
// of them: Z goes from every cell that sees all the Z-cells of both.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "logic/finders.h"
#include "logic/notation.h"

namespace kz::logic {

namespace {

struct Als {
    CellSet cells;
    Mask digits = 0;
    int size = 0;
    int unit = 0;
    /// For each digit d of the set, the cells holding d that see all its d-cells: where d may
    /// go once the set is locked with it. The entries of digits it lacks are stale.
    std::array<CellSet, 9> reach;
    /// For each digit d of the set, its first cell holding d (stale for the others).
    std::array<std::uint8_t, 9> first;
};

/// A set in the list of the sets whose first X-cell is one cell, with its X-cells, so that the
/// test "does `a` see all of them" reads the list alone.
struct Entry {
    CellSet xCells;
    int set;
    int next;  ///< the next entry of the list, or −1
};

struct Pair {
    int cells;  ///< both sets' cells together: fewer reads easier
    int a, x, cell, b;
};

/// The buffers of one search, kept from call to call: the finder runs thousands of times a
/// rating, and allocating them each time cost as much as the search.
struct Scratch {
    std::vector<Als> sets;  ///< grows only, so that its entries are not cleared each call
    int count = 0;
    std::array<Mask, 512> digitsOf{};
    std::array<CellSet, 512> peersOf{};
    std::array<std::uint16_t, 512> hits{};
    std::array<int, 81 * 9> head{};  ///< cell and digit → the first entry of its list, or −1
    std::vector<Entry> list;
    std::vector<Pair> pairs;
};

// Every subset of a unit's open cells with one digit more than cells, each set once. The
// digits and the common peers of all subsets come from tables filled subset by subset (each
// from the subset without its lowest cell): the common peers of a set's cells holding a digit
// are then a look-up, and the test for a set has no branch to mispredict.
void FindSets(const State& state, Scratch& s) {
    s.count = 0;
    s.peersOf[0] = ~CellSet{};
    for (int u = 0; u < kUnitCount; ++u) {
        std::array<int, 9> open{};
        std::array<unsigned, 9> where{};  ///< digit → the open cells holding it, as bits
        int k = 0;
        for (int c : kUnits.cells[u]) {
            const Mask m = state.Candidates(c);
            if (!m) continue;
            for (int d = 0; d < 9; ++d) where[d] |= ((m >> d) & 1u) << k;
            open[k++] = c;
        }
        int hits = 0;
        for (unsigned subset = 1; subset < (1u << k); ++subset) {
            const int low = std::countr_zero(subset);
            const unsigned rest = subset & (subset - 1);
            const Mask digits = static_cast<Mask>(s.digitsOf[rest] | state.Candidates(open[low]));
            s.digitsOf[subset] = digits;
            s.peersOf[subset] = s.peersOf[rest] & kUnits.peers[open[low]];
            s.hits[hits] = static_cast<std::uint16_t>(subset);
            hits += kNineBitCount[digits] == kNineBitCount[subset] + 1;
        }
        for (int h = 0; h < hits; ++h) {
            const unsigned subset = s.hits[h];
            const int size = kNineBitCount[subset];
            // Each set once: a cell is its row's, a set inside a box-line intersection its
            // line's.
            if (u >= 9 && size == 1) continue;
            CellSet cells;
            for (unsigned m = subset; m; m &= m - 1) cells.Add(open[std::countr_zero(m)]);
            if (u >= 18) {
                const int first = cells.First();
                if ((cells & ~kUnits.set[RowOf(first)]).Empty() ||
                    (cells & ~kUnits.set[9 + ColOf(first)]).Empty())
                    continue;
            }
            if (s.count == static_cast<int>(s.sets.size())) s.sets.emplace_back();
            Als& als = s.sets[static_cast<std::size_t>(s.count++)];
            als.cells = cells;
            als.digits = s.digitsOf[subset];
            als.size = size;
            als.unit = u;
            for (Mask m = als.digits; m; m &= static_cast<Mask>(m - 1)) {
                const int d = std::countr_zero(m);
                const unsigned holding = subset & where[d];
                als.reach[d] = s.peersOf[holding] & state.CellsOf(d + 1);
                als.first[d] = static_cast<std::uint8_t>(open[std::countr_zero(holding)]);
            }
        }
    }
}

// What a pair with restricted common digit x removes, digit by digit; nothing for a pair
// that overlaps.
Mask Removals(const Als& a, const Als& b, int x, std::array<CellSet, 9>* gone) {
    if (!(a.cells & b.cells).Empty()) return 0;
    Mask zs = 0;
    const Mask common = a.digits & b.digits & static_cast<Mask>(~DigitBit(x));
    for (Mask m = common; m; m &= static_cast<Mask>(m - 1)) {
        const int z = std::countr_zero(m);
        const CellSet cells = a.reach[z] & b.reach[z];
        if (cells.Empty()) continue;
        zs |= static_cast<Mask>(1u << z);
        if (gone) (*gone)[z] = cells;
    }
    return zs;
}

Step PairStep(const Als& a, const Als& b, int x) {
    std::array<CellSet, 9> gone{};
    const Mask zs = Removals(a, b, x, &gone);
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

}  // namespace

void FindAlsXz(const State& state, const Context&, const StepSink& sink) {
    // A sink may search again before this search is done: then it gets buffers of its own.
    thread_local Scratch shared;
    thread_local bool busy = false;
    std::optional<Scratch> own;
    Scratch& s = busy ? own.emplace() : shared;
    const bool outer = !busy;
    busy = true;
    struct Release {
        bool outer;
        ~Release() {
            if (outer) busy = false;
        }
    } release{outer};

    FindSets(state, s);
    const int n = s.count;
    const std::vector<Als>& sets = s.sets;
    // Each set meets the sets after it whose X-cells it sees. It finds them in lists by digit
    // and first cell holding it, which hold only the sets after it: the sets are taken from
    // the last, each joining the lists once it has met the others. Prepended, the lists keep
    // the sets in order.
    std::fill(s.head.begin(), s.head.end(), -1);
    std::array<CellSet, 9> listed{};  ///< digit → the cells whose list holds a set
    s.list.resize(static_cast<std::size_t>(n) * 9);
    std::vector<Pair>& pairs = s.pairs;
    pairs.clear();
    int used = 0;
    for (int i = n - 1; i >= 0; --i) {
        const Als& a = sets[static_cast<std::size_t>(i)];
        for (Mask m = a.digits; m; m &= static_cast<Mask>(m - 1)) {
            const int x = std::countr_zero(m);
            const CellSet view = a.reach[x];
            (view & listed[x]).ForEach([&](int c) {
                for (int k = s.head[c * 9 + x]; k >= 0;) {
                    const Entry& e = s.list[static_cast<std::size_t>(k)];
                    k = e.next;
                    if ((e.xCells & view) != e.xCells) continue;
                    const Als& b = sets[static_cast<std::size_t>(e.set)];
                    if (Removals(a, b, x + 1, nullptr))
                        pairs.push_back({a.size + b.size, i, x + 1, c, e.set});
                }
            });
        }
        for (Mask m = a.digits; m; m &= static_cast<Mask>(m - 1)) {
            const int d = std::countr_zero(m);
            const int bucket = a.first[d] * 9 + d;
            s.list[static_cast<std::size_t>(used)] = {a.cells & state.CellsOf(d + 1), i,
                                                      s.head[bucket]};
            s.head[bucket] = used++;
            listed[d].Add(a.first[d]);
        }
    }
    // Smallest pairs first, and among equals the order of the sets, X, the cell where the
    // second set was found and the second set: the hint shows the pattern with the fewest
    // cells.
    std::sort(pairs.begin(), pairs.end(), [](const Pair& p, const Pair& q) {
        return std::tie(p.cells, p.a, p.x, p.cell, p.b) < std::tie(q.cells, q.a, q.x, q.cell, q.b);
    });
    // A pair that removes nothing the pairs before it did not changes nothing once those are
    // taken: its step, text and all, is not worth making.
    std::array<CellSet, 9> removed{};
    for (const Pair& p : pairs) {
        std::array<CellSet, 9> gone{};
        Removals(sets[p.a], sets[p.b], p.x, &gone);
        bool more = false;
        for (int z = 0; z < 9; ++z) {
            more |= !(gone[z] & ~removed[z]).Empty();
            removed[z] |= gone[z];
        }
        if (!more) continue;
        if (!sink(PairStep(sets[p.a], sets[p.b], p.x))) return;
    }
}

}  // namespace kz::logic
