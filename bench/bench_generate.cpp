// SPDX-License-Identifier: MIT
// Time to a new puzzle at each level, and at the hardest level under every symmetry, next to
// qqwing's generator asked for each of its difficulties in the same run: median, mean and 95th
// percentile per puzzle, puzzles per second, and the attempts (complete grids tried) a puzzle
// took. From the time an attempt takes follows how long the generator would search before
// giving up when its whole budget goes by without a puzzle. Times are the CPU time of the
// generating thread, so that other work on a shared machine does not count; the wall-clock
// median is shown beside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "generate/generator.h"
#include "qqwing.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double ThreadMilliseconds() {
    return 1e-3 * kz::bench::ThreadCpuMicros();
}

struct Stats {
    int puzzles = 0;
    int failed = 0;  // runs that ended without a puzzle (budget spent)
    double median = 0;
    double mean = 0;
    double p95 = 0;
    double perSecond = 0;
    double wallMedian = 0;
    double attemptsMedian = 0;
    double attemptsP95 = 0;
    double msPerAttempt = 0;
};

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// Makes one puzzle; the attempts it took, or 0 when the generator gave up.
using Maker = std::function<int()>;

double P95(const std::vector<double>& sorted) {
    const std::size_t n = sorted.size();
    return sorted[std::min(n - 1, (95 * n + 99) / 100 - 1)];
}

// Puzzles one after another until `count` are made or `seconds` have passed (at least
// `minimum` in any case), each timed on its own, in milliseconds.
Stats Measure(const Maker& make, int count, int minimum, double seconds) {
    std::vector<double> times;
    std::vector<double> wall;
    std::vector<double> attempts;
    Stats s;
    const auto begin = Clock::now();
    while (static_cast<int>(times.size()) < count) {
        const auto start = Clock::now();
        const double cpu = ThreadMilliseconds();
        const int tried = make();
        const double took = ThreadMilliseconds() - cpu;
        const std::chrono::duration<double, std::milli> wallTook = Clock::now() - start;
        if (tried > 0) {
            times.push_back(took);
            wall.push_back(wallTook.count());
            attempts.push_back(tried);
        } else {
            ++s.failed;
        }
        const std::chrono::duration<double> total = Clock::now() - begin;
        if (total.count() > seconds && static_cast<int>(times.size()) >= minimum) break;
        if (s.failed > count) break;
    }
    if (times.empty()) return s;
    const double total = std::accumulate(times.begin(), times.end(), 0.0);
    s.msPerAttempt = total / std::accumulate(attempts.begin(), attempts.end(), 0.0);
    std::sort(times.begin(), times.end());
    std::sort(attempts.begin(), attempts.end());
    s.attemptsMedian = Median(attempts);
    s.attemptsP95 = P95(attempts);
    const std::size_t n = times.size();
    s.puzzles = static_cast<int>(n);
    s.median = Median(times);
    s.wallMedian = Median(wall);
    s.mean = total / static_cast<double>(n);
    s.p95 = P95(times);
    s.perSecond = 1000.0 * static_cast<double>(n) / total;
    return s;
}

struct Row {
    std::string name;
    Maker make;
    int count;
    int minimum;
    double seconds;
    std::string compareWith;  // the qqwing row whose puzzles per second this row is set against
    int budget = 0;           // our generator's attempts before it gives up
};

std::map<std::string, Stats>& Results() {
    static std::map<std::string, Stats> results;
    return results;
}

Maker Ours(int level, kz::generate::Symmetry symmetry) {
    auto random = std::make_shared<std::mt19937_64>(20261208u + static_cast<unsigned>(level));
    return [=] {
        const kz::generate::Result r = kz::generate::Generate({level, symmetry, 0}, *random);
        benchmark::DoNotOptimize(r.puzzle);
        return r.puzzle ? r.attempts : 0;
    };
}

Row OursRow(int level, kz::generate::Symmetry symmetry, int count, int minimum, double seconds,
            std::string compareWith = "") {
    return {
        "level" + std::to_string(level) + "/" + std::string(kz::generate::SymmetryName(symmetry)),
        Ours(level, symmetry),
        count,
        minimum,
        seconds,
        std::move(compareWith),
        kz::generate::AttemptBudget({level, symmetry, 0})};
}

