// SPDX-License-Identifier: MIT
// Soundness of every finder wherever it fires: at each state along the paths of hard public
// puzzles, every step each finder reports is checked against the known solution.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

// Checks one reported step on the state it was found in; returns false after a failure.
bool CheckStep(const State& state, const Step& step, const Digits& solution) {
    const std::string name(Info(step.technique).english);
    for (const Placement& p : step.placements) {
        EXPECT_EQ(solution[p.cell], p.digit) << name;
        EXPECT_TRUE(state.Has(p.cell, p.digit)) << name;
    }
    for (const Elimination& e : step.eliminations) {
        EXPECT_NE(solution[e.cell], e.digit) << name << " removes a digit of the solution";
        EXPECT_TRUE(state.Has(e.cell, e.digit)) << name << " removes what is not there";
    }
    std::vector<Elimination> sorted = step.eliminations;
    std::sort(sorted.begin(), sorted.end(), [](const Elimination& a, const Elimination& b) {
        return std::pair(a.cell, a.digit) < std::pair(b.cell, b.digit);
    });
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << name;
    EXPECT_FALSE(step.placements.empty() && step.eliminations.empty()) << name;
    EXPECT_FALSE(step.cells.empty()) << name;
    return !::testing::Test::HasFailure();
}

// The unit-by-unit views the state keeps up to date (a digit's places, the digits with one
// place, the open cells) must match its cell sets after every placement and removal.
bool PlacesAgree(const State& state) {
    for (int u = 0; u < kUnitCount; ++u) {
        Mask lone = 0;
        for (int d = 1; d <= 9; ++d) {
            Mask expected = 0;
            for (int i = 0; i < 9; ++i)
                expected |= state.CellsOf(d).Has(kUnits.cells[u][i]) ? Mask(1u << i) : 0;
            EXPECT_EQ(state.PlacesIn(u, d), expected) << "unit " << u << " digit " << d;
            lone |= kNineBitCount[expected] == 1 ? Mask(1u << (d - 1)) : 0;
        }
        EXPECT_EQ(state.LoneIn(u), lone) << "unit " << u;
        EXPECT_EQ(state.OpenIn(u), (state.Open() & kUnits.set[u]).Count()) << "unit " << u;
    }
    return !::testing::Test::HasFailure();
}

TEST(Sweep, EveryStepOfEveryFinderIsSoundOnHardPuzzles) {
    std::map<Technique, int> fired;
    for (const char* set :
         {"magictour_top1465.txt", "forum_hardest_1106.txt", "royle_17clue_sample200.txt"}) {
        for (const Digits& board : test::ReadSet(set, 200)) {
            const std::optional<Digits> solution = UniqueSolution(board);
            ASSERT_TRUE(solution);
            const Context context{&*solution};
            // The nested chains are left out by a budget that runs out at once: their searches
            // would cost this sweep minutes, and a guess leads through as many hard states.
            Path path;
            Rate(board, &path, 1);
            std::optional<State> state = State::FromDigits(board);
            for (std::size_t i = 0; i <= path.steps.size(); ++i) {
                ASSERT_TRUE(PlacesAgree(*state)) << set;
                for (int t = 0; t < kTechniqueCount; ++t) {
                    if (Info(static_cast<Technique>(t)).level > 4) continue;
                    FinderOf(static_cast<Technique>(t))(*state, context, [&](Step&& step) {
                        ++fired[step.technique];
                        return CheckStep(*state, step, *solution);
                    });
                    ASSERT_FALSE(::testing::Test::HasFailure()) << set;
                }
                if (i < path.steps.size()) state->Apply(path.steps[i]);
            }
        }
    }
    // The sweep must reach every technique up to the uniqueness ones, or it proves little.
    for (int t = 0; t < kTechniqueCount; ++t) {
        const Technique technique = static_cast<Technique>(t);
        if (Info(technique).level <= 4) {
            EXPECT_GT(fired[technique], 0) << Info(technique).english;
        }
    }
}

