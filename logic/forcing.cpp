// SPDX-License-Identifier: MIT
// Forcing chains and nets. Assume each candidate of a cell, or each place of a digit in a
// unit, in turn and follow what must then hold. What every branch agrees on holds whichever
// is true; a branch that runs into a contradiction shows its assumption false.
//
// A chain follows singles only, from the cells with two candidates and the digits with two places
// in a unit. A net also uses the locked candidates and naked pairs a branch forms, for a bounded
// number of rounds, branches on every cell and unit, and refutes single candidates.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

// KZ_LOGIC_PORTABLE takes the plain loops that processors without SSE2 use, so that the
// tests run them here too (see logic/CMakeLists.txt).
#if defined(__SSE2__) && !defined(KZ_LOGIC_PORTABLE)
#define KZ_LOGIC_SSE2 1
#include <emmintrin.h>
#endif

#include "logic/finders.h"
#include "logic/forcing.h"
#include "logic/notation.h"
#include "logic/proof.h"

namespace kz::logic {

namespace {

constexpr std::uint16_t kNever = 0xffff;

constexpr int Index(int c, int d) {
    return c * 9 + d - 1;
}

struct Fact {
    CellSet cells;  ///< the one cell, or the cells of a locked group
    std::int16_t parent;
    std::int8_t digit;
    bool isTrue;
};

struct Settings {
    int basicRounds;        ///< how often a net's branch may turn to locked candidates and pairs
    int maxCellCandidates;  ///< the largest cell to branch on
    int maxUnitPlaces;      ///< the most places of a digit in a unit to branch on
    bool everyCandidate;    ///< also refute single candidates by contradiction
    Technique technique;
    bool text = true;  ///< false: a step carries its result alone, not the chains behind it
};

// The cells with exactly two candidates, counted over the digits' places at once.
CellSet CellsWithTwo(const std::array<CellSet, 9>& where) {
    CellSet once, twice, more;
    for (const CellSet& w : where) {
        more |= twice & w;
        twice |= once & w;
        once |= w;
    }
    return twice & ~more;
}

inline constexpr auto kCells = [] {
    std::array<CellSet, 81> t{};
    for (int c = 0; c < 81; ++c) t[c] = CellSet::Of(c);
    return t;
}();

// The cells of a unit by threes that a crossing unit holds: a line's thirds (its boxes' cells)
// and a box's rows at 1..3, a box's columns at 4..6 (bit i for kUnits.cells[u][i]).
constexpr unsigned LockedGroupCells(bool box, int group) {
    return group <= 3 ? 7u << 3 * (group - 1) : (box ? 0x49u << (group - 4) : 0u);
}

// For the places of a digit in a unit as bits of the unit's cells, two or three of them: the
// group above that holds them all, or 0 when none does (and for the masks of a placed digit). By
// [unit is a box].
constexpr std::array<std::array<std::uint8_t, 2048>, 2> MakeLockedGroups() {
    std::array<std::array<std::uint8_t, 2048>, 2> t{};
    for (unsigned m = 0; m < 512; ++m) {
        const int n = kNineBitCount[m];
        if (n < 2 || n > 3) continue;
        for (int box = 0; box < 2; ++box) {
            for (int group = 1; group <= 6; ++group) {
                const unsigned cells = LockedGroupCells(box, group);
                if (cells && !(m & ~cells)) t[box][m] = static_cast<std::uint8_t>(group);
            }
        }
    }
    return t;
}

inline constexpr auto kLockedGroup = MakeLockedGroups();

// For a unit and a group of its cells: the crossing unit that holds the group, and the cells of
// that unit outside the first (as bits of its own cells), from which the digit goes when its
// places lie in the group. Group 0 crosses nothing.
struct LockedCross {
    std::uint8_t other;
    std::uint16_t outside;
};

inline constexpr auto kLockedCross = [] {
    std::array<std::array<LockedCross, 7>, kUnitCount> t{};
    for (int u = 0; u < kUnitCount; ++u) {
        for (int group = 1; group <= 6; ++group) {
            const unsigned cells = LockedGroupCells(u >= 18, group);
            if (!cells) continue;
            const int first = kUnits.cells[u][std::countr_zero(cells)];
            for (int other : kUnits.unitsOf[first]) {
                if ((other < 18) == (u < 18)) continue;
                bool holds = true;
                for (int i = 0; i < 9; ++i) {
                    if ((cells >> i & 1) && !kUnits.set[other].Has(kUnits.cells[u][i]))
                        holds = false;
                }
                if (!holds) continue;
                unsigned outside = 0;
                for (int i = 0; i < 9; ++i) {
                    if (!kUnits.set[u].Has(kUnits.cells[other][i])) outside |= 1u << i;
                }
                t[u][group] = {static_cast<std::uint8_t>(other),
                               static_cast<std::uint16_t>(outside)};
            }
        }
    }
    return t;
}();

// A cell's units, its bit among each one's cells cleared, and its units as bits.
struct CellUnits {
    std::array<std::uint8_t, 3> unit;
    std::array<std::uint16_t, 3> without;
    std::uint32_t units;
};

inline constexpr auto kCellUnits = [] {
    std::array<CellUnits, 81> t{};
    for (int c = 0; c < 81; ++c) {
        for (int k = 0; k < 3; ++k) {
            t[c].unit[k] = kUnits.unitsOf[c][k];
            t[c].without[k] = static_cast<std::uint16_t>(~(1u << kUnits.indexIn[c][k]));
            t[c].units |= std::uint32_t{1} << kUnits.unitsOf[c][k];
        }
    }
    return t;
}();

// A digit's places in each unit as bits of the unit's cells (bit i for kUnits.cells[u][i]), one
// lane a unit; the lanes past the 27 units are never read.
using Lanes = std::array<std::uint16_t, 32>;

// For each cell, what is left of each unit's lane without the cell and the cells it sees: a
// placement takes its digit from every unit at once through it.
alignas(16) inline constexpr auto kPeerClear = [] {
    std::array<Lanes, 81> t{};
    for (int c = 0; c < 81; ++c) {
        t[c].fill(0xffff);
        const CellSet gone = kUnits.peers[c] | CellSet::Of(c);
        for (int u = 0; u < kUnitCount; ++u) {
            for (int i = 0; i < 9; ++i) {
                if (gone.Has(kUnits.cells[u][i])) t[c][u] &= static_cast<std::uint16_t>(~(1u << i));
            }
        }
    }
    return t;
}();

// `places` &= `keep`. Returns the units whose lane changed, and sets `last` to those of them
// left with one place or none.
inline std::uint32_t KeepPlaces(Lanes& places, const Lanes& keep, std::uint32_t& last) {
#if defined(KZ_LOGIC_SSE2)
    constexpr std::uint32_t kUnitBits = (1u << kUnitCount) - 1;
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi16(1);
    std::uint32_t same = 0, few = 0;
    for (int k = 0; k < 4; k += 2) {
        __m128i eq[2], atMostOne[2];
        for (int h = 0; h < 2; ++h) {
            auto* at = reinterpret_cast<__m128i*>(&places[8 * (k + h)]);
            const __m128i before = _mm_loadu_si128(at);
            const __m128i after = _mm_and_si128(
                before, _mm_loadu_si128(reinterpret_cast<const __m128i*>(&keep[8 * (k + h)])));
            _mm_storeu_si128(at, after);
            eq[h] = _mm_cmpeq_epi16(before, after);
            atMostOne[h] = _mm_cmpeq_epi16(_mm_and_si128(after, _mm_sub_epi16(after, one)), zero);
        }
        same |= static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(eq[0], eq[1])))
                << (8 * k);
        few |= static_cast<std::uint32_t>(
                   _mm_movemask_epi8(_mm_packs_epi16(atMostOne[0], atMostOne[1])))
               << (8 * k);
    }
    const std::uint32_t changed = ~same & kUnitBits;
    last = changed & few;
    return changed;
#else
    std::uint32_t changed = 0;
    last = 0;
    for (int u = 0; u < kUnitCount; ++u) {
        const unsigned m = places[u] & keep[u];
        if (m == places[u]) continue;
        places[u] = static_cast<std::uint16_t>(m);
        changed |= 1u << u;
        if (!(m & (m - 1))) last |= 1u << u;
    }
    return changed;
#endif
}

