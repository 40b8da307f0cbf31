// SPDX-License-Identifier: MIT
// The command-line checker as a user runs it: output lines, messages and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "files/fileio.h"
#include "generate/generator.h"
#include "print/booklet.h"
#include "print/layout.h"
#include "support/pdfread.h"
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
    // A picture saved under the problem-file extension: its bytes are no board at all.
    const auto picture = write(
        "picture.csv", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\r\n", 18) + std::string(9, '\n'));
    const ToolRun r = run("'" + good + "' '" + list + "' '" + bad + "' '" + picture + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1\tunique\n2\tmultiple\nerror\nerror\n");
    EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(picture), std::string::npos) << r.err;

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
        {"--tiles '" + list + "'", "", "--pdf only"},
        {"--pdf out.pdf --per-page 3 '" + list + "'", "", "1, 2, 4 or 6"},
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
    // Asked for in any mode, even after a wrong option, it is the same help.
    for (const char* args : {"--generate 3 --help", "--explain --lang fr -h", "--bogus --help",
                             "--rate --level=9 --help"}) {
        SCOPED_TRACE(args);
        const ToolRun again = run(args);
        EXPECT_EQ(again.status, 0);
        EXPECT_EQ(again.out, r.out);
        EXPECT_EQ(again.err, "");
    }
}

// The installed manual page must not fall behind the tool: the same options, both ways, and
// every symmetry the generator offers.
TEST_F(SolveToolTest, ManPageHasEveryOptionOfTheHelp) {
    const std::string help = run("--help").out;
    const std::string man = test::slurp(KZ_SOLVE_MAN_PAGE);
    // A scan, not std::regex: the sanitized GCC build warns inside <regex>, and warnings fail it.
    auto options = [](const std::string& text, const std::string& dashes) {
        std::set<std::string> found;
        for (std::size_t at = text.find(dashes); at != std::string::npos;
             at = text.find(dashes, at + 1)) {
            std::size_t end = at + dashes.size();
            while (end < text.size() && text[end] >= 'a' && text[end] <= 'z') ++end;
            if (end > at + dashes.size())
                found.insert(text.substr(at + dashes.size(), end - at - dashes.size()));
        }
        return found;
    };
    const std::set<std::string> inHelp = options(help, "--");
    EXPECT_TRUE(inHelp.count("generate") && inHelp.count("help")) << help;
    EXPECT_EQ(options(man, R"(\-\-)"), inHelp);
    for (const generate::SymmetryInfo& row : generate::kSymmetries) {
        EXPECT_NE(man.find("\n.B " + std::string(row.name) + "\n"), std::string::npos) << row.name;
    }
}

