// SPDX-License-Identifier: MIT
// XY-wing, XYZ-wing and W-wing: small patterns of two-candidate cells.
#include <algorithm>
#include <bit>
#include <vector>

#include "logic/finders.h"
#include "logic/patterns.h"

namespace kz::logic {

namespace {

using namespace pattern;

CellSet CellsWithCount(const State& state, int size) {
    CellSet out;
    state.Open().ForEach([&](int c) {
        if (kNineBitCount[state.Candidates(c)] == size) out.Add(c);
    });
    return out;
}

// Collects the cells of a set into an array for pairwise loops.
int ToArray(CellSet cells, std::array<int, 81>& out) {
    int n = 0;
    cells.ForEach([&](int c) { out[n++] = c; });
    return n;
}

bool ReportWing(const State& state, Technique t, std::initializer_list<int> cells, Mask digits,
                int z, CellSet gone, const StepSink& sink) {
    if (gone.Empty()) return true;
    Step s = NewStep(t);
    for (int c : cells) s.cells.push_back(I8(c));
    AddDigits(s, digits);
    AddEliminations(s, gone & state.CellsOf(z), z);
    return sink(std::move(s));
}

}  // namespace

// A pivot {x,y} seeing pincers {x,z} and {y,z}: whatever the pivot is, one pincer is z.
void FindXYWing(const State& state, const Context&, const StepSink& sink) {
    const CellSet bivalue = CellsWithCount(state, 2);
    std::array<int, 81> wings{};
    bool go = true;
    bivalue.ForEach([&](int pivot) {
        if (!go) return;
        const Mask mp = state.Candidates(pivot);
        const int n = ToArray(bivalue & kUnits.peers[pivot], wings);
        for (int i = 0; i < n && go; ++i) {
            const Mask ma = state.Candidates(wings[i]);
            if (kNineBitCount[ma & mp] != 1) continue;
            for (int j = i + 1; j < n && go; ++j) {
                const Mask mb = state.Candidates(wings[j]);
                if (kNineBitCount[mb & mp] != 1 || (ma & mp) == (mb & mp)) continue;
                const Mask z = ma & static_cast<Mask>(~mp);
                if (z != (mb & static_cast<Mask>(~mp))) continue;
                const int zd = std::countr_zero(z) + 1;
                const CellSet gone = state.CellsOf(zd) & kUnits.peers[wings[i]] &
                                     kUnits.peers[wings[j]] & ~CellSet::Of(pivot);
                go = ReportWing(state, Technique::XYWing, {pivot, wings[i], wings[j]},
                                static_cast<Mask>(mp | z), zd, gone, sink);
            }
        }
    });
}

// A pivot {x,y,z} seeing pincers {x,z} and {y,z}: one of the three is z.
void FindXYZWing(const State& state, const Context&, const StepSink& sink) {
    const CellSet bivalue = CellsWithCount(state, 2);
    std::array<int, 81> wings{};
    bool go = true;
    CellsWithCount(state, 3).ForEach([&](int pivot) {
        if (!go) return;
        const Mask mp = state.Candidates(pivot);
        int n = 0;
        (bivalue & kUnits.peers[pivot]).ForEach([&](int c) {
            if ((state.Candidates(c) & ~mp) == 0) wings[n++] = c;
        });
        for (int i = 0; i < n && go; ++i) {
            for (int j = i + 1; j < n && go; ++j) {
                const Mask ma = state.Candidates(wings[i]);
                const Mask mb = state.Candidates(wings[j]);
                if ((ma | mb) != mp) continue;
                const int zd = std::countr_zero(static_cast<unsigned>(ma & mb)) + 1;
                const CellSet gone = state.CellsOf(zd) & kUnits.peers[pivot] &
                                     kUnits.peers[wings[i]] & kUnits.peers[wings[j]];
                go = ReportWing(state, Technique::XYZWing, {pivot, wings[i], wings[j]}, mp, zd,
                                gone, sink);
            }
        }
    });
}

// Two cells {x,y} that do not see each other, joined by a strong link on x whose ends see
// one each: both cannot be x, so one of them is y.
void FindWWing(const State& state, const Context&, const StepSink& sink) {
    std::array<int, 81> cells{};
    const int n = ToArray(CellsWithCount(state, 2), cells);
    for (int i = 0; i < n; ++i) {
        const int a = cells[i];
        const Mask m = state.Candidates(a);
        for (int j = i + 1; j < n; ++j) {
            const int b = cells[j];
            if (state.Candidates(b) != m || Sees(a, b)) continue;
            const CellSet common = kUnits.peers[a] & kUnits.peers[b];
            const int low = std::countr_zero(m) + 1;
            const int high = 16 - std::countl_zero(m);
            for (int x : {low, high}) {
                const int y = x == low ? high : low;
                const CellSet gone = state.CellsOf(y) & common;
                if (gone.Empty()) continue;
                for (int u = 0; u < kUnitCount; ++u) {
                    const unsigned places = state.PlacesIn(u, x);
                    if (kNineBitCount[places] != 2) continue;
                    const int e1 = kUnits.cells[u][std::countr_zero(places)];
                    const int e2 = kUnits.cells[u][std::countr_zero(places & (places - 1))];
                    if (e1 == a || e1 == b || e2 == a || e2 == b) continue;
                    int nearA = -1;
                    if (Sees(e1, a) && Sees(e2, b)) {
                        nearA = e1;
                    } else if (Sees(e2, a) && Sees(e1, b)) {
                        nearA = e2;
                    } else {
                        continue;
                    }
                    Step s = NewStep(Technique::WWing);
                    s.cells = {I8(a), I8(b), I8(nearA), I8(nearA == e1 ? e2 : e1)};
                    s.units = {I8(u)};
                    s.digits = {I8(x), I8(y)};
                    AddEliminations(s, gone, y);
                    if (!sink(std::move(s))) return;
                    break;  // another link on x proves nothing more
                }
            }
        }
    }
}

namespace {

// Peers of a cell as bits: at most twenty.
inline int Count20(unsigned bits) {
    return kNineBitCount[bits & 0x1ff] + kNineBitCount[(bits >> 9) & 0x1ff] + (bits >> 18 & 1) +
           (bits >> 19 & 1);
}

// The nine-digit masks by how many digits they hold: a wing of n cells has n digits, and
// those that are not the pivot's are drawn from such a list.
struct MasksByCount {
    std::array<Mask, 512> masks{};
    std::array<int, 11> begin{};  // masks[begin[k]..begin[k+1]) hold k digits
};

constexpr MasksByCount MakeMasksByCount() {
    MasksByCount t{};
    int n = 0;
    for (int k = 0; k <= 9; ++k) {
        t.begin[k] = n;
        for (int m = 0; m < 512; ++m) {
            if (kNineBitCount[m] == k) t.masks[n++] = static_cast<Mask>(m);
        }
    }
    t.begin[10] = n;
    return t;
}

inline constexpr MasksByCount kMasksByCount = MakeMasksByCount();

// Grows a wing's cells from its pivot, a peer at a time in index order, while their digits
// stay no more than the cells could hold and at most one digit sits in two of them that do
// not see each other: more cells never make such a digit confined again.
struct BentWingSearch {
    const State& state;
    int size;
    CellSet changed;  // a set none of whose cells lies here was there, as it is, last time
    std::array<int, 20> peers{};
    int peerCount = 0;
    unsigned changedPeers = 0;  // the peers in `changed`, as bits over `peers`
    std::array<int, 5> chosen{};