/// What a probe placed and removed, as bit sets: the candidates it removed by digit, and the
/// cells it placed that had one candidate (elsewhere a placement comes with removals, which
/// tell the same).
struct Findings {
    std::array<CellSet, 10> sets;
};

// One branch: follows the assumption that a cell holds a digit by singles and, in a net, by
// rounds of locked candidates and naked pairs, until it meets a contradiction or nothing more
// follows. The rules are written once; what the branch keeps depends on kRecorded.
//
// Recorded, each fact (a placement, a removal, a locked group) is kept with its time (its
// index, found in breadth-first order) and the fact it follows from, for the text of a step. A
// removal is made at once, but what it leaves (a single, a last place, nothing) is seen when
// the removal's turn comes, so that each fact follows from the earliest fact it can.
//
// Unrecorded (a probe), only where the branch ends: whether it meets a contradiction and, when
// it does not, what it placed and removed. What a removal leaves is seen as it is made and
// placements wait on a stack. Most branches bear no conclusion, and a probe tells which do at a
// fraction of a recorded run's cost.
//
// Both end in the same place: the singles between two rounds reach the one state from which no
// single follows, or a contradiction, whatever their order; and so each round starts from the
// same candidates in both and looks at the same places in the same order.
//
// A probe is short (a few placements and a few dozen removals on the hard boards), so what it
// pays for every removal and every look is the cost: each digit's places in each unit are kept
// as nine bits, which tell a last place, none, and a locked group by a table at once, and a
// placement takes its digit from all of them in a few wide steps.
template <bool kRecorded, bool kNet>
class Propagation {
public:
    Propagation(const State& state, const Settings& settings) : m_settings(settings) {
        // Every branch starts from the same state: its arrays are made once.
        for (int k = 0; k < 81; ++k) {
            const int v = state.Values()[k];
            m_startCand[k] = v ? DigitBit(v) : state.Candidates(k);
            if (v) {
                m_startSolved.Add(k);
            } else if (BitCount(state.Candidates(k)) == 1) {
                m_startSingles.Add(k);
            }
        }
        for (Lanes& p : m_startPlaces) p.fill(kPlaced);
        for (int e = 1; e <= 9; ++e) {
            m_startWhere[e - 1] = state.CellsOf(e);
            for (int u = 0; u < kUnitCount; ++u) m_startPlaces[e - 1][u] = state.PlacesIn(u, e);
        }
        m_startSolved.ForEach([&](int c) {
            for (int u : kUnits.unitsOf[c]) m_startPlaces[state.Values()[c] - 1][u] = kPlaced;
        });
    }

    /// Follows the assumption that c holds d; true when it meets a contradiction.
    bool Run(int c, int d) {
        if constexpr (kRecorded) {
            // Made at the first run: a search that records no branch pays nothing for it.
            if (m_facts.empty()) m_facts.resize(kMaxFacts);
            m_trueAt.fill(kNever);
            m_factCount = 0;
            m_next = 0;
        } else {
            m_pending = 0;
        }
        m_cand = m_startCand;
        m_where = m_startWhere;
        m_places = m_startPlaces;
        m_solved = m_startSolved;
        m_solvedAs = {};
        if constexpr (kNet) {
            m_lockedChanged = {};
            m_pairsChanged = {};
        }
        m_contradiction = -1;
        Found(c, d, -1);
        for (int rounds = 0;; ++rounds) {
            Singles();
            if (m_contradiction >= 0) return true;
            if (!kNet || rounds == m_settings.basicRounds ||
                !(LockedCandidates() || NakedPairs())) {
                return false;
            }
        }
    }

