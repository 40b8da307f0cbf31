// SPDX-License-Identifier: MIT
// Drawing a chain's links.
#include "ui/main/chainoverlay.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace kz {

namespace {

// Dark enough to read on the hint's light cell colours and the white ground alike, and apart
// from the on, off and removal colours of the candidates.
const QColor kLinkColour(140, 0, 150);
// Orange against the purple: told apart by colour as well as by the dots.
const QColor kDynamicColour(230, 110, 0);

}  // namespace

ChainOverlay::ChainOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("chainLinks"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void ChainOverlay::setSegments(std::vector<Segment> segments, double radius, double width) {
    m_segments = std::move(segments);
    m_radius = radius;
    m_width = width;
    setVisible(!m_segments.empty());
    if (!m_segments.empty()) raise();
    update();
}

void ChainOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Segment& s : m_segments) {
        const QPointF along = s.to - s.from;
        const double length = std::hypot(along.x(), along.y());
        // Two candidates closer than their own size: a line would only cover them.
        if (length <= 2 * m_radius) continue;
        const QPointF unit = along / length;
        const QPointF from = s.from + unit * m_radius;
        const QPointF to = s.to - unit * m_radius;
        // A link that holds only with earlier facts is dotted and of its own colour: the
        // board as shown does not bear it out alone, so it must not pass for a strong link.
        const QColor colour = s.dynamic ? kDynamicColour : kLinkColour;
        const Qt::PenStyle style = s.dynamic  ? Qt::DotLine
                                   : s.strong ? Qt::SolidLine
                                              : Qt::DashLine;
        QPen pen(colour, s.dynamic ? 1.5 * m_width : m_width, style, Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const double head = 3 * m_width;
        painter.drawLine(from, to - unit * head);
        // The arrow's head, so a reader can tell which way the chain runs.
        const QPointF normal(-unit.y(), unit.x());
        QPainterPath arrow;
        arrow.moveTo(to);
        arrow.lineTo(to - unit * head * 1.6 + normal * head * 0.8);
        arrow.lineTo(to - unit * head * 1.6 - normal * head * 0.8);
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(arrow);
    }
}

}  // namespace kz
