// SPDX-License-Identifier: MIT
// What the chain, almost-locked-set and forcing finders share, mainly Eureka notation: a node
// is "(d)r1c2", a group of one digit in a row "(d)r1c23" or in a column "(d)r12c3"; "=" joins a
// strong link and "-" a weak one.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "logic/cellset.h"
#include "logic/step.h"

namespace kz::logic {

/// Cells by row: "r1c2", "r1c23", "r12c3" for one column, "r1c2r4c56" otherwise.
inline std::string CellsName(CellSet cells) {
    std::string text;
    const int first = cells.First();
    if (first < 0) return text;
    bool oneColumn = true;
    cells.ForEach([&](int c) { oneColumn &= ColOf(c) == ColOf(first); });
    if (oneColumn && cells.Count() > 1) {
        text += 'r';
        cells.ForEach([&](int c) { text += static_cast<char>('1' + RowOf(c)); });
        text += 'c';
        text += static_cast<char>('1' + ColOf(first));
        return text;
    }
    int row = -1;
    cells.ForEach([&](int c) {
        if (RowOf(c) != row) {
            row = RowOf(c);
            text += 'r';
            text += static_cast<char>('1' + row);
            text += 'c';
        }
        text += static_cast<char>('1' + ColOf(c));
    });
    return text;
}

/// The digits of a mask as text, e.g. "58".
inline std::string DigitsText(Mask digits) {
    std::string text;
    for (int d = 1; d <= 9; ++d) {
        if ((digits >> (d - 1)) & 1) text += static_cast<char>('0' + d);
    }
    return text;
}

/// "(d)" before the cells, or "(d1d2)" for several digits given as a mask.
inline std::string NodeName(Mask digits, CellSet cells) {
    return "(" + DigitsText(digits) + ")" + CellsName(cells);
}

/// No more than one cell (a popcount would be a library call on the baseline target).
constexpr bool AtMostOne(CellSet s) {
    return (s.lo & (s.lo - 1)) == 0 && (s.hi & (s.hi - 1)) == 0 && !(s.lo && s.hi);
}

inline Mask DigitBit(int d) {
    return static_cast<Mask>(1u << (d - 1));
}

/// Appends the candidates of `digit` in `cells` to a step's eliminations.
inline void AddEliminations(Step& step, CellSet cells, int digit) {
    cells.ForEach([&](int c) {
        step.eliminations.push_back({static_cast<std::int8_t>(c), static_cast<std::int8_t>(digit)});
    });
}

/// Appends cells to a step's pattern cells, each once, keeping the order of first mention.
inline void AddPatternCells(Step& step, CellSet cells) {
    cells.ForEach([&](int c) {
        const auto cell = static_cast<std::int8_t>(c);
        if (std::find(step.cells.begin(), step.cells.end(), cell) == step.cells.end())
            step.cells.push_back(cell);
    });
}

/// The digits of a mask in increasing order.
inline std::vector<std::int8_t> DigitList(Mask digits) {
    std::vector<std::int8_t> list;
    for (int d = 1; d <= 9; ++d) {
        if ((digits >> (d - 1)) & 1) list.push_back(static_cast<std::int8_t>(d));
    }
    return list;
}

}  // namespace kz::logic
