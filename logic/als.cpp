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

// KZ_LOGIC_PORTABLE takes the plain loops that processors without SSE2 use, so that the
// tests run them here too (see logic/CMakeLists.txt).
#if defined(__SSE2__) && !defined(KZ_LOGIC_PORTABLE)
#define KZ_LOGIC_SSE2 1
#include <emmintrin.h>
#endif

#include "logic/finders.h"
#include "logic/notation.h"

namespace kz::logic {

namespace {

/// What sees every cell of a set holding a digit, as an index into kSeeing: the peers of a
/// lone cell (0..80), the set's unit (81 + unit) or, for cells of a box-line intersection,
/// the box and the line together (108 + box * 6 + its row 0..2 or column 3..5). The cells
/// themselves are among them; a reach takes away the set's cells.
constexpr int kSeeingUnit = 81, kSeeingBoxLine = 108, kSeeingCount = 162;

constexpr int BoxLineOf(int box, int line) {
    return kSeeingBoxLine + box * 6 + (line < 9 ? line - box / 3 * 3 : 3 + line - 9 - box % 3 * 3);
}

constexpr std::array<CellSet, kSeeingCount> MakeSeeing() {
    std::array<CellSet, kSeeingCount> seeing{};
    for (int c = 0; c < 81; ++c) seeing[c] = kUnits.peers[c];
    for (int u = 0; u < kUnitCount; ++u) seeing[kSeeingUnit + u] = kUnits.set[u];
    for (int b = 0; b < 9; ++b) {
        for (int j = 0; j < 3; ++j) {
            const int row = b / 3 * 3 + j, col = 9 + b % 3 * 3 + j;
            seeing[BoxLineOf(b, row)] = kUnits.set[18 + b] | kUnits.set[row];
            seeing[BoxLineOf(b, col)] = kUnits.set[18 + b] | kUnits.set[col];
        }
    }
    return seeing;
}
constexpr std::array<CellSet, kSeeingCount> kSeeing = MakeSeeing();

/// Unit and where some of its cells lie (bits 0..8, in cell order) → their kSeeing index.
struct SeeingTables {
    std::array<std::array<std::uint8_t, 512>, kUnitCount> of{};
    std::array<std::uint32_t, kSeeingCount> units{};  ///< the units holding all those cells
};

constexpr SeeingTables MakeSeeingTables() {
    SeeingTables t{};
    for (int c = 0; c < 81; ++c) {
        for (int u : kUnits.unitsOf[c]) t.units[c] |= std::uint32_t{1} << u;
    }
    for (int u = 0; u < kUnitCount; ++u) t.units[kSeeingUnit + u] = std::uint32_t{1} << u;
    for (int u = 0; u < kUnitCount; ++u) {
        for (unsigned places = 1; places < 512; ++places) {
            std::uint32_t units = ~std::uint32_t{0} >> 5;
            int last = 0;
            for (int i = 0; i < 9; ++i) {
                if (!((places >> i) & 1)) continue;
                last = kUnits.cells[u][i];
                std::uint32_t mine = 0;
                for (int v : kUnits.unitsOf[last]) mine |= std::uint32_t{1} << v;
                units &= mine;
            }
            int index = kSeeingUnit + u;
            if (!(places & (places - 1))) {
                index = last;
            } else if (units != (std::uint32_t{1} << u)) {
                const int box = BoxOf(last);
                const int line =
                    (units & ~(std::uint32_t{1} << (18 + box))) == (std::uint32_t{1} << RowOf(last))
                        ? RowOf(last)
                        : 9 + ColOf(last);
                index = BoxLineOf(box, line);
                t.units[index] = std::uint32_t{1} << (18 + box) | std::uint32_t{1} << line;
            }
            t.of[u][places] = static_cast<std::uint8_t>(index);
        }
    }
    return t;
}
constexpr SeeingTables kSeeingOf = MakeSeeingTables();

struct Als {
    CellSet cells;
    Mask digits = 0;
    std::uint8_t size = 0;
    std::uint8_t unit = 0;
    std::uint16_t places = 0;  ///< where its cells lie in its unit (bits 0..8, in cell order)
    /// Digit − 1 → what sees all its cells holding the digit (kSeeing): where the digit may
    /// go once the set is locked with it, among that digit's cells outside the set.
    std::array<std::uint8_t, 9> seeing{};
    /// Its digits that may go elsewhere once it is locked with them: held by some other cell
    /// of its unit, or in one cell or box-line intersection of it. No other digit does.
    Mask reachable = 0;
};

// A set whose cells holding a digit X all lie in a unit is a member of the group of the unit
// and X. Cells that all see each other lie in one unit, so the pairs with restricted common X
// are the pairs of sets that share such a unit for X and hold X in different cells of it. The
// group of a unit holds its own sets that hold X, and the sets of other units whose X-cells
// lie in it: one X-cell, or X-cells in a box-line intersection.

/// The sets of one unit and what they bring to other units' groups. All of it follows from
/// the unit's candidates alone, so it is kept from call to call and made again only when they
/// change: a rating's successive searches see most units as they were.
struct UnitSets {
    std::array<Mask, 9> key{};  ///< the candidates it was made from, cell by cell
    bool made = false;
    std::array<std::uint16_t, 9> digitPlaces{};  ///< digit − 1 → where the unit's cells hold it
    std::vector<Als> sets;                       ///< the first `setCount`
    int setCount = 0;
    /// Memberships of other units' groups: group (unit * 9 + X − 1), set of this unit, places.
    struct Listing {
        std::uint16_t group, set, places;
    };
    std::vector<Listing> listed;  ///< the first `listedCount`
    int listedCount = 0;
    /// Digit − 1 → its sets' places (then kLanes that clash with everything) and the sets, in
    /// `holdTaken` (then their reachable digits in `holdReach`) and `holdSet` from `holdFrom`,
    /// `holdCount` of them.
    std::array<int, 9> holdFrom{}, holdCount{};
    std::vector<std::uint16_t> holdTaken, holdReach, holdSet;
    /// Its sets apart with two digits or more in common, and those digits: of the pairs the
    /// groups of this unit would test, the only ones that can remove anything.
    struct Apart {
        std::uint16_t a, b;
        Mask common;
    };
    std::vector<Apart> apart;
};

/// Members tested at once for lying apart from one.
constexpr int kLanes = 8;

/// Places of one member, to be tested against kLanes others at once. Members apart are few
/// and scattered: a branch per member would be mispredicted, and with SSE2 the eight tests
/// are a handful of instructions.
struct Mine {
#if defined(KZ_LOGIC_SSE2)
    /// With the digits a partner must have one of among its reachable ones.
    Mine(unsigned places, unsigned want)
        : lanes(_mm_set1_epi32(static_cast<int>(places * 0x10001u))),
          wanted(_mm_set1_epi32(static_cast<int>(want * 0x10001u))) {}
    /// Bit l set where taken[l] shares no cell with these places.
    unsigned ApartFrom(const std::uint16_t* taken) const {
        const __m128i clash =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(taken)), lanes);
        const __m128i free = _mm_cmpeq_epi16(clash, _mm_setzero_si128());
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(free, free))) & 0xffu;
    }
    /// As ApartFrom, for those whose reach[l] also has a wanted digit.
    unsigned PartnersIn(const std::uint16_t* taken, const std::uint16_t* reach) const {
        const __m128i zero = _mm_setzero_si128();
        const __m128i clash =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(taken)), lanes);
        const __m128i shared =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(reach)), wanted);
        const __m128i fit =
            _mm_andnot_si128(_mm_cmpeq_epi16(shared, zero), _mm_cmpeq_epi16(clash, zero));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(fit, fit))) & 0xffu;
    }
    __m128i lanes, wanted;
