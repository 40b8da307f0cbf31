// SPDX-License-Identifier: MIT
// Generated puzzles judged by the fast engine: one solution, minimal, symmetric as asked, at
// the level asked; seeds reproduce them; cancelling gives no puzzle; grids are unbiased.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "core/solver_engine.h"
#include "generate/generator.h"
#include "logic/finders.h"
#include "logic/logic_support.h"
#include "logic/solver.h"

namespace kz::generate {
namespace {

using logic::Digits;

// Every symmetry the generator offers; Image below is written apart from its table.
const std::vector<Symmetry> kAllSymmetries = [] {
    std::vector<Symmetry> all;
    for (const SymmetryInfo& row : kSymmetries) all.push_back(row.symmetry);
    return all;
}();

// Where the symmetry sends cell c (row r, column k); written apart from the generator's orbits.
int Image(Symmetry s, int c) {
    const int r = c / 9;
    const int k = c % 9;
    const std::array<int, 5> images{c, 80 - c, 9 * k + 8 - r, 9 * r + 8 - k, 9 * k + r};
    return images[static_cast<int>(s)];
}

int Completions(const Digits& givens) {
    engine::Grid grid = engine::EmptyGrid();
    for (int c = 0; c < 81; ++c) {
        if (givens[c] != 0 && !engine::Place(grid, c, givens[c])) return 0;
    }
    std::array<engine::Solution, 2> found{};
    return engine::CountCompletions(grid, 2, found.data(), {});
}

bool IsCompleteGrid(const Digits& g) {
    return engine::IsCompletionOf(engine::EmptyGrid(), g);
}

// Every property a puzzle made under `symmetry` from `solution` must have.
void ExpectSoundPuzzle(const Digits& givens, const Digits& solution, Symmetry symmetry) {
    ASSERT_TRUE(IsCompleteGrid(solution));
    for (int c = 0; c < 81; ++c) {
        ASSERT_TRUE(givens[c] == 0 || givens[c] == solution[c]) << "cell " << c;
        ASSERT_EQ(givens[c] != 0, givens[Image(symmetry, c)] != 0) << "asymmetric at " << c;
    }
    ASSERT_EQ(Completions(givens), 1);
    // Minimal: taking away any given together with its images leaves two solutions.
    for (int c = 0; c < 81; ++c) {
        if (givens[c] == 0) continue;
        Digits fewer = givens;
        for (int m = c, k = 0; k < 4; ++k, m = Image(symmetry, m)) fewer[m] = 0;
        ASSERT_EQ(Completions(fewer), 2) << "cell " << c << " could go";
    }
}

std::string Line(const Digits& d) {
    std::string s;
    for (const auto v : d) s += static_cast<char>('0' + v);
    return s;
}

TEST(Generator, CarvedPuzzlesAreUniqueMinimalSymmetricAndVaried) {
    std::set<std::string> seen;
    std::array<int, 81> givenAt{};
    constexpr int kPerSymmetry = 300;
    for (const Symmetry symmetry : kAllSymmetries) {
        SCOPED_TRACE(std::string(SymmetryName(symmetry)));
        std::mt19937_64 random(static_cast<unsigned>(symmetry) + 1);
        for (int i = 0; i < kPerSymmetry; ++i) {
            const Digits solution = RandomSolution(random);
            const std::optional<Digits> givens = Carve(solution, symmetry, random);
            ASSERT_TRUE(givens);
            ExpectSoundPuzzle(*givens, solution, symmetry);
            seen.insert(Line(*givens));
            if (symmetry == Symmetry::None) {
                for (int c = 0; c < 81; ++c) givenAt[c] += givens->at(c) != 0;
            }
        }
    }
    EXPECT_EQ(seen.size(), kAllSymmetries.size() * kPerSymmetry) << "a puzzle came twice";
    // Without symmetry no cell is favoured: about 24 givens in 81 cells, so each cell is
    // given in about 90 of the 300 puzzles (σ ≈ 8).
    for (int c = 0; c < 81; ++c) {
        EXPECT_GT(givenAt[c], 45) << "cell " << c;
        EXPECT_LT(givenAt[c], 140) << "cell " << c;
    }
}

TEST(Generator, CompleteGridsFavourNoDigitInAnyCell) {
    std::mt19937_64 random(7);
    constexpr int kGrids = 3000;
    std::array<std::array<int, 9>, 81> count{};
    for (int i = 0; i < kGrids; ++i) {
        const Digits g = RandomSolution(random);
        ASSERT_TRUE(IsCompleteGrid(g));
        for (int c = 0; c < 81; ++c) ++count[c][g[c] - 1];
    }
    // Chi-square over 81 cells of 8 degrees of freedom each: expect about 648.
    const double expected = kGrids / 9.0;
    double chi = 0;
    for (const auto& cell : count) {
        for (const int n : cell) {
            chi += (n - expected) * (n - expected) / expected;
            EXPECT_NEAR(n, expected, 110);  // about six σ
        }
    }
    EXPECT_LT(chi, 648 * 1.3);
}

// Whether this build's logical solver knows techniques of `level`: a placeholder finder
// never fires, so no step of the level shows up on hard public puzzles.
bool LevelAvailable(int level) {
    if (level <= 2 || level == logic::kMaxLevel) return true;
    for (const Digits& board : logic::test::ReadSet("magictour_top1465.txt", 30)) {
        const std::optional<Digits> solution = logic::UniqueSolution(board);
        const logic::Context context{&*solution};
        const logic::Path path = logic::SolvePath(*logic::State::FromDigits(board), context, level);
        for (const logic::Step& step : path.steps) {
            if (logic::Info(step.technique).level == level) return true;
        }
    }
    return false;
}

class GeneratorLevel : public testing::TestWithParam<int> {};

TEST_P(GeneratorLevel, PuzzlesComeAtTheLevelAsked) {
    const int level = GetParam();
    if (!LevelAvailable(level)) GTEST_SKIP() << "the techniques of the level are not in this build";
    // Fewer of the slowest level keep the run short; level 0 asks for any level.
    const int count = level == 0 ? 50 : level == logic::kMaxLevel ? 60 : 200;
    std::set<std::string> seen;
    std::mt19937_64 random(100 + level);
    for (int i = 0; i < count; ++i) {
        const Symmetry symmetry = kAllSymmetries[i % kAllSymmetries.size()];
        SCOPED_TRACE(testing::Message() << "#" << i);
        const Result result = Generate({level, symmetry, 0}, random);
        ASSERT_TRUE(result.puzzle) << "none in " << result.attempts << " attempts";
        EXPECT_FALSE(result.cancelled);
        EXPECT_GE(result.attempts, 1);
        const Puzzle& p = *result.puzzle;
        ExpectSoundPuzzle(p.givens, p.solution, symmetry);
        EXPECT_EQ(p.rating.verifyCode, 1);
        if (level != 0) {
            EXPECT_EQ(p.rating.level, level);
        }
        // The rating belongs to these givens (rating a hard board again is slow: a few).
        if (i < 10) {
            const logic::Rating again = logic::Rate(p.givens);
            EXPECT_EQ(again.level, p.rating.level);
            EXPECT_EQ(again.score, p.rating.score);
        }
        EXPECT_TRUE(seen.insert(Line(p.givens)).second) << "a puzzle came twice";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, GeneratorLevel, testing::Range(0, logic::kMaxLevel + 1));

TEST(Generator, SeedReproducesAndOtherSeedsDiffer) {
    for (const int level : {0, 1, 2}) {
        std::mt19937_64 a(42), b(42), c(43);
        const Request request{level, Symmetry::Rotate90, 0};
        const Result first = Generate(request, a);
        const Result again = Generate(request, b);
        const Result other = Generate(request, c);
        ASSERT_TRUE(first.puzzle && again.puzzle && other.puzzle);
        EXPECT_EQ(first.puzzle->givens, again.puzzle->givens);
        EXPECT_EQ(first.attempts, again.attempts);
        EXPECT_NE(first.puzzle->givens, other.puzzle->givens);
        // The next puzzle from the same source is another one.
        const Result next = Generate(request, a);
        ASSERT_TRUE(next.puzzle);
        EXPECT_NE(first.puzzle->givens, next.puzzle->givens);
    }
}

TEST(Generator, CancelGivesNoPuzzleAndStopsAtOnce) {
    std::mt19937_64 random(5);
    std::atomic<bool> cancel{true};
    Result r = Generate({1, Symmetry::None, 0}, random, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.puzzle);
    EXPECT_EQ(r.attempts, 0);
    EXPECT_FALSE(Carve(RandomSolution(random), Symmetry::None, random, &cancel));

    // Cancelled while the first attempt is screened or rated: even a puzzle found by then
    // is dropped, and no further attempt starts.
    for (const int level : {0, 1, logic::kMaxLevel}) {
        cancel = false;
        int calls = 0;
        r = Generate({level, Symmetry::Rotate180, 1000000}, random, &cancel, [&](int attempts) {
            ++calls;
            EXPECT_EQ(attempts, calls);
            cancel = true;
        });
        EXPECT_TRUE(r.cancelled);
        EXPECT_FALSE(r.puzzle);
        EXPECT_EQ(r.attempts, 1);
        EXPECT_EQ(calls, 1);
    }
}

TEST(Generator, BudgetAndBadRequestsEndWithoutPuzzle) {
    std::mt19937_64 random(9);
    for (const int level : {-1, 7}) {
        const Result r = Generate({level, Symmetry::None, 0}, random);
        EXPECT_FALSE(r.puzzle);
        EXPECT_FALSE(r.cancelled);
    }
    // A budget of one attempt is kept whether or not that attempt hits the level.
    int hits = 0;
    for (int i = 0; i < 20; ++i) {
        const Result r = Generate({2, Symmetry::None, 1}, random);
        EXPECT_EQ(r.attempts, 1);
        EXPECT_EQ(r.budget, 1);
        hits += r.puzzle.has_value();
    }
    EXPECT_LT(hits, 20);
}

TEST(Generator, SymmetryNamesRoundTrip) {
    for (const Symmetry s : kAllSymmetries) EXPECT_EQ(ParseSymmetry(SymmetryName(s)), s);
    for (const char* bad : {"", "Rot180", "rot 90", "diagonal2"}) EXPECT_FALSE(ParseSymmetry(bad));
    // Settings files keep a choice by these numbers: they never change their meaning.
    const char* const kSaved[] = {"none", "rot180", "rot90", "mirror", "diagonal"};
    for (int n = 0; n < 5; ++n) EXPECT_EQ(SymmetryNumbered(n), ParseSymmetry(kSaved[n])) << n;
    EXPECT_FALSE(SymmetryNumbered(-1));
    EXPECT_FALSE(SymmetryNumbered(5));
    for (const Symmetry s : kAllSymmetries) {
        std::array<int, 81> covered{};
        for (const auto& orbit : Orbits(s)) {
            for (const int c : orbit) {
                ++covered[c];
                EXPECT_NE(std::find(orbit.begin(), orbit.end(), Image(s, c)), orbit.end());
            }
        }
        for (const int n : covered) EXPECT_EQ(n, 1);
    }
}

}  // namespace
}  // namespace kz::generate