    /// The fact that met a contradiction, or −1 (recorded).
    int Contradiction() const { return m_contradiction; }

    /// Each placement and removal as its key (removals 0..728, placements 729..1457) with its
    /// time in the high half, added to `out` (recorded).
    void FindingKeys(std::vector<std::uint32_t>& out) const {
        for (std::size_t i = 0; i < m_factCount; ++i) {
            const Fact& f = m_facts[i];
            if (!AtMostOne(f.cells)) continue;
            const int key = (f.isTrue ? 729 : 0) + Index(f.cells.First(), f.digit);
            out.push_back(static_cast<std::uint32_t>(key) | static_cast<std::uint32_t>(i) << 16);
        }
    }

    std::vector<Fact> Facts() const {
        return {m_facts.begin(), m_facts.begin() + static_cast<std::ptrdiff_t>(m_factCount)};
    }

    /// What the last Run, one that met no contradiction, placed and removed.
    void GetFindings(Findings& out) const {
        for (int e = 0; e < 9; ++e) out.sets[e] = m_startWhere[e] & ~m_where[e] & ~m_solvedAs[e];
        out.sets[9] = m_solved & m_startSingles;
    }

private:
    // The singles that follow from what is known, until none does or a contradiction.
    void Singles() {
        if constexpr (kRecorded) {
            while (m_next < m_factCount && m_contradiction < 0) Process(static_cast<int>(m_next++));
        } else {
            while (m_pending && m_contradiction < 0) {
                const std::uint16_t next = m_stack[--m_pending];
                Place(next >> 4, next & 15, 0);
            }
        }
    }

    // A recorded fact's turn: a placement is made, a removal tells what it left.
    void Process(int i) {
        const Fact f = m_facts[i];
        const int c = f.cells.First();
        const int d = f.digit;
        if (f.isTrue) {
            if (AtMostOne(f.cells)) Place(c, d, i);
            return;  // a locked group: its removals are queued already
        }
        if (!m_solved.Has(c) && !CellLeft(c, m_cand[c], i)) return;
        const CellUnits& x = kCellUnits[c];
        if constexpr (kNet) {
            // What a look's group follows from: the latest removal whose turn has come, so
            // not one the look itself made.
            m_lastInCell[c] = static_cast<std::int16_t>(i);
            for (int k = 0; k < 3; ++k)
                m_lastRemoval[x.unit[k] * 9 + d - 1] = static_cast<std::int16_t>(i);
        }
        const std::uint16_t* places = m_places[d - 1].data();
        LeftInUnits(x, d, places[x.unit[0]], places[x.unit[1]], places[x.unit[2]], i);
    }

    // The assumption meets a contradiction at fact `cause`.
    void Refute(int cause) { m_contradiction = cause; }

    // "d is in c" follows from `cause`.
    [[gnu::always_inline]] void Found(int c, int d, int cause) {
        if constexpr (kRecorded) {
            if (m_trueAt[Index(c, d)] != kNever) return;
            m_trueAt[Index(c, d)] = static_cast<std::uint16_t>(m_factCount);
            Push({CellSet::Of(c), static_cast<std::int16_t>(cause), static_cast<std::int8_t>(d),
                  true});
        } else {
            m_stack[m_pending++] = static_cast<std::uint16_t>(c << 4 | d);
        }
    }

    void Push(const Fact& f) { m_facts[m_factCount++] = f; }

    // "d is not in c" following from `cause`, made already, kept as a fact.
    void Record(int c, int d, int cause) {
        Push(
            {CellSet::Of(c), static_cast<std::int16_t>(cause), static_cast<std::int8_t>(d), false});
    }

    // c has the candidates `m` left: none is a contradiction, one a placement. False on a
    // contradiction.
    [[gnu::always_inline]] bool CellLeft(int c, Mask m, int cause) {
        if (!m) {
            Refute(cause);
            return false;
        }
        if (!(m & (m - 1))) Found(c, std::countr_zero(m) + 1, cause);
        return true;
    }

    // c's units have the places m0..m2 of d left. A placed digit's mask keeps kPlaced's two
    // bits: it never looks like one place.
    [[gnu::always_inline]] void LeftInUnits(const CellUnits& x, int d, unsigned m0, unsigned m1,
                                            unsigned m2, int cause) {
        if ((m0 & (m0 - 1)) && (m1 & (m1 - 1)) && (m2 & (m2 - 1))) return;
        LastPlaces(x, d, m0, m1, m2, cause);
    }

    // The units where d has one place left or none.
    [[gnu::noinline]] void LastPlaces(const CellUnits& x, int d, unsigned m0, unsigned m1,
                                      unsigned m2, int cause) {
        const unsigned left[3] = {m0, m1, m2};
        for (int k = 0; k < 3; ++k) {
            const unsigned m = left[k];
            if (m & (m - 1)) continue;
            if (!m) {
                Refute(cause);
                return;
            }
            Found(kUnits.cells[x.unit[k]][std::countr_zero(m)], d, cause);
        }
    }

    // d leaves c's candidates, which hold it. False when a probe finds none left. This, Gone
    // and Remove run for every candidate a branch takes: the compiler is told to inline them
    // into their few callers, which it otherwise does not.
    [[gnu::always_inline]] bool LosesCandidate(int c, int d, int cause) {
        const Mask m = m_cand[c] &= static_cast<Mask>(~DigitBit(d));
        if constexpr (kRecorded) {
            return true;
        } else {
            return CellLeft(c, m, cause);
        }
    }

    // d leaves c's places, in its units and among the places of d, and the rounds' next looks
    // go where it was.
    [[gnu::always_inline]] void Gone(int c, int d, int cause) {
        const CellSet cell = kCells[c];
        m_where[d - 1].lo &= ~cell.lo;
        m_where[d - 1].hi &= ~cell.hi;
        const CellUnits& x = kCellUnits[c];
        std::uint16_t* places = m_places[d - 1].data();
        const unsigned m0 = places[x.unit[0]] &= x.without[0];
        const unsigned m1 = places[x.unit[1]] &= x.without[1];
        const unsigned m2 = places[x.unit[2]] &= x.without[2];
        if constexpr (kNet) {
            m_pairsChanged |= cell;
            m_lockedChanged[d - 1] |= x.units;
        }
        if constexpr (kRecorded) {
            Record(c, d, cause);
        } else {
            LeftInUnits(x, d, m0, m1, m2, cause);
        }
    }

