// SPDX-License-Identifier: MIT
// Sets of cells as 81-bit masks and the unit tables every finder walks.
//
// Cells here are 0..80 row by row (the window's cell number − 1). Units are numbered 0..26:
// rows 0..8, columns 9..17, boxes 18..26 (boxes row by row).
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace kz::logic {

/// Bit count without a library call: the default x86-64 target has no popcount instruction,
/// and std::popcount there is a call that dominated the rating's time.
constexpr int BitCount(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

using Mask = std::uint16_t;  ///< digits as bits: bit d − 1 for digit d
inline constexpr Mask kAllDigits = 0x1ff;

constexpr std::array<std::uint8_t, 512> MakeNineBitCounts() {
    std::array<std::uint8_t, 512> t{};
    for (int m = 1; m < 512; ++m) t[m] = static_cast<std::uint8_t>(t[m & (m - 1)] + 1);
    return t;
}
/// The bit count of a digit mask or of a subset of a unit's nine cells: a table beats both
/// BitCount and a library popcount there.
inline constexpr std::array<std::uint8_t, 512> kNineBitCount = MakeNineBitCounts();

/// 81 cells as two words: cells 0..63 in `lo`, 64..80 in `hi`.
struct CellSet {
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;

    static constexpr CellSet Of(int c) {
        return c < 64 ? CellSet{std::uint64_t{1} << c, 0}
                      : CellSet{0, std::uint64_t{1} << (c - 64)};
    }
    constexpr bool Has(int c) const { return c < 64 ? (lo >> c) & 1 : (hi >> (c - 64)) & 1; }
    constexpr void Add(int c) { *this |= Of(c); }
    constexpr void Remove(int c) { *this &= ~Of(c); }
    constexpr bool Empty() const { return (lo | hi) == 0; }
    /// The 17 cells in `hi` counted by two table look-ups.
    constexpr int Count() const {
        return BitCount(lo) + kNineBitCount[hi & 0x1ff] + kNineBitCount[(hi >> 9) & 0x1ff];
    }
    /// Exactly one cell: the test the singles make most often, cheaper than Count() == 1.
    constexpr bool Single() const { return lo ? !hi && !(lo & (lo - 1)) : hi && !(hi & (hi - 1)); }
    /// The lowest cell, or −1 for the empty set.
    constexpr int First() const {
        return lo ? std::countr_zero(lo) : hi ? 64 + std::countr_zero(hi) : -1;
    }
    constexpr CellSet operator|(CellSet o) const { return {lo | o.lo, hi | o.hi}; }
    constexpr CellSet operator&(CellSet o) const { return {lo & o.lo, hi & o.hi}; }
    constexpr CellSet operator~() const { return {~lo, ~hi & ((std::uint64_t{1} << 17) - 1)}; }
    constexpr CellSet& operator|=(CellSet o) { return *this = *this | o; }
    constexpr CellSet& operator&=(CellSet o) { return *this = *this & o; }
    constexpr bool operator==(const CellSet&) const = default;

    /// Calls f(cell) for each cell in increasing order.
    template <typename F>
    constexpr void ForEach(F&& f) const {
        for (std::uint64_t w = lo; w; w &= w - 1) f(std::countr_zero(w));
        for (std::uint64_t w = hi; w; w &= w - 1) f(64 + std::countr_zero(w));
    }
};

inline constexpr int kUnitCount = 27;

constexpr int RowOf(int c) {
    return c / 9;
}
constexpr int ColOf(int c) {
    return c % 9;
}
constexpr int BoxOf(int c) {
    return 3 * (c / 27) + (c % 9) / 3;
}

struct UnitTables {
    std::array<std::array<std::uint8_t, 9>, kUnitCount> cells{};  ///< unit → its cells
    std::array<CellSet, kUnitCount> set{};                        ///< unit → its cells as a set
    std::array<std::array<std::uint8_t, 3>, 81> unitsOf{};  ///< cell → row, column, box unit
    /// cell → its index among the cells of its row, column and box (the order of `cells`)
    std::array<std::array<std::uint8_t, 3>, 81> indexIn{};
    std::array<CellSet, 81> peers{};  ///< cell → the 20 cells it sees
};

constexpr UnitTables MakeUnitTables() {
    UnitTables t{};
    for (int c = 0; c < 81; ++c) {
        const int units[3] = {RowOf(c), 9 + ColOf(c), 18 + BoxOf(c)};
        for (int k = 0; k < 3; ++k) {
            t.unitsOf[c][k] = static_cast<std::uint8_t>(units[k]);
            t.set[units[k]].Add(c);
        }
    }
    for (int u = 0; u < kUnitCount; ++u) {
        int i = 0;
        t.set[u].ForEach([&](int c) {
            const int k = u < 9 ? 0 : u < 18 ? 1 : 2;
            t.indexIn[c][k] = static_cast<std::uint8_t>(i);
            t.cells[u][i++] = static_cast<std::uint8_t>(c);
        });
    }
    for (int c = 0; c < 81; ++c) {
        for (int u : t.unitsOf[c]) t.peers[c] |= t.set[u];
        t.peers[c].Remove(c);
    }
    return t;
}

inline constexpr UnitTables kUnits = MakeUnitTables();

/// The cells that see every cell of `cells` (none of `cells` itself).
inline CellSet CommonPeers(CellSet cells) {
    CellSet common = ~CellSet{};
    cells.ForEach([&](int c) { common &= kUnits.peers[c]; });
    return cells.Empty() ? CellSet{} : common;
}

inline bool Sees(int a, int b) {
    return kUnits.peers[a].Has(b);
}

}  // namespace kz::logic
