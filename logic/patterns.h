// SPDX-License-Identifier: MIT
// Small pieces the pattern finders share: building steps from cell sets and walking the
// k-element subsets of a short list.
#pragma once

#include <array>
#include <bit>
#include <span>

#include "logic/cellset.h"
#include "logic/step.h"

namespace kz::logic::pattern {

inline std::int8_t I8(int v) {
    return static_cast<std::int8_t>(v);
}

inline Mask Bit(int d) {
    return static_cast<Mask>(1u << (d - 1));
}

/// Calls f(d) for each digit of a mask, smallest first.
template <typename F>
void ForEachDigit(Mask m, F&& f) {
    for (unsigned w = m; w; w &= w - 1) f(std::countr_zero(w) + 1);
}

inline Step NewStep(Technique t) {
    Step s;
    s.technique = t;
    return s;
}

inline void AddCells(Step& s, CellSet cells) {
    cells.ForEach([&](int c) { s.cells.push_back(I8(c)); });
}

inline void AddDigits(Step& s, Mask digits) {
    ForEachDigit(digits, [&](int d) { s.digits.push_back(I8(d)); });
}

/// Removes digit d from every cell of `cells`.
inline void AddEliminations(Step& s, CellSet cells, int d) {
    cells.ForEach([&](int c) { s.eliminations.push_back({I8(c), I8(d)}); });
}

/// Calls f(indices, union) for each k-subset of masks[0..n−1] (k ≤ 4) whose masks together
/// hold at most k bits, in lexicographic order, until f returns false; returns false when
/// stopped. A subset is a pattern only if its union stays that small, and a union only grows,
/// so a start whose union is already too large is not followed further.
template <typename F>
bool ForEachTightSubset(const Mask* masks, int n, int k, F&& f) {
    if (k <= 0 || k > n || k > 4) return true;
    std::array<int, 4> idx{};
    std::array<unsigned, 4> before{};  // the union of the picks before each position
    int depth = 0;
    for (;;) {
        if (idx[depth] > n - k + depth) {
            if (depth == 0) return true;
            ++idx[--depth];
            continue;
        }
        const unsigned joined = before[depth] | masks[idx[depth]];
        if (kNineBitCount[joined] > k) {
            ++idx[depth];
        } else if (depth == k - 1) {
            if (!f(std::span<const int>(idx.data(), static_cast<std::size_t>(k)),
                   static_cast<Mask>(joined))) {
                return false;
            }
            ++idx[depth];
        } else {
            before[depth + 1] = joined;
            idx[depth + 1] = idx[depth] + 1;
            ++depth;
        }
    }
}

}  // namespace kz::logic::pattern