// On the states where the rated paths of the hardest public puzzles need a nested chain, every
// depth's search is run: each step it reports holds against the solution and changes the
// state, and a depth concludes wherever a shallower one does, as each takes in those before it.
TEST(Sweep, NestedChainsAreSoundAndEachDepthTakesInTheOnesBefore) {
    constexpr Technique kDepths[] = {Technique::ForcingChainPlus, Technique::NestedForcingChain,
                                     Technique::NestedMultipleChain, Technique::NestedDynamicChain};
    std::map<Technique, int> fired;
    int states = 0;
    // Two boards of each list, and the first whose hardest step is the shallowest depth.
    const std::pair<const char*, std::size_t> sample[] = {{"forum_hardest_1106.txt", 0},
                                                          {"forum_hardest_1106.txt", 1},
                                                          {"forum_hardest_1106.txt", 36},
                                                          {"forum_hardest_1905_sample500.txt", 0},
                                                          {"forum_hardest_1905_sample500.txt", 1}};
    for (const auto& [set, index] : sample) {
        const Digits board = test::ReadSet(set, index + 1)[index];
        const std::optional<Digits> solution = UniqueSolution(board);
        ASSERT_TRUE(solution);
        const Context context{&*solution};
        Path path;
        const Rating rating = Rate(board, &path);
        EXPECT_EQ(rating.counts[static_cast<int>(Technique::Guess)], 0) << set;
        std::optional<State> state = State::FromDigits(board);
        Technique last = Technique::FullHouse;
        int looked = 0;
        for (const Step& next : path.steps) {
            // The first state of the first run of nested steps: the batch that follows
            // shares it, and the deeper searches cost most of a second a state.
            const bool nested = next.technique >= kDepths[0] && next.technique < Technique::Guess;
            if (nested && next.technique != last && looked++ < 1) {
                ++states;
                bool shallower = false;
                for (Technique t : kDepths) {
                    int found = 0;
                    State after = *state;
                    FinderOf(t)(*state, context, [&](Step&& step) {
                        ++found;
                        EXPECT_EQ(step.technique, t);
                        EXPECT_TRUE(after.Apply(step)) << "a step that changes nothing";
                        EXPECT_GE(StepDifficulty(step), Info(t).ser);
                        return CheckStep(*state, step, *solution);
                    });
                    ASSERT_FALSE(::testing::Test::HasFailure()) << set;
                    EXPECT_TRUE(found > 0 || !shallower) << Info(t).english;
                    shallower |= found > 0;
                    fired[t] += found;
                }
            }
            last = next.technique;
            state->Apply(next);
        }
    }
    EXPECT_EQ(states, 5);
    for (Technique t : kDepths) EXPECT_GT(fired[t], 0) << Info(t).english;
}

// A finder told to look only at the digits, cells and units that changed since it last found
// nothing must report, there, all it reports on the whole board.
TEST(Sweep, FindersLookingWhereChangedMissNothingElsewhere) {
    using Found = std::vector<std::pair<std::vector<std::int8_t>, std::vector<Elimination>>>;
    const auto run = [](Technique t, const State& state, const Context& context) {
        Found found;
        FinderOf(t)(state, context, [&](Step&& step) {
            found.emplace_back(step.cells, step.eliminations);
            return true;
        });
        return found;
    };
    int compared = 0;
    for (const Digits& board : test::ReadSet("magictour_top1465.txt", 150)) {
        Path path;
        Rate(board, &path);
        std::optional<State> state = State::FromDigits(board);
        std::array<std::optional<State>, kTechniqueCount> empty;
        for (const Step& step : path.steps) {
            for (int t = 0; t < kTechniqueCount; ++t) {
                const auto technique = static_cast<Technique>(t);
                if (!LooksWhereChanged(technique)) continue;
                const Found all = run(technique, *state, {});
                if (empty[t]) {
                    Context changed{nullptr, 0, 0};
                    changed.cells = {};
                    for (int c = 0; c < 81; ++c) {
                        const Mask gone = empty[t]->Candidates(c) & ~state->Candidates(c);
                        changed.digits |= gone;
                        if (gone) changed.cells.Add(c);
                        for (int u : kUnits.unitsOf[c]) changed.units |= gone ? 1u << u : 0;
                    }
                    ASSERT_EQ(run(technique, *state, changed), all) << Info(technique).english;
                    compared += !all.empty();
                }
                if (all.empty()) empty[t] = *state;
            }
            state->Apply(step);
        }
    }
    EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace kz::logic
