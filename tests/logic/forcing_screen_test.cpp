// SPDX-License-Identifier: MIT
// The forcing finders record only the branches their probes say bear a step. Where they may
// pass a branch over, a plain reference written here follows every assumption to its end
// (singles, and for the net locked candidates and naked pairs, to a fixed point) and concludes
// from every set of assumptions: what both conclude must leave the board alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <utility>

#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

struct Branch {
    std::array<Mask, 81> cand;  ///< a placed cell keeps its digit alone
    CellSet placed;
};

Mask Bit(int d) {
    return static_cast<Mask>(1u << (d - 1));
}

// Follows "c holds d" on `b`; false on a contradiction.
bool Follow(Branch& b, int c, int d, bool net) {
    const auto with = [&](CellSet cells, int e) {  // the cells that may hold e
        CellSet p;
        cells.ForEach([&](int x) {
            if (b.cand[x] & Bit(e)) p.Add(x);
        });
        return p;
    };
    const auto remove = [&](CellSet from, int e) {
        const CellSet gone = with(from & ~b.placed, e);
        gone.ForEach([&](int x) { b.cand[x] &= static_cast<Mask>(~Bit(e)); });
        return !gone.Empty();
    };
    const auto place = [&](int x, int e) {
        if (!(b.cand[x] & Bit(e))) return false;
        if (!b.placed.Has(x)) {
            b.placed.Add(x);
            b.cand[x] = Bit(e);
            remove(kUnits.peers[x], e);
        }
        return (with(kUnits.peers[x], e) & b.placed).Empty();
    };
    if (!place(c, d)) return false;
    for (bool changed = true; changed;) {
        changed = false;
        for (int x = 0; x < 81; ++x) {
            if (b.placed.Has(x)) continue;
            if (!b.cand[x] ||
                (std::has_single_bit(b.cand[x]) && !place(x, std::countr_zero(b.cand[x]) + 1)))
                return false;
            changed |= b.placed.Has(x);
        }
        for (int u = 0; u < kUnitCount; ++u) {
            for (int e = 1; e <= 9; ++e) {
                const CellSet p = with(kUnits.set[u], e);
                if (!(p & b.placed).Empty()) continue;
                if (p.Empty() || (p.Single() && !place(p.First(), e))) return false;
                changed |= p.Single();
                for (int v = 0; net && !p.Single() && v < kUnitCount; ++v) {  // locked
                    if ((u < 18) != (v < 18) && (p & ~kUnits.set[v]).Empty())
                        changed |= remove(kUnits.set[v] & ~kUnits.set[u], e);
                }
            }
            for (int x : kUnits.cells[u]) {  // naked pairs
                for (int y : kUnits.cells[u]) {
                    if (!net || x >= y || (b.placed & (CellSet::Of(x) | CellSet::Of(y))).Count() ||
                        b.cand[x] != b.cand[y] || std::popcount(b.cand[x]) != 2)
                        continue;
                    for (int e = 1; e <= 9; ++e) {
                        if (b.cand[x] & Bit(e))
                            changed |= remove(kUnits.set[u] & ~CellSet::Of(x) & ~CellSet::Of(y), e);
                    }
                }
            }
        }
    }
    return true;
}

// Every conclusion of every set of assumptions, carried out on `s`.
State Reference(const State& s, bool net) {
    std::vector<std::vector<Placement>> sets;
    const auto add = [&](CellSet cells, Mask digits) {
        const int n = cells.Count() * std::popcount(digits);
        if (n < 2 || (!net && n > 2)) return;
        sets.emplace_back();
        cells.ForEach([&](int c) {
            for (int d = 1; d <= 9; ++d) {
                if (s.Has(c, d) && (digits & Bit(d)))
                    sets.back().push_back(
                        {static_cast<std::int8_t>(c), static_cast<std::int8_t>(d)});
            }
        });
    };
    s.Open().ForEach([&](int c) { add(CellSet::Of(c), s.Candidates(c)); });
    for (int u = 0; u < kUnitCount; ++u) {
        for (int d = 1; d <= 9; ++d) add(s.CellsOf(d) & kUnits.set[u], Bit(d));
    }
    Branch start{{}, ~s.Open()};
    for (int c = 0; c < 81; ++c)
        start.cand[c] = s.Values()[c] ? Bit(s.Values()[c]) : s.Candidates(c);
    State after = s;
    for (const auto& options : sets) {
        std::vector<Branch> alive;
        for (const Placement& a : options) {
            Branch b = start;
            if (Follow(b, a.cell, a.digit, net)) {
                alive.push_back(b);
            } else {
                after.Eliminate(a.cell, a.digit);
            }
        }
        for (int c = 0; c < 81 && alive.size() == options.size(); ++c) {
            for (int d = 1; d <= 9; ++d) {
                if (!s.Has(c, d)) continue;
                const auto all = [&](auto f) { return std::ranges::all_of(alive, f); };
                if (all([&](const Branch& b) { return b.placed.Has(c) && b.cand[c] == Bit(d); }))
                    after.Place(c, d);
                if (all([&](const Branch& b) { return !(b.cand[c] & Bit(d)); }))
                    after.Eliminate(c, d);
            }
        }
    }
    return after;
}

TEST(ForcingScreen, FindersConcludeWhatEveryBranchFollowedToItsEndConcludes) {
    int compared = 0;
    // The third set's boards reach the net with many digits placed in their units, where a
    // probe's places of a digit in a unit stand for "placed".
    for (const auto& [set, boards] :
         {std::pair{"forum_hardest_1106.txt", 40}, std::pair{"magictour_top1465.txt", 40},
          std::pair{"forum_hardest_1905_sample500.txt", 20}}) {
        for (const Digits& board : test::ReadSet(set, boards)) {
            // Past the first net the hardest boards go on to nested chains; with a budget that
            // runs out at once they guess instead, and meet the chains and nets again and
            // again after.
            Path path;
            Rate(board, &path, 1);
            State state = *State::FromDigits(board);
            for (std::size_t i = 0; i < path.steps.size(); state.Apply(path.steps[i++])) {
                const Technique t = path.steps[i].technique;
                // At the first step of a batch no simpler technique applies: what the branches
                // take from the board they start on, they take in every branch alike.
                if ((t != Technique::ForcingChain && t != Technique::ForcingNet) ||
                    (i > 0 && path.steps[i - 1].technique == t))
                    continue;
                const bool net = t == Technique::ForcingNet;
                State got = state;
                std::vector<Step> steps;
                FinderOf(t)(state, {}, [&](Step&& step) {
                    got.Apply(step);
                    steps.push_back(std::move(step));
                    return true;
                });
                FinderOf(t)(state, {}, [&](Step&& step) {
                    EXPECT_EQ(step.chain, steps.at(0).chain);
                    return false;
                });
                const State want = Reference(state, net);
                EXPECT_EQ(got.Values(), want.Values()) << set << " step " << i;
                for (int c = 0; c < 81; ++c)
                    ASSERT_EQ(got.Candidates(c), want.Candidates(c))
                        << set << " step " << i << " cell " << c;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 150);
}

}  // namespace
}  // namespace kz::logic
