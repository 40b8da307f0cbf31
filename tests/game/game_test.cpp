// SPDX-License-Identifier: MIT
// The game model: random play from many seeds holds the game's invariants, and each way a
// player lost a game, or was misled, stays mended.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "files/keptgame.h"
#include "game/game.h"
#include "game/keeper.h"
#include "logic/hint.h"
#include "logic/solver.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Puzzles() {
    std::ifstream in(std::string(KZ_TEST_DATA_DIR) + "/magictour_top1465.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line) && lines.size() < 40;) lines.push_back(line);
    return lines;
}

ValueArray16 Values(const std::string& line) {
    ValueArray16 values{};
    for (int n = 1; n <= kCellCount; ++n) {
        const char c = line[static_cast<std::size_t>(n - 1)];
        values[n] = static_cast<std::int16_t>(c >= '1' && c <= '9' ? c - '0' : 0);
    }
    return values;
}

/// Digits and notes: what the history's records speak of.
struct Cells {
    std::array<int, kArraySize> values{};
    NoteArray notes{};
    friend bool operator==(const Cells&, const Cells&) = default;
};

Cells CellsOf(const Game& game) {
    Cells cells;
    for (int n = 1; n <= kCellCount; ++n) cells.values[n] = game.board()[n].Value;
    cells.notes = game.notes();
    return cells;
}

