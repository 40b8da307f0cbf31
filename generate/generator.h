// SPDX-License-Identifier: MIT
// New puzzles: a random complete grid, givens removed in random order under a symmetry while
// the solution stays unique, the result minimal and rated, tried again until the level asked
// for is reached. The random source is passed in and the caller may cancel; the generator
// never starts a thread of its own.
#pragma once

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

enum class Symmetry { None, Rotate180, Rotate90, Mirror, Diagonal };

/// "none", "rot180", "rot90", "mirror", "diagonal" (empty for a value outside the enum).
std::string_view SymmetryName(Symmetry s);
std::optional<Symmetry> ParseSymmetry(std::string_view name);

struct Request {
    int level = 0;  ///< 1..6, or 0 for any level; anything else gives no puzzle
    Symmetry symmetry = Symmetry::Rotate180;
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

/// The attempts a request allows: its own count, or the default of its level.
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
