// SPDX-License-Identifier: MIT
// The consistency check over the whole board, with marks written only through the cell writer.
#include "core/consistency.h"

namespace kz {

namespace {

// The 27 units in the order the check walks them: rows, columns, then boxes around the box
// centres 11, 14, 17, 38, 41, 44, 65, 68, 71. Built once at compile time so a check allocates
// nothing.
constexpr std::array<UnitCellList, 27> makeUnits() {
    std::array<UnitCellList, 27> units{};
    for (int r = 1; r <= 9; ++r) {
        for (int i = 0; i < 9; ++i) units[r - 1][i] = 9 * r - 8 + i;
    }
    for (int c = 1; c <= 9; ++c) {
        for (int i = 0; i < 9; ++i) units[9 + c - 1][i] = c + 9 * i;
    }
    constexpr std::array<int, 9> kCentres = {11, 14, 17, 38, 41, 44, 65, 68, 71};
    constexpr std::array<int, 9> kOffsets = {-10, -9, -8, -1, 0, 1, 8, 9, 10};
    for (int b = 0; b < 9; ++b) {
        for (int i = 0; i < 9; ++i) units[18 + b][i] = kCentres[b] + kOffsets[i];
    }
    return units;
}

constexpr std::array<UnitCellList, 27> kUnits = makeUnits();

}  // namespace

void CheckPair(const Board& board, CellConsistentArray& consistent, int a, int b) {
    if (a == b) return;
    const std::uint8_t va = board[a].Value;
    if (va == 0 || va != board[b].Value) return;
    consistent[a] = false;
    consistent[b] = false;
}

void CheckUnit(const Board& board, CellConsistentArray& consistent, const UnitCellList& cells) {
    for (int i = 0; i < 8; ++i) {
        for (int j = i + 1; j < 9; ++j) CheckPair(board, consistent, cells[i], cells[j]);
    }
}

ConsistencyResult CheckConsistency(const Board& board, CellConsistentArray& consistent, bool mark,
                                   const CellWriter& setCell) {
    for (int n = 1; n <= kCellCount; ++n) consistent[n] = true;
    for (const UnitCellList& unit : kUnits) CheckUnit(board, consistent, unit);

    ConsistencyResult result;
    for (int n = 1; n <= kCellCount; ++n) {
        const CellData& cell = board[n];
        if (cell.Value == 0) {
            result.hasBlank = true;
        } else if (!consistent[n]) {
            result.hasConflict = true;
            // Givens are never marked: the player cannot change them, so the colour would
            // only hide which of the two cells is theirs.
            if (mark && !cell.Problem && setCell) setCell(n, cell.Value, false, MarkConflict);
        }
    }
    return result;
}

void ClearConflictMarks(const Board& board, const CellWriter& setCell) {
    if (!setCell) return;
    for (int n = 1; n <= kCellCount; ++n) {
        const CellData& cell = board[n];
        if (cell.Mark == MarkConflict) setCell(n, cell.Value, cell.Problem, MarkNone);
    }
}

}  // namespace kz
