// SPDX-License-Identifier: MIT
// The one lookup for the compiled-in pictures, so that a missing picture fails a test rather
// than a paint event.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace kz {

inline constexpr int kTilePictureCount = 20;
inline constexpr int kCursorCount = 10;

/// Picture 1..20 of the tile list: 1..9 pin tiles, 10 blank tile face, 11..19 numerals,
/// 20 plain white. 24x32 logical pixels times `scale`; at scale 1 the carried picture, with a
/// double-resolution version for scaled screens, at any other scale drawn afresh at the
/// screen's resolution so that it stays sharp. A null pixmap for a number outside 1..20.
QPixmap TilePicture(int number, double scale = 1.0);

/// Cursor 1..10: the circle patterns of pin tiles one to nine as outlines, 10 the eraser
/// ("clr"). 32x32, hot spot (16, 16). The arrow cursor for a number outside 1..10.
QCursor TileCursor(int number);

/// The window icon.
QIcon WindowIcon();

}  // namespace kz
