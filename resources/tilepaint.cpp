// SPDX-License-Identifier: MIT
// Tile shapes and their drawing.
#include "resources/tilepaint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kz {

namespace {

const QColor kBlue(0x1c, 0x4a, 0xa8);
const QColor kGreen(0x12, 0x7a, 0x3a);
const QColor kRed(0xcc, 0x22, 0x22);
const QColor kIvory(0xfd, 0xf8, 0xe8);

}  // namespace

std::vector<Pin> PinLayout(int number) {
    const QColor& b = kBlue;
    const QColor& g = kGreen;
    const QColor& r = kRed;
    switch (number) {
        case 1:
            return {{kFaceCentreX, kFaceCentreY, 9.6, g}};
        case 2:
            return {{11.5, 9.0, 5.2, g}, {11.5, 22.0, 5.2, b}};
        case 3:
            return {{6.0, 7.0, 4.2, b}, {11.5, 15.5, 4.2, r}, {17.0, 24.0, 4.2, g}};
        case 4:
            return {
                {6.5, 8.5, 4.3, b}, {16.5, 8.5, 4.3, g}, {6.5, 22.5, 4.3, g}, {16.5, 22.5, 4.3, b}};
        case 5:
            return {{6.0, 7.0, 3.9, b},
                    {17.0, 7.0, 3.9, g},
                    {11.5, 15.5, 3.9, r},
                    {6.0, 24.0, 3.9, g},
                    {17.0, 24.0, 3.9, b}};
        case 6:
            return {{7.0, 5.8, 3.5, g},   {16.0, 5.8, 3.5, g}, {7.0, 16.3, 3.5, r},
                    {16.0, 16.3, 3.5, r}, {7.0, 24.6, 3.5, r}, {16.0, 24.6, 3.5, r}};
        case 7:
            return {{5.0, 4.6, 3.0, g},  {11.5, 7.6, 3.0, g},  {18.0, 10.6, 3.0, g},
                    {7.0, 17.6, 3.4, r}, {16.0, 17.6, 3.4, r}, {7.0, 25.2, 3.4, r},
                    {16.0, 25.2, 3.4, r}};
        case 8:
            return {{7.0, 5.0, 3.1, b},   {16.0, 5.0, 3.1, b}, {7.0, 11.8, 3.1, b},
                    {16.0, 11.8, 3.1, b}, {7.0, 18.6, 3.1, b}, {16.0, 18.6, 3.1, b},
                    {7.0, 25.4, 3.1, b},  {16.0, 25.4, 3.1, b}};
        case 9: {
            std::vector<Pin> pins;
            const QColor rows[3] = {b, r, g};
            for (int row = 0; row < 3; ++row) {
                for (int col = 0; col < 3; ++col) {
                    pins.push_back({5.3 + 6.1 * col, 6.5 + 9.0 * row, 3.0, rows[row]});
                }
            }
            return pins;
        }
        default:
            return {};
    }
}

namespace {

// The tile shows its darker back one pixel to the right and below, which reads as thickness.
void drawTileFace(QPainter& p, double scale) {
    const double radius = 2.8;
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0.5, 0.5, kTilePictureWidth - 1.0, kTilePictureHeight - 1.0),
                         radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xb3, 0x7e));
    p.drawPath(outer);

    QPainterPath face;
    face.addRoundedRect(QRectF(0.5, 0.5, kTilePictureWidth - 2.0, kTilePictureHeight - 2.0), radius,
                        radius);
    QLinearGradient shade(0, 0, kTilePictureWidth, kTilePictureHeight);
    shade.setColorAt(0.0, QColor(0xff, 0xfd, 0xf4));
    shade.setColorAt(1.0, QColor(0xf1, 0xe8, 0xcc));
    p.setBrush(shade);
    p.drawPath(face);

    // One device pixel wide at 1x, a little more on larger pictures but never heavy.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x80, 0x70, 0x4c), std::clamp(0.75 * scale, 1.0, 2.5) / scale));
    p.drawPath(outer);
}

void disc(QPainter& p, double x, double y, double r, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(x, y), r, r);
}

// A circle of the pin suit: a coloured ring around a ring of ivory and a coloured centre. The
// smaller the circle in device pixels, the fewer rings it gets; more would turn to mud.
void drawPin(QPainter& p, const Pin& pin, double scale) {
    const double devR = pin.r * scale;
    disc(p, pin.x, pin.y, pin.r, pin.colour.darker(130));
    disc(p, pin.x, pin.y, pin.r - 0.45 / scale * std::min(devR / 3.0, 1.5), pin.colour);
    if (devR >= 5.5) {
        disc(p, pin.x, pin.y, pin.r * 0.66, kIvory);
        disc(p, pin.x, pin.y, pin.r * 0.46, pin.colour);
        disc(p, pin.x, pin.y, pin.r * 0.17, kIvory);
    } else if (devR >= 2.5) {
        disc(p, pin.x, pin.y, pin.r * 0.55, kIvory);
        disc(p, pin.x, pin.y, pin.r * 0.30, pin.colour);
    }
}

// The one-circle tile: a green rim, a wreath of blue dots, and a red flower in the middle.
void drawOnePin(QPainter& p, const Pin& pin, double scale) {
    const double x = pin.x;
    const double y = pin.y;
    const double r = pin.r;
    disc(p, x, y, r, kGreen.darker(130));
    disc(p, x, y, r - 0.5 / scale, kGreen);
    disc(p, x, y, r * 0.84, kIvory);
    const int dots = scale > 1.0 ? 16 : 12;
    for (int i = 0; i < dots; ++i) {
        const double a = 2.0 * std::numbers::pi * i / dots;
        disc(p, x + std::cos(a) * r * 0.69, y + std::sin(a) * r * 0.69, r * 0.11, kBlue);
    }
    disc(p, x, y, r * 0.52, kRed);
    disc(p, x, y, r * 0.36, kIvory);
    if (scale > 1.0) {
        for (int i = 0; i < 6; ++i) {
            const double a = 2.0 * std::numbers::pi * i / 6;
            disc(p, x + std::cos(a) * r * 0.22, y + std::sin(a) * r * 0.22, r * 0.09, kRed);
        }
    }
    disc(p, x, y, r * 0.14, kRed.darker(110));
}

}  // namespace

void PaintTile(QPainter& p, int number, double scale) {
    drawTileFace(p, scale);
    for (const Pin& pin : PinLayout(number)) {
        if (number == 1) {
            drawOnePin(p, pin, scale);
        } else {
            drawPin(p, pin, scale);
        }
    }
}

}  // namespace kz