    [[gnu::always_inline]] void Remove(int c, int d, int cause) {
        if (LosesCandidate(c, d, cause)) Gone(c, d, cause);
    }

    void Place(int c, int d, int cause) {
        const Mask bit = DigitBit(d);
        if (m_solved.Has(c)) {
            if (m_cand[c] != bit) Refute(cause);
            return;
        }
        if (!(m_cand[c] & bit)) {
            Refute(cause);
            return;
        }
        m_solved.Add(c);
        m_solvedAs[d - 1].Add(c);
        const Mask rest = m_cand[c] & ~bit;
        m_cand[c] = bit;
        for (unsigned r = rest; r; r &= r - 1) Gone(c, std::countr_zero(r) + 1, cause);
        // The cells that see c lose d together: their candidates one by one, the places of d
        // in every unit at once. The places of d are read and written once, whole.
        const CellSet where = m_where[d - 1];
        const CellSet peers = where & kUnits.peers[c];
        m_where[d - 1] = where & ~peers & ~kCells[c];
        if constexpr (kNet) m_pairsChanged |= peers;
        // Not ForEach: its lambda, called from two loops, is left out of line.
        for (std::uint64_t w = peers.lo; w; w &= w - 1) LosesPeer(std::countr_zero(w), d, cause);
        for (std::uint64_t w = peers.hi; w; w &= w - 1)
            LosesPeer(64 + std::countr_zero(w), d, cause);
        // c's own units are marked placed after the lanes are read whole: a lane written alone
        // just before would hold the wide read up until the write is done.
        Lanes& places = m_places[d - 1];
        std::uint32_t last;
        const std::uint32_t own = kCellUnits[c].units;
        const std::uint32_t changed = KeepPlaces(places, kPeerClear[c], last) & ~own;
        last &= ~own;
        for (int u : kUnits.unitsOf[c]) places[u] = kPlaced;
        if constexpr (kNet) m_lockedChanged[d - 1] |= changed;
        // A recorded branch sees the last places as the removals' turns come.
        if constexpr (!kRecorded) {
            for (; last; last &= last - 1) {
                const int u = std::countr_zero(last);
                if (!places[u]) {
                    Refute(cause);
                    return;
                }
                Found(kUnits.cells[u][std::countr_zero(places[u])], d, cause);
            }
        }
    }

    // d leaves p, which sees where it was placed: Place takes it from the places at once.
    [[gnu::always_inline]] void LosesPeer(int p, int d, int cause) {
        LosesCandidate(p, d, cause);
        if constexpr (kRecorded) Record(p, d, cause);
    }

    // "d is in one of `cells`", following from fact `trigger`: the cause of the removals that
    // follow from it.
    int Group(CellSet cells, int d, int trigger) {
        if constexpr (kRecorded) {
            const auto group = static_cast<int>(m_factCount);
            Push({cells, static_cast<std::int16_t>(trigger), static_cast<std::int8_t>(d), true});
            return group;
        } else {
            return 0;
        }
    }

    // Pointing and claiming where this branch's removals made a digit's places in a unit fit
    // inside one box-line intersection. True when anything was removed. A place set that has
    // not changed since the last look took what it could then, and places only go: it is
    // passed over. Unit by unit, and digit by digit in a unit: the order of a recorded branch's
    // groups.
    bool LockedCandidates() {
        const std::array<std::uint32_t, 9> changed = std::exchange(m_lockedChanged, {});
        // Few units lock, and those that may are found a digit at a time; the units still to
        // come of a digit whose places a group takes are looked at again, as they may now lock.
        std::array<std::uint32_t, 9> locking;
        std::uint32_t units = 0;
        for (int e = 0; e < 9; ++e) units |= locking[e] = Locking(m_places[e], changed[e]);
        bool any = false;
        for (; units; units &= units - 1) {
            const int u = std::countr_zero(units);
            for (int d = 1; d <= 9; ++d) {
                if (!(locking[d - 1] >> u & 1)) continue;
                const Lanes& places = m_places[d - 1];
                const LockedCross& x = kLockedCross[u][kLockedGroup[u >= 18][places[u]]];
                unsigned gone = places[x.other] & x.outside;
                if (!gone) continue;
                any = true;
                int cause = 0;
                if constexpr (kRecorded) {
                    CellSet cells;
                    for (unsigned m = places[u]; m; m &= m - 1)
                        cells.Add(kUnits.cells[u][std::countr_zero(m)]);
                    cause = Group(cells, d, m_lastRemoval[u * 9 + d - 1]);
                }
                for (; gone; gone &= gone - 1)
                    Remove(kUnits.cells[x.other][std::countr_zero(gone)], d, cause);
                const std::uint32_t more =
                    Locking(places, changed[d - 1] & ~((std::uint32_t{2} << u) - 1));
                locking[d - 1] |= more;
                units |= more;
            }
        }
        return any;
    }

    // Of `units`, those whose places of a digit lie two or three in one crossing unit that
    // holds more places of it.
    static std::uint32_t Locking(const Lanes& places, std::uint32_t units) {
        std::uint32_t locking = 0;
        for (std::uint32_t lines = units & 0x3ffff; lines; lines &= lines - 1) {
            const int u = std::countr_zero(lines);
            const LockedCross& x = kLockedCross[u][kLockedGroup[0][places[u]]];
            locking |= std::uint32_t{(places[x.other] & x.outside) != 0} << u;
        }
        for (std::uint32_t boxes = units >> 18; boxes; boxes &= boxes - 1) {
            const int u = 18 + std::countr_zero(boxes);
            const LockedCross& x = kLockedCross[u][kLockedGroup[1][places[u]]];
            locking |= std::uint32_t{(places[x.other] & x.outside) != 0} << u;
        }
        return locking;
    }