/// The board rebuilt from where the history began by its records alone.
Cells Replayed(Cells cells, const UndoData& history) {
    for (const UndoRecord& r : history.records()) {
        if (r.Cell < 1) continue;
        if (r.Note) {
            cells.notes[r.Cell] = static_cast<NoteSet>(r.NewValue);
        } else {
            cells.values[r.Cell] = r.NewValue;
        }
    }
    return cells;
}

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("kz-game-test-" + std::to_string(::getpid()) +
                                                 "-" + std::to_string(std::random_device()()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

TEST(GameModel, RandomPlayKeepsHistoryUndoRedoAndKeptTextInStep) {
    const std::vector<std::string> puzzles = Puzzles();
    ASSERT_EQ(puzzles.size(), 40u);
    for (unsigned seed = 0; seed < puzzles.size(); ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int lo, int hi) {
            return std::uniform_int_distribution(lo, hi)(rng);
        };
        GameRules rules;
        Game game;
        game.setRules([&] { return rules; });
        Cells origin;
        const auto load = [&](const std::string& line) {
            game.Load(Values(line), " [p.csv]", 0);
            origin = CellsOf(game);
        };
        load(puzzles[seed]);
        const logic::Digits solved = logic::UniqueSolution(game.ProblemDigits()).value();
        ValueArray16 solution{};
        for (int n = 1; n <= kCellCount; ++n) solution[n] = solved[n - 1];
        for (int step = 0; step < 250; ++step) {
            const int blank = pick(1, kCellCount);
            switch (pick(0, 19)) {
                case 0:
                    game.FillNotes();
                    break;
                case 1:
                    game.ClearNotes();
                    break;
                case 2:
                    game.RevealAnswer(blank, solution[blank]);
                    break;
                case 3:
                    game.UndoOne();
                    break;
                case 4:
                    game.UndoToBreakpoint();
                    break;
                case 5:
                    game.Redo();
                    break;
                case 6:
                    game.SetBreakpoint();
                    break;
                case 7:
                    rules = {pick(0, 1) == 1, pick(0, 1) == 1};
                    break;
                case 8: {
                    // A caption of any bytes, as a file name may hold.
                    std::string caption;
                    for (int i = pick(0, 12); i > 0; --i)
                        caption += static_cast<char>(pick(0, 255));
                    game.setCaption(caption);
                    break;
                }
                case 9:
                    switch (pick(0, 9)) {
                        case 0:
                            game.RevealAll(solution);
                            break;
                        case 1:
                            game.Clear(pick(0, 1) == 1);
                            origin = CellsOf(game);
                            break;
                        case 2:
                            game.MakeAllEnterable();
                            break;
                        case 3:
                            game.SavedHalfWay(" [half.csv]", 1000);
                            break;
                        case 4:
                            load(puzzles[static_cast<std::size_t>(pick(0, 39))]);
                            break;
                        case 5: {
                            const logic::Hint hint =
                                logic::FindHint(game.ProblemDigits(), game.Digits(), game.notes());
                            if (hint.kind == logic::HintKind::Steps)
                                game.ApplyStep(hint.steps.front());
                            break;
                        }
                        default:
                            game.Resume(game.Kept(5000), 5000);
                            break;
                    }
                    break;
                default:
                    game.Click(blank, pick(0, 9), pick(0, 3) == 0);
                    break;
            }
            ASSERT_EQ(Replayed(origin, game.history()), CellsOf(game)) << "step " << step;

            const KeptGame kept = game.Kept(7000);
            KeptGame read;
            ASSERT_TRUE(ParseKeptGame(FormatKeptGame(kept), read).ok) << "step " << step;
            ASSERT_EQ(read, SafeKeptGame(kept));

            Game copy;
            copy.Resume(kept, 7000);
            ASSERT_EQ(CellsOf(copy), CellsOf(game));
            const UndoData::UndoOutcome undone = copy.UndoOne();
            if (undone == UndoData::UndoOutcome::Restored ||
                undone == UndoData::UndoOutcome::GroupRewound) {
                ASSERT_TRUE(copy.Redo());
                ASSERT_EQ(CellsOf(copy), CellsOf(game)) << "undo then redo, step " << step;
            }
        }
    }
}

// ---- One case per fault a player met ----

struct Played {
    Game game;
    explicit Played(int moves, std::string caption = " [p.csv]") {
        const std::string line = Puzzles().front();
        game.Load(Values(line), std::move(caption), 0);
        const logic::Digits solved = logic::UniqueSolution(game.ProblemDigits()).value();
        for (int n = 1; n <= kCellCount && moves > 0; ++n) {
            if (game.board()[n].Value == 0) {
                game.Click(n, solved[n - 1], false);
                --moves;
            }
        }
    }
};

TEST(GameFaults, CaptionWithControlCharactersReadsBack) {
    TempDir dir;
    Played played(1, " [a\tb\nc.csv]");
    GameKeeper keeper(dir.path / "game.txt", {});
    keeper.Keep(played.game.serial(), played.game.Kept(0), false);
    keeper.Flush();
    KeptGame read;
    const FileResult result = ReadKeptGame(dir.path / "game.txt", read);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(read.board, played.game.board());
}

TEST(GameFaults, FailedWriteIsTriedAgain) {
    TempDir dir;
    std::ofstream(dir.path / "state") << "a file where the folder should be";
    GameKeeper keeper(dir.path / "state" / "game.txt", {});
    Played played(2);
    keeper.Keep(played.game.serial(), played.game.Kept(0), false);
    keeper.Flush();
    fs::remove(dir.path / "state");
    // Nothing changed since: the game still was never on disk.
    keeper.Keep(played.game.serial(), played.game.Kept(0), false);
    keeper.Flush();
    KeptGame read;
    ASSERT_TRUE(ReadKeptGame(dir.path / "state" / "game.txt", read).ok);
    EXPECT_EQ(read.board, played.game.board());
}

TEST(GameFaults, StrayClickAndClearKeepTheGameOnOffer) {
    TempDir dir;
    const fs::path path = dir.path / "game.txt";
    const Played earlier(25);
    ASSERT_TRUE(WriteKeptGame(path, earlier.game.Kept(0)).ok);

    GameKeeper keeper(path, {});
    Played stray(1);
    keeper.Keep(stray.game.serial(), stray.game.Kept(0), false);
    keeper.Flush();
    std::vector<KeptEntry> offered = keeper.Offered(stray.game.serial());
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(MovesOf(offered[0].game), 25u);

    // The clear empties the board and the history; the game it cleared is on offer too.
    stray.game.Clear(false);
    EXPECT_TRUE(stray.game.history().records().empty());
    keeper.Keep(stray.game.serial(), stray.game.Kept(0), stray.game.Complete());
    keeper.Flush();
    offered = keeper.Offered(stray.game.serial());
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].file, path);
    EXPECT_EQ(MovesOf(offered[0].game), 1u);

    KeptGame taken;
    fs::path aside;
    ASSERT_TRUE(keeper.TakeUp(offered[1].file, stray.game.serial() + 1, taken, aside).ok);
    EXPECT_EQ(taken, earlier.game.Kept(0));
    KeptGame read;
    ASSERT_TRUE(ReadKeptGame(path, read).ok);
    EXPECT_EQ(read, taken);
}

TEST(GameFaults, OfferedListKeepsTheNewestGames) {
    TempDir dir;
    GameKeeper keeper(dir.path / "game.txt", {});
    Played played(0);
    for (int k = 1; k <= 12; ++k) {
        played.game.Clear(false);
        played.game.Click(k, 1, false);
        keeper.Keep(played.game.serial(), played.game.Kept(0), false);
    }
    keeper.Flush();
    const std::vector<KeptEntry> offered = keeper.Offered(played.game.serial() + 1);
    ASSERT_EQ(offered.size(), kRecentGames + 1);
    for (std::size_t i = 0; i < offered.size(); ++i) {
        EXPECT_EQ(offered[i].game.board[12 - static_cast<int>(i)].Value, 1) << i;
    }
}

