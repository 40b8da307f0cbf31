// SPDX-License-Identifier: MIT
// Times VerifyProblem and SolveBoard per puzzle on the public sets, next to the previous engine
// (frozen in bench/baseline), qqwing's limited solution count and the plain reference search on
// the same puzzles. The table names the kernel the engine chose for this processor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/baseline/answer.h"
#include "bench/bench_support.h"
#include "core/answer.h"
#include "core/solver_engine.h"
#include "qqwing.hpp"
#include "tests/core/reference_solver.h"

namespace {

const char* const kSets[] = {"forum_hardest_1106", "forum_hardest_1905_sample500",
                             "magictour_top1465", "royle_17clue_sample200", "adversarial"};

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

void BM_Set(benchmark::State& state, const std::string& set, const std::string& method) {
    Results()[{set, method}] = kz::bench::TimeSet(state, ReadSet(set), MethodNamed(method),
                                                  method == "reference_verify" ? 1 : 3);
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
    std::printf(
        "\nPer puzzle, microseconds (middle of 3 passes through the set; reference: 1 pass); %s\n",
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
    // The plain search needs minutes on most sets (that is why the fast one exists).
    const auto tooSlow = [](const std::string& set, const std::string& method) {
        return method == "reference_verify" && set != "adversarial" &&
               set != "royle_17clue_sample200";
    };
    if (!kz::bench::RunSets(argc, argv, kSets, Methods(), BM_Set, tooSlow)) return 1;
    PrintTable();
    return 0;
}
