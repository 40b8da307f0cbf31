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
    std::uint8_t size = 0;
    std::uint8_t unit = 0;
    std::uint16_t places = 0;  ///< where its cells lie in its unit (bits 0..8, in cell order)
    /// Where in Scratch::reach the set's reaching digits begin, in order: for each, the cells
    /// holding it that see all the set's cells holding it, where it may go once the set is
    /// locked with it.
    int reachAt = 0;
};

/// A set whose cells holding a digit X all lie in a unit: a member of the group of the unit and
/// X. Cells that all see each other lie in one unit, so the pairs with restricted common X are
/// the pairs of sets that share such a unit for X and hold X in different cells of it. The
/// group of a unit holds its own sets that hold X, and the sets of other units whose X-cells
/// lie in it: one X-cell, or X-cells in a box-line intersection.
struct Member {
    int set;
    std::uint16_t places;  ///< where its X-cells lie in the unit (bits 0..8, in cell order)
    /// Cells in the unit that a partner must not hold: all its own there for a set of the
    /// unit, its X-cells for one of another unit.
    std::uint16_t taken;
};

struct Pair {
    int cells;  ///< both sets' cells together: fewer reads easier
    int a, x;
    int cell;  ///< b's first X-cell
    int b;     ///< after a
};

/// The buffers of one search, kept from call to call: the finder runs thousands of times a
/// rating, and allocating them each time cost as much as the search.
struct Scratch {
    std::vector<Als> sets;  ///< grows only, so that its entries are not cleared each call
    int count = 0;
    std::vector<CellSet> reach;  ///< as Als::reachAt
    int reachCount = 0;
    // Per subset of a unit's open cells: digits, common peers, the units holding all of
    // them, where they lie in the unit.
    std::array<Mask, 512> digitsOf{};
    std::array<CellSet, 512> peersOf{};
    std::array<std::uint32_t, 512> unitsOf{};
    std::array<std::uint32_t, 512> placesOf{};  ///< as kPlaces
    std::array<std::uint16_t, 512> hits{};
    std::array<int, kUnitCount + 1> unitFirst{};  ///< unit → its first set; the sets by unit
    /// Unit and digit − 1 → where its open cells holding the digit lie.
    std::array<std::array<std::uint16_t, 9>, kUnitCount> digitPlaces{};
    /// The groups' members from other units with their groups (unit * 9 + X − 1), as found
    /// (the first `listedCount`); then by group in set order, each group from `start` on.
    std::vector<std::pair<int, Member>> listed;
    int listedCount = 0;
    std::vector<Member> foreign;
    std::array<int, kUnitCount * 9 + 1> start{};
    std::vector<Member> group;
    std::vector<int> apart;
    std::vector<Pair> pairs;
};

constexpr std::array<std::uint32_t, 81> MakePlaces() {
    std::array<std::uint32_t, 81> places{};
    for (int c = 0; c < 81; ++c) {
        const int box = RowOf(c) % 3 * 3 + ColOf(c) % 3;
        places[c] = 1u << ColOf(c) | 1u << (9 + RowOf(c)) | 1u << (18 + box);
    }
    return places;
}
/// Cell → where it lies in its row (bits 0..8), its column (9..17) and its box (18..26).
constexpr std::array<std::uint32_t, 81> kPlaces = MakePlaces();

constexpr std::array<std::uint32_t, 81> MakeUnitBits() {
    std::array<std::uint32_t, 81> bits{};
    for (int c = 0; c < 81; ++c) {
        for (int u : kUnits.unitsOf[c]) bits[c] |= std::uint32_t{1} << u;
    }
    return bits;
}
/// Cell → its row, column and box as bits.
constexpr std::array<std::uint32_t, 81> kUnitBits = MakeUnitBits();

/// Whether places of a box lie in one of its rows or columns.
constexpr bool InBoxLine(unsigned places) {
    for (unsigned line : {0x7u, 0x38u, 0x1c0u, 0x49u, 0x92u, 0x124u}) {
        if ((places & ~line) == 0) return true;
    }
    return false;
}

