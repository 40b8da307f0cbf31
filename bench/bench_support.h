// SPDX-License-Identifier: MIT
// What the benchmarks share: the public sets and per-puzzle timing.
#pragma once

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/board.h"

namespace kz::bench {

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
};

// Per-puzzle time in microseconds: the best of `repeats` runs, so that a stray interruption
// does not count as the puzzle's cost.
inline Stats Measure(const std::vector<ValueArray16>& boards, const Method& method, int repeats) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    for (const auto& board : boards) {
        double best = 1e300;
        for (int r = 0; r < repeats; ++r) {
            const auto start = Clock::now();
            if (!method(board)) return {};
            const std::chrono::duration<double, std::micro> took = Clock::now() - start;
            best = std::min(best, took.count());
        }
        times.push_back(best);
    }
    Stats s;
    s.finished = true;
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    s.median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    s.mean = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(n);
    s.worst = times.back();
    return s;
}

}  // namespace kz::bench