    struct Wing {
        std::array<int, 5> cells;
        Mask digits;
        int z;
        CellSet gone;
    };
    std::vector<Wing> wings{};  // the pivot's, as they are found

    void Grow(int depth, unsigned allowed, unsigned digits, unsigned loose) {
        for (int left = Count20(allowed); left >= size - depth; --left) {
            const int i = std::countr_zero(allowed);
            allowed &= allowed - 1;
            const int c = peers[i];
            const unsigned own = state.Candidates(c);
            const unsigned joined = digits | own;
            if (kNineBitCount[joined] > size) continue;
            unsigned nowLoose = loose;
            for (int k = 1; k < depth; ++k) {
                if (!Sees(chosen[k], c)) nowLoose |= own & state.Candidates(chosen[k]);
            }
            if (kNineBitCount[nowLoose] > 1) continue;
            chosen[depth] = c;
            if (depth + 1 < size) {
                Grow(depth + 1, allowed, joined, nowLoose);
            } else if (nowLoose && kNineBitCount[joined] == size) {
                Note(static_cast<Mask>(joined), std::countr_zero(nowLoose) + 1);
            }
        }
    }

    // As many cells as digits, and every digit but z sits in cells that all see each other,
    // so fills at most one of them: the cells cannot all be filled without z, and a cell
    // that sees all its places here cannot be z.
    void Note(Mask digits, int z) {
        CellSet gone = state.CellsOf(z);
        for (int k = 0; k < size; ++k) {
            if (state.Candidates(chosen[k]) & Bit(z)) gone = gone & kUnits.peers[chosen[k]];
        }
        if (gone.Empty()) return;
        wings.push_back({chosen, digits, z, gone});
        // A set grown from a changed peer starts with it: its cells are put back in order.
        std::sort(wings.back().cells.begin() + 1, wings.back().cells.begin() + size);
    }

