// SPDX-License-Identifier: MIT
// The fast search behind the module `answer`: candidate bitmasks, singles propagation and a
// fewest-candidates search that counts completions up to a cap.
//
// Cells here are 0..80 (cell number − 1) and digit d is bit d − 1 of a mask; the public
// entry points in answer.h translate from and to value arrays.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace kz::engine {

using Mask = std::uint16_t;
inline constexpr Mask kAllDigits = 0x1ff;

/// The search state: a copyable value, so a branch is a copy and backtracking is free.
/// A placed cell has `value` 1..9 and exactly that digit's bit as candidates; every placed
/// digit has been removed from the candidates of the cell's peers.
struct Grid {
    std::array<Mask, 81> cand{};
    std::array<std::uint8_t, 81> value{};
    int open = 81;
};

/// A completed grid, 81 digits in cell order.
using Solution = std::array<std::uint8_t, 81>;

/// Called with (cell 0..80, digit) for every branch the search takes.
using BranchFn = std::function<void(int, int)>;

/// A grid with every cell open and every digit possible.
Grid EmptyGrid();

/// Places d in cell c and removes d from c's peers. False when that leaves a peer without
/// candidates or d was not a candidate of c. Does not propagate further.
bool Place(Grid& grid, int c, int d);

/// Naked and hidden singles to a fixed point. Only forced placements are made, so no
/// completion is lost; false when the grid turns out to have none.
bool Propagate(Grid& grid);

/// Counts completions of `grid` up to `limit` (>= 1). The first `limit` completions found are
/// written to `found` (which must have room for `limit` entries) in the order found.
int CountCompletions(const Grid& grid, int limit, Solution* found, const BranchFn& onBranch);

/// The completion of `grid` that is smallest in cell order, given any completion `witness`
/// of it. Each cell in turn takes the smallest digit for which a completion still exists.
Solution SmallestCompletion(const Grid& grid, Solution witness, const BranchFn& onBranch);

/// True when `s` obeys the rules and keeps every placed cell of `grid`.
bool IsCompletionOf(const Grid& grid, const Solution& s);

}  // namespace kz::engine
