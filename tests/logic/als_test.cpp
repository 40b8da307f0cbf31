// SPDX-License-Identifier: MIT
// ALS-XZ against a plain search: every almost locked set of every unit, every pair of them
// tried digit by digit, seen-by-all cells from the peer tables. The finder must report the
// same steps in the same order, whole search or first step only, on states along the paths
// of public puzzles and on states with candidates removed at random.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "logic/finders.h"
#include "logic/notation.h"
#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

struct PlainSet {
    CellSet cells;
    Mask digits;
    int unit;
};

std::vector<PlainSet> PlainSets(const State& state) {
    std::vector<PlainSet> sets;
    for (int u = 0; u < kUnitCount; ++u) {
        std::vector<int> open;
        for (int c : kUnits.cells[u]) {
            if (state.Candidates(c)) open.push_back(c);
        }
        for (unsigned subset = 1; subset < (1u << open.size()); ++subset) {
            PlainSet set{{}, 0, u};
            for (std::size_t i = 0; i < open.size(); ++i) {
                if (!((subset >> i) & 1)) continue;
                set.cells.Add(open[i]);
                set.digits |= state.Candidates(open[i]);
            }
            const int size = set.cells.Count();
            if (BitCount(set.digits) != size + 1) continue;
            // A cell belongs to its row, a set inside a box-line intersection to its line.
            const int first = set.cells.First();
            const bool inLine = (set.cells & ~kUnits.set[RowOf(first)]).Empty() ||
                                (set.cells & ~kUnits.set[9 + ColOf(first)]).Empty();
            if ((u >= 18 && inLine) || (u >= 9 && size == 1)) continue;
            sets.push_back(set);
        }
    }
    return sets;
}

// Whether two sets that both hold x are apart and all their X-cells see each other.
bool Restricted(const State& state, const PlainSet& a, const PlainSet& b, int x) {
    if (!(a.cells & b.cells).Empty()) return false;
    const CellSet ax = a.cells & state.CellsOf(x), bx = b.cells & state.CellsOf(x);
    bool restricted = true;
    ax.ForEach([&](int c) { restricted &= (bx & ~kUnits.peers[c]).Empty(); });
    return restricted;
}

// What Z goes where for a pair with restricted common digit x.
std::array<CellSet, 9> PlainRemovals(const State& state, const PlainSet& a, const PlainSet& b,
                                     int x) {
    std::array<CellSet, 9> gone{};
    for (int z = 1; z <= 9; ++z) {
        if (z == x || !((a.digits & b.digits) >> (z - 1) & 1)) continue;
        const CellSet zs = (a.cells | b.cells) & state.CellsOf(z);
        CellSet targets = state.CellsOf(z) & ~zs;
        zs.ForEach([&](int c) { targets &= kUnits.peers[c]; });
        gone[z - 1] = targets;
    }
    return gone;
}

std::vector<Step> PlainAlsXz(const State& state) {
    const std::vector<PlainSet> sets = PlainSets(state);
    struct Found {
        int cells, a, x, b;
        std::array<CellSet, 9> gone;
    };
    std::array<std::vector<int>, 10> holding;  // digit → the sets that hold it
    for (std::size_t i = 0; i < sets.size(); ++i) {
        for (int x = 1; x <= 9; ++x) {
            if (sets[i].digits >> (x - 1) & 1) holding[x].push_back(int(i));
        }
    }
    std::vector<Found> found;
    for (int a = 0; a < int(sets.size()); ++a) {
        for (int x = 1; x <= 9; ++x) {
            std::vector<std::pair<int, int>> partners;  // (first X-cell of b, b)
            if (!(sets[a].digits >> (x - 1) & 1)) continue;
            for (auto b = std::upper_bound(holding[x].begin(), holding[x].end(), a);
                 b != holding[x].end(); ++b) {
                if (!Restricted(state, sets[a], sets[*b], x)) continue;
                const std::array<CellSet, 9> gone = PlainRemovals(state, sets[a], sets[*b], x);
                if (std::all_of(gone.begin(), gone.end(), [](CellSet s) { return s.Empty(); }))
                    continue;
                partners.emplace_back((sets[*b].cells & state.CellsOf(x)).First(), *b);
            }
            std::sort(partners.begin(), partners.end());
            for (const auto& [cell, b] : partners) {
                found.push_back({sets[a].cells.Count() + sets[b].cells.Count(), a, x, b,
                                 PlainRemovals(state, sets[a], sets[b], x)});
            }
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& p, const Found& q) { return p.cells < q.cells; });
    std::vector<Step> steps;
    std::array<CellSet, 9> removed{};
    for (const Found& f : found) {
        bool more = false;
        Mask zs = 0;
        for (int z = 0; z < 9; ++z) {
            more |= !(f.gone[z] & ~removed[z]).Empty();
            removed[z] |= f.gone[z];
            if (!f.gone[z].Empty()) zs |= static_cast<Mask>(1u << z);
        }
        if (!more) continue;
        const PlainSet &a = sets[f.a], &b = sets[f.b];
        Step step;
        step.technique = Technique::AlsXz;
        for (int z = 1; z <= 9; ++z) AddEliminations(step, f.gone[z - 1], z);
        AddPatternCells(step, a.cells);
        AddPatternCells(step, b.cells);
        step.units = {static_cast<std::int8_t>(a.unit), static_cast<std::int8_t>(b.unit)};
        step.digits = DigitList(static_cast<Mask>(zs | DigitBit(f.x)));
        const std::string xt = DigitsText(DigitBit(f.x)), zt = DigitsText(zs);
        step.chain = "(" + zt + "=" + xt + ")" + CellsName(a.cells) + "-(" + xt + "=" + zt + ")" +
                     CellsName(b.cells);
        steps.push_back(std::move(step));
    }
    return steps;
}

