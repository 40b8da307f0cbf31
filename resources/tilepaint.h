// SPDX-License-Identifier: MIT
// The pin tiles drawn from their shapes, at any size: the pictures the window carries are drawn
// by this code, and printing draws the tiles at the printer's resolution with it.
#pragma once

#include <QColor>
#include <vector>

class QPainter;

namespace kz {

// All tile geometry is in logical pixels of the 24x32 picture; the painter's scale turns it
// into device pixels, so the double-size pictures are drawn from the same shapes, not upscaled.
inline constexpr double kTilePictureWidth = 24.0;
inline constexpr double kTilePictureHeight = 32.0;
inline constexpr double kFaceCentreX =
    11.5;  // the face is one pixel narrower and shorter: the edge
inline constexpr double kFaceCentreY = 15.5;

/// A circle of a tile, in the picture's logical pixels.
struct Pin {
    double x;
    double y;
    double r;
    QColor colour;
};

/// The circles of tile 1..9 in drawing order; none for any other number.
std::vector<Pin> PinLayout(int number);

/// Draws tile `number` (1..9; 10 or anything else leaves the face blank) with its top-left corner
/// at the painter's origin, `scale` device pixels to the logical pixel.
void PaintTile(QPainter& p, int number, double scale);

}  // namespace kz
