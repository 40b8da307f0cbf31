// SPDX-License-Identifier: MIT
// The search's hot loops, compiled once per instruction-set level and chosen at run time by
// solver_engine.cpp. Only that file and the kernel sources include this header.
//
// The kernels are built with different target flags, so anything they share with the rest of
// the program must not be code the linker could merge between them: the interface is plain
// words and function pointers, the shared tables are data, and the kernel sources use no
// library templates.
#pragma once

#include <cstdint>

namespace kz::engine::kernel {

/// A grid as 31 words, the layout of `Grid`: the nine digits' bitboards (three bands each),
/// the open cells, then the dirty digits.
inline constexpr int kGridWords = 31;

struct alignas(16) Tables {
    /// Peers of each cell as a bitboard padded to four words for 16-byte loads.
    alignas(16) std::uint32_t peers[81][4];
    /// Which of the three boxes a 9-cell row segment touches.
    std::uint8_t boxesOfRow[512];
    /// Box-line eliminations for one digit inside one band. Index: the nine (row, box)
    /// segments the digit can still use, bit 3 * row + box. Value: the band's cells still
    /// allowed once a box confined to one row clears that row elsewhere and a row confined to
    /// one box clears that box elsewhere, to a fixed point; 0 when a row or box is left empty.
    std::uint32_t lockedCells[512];
    /// The same across the bands of a stack, columns in the role of rows and bands in the
    /// role of boxes. Index: bit 3 * band + column (0..2 inside the stack). Value: the column
    /// segments kept, as bit 9 * band + column; 0 on a contradiction.
    std::uint32_t lockedStack[512];
};

extern const Tables kTables;

/// Where the search reports the digits it tries in one cell (cell −1: nowhere).
struct Watch {
    int cell = -1;
    const void* context = nullptr;
    void (*notify)(const void* context, int digit) = nullptr;
};

/// One compiled kernel. `propagate` works on a grid in place; `count` counts completions up
/// to `limit` and writes the first ones found, 81 digits each, to `found`.
struct Entry {
    bool (*propagate)(std::uint32_t* grid);
    int (*count)(const std::uint32_t* grid, int limit, std::uint8_t* found, const Watch& watch);
};

extern const Entry kPortable;
#if defined(__x86_64__) || defined(__i386__)
#define KZ_ENGINE_X86_KERNELS 1
/// POPCNT and SSE4.2.
extern const Entry kX86V2;
/// AVX2, BMI1 and BMI2 on top.
extern const Entry kX86V3;
#endif

}  // namespace kz::engine::kernel
