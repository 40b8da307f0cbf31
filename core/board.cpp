// SPDX-License-Identifier: MIT
#include "core/board.h"

namespace kz {

UnitCellList UnitCells(int n, int kind) {
    UnitCellList cells{};
    switch (kind) {
        case KindRow: {
            const int first = 9 * (RowOf(n) - 1) + 1;
            for (int i = 0; i < 9; ++i) cells[i] = first + i;
            break;
        }
        case KindColumn: {
            const int first = ColumnOf(n);
            for (int i = 0; i < 9; ++i) cells[i] = first + 9 * i;
            break;
        }
        default: {
            // Left to the box's first column, then up to its first row.
            int t = n;
            if (t % 3 == 0) {
                t -= 2;
            } else if (t % 3 == 2) {
                t -= 1;
            }
            t -= 9 * ((RowOf(t) - 1) % 3);
            for (int i = 0; i < 9; ++i) cells[i] = t + 9 * (i / 3) + i % 3;
            break;
        }
    }
    return cells;
}

ValueArray16 Values16(const Board& board) {
    ValueArray16 values{};
    for (int n = 1; n <= kCellCount; ++n) values[n] = board[n].Value;
    return values;
}

ValueArray8 Values8(const Board& board) {
    ValueArray8 values{};
    for (int n = 1; n <= kCellCount; ++n) values[n] = board[n].Value;
    return values;
}

}  // namespace kz
