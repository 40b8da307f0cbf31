// SPDX-License-Identifier: MIT
// Note changes worked out from the board and the notes.
#include "history/notes.h"

namespace kz {

NoteSet AllowedNotes(const Board& board, int n) {
    NoteSet allowed = kAllNotes;
    for (int kind = KindRow; kind <= KindBox; ++kind) {
        for (int m : UnitCells(n, kind)) {
            if (m != n && board[m].Value != 0)
                allowed &= static_cast<NoteSet>(~NoteBit(board[m].Value));
        }
    }
    return allowed;
}

UndoEntry NoteEntry(int n, NoteSet before, NoteSet after) {
    return {{static_cast<std::int16_t>(n), static_cast<std::int16_t>(before),
             static_cast<std::int16_t>(after), true}};
}

NoteChanges TidyAfterPlacement(const NoteArray& notes, int n, int digit, bool tidyPeers) {
    NoteChanges changes;
    if (notes[n] != 0) changes.push_back(NoteEntry(n, notes[n], 0));
    if (!tidyPeers || digit < 1 || digit > 9) return changes;
    // A cell of the placed cell's row and box is met twice; the box walk skips the row's.
    std::array<bool, kArraySize> seen{};
    seen[n] = true;
    for (int kind = KindRow; kind <= KindBox; ++kind) {
        for (int m : UnitCells(n, kind)) {
            if (seen[m]) continue;
            seen[m] = true;
            if (notes[m] & NoteBit(digit)) {
                changes.push_back(
                    NoteEntry(m, notes[m], static_cast<NoteSet>(notes[m] & ~NoteBit(digit))));
            }
        }
    }
    return changes;
}

NoteChanges FillAllNotes(const Board& board, const NoteArray& notes) {
    NoteChanges changes;
    for (int n = 1; n <= kCellCount; ++n) {
        if (board[n].Problem || board[n].Value != 0) continue;
        const NoteSet allowed = AllowedNotes(board, n);
        if (allowed != notes[n]) changes.push_back(NoteEntry(n, notes[n], allowed));
    }
    return changes;
}

NoteChanges ClearNotes(const NoteArray& notes) {
    NoteChanges changes;
    for (int n = 1; n <= kCellCount; ++n) {
        if (notes[n] != 0) changes.push_back(NoteEntry(n, notes[n], 0));
    }
    return changes;
}

}  // namespace kz
