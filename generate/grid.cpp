// SPDX-License-Identifier: MIT
// Random complete grids: random boxes completed by the fast engine, then a random symmetry of
// the rules (digits relabelled, rows and columns moved within their bands and stacks, bands
// and stacks moved, the grid transposed) carries the grid anywhere in its class. The search
// alone favours its own order of cells and digits; the second stage makes every digit equally
// likely in every cell whatever the search did.
#include <array>
#include <cstdint>

#include "core/solver_engine.h"
#include "generate/generator.h"
#include "generate/random.h"

namespace kz::generate {

namespace {

// A random order of 0..8 that keeps the three groups of three together: groups moved as
// wholes, members moved within their group.
std::array<int, 9> BandPreservingOrder(std::mt19937_64& random) {
    std::array<int, 3> groups{0, 1, 2};
    Shuffle(groups, random);
    std::array<int, 9> order{};
    for (int g = 0; g < 3; ++g) {
        std::array<int, 3> members{0, 1, 2};
        Shuffle(members, random);
        for (int m = 0; m < 3; ++m) order[3 * g + m] = 3 * groups[g] + members[m];
    }
    return order;
}

}  // namespace

logic::Digits RandomSolution(std::mt19937_64& random) {
    // The three boxes on the diagonal share no unit, so any digits in any order fill them;
    // the fast engine completes the rest. Its choice is a fixed function of those boxes, which
    // is what the relabelling and moving below make up for.
    engine::Grid grid = engine::EmptyGrid();
    for (const int box : {0, 4, 8}) {
        std::array<int, 9> digits{1, 2, 3, 4, 5, 6, 7, 8, 9};
        Shuffle(digits, random);
        for (int i = 0; i < 9; ++i) {
            engine::Place(grid, 27 * (box / 3) + 3 * (box % 3) + 9 * (i / 3) + i % 3, digits[i]);
        }
    }
    engine::Solution filled{};
    engine::CountCompletions(grid, 1, &filled, {});
    std::array<std::uint8_t, 10> relabel{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int i = 9; i > 1; --i) std::swap(relabel[i], relabel[1 + Below(random, i)]);
    const std::array<int, 9> rows = BandPreservingOrder(random);
    const std::array<int, 9> columns = BandPreservingOrder(random);
    const bool transpose = Below(random, 2) == 1;
    logic::Digits out{};
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            const int from = transpose ? 9 * columns[c] + rows[r] : 9 * rows[r] + columns[c];
            out[9 * r + c] = relabel[filled[from]];
        }
    }
    return out;
}

}  // namespace kz::generate
