// SPDX-License-Identifier: MIT
// The chain searches report exactly what they always did: every step, its chain text and its
// order, in batch and first-step use, along the paths of hard boards. Digests of the reports
// were recorded from the straightforward search the current one replaced, so any change to
// the graph, the node numbering or the breadth-first order shows here. They were recorded
// again, from the same search, when the paths began to take the wings before the chains.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

struct Digest {
    std::uint64_t hash = 14695981039346656037u;
    int steps = 0;

    void Add(std::int64_t value) {
        for (int k = 0; k < 8; ++k) {
            hash = (hash ^ static_cast<std::uint8_t>(value >> (8 * k))) * 1099511628211u;
        }
    }
    void Add(const std::string& text) {
        Add(static_cast<std::int64_t>(text.size()));
        for (char ch : text) Add(ch);
    }
    void Add(const Step& step) {
        ++steps;
        Add(static_cast<int>(step.technique));
        for (auto c : step.cells) Add(c);
        for (auto u : step.units) Add(100 + u);
        for (auto d : step.digits) Add(200 + d);
        for (const Elimination& e : step.eliminations) Add(1000 + e.cell * 10 + e.digit);
        for (const Placement& p : step.placements) Add(2000 + p.cell * 10 + p.digit);
        Add(step.chain);
    }
};

// Every state along a board's path, the board's own first. The paths are those the digests
// were recorded on: a budget that runs out at once leaves the nested chains out, and the
// board to the guess it took then.
std::vector<State> PathStates(const Digits& board) {
    Path path;
    Rate(board, &path, 1);
    std::vector<State> states{*State::FromDigits(board)};
    for (const Step& step : path.steps) {
        states.push_back(states.back());
        states.back().Apply(step);
    }
    return states;
}

// Reports of one finder on one state, first the whole search, then only its first step.
void Report(Finder finder, const State& state, Digest& digest) {
    for (bool batch : {true, false}) {
        finder(state, {}, [&](Step&& step) {
            digest.Add(step);
            return batch;
        });
        digest.Add(-1);
    }
}

TEST(ChainSearch, ReportsMatchTheRecordedSearch) {
    struct Row {
        const char* set;
        Technique technique;
        Finder finder;
        int steps;
        std::uint64_t hash;
    };
    const Row rows[] = {
        {"forum_hardest_1905_sample500.txt", Technique::XChain, FindXChain, 1708,
         10486742945968862344u},
        {"forum_hardest_1905_sample500.txt", Technique::XYChain, FindXYChain, 2142,
         12651939215228512284u},
        {"forum_hardest_1905_sample500.txt", Technique::Aic, FindAic, 14179, 17942269266034153038u},
        {"magictour_top1465.txt", Technique::XChain, FindXChain, 1965, 6519712823415548396u},
        {"magictour_top1465.txt", Technique::XYChain, FindXYChain, 1094, 11488698237792902137u},
        {"magictour_top1465.txt", Technique::Aic, FindAic, 13431, 3318762890846188858u},
        // Sparse boards, whose first states hold the most candidates.
        {"royle_17clue_sample200.txt", Technique::XChain, FindXChain, 2264, 7233090720650381443u},
        {"royle_17clue_sample200.txt", Technique::XYChain, FindXYChain, 442, 10456749720472557849u},
        {"royle_17clue_sample200.txt", Technique::Aic, FindAic, 12781, 15869110249582296130u},
    };
    for (const Row& row : rows) {
        Digest digest;
        for (const Digits& board : test::ReadSet(row.set, 12)) {
            for (const State& state : PathStates(board)) Report(row.finder, state, digest);
        }
        EXPECT_EQ(digest.steps, row.steps) << row.set << ' ' << Info(row.technique).english;
        EXPECT_EQ(digest.hash, row.hash) << row.set << ' ' << Info(row.technique).english;
    }
}

// A search keeps its work per thread between calls, and a sink may start another search
// before the first one ends: neither may see what the other left behind.
TEST(ChainSearch, NestedAndRepeatedSearchesAgree) {
    std::vector<State> states;
    for (const Digits& board : test::ReadSet("forum_hardest_1905_sample500.txt", 3)) {
        for (const State& state : PathStates(board)) states.push_back(state);
    }
    for (Finder finder : {FindXChain, FindXYChain, FindAic}) {
        std::vector<std::uint64_t> alone;
        for (const State& state : states) {
            Digest digest;
            Report(finder, state, digest);
            alone.push_back(digest.hash);
        }
        for (std::size_t i = 0; i < states.size(); ++i) {
            // Each report of one state runs the whole search of the next, from the sink.
            const std::size_t next = (i + 1) % states.size();
            Digest outer;
            for (bool batch : {true, false}) {
                finder(states[i], {}, [&](Step&& step) {
                    Digest inner;
                    Report(finder, states[next], inner);
                    EXPECT_EQ(inner.hash, alone[next]) << "nested in state " << i;
                    outer.Add(step);
                    return batch;
                });
                outer.Add(-1);
            }
            EXPECT_EQ(outer.hash, alone[i]) << "state " << i;
        }
    }
}

}  // namespace
}  // namespace kz::logic
