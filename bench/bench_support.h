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
    double medianOfBest = 0;  ///< the median over the puzzles of each one's best pass
};

// Per-puzzle times in microseconds over `passes` passes through the whole set, each puzzle
// counting with its middle pass. Passes, not runs of one puzzle back to back: a call repeated
// at once on the same board runs faster each time as the processor learns its branches (the
// first run of a top1465 board took nearly twice its fifth here), which no rating of a board
// ever meets. The middle pass, not the best: it keeps a stray interruption out, and a solver
// that guesses in random order (qqwing) has its typical run there, where its best run is its
// luckiest guessing.
inline Stats Measure(const std::vector<ValueArray16>& boards, const Method& method, int passes) {
    using Clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> runs(boards.size());
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t i = 0; i < boards.size(); ++i) {
            const auto start = Clock::now();
            if (!method(boards[i])) return {};
            const std::chrono::duration<double, std::micro> took = Clock::now() - start;
            runs[i].push_back(took.count());
        }
    }
    std::vector<double> times, bests;
    for (std::vector<double>& r : runs) {
        std::sort(r.begin(), r.end());
        times.push_back(r[r.size() / 2]);
        bests.push_back(r.front());
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
                     const Method& run, int passes) {
    const Stats stats = Measure(boards, run, passes);
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
