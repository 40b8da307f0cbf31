// SPDX-License-Identifier: MIT
// The palette's selection frame.
#include "ui/main/wakushape.h"

#include <QPainter>

namespace kz {

namespace {
constexpr int kBorderWidth = 2;
}

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
    p.fillRect(rect(), m_border);
    p.fillRect(rect().adjusted(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth), m_fill);
}

}  // namespace kz