    // The pivot's wings, in the order of their cells. When the pivot changed, any of its
    // sets may be new: they are grown digit set by digit set, since for a set of as many
    // digits as cells that holds the pivot's only the peers whose candidates lie inside it can
    // join, and those are few. Otherwise a new wing holds a changed peer: each is grown from
    // the first changed peer in it, with the digits of the two already taken.
    void FromPivot(int pivot, bool fresh) {
        const unsigned own = state.Candidates(pivot);
        const unsigned all = (1u << peerCount) - 1;
        chosen[0] = pivot;
        if (!fresh) {
            for (unsigned left = changedPeers; left; left &= left - 1) {
                const int i = std::countr_zero(left);
                chosen[1] = peers[i];
                const unsigned below = (1u << (i + 1)) - 1;
                Grow(2, all & ~(changedPeers & below), own | state.Candidates(peers[i]), 0);
            }
        } else {
            std::array<unsigned, 9> peersWith{};  // by digit, as bits over `peers`
            unsigned reach = 0;
            for (int i = 0; i < peerCount; ++i) {
                reach |= state.Candidates(peers[i]);
                ForEachDigit(state.Candidates(peers[i]),
                             [&](int d) { peersWith[d - 1] |= 1u << i; });
            }
            const int k = size - kNineBitCount[own];
            for (int m = kMasksByCount.begin[k]; m < kMasksByCount.begin[k + 1]; ++m) {
                const unsigned more = kMasksByCount.masks[m];
                if (more & ~(reach & ~own)) continue;
                unsigned allowed = all;
                for (unsigned out = ~(own | more) & kAllDigits; out; out &= out - 1)
                    allowed &= ~peersWith[std::countr_zero(out)];
                bool covered = true;
                for (unsigned in = more; in && covered; in &= in - 1)
                    covered = (peersWith[std::countr_zero(in)] & allowed) != 0;
                if (covered) Grow(1, allowed, own, 0);
            }
        }
        std::sort(wings.begin(), wings.end(), [&](const Wing& a, const Wing& b) {
            return std::lexicographical_compare(a.cells.begin(), a.cells.begin() + size,
                                                b.cells.begin(), b.cells.begin() + size);
        });
    }
};

// A pivot and peers of it, as many cells as they have digits between them. The pivot may
// hold fewer than all the digits. A set none of whose cells changed since the search last
// found nothing was a wing there and removed nothing: with fewer candidates around it now, it
// removes no more.
void FindBentWing(const State& state, const Context& context, const StepSink& sink,
                  Technique technique, int size) {
    CellSet where;
    for (int u = 0; u < kUnitCount; ++u) {
        if (context.Unit(u)) where = where | kUnits.set[u];
    }
    BentWingSearch search{state, size, where & context.cells};
    bool go = true;
    // A set with a changed cell has its pivot there or among its peers.
    CellSet pivots = search.changed;
    if (!(search.changed == ~CellSet{})) {
        search.changed.ForEach([&](int c) { pivots = pivots | kUnits.peers[c]; });
    }
    (pivots & state.Open()).ForEach([&](int pivot) {
        const unsigned own = state.Candidates(pivot);
        if (!go || kNineBitCount[own] > size) return;
        search.peerCount = 0;
        search.changedPeers = 0;
        (state.Open() & kUnits.peers[pivot]).ForEach([&](int c) {
            if (kNineBitCount[own | state.Candidates(c)] > size) return;
            if (search.changed.Has(c)) search.changedPeers |= 1u << search.peerCount;
            search.peers[search.peerCount++] = c;
        });
        const bool fresh = search.changed.Has(pivot);
        if ((!fresh && !search.changedPeers) || search.peerCount < size - 1) return;
        // Every peer sees the pivot.
        search.wings.clear();
        search.FromPivot(pivot, fresh);
        for (const BentWingSearch::Wing& wing : search.wings) {
            Step s = NewStep(technique);
            for (int k = 0; k < size; ++k) s.cells.push_back(I8(wing.cells[k]));
            AddDigits(s, wing.digits);
            AddEliminations(s, wing.gone, wing.z);
            if (!(go = sink(std::move(s)))) return;
        }
    });
}

}  // namespace

void FindWXYZWing(const State& state, const Context& context, const StepSink& sink) {
    FindBentWing(state, context, sink, Technique::WXYZWing, 4);
}

void FindVWXYZWing(const State& state, const Context& context, const StepSink& sink) {
    FindBentWing(state, context, sink, Technique::VWXYZWing, 5);
}

}  // namespace kz::logic