TEST(GameFaults, ClickThatChangesNothingKeepsRedo) {
    Played played(1);
    Game& game = played.game;
    ASSERT_EQ(game.UndoOne(), UndoData::UndoOutcome::Restored);
    const int blank =
        static_cast<int>(std::find_if(game.board().begin() + 1, game.board().end(),
                                      [](const CellData& c) { return c.Value == 0; }) -
                         game.board().begin());
    EXPECT_EQ(game.Click(blank, 0, false), Game::Outcome::Done);
    EXPECT_EQ(game.history().records().size(), 1u);  // still recorded
    EXPECT_TRUE(game.history().canRedo());
}

TEST(GameFaults, HintDoesNotCallAnErasedGivenSolved) {
    const ValueArray16 values = Values(Puzzles().front());
    logic::Digits puzzle{};
    for (int n = 1; n <= kCellCount; ++n) puzzle[n - 1] = static_cast<std::uint8_t>(values[n]);
    logic::Digits board = logic::UniqueSolution(puzzle).value();
    const int given = static_cast<int>(
        std::find_if(puzzle.begin(), puzzle.end(), [](int d) { return d != 0; }) - puzzle.begin());
    board[static_cast<std::size_t>(given)] = 0;
    const logic::Hint hint = logic::FindHint(puzzle, board, {});
    ASSERT_EQ(hint.kind, logic::HintKind::Steps);
    ASSERT_EQ(hint.steps.back().placements.size(), 1u);
    EXPECT_EQ(hint.steps.back().placements[0].cell, given);
}

}  // namespace
}  // namespace kz

namespace kz {
namespace {

// Going back to before the first mistake: from many seeds a sound game, one mistake (a wrong
// digit, or a solution digit taken from a cell's notes), then any play that leaves that cell
// alone. The rewind must stop exactly at the game before the mistake (not earlier, not at a
// later step that only looks sound), count the steps it undid, and leave them to redo.
TEST(GameModel, RewindStopsJustBeforeTheFirstMistakeAndRedoReturns) {
    const std::vector<std::string> puzzles = Puzzles();
    for (unsigned seed = 0; seed < puzzles.size(); ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int lo, int hi) {
            return std::uniform_int_distribution(lo, hi)(rng);
        };
        Game game;
        game.setRules([] { return GameRules{false, true}; });
        game.Load(Values(puzzles[seed]), "", 0);
        const logic::Digits solution = logic::UniqueSolution(game.ProblemDigits()).value();
        const auto answer = [&](int n) { return int(solution[static_cast<std::size_t>(n - 1)]); };
        const auto blank = [&] {
            for (;;) {
                const int n = pick(1, kCellCount);
                if (game.board()[n].Value == 0) return n;
            }
        };
        EXPECT_EQ(game.RewindToSound(solution), 0);
        for (int step = pick(0, 30); step > 0; --step) {
            const int n = blank();
            if (pick(0, 4) == 0) {
                game.FillNotes();
            } else if ((game.notes()[n] & NoteBit(answer(n))) != 0) {
                game.Click(n, answer(n) % 9 + 1, true);  // another candidate, on or off
            } else {
                game.Click(n, answer(n), false);
            }
            ASSERT_TRUE(game.Sound(solution));
        }
        const Cells before = CellsOf(game);
        const int wrongCell = blank();
        const NoteSet notes = game.notes()[wrongCell];
        const NoteSet rest = notes & NoteSet(~NoteBit(answer(wrongCell)));
        const bool noteMistake = rest != 0 && rest != notes;
        ASSERT_EQ(game.Click(wrongCell, noteMistake ? answer(wrongCell) : answer(wrongCell) % 9 + 1,
                             noteMistake),
                  Game::Outcome::Done);
        int steps = 1;
        for (int move = pick(0, 25); move > 0; --move) {
            const int n = pick(1, kCellCount);
            if (n == wrongCell) continue;
            const Game::Outcome outcome = game.Click(n, pick(0, 9), pick(0, 1) == 1);
            steps += outcome == Game::Outcome::Done || outcome == Game::Outcome::Completed;
        }
        const Cells after = CellsOf(game);
        EXPECT_EQ(game.RewindToSound(solution), steps);
        EXPECT_TRUE(CellsOf(game) == before);
        for (int i = 0; i < steps; ++i) EXPECT_TRUE(game.Redo());
        EXPECT_TRUE(CellsOf(game) == after);
    }
}

}  // namespace
}  // namespace kz
