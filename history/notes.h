// SPDX-License-Identifier: MIT
// The player's notes as game state: what the note commands and a placement change, worked
// out on the board and the notes alone, so that the window only writes and records it.
#pragma once

#include <vector>

#include "core/board.h"
#include "history/undodata.h"

namespace kz {

/// The digits that cell n's row, column and box do not hold (n's own digit not counted).
NoteSet AllowedNotes(const Board& board, int n);

/// Note changes as one undo step: entries whose cell carries its note sets before and after.
using NoteChanges = std::vector<UndoEntry>;

/// Placing `digit` in cell n clears n's own notes; with `tidyPeers` it also takes note
/// `digit` from every other cell of n's row, column and box.
NoteChanges TidyAfterPlacement(const NoteArray& notes, int n, int digit, bool tidyPeers);
/// Every enterable cell without a digit gets exactly the digits its units allow.
NoteChanges FillAllNotes(const Board& board, const NoteArray& notes);
/// Every note goes.
NoteChanges ClearNotes(const NoteArray& notes);

/// The note record of a change of cell n from `before` to `after`.
UndoEntry NoteEntry(int n, NoteSet before, NoteSet after);

}  // namespace kz
