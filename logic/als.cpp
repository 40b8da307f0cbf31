// SPDX-License-Identifier: MIT
// ALS-XZ. An almost locked set is N cells of one unit holding N + 1 digits: take one digit
// out and the rest is locked. Two such sets whose X-cells all see each other cannot both
// lose their X, so one of them is locked without it, and a digit Z of both must be in one
// of them: Z goes from every cell that sees all the Z-cells of both.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
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
    Mask reaching = 0;  ///< its digits that some cell outside holds and sees all of
    int size = 0;
    int unit = 0;
    /// For each digit d of the set, the cells holding d that see all its d-cells: where d may
    /// go once the set is locked with it. The entries of digits it lacks are stale.
    std::array<CellSet, 9> reach;
    Mask single = 0;  ///< its digits that only one of its cells holds
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

/// The same for a set with one X-cell, which sees whatever sees that cell.
struct OneEntry {
    int set;
    int next;
};

constexpr std::array<CellSet, 81> MakeAfter() {
    std::array<CellSet, 81> after{};
    for (int c = 0; c < 81; ++c) {
        for (int e = c + 1; e < 81; ++e) after[c].Add(e);
    }
    return after;
}
/// Cell → the cells after it.
constexpr std::array<CellSet, 81> kAfter = MakeAfter();

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
    /// Cell and digit → the first entry of its list, or −1.
    std::array<int, 81 * 9> oneHead{}, moreHead{};
    std::vector<OneEntry> one;
    std::vector<Entry> more;
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
            als.reaching = 0;
            als.single = 0;
            for (Mask m = als.digits; m; m &= static_cast<Mask>(m - 1)) {
                const int d = std::countr_zero(m);
                const unsigned holding = subset & where[d];
                als.reach[d] = s.peersOf[holding] & state.CellsOf(d + 1);
                als.reaching |= static_cast<Mask>(!als.reach[d].Empty() << d);
                als.first[d] = static_cast<std::uint8_t>(open[std::countr_zero(holding)]);
                als.single |= static_cast<Mask>(!(holding & (holding - 1)) << d);
            }
        }
    }
}

// What a pair with restricted common digit x removes, digit by digit; nothing for a pair
// that overlaps.
Mask Removals(const Als& a, const Als& b, int x, std::array<CellSet, 9>* gone) {
    const Mask common = a.reaching & b.reaching & static_cast<Mask>(~DigitBit(x));
    if (!common || !(a.cells & b.cells).Empty()) return 0;
    Mask zs = 0;
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
    std::unique_ptr<Scratch> own;
    if (busy) own = std::make_unique<Scratch>();
    Scratch& s = own ? *own : shared;
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
    // the sets in order. Sets with one X-cell have lists of their own: they see all the cells
    // that see their X-cell, while one with more X-cells can only meet a set that sees some
    // cell after its first, and must be tested.
    std::fill(s.oneHead.begin(), s.oneHead.end(), -1);
    std::fill(s.moreHead.begin(), s.moreHead.end(), -1);
    std::array<CellSet, 9> oneListed{}, moreListed{};  ///< digit → the cells whose list is not empty
    s.one.resize(static_cast<std::size_t>(n) * 9);
    s.more.resize(static_cast<std::size_t>(n) * 9);
    std::vector<Pair>& pairs = s.pairs;
    pairs.clear();
    int ones = 0, mores = 0;
    for (int i = n - 1; i >= 0; --i) {
        const Als& a = sets[static_cast<std::size_t>(i)];
        const auto meet = [&](int x, int c, int j) {
            const Als& b = sets[static_cast<std::size_t>(j)];
            if (Removals(a, b, x + 1, nullptr)) pairs.push_back({a.size + b.size, i, x + 1, c, j});
        };
        for (Mask m = a.digits; m; m &= static_cast<Mask>(m - 1)) {
            const int x = std::countr_zero(m);
            const CellSet view = a.reach[x];
            (view & (oneListed[x] | moreListed[x])).ForEach([&](int c) {
                for (int k = s.oneHead[c * 9 + x]; k >= 0; k = s.one[static_cast<std::size_t>(k)].next)
                    meet(x, c, s.one[static_cast<std::size_t>(k)].set);
                if ((view & kAfter[c]).Empty()) return;
                for (int k = s.moreHead[c * 9 + x]; k >= 0;) {
                    const Entry& e = s.more[static_cast<std::size_t>(k)];
                    k = e.next;
                    if ((e.xCells & view) == e.xCells) meet(x, c, e.set);
                }
            });
        }
        for (Mask m = a.digits; m; m &= static_cast<Mask>(m - 1)) {
            const int d = std::countr_zero(m);
            const int bucket = a.first[d] * 9 + d;
            if ((a.single >> d) & 1) {
                s.one[static_cast<std::size_t>(ones)] = {i, s.oneHead[bucket]};
                s.oneHead[bucket] = ones++;
                oneListed[d].Add(a.first[d]);
            } else {
                s.more[static_cast<std::size_t>(mores)] = {a.cells & state.CellsOf(d + 1), i,
                                                           s.moreHead[bucket]};
                s.moreHead[bucket] = mores++;
                moreListed[d].Add(a.first[d]);
            }
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
