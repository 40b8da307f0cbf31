// SPDX-License-Identifier: MIT
// Nested forcing chains in words, and the budget that bounds their search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>

#include "logic/describe.h"
#include "logic/finders.h"
#include "logic/proof.h"
#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

bool Nested(Technique t) {
    return t >= Technique::ForcingChainPlus && t < Technique::Guess;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int CellOf(const std::string& name) {
    return (name[1] - '1') * 9 + name[3] - '1';
}

// Whether a branch's last link, "r4c5=3" or "r4c5<>38, r4c6<>3 [2]", gives the step's result:
// the cell placed, or its digit gone (removed, another digit placed in it, or the digit placed
// in a peer).
bool Gives(const std::string& branch, const Step& step) {
    const std::string link = branch.substr(branch.rfind(" => ") + 4);
    // Read by hand: std::regex trips a false "maybe uninitialized" in the sanitizer build.
    const auto digit = [&link](std::size_t i) {
        return i < link.size() && std::isdigit(static_cast<unsigned char>(link[i]));
    };
    for (std::size_t i = 0; (i = link.find('r', i)) != std::string::npos; ++i) {
        if (!digit(i + 1) || link.compare(i + 2, 1, "c") != 0 || !digit(i + 3)) continue;
        const int c = CellOf(link.substr(i, 4));
        const bool placed = link.compare(i + 4, 1, "=") == 0;
        if (!placed && link.compare(i + 4, 2, "<>") != 0) continue;
        std::string digits;
        for (std::size_t j = i + (placed ? 5 : 6); digit(j); ++j) digits += link[j];
        for (char ch : digits) {
            const int d = ch - '0';
            if (!step.placements.empty()) {
                if (placed && c == step.placements[0].cell && d == step.placements[0].digit)
                    return true;
                continue;
            }
            const Elimination e = step.eliminations[0];
            if (!placed       ? c == e.cell && d == e.digit
                : c == e.cell ? d != e.digit
                              : d == e.digit && Sees(c, e.cell))
                return true;
        }
    }
    return false;
}

// A nested step in words: its first line names the technique and what it concludes; its
// branches follow a line each, each with the inner proofs it first refers to, indented and
// numbered on; every proof is referred to, none that is not written, and none written twice; each
// branch of a step that starts from several assumptions ends in the step's result. Returns the
// number of such branches.
int CheckWords(const Step& step) {
    int branches = 0;
    for (const Lang lang : {Lang::English, Lang::Japanese}) {
        const std::vector<std::string> lines = Lines(Describe(step, lang));
        const TechniqueInfo& info = Info(step.technique);
        const std::string name(lang == Lang::English ? info.english : info.japanese);
        EXPECT_EQ(lines[0].rfind(name + ": ", 0), 0u) << lines[0];
        int proofs = 0;
        std::vector<bool> referred(1);
        std::vector<std::string> outer, texts;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            const std::string head = "      [" + std::to_string(proofs + 1) + "] ";
            if (line.rfind("  (", 0) == 0) {
                outer.push_back(line.substr(2));
                // Its contradiction is told in the reader's language.
                if (lang == Lang::Japanese) {
                    EXPECT_EQ(line.find(" has no "), std::string::npos) << line;
                    EXPECT_EQ(line.find(" cannot be "), std::string::npos) << line;
                }
                for (std::size_t at = 0; (at = line.find(" [", at)) != std::string::npos;) {
                    at += 2;
                    const std::size_t close = line.find(']', at);
                    const std::string number = line.substr(at, close - at);
                    if (close == std::string::npos || number.empty() ||
                        number.find_first_not_of("0123456789") != std::string::npos)
                        continue;
                    const std::size_t k = std::stoul(number);
                    if (k >= referred.size()) referred.resize(k + 1);
                    referred[k] = true;
                }
            } else if (line.rfind(head, 0) == 0) {
                ++proofs;
                texts.push_back(line.substr(head.size()));
                // A proof by a technique is named in the reader's language.
                for (int t = 0; lang == Lang::Japanese && t < kTechniqueCount; ++t) {
                    const std::string english(Info(static_cast<Technique>(t)).english);
                    EXPECT_NE(texts.back().rfind(english + " ", 0), 0u) << line;
                }
            } else {
                // An inner proof's own lines go further in.
                EXPECT_EQ(line.rfind("          ", 0), 0u) << line;
            }
        }
        EXPECT_FALSE(outer.empty()) << lines[0];
        EXPECT_EQ(referred.size(), static_cast<std::size_t>(proofs) + 1) << lines[0];
        for (int k = 1; k <= proofs && k < static_cast<int>(referred.size()); ++k)
            EXPECT_TRUE(referred[k]) << k << ": " << lines[0];
        std::sort(texts.begin(), texts.end());
        EXPECT_EQ(std::adjacent_find(texts.begin(), texts.end()), texts.end()) << lines[0];
        if (lang != Lang::English || outer.size() < 2) continue;  // one branch: a refutation
        for (const std::string& branch : outer) {
            EXPECT_TRUE(Gives(branch, step)) << branch;
            ++branches;
        }
    }
    return branches;
}