// Every subset of a unit's open cells with one digit more than cells, each set once. What the
// sets need of their subsets comes from tables filled subset by subset (each from the subset
// without its lowest cell): the common peers of a set's cells holding a digit are then a
// look-up, and the test for a set has no branch to mispredict.
void FindSets(const State& state, Scratch& s) {
    s.count = 0;
    s.reachCount = 0;
    s.listedCount = 0;
    s.peersOf[0] = ~CellSet{};
    s.placesOf[0] = 0;
    s.unitsOf[0] = ~std::uint32_t{0};
    for (int u = 0; u < kUnitCount; ++u) {
        std::array<int, 9> open{};
        std::array<unsigned, 9> where{};  ///< digit → the open cells holding it, as bits
        int k = 0;
        for (int i = 0; i < 9; ++i) {
            const int c = kUnits.cells[u][i];
            const Mask m = state.Candidates(c);
            if (!m) continue;
            for (int d = 0; d < 9; ++d) where[d] |= ((m >> d) & 1u) << k;
            open[k++] = c;
        }
        s.unitFirst[static_cast<std::size_t>(u)] = s.count;
        int hits = 0;
        for (unsigned subset = 1; subset < (1u << k); ++subset) {
            const int low = std::countr_zero(subset);
            const unsigned rest = subset & (subset - 1);
            const Mask digits = static_cast<Mask>(s.digitsOf[rest] | state.Candidates(open[low]));
            s.digitsOf[subset] = digits;
            s.peersOf[subset] = s.peersOf[rest] & kUnits.peers[open[low]];
            s.unitsOf[subset] = s.unitsOf[rest] & kUnitBits[open[low]];
            s.placesOf[subset] = s.placesOf[rest] | kPlaces[open[low]];
            s.hits[hits] = static_cast<std::uint16_t>(subset);
            hits += kNineBitCount[digits] == kNineBitCount[subset] + 1;
        }
        const int shift = u / 9 * 9;  ///< where the unit's places are in kPlaces
        for (int d = 0; d < 9; ++d) {
            s.digitPlaces[static_cast<std::size_t>(u)][static_cast<std::size_t>(d)] =
                static_cast<std::uint16_t>((s.placesOf[where[d]] >> shift) & 0x1ff);
        }
        for (int h = 0; h < hits; ++h) {
            const unsigned subset = s.hits[h];
            const int size = kNineBitCount[subset];
            // Each set once: a cell is its row's, a set inside a box-line intersection its
            // line's.
            if (u >= 9 && size == 1) continue;
            if (u >= 18 && (s.unitsOf[subset] & ((1u << 18) - 1))) continue;
            const int index = s.count++;
            if (index == static_cast<int>(s.sets.size())) s.sets.emplace_back();
            Als& als = s.sets[static_cast<std::size_t>(index)];
            CellSet cells;
            for (unsigned m = subset; m; m &= m - 1) cells.Add(open[std::countr_zero(m)]);
            als.cells = cells;
            const Mask digits = s.digitsOf[subset];
            als.digits = digits;
            als.size = static_cast<std::uint8_t>(size);
            als.unit = static_cast<std::uint8_t>(u);
            als.places = static_cast<std::uint16_t>((s.placesOf[subset] >> shift) & 0x1ff);
            als.reachAt = s.reachCount;
            // Room for its digits' reach, and for each two more units.
            if (s.reachCount + 9 > static_cast<int>(s.reach.size()))
                s.reach.resize(s.reach.size() * 2 + 9);
            if (s.listedCount + 18 > static_cast<int>(s.listed.size()))
                s.listed.resize(s.listed.size() * 2 + 18);
            // Kept in locals: written through `als` each time, they would be read back from
            // memory after every store the compiler cannot tell apart from them.
            Mask reaching = 0;
            for (Mask m = digits; m; m &= static_cast<Mask>(m - 1)) {
                const int d = std::countr_zero(m);
                const unsigned holding = subset & where[d];
                const CellSet reach = s.peersOf[holding] & state.CellsOf(d + 1);
                const bool reaches = (reach.lo | reach.hi) != 0;
                reaching |= static_cast<Mask>(reaches << d);
                s.reach[static_cast<std::size_t>(s.reachCount)] = reach;
                s.reachCount += reaches;
                // More units for one cell or cells of a box-line intersection.
                const std::uint32_t places = s.placesOf[holding];
                for (std::uint32_t units = s.unitsOf[holding] & ~(1u << u); units;
                     units &= units - 1) {
                    const int v = std::countr_zero(units);
                    const auto there = static_cast<std::uint16_t>((places >> (v / 9 * 9)) & 0x1ff);
                    s.listed[static_cast<std::size_t>(s.listedCount++)] = {v * 9 + d,
                                                                           {index, there, there}};
                }
            }
            als.reaching = reaching;
        }
    }
    s.unitFirst[kUnitCount] = s.count;
    // The listed members by group, each group in set order (a counting sort, stable).
    std::fill(s.start.begin(), s.start.end(), 0);
    for (int i = 0; i < s.listedCount; ++i)
        ++s.start[static_cast<std::size_t>(s.listed[static_cast<std::size_t>(i)].first) + 1];
    for (std::size_t g = 1; g < s.start.size(); ++g) s.start[g] += s.start[g - 1];
    s.foreign.resize(static_cast<std::size_t>(s.listedCount));
    auto at = s.start;
    for (int i = 0; i < s.listedCount; ++i) {
        const auto& [group, member] = s.listed[static_cast<std::size_t>(i)];
        s.foreign[static_cast<std::size_t>(at[static_cast<std::size_t>(group)]++)] = member;
    }
}

