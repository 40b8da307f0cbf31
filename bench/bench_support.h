// SPDX-License-Identifier: MIT
// What the benchmarks share: the public sets and per-puzzle timing.
#pragma once

#include <time.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/board.h"

namespace kz::bench {

// This thread's processor time in microseconds: the machine's other work does not count
// against a call.
inline double ThreadCpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return 1e6 * static_cast<double>(t.tv_sec) + 1e-3 * static_cast<double>(t.tv_nsec);
}

inline std::vector<ValueArray16> ReadSet(const std::string& name) {
    std::ifstream in(std::string(KZ_PUZZLE_DIR) + "/" + name + ".txt");
    std::vector<ValueArray16> boards;
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 81) continue;
        ValueArray16 v{};
        for (int n = 1; n <= kCellCount; ++n) {
            const char ch = line[n - 1];
            v[n] = static_cast<std::int16_t>(ch >= '1' && ch <= '9' ? ch - '0' : 0);
        }
        boards.push_back(v);
    }
    return boards;
}

// One way of answering a board; false when it gave up (the reference's step limit).
using Method = std::function<bool(const ValueArray16&)>;

struct Stats {
    bool finished = false;
    double median = 0;
    double mean = 0;
    double worst = 0;
    double medianOfBest = 0;  ///< the median over the puzzles of each one's best run
};

// How a puzzle's runs make its one time. For a call that does the same work every run, the
// best run, so that a stray interruption does not count as the puzzle's cost. A call whose
// work differs from run to run (a solver that guesses in random order) has its typical run in
// the middle: its best is its luckiest guessing, and the best of a few runs of each puzzle
// adds up to far less than the time any one run of the set takes.
enum class PerPuzzle { Best, Median };

// Per-puzzle times in microseconds over `repeats` runs each, summed up as `perPuzzle` says.
inline Stats Measure(const std::vector<ValueArray16>& boards, const Method& method, int repeats,
                     PerPuzzle perPuzzle = PerPuzzle::Best) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times, bests, runs;
    for (const auto& board : boards) {
        runs.clear();
        for (int r = 0; r < repeats; ++r) {
            const auto start = Clock::now();
            if (!method(board)) return {};
            const std::chrono::duration<double, std::micro> took = Clock::now() - start;
            runs.push_back(took.count());
        }
        std::sort(runs.begin(), runs.end());
        bests.push_back(runs.front());
        times.push_back(perPuzzle == PerPuzzle::Best ? runs.front() : runs[runs.size() / 2]);
    }
    const auto median = [](std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    };
    Stats s;
    s.finished = true;
    s.median = median(times);
    s.medianOfBest = median(bests);
    s.mean = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(times.size());
    s.worst = times.back();
    return s;
}

// Whole-set throughput under Google Benchmark, plus the per-puzzle figures as counters;
// returns the figures.
inline Stats TimeSet(benchmark::State& state, const std::vector<ValueArray16>& boards,
                     const Method& run, int repeats, PerPuzzle perPuzzle = PerPuzzle::Best) {
    const Stats stats = Measure(boards, run, repeats, perPuzzle);
    if (!stats.finished) {
        state.SkipWithError("gave up on some puzzle");
        for (auto _ : state) {
        }
        return stats;
    }
    for (auto _ : state) {
        for (const auto& board : boards) run(board);
    }
    state.counters["median_us"] = stats.median;
    state.counters["mean_us"] = stats.mean;
    state.counters["worst_us"] = stats.worst;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(boards.size()));
    return stats;
}

// Runs the registered benchmarks the command line selects; false when it held arguments
// nobody understood.
inline bool RunRegistered(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return true;
}

// Registers one timing of each set by each method (unless `skip` says no), runs what the
// command line selects, and says whether the arguments were understood.
template <typename Sets, typename Methods, typename Fn, typename Skip>
bool RunSets(int argc, char** argv, const Sets& sets, const Methods& methods, Fn fn, Skip skip) {
    for (const auto& set : sets) {
        for (const auto& [method, unused] : methods) {
            if (skip(std::string(set), method)) continue;
            benchmark::RegisterBenchmark((std::string(set) + "/" + method).c_str(), fn,
                                         std::string(set), method)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    }
    return RunRegistered(argc, argv);
}

}  // namespace kz::bench
