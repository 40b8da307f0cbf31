// SPDX-License-Identifier: MIT
// The consistency check: finds every cell that repeats a digit of its row, column or box and,
// on request, marks the conflicting non-problem cells through the one cell writer.
#pragma once

#include <cstdint>
#include <functional>

#include "core/board.h"

namespace kz {

/// The one writer of cells: stores value, problem and mark of cell n and repaints it. The
/// window passes its `SetCell`; every mark the check writes goes through it, so exactly the
/// cells that change are repainted.
using CellWriter = std::function<void(int n, std::uint8_t value, bool problem, std::uint8_t mark)>;

struct ConsistencyResult {
    bool hasBlank = false;
    bool hasConflict = false;
};

/// Checks the whole board: rewrites `consistent` from scratch (rows, columns, boxes), then
/// reports blanks and conflicts. With mark true each conflicting non-problem cell is written
/// again with `MarkConflict`. Never clears a mark. Allocates nothing.
ConsistencyResult CheckConsistency(const Board& board, CellConsistentArray& consistent, bool mark,
                                   const CellWriter& setCell);

/// Tests all 36 pairs of one unit.
void CheckUnit(const Board& board, CellConsistentArray& consistent, const UnitCellList& cells);

/// Tests one pair: two different non-blank cells holding the same digit both become false.
void CheckPair(const Board& board, CellConsistentArray& consistent, int a, int b);

/// Every cell marked `MarkConflict` is written again with `MarkNone`; answer marks stay.
void ClearConflictMarks(const Board& board, const CellWriter& setCell);

}  // namespace kz
