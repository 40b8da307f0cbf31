// SPDX-License-Identifier: MIT
// One line of a board list, as the command-line checker reads it.
#pragma once

#include <string_view>

#include "core/board.h"

namespace kz {

enum class BoardLineKind { Skip, Board, Malformed };

/// Classifies a line after trimming blanks (space, tab, CR) at both ends: empty or starting
/// with "#" is Skip; exactly 81 characters of "1"-"9" (given) and "0" or "." (blank) is Board
/// and fills `values` (entry 0 is set to 0); anything else is Malformed and leaves `values`
/// unchanged.
BoardLineKind ParseBoardLine(std::string_view line, ValueArray16& values);

/// A line of the hint mode: the puzzle, the board (every digit on it) and the notes.
struct HintLine {
    ValueArray16 puzzle{};
    ValueArray16 board{};
    NoteArray notes{};
};

/// Classifies a hint line as ParseBoardLine does a board line. A Board line is two boards
/// separated by blanks, then optionally blanks and 729 note characters, nine per cell in cell
/// order, the k-th of a cell's nine being the digit k for note k and "." for none. Malformed
/// leaves `out` unchanged.
BoardLineKind ParseHintLine(std::string_view line, HintLine& out);

}  // namespace kz