// As `qqwing --generate --difficulty D` does it: a puzzle without symmetry, solved with its
// history recorded to grade it, again until the grade is D.
Maker Qqwing(qqwing::SudokuBoard::Difficulty difficulty) {
    return [=] {
        qqwing::SudokuBoard board;
        board.setRecordHistory(true);
        for (int tried = 1;; ++tried) {
            if (!board.generatePuzzleSymmetry(qqwing::SudokuBoard::NONE)) continue;
            board.solve();
            if (board.getDifficulty() == difficulty) {
                benchmark::DoNotOptimize(board.getPuzzle());
                return tried;
            }
        }
    };
}

std::vector<Row> Rows() {
    using kz::generate::Symmetry;
    using D = qqwing::SudokuBoard::Difficulty;
    std::vector<Row> rows = {
        OursRow(1, Symmetry::Rotate180, 300, 20, 20, "qqwing/simple"),
        OursRow(2, Symmetry::Rotate180, 300, 20, 20, "qqwing/easy"),
        OursRow(3, Symmetry::Rotate180, 300, 20, 20, "qqwing/intermediate"),
        OursRow(4, Symmetry::Rotate180, 100, 10, 30),
        OursRow(5, Symmetry::Rotate180, 50, 10, 60),
        OursRow(1, Symmetry::None, 300, 20, 20, "qqwing/simple"),
        OursRow(2, Symmetry::None, 300, 20, 20, "qqwing/easy"),
        OursRow(3, Symmetry::None, 300, 20, 20, "qqwing/intermediate"),
    };
    // The hardest level is the rarest, and how rare depends on the symmetry.
    for (const kz::generate::SymmetryInfo& symmetry : kz::generate::kSymmetries) {
        rows.push_back(OursRow(6, symmetry.symmetry, 30, 10, 120));
    }
    rows.insert(rows.end(), {
                                {"qqwing/simple", Qqwing(D::SIMPLE), 100, 10, 20, ""},
                                {"qqwing/easy", Qqwing(D::EASY), 100, 10, 20, ""},
                                {"qqwing/intermediate", Qqwing(D::INTERMEDIATE), 100, 10, 20, ""},
                                {"qqwing/expert", Qqwing(D::EXPERT), 100, 10, 30, ""},
                            });
    return rows;
}

void BM_Generate(benchmark::State& state, const Row& row) {
    const Stats stats = Measure(row.make, row.count, row.minimum, row.seconds);
    Results()[row.name] = stats;
    for (auto _ : state) {
    }
    if (stats.puzzles == 0) {
        state.SkipWithError("no puzzle within the budget");
        return;
    }
    state.counters["median_ms"] = stats.median;
    state.counters["mean_ms"] = stats.mean;
    state.counters["p95_ms"] = stats.p95;
    state.counters["puzzles_per_s"] = stats.perSecond;
    state.counters["wall_median_ms"] = stats.wallMedian;
    state.counters["attempts_median"] = stats.attemptsMedian;
}

void PrintTable(const std::vector<Row>& rows) {
    std::printf(
        "\nTime to a new puzzle, milliseconds of thread CPU time (wall: median by the clock)\n");
    std::printf("%-22s %8s %7s %10s %10s %10s %9s %8s %12s %10s %9s %9s %10s\n", "generator",
                "puzzles", "failed", "median", "mean", "p95", "p95/med", "per s", "vs qqwing",
                "wall", "tries md", "tries p95", "give up s");
    for (const Row& row : rows) {
        const auto it = Results().find(row.name);
        if (it == Results().end()) continue;
        const Stats& s = it->second;
        std::printf("%-22s %8d %7d %10.2f %10.2f %10.2f %9.1f %8.1f", row.name.c_str(), s.puzzles,
                    s.failed, s.median, s.mean, s.p95, s.median > 0 ? s.p95 / s.median : 0.0,
                    s.perSecond);
        const auto qq = Results().find(row.compareWith);
        if (qq != Results().end() && qq->second.perSecond > 0) {
            std::printf(" %11.1fx", s.perSecond / qq->second.perSecond);
        } else {
            std::printf(" %12s", "");
        }
        std::printf(" %10.2f %9.0f %9.0f", s.wallMedian, s.attemptsMedian, s.attemptsP95);
        // The whole budget spent without a puzzle, at the time an attempt takes.
        if (row.budget > 0) {
            std::printf(" %10.1f\n", row.budget * s.msPerAttempt / 1000);
        } else {
            std::printf(" %10s\n", "");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::srand(20261208u);  // qqwing draws from rand()
    const std::vector<Row> rows = Rows();
    for (const Row& row : rows) {
        benchmark::RegisterBenchmark(("generate/" + row.name).c_str(), BM_Generate, row)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    if (!kz::bench::RunRegistered(argc, argv)) return 1;
    PrintTable(rows);
    return 0;
}
