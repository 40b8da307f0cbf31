// SPDX-License-Identifier: MIT
// A chain step link by link, as a player checks it on the board the step applies to.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "logic/hint.h"
#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every chain step on the paths of hard boards, in both languages: an alternating chain gives
// each link with the reason it holds on the board shown (a strong link that does not hold
// there has none) and both ends; a forcing step one assumption per branch, a reason for every
// fact, and the contradiction or the common result it reaches. Each kind comes up.
TEST(ChainLinks, EveryLinkOfEveryChainHasItsReasonOnTheBoardShown) {
    int alternating = 0, dynamic = 0, refuted = 0, branching = 0;
    for (const char* set : {"forum_hardest_1106.txt", "magictour_top1465.txt"}) {
        for (const Digits& board : test::ReadSet(set, 8)) {
            Path path;
            Rate(board, &path);
            State state = *State::FromDigits(board);
            for (const Step& step : path.steps) {
                const int links =
                    static_cast<int>(std::count_if(step.chain.begin(), step.chain.end(),
                                                   [](char ch) { return ch == '=' || ch == '-'; }));
                const int branches =
                    1 + static_cast<int>(std::count(step.chain.begin(), step.chain.end(), ';'));
                const bool forcing = step.technique == Technique::ForcingChain ||
                                     step.technique == Technique::ForcingNet;
                const bool chain = forcing || step.technique == Technique::XChain ||
                                   step.technique == Technique::XYChain ||
                                   step.technique == Technique::Aic;
                // The grid shows every cell the chain passes through: an alternating chain's
                // pattern, a forcing step's conclusion (each branch's end, or the refuted start).
                if (chain) {
                    const std::vector<int> passed = ChainCells(step);
                    std::vector<int> shown(step.cells.begin(), step.cells.end());
                    if (forcing) {
                        shown.clear();
                        for (const Elimination& e : step.eliminations) shown.push_back(e.cell);
                        for (const Placement& p : step.placements) shown.push_back(p.cell);
                    }
                    for (int c : shown)
                        EXPECT_NE(std::find(passed.begin(), passed.end(), c), passed.end())
                            << step.chain;
                }
                for (const Lang lang : {Lang::English, Lang::Japanese}) {
                    const bool en = lang == Lang::English;
                    const std::vector<std::string> lines = ChainLinks(step, state, lang);
                    if (!chain) {
                        // A nested chain's words come with its own lines (the nested tests).
                        const bool nested = step.technique >= Technique::ForcingChainPlus &&
                                            step.technique <= Technique::NestedDynamicChain;
                        EXPECT_TRUE(lines.empty() || step.technique == Technique::AlsXz || nested);
                        continue;
                    }
                    SCOPED_TRACE(step.chain);
                    if (!forcing) {
                        // One line a link, one for the end.
                        ASSERT_EQ(static_cast<int>(lines.size()), links + 1);
                        for (std::size_t k = 0; k + 1 < lines.size(); ++k)
                            EXPECT_TRUE(Has(lines[k], en ? ": " : "：")) << lines[k];
                        alternating += en;
                        continue;
                    }
                    // A supposition a branch; every later fact with its reason, the refuted
                    // branch's contradiction named, then what the step concludes.
                    int assumed = 0;
                    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
                        if (Has(lines[k], en ? "Suppose " : "仮定します")) {
                            ++assumed;
                            continue;
                        }
                        EXPECT_TRUE(Has(lines[k], en ? ": " : "：")) << lines[k];
                        // A fact resting on two earlier facts or more: its own number and theirs.
                        dynamic += en && std::count(lines[k].begin(), lines[k].end(), '(') > 2;
                    }
                    EXPECT_EQ(assumed, branches);
                    const std::string& end = lines.back();
                    if (branches == 1) {
                        EXPECT_TRUE(
                            Has(lines[lines.size() - 2], en ? "contradiction: " : "矛盾です："))
                            << lines[lines.size() - 2];
                        EXPECT_TRUE(Has(end, en ? "supposition is false" : "仮定は誤り")) << end;
                        refuted += en;
                    } else {
                        EXPECT_TRUE(Has(end, en ? "Every case ends in" : "どの場合も")) << end;
                        branching += en;
                    }
                }
                state.Apply(step);
            }
            if (alternating && dynamic && refuted && branching) return;
        }
    }
    EXPECT_GT(alternating, 0);
    EXPECT_GT(dynamic, 0);
    EXPECT_GT(refuted, 0);
    EXPECT_GT(branching, 0);
}

}  // namespace
}  // namespace kz::logic
