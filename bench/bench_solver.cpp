// SPDX-License-Identifier: MIT
// Times VerifyProblem and SolveBoard per puzzle on the public sets, on the kernel the engine chose
// for this processor and on the portable one, next to qqwing's limited solution count and the
// plain reference search on the same puzzles.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

// The kernel the engine picked on its own, before any method switches it.
kz::engine::CodePath ChosenPath() {
    static const kz::engine::CodePath chosen = kz::engine::ActiveCodePath();
    return chosen;
}

// A call on the portable kernel, what a processor without the wider instructions gets.
template <bool (*Call)(const kz::ValueArray16&)>
bool OnPortable(const kz::ValueArray16& v) {
    kz::engine::SelectCodePath(kz::engine::CodePath::Portable);
    Call(v);
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

// In table order; "portable" is the same call on the portable kernel, left out when that is the
// kernel chosen anyway.
const std::vector<std::pair<std::string, Method>>& Methods() {
    static const std::vector<std::pair<std::string, Method>> methods = [] {
        const bool portableToo = ChosenPath() != kz::engine::CodePath::Portable;
        std::vector<std::pair<std::string, Method>> m = {{"verify", KzVerify}};
        if (portableToo) m.emplace_back("verify_portable", OnPortable<KzVerify>);
        m.emplace_back("solve", KzSolve);
        if (portableToo) m.emplace_back("solve_portable", OnPortable<KzSolve>);
        m.insert(m.end(), {{"qqwing_count", QqwingCount}, {"reference_verify", ReferenceVerify}});
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
void PrintRatio(const std::string& set, const std::string& a, const Stats& b, int width) {
    const auto it = Results().find({set, a});
    if (it == Results().end() || !it->second.finished || b.median <= 0) {
        std::printf(" %*s", width, "");
        return;
    }
    std::printf(" %*.2fx", width - 1, it->second.median / b.median);
}

void PrintTable() {
    std::printf(
        "\nPer puzzle, microseconds (middle of 3 passes through the set; reference: 1 pass); %s\n",
        PathSummary().c_str());
    std::printf("%-30s %-17s %10s %10s %10s %16s %14s\n", "set", "method", "median", "mean",
                "worst", "portable/this md", "qqwing/this md");
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
            // The portable kernel against the chosen one, qqwing against either of ours.
            if (method == "verify" || method == "solve") {
                PrintRatio(set, method + "_portable", s, 16);
            } else {
                std::printf(" %16s", "");
            }
            if (method.rfind("verify", 0) == 0 || method.rfind("solve", 0) == 0) {
                PrintRatio(set, "qqwing_count", s, 14);
            }
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