// What a pair with restricted common digit x removes, digit by digit; nothing for a pair
// that overlaps.
Mask Removals(const Scratch& s, const Als& a, const Als& b, int x, std::array<CellSet, 9>* gone) {
    const Mask common = a.reaching & b.reaching & static_cast<Mask>(~DigitBit(x));
    if (!common || !(a.cells & b.cells).Empty()) return 0;
    Mask zs = 0;
    for (Mask m = common; m; m &= static_cast<Mask>(m - 1)) {
        const int z = std::countr_zero(m);
        const Mask below = static_cast<Mask>((1u << z) - 1);
        const CellSet cells =
            s.reach[static_cast<std::size_t>(a.reachAt + kNineBitCount[a.reaching & below])] &
            s.reach[static_cast<std::size_t>(b.reachAt + kNineBitCount[b.reaching & below])];
        if (cells.Empty()) continue;
        zs |= static_cast<Mask>(1u << z);
        if (gone) (*gone)[z] = cells;
    }
    return zs;
}

Step PairStep(const Scratch& s, const Als& a, const Als& b, int x) {
    std::array<CellSet, 9> gone{};
    const Mask zs = Removals(s, a, b, x, &gone);
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
    const std::vector<Als>& sets = s.sets;
    std::vector<Pair>& pairs = s.pairs;
    pairs.clear();
    for (int u = 0; u < kUnitCount; ++u) {
        const int first = s.unitFirst[static_cast<std::size_t>(u)];
        const int last = s.unitFirst[static_cast<std::size_t>(u) + 1];
        for (int x = 0; x < 9; ++x) {
            const unsigned xPlaces =
                s.digitPlaces[static_cast<std::size_t>(u)][static_cast<std::size_t>(x)];
            // Two sets apart need two cells for X.
            if (!(xPlaces & (xPlaces - 1))) continue;
            // The group: the unit's sets holding X, gathered without a branch, then the
            // others'.
            const int from = s.start[static_cast<std::size_t>(u * 9 + x)];
            const int to = s.start[static_cast<std::size_t>(u * 9 + x) + 1];
            const std::size_t room = static_cast<std::size_t>(last - first + to - from);
            if (s.group.size() < room) {
                s.group.resize(room);
                s.apart.resize(room);
            }
            Member* member = s.group.data();
            int size = 0;
            for (int i = first; i < last; ++i) {
                const Als& a = sets[static_cast<std::size_t>(i)];
                member[size] = {i, static_cast<std::uint16_t>(a.places & xPlaces), a.places};
                size += (a.digits >> x) & 1;
            }
            std::copy(s.foreign.begin() + from, s.foreign.begin() + to, member + size);
            size += to - from;
            // The members apart from each, gathered without a branch: one on where they lie
            // would be mispredicted.
            for (int t = 0; t < size - 1; ++t) {
                const unsigned taken = member[t].taken;
                int found = 0;
                for (int v = t + 1; v < size; ++v) {
                    s.apart[static_cast<std::size_t>(found)] = v;
                    found += !(member[v].taken & taken);
                }
                for (int f = 0; f < found; ++f) {
                    const Member& other = member[s.apart[static_cast<std::size_t>(f)]];
                    // A pair inside a box-line intersection is the line's.
                    if (u >= 18 && InBoxLine(member[t].places | other.places)) continue;
                    const int i = std::min(member[t].set, other.set);
                    const int j = std::max(member[t].set, other.set);
                    const Als& a = sets[static_cast<std::size_t>(i)];
                    const Als& b = sets[static_cast<std::size_t>(j)];
                    if (Removals(s, a, b, x + 1, nullptr))
                        pairs.push_back({a.size + b.size, i, x + 1,
                                         (b.cells & state.CellsOf(x + 1)).First(), j});
                }
            }
        }
    }
    // Smallest pairs first: the hint shows the pattern with the fewest cells. Among equals the
    // first set, X, the second set's first X-cell and the second set decide, so that the steps
    // come in one order however the pairs were found.
    std::sort(pairs.begin(), pairs.end(), [](const Pair& p, const Pair& q) {
        return std::tie(p.cells, p.a, p.x, p.cell, p.b) < std::tie(q.cells, q.a, q.x, q.cell, q.b);
    });
    // A pair that removes nothing the pairs before it did not changes nothing once those are
    // taken: its step, text and all, is not worth making.
    std::array<CellSet, 9> removed{};
    for (const Pair& p : pairs) {
        std::array<CellSet, 9> gone{};
        Removals(s, sets[p.a], sets[p.b], p.x, &gone);
        bool more = false;
        for (int z = 0; z < 9; ++z) {
            more |= !(gone[z] & ~removed[z]).Empty();
            removed[z] |= gone[z];
        }
        if (!more) continue;
        if (!sink(PairStep(s, sets[p.a], sets[p.b], p.x))) return;
    }
}

}  // namespace kz::logic
