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
    Mask digits = 0;
    int unit = 0;
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
                if ((subset >> i) & 1)
                    set.cells.Add(open[i]), set.digits |= state.Candidates(open[i]);
            }
            const int size = set.cells.Count(), first = set.cells.First();
            // A cell belongs to its row, a set inside a box-line intersection to its line.
            const bool inLine = (set.cells & ~kUnits.set[RowOf(first)]).Empty() ||
                                (set.cells & ~kUnits.set[9 + ColOf(first)]).Empty();
            if (BitCount(set.digits) == size + 1 && !(u >= 18 && inLine) && !(u >= 9 && size == 1))
                sets.push_back(set);
        }
    }
    return sets;
}

// What Z goes where for two sets apart whose X-cells all see each other; false otherwise or
// if nothing.
bool PlainRemovals(const State& state, const PlainSet& a, const PlainSet& b, int x,
                   std::array<CellSet, 9>& gone) {
    const CellSet ax = a.cells & state.CellsOf(x), bx = b.cells & state.CellsOf(x);
    bool restricted = (a.cells & b.cells).Empty();
    ax.ForEach([&](int c) { restricted &= (bx & ~kUnits.peers[c]).Empty(); });
    if (!restricted) return false;
    gone = {};
    for (int z = 1; z <= 9; ++z) {
        if (z == x || !((a.digits & b.digits) >> (z - 1) & 1)) continue;
        const CellSet zs = (a.cells | b.cells) & state.CellsOf(z);
        gone[z - 1] = state.CellsOf(z) & ~zs;
        zs.ForEach([&](int c) { gone[z - 1] &= kUnits.peers[c]; });
    }
    return std::any_of(gone.begin(), gone.end(), [](CellSet s) { return !s.Empty(); });
}

// The steps in the finder's order: by the cells of both sets, then by the first set, X, the
// second set's first X-cell and the second set; only those that remove something new.
std::vector<Step> PlainAlsXz(const State& state) {
    const std::vector<PlainSet> sets = PlainSets(state);
    struct Found {
        int cells, a, x, cell, b;
        std::array<CellSet, 9> gone;
    };
    std::vector<Found> found;
    for (int a = 0; a < int(sets.size()); ++a) {
        for (int b = a + 1; b < int(sets.size()); ++b) {
            if (!(sets[a].cells & sets[b].cells).Empty()) continue;
            for (int x = 1; x <= 9; ++x) {
                if (!((sets[a].digits & sets[b].digits) >> (x - 1) & 1)) continue;
                std::array<CellSet, 9> gone;
                if (!PlainRemovals(state, sets[a], sets[b], x, gone)) continue;
                found.push_back({sets[a].cells.Count() + sets[b].cells.Count(), a, x,
                                 (sets[b].cells & state.CellsOf(x)).First(), b, gone});
            }
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& p, const Found& q) {
        return std::tie(p.cells, p.a, p.x, p.cell, p.b) < std::tie(q.cells, q.a, q.x, q.cell, q.b);
    });
    std::vector<Step> steps;
    std::array<CellSet, 9> removed{};
    for (const Found& f : found) {
        bool more = false;
        Mask zs = 0;
        for (int z = 0; z < 9; ++z) {
            more |= !(f.gone[z] & ~removed[z]).Empty();
            removed[z] |= f.gone[z];
            zs |= static_cast<Mask>(!f.gone[z].Empty() << z);
        }
        if (!more) continue;
        const PlainSet &a = sets[f.a], &b = sets[f.b];
        Step& step = steps.emplace_back();
        for (int z = 1; z <= 9; ++z) AddEliminations(step, f.gone[z - 1], z);
        AddPatternCells(step, a.cells);
        AddPatternCells(step, b.cells);
        step.units = {static_cast<std::int8_t>(a.unit), static_cast<std::int8_t>(b.unit)};
        step.digits = DigitList(static_cast<Mask>(zs | DigitBit(f.x)));
        const std::string xt = DigitsText(DigitBit(f.x)), zt = DigitsText(zs);
        step.chain = "(" + zt + "=" + xt + ")" + CellsName(a.cells) + "-(" + xt + "=" + zt + ")" +
                     CellsName(b.cells);
    }
    return steps;
}

std::vector<Step> Fast(const State& state, bool whole) {
    std::vector<Step> steps;
    FindAlsXz(state, {}, [&](Step&& step) {
        steps.push_back(std::move(step));
        return whole;
    });
    return steps;
}

