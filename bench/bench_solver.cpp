// SPDX-License-Identifier: MIT
// Times VerifyProblem and SolveBoard per puzzle on the public sets, next to the previous engine
// (frozen in bench/baseline), qqwing's limited solution count and the plain reference search on
// the same puzzles. The table names the kernel the engine chose for this processor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "bench/baseline/answer.h"
#include "core/answer.h"
#include "core/solver_engine.h"
#include "qqwing.hpp"
#include "tests/core/reference_solver.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kSets[] = {"forum_hardest_1106", "forum_hardest_1905_sample500",
                             "magictour_top1465", "royle_17clue_sample200", "adversarial"};

std::vector<kz::ValueArray16> ReadSet(const std::string& name) {
    std::ifstream in(std::string(KZ_PUZZLE_DIR) + "/" + name + ".txt");
    std::vector<kz::ValueArray16> boards;
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 81) continue;
        kz::ValueArray16 v{};
        for (int n = 1; n <= kz::kCellCount; ++n) {
            const char ch = line[n - 1];
            v[n] = static_cast<std::int16_t>(ch >= '1' && ch <= '9' ? ch - '0' : 0);
        }
        boards.push_back(v);
    }
    return boards;
}

// One way of answering a board; false when it gave up (the reference's step limit).
using Method = std::function<bool(const kz::ValueArray16&)>;

bool KzVerify(const kz::ValueArray16& v) {
    kz::Solver solver;
    benchmark::DoNotOptimize(solver.VerifyProblem(v));
    return true;
}

bool KzSolve(const kz::ValueArray16& v) {
    kz::Solver solver;
    kz::ValueArray16 copy = v;
    benchmark::DoNotOptimize(solver.SolveBoard(copy));
    return true;
}

bool BeforeVerify(const kz::ValueArray16& v) {
    kz::baseline::Solver solver;
    benchmark::DoNotOptimize(solver.VerifyProblem(v));
    return true;
}

bool BeforeSolve(const kz::ValueArray16& v) {
    kz::baseline::Solver solver;
    kz::ValueArray16 copy = v;
    benchmark::DoNotOptimize(solver.SolveBoard(copy));
    return true;
}

// The kernel the engine picked on its own, before any method switches it.
kz::engine::CodePath ChosenPath() {
    static const kz::engine::CodePath chosen = kz::engine::ActiveCodePath();
    return chosen;
}

// VerifyProblem on the portable kernel, to compare it with the previous engine's.
bool PortableVerify(const kz::ValueArray16& v) {
    kz::engine::SelectCodePath(kz::engine::CodePath::Portable);
    KzVerify(v);
    kz::engine::SelectCodePath(ChosenPath());
    return true;
}

bool QqwingCount(const kz::ValueArray16& v) {
    int puzzle[81];
    for (int i = 0; i < 81; ++i) puzzle[i] = v[i + 1];
    qqwing::SudokuBoard board;
    board.setPuzzle(puzzle);
    benchmark::DoNotOptimize(board.countSolutionsLimited());
    return true;
}

// The plain search gives up after this many steps; a set where it does is left out.
constexpr std::uint64_t kReferenceSteps = 2'000'000;

bool ReferenceVerify(const kz::ValueArray16& v) {
    kz::test::ReferenceSolver reference(kReferenceSteps);
    return reference.VerifyProblem(v).has_value();
}

struct Stats {
    bool finished = false;
    double median = 0;
    double mean = 0;
    double worst = 0;
};

