// SPDX-License-Identifier: MIT
// The fast search behind the module `answer`: one candidate bitboard per digit, propagation
// by singles and box-line eliminations, and a fewest-candidates search that counts
// completions up to a cap.
//
// Cells here are 0..80 (cell number − 1). A bitboard holds 81 bits as three bands of 27:
// band k covers rows 3k..3k+2 and cell c is bit (c % 27) of band c / 27.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace kz::engine {

using Mask = std::uint16_t;
inline constexpr Mask kAllDigits = 0x1ff;

using Bitboard = std::array<std::uint32_t, 3>;

/// The search state, small enough that a branch is a plain copy. `cand[d - 1]` holds the
/// cells where digit d is still possible; a placed cell keeps exactly its own digit's bit and
/// has left `open`. Every placed digit has been removed from its peers. Bit d − 1 of `dirty`
/// marks a digit whose cells changed since its box-line and hidden-single pass last ran.
struct Grid {
    std::array<Bitboard, 9> cand{};
    Bitboard open{};
    std::uint32_t dirty = 0;
};

/// A completed grid, 81 digits in cell order.
using Solution = std::array<std::uint8_t, 81>;

/// Reports the digits the search tries in one cell. The cell is compared before anything is
/// called, so a search that never branches there pays one integer test per branch.
struct BranchWatch {
    int cell = -1;                     ///< 0..80, or −1 for none
    std::function<void(int)> onDigit;  ///< called with the digit tried in `cell`
};

/// A grid with every cell open and every digit possible.
Grid EmptyGrid();

/// Places d in cell c and removes d from c's peers. False when d was not a candidate of c
/// (or c was already placed with another digit). Does not propagate.
bool Place(Grid& grid, int c, int d);

/// The empty grid with every nonzero entry of `digits` (cell order, 1..9) placed in one go: the
/// same grid as `Place` for each in turn gives. False when two equal digits see each other.
bool PlaceAll(Grid& grid, const Solution& digits);

/// Singles and box-line eliminations to a fixed point. Only candidates that appear in no
/// completion are removed, so no completion is lost; false when the grid has none.
bool Propagate(Grid& grid);

/// Counts completions of `grid` up to `limit` (1 or more). The first `limit` completions
/// found are written to `found` (which must have room for `limit` entries) in the order found.
int CountCompletions(const Grid& grid, int limit, Solution* found, const BranchWatch& watch);

/// The completion of `grid` that is smallest in cell order, given any completion `witness`
/// of it. Each cell in turn takes the smallest digit for which a completion still exists.
Solution SmallestCompletion(const Grid& grid, Solution witness, const BranchWatch& watch);

/// The digit 1..9 placed in cell c, or 0 when c is open.
int ValueAt(const Grid& grid, int c);

/// True when `s` obeys the rules and keeps every placed cell of `grid`.
bool IsCompletionOf(const Grid& grid, const Solution& s);

/// The builds of the search's hot loops. Every path gives the same results; they differ in the
/// instructions they use. The fastest one the processor supports is taken on first use unless
/// the environment variable KZ_ENGINE_PATH names another (by `CodePathName`).
enum class CodePath {
    Portable,  ///< the target's baseline instruction set
    X86V2,     ///< x86 with POPCNT and SSE4.2
    X86V3,     ///< x86 with AVX2, BMI1 and BMI2
};

/// A short name: "portable", "x86-64-v2" or "x86-64-v3".
std::string_view CodePathName(CodePath path);

/// The paths this program was built with and this processor can run, slowest first.
std::vector<CodePath> SupportedCodePaths();

/// The path the engine uses now.
CodePath ActiveCodePath();

/// Switches every later call to `path`; false (and no change) when it is not supported. For
/// tests and benchmarks: switching while another thread searches is safe but mixes paths.
bool SelectCodePath(CodePath path);

}  // namespace kz::engine
