// SPDX-License-Identifier: MIT
// The levels as defined, checked from outside: a plain fixed-point solver for the technique
// sets of levels 1 to 3, written here with loops over cells and units and no bitboards, must
// agree with the rater on thousands of boards; and the level must not depend on the order in
// which techniques are tried.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

// ---- The plain reference -------------------------------------------------------------

class Plain {
public:
    explicit Plain(const Digits& board) {
        for (auto& c : m_cand) c.fill(true);
        for (int c = 0; c < 81; ++c) {
            if (board[c]) place(c, board[c]);
        }
    }

    /// The smallest level of 1..3 whose techniques alone solve the board, else 4.
    static int Level(const Digits& board) {
        for (int level = 1; level <= 3; ++level) {
            Plain p(board);
            while (p.round(level)) {
            }
            if (p.solved()) return level;
        }
        return 4;
    }

private:
    static const std::vector<std::vector<int>>& Units() {
        static const std::vector<std::vector<int>> units = [] {
            std::vector<std::vector<int>> u(27);
            for (int r = 0; r < 9; ++r) {
                for (int c = 0; c < 9; ++c) {
                    u[r].push_back(9 * r + c);
                    u[9 + c].push_back(9 * r + c);
                    u[18 + (r / 3) * 3 + c / 3].push_back(9 * r + c);
                }
            }
            return u;
        }();
        return units;
    }

    static bool SeesCell(int a, int b) {
        return a != b && (a / 9 == b / 9 || a % 9 == b % 9 ||
                          (a / 27 == b / 27 && (a % 9) / 3 == (b % 9) / 3));
    }

    void place(int c, int d) {
        m_value[c] = d;
        m_cand[c].fill(false);
        for (int p = 0; p < 81; ++p) {
            if (SeesCell(c, p)) m_cand[p][d] = false;
        }
    }

    bool remove(int c, int d) {
        if (!m_cand[c][d]) return false;
        m_cand[c][d] = false;
        return true;
    }

    bool solved() const { return std::count(m_value.begin(), m_value.end(), 0) == 0; }

    std::vector<int> where(const std::vector<int>& unit, int d) const {
        std::vector<int> out;
        for (int c : unit) {
            if (m_cand[c][d]) out.push_back(c);
        }
        return out;
    }

    int count(int c) const {
        return static_cast<int>(std::count(m_cand[c].begin() + 1, m_cand[c].end(), true));
    }

    // One pass of every technique of the level; true when anything changed.
    bool round(int level) {
        bool changed = false;
        for (const auto& unit : Units()) {
            std::vector<int> open;
            for (int c : unit) {
                if (!m_value[c]) open.push_back(c);
            }
            for (int d = 1; d <= 9; ++d) {
                const std::vector<int> cells = where(unit, d);
                if (cells.size() == 1) {  // hidden single, and full house with it
                    place(cells[0], d);
                    changed = true;
                }
            }
            if (open.size() == 1 && !m_value[open[0]]) {
                for (int d = 1; d <= 9; ++d) {
                    if (m_cand[open[0]][d]) {
                        place(open[0], d);
                        changed = true;
                        break;
                    }
                }
            }
        }
        if (level < 2) return changed;
        for (int c = 0; c < 81; ++c) {
            if (!m_value[c] && count(c) == 1) {
                for (int d = 1; d <= 9; ++d) {
                    if (m_cand[c][d]) {
                        place(c, d);
                        changed = true;
                    }
                }
            }
        }
        if (level < 3) return changed;
        const auto& units = Units();
        for (int u = 0; u < 27; ++u) {
            for (int d = 1; d <= 9; ++d) {
                // Locked candidates: all of d in u inside one other unit.
                const std::vector<int> cells = where(units[u], d);
                if (cells.empty()) continue;
                for (int v = 0; v < 27; ++v) {
                    if (v == u) continue;
                    const auto& other = units[v];
                    bool inside = true;
                    for (int c : cells) {
                        inside &= std::find(other.begin(), other.end(), c) != other.end();
                    }
                    if (!inside) continue;
                    for (int c : other) {
                        if (std::find(units[u].begin(), units[u].end(), c) == units[u].end())
                            changed |= remove(c, d);
                    }
                }
            }
            // Naked pair: two cells with the same two candidates.
            for (int a : units[u]) {
                for (int b : units[u]) {
                    if (a >= b || m_value[a] || m_value[b] || count(a) != 2 ||
                        m_cand[a] != m_cand[b]) {
                        continue;
                    }
                    for (int c : units[u]) {
                        if (c == a || c == b) continue;
                        for (int d = 1; d <= 9; ++d) {
                            if (m_cand[a][d]) changed |= remove(c, d);
                        }
                    }
                }
            }
            // Hidden pair: two digits whose cells in the unit are the same two.
            for (int x = 1; x <= 9; ++x) {
                for (int y = x + 1; y <= 9; ++y) {
                    std::vector<int> cells = where(units[u], x);
                    for (int c : where(units[u], y)) {
                        if (std::find(cells.begin(), cells.end(), c) == cells.end())
                            cells.push_back(c);
                    }
                    if (cells.size() != 2 || where(units[u], x).empty() ||
                        where(units[u], y).empty()) {
                        continue;
                    }
                    for (int c : cells) {
                        for (int d = 1; d <= 9; ++d) {
                            if (d != x && d != y) changed |= remove(c, d);
                        }
                    }
                }
            }
        }
        return changed;
    }