TEST_F(SolveToolTest, OutputThatCannotBeWrittenIsAnError) {
    for (const char* args : {"", "--rate", "--explain", "--generate 5 --seed 1", "--help"}) {
        SCOPED_TRACE(args);
        const ToolRun r = run(std::string(args) + " >/dev/full", kUnique + "\n");
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(SolveToolTest, RatePrintsLevelDifficultyAndHardestTechnique) {
    // A board of hidden singles, a 17-clue board that needs locked candidates, boards without
    // one solution, a malformed line and a complete board.
    const std::string pointing =
        "..............1.23.45.6............4...7.....1..2.85......4...7..3......2......8.";
    const std::string input = kUnique + "\n" + pointing + "\n" + kNone + "\n" + kEmpty + "\n" +
                              kClash + "\nx\n" + kUniqueSolution + "\n";
    const ToolRun r = run("--rate", input);
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 7u) << r.out;
    EXPECT_TRUE(lines[0] == "1\t1.2\tHidden Single" || lines[0] == "1\t1.5\tHidden Single")
        << lines[0];
    EXPECT_TRUE(lines[1] == "3\t2.6\tLocked Candidates (Pointing)" ||
                lines[1] == "3\t2.8\tLocked Candidates (Claiming)")
        << lines[1];
    EXPECT_EQ(lines[2], "0\tnone");
    EXPECT_EQ(lines[3], "2\tmultiple");
    EXPECT_EQ(lines[4], "-1\tcontradiction");
    EXPECT_EQ(lines[5], "error");
    EXPECT_EQ(lines[6], "1\t0.0\t-");
}

TEST_F(SolveToolTest, ExplainPrintsEveryStepThenTheSolution) {
    // Solved by singles, the board takes one line per blank cell.
    const int blanks = static_cast<int>(std::count(kUnique.begin(), kUnique.end(), '.'));
    struct Case {
        std::string args;
        std::vector<std::string> names;
        std::string cellMark;  ///< in every cell name
    };
    const std::vector<std::string> english = {"Full House: ", "Hidden Single: ", "Naked Single: "};
    const Case cases[] = {
        {"--explain", english, "r"},
        {"--explain --lang en", english, "r"},
        {"--lang=ja --explain",
         {"フルハウス: ", "ヒドゥンシングル: ", "ネイキッドシングル: "},
         "行"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const ToolRun r = run(c.args, kUnique + "\n" + kEmpty + "\n");
        EXPECT_EQ(r.status, 0);
        const std::vector<std::string> lines = Lines(r.out);
        ASSERT_EQ(static_cast<int>(lines.size()), blanks + 2) << r.out;
        for (int i = 0; i < blanks; ++i) {
            EXPECT_TRUE(std::any_of(c.names.begin(), c.names.end(), [&](const std::string& n) {
                return lines[i].rfind(n, 0) == 0;
            })) << lines[i];
            EXPECT_NE(lines[i].find(c.cellMark), std::string::npos) << lines[i];
        }
        EXPECT_EQ(lines[blanks], kUniqueSolution);
        EXPECT_EQ(lines[blanks + 1], "2\tmultiple");
    }
}

TEST_F(SolveToolTest, WrongRatingOptionsExitTwoWithAClearMessage) {
    const std::pair<std::string, std::string> cases[] = {
        {"--explain --lang fr", "'fr'"},
        {"--explain --lang", "needs a value"},
        {"--rate --solve", "cannot be used together"},
        {"--explain --rate", "cannot be used together"},
        {"--rate --lang ja", "--explain only"},
        {"--rate=yes", "takes no value"},
    };
    for (const auto& [args, inErr] : cases) {
        SCOPED_TRACE(args);
        const ToolRun r = run(args, kUnique + "\n");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(inErr), std::string::npos) << r.err;
    }
    const ToolRun help = run("--help");
    for (const char* word : {"--rate", "--explain", "--lang en|ja", "level"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
}

TEST_F(SolveToolTest, HintNamesMistakesThenTheStepExplainWouldTake) {
    // A board half played, one digit wrong; notes where r5c7 lost its solution digit.
    std::string half = kUnique;
    for (std::size_t c = 0; c < 40; ++c) half[c] = kUniqueSolution[c];
    std::string wrong = half;
    wrong[1] = wrong[1] == '9' ? '1' : static_cast<char>(wrong[1] + 1);
    std::string notes, all;
    for (std::size_t c = 0; c < 81; ++c) {
        all += kUnique[c] == '.' ? "123456789" : ".........";
        notes += c == 42 ? std::string(9, '.') : all.substr(9 * c, 9);
    }
    notes[9 * 42 + 2] = '3';  // r5c7 keeps a note that is not its digit
    const std::string explain = Lines(run("--explain", half + "\n").out).at(0);
    const std::string input = kUnique + " " + half + "\n" + kUnique + " " + wrong + " " + notes +
                              "\n" + kUnique + " " + half + " " + notes + "\n" + kUnique + " " +
                              kUnique + " " + all + "\n" + kUnique + " " + kUniqueSolution + "\n" +
                              kEmpty + " " + kUnique + "\n" + kUnique + "\n" + kUnique + " " +
                              kUnique + " " + all.substr(1) + "x\n";
    const ToolRun r = run("--hint", input);
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 8u) << r.out;
    EXPECT_EQ(lines[0], explain);
    EXPECT_EQ(lines[1], "wrong r1c2");
    EXPECT_EQ(lines[2], std::string("missing r5c7#") + kUniqueSolution[42]);
    EXPECT_EQ(lines[3], Lines(run("--explain", kUnique + "\n").out).at(0));
    EXPECT_EQ(lines[4], "solved");
    EXPECT_EQ(lines[5], "2\tmultiple");
    EXPECT_EQ(lines[6], "error");
    EXPECT_EQ(lines[7], "error");
    EXPECT_NE(r.err.find("<stdin>:7:"), std::string::npos) << r.err;
    const ToolRun ja = run("--hint --lang ja", kUnique + " " + kUnique + "\n");
    EXPECT_EQ(ja.out, Lines(run("--explain --lang ja", kUnique + "\n").out).at(0) + "\n");
    EXPECT_NE(run("--help").out.find("--hint"), std::string::npos);
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

namespace kz {
namespace {

class PdfToolTest : public test::ToolTest {
protected:
    void SetUp() override {
        test::ToolTest::SetUp();
#ifndef KZ_PDF_WRITER_BUILT
        GTEST_SKIP() << "built without Qt: no PDF writer";
#endif
    }
};

// Made from a pipe as the manual shows it; a board without one solution and a malformed line
// on the way are named and left out, and the rest still make their booklet.
TEST_F(PdfToolTest, BoardsFromAPipeMakeABookletOfTheRightPagesAndDigits) {
    ASSERT_TRUE(test::havePoppler()) << test::kNoPoppler;
    const ToolRun made = run("--generate 5 --level 3 --seed 11");
    ASSERT_EQ(made.status, 0) << made.err;
    const auto pdf = m_dir / "week.pdf";
    const ToolRun r = run("--pdf '" + pdf.string() + "' --per-page 2 --solutions",
                          made.out + kNone + "\nnot a board\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("<stdin>:6: not exactly one solution"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("<stdin>:7:"), std::string::npos) << r.err;
    ASSERT_EQ(test::pdfPageCount(pdf), print::PageCount(5, 2, true));
    const std::string text = test::pdfText(pdf);
    EXPECT_NE(text.find("中級 5問"), std::string::npos);
    // Above each grid, the difficulty --rate gives its board ("3\t2.6\t…"), not the inner score.
    for (const std::string& rate : Lines(run("--rate", made.out).out)) {
        const std::string label = "中級（" + rate.substr(2, rate.find('\t', 2) - 2) + "）";
        EXPECT_NE(text.find(label), std::string::npos) << label;
    }
    const std::vector<print::Page> pages =
        print::LayoutPages(5, 2, true, print::Size{595.28, 841.89});
    const print::Slot& last = pages[2].grids[0];
    std::string givens = made.out.substr(4 * 82, 81);
    givens.erase(std::remove(givens.begin(), givens.end(), '.'), givens.end());
    EXPECT_EQ(
        test::pdfDigitsIn(pdf, 3, last.grid.x, last.grid.y, last.grid.width, last.grid.height),
        givens);
}

TEST_F(PdfToolTest, AFileThatCannotBeWrittenIsAnErrorAndLeavesNothing) {
    const auto list = write("list.txt", kUnique + "\n");
    // A folder stands where the file should go, and a plain file where a folder should.
    std::filesystem::create_directory(m_dir / "taken.pdf");
    write("plain", "");
    for (const std::string target : {"taken.pdf", "plain/week.pdf"}) {
        SCOPED_TRACE(target);
        const ToolRun r = run("--pdf '" + (m_dir / target).string() + "' '" + list + "'");
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("cannot"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(target), std::string::npos) << r.err;
        std::set<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
            left.insert(entry.path().filename().string());
        }
        EXPECT_EQ(left, (std::set<std::string>{"list.txt", "plain", "stderr.txt", "stdin.txt",
                                               "taken.pdf"}));
        EXPECT_TRUE(std::filesystem::is_empty(m_dir / "taken.pdf"));
        EXPECT_EQ(test::slurp(m_dir / "plain"), "");
    }
}

// The small print of a booklet the window makes names a command; that command must make the
// very puzzles of the booklet.
TEST_F(PdfToolTest, TheCommandInABookletsSmallPrintMakesItsPuzzlesAgain) {
    print::Order order;
    order.count = 4;
    order.request = {2, generate::Symmetry::Diagonal, 0};
    order.seed = 9007199254740991ULL;
    const print::Made made = print::MakePuzzles(order, generate::Generate);
    ASSERT_EQ(made.puzzles.size(), 4u);
    const std::string origin = print::OriginOf(order);
    const std::size_t from = origin.find("--generate");
    const std::size_t to = origin.find(" で", from);
    ASSERT_NE(to, std::string::npos) << origin;
    const ToolRun r = run(origin.substr(from, to - from));
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected;
    for (const print::Entry& e : made.puzzles) {
        for (int d : e.givens) expected += d == 0 ? '.' : static_cast<char>('0' + d);
        expected += '\n';
    }
    EXPECT_EQ(r.out, expected);
}

}  // namespace
}  // namespace kz
