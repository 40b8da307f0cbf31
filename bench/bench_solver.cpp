// SPDX-License-Identifier: MIT
// Times VerifyProblem and SolveBoard per puzzle on the public sets, next to qqwing's limited
// solution count and the plain reference search on the same puzzles.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/answer.h"
#include "qqwing.hpp"
#include "tests/core/reference_solver.h"

namespace {

const char* const kSets[] = {"forum_hardest_1106", "forum_hardest_1905_sample500",
                             "magictour_top1465", "royle_17clue_sample200", "adversarial"};

using kz::bench::Measure;
using kz::bench::Method;
using kz::bench::ReadSet;
using kz::bench::Stats;

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

const std::map<std::string, Method>& Methods() {
    static const std::map<std::string, Method> methods = {
        {"verify", KzVerify},
        {"solve", KzSolve},
        {"qqwing_count", QqwingCount},
        {"reference_verify", ReferenceVerify},
    };
    return methods;
}

std::map<std::pair<std::string, std::string>, Stats>& Results() {
    static std::map<std::pair<std::string, std::string>, Stats> results;
    return results;
}

void BM_Set(benchmark::State& state, const std::string& set, const std::string& method) {
    Results()[{set, method}] = kz::bench::TimeSet(state, ReadSet(set), Methods().at(method),
                                                  method == "reference_verify" ? 1 : 3);
}

void PrintTable() {
    std::printf("\nPer puzzle, microseconds (best of 3 runs each; reference: 1 run)\n");
    std::printf("%-30s %-17s %10s %10s %10s %14s %14s\n", "set", "method", "median", "mean",
                "worst", "qqwing/this md", "qqwing/this mn");
    for (const char* set : kSets) {
        const auto qq = Results().find({set, "qqwing_count"});
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
            if (qq != Results().end() && qq->second.finished && s.median > 0 && s.mean > 0) {
                std::printf(" %13.1fx %13.1fx", qq->second.median / s.median,
                            qq->second.mean / s.mean);
            }
            std::printf("\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The plain search needs minutes on most sets (that is why the fast one exists).
    const auto tooSlow = [](const std::string& set, const std::string& method) {
        return method == "reference_verify" && set != "adversarial" &&
               set != "royle_17clue_sample200";
    };
    if (!kz::bench::RunSets(argc, argv, kSets, Methods(), BM_Set, tooSlow)) return 1;
    PrintTable();
    return 0;
}
