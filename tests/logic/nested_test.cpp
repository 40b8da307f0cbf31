// SPDX-License-Identifier: MIT
// Nested forcing chains in words, and the budget that bounds their search.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "logic/describe.h"
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

// Whether a branch's last link, "r4c5=3" or "r4c5<>3", gives the step's result: the cell
// placed, or its digit gone (removed, another digit placed in it, or the digit placed in a
// peer).
bool Gives(const std::string& branch, const Step& step) {
    static const std::regex last(R"((r\dc\d)(=|<>)(\d)( \[\d+\])?$)");
    std::smatch m;
    if (!std::regex_search(branch, m, last)) return false;
    const int c = CellOf(m[1]), d = std::stoi(m[3]);
    const bool placed = m[2] == "=";
    if (!step.placements.empty())
        return placed && c == step.placements[0].cell && d == step.placements[0].digit;
    const Elimination e = step.eliminations[0];
    if (!placed) return c == e.cell && d == e.digit;
    return c == e.cell ? d != e.digit : d == e.digit && Sees(c, e.cell);
}

// A nested step in words: its first line names the technique and what it concludes; its inner
// proofs follow, indented and numbered 1..n in order, each referred to by the outer chain,
// which refers to no other; and each branch of a step that starts from several assumptions
// ends in the step's result. Returns the number of such branches.
int CheckWords(const Step& step) {
    int branches = 0;
    for (const Lang lang : {Lang::English, Lang::Japanese}) {
        const std::vector<std::string> lines = Lines(Describe(step, lang));
        const TechniqueInfo& info = Info(step.technique);
        const std::string name(lang == Lang::English ? info.english : info.japanese);
        EXPECT_EQ(lines[0].rfind(name + ": (", 0), 0u) << lines[0];
        const std::string so = lang == Lang::English ? ", so " : "。";
        EXPECT_NE(lines[0].find(so), std::string::npos) << lines[0];
        int proofs = 0;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string head = "    [" + std::to_string(proofs + 1) + "] ";
            if (lines[i].rfind(head, 0) == 0) {
                ++proofs;
            } else {
                // An inner proof's own lines go further in.
                EXPECT_EQ(lines[i].rfind("        ", 0), 0u) << lines[i];
            }
        }
        const std::string outer = lines[0].substr(0, lines[0].find(so));
        std::vector<bool> referred(proofs + 1);
        static const std::regex reference(R"( \[(\d+)\])");
        for (std::sregex_iterator it(outer.begin(), outer.end(), reference), end; it != end; ++it) {
            const int k = std::stoi((*it)[1]);
            EXPECT_TRUE(k >= 1 && k <= proofs) << outer;
            if (k >= 1 && k <= proofs) referred[k] = true;
        }
        for (int k = 1; k <= proofs; ++k) EXPECT_TRUE(referred[k]) << k << ": " << outer;
        if (lang != Lang::English) continue;
        const std::string chain = step.chain.substr(0, step.chain.find('\n'));
        if (chain.find("; ") == std::string::npos) continue;  // one branch: a refutation
        for (std::size_t from = 0, to = 0; to != std::string::npos; from = to + 2) {
            to = chain.find("; ", from);
            const std::string branch = chain.substr(from, to - from);
            EXPECT_TRUE(Gives(branch, step)) << branch;
            ++branches;
        }
    }
    return branches;
}

// The explanation of a hardest puzzle, read to the end, with no guess and rated on the
// community's scale; and the steps on a state of another where a cell's candidates all lead
// to one result.
TEST(Nested, ExplanationOfHardestPuzzlesReadsToTheEnd) {
    const Digits board = test::ReadSet("forum_hardest_1106.txt", 1)[0];
    Path path;
    const Rating rating = Rate(board, &path);
    ASSERT_TRUE(path.solved);
    EXPECT_EQ(rating.counts[static_cast<int>(Technique::Guess)], 0);
    EXPECT_FALSE(rating.outOfBudget);
    // The hardest puzzles are rated 10 to 12.
    EXPECT_GE(rating.difficulty, 100);
    EXPECT_LE(rating.difficulty, 120);
    int nested = 0;
    for (const Step& step : path.steps) {
        if (!Nested(step.technique)) continue;
        ++nested;
        CheckWords(step);
    }
    EXPECT_GT(nested, 0);

    const Digits other = test::ReadSet("forum_hardest_1905_sample500.txt", 8)[7];
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
