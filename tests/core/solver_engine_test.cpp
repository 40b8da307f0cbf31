// SPDX-License-Identifier: MIT
// The engine's entry points beside the search: every kernel this processor can run gives the
// same answers as the portable one, down to the order in which the search finds completions
// and the grid propagation leaves behind; setting up a grid at once equals placing one by one;
// the completion check rejects every broken rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "core/answer.h"
#include "core/solver_engine.h"

namespace kz {
namespace {

using engine::CodePath;

// Switches the engine to a path for one scope.
class PathScope {
public:
    explicit PathScope(CodePath path) : m_before(engine::ActiveCodePath()) {
        m_selected = engine::SelectCodePath(path);
    }
    ~PathScope() { engine::SelectCodePath(m_before); }
    PathScope(const PathScope&) = delete;
    PathScope& operator=(const PathScope&) = delete;
    bool selected() const { return m_selected; }

private:
    CodePath m_before;
    bool m_selected = false;
};

// The first puzzles of every public set, each also with clues taken away (often several
// solutions) and with one or two clues changed (often none, or a contradiction).
std::vector<ValueArray16> Boards() {
    std::vector<ValueArray16> boards;
    for (const char* set : {"forum_hardest_1106", "magictour_top1465", "royle_17clue_sample200",
                            "forum_hardest_1905_sample500", "adversarial"}) {
        std::ifstream in(std::string(KZ_TEST_DATA_DIR) + "/" + set + ".txt");
        int taken = 0;
        for (std::string line; std::getline(in, line) && taken < 50;) {
            if (line.size() < 81) continue;
            ++taken;
            ValueArray16 v{};
            for (int n = 1; n <= kCellCount; ++n) {
                const char ch = line[n - 1];
                v[n] = static_cast<std::int16_t>(ch >= '1' && ch <= '9' ? ch - '0' : 0);
            }
            boards.push_back(v);
            ValueArray16 fewer = v;
            ValueArray16 changed = v;
            int seen = 0;
            for (int n = 1; n <= kCellCount; ++n) {
                if (v[n] == 0) continue;
                if (seen++ % 3 == taken % 3) fewer[n] = 0;
                if (seen == 1 + taken % 5) changed[n] = static_cast<std::int16_t>(v[n] % 9 + 1);
            }
            boards.push_back(fewer);
            boards.push_back(changed);
            for (int n = kCellCount; n >= 1; --n) {
                if (changed[n] != 0 && changed[n] == v[n]) {
                    changed[n] = static_cast<std::int16_t>(v[n] % 9 + 1);
                    break;
                }
            }
            boards.push_back(changed);
        }
    }
    return boards;
}

struct Outcome {
    int code = 0;
    bool solved = false;
    ValueArray16 solution{};
    int count = -1;
    std::array<engine::Solution, 3> found{};
    bool propagated = false;
    engine::Grid grid{};
};

Outcome Answer(const ValueArray16& board) {
    Outcome out;
    Solver solver;
    out.code = solver.VerifyProblem(board);
    out.solution = board;
    out.solved = solver.SolveBoard(out.solution);
    // The engine itself, on the givens without the rule step, placed one by one and at once.
    engine::Grid grid = engine::EmptyGrid();
    engine::Solution digits{};
    bool placed = true;
    for (int n = 1; n <= kCellCount; ++n) {
        digits[n - 1] = static_cast<std::uint8_t>(board[n]);
        if (board[n] != 0) placed = placed && engine::Place(grid, n - 1, board[n]);
    }
    engine::Grid atOnce;
    EXPECT_EQ(engine::PlaceAll(atOnce, digits), placed);
    if (!placed) return out;
    EXPECT_EQ(atOnce.cand, grid.cand);
    EXPECT_EQ(atOnce.open, grid.open);
    EXPECT_EQ(atOnce.dirty, grid.dirty);
    out.count = engine::CountCompletions(grid, 3, out.found.data(), {});
    out.propagated = engine::Propagate(grid);
    out.grid = grid;
    if (out.propagated) {
        // A fixed point: every digit passed again changes nothing.
        grid.dirty = engine::kAllDigits;
        EXPECT_TRUE(engine::Propagate(grid));
        EXPECT_EQ(grid.cand, out.grid.cand);
        EXPECT_EQ(grid.open, out.grid.open);
    }
    return out;
}

void ExpectSame(const Outcome& a, const Outcome& b, const std::string& what) {
    EXPECT_EQ(a.code, b.code) << what;
    EXPECT_EQ(a.solved, b.solved) << what;
    EXPECT_EQ(a.solution, b.solution) << what;
    ASSERT_EQ(a.count, b.count) << what;
    for (int i = 0; i < a.count; ++i) EXPECT_EQ(a.found[i], b.found[i]) << what << " #" << i;
    EXPECT_EQ(a.propagated, b.propagated) << what;
    EXPECT_EQ(a.grid.cand, b.grid.cand) << what;
    EXPECT_EQ(a.grid.open, b.grid.open) << what;
    EXPECT_EQ(a.grid.dirty, b.grid.dirty) << what;
}

TEST(EnginePathsTest, PortableFirstAndEverySupportedPathSelectable) {
    const std::vector<CodePath> paths = engine::SupportedCodePaths();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), CodePath::Portable);
    std::vector<std::string> names;
    for (const CodePath path : paths) {
        PathScope scope(path);
        EXPECT_TRUE(scope.selected());
        EXPECT_EQ(engine::ActiveCodePath(), path);
        names.emplace_back(engine::CodePathName(path));
        EXPECT_FALSE(names.back().empty());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
}

TEST(EnginePathsTest, EveryPathGivesTheSameResults) {
    const std::vector<ValueArray16> boards = Boards();
    ASSERT_GT(boards.size(), 700u);
    std::vector<Outcome> expected;
    int codes[5] = {};
    {
        PathScope portable(CodePath::Portable);
        for (const ValueArray16& board : boards) {
            expected.push_back(Answer(board));
            ++codes[expected.back().code + 2];
        }
    }
    // The sweep reaches every answer the solver gives but the internal error.
    for (int code = -1; code <= 2; ++code) EXPECT_GE(codes[code + 2], 5) << "code " << code;
    for (const CodePath path : engine::SupportedCodePaths()) {
        PathScope scope(path);
        for (std::size_t i = 0; i < boards.size(); ++i) {
            ExpectSame(Answer(boards[i]), expected[i],
                       std::string(engine::CodePathName(path)) + " board " + std::to_string(i));
            if (HasFailure()) return;
        }
    }
}

TEST(EngineTest, CompletionCheckRejectsEveryBrokenRule) {
    const std::vector<ValueArray16> boards = Boards();
    int checked = 0;
    for (std::size_t i = 0; i < boards.size(); i += 4) {
        ValueArray16 values = boards[i];
        if (!Solver().SolveBoard(values)) continue;
        engine::Solution solution{};
        engine::Solution givens{};
        for (int n = 1; n <= kCellCount; ++n) {
            solution[n - 1] = static_cast<std::uint8_t>(values[n]);
            givens[n - 1] = static_cast<std::uint8_t>(boards[i][n]);
        }
        engine::Grid grid;
        ASSERT_TRUE(engine::PlaceAll(grid, givens));
        EXPECT_TRUE(engine::IsCompletionOf(grid, solution));
        EXPECT_TRUE(engine::IsCompletionOf(engine::EmptyGrid(), solution));
        const int c = static_cast<int>(i * 7 % 81);
        const int row = c / 9 * 9;
        for (const std::uint8_t bad : {0, 10, solution[c] % 9 + 1}) {
            engine::Solution broken = solution;
            broken[c] = bad;
            EXPECT_FALSE(engine::IsCompletionOf(engine::EmptyGrid(), broken)) << int{bad};
        }
        // Two cells of a row swapped: the row still holds every digit, its columns do not.
        engine::Solution swapped = solution;
        std::swap(swapped[row + c % 9], swapped[row + (c + 4) % 9]);
        EXPECT_FALSE(engine::IsCompletionOf(engine::EmptyGrid(), swapped));
        // A sound grid that does not keep the givens: the digits renamed.
        engine::Solution renamed = solution;
        for (std::uint8_t& d : renamed) d = static_cast<std::uint8_t>(d % 9 + 1);
        EXPECT_TRUE(engine::IsCompletionOf(engine::EmptyGrid(), renamed));
        const bool anyGiven = givens != engine::Solution{};
        EXPECT_EQ(engine::IsCompletionOf(grid, renamed), !anyGiven);
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

// Run by ctest with KZ_ENGINE_PATH set; a name the processor cannot run falls back to the
// fastest path it can.
TEST(EnginePathsTest, EnvironmentChoosesThePath) {
    const char* wanted = std::getenv("KZ_ENGINE_PATH");
    if (wanted == nullptr) GTEST_SKIP() << "KZ_ENGINE_PATH not set";
    const std::vector<CodePath> paths = engine::SupportedCodePaths();
    CodePath expected = paths.back();
    for (const CodePath path : paths) {
        if (engine::CodePathName(path) == wanted) expected = path;
    }
    EXPECT_EQ(engine::ActiveCodePath(), expected) << wanted;
}

}  // namespace
}  // namespace kz
