// SPDX-License-Identifier: MIT
// The forcing finders record only the branches their probes say bear a step. Where they may
// pass a branch over, a plain reference written here follows every assumption to its end
// (singles, and for the net locked candidates and naked pairs, to a fixed point) and concludes
// from every set of assumptions: what both conclude must leave the board alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

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
    const auto open = [&](int u, int e) {  // the places of e in u, or none when e is placed
        CellSet p;
        for (int x : kUnits.cells[u]) {
            if (b.cand[x] & Bit(e)) p.Add(x);
        }
        return (p & b.placed).Empty() ? p : CellSet{};
    };
    const auto remove = [&](CellSet from, int e) {
        bool any = false;
        (from & ~b.placed).ForEach([&](int x) {
            any |= (b.cand[x] & Bit(e)) != 0;
            b.cand[x] &= static_cast<Mask>(~Bit(e));
        });
        return any;
    };
    const auto place = [&](int x, int e) {
        if (!(b.cand[x] & Bit(e))) return false;
        if (b.placed.Has(x)) return true;
        b.placed.Add(x);
        b.cand[x] = Bit(e);
        remove(kUnits.peers[x], e);
        bool clash = false;
        (kUnits.peers[x] & b.placed).ForEach([&](int y) { clash |= b.cand[y] == Bit(e); });
        return !clash;
    };
    if (!place(c, d)) return false;
    for (bool changed = true; changed;) {
        changed = false;
        for (int x = 0; x < 81; ++x) {
            if (b.placed.Has(x)) continue;
            if (!b.cand[x]) return false;
            if (std::has_single_bit(b.cand[x])) {
                if (!place(x, std::countr_zero(b.cand[x]) + 1)) return false;
                changed = true;
            }
        }
        for (int u = 0; u < kUnitCount; ++u) {
            for (int e = 1; e <= 9; ++e) {
                const CellSet p = open(u, e);
                bool placedHere = false;
                (kUnits.set[u] & b.placed).ForEach([&](int y) {
                    placedHere |= b.cand[y] == Bit(e);
                });
                if (placedHere) continue;
                if (p.Empty()) return false;
                if (p.Single()) {
                    if (!place(p.First(), e)) return false;
                    changed = true;
                    continue;
                }
                for (int v = 0; net && v < kUnitCount; ++v) {  // locked candidates
                    if ((u < 18) != (v < 18) && (p & ~kUnits.set[v]).Empty())
                        changed |= remove(kUnits.set[v] & ~kUnits.set[u], e);
                }
            }
            for (int x : kUnits.cells[u]) {  // naked pairs
                for (int y : kUnits.cells[u]) {
                    if (!net || x >= y || b.placed.Has(x) || b.placed.Has(y) ||
                        b.cand[x] != b.cand[y] || std::popcount(b.cand[x]) != 2)
                        continue;
                    const CellSet rest = kUnits.set[u] & ~CellSet::Of(x) & ~CellSet::Of(y);
                    for (int e = 1; e <= 9; ++e) {
                        if (b.cand[x] & Bit(e)) changed |= remove(rest, e);
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
    s.Open().ForEach([&](int c) {
        if (BitCount(s.Candidates(c)) < 2 || (!net && BitCount(s.Candidates(c)) > 2)) return;
        sets.emplace_back();
        for (int d = 1; d <= 9; ++d)
            if (s.Has(c, d))
                sets.back().push_back({static_cast<std::int8_t>(c), static_cast<std::int8_t>(d)});
    });
    for (int u = 0; u < kUnitCount; ++u) {
        for (int d = 1; d <= 9; ++d) {
            const CellSet p = s.CellsOf(d) & kUnits.set[u];
            if (p.Count() < 2 || (!net && p.Count() > 2)) continue;
            sets.emplace_back();
            p.ForEach([&](int c) {
                sets.back().push_back({static_cast<std::int8_t>(c), static_cast<std::int8_t>(d)});
            });
        }
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
        if (alive.size() < options.size()) continue;
        s.Open().ForEach([&](int c) {
            for (int d = 1; d <= 9; ++d) {
                if (!s.Has(c, d)) continue;
                const bool placed = std::ranges::all_of(
                    alive, [&](const Branch& b) { return b.placed.Has(c) && b.cand[c] == Bit(d); });
                const bool gone = std::ranges::all_of(
                    alive, [&](const Branch& b) { return !(b.cand[c] & Bit(d)); });
                if (placed) after.Place(c, d);
                if (gone) after.Eliminate(c, d);
            }
        });
    }
    return after;
}

TEST(ForcingScreen, FindersConcludeWhatEveryBranchFollowedToItsEndConcludes) {
    int compared = 0;
    for (const char* set : {"forum_hardest_1106.txt", "magictour_top1465.txt"}) {
        for (const Digits& board : test::ReadSet(set, 40)) {
            Path path;
            Rate(board, &path);
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
    EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace kz::logic
