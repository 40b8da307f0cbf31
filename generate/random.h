// SPDX-License-Identifier: MIT
// Draws from the caller's generator in a way fixed by this code alone, so that a seed gives
// the same puzzle whatever standard library the program was built with.
#pragma once

#include <cstdint>
#include <random>

namespace kz::generate {

/// A number in 0..n−1 (n ≥ 1), every value equally likely.
inline int Below(std::mt19937_64& random, int n) {
    const auto range = static_cast<std::uint64_t>(n);
    // Draws at or above the last whole multiple of n would favour the small values.
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % range;
    std::uint64_t x;
    do {
        x = random();
    } while (x >= limit);
    return static_cast<int>(x % range);
}

/// Puts the items of a random-access range in a random order, every order equally likely.
template <typename Range>
void Shuffle(Range& items, std::mt19937_64& random) {
    for (int i = static_cast<int>(std::size(items)) - 1; i > 0; --i) {
        std::swap(items[i], items[Below(random, i + 1)]);
    }
}

}  // namespace kz::generate
