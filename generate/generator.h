// SPDX-License-Identifier: MIT
// New puzzles: a random complete grid, givens removed in random order under a symmetry while
// the solution stays unique, the result minimal and rated, tried again until the level asked
// for is reached. The random source is passed in and the caller may cancel; the generator
// never starts a thread of its own.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "logic/solver.h"
#include "logic/state.h"

namespace kz::generate {

/// A symmetry of the givens. Its number is what the settings file keeps for the window's last
/// choice, so a number is never changed nor given to another symmetry.
enum class Symmetry : std::uint8_t {
    None = 0,
    Rotate180 = 1,
    Rotate90 = 2,
    Mirror = 3,
    Diagonal = 4,
};

/// One row per symmetry, in the order the window and the help offer them.
struct SymmetryInfo {
    Symmetry symmetry;
    std::string_view name;     ///< the checker's name for it
    std::string_view caption;  ///< the window's name for it
    std::string_view english;  ///< what it asks of the givens, for the checker's help
    int (*image)(int cell);    ///< where the symmetry takes a cell (0..80)
    /// The attempts a level-6 puzzle gets under this symmetry. How rare that level is among
    /// minimal puzzles depends on the symmetry (bench_generate measures the attempts a puzzle
    /// takes); each budget is over twenty times the mean, so that giving up is rare, and
    /// takes seconds, not minutes.
    int hardestBudget;
};

inline constexpr std::array<SymmetryInfo, 5> kSymmetries{{
    {Symmetry::None, "none", "なし", "anywhere", [](int c) { return c; }, 2000},
    {Symmetry::Rotate180, "rot180", "180度回転", "the same after a half turn",
     [](int c) { return 80 - c; }, 6000},
    {Symmetry::Rotate90, "rot90", "90度回転", "the same after a quarter turn",
     [](int c) { return 9 * (c % 9) + 8 - c / 9; }, 20000},
    {Symmetry::Mirror, "mirror", "左右対称", "the same mirrored left to right",
     [](int c) { return 9 * (c / 9) + 8 - c % 9; }, 12000},
    {Symmetry::Diagonal, "diagonal", "対角線対称", "the same mirrored in the main diagonal",
     [](int c) { return 9 * (c % 9) + c / 9; }, 4000},
}};

inline constexpr Symmetry kDefaultSymmetry = Symmetry::Rotate180;

/// The checker's name ("none", "rot180", ...; empty for a value outside the enum).
std::string_view SymmetryName(Symmetry s);
std::optional<Symmetry> ParseSymmetry(std::string_view name);
/// The symmetry of a number the settings file kept; nothing for a number of no symmetry.
std::optional<Symmetry> SymmetryNumbered(int number);

struct Request {
    int level = 0;  ///< 1..6, or 0 for any level; anything else gives no puzzle
    Symmetry symmetry = kDefaultSymmetry;
    int maxAttempts = 0;  ///< grids to try before giving up; 0 for the default of the level
};

struct Puzzle {
    logic::Digits givens{};
    logic::Digits solution{};
    logic::Rating rating;
};

struct Result {
    std::optional<Puzzle> puzzle;  ///< set on success
    int attempts = 0;              ///< complete grids tried
    int budget = 0;                ///< the attempts allowed
    bool cancelled = false;        ///< the cancel flag was seen
};

/// The attempts a request allows: its own count, or the default of its level (and, at level 6,
/// of its symmetry).
int AttemptBudget(const Request& request);

/// Called after each attempt with the attempts so far; may be empty.
using AttemptFn = std::function<void(int attempts)>;

/// The cells that the symmetry maps onto each other, each orbit in increasing order; every
/// cell lies in exactly one orbit. A symmetric board has all cells of an orbit given or none.
std::vector<std::vector<int>> Orbits(Symmetry symmetry);

/// A random complete grid: every digit equally likely in every cell.
logic::Digits RandomSolution(std::mt19937_64& random);

/// Blanks the orbits of the complete grid `solution` in random order, each as long as the
/// solution stays the only one. The result is minimal: no orbit of its givens can go without
/// a second solution. Nothing when cancelled.
std::optional<logic::Digits> Carve(const logic::Digits& solution, Symmetry symmetry,
                                   std::mt19937_64& random,
                                   const std::atomic<bool>* cancel = nullptr);

/// Makes one puzzle. `random` is the only source of chance, so a seed reproduces the puzzle.
/// `cancel` (may be null) is polled often; once it is true the call returns soon with
/// `cancelled` set and no puzzle.
Result Generate(const Request& request, std::mt19937_64& random,
                const std::atomic<bool>* cancel = nullptr, const AttemptFn& onAttempt = {});

}  // namespace kz::generate
