// SPDX-License-Identifier: MIT
// Where the grids of a booklet go: how many on a page, in which rows and columns, with the
// line that names each grid above it and the page's heading and foot. All lengths are in
// points (1/72 inch) from the page's top-left corner, so that the painter only scales.
#pragma once

#include <array>
#include <vector>

namespace kz::print {

/// The puzzles a page may hold, as the dialog and the checker offer them.
inline constexpr std::array<int, 4> kPerPageChoices{1, 2, 4, 6};
/// Solutions are printed small, this many to a page, after the last puzzle.
inline constexpr int kSolutionsPerPage = 12;

bool PerPageAllowed(int perPage);

struct Size {
    double width = 0;
    double height = 0;
};

struct Box {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
};

/// One grid on a page.
struct Slot {
    int puzzle = 0;         ///< index into the booklet's puzzles
    bool solution = false;  ///< the puzzle's solution rather than the puzzle
    Box label;              ///< the line above the grid: number, level and difficulty
    Box grid;               ///< a square
};

struct Page {
    int number = 1;          ///< 1-based
    bool solutions = false;  ///< a page of solutions
    Box heading;             ///< the booklet's title and the page number
    Box foot;                ///< the small print: the seed, how to make the booklet again
    std::vector<Slot> grids;
};

/// The pages of a booklet of `count` puzzles, `perPage` to a page (one of kPerPageChoices),
/// then, when `solutions`, their solutions kSolutionsPerPage to a page. Grids fill the page's
/// rows first, in puzzle order. Nothing for a count below 1 or a page too small for a grid.
std::vector<Page> LayoutPages(int count, int perPage, bool solutions, Size page);

/// How many pages LayoutPages gives.
int PageCount(int count, int perPage, bool solutions);

}  // namespace kz::print
