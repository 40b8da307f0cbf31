// SPDX-License-Identifier: MIT
// Cost per call of the chain, almost-locked-set and forcing finders on the hard public sets.
// From each board's singles-only state, every finder is called in turn and the first step
// found is applied, as the step path does once the easier techniques are stuck; a guess from
// the solution keeps the walk going where none finds anything.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "logic/finders.h"
#include "logic/solver.h"

namespace {

using namespace kz::logic;
using kz::bench::ThreadCpuMicros;

const char* const kSets[] = {"magictour_top1465", "forum_hardest_1106"};

struct Tried {
    const char* name;
    Finder finder;
};
const Tried kFinders[] = {
    {"x_chain", FindXChain}, {"xy_chain", FindXYChain},           {"aic", FindAic},
    {"als_xz", FindAlsXz},   {"forcing_chain", FindForcingChain}, {"forcing_net", FindForcingNet},
};

std::vector<Digits> ReadSet(const std::string& name) {
    std::ifstream in(std::string(KZ_PUZZLE_DIR) + "/" + name + ".txt");
    std::vector<Digits> boards;
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 81 || line[0] == '#') continue;
        Digits d{};
        for (int c = 0; c < 81; ++c) d[c] = line[c] >= '1' && line[c] <= '9' ? line[c] - '0' : 0;
        boards.push_back(d);
    }
    return boards;
}

struct Calls {
    std::vector<double> micros;
    int found = 0;
};

std::map<std::pair<std::string, std::string>, Calls>& Results() {
    static std::map<std::pair<std::string, std::string>, Calls> results;
    return results;
}

void BM_Walk(benchmark::State& state, const std::string& set) {
    const std::vector<Digits> boards = ReadSet(set);
    for (auto _ : state) {
        for (const Digits& board : boards) {
            const std::optional<Digits> solution = UniqueSolution(board);
            if (!solution) continue;
            const Context context{&*solution};
            State s = SolvePath(*State::FromDigits(board), context, 2).end;
            while (!s.Solved()) {
                std::optional<Step> step;
                for (const Tried& tried : kFinders) {
                    const double start = ThreadCpuMicros();
                    tried.finder(s, context, [&](Step&& found) {
                        step = std::move(found);
                        return false;
                    });
                    Calls& calls = Results()[{set, tried.name}];
                    calls.micros.push_back(ThreadCpuMicros() - start);
                    if (step) {
                        ++calls.found;
                        break;
                    }
                }
                if (!step) {
                    FindGuess(s, context, [&](Step&& found) {
                        step = std::move(found);
                        return false;
                    });
                }
                if (!step || !s.Apply(*step)) break;
                s = SolvePath(s, context, 2).end;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(boards.size()));
}

void PrintTable() {
    std::printf("\nPer finder call, microseconds of processor time\n");
    std::printf("%-20s %-14s %8s %7s %9s %9s %9s %9s\n", "set", "finder", "calls", "found",
                "median", "mean", "p99", "worst");
    for (const char* set : kSets) {
        for (const Tried& tried : kFinders) {
            auto it = Results().find({set, tried.name});
            if (it == Results().end() || it->second.micros.empty()) continue;
            std::vector<double>& t = it->second.micros;
            std::sort(t.begin(), t.end());
            const double mean = std::accumulate(t.begin(), t.end(), 0.0) / double(t.size());
            std::printf("%-20s %-14s %8zu %7d %9.1f %9.1f %9.1f %9.1f\n", set, tried.name, t.size(),
                        it->second.found, t[t.size() / 2], mean, t[t.size() * 99 / 100], t.back());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const char* set : kSets) {
        benchmark::RegisterBenchmark((std::string(set) + "/chain_finders").c_str(), BM_Walk,
                                     std::string(set))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    if (!kz::bench::RunRegistered(argc, argv)) return 1;
    PrintTable();
    return 0;
}
