// SPDX-License-Identifier: MIT
// Times the rating per puzzle on the public sets next to qqwing's rating of the same puzzles
// in the same run, and prints how the levels of each set are spread.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "logic/solver.h"
#include "qqwing.hpp"

namespace {

using kz::bench::Measure;
using kz::bench::Method;
using kz::bench::ReadSet;
using kz::bench::Stats;

const char* const kSets[] = {"forum_hardest_1106", "forum_hardest_1905_sample500",
                             "magictour_top1465", "royle_17clue_sample200", "adversarial"};

kz::logic::Digits ToDigits(const kz::ValueArray16& v) {
    kz::logic::Digits d{};
    for (int n = 1; n <= kz::kCellCount; ++n) d[n - 1] = static_cast<std::uint8_t>(v[n]);
    return d;
}

kz::logic::Rating OurRating(const kz::ValueArray16& v) {
    return kz::logic::Rate(ToDigits(v));
}

// As `qqwing --solve --stats` does: solve with the history recorded, then classify it.
qqwing::SudokuBoard::Difficulty QqwingRating(const kz::ValueArray16& v) {
    int puzzle[81];
    for (int i = 0; i < 81; ++i) puzzle[i] = v[i + 1];
    qqwing::SudokuBoard board;
    board.setRecordHistory(true);
    board.setPuzzle(puzzle);
    board.solve();
    return board.getDifficulty();
}

const std::map<std::string, Method>& Methods() {
    static const std::map<std::string, Method> methods = {
        {"rate",
         [](const kz::ValueArray16& v) {
             benchmark::DoNotOptimize(OurRating(v));
             return true;
         }},
        {"qqwing_rate",
         [](const kz::ValueArray16& v) {
             benchmark::DoNotOptimize(QqwingRating(v));
             return true;
         }},
    };
    return methods;
}

std::map<std::pair<std::string, std::string>, Stats>& Results() {
    static std::map<std::pair<std::string, std::string>, Stats> results;
    return results;
}

constexpr int kPasses = 5;

void BM_Set(benchmark::State& state, const std::string& set, const std::string& method) {
    Results()[{set, method}] =
        kz::bench::TimeSet(state, ReadSet(set), Methods().at(method), kPasses);
}

void PrintTimes() {
    std::printf(
        "\nRating per puzzle, microseconds: each puzzle's middle of %d passes through the set\n"
        "(and, last but one, the median over the puzzles of each one's best pass)\n",
        kPasses);
    std::printf("%-30s %-12s %10s %10s %10s %10s %14s\n", "set", "method", "median", "mean",
                "worst", "best md", "qqwing/this md");
    for (const char* set : kSets) {
        const auto qq = Results().find({set, "qqwing_rate"});
        for (const auto& [method, unused] : Methods()) {
            const auto it = Results().find({set, method});
            if (it == Results().end()) continue;
            const Stats& s = it->second;
            std::printf("%-30s %-12s %10.1f %10.1f %10.1f %10.1f", set, method.c_str(), s.median,
                        s.mean, s.worst, s.medianOfBest);
            if (qq != Results().end() && s.median > 0) {
                std::printf(" %13.2fx", qq->second.median / s.median);
            }
            std::printf("\n");
        }
    }
}

// Our six levels and qqwing's four per set; boards without one solution are counted apart.
void PrintLevels() {
    std::printf("\nLevels per set: ours 1..6 | qqwing simple, easy, intermediate, expert\n");
    std::printf("%-30s %5s %5s %5s %5s %5s %5s %5s | %6s %6s %6s %6s\n", "set", "1", "2", "3", "4",
                "5", "6", "n/a", "simple", "easy", "inter", "expert");
    for (const char* set : kSets) {
        std::array<int, kz::logic::kMaxLevel + 2> ours{};
        std::array<int, 5> theirs{};
        for (const auto& board : ReadSet(set)) {
            const kz::logic::Rating r = OurRating(board);
            ++ours[r.verifyCode == 1 ? r.level : kz::logic::kMaxLevel + 1];
            if (r.verifyCode == 1) ++theirs[QqwingRating(board)];
        }
        std::printf("%-30s", set);
        for (int level = 1; level <= kz::logic::kMaxLevel + 1; ++level)
            std::printf(" %5d", ours[level]);
        std::printf(" | %6d %6d %6d %6d\n", theirs[qqwing::SudokuBoard::SIMPLE],
                    theirs[qqwing::SudokuBoard::EASY], theirs[qqwing::SudokuBoard::INTERMEDIATE],
                    theirs[qqwing::SudokuBoard::EXPERT]);
    }
}

// The processor time this thread has had, in milliseconds: unlike the clock on the wall, it
// does not grow with what else the machine runs.
double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The boards whose path needs the last resort, how those that do not are spread over the
// community's scale, and each rating's processor time.
void PrintGuesses() {
    std::printf(
        "\nLast resort per set: boards guessed (of them on a budget run out); rating 10ths: "
        "min, median, max; processor ms per board: median, worst\n");
    for (const char* set : kSets) {
        int guessed = 0, outOfBudget = 0, boards = 0;
        std::vector<int> difficulty;
        std::vector<double> ms;
        for (const auto& board : ReadSet(set)) {
            const double start = ThreadMs();
            const kz::logic::Rating r = OurRating(board);
            ms.push_back(ThreadMs() - start);
            if (r.verifyCode != 1) continue;
            ++boards;
            guessed += r.counts[static_cast<int>(kz::logic::Technique::Guess)] > 0;
            outOfBudget += r.outOfBudget;
            if (r.difficulty) difficulty.push_back(r.difficulty);
        }
        std::sort(difficulty.begin(), difficulty.end());
        std::printf("%-30s %5d of %5d guessed (%d on the budget)", set, guessed, boards,
                    outOfBudget);
        if (!difficulty.empty()) {
            std::printf("; %zu rated %d %d %d", difficulty.size(), difficulty.front(),
                        difficulty[difficulty.size() / 2], difficulty.back());
        }
        std::sort(ms.begin(), ms.end());
        if (!ms.empty()) std::printf("; %.1f %.1f ms", ms[ms.size() / 2], ms.back());
        std::printf("\n");
    }
}

bool Nested(kz::logic::Technique t) {
    return t >= kz::logic::Technique::ForcingChainPlus && t < kz::logic::Technique::Guess;
}

// What each finder costs, so that a slow one shows before it slows the rating: the mean time
// of one full search (every instance reported) over the states along the paths of a set.
void PrintFinderCosts(const char* set) {
    using Clock = std::chrono::steady_clock;
    std::array<double, kz::logic::kTechniqueCount> total{};
    std::array<long, kz::logic::kTechniqueCount> found{};
    long states = 0;
    for (const auto& board : ReadSet(set)) {
        kz::logic::Path path;
        if (kz::logic::Rate(ToDigits(board), &path).verifyCode != 1) continue;
        const kz::logic::Digits solution = path.end.Values();
        const kz::logic::Context context{&solution};
        kz::logic::State state = *kz::logic::State::FromDigits(ToDigits(board));
        for (const kz::logic::Step& step : path.steps) {
            ++states;
            for (int t = 0; t < kz::logic::kTechniqueCount; ++t) {
                // A nested chain search takes a good part of a second on any state the easier
                // techniques leave open: its cost shows in the rating times of the hardest sets.
                if (Nested(static_cast<kz::logic::Technique>(t))) continue;
                const auto start = Clock::now();
                kz::logic::FinderOf(static_cast<kz::logic::Technique>(t))(state, context,
                                                                          [&](kz::logic::Step&&) {
                                                                              ++found[t];
                                                                              return true;
                                                                          });
                total[t] += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            }
            state.Apply(step);
        }
    }
    std::printf(
        "\nFinders on the %ld states along the paths of %s: mean µs per full search, "
        "steps found per state\n",
        states, set);
    for (int t = 0; t < kz::logic::kTechniqueCount; ++t) {
        std::printf(
            "%-32s %8.2f %8.2f\n",
            std::string(kz::logic::Info(static_cast<kz::logic::Technique>(t)).english).c_str(),
            total[t] / static_cast<double>(states),
            static_cast<double>(found[t]) / static_cast<double>(states));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto all = [](const std::string&, const std::string&) { return false; };
    if (!kz::bench::RunSets(argc, argv, kSets, Methods(), BM_Set, all)) return 1;
    PrintTimes();
    PrintLevels();
    PrintGuesses();
    PrintFinderCosts("magictour_top1465");
    return 0;
}
