// SPDX-License-Identifier: MIT
// The window's layout is given in twips, as its forms were drawn; these turn them into pixels.
#pragma once

namespace kz {

/// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int px(double twips) {
    return static_cast<int>(twips / 15.0 + 0.5);
}

/// A tile's picture, on the grid and in the palette, in twips.
inline constexpr int kTileWidth = 360;
inline constexpr int kTileHeight = 480;

}  // namespace kz
