// SPDX-License-Identifier: MIT
// The solver against known boards and, on thousands of generated boards, against the plain
// reference search whose results it must reproduce exactly.
#include "core/answer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "tests/core/reference_solver.h"

namespace kz {
namespace {

ValueArray16 Parse(const std::string& text) {
    ValueArray16 values{};
    for (int n = 1; n <= kCellCount; ++n) {
        const char ch = text.at(n - 1);
        values[n] = static_cast<std::int16_t>(ch >= '1' && ch <= '9' ? ch - '0' : 0);
    }
    return values;
}

std::string Format(const ValueArray16& values) {
    std::string text;
    for (int n = 1; n <= kCellCount; ++n) text += static_cast<char>('0' + values[n]);
    return text;
}

std::vector<std::string> ReadSet(const std::string& name) {
    std::ifstream in(std::string(KZ_TEST_DATA_DIR) + "/" + name);
    std::vector<std::string> boards;
    for (std::string line; std::getline(in, line);) {
        if (line.size() >= 81) boards.push_back(line.substr(0, 81));
    }
    return boards;
}

bool IsValidGrid(const ValueArray16& v) {
    for (int n = 1; n <= kCellCount; ++n) {
        if (v[n] < 1 || v[n] > 9 || !CanPlace(v, n, v[n])) return false;
    }
    return true;
}

const std::string kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const std::string kPuzzleSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

struct Recorder {
    std::vector<std::string> texts;
    std::vector<std::string> notices;
    Solver solver{[this](std::string_view t) { texts.emplace_back(t); },
                  [this](std::string_view t) { notices.emplace_back(t); }};
};

TEST(AnswerTest, ProgressTextHasIdeographicSpaceBeforeBracket) {
    EXPECT_EQ(ProgressText(4), "\u8a08\u7b97\u4e2d...\u3000[4]");
    EXPECT_EQ(ProgressText(9).substr(ProgressText(9).size() - 3), "[9]");
}

TEST(AnswerTest, KnownBoards) {
    const std::string empty(81, '.');
    std::string rowClash = kPuzzle;
    rowClash[2] = '5';  // row 1 now holds two 5s
    // Row 1 has no 5 and every blank in it sees a 5 in its column or box.
    const std::string noCellForFive =
        "1234.6789"
        "....5...."
        "........."
        "5........"
        "........."
        "........."
        "........."
        "........."
        ".........";
    struct Case {
        const char* name;
        std::string board;
        int code;
        bool solvable;
        std::string solvedPrefix;
    };
    const Case cases[] = {
        {"empty", empty, VerifyMultiple, true, "123456789456789123789123456"},
        {"complete", kPuzzleSolution, VerifyUnique, true, kPuzzleSolution},
        {"unique", kPuzzle, VerifyUnique, true, kPuzzleSolution},
        {"two fives in a row", rowClash, VerifyContradiction, false, ""},
        {"no cell for a five", noCellForFive, VerifyContradiction, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder r;
        EXPECT_EQ(r.solver.VerifyProblem(Parse(c.board)), c.code);
        ASSERT_FALSE(r.texts.empty());
        EXPECT_EQ(r.texts.back(), "");
        r.texts.clear();
        ValueArray16 values = Parse(c.board);
        EXPECT_EQ(r.solver.SolveBoard(values), c.solvable);
        if (c.solvable) {
            EXPECT_EQ(Format(values).substr(0, c.solvedPrefix.size()), c.solvedPrefix);
            EXPECT_TRUE(IsValidGrid(values));
        } else {
            EXPECT_EQ(values, Parse(c.board));
        }
        ASSERT_FALSE(r.texts.empty());
        EXPECT_EQ(r.texts.back(), "");
        EXPECT_TRUE(r.notices.empty());
    }
}

TEST(AnswerTest, ProgressShowsDigitsOfFirstOpenCellOnly) {
    Recorder r;
    ValueArray16 full = Parse(kPuzzleSolution);
    ASSERT_TRUE(r.solver.SolveBoard(full));
    EXPECT_EQ(r.texts, std::vector<std::string>{""});

    r.texts.clear();
    ValueArray16 empty{};
    ASSERT_TRUE(r.solver.SolveBoard(empty));
    ASSERT_GE(r.texts.size(), 2u);
    EXPECT_EQ(r.texts.front(), ProgressText(1));
    for (std::size_t i = 0; i + 1 < r.texts.size(); ++i) {
        EXPECT_EQ(std::find(r.texts.begin(), r.texts.begin() + i, r.texts[i]), r.texts.begin() + i)
            << "each digit is shown once";
    }
}

TEST(AnswerTest, EntriesOutsideDigitsAreNoProblem) {
    for (int bad : {-1, 10, 300}) {
        Recorder r;
        ValueArray16 values = Parse(kPuzzle);
        values[40] = static_cast<std::int16_t>(bad);
        const ValueArray16 before = values;
        EXPECT_EQ(r.solver.VerifyProblem(values), VerifyContradiction) << bad;
        EXPECT_FALSE(r.solver.SolveBoard(values)) << bad;
        EXPECT_EQ(values, before);
    }
}

// ---- Generated boards ----------------------------------------------------------------------

class BoardMaker {
public:
    explicit BoardMaker(unsigned seed) : m_rng(seed) {}

    // A random grid by relabelling and permuting a fixed pattern.
    ValueArray16 grid() {
        std::array<int, 9> digits{};
        std::iota(digits.begin(), digits.end(), 1);
        std::shuffle(digits.begin(), digits.end(), m_rng);
        const auto rows = permutation();
        const auto cols = permutation();
        const bool transpose = m_rng() % 2 == 0;
        ValueArray16 v{};
        for (int r = 0; r < 9; ++r) {
            for (int c = 0; c < 9; ++c) {
                const int pr = rows[r];
                const int pc = cols[c];
                const int base = (3 * (pr % 3) + pr / 3 + pc) % 9;
                const int n = transpose ? 9 * c + r + 1 : 9 * r + c + 1;
                v[n] = static_cast<std::int16_t>(digits[base]);
            }
        }
        return v;
    }

    // Keeps `clues` random cells of v.
    ValueArray16 keep(const ValueArray16& v, int clues) {
        std::array<int, 81> cells{};
        std::iota(cells.begin(), cells.end(), 1);
        std::shuffle(cells.begin(), cells.end(), m_rng);
        ValueArray16 out{};
        for (int i = 0; i < clues; ++i) out[cells[i]] = v[cells[i]];
        return out;
    }

    // Changes one given to another digit that clashes with nothing already there.
    ValueArray16 wrongClue(ValueArray16 v) {
        for (int tries = 0; tries < 200; ++tries) {
            const int n = static_cast<int>(m_rng() % 81) + 1;
            const int d = static_cast<int>(m_rng() % 9) + 1;
            if (v[n] != 0 && v[n] != d && CanPlace(v, n, d)) {
                v[n] = static_cast<std::int16_t>(d);
                return v;
            }
        }
        return v;
    }

    // Adds a digit to a blank that repeats one of its peers.
    ValueArray16 clash(ValueArray16 v) {
        for (int tries = 0; tries < 200; ++tries) {
            const int n = static_cast<int>(m_rng() % 81) + 1;
            const int d = static_cast<int>(m_rng() % 9) + 1;
            if (v[n] == 0 && !CanPlace(v, n, d)) {
                v[n] = static_cast<std::int16_t>(d);
                return v;
            }
        }
        return v;
    }

    // Blanks `count` random givens.
    ValueArray16 removeClues(ValueArray16 v, int count) {
        for (int done = 0, tries = 0; done < count && tries < 500; ++tries) {
            const int n = static_cast<int>(m_rng() % 81) + 1;
            if (v[n] != 0) {
                v[n] = 0;
                ++done;
            }
        }
        return v;
    }

    int uniform(int lo, int hi) { return lo + static_cast<int>(m_rng() % (hi - lo + 1)); }

private:
    std::array<int, 9> permutation() {
        std::array<int, 3> bands{0, 1, 2};
        std::shuffle(bands.begin(), bands.end(), m_rng);
        std::array<int, 9> p{};
        for (int b = 0; b < 3; ++b) {
            std::array<int, 3> within{0, 1, 2};
            std::shuffle(within.begin(), within.end(), m_rng);
            for (int i = 0; i < 3; ++i) p[3 * b + i] = 3 * bands[b] + within[i];
        }
        return p;
    }

    std::mt19937 m_rng;
};

struct Tally {
    int compared = 0;
    int skipped = 0;
    std::array<int, 5> codes{};  // -2..2
};

void ExpectSameAsReference(const ValueArray16& board, Tally& tally) {
    test::ReferenceSolver reference(30000);
    const auto refCode = reference.VerifyProblem(board);
    ValueArray16 refValues = board;
    const auto refSolved = reference.SolveBoard(refValues);
    if (!refCode || !refSolved) {
        ++tally.skipped;
        return;
    }
    ++tally.compared;
    ++tally.codes[*refCode + 2];
    Solver solver;
    ValueArray16 values = board;
    ASSERT_EQ(solver.VerifyProblem(board), *refCode) << Format(board);
    ASSERT_EQ(solver.SolveBoard(values), *refSolved) << Format(board);
    ASSERT_EQ(Format(values), Format(refValues)) << Format(board);
    // The solution handed out by the verification: the one completion, and only then.
    ValueArray16 handed{};
    ASSERT_EQ(solver.VerifyProblem(board, &handed), *refCode) << Format(board);
    ASSERT_EQ(Format(handed), Format(*refCode == VerifyUnique ? refValues : ValueArray16{}))
        << Format(board);
}

TEST(AnswerReferenceTest, GeneratedBoardsMatchThePlainSearch) {
    BoardMaker maker(20240611);
    Tally tally;
    for (int i = 0; i < 900; ++i) {
        const ValueArray16 grid = maker.grid();
        const ValueArray16 sparse = maker.keep(grid, maker.uniform(24, 60));
        ExpectSameAsReference(sparse, tally);
        ExpectSameAsReference(maker.wrongClue(sparse), tally);
        ExpectSameAsReference(maker.clash(sparse), tally);
        ExpectSameAsReference(maker.wrongClue(maker.wrongClue(maker.keep(grid, 36))), tally);
        if (HasFatalFailure()) return;
    }
    EXPECT_GE(tally.compared, 2000) << tally.skipped << " skipped";
    for (int code = -1; code <= 2; ++code) {
        EXPECT_GT(tally.codes[code + 2], 50) << "too few boards with code " << code;
    }
    EXPECT_EQ(tally.codes[0], 0);
}

TEST(AnswerReferenceTest, PuzzlesWithCluesRemovedOrChangedMatchThePlainSearch) {
    // The published puzzles are too hard for the plain search, so each gets some cells of its
    // solution back first; it stays a unique puzzle, then loses or changes a clue.
    BoardMaker maker(7);
    Tally tally;
    for (const char* set : {"royle_17clue_sample200.txt", "magictour_top1465.txt"}) {
        const auto boards = ReadSet(set);
        ASSERT_FALSE(boards.empty()) << set;
        for (std::size_t i = 0; i < boards.size() && i < 200; ++i) {
            ValueArray16 solution = Parse(boards[i]);
            ASSERT_TRUE(Solver().SolveBoard(solution));
            ValueArray16 puzzle = maker.keep(solution, maker.uniform(12, 24));
            for (int n = 1; n <= kCellCount; ++n) {
                if (boards[i][n - 1] != '.') puzzle[n] = solution[n];
            }
            ExpectSameAsReference(puzzle, tally);
            ExpectSameAsReference(maker.removeClues(puzzle, maker.uniform(1, 4)), tally);
            ExpectSameAsReference(maker.wrongClue(puzzle), tally);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GE(tally.compared, 900) << tally.skipped << " skipped";
    EXPECT_GT(tally.codes[3], 100);
    EXPECT_GT(tally.codes[4], 100);
}

// Without the re-check, the rule step can put one digit twice into a unit; the plain search
// never tests fixed cells, so it then "solves" a board that has no solution.
TEST(AnswerReferenceTest, RuleStepPlacementsThatClashAreAContradiction) {
    BoardMaker maker(99);
    int unguardedFaults = 0;
    for (int i = 0; i < 3000 && unguardedFaults < 20; ++i) {
        const ValueArray16 board =
            maker.wrongClue(maker.wrongClue(maker.keep(maker.grid(), maker.uniform(30, 45))));
        test::ReferenceSolver unguarded(30000, false);
        ValueArray16 unguardedValues = board;
        const auto unguardedSolved = unguarded.SolveBoard(unguardedValues);
        const auto unguardedCode = unguarded.VerifyProblem(board);
        if (!unguardedSolved || !unguardedCode) continue;
        const bool fault = (*unguardedSolved && !IsValidGrid(unguardedValues)) ||
                           *unguardedCode == VerifyInternalError;
        if (!fault) continue;
        ++unguardedFaults;
        Recorder r;
        ValueArray16 values = board;
        EXPECT_EQ(r.solver.VerifyProblem(board), VerifyContradiction) << Format(board);
        EXPECT_FALSE(r.solver.SolveBoard(values)) << Format(board);
        EXPECT_TRUE(r.notices.empty());
        test::ReferenceSolver guarded(30000, true);
        EXPECT_EQ(guarded.VerifyProblem(board), VerifyContradiction) << Format(board);
    }
    EXPECT_GT(unguardedFaults, 0) << "no board exercised the re-check";
}

// The rule step written cell by cell from its description, to hold the bitmask version to.
bool PlainPreSolve(ValueArray16& fixed) {
    for (int n = 1; n <= kCellCount; ++n) {
        if (fixed[n] < 0 || fixed[n] > 9) return false;
    }
    std::array<std::array<bool, 10>, kArraySize> cand{};
    for (int n = 1; n <= kCellCount; ++n) {
        for (int d = 1; d <= 9; ++d) {
            cand[n][d] = (fixed[n] == 0 || fixed[n] == d) && CanPlace(fixed, n, d);
        }
    }
    for (int kind = KindRow; kind <= KindBox; ++kind) {
        for (int u = 1; u <= 9; ++u) {
            const int first = kind == KindRow ? 9 * u - 8 : kind == KindColumn ? u : BoxTopLeft(u);
            for (int d = 1; d <= 9; ++d) {
                int count = 0;
                int last = 0;
                for (int m : UnitCells(first, kind)) {
                    if (cand[m][d]) {
                        ++count;
                        last = m;
                    }
                }
                if (count == 0) return false;
                if (count > 1) continue;
                for (int e = 1; e <= 9; ++e) cand[last][e] = e == d;
                if (fixed[last] == d) continue;
                if (!CanPlace(fixed, last, d)) return false;
                fixed[last] = static_cast<std::int16_t>(d);
            }
        }
    }
    return true;
}

TEST(AnswerReferenceTest, RuleStepMatchesTheCellByCellRule) {
    BoardMaker maker(4242);
    int placedSome = 0;
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        const ValueArray16 grid = maker.grid();
        ValueArray16 board = maker.keep(grid, maker.uniform(15, 70));
        switch (i % 4) {
            case 1:
                board = maker.wrongClue(board);
                break;
            case 2:
                board = maker.clash(board);
                break;
            case 3:
                board = maker.wrongClue(maker.removeClues(board, 3));
                break;
            default:
                break;
        }
        ValueArray16 expected = board;
        ValueArray16 actual = board;
        const bool expectedOk = PlainPreSolve(expected);
        ASSERT_EQ(PreSolve(actual), expectedOk) << Format(board);
        if (!expectedOk) {
            ++refused;
            continue;
        }
        ASSERT_EQ(Format(actual), Format(expected)) << Format(board);
        if (actual != board) ++placedSome;
    }
    EXPECT_GT(placedSome, 500);
    EXPECT_GT(refused, 300);
}

// The search comes back to the progress cell on many branches of a hard puzzle; the window
// must still see each digit once, and the panel hidden at the end.
TEST(AnswerReferenceTest, ProgressOnHardPuzzlesShowsEachDigitOnce) {
    const auto boards = ReadSet("forum_hardest_1106.txt");
    ASSERT_GE(boards.size(), 40u);
    int shown = 0;
    for (std::size_t i = 0; i < 40; ++i) {
        for (const bool solve : {false, true}) {
            Recorder r;
            ValueArray16 values = Parse(boards[i]);
            if (solve) {
                ASSERT_TRUE(r.solver.SolveBoard(values));
            } else {
                ASSERT_EQ(r.solver.VerifyProblem(values), VerifyUnique);
            }
            ASSERT_FALSE(r.texts.empty());
            EXPECT_EQ(r.texts.back(), "");
            std::vector<std::string> digits(r.texts.begin(), r.texts.end() - 1);
            shown += static_cast<int>(digits.size());
            for (const std::string& text : digits) {
                EXPECT_EQ(text.substr(0, text.size() - 2),
                          ProgressText(1).substr(0, text.size() - 2));
            }
            std::sort(digits.begin(), digits.end());
            EXPECT_EQ(std::adjacent_find(digits.begin(), digits.end()), digits.end()) << boards[i];
        }
    }
    EXPECT_GT(shown, 40) << "the progress cell was never branched on";
}

TEST(AnswerReferenceTest, DataSetsAreUniqueAndSolvedToTheirSolution) {
    Solver solver;
    for (const char* set : {"forum_hardest_1106.txt", "forum_hardest_1905_sample500.txt",
                            "magictour_top1465.txt", "royle_17clue_sample200.txt"}) {
        for (const std::string& board : ReadSet(set)) {
            ValueArray16 values = Parse(board);
            ASSERT_EQ(solver.VerifyProblem(values), VerifyUnique) << set << " " << board;
            ASSERT_TRUE(solver.SolveBoard(values)) << board;
            ASSERT_TRUE(IsValidGrid(values)) << board;
            for (int n = 1; n <= kCellCount; ++n) {
                if (board[n - 1] != '.') {
                    ASSERT_EQ(values[n], board[n - 1] - '0') << board;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kz
