// SPDX-License-Identifier: MIT
// The move history (module `undodata`): one stack of cell changes with breakpoint and
// group-end markers, the undo commands that walk it, the redo list of what they took back,
// and the enabled state of the undo and redo menu items, which it reports to listeners.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/board.h"

namespace kz {

inline constexpr std::int16_t UndoBreakpoint = -1;
inline constexpr std::int16_t UndoGroupEnd = -2;
/// Opens a group that is not a breakpoint: a placement with the notes it tidied away, a fill
/// of notes. Undo-one takes the group back to here; back-to-breakpoint walks past it.
inline constexpr std::int16_t UndoGroupStart = -3;

/// One entry: the changed cell 1..81 (or a marker), the digit before and the digit written;
/// for a note record, the cell's note sets before and after. Marker records carry 0 in both.
struct UndoRecord {
    std::int16_t Cell = 0;
    std::int16_t OldValue = 0;
    std::int16_t NewValue = 0;
    bool Note = false;

    friend bool operator==(const UndoRecord&, const UndoRecord&) = default;
};

/// A record with the mark its new digit was shown with, so that redo shows a revealed answer
/// as one again.
struct UndoEntry {
    UndoRecord record;
    std::uint8_t mark = MarkNone;

    friend bool operator==(const UndoEntry&, const UndoEntry&) = default;
};

class UndoData {
public:
    /// Told (can undo one, can undo to a breakpoint) whenever either changes.
    using MenuListener = std::function<void(bool canUndoOne, bool canUndoToBreakpoint)>;
    /// Told whenever the redo list turns empty or not.
    using RedoListener = std::function<void(bool canRedo)>;
    /// Writes a cell back: the window calls SetCell(cell, oldValue, false, MarkNone).
    using CellRestorer = std::function<void(int cell, int oldValue)>;
    /// Writes a recorded change, back (undo) or again (redo): a digit with the mark to show,
    /// or a cell's whole note set.
    struct ChangeWriter {
        std::function<void(int cell, int value, int mark)> digit;
        std::function<void(int cell, NoteSet notes)> notes;
    };
    /// Everything the history holds, for keeping a game aside and taking it up again.
    struct Snapshot {
        std::vector<UndoEntry> undo;
        /// Oldest first; each step is what one undo took back, in the order it was made.
        std::vector<std::vector<UndoEntry>> redo;

        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };

    /// What undo-one did, so the caller can show the breakpoint notice.
    enum class UndoOutcome { Nothing, Restored, BreakpointRemoved, GroupRewound };

    void setMenuListener(MenuListener listener);
    void setRedoListener(RedoListener listener);
    /// Told after every change of the records or the redo list, whatever the menu shows.
    void setChangeListener(std::function<void()> listener);

    void ResetUndo();
    /// Records one change; `mark` is how the new digit is shown. A record that changes the
    /// board clears the redo list, as redo only replays onto the board that undo left; one
    /// that writes what was there (an eraser on a blank) leaves that board and the list alone.
    void PushUndo(int cell, int oldValue, int newValue, int mark = MarkNone);
    /// Records a change of a cell's notes.
    void PushNotes(int cell, NoteSet oldNotes, NoteSet newNotes);
    /// Records changes made as one step: alone as they are, several between a group start
    /// and a group end, so that one undo takes them all back. Nothing for no change. With
    /// `breakpoint` the group opens with a breakpoint instead, even for one change: revealing
    /// every answer is a step back-to-breakpoint stops before.
    void PushStep(const std::vector<UndoEntry>& changes, bool breakpoint = false);
    /// The top record, removed; Cell = 0 when the history is empty.
    UndoRecord PopUndo();
    /// The top record, kept; Cell = 0 when the history is empty.
    UndoRecord PeekUndo() const;

    /// The undo-one command.
    UndoOutcome UndoOne(const CellRestorer& restore);
    UndoOutcome UndoOne(const ChangeWriter& write);
    /// The back-to-breakpoint command.
    void UndoToBreakpoint(const CellRestorer& restore);
    void UndoToBreakpoint(const ChangeWriter& write);
    /// The set-breakpoint command: pushes a breakpoint unless the top already is one.
    void SetBreakpoint();
    /// Replays what the last undo took back; false when there was nothing to redo.
    bool Redo(const ChangeWriter& write);

    bool canUndoOne() const;
    bool canUndoToBreakpoint() const;
    bool canRedo() const { return !m_redo.empty(); }
    const std::vector<UndoRecord>& records() const { return m_records; }

    Snapshot snapshot() const;
    /// Takes over a kept history; the listeners hear the new state.
    void restore(const Snapshot& snapshot);

private:
    void push(const UndoEntry& entry);
    UndoEntry pop();
    /// Pops back to the first breakpoint (or, with toGroupStart, the first group start too),
    /// writing each change back, and keeps what it took for redo.
    void rewind(UndoEntry first, const ChangeWriter& write, bool toGroupStart,
                std::vector<UndoEntry>& taken);
    static void writeBack(const UndoEntry& entry, const ChangeWriter& write);
    void keepForRedo(std::vector<UndoEntry> taken);
    void clearRedo();
    void notify();
    static ChangeWriter digitsOnly(const CellRestorer& restore);

    std::vector<UndoRecord> m_records;
    std::vector<std::uint8_t> m_marks;
    std::vector<std::vector<UndoEntry>> m_redo;
    std::size_t m_breakpoints = 0;
    bool m_lastCanUndo = false;
    bool m_lastCanBreak = false;
    bool m_lastCanRedo = false;
    MenuListener m_listener;
    RedoListener m_redoListener;
    std::function<void()> m_changeListener;
};

}  // namespace kz