// Returns the number of steps compared; stops the test at the first difference.
int Compare(const State& state) {
    int compared = 0;
    const std::vector<Step> all = PlainAlsXz(state);
    for (bool whole : {true, false}) {
        std::vector<Step> fast;
        FindAlsXz(state, {}, [&](Step&& step) {
            fast.push_back(std::move(step));
            return whole;
        });
        const std::vector<Step> plain(
            all.begin(), all.begin() + (whole ? all.size() : std::min<std::size_t>(all.size(), 1)));
        EXPECT_EQ(fast.size(), plain.size()) << (whole ? "whole search" : "first step");
        for (std::size_t i = 0; i < std::min(fast.size(), plain.size()); ++i) {
            EXPECT_EQ(fast[i].chain, plain[i].chain) << i;
            EXPECT_EQ(fast[i].cells, plain[i].cells) << plain[i].chain;
            EXPECT_EQ(fast[i].units, plain[i].units) << plain[i].chain;
            EXPECT_EQ(fast[i].digits, plain[i].digits) << plain[i].chain;
            EXPECT_EQ(fast[i].eliminations, plain[i].eliminations) << plain[i].chain;
            EXPECT_TRUE(fast[i].placements.empty()) << plain[i].chain;
        }
        compared += static_cast<int>(plain.size());
    }
    return compared;
}

TEST(AlsXz, SameStepsAsAPlainSearch) {
    std::mt19937 random(20261208);
    int steps = 0, states = 0;
    for (const char* set :
         {"forum_hardest_1106.txt", "magictour_top1465.txt", "royle_17clue_sample200.txt"}) {
        for (const Digits& board : test::ReadSet(set, 8)) {
            // Along the path, where the rating meets the finder.
            Path path;
            Rate(board, &path);
            std::optional<State> state = State::FromDigits(board);
            for (std::size_t i = 0; i < path.steps.size(); i += 4) {
                steps += Compare(*state);
                ++states;
                ASSERT_FALSE(::testing::Test::HasFailure()) << set << " step " << i;
                for (std::size_t k = i; k < std::min(i + 4, path.steps.size()); ++k)
                    state->Apply(path.steps[k]);
            }
            // Candidates taken away at random, from a few to most, now and then all of a
            // cell's: many more sets and pairs than a solving path shows.
            for (int trial = 0; trial < 4; ++trial) {
                State thinned = *State::FromDigits(board);
                std::bernoulli_distribution drop(0.15 + 0.12 * trial);
                for (int c = 0; c < 81; ++c) {
                    for (int d = 1; d <= 9; ++d) {
                        if (thinned.Has(c, d) && drop(random)) thinned.Eliminate(c, d);
                    }
                }
                steps += Compare(thinned);
                ++states;
                ASSERT_FALSE(::testing::Test::HasFailure()) << set << " trial " << trial;
            }
        }
    }
    // Too few steps and the comparison proves little.
    EXPECT_GT(steps, 300) << states << " states";
}

// The finder keeps its buffers from call to call; a search started from inside another's
// sink must neither see nor spoil them.
TEST(AlsXz, SearchFromInsideASearch) {
    const std::vector<Digits> boards = test::ReadSet("magictour_top1465.txt", 2);
    std::array<State, 2> states = {*State::FromDigits(boards[0]), *State::FromDigits(boards[1])};
    for (State& state : states) {
        for (int c = 0; c < 81; c += 2) state.Eliminate(c, c % 9 + 1);
    }
    const std::vector<Step> plain = PlainAlsXz(states[0]), other = PlainAlsXz(states[1]);
    ASSERT_GT(plain.size(), 2u);
    std::vector<std::string> outer, inner;
    FindAlsXz(states[0], {}, [&](Step&& step) {
        outer.push_back(step.chain);
        if (outer.size() == 2) {
            FindAlsXz(states[1], {}, [&](Step&& nested) {
                inner.push_back(nested.chain);
                return true;
            });
        }
        return true;
    });
    ASSERT_EQ(outer.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(outer[i], plain[i].chain) << i;
    ASSERT_EQ(inner.size(), other.size());
    for (std::size_t i = 0; i < other.size(); ++i) EXPECT_EQ(inner[i], other[i].chain) << i;
}

}  // namespace
}  // namespace kz::logic