// Per-puzzle time in microseconds: the best of `repeats` runs, so that a stray interruption
// does not count as the puzzle's cost.
Stats Measure(const std::vector<kz::ValueArray16>& boards, const Method& method, int repeats) {
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

// In table order; "before" is the previous engine, "portable" the new one on its portable kernel.
const std::vector<std::pair<std::string, Method>>& Methods() {
    static const std::vector<std::pair<std::string, Method>> methods = [] {
        std::vector<std::pair<std::string, Method>> m = {
            {"verify", KzVerify},
            {"verify_before", BeforeVerify},
        };
        if (ChosenPath() != kz::engine::CodePath::Portable) {
            m.emplace_back("verify_portable", PortableVerify);
        }
        m.insert(m.end(), {{"solve", KzSolve},
                           {"solve_before", BeforeSolve},
                           {"qqwing_count", QqwingCount},
                           {"reference_verify", ReferenceVerify}});
        return m;
    }();
    return methods;
}

const Method& MethodNamed(const std::string& name) {
    for (const auto& [n, method] : Methods()) {
        if (n == name) return method;
    }
    std::abort();
}

std::string PathSummary() {
    std::string text = "engine code path: ";
    text += kz::engine::CodePathName(ChosenPath());
    text += " (this processor supports:";
    for (const kz::engine::CodePath path : kz::engine::SupportedCodePaths()) {
        text += ' ';
        text += kz::engine::CodePathName(path);
    }
    return text + ")";
}

std::map<std::pair<std::string, std::string>, Stats>& Results() {
    static std::map<std::pair<std::string, std::string>, Stats> results;
    return results;
}

// Whole-set throughput under Google Benchmark, plus the per-puzzle figures as counters.
void BM_Set(benchmark::State& state, const std::string& set, const std::string& method) {
    const auto boards = ReadSet(set);
    const Method& run = MethodNamed(method);
    const int repeats = method == "reference_verify" ? 1 : 3;
    const Stats stats = Measure(boards, run, repeats);
    Results()[{set, method}] = stats;
    if (!stats.finished) {
        state.SkipWithError("gave up on some puzzle");
        for (auto _ : state) {
        }
        return;
    }
    for (auto _ : state) {
        for (const auto& board : boards) run(board);
    }
    state.counters["median_us"] = stats.median;
    state.counters["mean_us"] = stats.mean;
    state.counters["worst_us"] = stats.worst;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(boards.size()));
}

// "a/b" as a ratio of medians, or blanks when either is missing.
void PrintRatio(const std::string& set, const std::string& a, const Stats& b) {
    const auto it = Results().find({set, a});
    if (it == Results().end() || !it->second.finished || b.median <= 0) {
        std::printf(" %14s", "");
        return;
    }
    std::printf(" %13.2fx", it->second.median / b.median);
}

void PrintTable() {
    std::printf("\nPer puzzle, microseconds (best of 3 runs each; reference: 1 run); %s\n",
                PathSummary().c_str());
    std::printf("%-30s %-17s %10s %10s %10s %14s %14s\n", "set", "method", "median", "mean",
                "worst", "before/this md", "qqwing/this md");
    for (const char* set : kSets) {
        for (const auto& [method, unused] : Methods()) {
            const auto it = Results().find({set, method});
            if (it == Results().end()) continue;
            const Stats& s = it->second;
            if (!s.finished) {
                std::printf("%-30s %-17s %10s\n", set, method.c_str(), "gave up");
                continue;
            }
            std::printf("%-30s %-17s %10.1f %10.1f %10.1f", set, method.c_str(), s.median, s.mean,
                        s.worst);
            const bool solving = method.rfind("solve", 0) == 0;
            const bool ours =
                method == "verify" || method == "verify_portable" || method == "solve";
            if (ours) {
                PrintRatio(set, solving ? "solve_before" : "verify_before", s);
            } else {
                std::printf(" %14s", "");
            }
            PrintRatio(set, "qqwing_count", s);
            std::printf("\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("%s\n", PathSummary().c_str());
    for (const char* set : kSets) {
        for (const auto& [method, unused] : Methods()) {
            // The plain search needs minutes on these sets (that is why the fast one exists).
            const bool tooSlow = method == "reference_verify" &&
                                 std::string(set) != "adversarial" &&
                                 std::string(set) != "royle_17clue_sample200";
            if (tooSlow) continue;
            benchmark::RegisterBenchmark((std::string(set) + "/" + method).c_str(), BM_Set,
                                         std::string(set), method)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintTable();
    return 0;
}
