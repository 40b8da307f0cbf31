// SPDX-License-Identifier: MIT
// The game as a value: the board, the notes, the history, the puzzle the game came from, the
// clock and the caption, and every command a player gives as a method. Each command changes
// the state through the one cell writer and the one step mechanism, records what it did, and
// names every cell it changed to the cell listener, so that a view redraws those alone.
//
// No toolkit here: the window turns clicks and menus into calls, draws the named cells and
// talks to the player; what a command means is written once, in this file's implementation.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/consistency.h"
#include "files/keptgame.h"
#include "history/undodata.h"
#include "logic/state.h"
#include "logic/step.h"

namespace kz {

/// The settings a command reads at the moment it runs.
struct GameRules {
    /// A digit (or a new note) its row, column or box already holds is refused.
    bool autoCheck = true;
    /// A placement takes its digit from the notes of the cells it sees.
    bool tidyNotes = true;
};

class Game {
public:
    /// Told of each cell whose digit, kind, mark or notes were written.
    using CellListener = std::function<void(int n)>;
    /// What a click or a step on the board came to.
    enum class Outcome : std::uint8_t {
        Ignored,    ///< nothing to do (a given, a note on a digit, no change)
        Refused,    ///< the automatic check refused it: the player hears the beep
        Done,       ///< changed and recorded
        Completed,  ///< changed and recorded, and the board is now full without a conflict
    };

    Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void setCellListener(CellListener listener) { m_cellListener = std::move(listener); }
    /// Told after every change of the board, the notes or the history: the game to keep.
    void setChangeListener(std::function<void()> listener);
    /// Where the commands read the settings from; the defaults without one.
    void setRules(std::function<GameRules()> rules) { m_rules = std::move(rules); }

    // ---- State ----

    const Board& board() const { return m_board; }
    const NoteArray& notes() const { return m_notes; }
    const CellConsistentArray& consistent() const { return m_consistent; }
    UndoData& history() { return m_history; }
    const UndoData& history() const { return m_history; }
    /// The puzzle as it came (read, made, derived, saved from a board without givens).
    const std::optional<logic::Digits>& puzzle() const { return m_puzzle; }
    /// What follows the program's name in the caption, UTF-8 (" [name.csv]", or empty).
    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) { m_caption = std::move(caption); }
    /// When the timed problem started, in milliseconds of the player's clock; none while
    /// nothing is timed.
    std::optional<std::int64_t> startMs() const { return m_startMs; }
    void setStartMs(std::optional<std::int64_t> start) { m_startMs = start; }
    /// Whole seconds spent on the timed problem by `nowMs`, never negative.
    std::optional<std::int64_t> elapsedSeconds(std::int64_t nowMs) const;
    /// Counts the games begun on this value: every load, clear and resume starts another.
    std::uint64_t serial() const { return m_serial; }
    /// The digits taken as the problem by the rating and the hint: the kept puzzle; without
    /// one the givens, or every digit when the board has no given (typed by hand).
    logic::Digits ProblemDigits() const;
    /// Every digit on the board, cell order 0..80.
    logic::Digits Digits() const;
    /// The game as the kept-game file holds it.
    KeptGame Kept(std::int64_t nowMs) const;

    // ---- The cell writer and the checks ----

    /// Stores value, kind and mark of cell n; cells outside 1..81 and values outside 0..9
    /// are ignored.
    void SetCell(int n, int value, bool problem, int mark);
    /// Stores cell n's notes; a cell with a digit keeps them but they do not show.
    void SetNotes(int n, NoteSet notes);
    ConsistencyResult CheckConsistency(bool mark);
    void ClearConflictMarks();

    // ---- Commands ----

    /// A click on cell n with palette choice `tile` (1..9, 0 the eraser): a placement, or in
    /// the note mode a note toggled (the eraser clears the cell's notes).
    Outcome Click(int n, int tile, bool noteMode);
    void FillNotes();
    void ClearNotes();
    /// Writes `digit` into blank cell n as a revealed answer, its notes gone in the same step.
    void RevealAnswer(int n, int digit);
    /// Every blank cell takes its digit of `solution` as one step back-to-breakpoint stops at.
    void RevealAll(const ValueArray16& solution);
    UndoData::UndoOutcome UndoOne();
    void UndoToBreakpoint();
    bool Redo();
    void SetBreakpoint() { m_history.SetBreakpoint(); }
    /// Empties the board (all but the givens with keepProblem), the notes, the history and
    /// the clock: another game begins.
    void Clear(bool keepProblem);
    /// Every given becomes a digit of the player's.
    void MakeAllEnterable();
    /// After the board was written to a problem file: its digits become the givens, a board
    /// typed by hand becomes the puzzle, and the clock starts again.
    void SavedHalfWay(std::string caption, std::int64_t nowMs);
    /// A new board whose non-zero digits are the givens and the puzzle: a file, a new
    /// puzzle or a variant.
    void Load(const ValueArray16& values, std::string caption, std::optional<std::int64_t> startMs);
    /// The kept game, whole; its clock goes on from the time already spent.
    void Resume(const KeptGame& game, std::int64_t nowMs);
    /// A hint's step done on the notes: its removals leave the notes (a cell without notes
    /// writes the others down), its placement is made as a click makes it; one undo step.
    Outcome ApplyStep(const logic::Step& step);
    /// Full and without a conflict.
    bool Complete();
    /// Every digit on the board is the solution's and no cell's notes lost its digit.
    bool Sound(const logic::Digits& solution) const;
    /// Undoes, one ordinary undo step at a time (redo brings them back), to the latest point
    /// that is Sound. The steps undone: 0 when the game is sound already; none when no point
    /// in the history is, and then the game is left as it was.
    std::optional<int> RewindToSound(const logic::Digits& solution);

private:
    /// The one step mechanism: writes each change and records them as one undo step.
    void apply(const std::vector<UndoEntry>& changes, bool breakpoint = false);
    std::vector<UndoEntry> placement(int n, int digit, const NoteArray& notes) const;
    UndoData::ChangeWriter writer();
    GameRules rules() const { return m_rules ? m_rules() : GameRules{}; }
    void setPuzzleFromGivens();
    void changed(int n);

    Board m_board{};
    NoteArray m_notes{};
    CellConsistentArray m_consistent{};
    UndoData m_history;
    std::optional<logic::Digits> m_puzzle;
    std::string m_caption;
    std::optional<std::int64_t> m_startMs;
    std::uint64_t m_serial = 0;
    CellListener m_cellListener;
    std::function<void()> m_changeListener;
    std::function<GameRules()> m_rules;
};

}  // namespace kz
