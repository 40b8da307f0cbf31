// SPDX-License-Identifier: MIT
// The palette's selection frame.
#include "ui/main/wakushape.h"

#include <QPainter>
#include <algorithm>

namespace kz {

namespace {
// At the frame's original height; a larger frame gets a border as much thicker.
constexpr int kBorderWidth = 2;
constexpr int kOriginalHeight = 41;
}  // namespace

WakuShape::WakuShape(QWidget* parent) : QWidget(parent) {
    // It only ever paints itself; clicks go to the palette items above it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void WakuShape::setColors(const QColor& border, const QColor& fill) {
    m_border = border;
    m_fill = fill;
    update();
}

void WakuShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int border =
        std::max(kBorderWidth, (kBorderWidth * height() + kOriginalHeight / 2) / kOriginalHeight);
    p.fillRect(rect(), m_border);
    p.fillRect(rect().adjusted(border, border, -border, -border), m_fill);
}

}  // namespace kz
