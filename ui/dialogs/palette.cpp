// SPDX-License-Identifier: MIT
// The classic sixteen-colour table that every colour setting is a number of.
#include "ui/dialogs/palette.h"

#include <array>

namespace kz {

QColor PaletteColor(int number) {
    // Dark colours use 128 and the light grey 192, as the old console palette did.
    static constexpr std::array<QRgb, kPaletteSize> kTable = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    if (number < 0 || number >= kPaletteSize) return QColor(Qt::black);
    return QColor(kTable[static_cast<std::size_t>(number)]);
}

}  // namespace kz
