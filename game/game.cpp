// SPDX-License-Identifier: MIT
// The game's commands.
#include "game/game.h"

#include <algorithm>

#include "history/notes.h"

namespace kz {

Game::Game() = default;

void Game::setChangeListener(std::function<void()> listener) {
    m_changeListener = listener;
    m_history.setChangeListener(std::move(listener));
}

std::optional<std::int64_t> Game::elapsedSeconds(std::int64_t nowMs) const {
    if (!m_startMs) return std::nullopt;
    // A clock set back while playing must not produce a negative time.
    return std::max<std::int64_t>(0, (nowMs - *m_startMs) / 1000);
}

logic::Digits Game::ProblemDigits() const {
    // The player's digits are never the puzzle while the one the game came from is kept:
    // not after the givens were made editable, nor after a save half way.
    if (m_puzzle) return *m_puzzle;
    logic::Digits givens{};
    bool anyGiven = false;
    for (int n = 1; n <= kCellCount; ++n) {
        if (m_board[n].Problem) {
            givens[n - 1] = m_board[n].Value;
            anyGiven = true;
        }
    }
    return anyGiven ? givens : Digits();
}

logic::Digits Game::Digits() const {
    logic::Digits all{};
    for (int n = 1; n <= kCellCount; ++n) all[n - 1] = m_board[n].Value;
    return all;
}

KeptGame Game::Kept(std::int64_t nowMs) const {
    KeptGame game;
    if (m_puzzle) std::copy(m_puzzle->begin(), m_puzzle->end(), game.puzzle.emplace().begin());
    game.board = m_board;
    game.notes = m_notes;
    game.history = m_history.snapshot();
    game.elapsedSeconds = elapsedSeconds(nowMs);
    game.caption = m_caption;
    return game;
}

// ---- The cell writer ----

void Game::changed(int n) {
    if (m_cellListener) m_cellListener(n);
    if (m_changeListener) m_changeListener();
}

void Game::SetCell(int n, int value, bool problem, int mark) {
    if (n < 1 || n > kCellCount || value < 0 || value > 9) return;
    CellData& cell = m_board[n];
    cell.Value = static_cast<std::uint8_t>(value);
    cell.Problem = problem;
    cell.Mark = static_cast<std::uint8_t>(mark);
    changed(n);
}

void Game::SetNotes(int n, NoteSet notes) {
    if (n < 1 || n > kCellCount) return;
    m_notes[n] = notes & kAllNotes;
    changed(n);
}

ConsistencyResult Game::CheckConsistency(bool mark) {
    return ::kz::CheckConsistency(
        m_board, m_consistent, mark,
        [this](int n, std::uint8_t v, bool p, std::uint8_t m) { SetCell(n, v, p, m); });
}

void Game::ClearConflictMarks() {
    ::kz::ClearConflictMarks(
        m_board, [this](int n, std::uint8_t v, bool p, std::uint8_t m) { SetCell(n, v, p, m); });
}

bool Game::Complete() {
    const ConsistencyResult check = CheckConsistency(false);
    return !check.hasBlank && !check.hasConflict;
}

// ---- The step mechanism ----

void Game::apply(const std::vector<UndoEntry>& changes, bool breakpoint) {
    for (const UndoEntry& change : changes) {
        const UndoRecord& r = change.record;
        if (r.Note) {
            SetNotes(r.Cell, static_cast<NoteSet>(r.NewValue));
        } else {
            SetCell(r.Cell, r.NewValue, false, change.mark);
        }
    }
    m_history.PushStep(changes, breakpoint);
}

UndoData::ChangeWriter Game::writer() {
    UndoData::ChangeWriter write;
    write.digit = [this](int cell, int value, int mark) { SetCell(cell, value, false, mark); };
    write.notes = [this](int cell, NoteSet notes) { SetNotes(cell, notes); };
    return write;
}

std::vector<UndoEntry> Game::placement(int n, int digit, const NoteArray& notes) const {
    std::vector<UndoEntry> changes{
        {{static_cast<std::int16_t>(n), static_cast<std::int16_t>(m_board[n].Value),
          static_cast<std::int16_t>(digit)}}};
    // The eraser writes no digit, so it tidies nothing.
    if (digit != 0) {
        const NoteChanges tidied = TidyAfterPlacement(notes, n, digit, rules().tidyNotes);
        changes.insert(changes.end(), tidied.begin(), tidied.end());
    }
    return changes;
}

// ---- Commands ----

Game::Outcome Game::Click(int n, int tile, bool noteMode) {
    if (n < 1 || n > kCellCount || tile < 0 || tile > 9 || m_board[n].Problem) {
        return Outcome::Ignored;
    }
    const bool check = rules().autoCheck;
    if (noteMode) {
        if (m_board[n].Value != 0) return Outcome::Ignored;
        const NoteSet before = m_notes[n];
        NoteSet after = 0;
        if (tile != 0) {
            const NoteSet bit = NoteBit(tile);
            // Only a new note is refused: one already written may always be taken away.
            if ((before & bit) == 0 && check && !CanPlace(Values8(m_board), n, tile)) {
                return Outcome::Refused;
            }
            after = static_cast<NoteSet>(before ^ bit);
        }
        if (after == before) return Outcome::Ignored;
        apply({NoteEntry(n, before, after)});
        return Outcome::Done;
    }
    if (check && tile != 0 && !CanPlace(Values8(m_board), n, tile)) return Outcome::Refused;
    // Without notes to tidy this is the one record a placement always was.
    apply(placement(n, tile, m_notes));
    return Complete() ? Outcome::Completed : Outcome::Done;
}

void Game::FillNotes() {
    apply(FillAllNotes(m_board, m_notes));
}

void Game::ClearNotes() {
    apply(::kz::ClearNotes(m_notes));
}

void Game::RevealAnswer(int n, int digit) {
    if (n < 1 || n > kCellCount || m_board[n].Value != 0) return;
    std::vector<UndoEntry> changes{
        {{static_cast<std::int16_t>(n), 0, static_cast<std::int16_t>(digit)}, MarkAnswer}};
    // The cell's notes go with the answer, in the same step.
    if (m_notes[n] != 0) changes.push_back(NoteEntry(n, m_notes[n], 0));
    apply(changes);
}

void Game::RevealAll(const ValueArray16& solution) {
    std::vector<UndoEntry> changes;
    for (int n = 1; n <= kCellCount; ++n) {
        if (m_board[n].Value != 0) continue;
        changes.push_back(
            {{static_cast<std::int16_t>(n), 0, static_cast<std::int16_t>(solution[n])},
             MarkAnswer});
        if (m_notes[n] != 0) changes.push_back(NoteEntry(n, m_notes[n], 0));
    }
    apply(changes, true);
}

UndoData::UndoOutcome Game::UndoOne() {
    return m_history.UndoOne(writer());
}

bool Game::Sound(const logic::Digits& solution) const {
    for (int n = 1; n <= kCellCount; ++n) {
        const int want = solution[n - 1];
        const int value = m_board[n].Value;
        if (value != 0 && value != want) return false;
        if (value == 0 && m_notes[n] != 0 && (m_notes[n] & NoteBit(want)) == 0) return false;
    }
    return true;
}

std::optional<int> Game::RewindToSound(const logic::Digits& solution) {
    int undone = 0;
    int records = 0;  // breakpoints taken away count as undo steps to give back, not as moves
    while (!Sound(solution)) {
        const UndoData::UndoOutcome outcome = UndoOne();
        if (outcome == UndoData::UndoOutcome::Nothing) {
            // No sound point to go back to: what was undone comes back.
            for (int i = 0; i < records; ++i) Redo();
            return std::nullopt;
        }
        ++records;
        if (outcome != UndoData::UndoOutcome::BreakpointRemoved) ++undone;
    }
    return undone;
}

void Game::UndoToBreakpoint() {
    m_history.UndoToBreakpoint(writer());
}

bool Game::Redo() {
    return m_history.Redo(writer());
}

void Game::Clear(bool keepProblem) {
    ++m_serial;
    m_caption.clear();
    // Notes belong to the game on the board; only enterable cells carry them, and every one
    // of those is emptied here.
    m_notes.fill(0);
    if (!keepProblem) m_puzzle.reset();
    for (int n = 1; n <= kCellCount; ++n) {
        if (keepProblem && m_board[n].Problem) {
            SetCell(n, m_board[n].Value, true, MarkNone);
        } else {
            SetCell(n, 0, false, MarkNone);
        }
    }
    m_history.ResetUndo();
    m_startMs.reset();
}

void Game::MakeAllEnterable() {
    for (int n = 1; n <= kCellCount; ++n) {
        if (m_board[n].Problem) SetCell(n, m_board[n].Value, false, MarkNone);
    }
}

void Game::SavedHalfWay(std::string caption, std::int64_t nowMs) {
    const bool hadGivens = std::any_of(m_board.begin() + 1, m_board.end(),
                                       [](const CellData& c) { return c.Problem; });
    for (int n = 1; n <= kCellCount; ++n) {
        if (m_board[n].Value != 0) SetCell(n, m_board[n].Value, true, MarkNone);
    }
    // A board typed by hand becomes the puzzle; a game saved half way keeps the one it has.
    if (!m_puzzle && !hadGivens) setPuzzleFromGivens();
    m_caption = std::move(caption);
    m_startMs = nowMs;
}

void Game::Load(const ValueArray16& values, std::string caption,
                std::optional<std::int64_t> startMs) {
    Clear(false);
    for (int n = 1; n <= kCellCount; ++n) SetCell(n, values[n], values[n] != 0, MarkNone);
    setPuzzleFromGivens();
    m_caption = std::move(caption);
    m_startMs = startMs;
}

void Game::Resume(const KeptGame& game, std::int64_t nowMs) {
    Clear(false);
    for (int n = 1; n <= kCellCount; ++n) {
        const CellData& cell = game.board[n];
        SetCell(n, cell.Value, cell.Problem, cell.Mark);
        SetNotes(n, game.notes[n]);
    }
    if (game.puzzle)
        std::copy(game.puzzle->begin(), game.puzzle->end(), m_puzzle.emplace().begin());
    m_history.restore(game.history);
    m_caption = game.caption;
    // The clock goes on from the time already spent; the time the program was closed does
    // not count.
    m_startMs.reset();
    if (game.elapsedSeconds) m_startMs = nowMs - *game.elapsedSeconds * 1000;
}

Game::Outcome Game::ApplyStep(const logic::Step& step) {
    // The removals first, on a copy, so that the placement's tidying starts from them.
    NoteArray notes = m_notes;
    std::vector<UndoEntry> changes;
    for (const logic::Elimination& e : step.eliminations) {
        const int n = e.cell + 1;
        if (m_board[n].Value != 0) continue;
        // A cell without notes holds every digit its units allow; taking one away writes
        // the rest down.
        const NoteSet before = notes[n] != 0 ? notes[n] : AllowedNotes(m_board, n);
        const NoteSet after = static_cast<NoteSet>(before & ~NoteBit(e.digit));
        if (after == notes[n]) continue;
        changes.push_back(NoteEntry(n, notes[n], after));
        notes[n] = after;
    }
    for (const logic::Placement& p : step.placements) {
        const std::vector<UndoEntry> placed = placement(p.cell + 1, p.digit, notes);
        for (const UndoEntry& change : placed) {
            if (change.record.Note) notes[change.record.Cell] = change.record.NewValue;
        }
        changes.insert(changes.end(), placed.begin(), placed.end());
    }
    if (changes.empty()) return Outcome::Ignored;
    apply(changes);
    return Complete() ? Outcome::Completed : Outcome::Done;
}

void Game::setPuzzleFromGivens() {
    logic::Digits puzzle{};
    for (int n = 1; n <= kCellCount; ++n) {
        puzzle[n - 1] = m_board[n].Problem ? m_board[n].Value : 0;
    }
    m_puzzle = puzzle;
}

}  // namespace kz
