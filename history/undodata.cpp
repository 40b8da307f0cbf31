// SPDX-License-Identifier: MIT
// The move history: a growing stack of cell changes, breakpoints and group ends.
#include "history/undodata.h"

#include <cassert>

namespace kz {

void UndoData::setMenuListener(MenuListener listener) {
    m_listener = std::move(listener);
}

void UndoData::ResetUndo() {
    m_records.clear();
    m_records.shrink_to_fit();
    m_breakpoints = 0;
    // Always told, even when nothing changed: a reset is how the window learns the state it
    // starts from.
    m_lastCanUndo = false;
    m_lastCanBreak = false;
    if (m_listener) m_listener(false, false);
}

void UndoData::PushUndo(int cell, int oldValue, int newValue) {
    // 0 would read back as "history empty".
    assert(cell == UndoBreakpoint || cell == UndoGroupEnd || (cell >= 1 && cell <= 81));
    m_records.push_back({static_cast<std::int16_t>(cell), static_cast<std::int16_t>(oldValue),
                         static_cast<std::int16_t>(newValue)});
    if (cell == UndoBreakpoint) ++m_breakpoints;
    notify();
}

UndoRecord UndoData::PopUndo() {
    if (m_records.empty()) return {};
    const UndoRecord top = m_records.back();
    m_records.pop_back();
    if (top.Cell == UndoBreakpoint) --m_breakpoints;
    notify();
    return top;
}

UndoRecord UndoData::PeekUndo() const {
    return m_records.empty() ? UndoRecord{} : m_records.back();
}

UndoData::UndoOutcome UndoData::UndoOne(const CellRestorer& restore) {
    const UndoRecord top = PopUndo();
    switch (top.Cell) {
        case 0:
            return UndoOutcome::Nothing;
        case UndoGroupEnd:
            rewind(PopUndo(), restore);
            return UndoOutcome::GroupRewound;
        case UndoBreakpoint:
            return UndoOutcome::BreakpointRemoved;
        default:
            if (restore) restore(top.Cell, top.OldValue);
            return UndoOutcome::Restored;
    }
}

void UndoData::UndoToBreakpoint(const CellRestorer& restore) {
    rewind(PopUndo(), restore);
}

void UndoData::SetBreakpoint() {
    if (PeekUndo().Cell != UndoBreakpoint) PushUndo(UndoBreakpoint, 0, 0);
}

bool UndoData::canUndoOne() const {
    return !m_records.empty();
}

bool UndoData::canUndoToBreakpoint() const {
    return m_breakpoints > 0;
}

void UndoData::rewind(UndoRecord current, const CellRestorer& restore) {
    // A breakpoint that ends the walk has already been popped: it goes silently.
    while (current.Cell != 0 && current.Cell != UndoBreakpoint) {
        if (current.Cell != UndoGroupEnd && restore) restore(current.Cell, current.OldValue);
        current = PopUndo();
    }
}

void UndoData::notify() {
    const bool canUndo = canUndoOne();
    const bool canBreak = canUndoToBreakpoint();
    if (canUndo == m_lastCanUndo && canBreak == m_lastCanBreak) return;
    m_lastCanUndo = canUndo;
    m_lastCanBreak = canBreak;
    if (m_listener) m_listener(canUndo, canBreak);
}

}  // namespace kz
