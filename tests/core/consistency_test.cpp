// SPDX-License-Identifier: MIT
// The consistency check: blanks, conflicts and which cells get marked.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "core/consistency.h"

namespace kz {
namespace {

// A valid solved grid, used as the clean full board.
constexpr std::string_view kSolved =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

// Digits from an 81-character string ('.' or '0' blank); upper-case letters A..I give the
// digits 1..9 as givens.
Board makeBoard(std::string_view text) {
    Board board{};
    for (int n = 1; n <= kCellCount; ++n) {
        const char c = text[n - 1];
        if (c >= '1' && c <= '9') board[n].Value = static_cast<std::uint8_t>(c - '0');
        if (c >= 'A' && c <= 'I') {
            board[n].Value = static_cast<std::uint8_t>(c - 'A' + 1);
            board[n].Problem = true;
        }
    }
    return board;
}

struct Write {
    int n;
    std::uint8_t value;
    bool problem;
    std::uint8_t mark;
    friend bool operator==(const Write&, const Write&) = default;
};

// Stands in for the window's SetCell: applies the write and records it.
struct Recorder {
    explicit Recorder(Board& b) : board(b) {}
    Board& board;
    std::vector<Write> writes;
    CellWriter writer() {
        return [this](int n, std::uint8_t value, bool problem, std::uint8_t mark) {
            writes.push_back({n, value, problem, mark});
            board[n] = {value, problem, mark};
        };
    }
};

std::string blankBoard() {
    return std::string(81, '.');
}

TEST(Consistency, BlankAndConflictResults) {
    std::string clashBlank = blankBoard();
    clashBlank[0] = '4';
    clashBlank[8] = '4';  // cells 1 and 9, one row
    std::string fullClash(kSolved);
    std::swap(fullClash[0], fullClash[1]);  // still full; 3 and 5 now repeat in their columns

    struct Case {
        const char* name;
        std::string text;
        bool hasBlank, hasConflict;
    } cases[] = {
        {"empty", blankBoard(), true, false},
        {"full and clean", std::string(kSolved), false, false},
        {"blanks and a conflict", clashBlank, true, true},
        {"full with a conflict", fullClash, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Board board = makeBoard(c.text);
        CellConsistentArray flags{};
        Recorder rec(board);
        const ConsistencyResult r = CheckConsistency(board, flags, true, rec.writer());
        EXPECT_EQ(r.hasBlank, c.hasBlank);
        EXPECT_EQ(r.hasConflict, c.hasConflict);
    }
}

TEST(Consistency, MarksOnlyConflictingPlayerCells) {
    struct Case {
        const char* name;
        char first, second;  // cells 1 and 9 (one row)
        std::vector<Write> expected;
    } cases[] = {
        {"two givens clash: nothing marked", 'D', 'D', {}},
        {"given against player: only the player's cell", 'D', '4', {{9, 4, false, MarkConflict}}},
        {"two player cells: both, in cell order",
         '4',
         '4',
         {{1, 4, false, MarkConflict}, {9, 4, false, MarkConflict}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = blankBoard();
        text[0] = c.first;
        text[8] = c.second;
        Board board = makeBoard(text);
        CellConsistentArray flags{};
        Recorder rec(board);
        const ConsistencyResult r = CheckConsistency(board, flags, true, rec.writer());
        EXPECT_TRUE(r.hasConflict);
        EXPECT_FALSE(flags[1]);
        EXPECT_FALSE(flags[9]);
        EXPECT_TRUE(flags[2]);
        EXPECT_EQ(rec.writes, c.expected);

        // Without marking the result is the same and nothing is written.
        Recorder quiet(board);
        EXPECT_TRUE(CheckConsistency(board, flags, false, quiet.writer()).hasConflict);
        EXPECT_TRUE(quiet.writes.empty());
    }
}

TEST(Consistency, ConflictsInColumnAndBoxAreFound) {
    struct Case {
        int a, b;
    } cases[] = {{1, 73}, {1, 21}, {61, 81}, {41, 49}};
    for (const auto& c : cases) {
        std::string text = blankBoard();
        text[c.a - 1] = '7';
        text[c.b - 1] = '7';
        Board board = makeBoard(text);
        CellConsistentArray flags{};
        EXPECT_TRUE(CheckConsistency(board, flags, false, nullptr).hasConflict) << c.a << c.b;
        for (int n = 1; n <= kCellCount; ++n) EXPECT_EQ(flags[n], n != c.a && n != c.b);
    }
}

TEST(Consistency, OldMarkStaysUntilCleared) {
    std::string text = blankBoard();
    text[0] = '4';
    text[8] = '4';
    Board board = makeBoard(text);
    CellConsistentArray flags{};
    Recorder rec(board);
    CheckConsistency(board, flags, true, rec.writer());
    ASSERT_EQ(board[9].Mark, MarkConflict);

    board[1] = {};  // the player erases cell 1 directly
    rec.writes.clear();
    const ConsistencyResult r = CheckConsistency(board, flags, true, rec.writer());
    EXPECT_FALSE(r.hasConflict);
    EXPECT_TRUE(flags[9]);
    EXPECT_EQ(board[9].Mark, MarkConflict) << "the check itself never unmarks";
    EXPECT_TRUE(rec.writes.empty());

    ClearConflictMarks(board, rec.writer());
    EXPECT_EQ(rec.writes, (std::vector<Write>{{9, 4, false, MarkNone}}));
}

TEST(Consistency, AnswerMarksSurviveClearingButBecomeConflicts) {
    std::string text = blankBoard();
    text[0] = '4';
    text[8] = '4';
    text[40] = 'E';
    Board board = makeBoard(text);
    board[9].Mark = MarkAnswer;
    board[41].Mark = MarkConflict;  // a given with a stale conflict mark is cleared too
    Recorder rec(board);

    ClearConflictMarks(board, rec.writer());
    EXPECT_EQ(rec.writes, (std::vector<Write>{{41, 5, true, MarkNone}}));
    EXPECT_EQ(board[9].Mark, MarkAnswer);

    CellConsistentArray flags{};
    CheckConsistency(board, flags, true, rec.writer());
    EXPECT_EQ(board[9].Mark, MarkConflict);
    EXPECT_EQ(board[1].Mark, MarkConflict);
}

}  // namespace
}  // namespace kz