    std::array<int, 81> m_value{};
    std::array<std::array<bool, 10>, 81> m_cand{};
};

// ---- Boards of every level -----------------------------------------------------------

// Boards made by taking givens away at random from the solutions of public puzzles while
// the solution stays unique, down to a random number of givens: easy and middling boards.
std::vector<Digits> MadeBoards(std::size_t count) {
    std::mt19937 random(20261208);
    std::vector<Digits> boards;
    const std::vector<Digits> puzzles = test::ReadSet("magictour_top1465.txt");
    for (std::size_t i = 0; boards.size() < count; ++i) {
        Digits board = *UniqueSolution(puzzles[i % puzzles.size()]);
        std::array<int, 81> order{};
        for (int c = 0; c < 81; ++c) order[c] = c;
        std::shuffle(order.begin(), order.end(), random);
        const int target = std::uniform_int_distribution<int>(20, 32)(random);
        int givens = 81;
        for (int c : order) {
            if (givens == target) break;
            const std::uint8_t keep = board[c];
            board[c] = 0;
            if (UniqueSolution(board)) {
                --givens;
            } else {
                board[c] = keep;
            }
        }
        boards.push_back(board);
    }
    return boards;
}

TEST(Levels, OneToThreeAgreeWithAPlainFixedPointSolver) {
    std::array<int, kMaxLevel + 1> seen{};
    for (const Digits& board : MadeBoards(2500)) {
        const Rating rating = Rate(board);
        ASSERT_EQ(rating.verifyCode, 1);
        ++seen[rating.level];
        EXPECT_EQ(std::min(rating.level, 4), Plain::Level(board))
            << "level " << rating.level << " for " << [&] {
                   std::string s;
                   for (int d : board) s += static_cast<char>('0' + d);
                   return s;
               }();
    }
    // The sample must hold plenty of each of the checked levels, or it checks little.
    for (int level = 1; level <= 4; ++level) EXPECT_GT(seen[level], 100) << level;
}

// Any order of the techniques of levels 1..4 reaches the same end: solved or not.
TEST(Levels, DoNotDependOnTheOrderOfTechniques) {
    std::mt19937 random(7);
    std::vector<Digits> boards = test::ReadSet("magictour_top1465.txt", 300);
    const std::vector<Digits> made = MadeBoards(200);
    boards.insert(boards.end(), made.begin(), made.end());
    std::vector<Technique> order;
    for (int t = 0; t < kTechniqueCount; ++t) {
        if (Info(static_cast<Technique>(t)).level <= 4) order.push_back(static_cast<Technique>(t));
    }
    for (const Digits& board : boards) {
        const Digits solution = *UniqueSolution(board);
        const Context context{&solution};
        const int level = Rate(board).level;
        std::shuffle(order.begin(), order.end(), random);
        State state = *State::FromDigits(board);
        for (bool progress = true; progress && !state.Solved();) {
            progress = false;
            for (Technique t : order) {
                std::vector<Step> found;
                FinderOf(t)(state, context, [&](Step&& step) {
                    found.push_back(std::move(step));
                    return true;
                });
                for (const Step& step : found) progress |= state.Apply(step);
            }
        }
        EXPECT_EQ(state.Solved(), level <= 4) << "level " << level;
        EXPECT_EQ(SolvePath(*State::FromDigits(board), context, level).solved, true);
    }
}

}  // namespace
}  // namespace kz::logic
