// SPDX-License-Identifier: MIT
// The board model: cell numbering, the per-cell record, the three kinds of unit and the one
// placement test that every rule check shares.
//
// Convention used throughout the project: cells are numbered 1..81 row by row (cell 1 top
// left, cell 81 bottom right); every per-cell array has 82 entries so that the index is the
// cell number, and entry 0 carries nothing.
#pragma once

#include <array>
#include <cstdint>

namespace kz {

inline constexpr int kCellCount = 81;
inline constexpr int kArraySize = 82;

/// The `Mark` codes of a cell.
enum : std::uint8_t {
    MarkNone = 0,      ///< no mark
    MarkConflict = 1,  ///< took part in a conflict found by the last marking check
    MarkAnswer = 2,    ///< filled in by an answer command
};

/// One cell of the board.
struct CellData {
    std::uint8_t Value = 0;  ///< 0 blank, 1..9 the digit
    bool Problem = false;    ///< a given of the problem: not changed by clicks
    std::uint8_t Mark = MarkNone;

    friend bool operator==(const CellData&, const CellData&) = default;
};

/// The board: entries 1..81 are the cells, entry 0 is unused.
using Board = std::array<CellData, kArraySize>;

/// Value arrays: the digits of the cells alone, entry n = cell n, 0 = blank. The solver takes
/// the 16-bit form; the placement test as the window calls it and the variant transform take
/// the 8-bit form.
using ValueArray16 = std::array<std::int16_t, kArraySize>;
using ValueArray8 = std::array<std::uint8_t, kArraySize>;

/// Notes (pencil marks): bit k-1 of entry n is set when cell n carries note k. Notes are
/// the player's, not the puzzle's: the placement test never reads them.
using NoteSet = std::uint16_t;
using NoteArray = std::array<NoteSet, kArraySize>;
inline constexpr NoteSet kAllNotes = 0x1FF;
constexpr NoteSet NoteBit(int digit) {
    return static_cast<NoteSet>(1u << (digit - 1));
}

/// Scratch flags of the consistency check: true = no conflict found for the cell.
using CellConsistentArray = std::array<bool, kArraySize>;

/// Unit kinds, always walked in this order by the engine.
enum UnitKind : int { KindRow = 1, KindColumn = 2, KindBox = 3 };

/// The nine cells of one unit, in the order `UnitCells` gives.
using UnitCellList = std::array<int, 9>;

/// Row 1..9 of cell n.
constexpr int RowOf(int n) {
    return (n - 1) / 9 + 1;
}
/// Column 1..9 of cell n.
constexpr int ColumnOf(int n) {
    return (n - 1) % 9 + 1;
}
/// Box 1..9 of cell n (boxes numbered row by row, box 1 top left).
constexpr int BoxOf(int n) {
    return 3 * ((RowOf(n) - 1) / 3) + (ColumnOf(n) - 1) / 3 + 1;
}
/// The top-left cell of box b: 1, 4, 7, 28, 31, 34, 55, 58, 61.
constexpr int BoxTopLeft(int b) {
    return 27 * ((b - 1) / 3) + 3 * ((b - 1) % 3) + 1;
}

/// The nine cells of the unit of `kind` that holds cell n: a row left to right, a column top
/// to bottom, a box row by row.
UnitCellList UnitCells(int n, int kind);

/// The placement test: false at the first cell m != n of n's row, then column, then box with
/// grid[m] == d; true if there is none. grid[n] itself is never looked at.
template <typename T>
bool CanPlace(const std::array<T, kArraySize>& grid, int n, int d) {
    for (int kind = KindRow; kind <= KindBox; ++kind) {
        for (int m : UnitCells(n, kind)) {
            if (m != n && grid[m] == d) return false;
        }
    }
    return true;
}

/// Fresh value arrays copied from the board's `Value` fields.
ValueArray16 Values16(const Board& board);
ValueArray8 Values8(const Board& board);

}  // namespace kz
