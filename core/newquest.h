// SPDX-License-Identifier: MIT
// Variant transforms: move the digits by a rotation or a mirror image of the grid and rename
// them by a cyclic shift or a random permutation. Every transform maps units onto units and
// digits one-to-one onto digits, so solution counts and conflicts are kept.
#pragma once

#include <functional>

#include "core/board.h"

namespace kz {

/// A uniform draw from [0, 1). The program's source reseeds from the clock before every draw;
/// tests pass a scripted one.
using RandomSource = std::function<double()>;

/// Placement codes (index of the dialog's placement option).
enum Placement : int {
    PlaceKeep = 0,
    PlaceRotateRight = 1,  ///< quarter turn clockwise
    PlaceRotate180 = 2,
    PlaceRotateLeft = 3,  ///< quarter turn counter-clockwise
    PlaceMirrorLeftRight = 4,
    PlaceMirrorTopBottom = 5,  ///< also taken by any other code
};

/// Relabel code: 0 keep the digits, -1 random permutation, 1..9 add that amount cyclically.
inline constexpr int kRelabelRandom = -1;

/// 1..9 from one draw: k = round-half-even(r * 9), then k + 1 capped at 9.
int RandomDigit(const RandomSource& random);

/// The relabel code for the dialog's digit choice (slot 7) and shift amount (slot 8).
int RelabelCode(int numberChoice, int shift);

/// Placement step first (skipped for 0), then relabel step (skipped for 0). Blank cells stay
/// blank.
void MakeVariant(ValueArray8& grid, int placement, int relabel, const RandomSource& random);

}  // namespace kz