    // Two cells of a unit left with the same two digits by this branch: each digit is in one
    // of them ("(d)r1c12" as a node), so it leaves the rest of the unit. A pair counts when one
    // of its cells lost a candidate since the last look began.
    bool NakedPairs() {
        const CellSet changed = std::exchange(m_pairsChanged, {});
        if (!AnyPair(CellsWithTwo(m_where) & changed)) return false;
        // Units in order, pairs by their cells' order in the unit. The cells with two
        // candidates are kept up to date as pairs remove more: a unit with fewer than two of
        // them holds no pair.
        CellSet two = CellsWithTwo(m_where);
        bool any = false;
        for (int u = 0; u < kUnitCount; ++u) {
            if ((changed & kUnits.set[u]).Empty() || AtMostOne(two & kUnits.set[u])) continue;
            for (int i = 0; i < 9; ++i) {
                const int p = kUnits.cells[u][i];
                if (!two.Has(p)) continue;
                const Mask m = m_cand[p];
                for (int j = i + 1; j < 9; ++j) {
                    const int q = kUnits.cells[u][j];
                    if (m_cand[q] != m) continue;
                    const bool hasP = changed.Has(p), hasQ = changed.Has(q);
                    if (!hasP && !hasQ) continue;
                    int trigger = 0;
                    if constexpr (kRecorded) {
                        trigger =
                            std::max(hasP ? m_lastInCell[p] : -1, hasQ ? m_lastInCell[q] : -1);
                    }
                    const CellSet pair = CellSet::Of(p) | CellSet::Of(q);
                    for (unsigned ds = m; ds; ds &= ds - 1) {
                        const int d = std::countr_zero(ds) + 1;
                        const CellSet gone = m_where[d - 1] & kUnits.set[u] & ~pair;
                        if (gone.Empty()) continue;
                        any = true;
                        const int cause = Group(pair, d, trigger);
                        gone.ForEach([&](int x) {
                            Remove(x, d, cause);
                            const unsigned rest = m_cand[x] & (m_cand[x] - 1u);
                            if (rest && !(rest & (rest - 1))) {
                                two.Add(x);
                            } else {
                                two.Remove(x);
                            }
                        });
                    }
                }
            }
        }
        return any;
    }

    // Whether NakedPairs would remove anything: a pair with a changed cell that shares a unit
    // with more places of its digits. Most looks find none, and this costs a few cells.
    bool AnyPair(CellSet changedTwo) const {
        bool any = false;
        changedTwo.ForEach([&](int p) {
            const Mask m = m_cand[p];
            const int a = std::countr_zero(m), b = std::bit_width(m) - 1u;
            for (int k = 0; k < 3; ++k) {
                const int u = kUnits.unitsOf[p][k];
                // The unit's other places of either digit, and among them the cells left with
                // the same two.
                const unsigned either =
                    (m_places[a][u] | m_places[b][u]) & 0x1ffu & ~(1u << kUnits.indexIn[p][k]);
                unsigned partners = 0;
                for (unsigned both = m_places[a][u] & m_places[b][u] & either; both;
                     both &= both - 1) {
                    const int i = std::countr_zero(both);
                    partners |= unsigned{m_cand[kUnits.cells[u][i]] == m} << i;
                }
                // With two partners the pair's removals take the third.
                if (partners) any |= (partners & (partners - 1)) || (either & ~partners);
            }
        });
        return any;
    }

    const Settings& m_settings;
    /// Candidates with a placed cell holding its digit: what a cell lost is what its removals
    /// would be.
    std::array<Mask, 81> m_startCand{};
    std::array<CellSet, 9> m_startWhere{};
    CellSet m_startSolved, m_startSingles;
    std::array<Mask, 81> m_cand{};
    std::array<CellSet, 9> m_where{};     ///< the places of each digit, placed cells left out
    std::array<CellSet, 9> m_solvedAs{};  ///< the cells this branch placed, by digit
    /// The places of each digit in each unit as bits of the unit's cells, or kPlaced once the
    /// digit is placed there (two bits above the nine: never one place, never taken by a
    /// removal). By digit − 1, then unit.
    static constexpr std::uint16_t kPlaced = 0x600;
    alignas(16) std::array<Lanes, 9> m_startPlaces{}, m_places{};
    CellSet m_solved;
    /// The units (as bits) where each digit lost a place since the last look for locked
    /// candidates.
    std::array<std::uint32_t, 9> m_lockedChanged{};
    CellSet m_pairsChanged;  ///< the cells that lost a candidate since the last look for pairs
    int m_contradiction = -1;

    // A probe's placements found and not yet made: a candidate leaves once and then finds at
    // most four (its cell's last candidate and a last place in each of its units).
    std::array<std::uint16_t, 4 * 729 + 1> m_stack;
    int m_pending = 0;

    // A recorded branch's facts. Each candidate is assumed true once, removed once and heads at
    // most one group (a group removes at least one candidate), which bounds them.
    static constexpr std::size_t kMaxFacts = 3 * 729;
    std::vector<Fact> m_facts;  ///< kMaxFacts long; the first m_factCount are this branch's
    std::size_t m_factCount = 0;
    std::size_t m_next = 0;  ///< the next fact whose turn comes
    std::array<std::uint16_t, 729> m_trueAt{};
    /// The latest removal of each digit from each unit (unit * 9 + digit − 1) and from each
    /// cell, read only where it happened in this branch.
    std::array<std::int16_t, kUnitCount * 9> m_lastRemoval{};
    std::array<std::int16_t, 81> m_lastInCell{};
};

// A branch's facts in the order found, kept for the text of the steps that rest on it: several
// steps share a branch, and running it again costs far more than the copy.
struct Trace {
    int contradiction;
    std::vector<Fact> facts;

