// SPDX-License-Identifier: MIT
// The move history (module `undodata`): one stack of cell changes with breakpoint and
// group-end markers, the undo commands that walk it, and the enabled state of the two undo
// menu items, which it reports to a listener.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kz {

inline constexpr std::int16_t UndoBreakpoint = -1;
inline constexpr std::int16_t UndoGroupEnd = -2;

/// One entry: the changed cell 1..81 (or a marker), the digit before and the digit written.
/// Marker records carry 0 in both values.
struct UndoRecord {
    std::int16_t Cell = 0;
    std::int16_t OldValue = 0;
    std::int16_t NewValue = 0;

    friend bool operator==(const UndoRecord&, const UndoRecord&) = default;
};

class UndoData {
public:
    /// Told (can undo one, can undo to a breakpoint) whenever either changes.
    using MenuListener = std::function<void(bool canUndoOne, bool canUndoToBreakpoint)>;
    /// Writes a cell back: the window calls SetCell(cell, oldValue, false, MarkNone).
    using CellRestorer = std::function<void(int cell, int oldValue)>;

    /// What undo-one did, so the caller can show the breakpoint notice.
    enum class UndoOutcome { Nothing, Restored, BreakpointRemoved, GroupRewound };

    void setMenuListener(MenuListener listener);

    void ResetUndo();
    void PushUndo(int cell, int oldValue, int newValue);
    /// The top record, removed; Cell = 0 when the history is empty.
    UndoRecord PopUndo();
    /// The top record, kept; Cell = 0 when the history is empty.
    UndoRecord PeekUndo() const;

    /// The undo-one command.
    UndoOutcome UndoOne(const CellRestorer& restore);
    /// The back-to-breakpoint command.
    void UndoToBreakpoint(const CellRestorer& restore);
    /// The set-breakpoint command: pushes a breakpoint unless the top already is one.
    void SetBreakpoint();

    bool canUndoOne() const;
    bool canUndoToBreakpoint() const;
    const std::vector<UndoRecord>& records() const { return m_records; }

private:
    void rewind(UndoRecord first, const CellRestorer& restore);
    void notify();

    std::vector<UndoRecord> m_records;
    std::size_t m_breakpoints = 0;
    bool m_lastCanUndo = false;
    bool m_lastCanBreak = false;
    MenuListener m_listener;
};

}  // namespace kz
