// SPDX-License-Identifier: MIT
// The command-line checker as a user runs it: output lines, messages and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/fileio.h"
#include "tools/solve/boardline.h"
#include "tools/tool_run.h"

namespace kz {
namespace {

const std::string kUnique =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const std::string kUniqueSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
const std::string kNone =
    "240587910001602000500941000758000030306058009104060578000875000070400362010026785";
const std::string kEmpty(81, '0');
const std::string kEmptySmallest =
    "123456789456789123789123456214365897365897214897214365531642978642978531978531642";
const std::string kClash = "55" + std::string(79, '.');

using test::ToolRun;
using SolveToolTest = test::ToolTest;

TEST_F(SolveToolTest, VerifiesEveryBoardInInputOrder) {
    const std::string list =
        "# a comment\n\n  " + kUnique + "  \r\n" + kClash + "\n" + kNone + "\n\t" + kEmpty + "\n";
    const std::string expected = "1\tunique\n-1\tcontradiction\n0\tnone\n2\tmultiple\n";
    const auto file = write("boards.txt", list);
    for (const std::string& args : {"'" + file + "'", std::string(), std::string("-")}) {
        SCOPED_TRACE(args);
        const ToolRun r = run(args, list);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, expected);
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(SolveToolTest, SolvePrintsSmallestCompletionOrDash) {
    const ToolRun r = run("--solve", kUnique + "\n" + kNone + "\n" + kEmpty + "\n" + kClash + "\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kUniqueSolution + "\n-\n" + kEmptySmallest + "\n-\n");
}

TEST_F(SolveToolTest, MalformedLinesPrintErrorInPlaceAndExitOne) {
    const auto file = write("bad.txt", kUnique + "\n" + kUnique.substr(1) + "\nx" +
                                           kUnique.substr(1) + "\n" + kEmpty + "\n");
    const ToolRun r = run("'" + file + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1\tunique\nerror\nerror\n2\tmultiple\n");
    EXPECT_NE(r.err.find(file + ":2:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(file + ":3:"), std::string::npos) << r.err;
}

TEST_F(SolveToolTest, OverlongLineIsOneErrorAndReadingGoesOn) {
    const auto file = write("long.txt", std::string(200'000, '1') + "\n" + kUnique + "\n");
    const ToolRun r = run("'" + file + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error\n1\tunique\n");
    EXPECT_NE(r.err.find(file + ":1:"), std::string::npos) << r.err;
}

TEST_F(SolveToolTest, ReadsProblemFiles) {
    ValueArray16 values{};
    for (int n = 1; n <= kCellCount; ++n) {
        values[n] = static_cast<std::int16_t>(kUnique[n - 1] == '.' ? 0 : kUnique[n - 1] - '0');
    }
    const auto good = write("problem.csv", FormatProblem(values));
    const auto bad = write("broken.csv", "1,2,3\r\n");
    const auto list = write("list.txt", kEmpty + "\n");
    const ToolRun r = run("'" + good + "' '" + list + "' '" + bad + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1\tunique\n2\tmultiple\nerror\n");
    EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;

    const ToolRun s = run("--solve '" + good + "'");
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.out, kUniqueSolution + "\n");
}

TEST_F(SolveToolTest, UnreadableFilesAndWrongOptionsExitTwo) {
    const auto list = write("list.txt", kUnique + "\n");
    const auto missing = (m_dir / "missing.txt").string();
    struct Case {
        std::string args;
        std::string out;
        std::string inErr;
    };
    const Case cases[] = {
        {"'" + missing + "' '" + list + "'", "1\tunique\n", missing},
        {"'" + (m_dir / "missing.csv").string() + "'", "", "missing.csv"},
        {"'" + m_dir.string() + "'", "", "directory"},
        {"--bogus '" + list + "'", "", "--bogus"},
        {"-x", "", "-x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, c.out);
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    }
}

TEST_F(SolveToolTest, HelpExplainsOptionsFormatsAndStatus) {
    const ToolRun r = run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"--solve", ".csv", "contradiction", "multiple", "Exit status"}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
}

TEST(BoardLineTest, ClassifiesLines) {
    const std::string digits = kUnique;
    struct Case {
        std::string line;
        BoardLineKind kind;
    };
    const Case cases[] = {
        {"", BoardLineKind::Skip},
        {" \t\r", BoardLineKind::Skip},
        {"# " + digits, BoardLineKind::Skip},
        {"  #x", BoardLineKind::Skip},
        {digits, BoardLineKind::Board},
        {" " + digits + "\r", BoardLineKind::Board},
        {kEmpty, BoardLineKind::Board},
        {digits.substr(1), BoardLineKind::Malformed},
        {digits + "1", BoardLineKind::Malformed},
        {digits.substr(0, 40) + " " + digits.substr(41), BoardLineKind::Malformed},
        {digits.substr(0, 80) + "a", BoardLineKind::Malformed},
        {digits.substr(0, 80) + "-", BoardLineKind::Malformed},
    };
    for (const Case& c : cases) {
        ValueArray16 values{};
        values[1] = 7;
        EXPECT_EQ(ParseBoardLine(c.line, values), c.kind) << c.line;
        if (c.kind != BoardLineKind::Board) {
            EXPECT_EQ(values[1], 7) << c.line;
        }
    }
    ValueArray16 values{};
    ASSERT_EQ(ParseBoardLine(digits, values), BoardLineKind::Board);
    EXPECT_EQ(values[1], 5);
    EXPECT_EQ(values[3], 0);
    EXPECT_EQ(values[81], 9);
}

}  // namespace
}  // namespace kz