    /// The time of "d is (not) in c" as a fact on its own.
    int TimeOf(int c, int d, bool isTrue) const {
        for (std::size_t i = 0; i < facts.size(); ++i) {
            const Fact& f = facts[i];
            if (f.digit == d && f.isTrue == isTrue && f.cells == CellSet::Of(c))
                return static_cast<int>(i);
        }
        return -1;
    }

    /// The facts from the assumption to fact `i`, in Eureka notation, appended to `text`.
    /// `names` holds the name of each candidate as a node, made when first needed: the paths
    /// of one search name the same candidates over and over.
    void PathTo(int i, std::string& text, std::vector<std::string>& names) const {
        std::array<std::int16_t, 3 * 729> path;
        int n = 0;
        for (int k = i; k >= 0; k = facts[k].parent) path[n++] = static_cast<std::int16_t>(k);
        for (int j = n - 1; j >= 0; --j) {
            const Fact& f = facts[path[j]];
            if (j != n - 1) text += f.isTrue ? '=' : '-';
            if (!AtMostOne(f.cells)) {
                text += NodeName(DigitBit(f.digit), f.cells);
                continue;
            }
            if (names.empty()) names.resize(729);
            std::string& name = names[Index(f.cells.First(), f.digit)];
            if (name.empty()) name = NodeName(DigitBit(f.digit), f.cells);
            text += name;
        }
    }
};

// A branch's facts as a proof's branch: what each rests on, worked out from the board and the
// facts before it, and only those the end needs. The end is the contradiction, or the fact at
// `end`. Empty when a fact cannot be traced, which would be a fault of the search.
ProofBranch BranchProof(const State& state, const Trace& trace, int end) {
    BranchBuilder builder(state);
    std::vector<int> at(trace.facts.size(), -1);
    const int last = end >= 0 ? end : static_cast<int>(trace.facts.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        const Fact& f = trace.facts[static_cast<std::size_t>(i)];
        const int c = f.cells.First();
        int made = -1;
        if (i == 0) {
            made = builder.Suppose(c, f.digit);
        } else if (!f.isTrue) {
            made = builder.Remove(c, f.digit, f.parent >= 0 ? at[f.parent] : -1);
        } else {
            made = builder.Group(f.cells, f.digit);
        }
        if (made < 0) return {};
        at[i] = made;
    }
    const int proved = end >= 0 ? at[end] : builder.Contradiction(at[trace.contradiction]);
    return builder.Finish(proved);
}

// What one assumption leads to, kept for the sets of assumptions it belongs to.
struct Outcome {
    int contradiction;
    std::uint32_t begin,
        end;  ///< its findings in the search's pool, as Propagation::FindingKeys gives them
};

// A set of assumptions of which exactly one holds: a cell's candidates or a digit's places in a
// unit.
struct Premises {
    std::span<const Placement> options;  ///< in the search's one pool of options
    int unit;                            ///< −1 for a cell
};

struct Conclusion {
    int cost;  ///< the latest time among the branches it needs: simpler first
    int premises;
    bool placement;
    std::int8_t cell, digit;
};

template <bool kNet>
class Search {
public:
    Search(const State& state, const Settings& settings)
        : m_state(state),
          m_settings(settings),
          m_branch(state, settings),
          m_probe(state, settings) {
        m_slot.fill(-1);
        m_traceSlot.fill(-1);
        m_probeSlot.fill(-1);
    }

    /// The branches followed so far, probes and recorded runs both: what a search has cost.
    std::size_t Runs() const { return m_probeContradiction.size() + m_outcomes.size(); }

    void Run(const StepSink& sink, const ForcingStart* start, std::vector<ForcingStart>* bore) {
        CollectPremises(start);
        std::vector<Conclusion> found;
        for (int p = 0; p < static_cast<int>(m_premises.size()); ++p) Screen(p, found);
        std::stable_sort(found.begin(), found.end(),
                         [](const Conclusion& a, const Conclusion& b) { return a.cost < b.cost; });
        // A conclusion the ones before it already carried out (the same one again, or a
        // candidate an earlier placement took) changes nothing once those are taken; its
        // branches are not worth running again for the text.
        State after = m_state;
        bool more = true;
        for (const Conclusion& c : found) {
            if (c.placement ? !after.Place(c.cell, c.digit) : !after.Eliminate(c.cell, c.digit))
                continue;
            if (bore) {
                const Premises& premises = m_premises[c.premises];
                const Placement first = premises.options[0];
                ForcingStart set{first.cell, -1, first.digit};
                if (premises.unit >= 0)
                    set = {-1, static_cast<std::int8_t>(premises.unit), first.digit};
                if (std::find(bore->begin(), bore->end(), set) == bore->end()) bore->push_back(set);
            }
            // Told which sets bore steps, the search runs on, but makes no step the sink did
            // not ask for: a step's text costs its branches run again.
            if (more && !sink(MakeStep(c))) {
                if (!bore) return;
                more = false;
            }
        }
    }

private:
    void CollectPremises(const ForcingStart* start) {
        // Every candidate once as a cell's and once in each of its units at most: the pool
        // never grows past this, so the sets' views of it stay valid.
        m_options.reserve(4 * 729);
        const auto add = [&](int unit, auto&& fill) {
            const std::size_t begin = m_options.size();
            fill();
            m_premises.push_back({std::span<const Placement>(m_options).subspan(begin), unit});
        };
        const auto option = [&](int c, int d) {
            m_options.push_back({static_cast<std::int8_t>(c), static_cast<std::int8_t>(d)});
        };
        CellSet cells = m_state.Open();
        if (start) cells &= start->unit < 0 ? CellSet::Of(start->cell) : CellSet{};
        cells.ForEach([&](int c) {
            const Mask m = m_state.Candidates(c);
            const int n = BitCount(m);
            if (n < 2 || (n > m_settings.maxCellCandidates && !m_settings.everyCandidate)) return;
            // Too large a cell still serves for refuting its candidates one by one.
            add(n > m_settings.maxCellCandidates ? -2 : -1, [&] {
                for (int d = 1; d <= 9; ++d) {
                    if (m & DigitBit(d)) option(c, d);
                }
            });
        });
        for (int u = 0; u < kUnitCount; ++u) {
            for (int d = 1; d <= 9; ++d) {
                const CellSet places = m_state.CellsOf(d) & kUnits.set[u];
                const int n = places.Count();
                if (n < 2 || n > m_settings.maxUnitPlaces) continue;
                if (start && (start->unit != u || start->digit != d)) continue;
                add(u, [&] { places.ForEach([&](int c) { option(c, d); }); });
            }
        }
    }

