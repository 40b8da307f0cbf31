// SPDX-License-Identifier: MIT
// The classic sixteen-colour table that every colour setting is a number of.
#pragma once

#include <QColor>

namespace kz {

inline constexpr int kPaletteSize = 16;

/// The colour of number 0..15; black for any other number, so a hand-edited settings file
/// can never make a widget unpaintable.
QColor PaletteColor(int number);

}  // namespace kz
