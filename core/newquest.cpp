// SPDX-License-Identifier: MIT
// Variant transforms: placement by source-cell tables, then a relabelling of the digits.
#include "core/newquest.h"

#include <cmath>

namespace kz {

namespace {

using SourceTable = std::array<int, kArraySize>;

// src[n] is the old cell whose digit new cell n takes. The tables are built by the same
// recurrences the dialog's options were defined with, so each option moves digits exactly
// as it always has.
SourceTable sourceTable(int placement) {
    SourceTable src{};
    switch (placement) {
        case PlaceRotateRight:
            for (int n = 1; n <= kCellCount; ++n) {
                src[n] = (n % 9 == 1) ? n / 9 + 73 : src[n - 1] - 9;
            }
            break;
        case PlaceRotate180:
            for (int n = 1; n <= kCellCount; ++n) src[n] = 82 - n;
            break;
        case PlaceRotateLeft:
            for (int n = 1; n <= kCellCount; ++n) {
                src[n] = (n % 9 == 1) ? 9 - n / 9 : src[n - 1] + 9;
            }
            break;
        case PlaceMirrorLeftRight:
            for (int n = 1; n <= kCellCount; ++n) src[n] = n <= 9 ? 10 - n : src[n - 9] + 9;
            break;
        default:  // PlaceMirrorTopBottom, and any code the dialog does not offer
            for (int n = 1; n <= kCellCount; ++n) src[n] = n <= 9 ? n + 72 : src[n - 9] - 9;
            break;
    }
    return src;
}

// A broken source (one stuck on a value) would otherwise keep the permutation loop spinning
// for ever; after this many fruitless draws the smallest unused digit is taken instead.
constexpr int kMaxFruitlessDraws = 10'000;

std::array<int, 10> randomPermutation(const RandomSource& random) {
    std::array<int, 10> map{};
    std::array<bool, 10> used{};
    for (int k = 1; k <= 9; ++k) {
        int digit = 0;
        for (int tries = 0; tries < kMaxFruitlessDraws; ++tries) {
            const int draw = RandomDigit(random);
            if (!used[draw]) {
                digit = draw;
                break;
            }
        }
        if (digit == 0) {
            for (digit = 1; used[digit]; ++digit) {
            }
        }
        used[digit] = true;
        map[k] = digit;
    }
    return map;
}

}  // namespace

int RandomDigit(const RandomSource& random) {
    const double r = random ? random() : 0.0;
    // nearbyint rounds in the default mode, to nearest with ties to even.
    const double k = std::nearbyint(r * 9.0);
    if (!(k >= 0.0)) return 1;  // also catches NaN from a misbehaving source
    if (k + 1.0 > 9.0) return 9;
    return static_cast<int>(k) + 1;
}

int RelabelCode(int numberChoice, int shift) {
    switch (numberChoice) {
        case 1:
            return kRelabelRandom;
        case 2:
            return shift;
        case 3:
            return 9 - shift;
        default:
            return 0;
    }
}

void MakeVariant(ValueArray8& grid, int placement, int relabel, const RandomSource& random) {
    if (placement != PlaceKeep) {
        const ValueArray8 old = grid;
        const SourceTable src = sourceTable(placement);
        for (int n = 1; n <= kCellCount; ++n) grid[n] = old[src[n]];
    }
    if (relabel == 0) return;

    std::array<int, 10> map{};
    if (relabel == kRelabelRandom) {
        map = randomPermutation(random);
    } else {
        // Shifts 1..9 are the dialog's codes (9 = identity). Reducing modulo 9 gives the same
        // maps for those and keeps any other code from producing digits outside 1..9.
        const int s = ((relabel % 9) + 9) % 9;
        for (int i = 1; i <= 9; ++i) map[i] = i + s > 9 ? i + s - 9 : i + s;
    }
    for (int n = 1; n <= kCellCount; ++n) {
        // A value outside 1..9 can only come from a corrupt grid; leave it rather than index
        // past the table.
        if (grid[n] >= 1 && grid[n] <= 9) grid[n] = static_cast<std::uint8_t>(map[grid[n]]);
    }
}

}  // namespace kz