// A spread sample of both hardest lists, as CI can afford it (the whole lists are the
// benchmark's): each rated with no guess and within the community's 10 to 12, every step of
// its path holding against the solution, every nested step in words read to the end; and the
// steps on a state of another where a cell's candidates all lead to one result.
TEST(Nested, ExplanationOfHardestPuzzlesReadsToTheEnd) {
    int nested = 0;
    for (const auto& [set, stride] : {std::pair{"forum_hardest_1106.txt", 47},
                                      std::pair{"forum_hardest_1905_sample500.txt", 61}}) {
        const std::vector<Digits> boards = test::ReadSet(set);
        for (std::size_t i = 0; i < boards.size(); i += stride) {
            Path path;
            const Rating rating = Rate(boards[i], &path);
            ASSERT_TRUE(path.solved) << set << ' ' << i;
            EXPECT_EQ(rating.counts[static_cast<int>(Technique::Guess)], 0) << set << ' ' << i;
            EXPECT_FALSE(rating.outOfBudget);
            EXPECT_GE(rating.difficulty, 100) << set << ' ' << i;
            EXPECT_LE(rating.difficulty, 120) << set << ' ' << i;
            const std::optional<Digits> solution = UniqueSolution(boards[i]);
            ASSERT_TRUE(solution);
            for (const Step& step : path.steps) {
                for (const Placement& p : step.placements)
                    EXPECT_EQ((*solution)[p.cell], p.digit) << Describe(step, Lang::English);
                for (const Elimination& e : step.eliminations)
                    EXPECT_NE((*solution)[e.cell], e.digit) << Describe(step, Lang::English);
                if (!Nested(step.technique)) continue;
                ++nested;
                CheckWords(step);
            }
            ASSERT_FALSE(::testing::Test::HasFailure()) << set << ' ' << i;
        }
    }
    EXPECT_GT(nested, 0);

    const Digits other = test::ReadSet("forum_hardest_1905_sample500.txt", 8)[7];
    Path path;
    Rate(other, &path);
    std::optional<State> state = State::FromDigits(other);
    for (const Step& step : path.steps) {
        if (Nested(step.technique)) break;
        state->Apply(step);
    }
    int branches = 0;
    FindNestedForcingChain(*state, {}, [&](Step&& step) {
        branches += CheckWords(step);
        return true;
    });
    EXPECT_GT(branches, 0);
}

// A removal that rests on an inner proof holds on the board its premises leave: there a basic
// technique's finder meets its pattern again and takes the removal, and every candidate a
// forcing proof needs gone is gone. At every depth, on the state where two paths first nest.
TEST(Nested, EachInnerProofHoldsOnTheBoardItsPremisesLeave) {
    int inner = 0;
    for (const Digits& board : {test::ReadSet("forum_hardest_1106.txt", 1)[0],
                                test::ReadSet("forum_hardest_1905_sample500.txt", 8)[7]}) {
        Path path;
        Rate(board, &path);
        std::optional<State> state = State::FromDigits(board);
        for (std::size_t i = 0; !Nested(path.steps.at(i).technique); ++i)
            state->Apply(path.steps[i]);
        for (const Technique t : {Technique::ForcingChainPlus, Technique::NestedForcingChain,
                                  Technique::NestedMultipleChain, Technique::NestedDynamicChain}) {
            int steps = 0;
            FinderOf(t)(*state, {}, [&](Step&& step) {
                EXPECT_TRUE(step.proof) << Describe(step, Lang::English);
                if (!step.proof) return false;
                const Proof& p = *step.proof;
                for (const ProofBranch& b : p.branches) {
                    for (const ProofFact& f : b.facts) {
                        if (f.because != Because::Inner) continue;
                        ++inner;
                        State there = *state;
                        for (std::int16_t k : f.premises)
                            there.Eliminate(b.facts[k].cells.First(), b.facts[k].digit);
                        const Step& by = p.innerSteps.at(f.inner);
                        const Elimination gone{static_cast<std::int8_t>(f.cells.First()), f.digit};
                        const auto takes = [&](const Step& s) {
                            return std::find(s.eliminations.begin(), s.eliminations.end(), gone) !=
                                       s.eliminations.end() ||
                                   std::any_of(s.placements.begin(), s.placements.end(),
                                               [&](Placement q) {
                                                   return q.cell == gone.cell && q.digit != f.digit;
                                               });
                        };
                        bool holds = false;
                        if (by.proof) {
                            holds = takes(by);
                            for (const Placement& a : NeededAbsent(p.inners.at(f.inner)))
                                holds = holds && !there.Has(a.cell, a.digit);
                        } else {
                            FinderOf(by.technique)(there, {}, [&](Step&& again) {
                                holds = again.units == by.units && again.digits == by.digits &&
                                        takes(again);
                                return !holds;
                            });
                        }
                        EXPECT_TRUE(holds) << Describe(step, Lang::English);
                    }
                }
                return ++steps < 4;
            });
        }
    }
    EXPECT_GT(inner, 0);
}

// A search that runs out of its budget leaves the board to a guess that says so, in both
// languages, and the rating reports it; the path stays whole and sound.
TEST(Nested, ABudgetRunOutEndsInAGuessThatSaysSo) {
    const Digits board = test::ReadSet("forum_hardest_1905_sample500.txt", 1)[0];
    const std::optional<Digits> solution = UniqueSolution(board);
    ASSERT_TRUE(solution);
    Path path;
    const Rating rating = Rate(board, &path, 1000);
    ASSERT_TRUE(path.solved);
    EXPECT_EQ(path.end.Values(), *solution);
    EXPECT_TRUE(rating.outOfBudget);
    EXPECT_EQ(rating.hardest, Technique::Guess);
    const auto guess = std::find_if(path.steps.begin(), path.steps.end(),
                                    [](const Step& s) { return s.technique == Technique::Guess; });
    ASSERT_NE(guess, path.steps.end());
    EXPECT_NE(Describe(*guess, Lang::English).find("ran out of its budget"), std::string::npos);
    EXPECT_NE(Describe(*guess, Lang::Japanese).find("上限"), std::string::npos);
    EXPECT_EQ(Describe(*guess, Lang::English).find("[budget]"), std::string::npos);
}

}  // namespace
}  // namespace kz::logic