    std::span<const std::uint32_t> FindingsOf(const Outcome& o) const {
        return std::span<const std::uint32_t>(m_findings).subspan(o.begin, o.end - o.begin);
    }

    const Outcome& OutcomeOf(Placement a) {
        std::int16_t& slot = m_slot[Index(a.cell, a.digit)];
        if (slot < 0) {
            m_branch.Run(a.cell, a.digit);
            // A recorded branch bears a step: its facts will give the step's text.
            std::int16_t& traceSlot = m_traceSlot[Index(a.cell, a.digit)];
            if (traceSlot < 0) {
                traceSlot = static_cast<std::int16_t>(m_traces.size());
                m_traces.push_back({m_branch.Contradiction(), m_branch.Facts()});
            }
            slot = static_cast<std::int16_t>(m_outcomes.size());
            const auto begin = static_cast<std::uint32_t>(m_findings.size());
            // A refuted assumption's findings serve no set: it is left out of what sets agree on.
            if (m_branch.Contradiction() < 0) m_branch.FindingKeys(m_findings);
            m_outcomes.push_back(
                {m_branch.Contradiction(), begin, static_cast<std::uint32_t>(m_findings.size())});
            m_keys.resize(m_keys.size() + kKeyWords);
            std::uint64_t* keys = &m_keys[m_keys.size() - kKeyWords];
            for (std::uint32_t f : FindingsOf(m_outcomes.back()))
                keys[(f & 0xffff) / 64] |= std::uint64_t{1} << (f & 63);
        }
        return m_outcomes[slot];
    }

    // Whether some finding is common to every outcome of `alive`: most sets of assumptions
    // agree on nothing, and a few words of bits tell so without counting.
    bool AnyCommon(const std::vector<const Outcome*>& alive) const {
        std::array<std::uint64_t, kKeyWords> common;
        const auto keysOf = [&](const Outcome* o) {
            return &m_keys[static_cast<std::size_t>(o - m_outcomes.data()) * kKeyWords];
        };
        std::copy_n(keysOf(alive[0]), kKeyWords, common.begin());
        for (std::size_t i = 1; i < alive.size(); ++i) {
            const std::uint64_t* keys = keysOf(alive[i]);
            std::uint64_t any = 0;
            for (int w = 0; w < kKeyWords; ++w) any |= common[w] &= keys[w];
            if (!any) return false;
        }
        return true;
    }

    // Where the probe of assumption `a` ended: its slot, whose findings are valid when it met
    // no contradiction.
    int ProbeOf(Placement a) {
        std::int16_t& slot = m_probeSlot[Index(a.cell, a.digit)];
        if (slot < 0) {
            slot = static_cast<std::int16_t>(m_probeContradiction.size());
            const bool contradiction = m_probe.Run(a.cell, a.digit);
            m_probeContradiction.push_back(contradiction);
            m_probeFindings.emplace_back();
            if (!contradiction) m_probe.GetFindings(m_probeFindings.back());
        }
        return slot;
    }

    // Conclude(p) for the sets of assumptions whose probes tell they conclude something, and
    // for no other: a probe ends as its recorded branch ends, so only the branches that carry
    // a step are recorded. Should a recorded branch not meet the contradiction its probe met,
    // the set is concluded from recorded branches alone, as if there were no probes.
    void Screen(int p, std::vector<Conclusion>& found) {
        const Premises& premises = m_premises[p];
        bool refuted = false;
        for (const Placement& a : premises.options) refuted |= m_probeContradiction[ProbeOf(a)];
        if (refuted) {
            // Only the refuted need their facts, for the times of their contradictions.
            const std::size_t before = found.size();
            for (const Placement& a : premises.options) {
                if (!m_probeContradiction[ProbeOf(a)]) continue;
                const int contradiction = OutcomeOf(a).contradiction;
                if (contradiction >= 0) found.push_back({contradiction, p, false, a.cell, a.digit});
            }
            if (found.size() > before) return;
        } else {
            if (premises.unit == -2) return;
            Findings common = m_probeFindings[ProbeOf(premises.options[0])];
            for (std::size_t i = 1; i < premises.options.size(); ++i) {
                const Findings& next = m_probeFindings[ProbeOf(premises.options[i])];
                CellSet any;
                for (int k = 0; k < 10; ++k) any |= common.sets[k] &= next.sets[k];
                if (any.Empty()) return;
            }
        }
        Conclude(p, found);
    }

