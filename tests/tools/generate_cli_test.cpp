// SPDX-License-Identifier: MIT
// kazarinoset-solve --generate as a user runs it: the lines it prints, checked by the tool's
// own verification, and its answers to bad options.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/tool_run.h"

namespace kz {
namespace {

using test::ToolRun;
using GenerateToolTest = test::ToolTest;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(GenerateToolTest, PrintsUniqueSymmetricPuzzlesAtTheLevelAsked) {
    const ToolRun r = run("--generate 6 --level 2 --symmetry mirror --seed 11 --rate");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string boards, rated;
    std::set<std::string> distinct;
    for (const std::string& line : Lines(r.out)) {
        ASSERT_GT(line.size(), 84u) << line;
        const std::string board = line.substr(0, 81);
        EXPECT_EQ(board.find_first_not_of(".123456789"), std::string::npos) << line;
        for (int c = 0; c < 81; ++c) EXPECT_EQ(board[c] == '.', board[c + 8 - 2 * (c % 9)] == '.');
        EXPECT_EQ(line.substr(81, 3), "\t2\t") << line;
        distinct.insert(board);
        boards += board + "\n";
        rated += line.substr(82) + "\n";
    }
    // The level and the difficulty as --rate gives them for the board, not the inner score.
    std::string expected;
    for (const std::string& line : Lines(run("--rate", boards).out))
        expected += line.substr(0, line.rfind('\t')) + "\n";
    EXPECT_EQ(rated, expected);
    EXPECT_EQ(distinct.size(), 6u);
    // The tool's own verification judges what it made.
    std::string unique;
    for (int i = 0; i < 6; ++i) unique += "1\tunique\n";
    EXPECT_EQ(run("", boards).out, unique);
    // The same seed in the --name=value form gives the same lines; another seed others.
    EXPECT_EQ(run("--generate=6 --level=2 --symmetry=mirror --seed=11 --rate").out, r.out);
    EXPECT_NE(run("--generate 6 --level 2 --symmetry mirror --seed 12 --rate").out, r.out);
}

TEST_F(GenerateToolTest, BadOptionsExplainAndExitTwo) {
    const struct {
        const char* args;
        const char* says;
    } kCases[] = {
        {"--generate", "--generate needs a value"},
        {"--generate 0", "must be 1 to"},
        {"--generate 5x", "must be 1 to"},
        {"--generate 2 --level 7", "--level '7': the level must be 1 to 6"},
        {"--generate 2 --level", "--level needs a value"},
        {"--generate 2 --symmetry spiral", "use none, rot180, rot90, mirror or diagonal"},
        {"--generate 2 --seed -4", "--seed '-4': the seed must be a whole number"},
        {"--level 3", "--level needs --generate N"},
        {"--rate --symmetry rot90", "--symmetry needs --generate N"},
        {"--generate 2 --solve", "--solve does not go with --generate"},
        {"--generate 2 boards.txt", "--generate reads no boards"},
        {"--generate 2 -- -", "--generate reads no boards"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.args);
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace kz