#else
    Mine(unsigned places, unsigned want) : places(places), want(want) {}
    unsigned ApartFrom(const std::uint16_t* taken) const {
        unsigned apart = 0;
        for (int l = 0; l < kLanes; ++l) apart |= unsigned{!(taken[l] & places)} << l;
        return apart;
    }
    unsigned PartnersIn(const std::uint16_t* taken, const std::uint16_t* reach) const {
        unsigned fit = 0;
        for (int l = 0; l < kLanes; ++l)
            fit |= unsigned{!(taken[l] & places) && (reach[l] & want)} << l;
        return fit;
    }
    unsigned places, want;
#endif
};

/// A set's number: its unit, then its place among the unit's sets. Numbers in this order are
/// the order the steps are reported in.
constexpr int SetId(int unit, int index) {
    return unit << 9 | index;
}

struct Pair {
    int cells;  ///< both sets' cells together: fewer reads easier
    int a, x;
    int cell;  ///< b's first X-cell
    int b;     ///< after a
};

/// The buffers of one search, kept from call to call: the finder runs thousands of times a
/// rating, and allocating them each time cost as much as the search.
struct Scratch {
    std::array<UnitSets, kUnitCount> units;
    std::array<Mask, 512> digitsOf{};                ///< per subset of a unit's open cells
    std::array<std::uint16_t, 512 + kLanes> hits{};  ///< then the places of its sets
    /// The groups' members from other units, by group (unit * 9 + X − 1) in set order, each
    /// group from `start` on: the set and where its X-cells lie in the group's unit.
    std::array<int, kUnitCount * 9 + 1> start{};
    std::vector<int> foreignSet;
    std::vector<const Als*> foreignAls;
    std::vector<std::uint16_t> foreignPlaces, foreignReach;
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

/// Whether places of a box lie in one of its rows or columns.
constexpr bool InBoxLine(unsigned places) {
    for (unsigned line : {0x7u, 0x38u, 0x1c0u, 0x49u, 0x92u, 0x124u}) {
        if ((places & ~line) == 0) return true;
    }
    return false;
}

// Every subset of a unit's open cells with one digit more than cells, each set once, in the
// order of the subsets as numbers, with what the search needs of them. The subsets' digits
// come from a table filled subset by subset (each from the subset without its lowest cell),
// so that the test for a set has no branch to mispredict; the rest is worked out for the sets
// alone.
void MakeUnit(int u, Scratch& s, UnitSets& unit) {
    std::array<int, 9> open{};
    std::array<int, 9> placeOf{};
    std::array<Mask, 9> digitsAt{};   ///< open cell → its digits
    std::array<unsigned, 9> where{};  ///< digit → the open cells holding it, as bits
    std::array<std::uint16_t, 9> digitPlaces{};
    int k = 0;
    for (int i = 0; i < 9; ++i) {
        const Mask m = unit.key[static_cast<std::size_t>(i)];
        if (!m) continue;
        for (int d = 0; d < 9; ++d) {
            where[d] |= ((m >> d) & 1u) << k;
            digitPlaces[d] |= static_cast<std::uint16_t>(((m >> d) & 1u) << i);
        }
        digitsAt[k] = m;
        placeOf[k] = i;
        open[k++] = kUnits.cells[u][i];
    }
    unit.digitPlaces = digitPlaces;
    int hits = 0;
    s.digitsOf[0] = 0;
    for (unsigned subset = 1; subset < (1u << k); ++subset) {
        const Mask digits = static_cast<Mask>(s.digitsOf[subset & (subset - 1)] |
                                              digitsAt[std::countr_zero(subset)]);
        s.digitsOf[subset] = digits;
        s.hits[hits] = static_cast<std::uint16_t>(subset);
        hits += kNineBitCount[digits] == kNineBitCount[subset] + 1;
    }
    std::vector<Als>& sets = unit.sets;
    // Room for every hit, and for each digit of each two more units. Both only grow, so that
    // their entries are not cleared each time.
    if (sets.size() < static_cast<std::size_t>(hits)) sets.resize(static_cast<std::size_t>(hits));
    if (unit.listed.size() < static_cast<std::size_t>(hits) * 18)
        unit.listed.resize(static_cast<std::size_t>(hits) * 18);
    int n = 0, listed = 0;
    std::array<int, 9> holders{};
    for (int h = 0; h < hits; ++h) {
        const unsigned subset = s.hits[h];
        const int size = kNineBitCount[subset];
        // Each set once: a cell is its row's, a set inside a box-line intersection its
        // line's.
        if (u >= 9 && size == 1) continue;
        unsigned places = 0;
        CellSet cells;
        for (unsigned m = subset; m; m &= m - 1) {
            const int i = std::countr_zero(m);
            places |= 1u << placeOf[i];
            cells.Add(open[i]);
        }
        if (u >= 18 && InBoxLine(places)) continue;
        const int index = n++;
        Als& als = sets[static_cast<std::size_t>(index)];
        als.cells = cells;
        const Mask digits = s.digitsOf[subset];
        als.digits = digits;
        als.size = static_cast<std::uint8_t>(size);
        als.unit = static_cast<std::uint8_t>(u);
        als.places = static_cast<std::uint16_t>(places);
        Mask crossing = 0;
        for (Mask m = digits; m; m &= static_cast<Mask>(m - 1)) {
            const int d = std::countr_zero(m);
            ++holders[static_cast<std::size_t>(d)];
            const int seeing = kSeeingOf.of[u][places & digitPlaces[d]];
            als.seeing[static_cast<std::size_t>(d)] = static_cast<std::uint8_t>(seeing);
            // More units for one cell or cells of a box-line intersection.
            std::uint32_t units = kSeeingOf.units[seeing] & ~(1u << u);
            if (!units) continue;
            crossing |= static_cast<Mask>(1u << d);
            std::uint32_t where27 = 0;
            for (unsigned c = subset & where[d]; c; c &= c - 1)
                where27 |= kPlaces[open[std::countr_zero(c)]];
            for (; units; units &= units - 1) {
                const int v = std::countr_zero(units);
                unit.listed[static_cast<std::size_t>(listed++)] = {
                    static_cast<std::uint16_t>(v * 9 + d), static_cast<std::uint16_t>(index),
                    static_cast<std::uint16_t>((where27 >> (v / 9 * 9)) & 0x1ff)};
            }
        }
        als.reachable = digits & (s.digitsOf[((1u << k) - 1) ^ subset] | crossing);
    }
    unit.setCount = n;
    unit.listedCount = listed;
    // The sets by digit, each digit's followed by lanes that clash with everything.
    int total = 0;
    for (int x = 0; x < 9; ++x) {
        unit.holdFrom[static_cast<std::size_t>(x)] = total;
        unit.holdCount[static_cast<std::size_t>(x)] = 0;
        total += holders[static_cast<std::size_t>(x)] + kLanes;
    }
    unit.holdTaken.assign(static_cast<std::size_t>(total) + kLanes, std::uint16_t{0xffff});
    unit.holdSet.assign(static_cast<std::size_t>(total) + kLanes, std::uint16_t{0});
    unit.holdReach.assign(static_cast<std::size_t>(total) + kLanes, std::uint16_t{0});
    for (int i = 0; i < n; ++i) {
        const Als& a = sets[static_cast<std::size_t>(i)];
        for (Mask m = a.digits; m; m &= static_cast<Mask>(m - 1)) {
            const auto x = static_cast<std::size_t>(std::countr_zero(m));
            const auto at = static_cast<std::size_t>(unit.holdFrom[x] + unit.holdCount[x]++);
            unit.holdTaken[at] = a.places;
            unit.holdReach[at] = a.reachable;
            unit.holdSet[at] = static_cast<std::uint16_t>(i);
        }
    }
    // Its sets apart, tested against eight at a time: all their places, then lanes that
    // clash with everything.
    unit.apart.clear();
    std::uint16_t* taken = s.hits.data();
    for (int i = 0; i < n; ++i) taken[i] = sets[static_cast<std::size_t>(i)].places;
    std::fill_n(taken + n, kLanes, std::uint16_t{0xffff});
    for (int i = 0; i < n; ++i) {
        const Mine mine(taken[i], 0);
        for (int base = i + 1; base < n; base += kLanes) {
            for (unsigned apart = mine.ApartFrom(taken + base); apart; apart &= apart - 1) {
                const int j = base + std::countr_zero(apart);
                const Mask common = sets[static_cast<std::size_t>(i)].digits &
                                    sets[static_cast<std::size_t>(j)].digits;
                if (kNineBitCount[common] >= 2)
                    unit.apart.push_back(
                        {static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(j), common});
            }
        }
    }
}

// All units' sets, each unit's made again only if its candidates changed, and the members
// each group takes from other units.
void FindSets(const State& state, Scratch& s) {
    std::fill(s.start.begin(), s.start.end(), 0);
    for (int u = 0; u < kUnitCount; ++u) {
        UnitSets& unit = s.units[static_cast<std::size_t>(u)];
        std::array<Mask, 9> key;
        for (int i = 0; i < 9; ++i) key[i] = state.Candidates(kUnits.cells[u][i]);
        if (!unit.made || key != unit.key) {
            unit.key = key;
            unit.made = true;
            MakeUnit(u, s, unit);
        }
        for (int l = 0; l < unit.listedCount; ++l)
            ++s.start[unit.listed[static_cast<std::size_t>(l)].group + 1u];
    }
    // The members by group, each group in set order (a counting sort, stable).
    for (std::size_t g = 1; g < s.start.size(); ++g) s.start[g] += s.start[g - 1];
    // Room past the last for lanes read beyond it.
    const std::size_t room = static_cast<std::size_t>(s.start.back()) + kLanes;
    if (s.foreignSet.size() < room) {
        s.foreignSet.resize(room);
        s.foreignAls.resize(room);
        s.foreignPlaces.resize(room);
        s.foreignReach.resize(room);
    }
    auto at = s.start;
    for (int u = 0; u < kUnitCount; ++u) {
        const UnitSets& unit = s.units[static_cast<std::size_t>(u)];
        for (int k = 0; k < unit.listedCount; ++k) {
            const UnitSets::Listing& l = unit.listed[static_cast<std::size_t>(k)];
            const auto i = static_cast<std::size_t>(at[l.group]++);
            s.foreignSet[i] = SetId(u, l.set);
            s.foreignAls[i] = &unit.sets[l.set];
            s.foreignPlaces[i] = l.places;
            s.foreignReach[i] = unit.sets[l.set].reachable;
        }
    }
}

// Which of the digits `common` to both a pair removes, and where; nothing for a pair that
// overlaps.
Mask Removals(const State& state, const Als& a, const Als& b, Mask common,
              std::array<CellSet, 9>* gone) {
    common &= a.reachable & b.reachable;
    if (!common || !(a.cells & b.cells).Empty()) return 0;
    const CellSet outside = ~(a.cells | b.cells);
    Mask zs = 0;
    for (Mask m = common; m; m &= static_cast<Mask>(m - 1)) {
        const int z = std::countr_zero(m);
        const CellSet cells = kSeeing[a.seeing[static_cast<std::size_t>(z)]] &
                              kSeeing[b.seeing[static_cast<std::size_t>(z)]] &
                              state.CellsOf(z + 1) & outside;
        if (cells.Empty()) continue;
        zs |= static_cast<Mask>(1u << z);
        if (gone) (*gone)[z] = cells;
    }
    return zs;
}

Step PairStep(const State& state, const Als& a, const Als& b, int x) {
    std::array<CellSet, 9> gone{};
    const Mask zs = Removals(state, a, b, a.digits & b.digits & ~DigitBit(x), &gone);
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
    const auto set = [&s](int id) -> const Als& {
        return s.units[static_cast<std::size_t>(id >> 9)].sets[static_cast<std::size_t>(id & 511)];
    };
    std::vector<Pair>& pairs = s.pairs;
    pairs.clear();
    // A pair met in the group of `u` and X: the line's if inside a box-line intersection.
    const auto meet = [&](int u, int x, int i, const Als* a, unsigned iPlaces, int j, const Als* b,
                          unsigned jPlaces) {
        if (u >= 18 && InBoxLine(iPlaces | jPlaces)) return;
        if (!Removals(state, *a, *b, a->digits & b->digits & ~DigitBit(x + 1), nullptr)) return;
        if (i > j) std::swap(i, j), std::swap(a, b);
        pairs.push_back(
            {a->size + b->size, i, x + 1, (b->cells & state.CellsOf(x + 1)).First(), j});
    };
    for (int u = 0; u < kUnitCount; ++u) {
        const UnitSets& unit = s.units[static_cast<std::size_t>(u)];
        // Two sets of the unit: what they remove for one X is what they remove for any other
        // but that X, so it is found once for all.
        for (const UnitSets::Apart& p : unit.apart) {
            const Als& a = unit.sets[p.a];
            const Als& b = unit.sets[p.b];
            const Mask zs = Removals(state, a, b, p.common, nullptr);
            if (!zs) continue;
            for (Mask m = p.common; m; m &= static_cast<Mask>(m - 1)) {
                const int x = std::countr_zero(m);
                if (!(zs & ~(1u << x))) continue;
                const unsigned xPlaces = unit.digitPlaces[static_cast<std::size_t>(x)];
                if (u >= 18 && InBoxLine((a.places | b.places) & xPlaces)) continue;
                pairs.push_back({a.size + b.size, SetId(u, p.a), x + 1,
                                 (b.cells & state.CellsOf(x + 1)).First(), SetId(u, p.b)});
            }
        }
        // Pairs with a set of another unit: each such member against the unit's sets holding
        // X and the members before it.
        for (int x = 0; x < 9; ++x) {
            const int from = s.start[static_cast<std::size_t>(u * 9 + x)];
            const int to = s.start[static_cast<std::size_t>(u * 9 + x) + 1];
            if (from == to) continue;
            const unsigned xPlaces = unit.digitPlaces[static_cast<std::size_t>(x)];
            // Two sets apart need two cells for X.
            if (!(xPlaces & (xPlaces - 1))) continue;
            const std::uint16_t* ownTaken =
                unit.holdTaken.data() + unit.holdFrom[static_cast<std::size_t>(x)];
            const std::uint16_t* ownSet =
                unit.holdSet.data() + unit.holdFrom[static_cast<std::size_t>(x)];
            const int own = unit.holdCount[static_cast<std::size_t>(x)];
            const std::uint16_t* places = s.foreignPlaces.data() + from;
            const int* sets = s.foreignSet.data() + from;
            const Als* const* als = s.foreignAls.data() + from;
            const std::uint16_t* reach = s.foreignReach.data() + from;
            const std::uint16_t* ownReach =
                unit.holdReach.data() + unit.holdFrom[static_cast<std::size_t>(x)];
            for (int f = 0; f < to - from; ++f) {
                // A partner needs a reachable digit Z of this one's, other than X.
                const Mine mine(places[f], reach[f] & ~(1u << x));
                for (int base = 0; base < own; base += kLanes) {
                    for (unsigned apart = mine.PartnersIn(ownTaken + base, ownReach + base); apart;
                         apart &= apart - 1) {
                        const int v = base + std::countr_zero(apart);
                        meet(u, x, SetId(u, ownSet[v]), &unit.sets[ownSet[v]],
                             ownTaken[v] & xPlaces, sets[f], als[f], places[f]);
                    }
                }
                // Members of other units take only their X-cells.
                for (int base = 0; base < f; base += kLanes) {
                    const unsigned below = f - base >= kLanes ? 0xffu : (1u << (f - base)) - 1;
                    for (unsigned apart = mine.PartnersIn(places + base, reach + base) & below;
                         apart; apart &= apart - 1) {
                        const int v = base + std::countr_zero(apart);
                        meet(u, x, sets[v], als[v], places[v], sets[f], als[f], places[f]);
                    }
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
        const Als &a = set(p.a), &b = set(p.b);
        Removals(state, a, b, a.digits & b.digits & ~DigitBit(p.x), &gone);
        bool more = false;
        for (int z = 0; z < 9; ++z) {
            more |= !(gone[z] & ~removed[z]).Empty();
            removed[z] |= gone[z];
        }
        if (!more) continue;
        if (!sink(PairStep(state, a, b, p.x))) return;
    }
}

}  // namespace kz::logic