// Returns the number of steps compared.
int Compare(const State& state) {
    const std::vector<Step> plain = PlainAlsXz(state);
    for (bool whole : {true, false}) {
        const std::vector<Step> fast = Fast(state, whole);
        EXPECT_EQ(fast.size(), whole ? plain.size() : std::min<std::size_t>(plain.size(), 1));
        for (std::size_t i = 0; i < std::min(fast.size(), plain.size()); ++i) {
            EXPECT_EQ(fast[i].chain, plain[i].chain) << i;
            EXPECT_EQ(fast[i].cells, plain[i].cells) << plain[i].chain;
            EXPECT_EQ(fast[i].units, plain[i].units) << plain[i].chain;
            EXPECT_EQ(fast[i].digits, plain[i].digits) << plain[i].chain;
            EXPECT_EQ(fast[i].eliminations, plain[i].eliminations) << plain[i].chain;
            EXPECT_TRUE(fast[i].placements.empty() && fast[i].technique == Technique::AlsXz);
        }
    }
    return static_cast<int>(plain.size());
}

TEST(AlsXz, SameStepsAsAPlainSearch) {
    std::mt19937 random(20261208);
    int steps = 0;
    for (const char* set :
         {"forum_hardest_1106.txt", "magictour_top1465.txt", "royle_17clue_sample200.txt"}) {
        for (const Digits& board : test::ReadSet(set, 8)) {
            // Along the path, where the rating meets the finder.
            Path path;
            Rate(board, &path);
            State state = *State::FromDigits(board);
            for (std::size_t i = 0; i < path.steps.size(); ++i) {
                if (i % 4 == 0) steps += Compare(state);
                ASSERT_FALSE(::testing::Test::HasFailure()) << set << " step " << i;
                state.Apply(path.steps[i]);
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
                ASSERT_FALSE(::testing::Test::HasFailure()) << set << " trial " << trial;
            }
        }
    }
    EXPECT_GT(steps, 1000) << "too few steps for the comparison to prove much";
}

// A unit's sets are kept from one search to the next while its candidates stay the same:
// searches that alternate between a state and the state less one candidate, each candidate in
// turn, must each see the units as they are now.
TEST(AlsXz, UnitsKeptOnlyWhileUnchanged) {
    int steps = 0;
    for (const Digits& board : test::ReadSet("forum_hardest_1106.txt", 2)) {
        Path path;
        Rate(board, &path);
        State state = *State::FromDigits(board);
        for (std::size_t i = 0; i < path.steps.size() / 3; ++i) state.Apply(path.steps[i]);
        for (int c = 0; c < 81; c += 4) {
            for (int d = 1; d <= 9; ++d) {
                if (!state.Has(c, d) || BitCount(state.Candidates(c)) < 2) continue;
                State less = state;
                less.Eliminate(c, d);
                steps += Compare(less) + Compare(state);
                ASSERT_FALSE(::testing::Test::HasFailure()) << "cell " << c << " digit " << d;
            }
        }
    }
    EXPECT_GT(steps, 50) << "too few steps for the comparison to prove much";
}

// The finder keeps its buffers from call to call; a search started from inside another's
// sink must neither see nor spoil them.
TEST(AlsXz, SearchFromInsideASearch) {
    const std::vector<Digits> boards = test::ReadSet("magictour_top1465.txt", 2);
    std::array<State, 2> states = {*State::FromDigits(boards[0]), *State::FromDigits(boards[1])};
    for (State& state : states) {
        for (int c = 0; c < 81; c += 2) state.Eliminate(c, c % 9 + 1);
    }
    std::vector<Step> outer, inner;
    FindAlsXz(states[0], {}, [&](Step&& step) {
        outer.push_back(std::move(step));
        if (outer.size() == 2) inner = Fast(states[1], true);
        return true;
    });
    for (const auto& [found, state] :
         {std::pair(&outer, &states[0]), std::pair(&inner, &states[1])}) {
        const std::vector<Step> plain = PlainAlsXz(*state);
        ASSERT_GT(plain.size(), 2u);
        ASSERT_EQ(found->size(), plain.size());
        for (std::size_t i = 0; i < plain.size(); ++i) EXPECT_EQ((*found)[i].chain, plain[i].chain);
    }
}

}  // namespace
}  // namespace kz::logic