    void Conclude(int p, std::vector<Conclusion>& found) {
        const Premises& premises = m_premises[p];
        // Every outcome first: later ones may move the earlier in memory.
        for (const Placement& a : premises.options) OutcomeOf(a);
        std::vector<const Outcome*>& alive = m_alive;
        alive.clear();
        for (const Placement& a : premises.options) {
            const Outcome& o = OutcomeOf(a);
            if (o.contradiction >= 0) {
                // Refuted by itself; its set holds nothing else.
                found.push_back({o.contradiction, p, false, a.cell, a.digit});
            } else {
                alive.push_back(&o);
            }
        }
        // With a branch refuted, its refutation is the simpler step.
        if (premises.unit == -2 || alive.size() < premises.options.size()) return;
        if (!AnyCommon(alive)) return;
        // What every branch found, at the latest time any of them found it.
        const auto k = static_cast<std::uint8_t>(alive.size());
        for (const Outcome* o : alive) {
            for (std::uint32_t f : FindingsOf(*o)) {
                ++m_count[f & 0xffff];
                m_cost[f & 0xffff] =
                    std::max(m_cost[f & 0xffff], static_cast<std::uint16_t>(f >> 16));
            }
        }
        for (std::uint32_t f : FindingsOf(*alive[0])) {
            const int key = static_cast<int>(f & 0xffff);
            const bool placement = key >= 729;
            const int i = key % 729;
            if (m_count[key] == k && m_state.Has(i / 9, i % 9 + 1)) {
                found.push_back({m_cost[key], p, placement, static_cast<std::int8_t>(i / 9),
                                 static_cast<std::int8_t>(i % 9 + 1)});
            }
        }
        for (const Outcome* o : alive) {
            for (std::uint32_t f : FindingsOf(*o)) m_count[f & 0xffff] = m_cost[f & 0xffff] = 0;
        }
    }

    Step MakeStep(const Conclusion& c) {
        const Premises& premises = m_premises[c.premises];
        Step step;
        step.technique = m_settings.technique;
        if (premises.unit >= 0) step.units = {static_cast<std::int8_t>(premises.unit)};
        Mask digits = DigitBit(c.digit);
        for (const Placement& a : premises.options) {
            AddPatternCells(step, CellSet::Of(a.cell));
            digits |= DigitBit(a.digit);
        }
        AddPatternCells(step, CellSet::Of(c.cell));
        step.digits = DigitList(digits);
        if (c.placement) {
            step.placements = {{c.cell, c.digit}};
        } else {
            step.eliminations = {{c.cell, c.digit}};
        }
        if (!m_settings.text) return step;
        // A refuted assumption: its one branch; otherwise every branch to the agreed fact.
        const bool refuted =
            !c.placement &&
            std::any_of(premises.options.begin(), premises.options.end(), [&](const Placement& a) {
                return a.cell == c.cell && a.digit == c.digit && OutcomeOf(a).contradiction >= 0;
            });
        auto proof = std::make_shared<Proof>();
        proof->kind = refuted ? Proof::Kind::Refuted : Proof::Kind::Common;
        for (const Placement& a : premises.options) {
            if (refuted && !(a.cell == c.cell && a.digit == c.digit)) continue;
            const Trace& trace = TraceOf(a);
            if (!step.chain.empty()) step.chain += "; ";
            int end = -1;
            if (refuted) {
                trace.PathTo(trace.contradiction, step.chain, m_names);
            } else if (trace.contradiction < 0) {
                end = trace.TimeOf(c.cell, c.digit, c.placement);
                trace.PathTo(end, step.chain, m_names);
            }
            if (proof) proof->branches.push_back(BranchProof(m_state, trace, end));
            if (proof && proof->branches.back().facts.empty()) proof.reset();
        }
        step.proof = std::move(proof);
        return step;
    }

    const Trace& TraceOf(Placement a) {
        std::int16_t& slot = m_traceSlot[Index(a.cell, a.digit)];
        if (slot < 0) {
            m_branch.Run(a.cell, a.digit);
            slot = static_cast<std::int16_t>(m_traces.size());
            m_traces.push_back({m_branch.Contradiction(), m_branch.Facts()});
        }
        return m_traces[slot];
    }

    const State& m_state;
    const Settings& m_settings;
    Propagation<true, kNet> m_branch;
    Propagation<false, kNet> m_probe;
    std::vector<Placement> m_options;
    std::vector<Premises> m_premises;
    std::array<std::int16_t, 729> m_slot{};
    std::array<std::int16_t, 729> m_traceSlot{};
    std::vector<std::string> m_names;  ///< by candidate, for Trace::PathTo
    std::deque<Trace> m_traces;        ///< a deque: a step holds one trace while making another
    std::vector<Outcome> m_outcomes;
    std::vector<const Outcome*> m_alive;    ///< one buffer for every set of assumptions
    std::vector<std::uint32_t> m_findings;  ///< every outcome's findings, one after another
    /// Every outcome's finding keys as a bit set of kKeyWords words, in outcome order.
    static constexpr int kKeyWords = (2 * 729 + 63) / 64;
    std::vector<std::uint64_t> m_keys;
    std::array<std::uint8_t, 2 * 729> m_count{};
    std::array<std::uint16_t, 2 * 729> m_cost{};
    std::array<std::int16_t, 729> m_probeSlot{};
    std::vector<bool> m_probeContradiction;  ///< by probe slot
    std::vector<Findings> m_probeFindings;   ///< by probe slot
};

}  // namespace

void FindForcingChain(const State& state, const Context& context, const StepSink& sink) {
    static const Settings settings{0, 2, 2, false, Technique::ForcingChain};
    Search<false>(state, settings).Run(sink, context.start, context.bore);
}

void FindForcingNet(const State& state, const Context& context, const StepSink& sink) {
    static const Settings settings{8, 9, 9, true, Technique::ForcingNet};
    Search<true>(state, settings).Run(sink, context.start, context.bore);
}

std::size_t FindForcingInside(const State& state, InnerForcing kind, bool text,
                              const StepSink& sink) {
    // A cell too large to branch on still has its candidates refuted one by one; with
    // one candidate and one place at most, nothing but refutations is left.
    static const std::array<Settings, 3> settings{{
        {0, 1, 1, true, Technique::ForcingChain, true},
        {0, 9, 9, true, Technique::ForcingChain, true},
        {8, 9, 9, true, Technique::ForcingNet, true},
    }};
    Settings s = settings[static_cast<int>(kind)];
    s.text = text;
    if (kind == InnerForcing::Dynamic) {
        Search<true> search(state, s);
        search.Run(sink, nullptr, nullptr);
        return search.Runs();
    }
    Search<false> search(state, s);
    search.Run(sink, nullptr, nullptr);
    return search.Runs();
}

}  // namespace kz::logic
