// SPDX-License-Identifier: MIT
// The move history: a growing stack of cell and note changes, breakpoints and group markers,
// and the steps that undo took back, kept for redo until the next change.
#include "history/undodata.h"

#include <algorithm>
#include <cassert>

namespace kz {

namespace {

bool isMarker(std::int16_t cell) {
    return cell == UndoBreakpoint || cell == UndoGroupEnd || cell == UndoGroupStart;
}

// Only a record that writes what was already there leaves the board as undo left it.
bool changesBoard(const UndoEntry& entry) {
    return isMarker(entry.record.Cell) || entry.record.OldValue != entry.record.NewValue;
}

}  // namespace

void UndoData::setMenuListener(MenuListener listener) {
    m_listener = std::move(listener);
}

void UndoData::setRedoListener(RedoListener listener) {
    m_redoListener = std::move(listener);
}

void UndoData::setChangeListener(std::function<void()> listener) {
    m_changeListener = std::move(listener);
}

void UndoData::ResetUndo() {
    m_records.clear();
    m_records.shrink_to_fit();
    m_marks.clear();
    m_marks.shrink_to_fit();
    m_redo.clear();
    m_breakpoints = 0;
    // Always told, even when nothing changed: a reset is how the window learns the state it
    // starts from.
    m_lastCanUndo = false;
    m_lastCanBreak = false;
    m_lastCanRedo = false;
    if (m_listener) m_listener(false, false);
    if (m_redoListener) m_redoListener(false);
    if (m_changeListener) m_changeListener();
}

void UndoData::push(const UndoEntry& entry) {
    // 0 would read back as "history empty".
    assert(isMarker(entry.record.Cell) || (entry.record.Cell >= 1 && entry.record.Cell <= 81));
    m_records.push_back(entry.record);
    m_marks.push_back(entry.mark);
    if (entry.record.Cell == UndoBreakpoint) ++m_breakpoints;
}

void UndoData::PushUndo(int cell, int oldValue, int newValue, int mark) {
    const UndoEntry entry{{static_cast<std::int16_t>(cell), static_cast<std::int16_t>(oldValue),
                           static_cast<std::int16_t>(newValue)},
                          static_cast<std::uint8_t>(mark)};
    push(entry);
    if (changesBoard(entry)) clearRedo();
    notify();
}

void UndoData::PushNotes(int cell, NoteSet oldNotes, NoteSet newNotes) {
    PushStep({{{static_cast<std::int16_t>(cell), static_cast<std::int16_t>(oldNotes),
                static_cast<std::int16_t>(newNotes), true}}});
}

void UndoData::PushStep(const std::vector<UndoEntry>& changes, bool breakpoint) {
    if (changes.empty()) return;
    const bool group = breakpoint || changes.size() > 1;
    if (group) push({{breakpoint ? UndoBreakpoint : UndoGroupStart, 0, 0}});
    for (const UndoEntry& change : changes) push(change);
    if (group) push({{UndoGroupEnd, 0, 0}});
    if (std::any_of(changes.begin(), changes.end(), changesBoard)) clearRedo();
    notify();
}

UndoEntry UndoData::pop() {
    if (m_records.empty()) return {};
    const UndoEntry top{m_records.back(), m_marks.back()};
    m_records.pop_back();
    m_marks.pop_back();
    if (top.record.Cell == UndoBreakpoint) --m_breakpoints;
    // Each pop is told, as the menu may change half way through a rewind.
    notify();
    return top;
}

UndoRecord UndoData::PopUndo() {
    return pop().record;
}

void UndoData::writeBack(const UndoEntry& entry, const ChangeWriter& write) {
    const UndoRecord& r = entry.record;
    if (isMarker(r.Cell)) return;
    if (r.Note) {
        if (write.notes) write.notes(r.Cell, static_cast<NoteSet>(r.OldValue));
    } else if (write.digit) {
        write.digit(r.Cell, r.OldValue, MarkNone);
    }
}

UndoRecord UndoData::PeekUndo() const {
    return m_records.empty() ? UndoRecord{} : m_records.back();
}

UndoData::ChangeWriter UndoData::digitsOnly(const CellRestorer& restore) {
    ChangeWriter write;
    if (restore) write.digit = [&restore](int cell, int value, int) { restore(cell, value); };
    return write;
}

UndoData::UndoOutcome UndoData::UndoOne(const CellRestorer& restore) {
    return UndoOne(digitsOnly(restore));
}

UndoData::UndoOutcome UndoData::UndoOne(const ChangeWriter& write) {
    const UndoEntry top = pop();
    std::vector<UndoEntry> taken{top};
    UndoOutcome outcome = UndoOutcome::Restored;
    switch (top.record.Cell) {
        case 0:
            return UndoOutcome::Nothing;
        case UndoGroupEnd:
            rewind(pop(), write, true, taken);
            outcome = UndoOutcome::GroupRewound;
            break;
        case UndoBreakpoint:
            outcome = UndoOutcome::BreakpointRemoved;
            break;
        default:
            writeBack(top, write);
            break;
    }
    keepForRedo(std::move(taken));
    notify();
    return outcome;
}

void UndoData::UndoToBreakpoint(const CellRestorer& restore) {
    UndoToBreakpoint(digitsOnly(restore));
}

void UndoData::UndoToBreakpoint(const ChangeWriter& write) {
    std::vector<UndoEntry> taken;
    rewind(pop(), write, false, taken);
    keepForRedo(std::move(taken));
    notify();
}

void UndoData::SetBreakpoint() {
    if (PeekUndo().Cell != UndoBreakpoint) PushUndo(UndoBreakpoint, 0, 0);
}

bool UndoData::Redo(const ChangeWriter& write) {
    if (m_redo.empty()) return false;
    const std::vector<UndoEntry> step = std::move(m_redo.back());
    m_redo.pop_back();
    for (const UndoEntry& entry : step) {
        push(entry);
        const UndoRecord& r = entry.record;
        if (isMarker(r.Cell)) continue;
        if (r.Note) {
            if (write.notes) write.notes(r.Cell, static_cast<NoteSet>(r.NewValue));
        } else if (write.digit) {
            write.digit(r.Cell, r.NewValue, entry.mark);
        }
    }
    notify();
    return true;
}

bool UndoData::canUndoOne() const {
    return !m_records.empty();
}

bool UndoData::canUndoToBreakpoint() const {
    return m_breakpoints > 0;
}

UndoData::Snapshot UndoData::snapshot() const {
    Snapshot s;
    s.undo.reserve(m_records.size());
    for (std::size_t i = 0; i < m_records.size(); ++i) s.undo.push_back({m_records[i], m_marks[i]});
    s.redo = m_redo;
    return s;
}

void UndoData::restore(const Snapshot& snapshot) {
    m_records.clear();
    m_marks.clear();
    m_breakpoints = 0;
    for (const UndoEntry& entry : snapshot.undo) push(entry);
    m_redo = snapshot.redo;
    notify();
}

void UndoData::rewind(UndoEntry current, const ChangeWriter& write, bool toGroupStart,
                      std::vector<UndoEntry>& taken) {
    // The marker that ends the walk has been popped and goes silently, with the rest.
    for (;;) {
        const UndoRecord& r = current.record;
        if (r.Cell == 0) return;
        taken.push_back(current);
        if (r.Cell == UndoBreakpoint || (toGroupStart && r.Cell == UndoGroupStart)) return;
        writeBack(current, write);
        current = pop();
    }
}

void UndoData::keepForRedo(std::vector<UndoEntry> taken) {
    if (taken.empty()) return;
    std::reverse(taken.begin(), taken.end());
    m_redo.push_back(std::move(taken));
}

void UndoData::clearRedo() {
    m_redo.clear();
}

void UndoData::notify() {
    const bool canUndo = canUndoOne();
    const bool canBreak = canUndoToBreakpoint();
    if (canUndo != m_lastCanUndo || canBreak != m_lastCanBreak) {
        m_lastCanUndo = canUndo;
        m_lastCanBreak = canBreak;
        if (m_listener) m_listener(canUndo, canBreak);
    }
    if (canRedo() != m_lastCanRedo) {
        m_lastCanRedo = canRedo();
        if (m_redoListener) m_redoListener(m_lastCanRedo);
    }
    if (m_changeListener) m_changeListener();
}

}  // namespace kz
