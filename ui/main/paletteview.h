// SPDX-License-Identifier: MIT
// The palette under the grid: nine tiles and the eraser, with a frame around the one chosen.
// It draws; the window decides what a choice means.
#pragma once

#include <QColor>
#include <array>
#include <functional>

#include "ui/dialogs/dialogwidgets.h"

namespace kz {

class ClickLabel;
class WakuShape;

class PaletteView : public CaptionBox {
    Q_OBJECT
public:
    /// `clicked` is told the item clicked: 1..9 a digit, 10 the eraser.
    PaletteView(QWidget* client, std::function<void(int)> clicked);

    /// Moves the frame around item 1..10.
    void frame(int item);
    /// The pictures of picture set `base`, in the small note form when `noteForm`.
    void draw(int base, bool noteForm);
    void setFrameColors(const QColor& fill, const QColor& border);
    /// The display scale the pictures are drawn at and the frame is placed for.
    void setScale(double factor) { m_factor = factor; }

private:
    double m_factor = 1.0;
    std::array<ClickLabel*, 11> m_items{};
    WakuShape* m_frame = nullptr;
};

}  // namespace kz
