// SPDX-License-Identifier: MIT
// Drawing of one grid.
#include "render/gridpainter.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "resources/tilepaint.h"

namespace kz::render {

namespace {

// Tiles are pictures: past this resolution a printer shows no more detail, and a booklet of
// a hundred puzzles would only grow.
constexpr double kMaxTileDpi = 300.0;
const QColor kPlayerInk(0x1c, 0x4a, 0xa8);
const QColor kGreyInk(0x60, 0x60, 0x60);
const QColor kNoteInk(0x70, 0x70, 0x70);
// On white paper a tile shows no difference between a given and a placed digit: givens lie
// on a light shade.
const QColor kGivenShade(0xdd, 0xdd, 0xdd);

QFont digitFont(double pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

}  // namespace

GridContent PuzzleContent(const logic::Digits& givens) {
    GridContent content;
    content.digits = givens;
    for (int c = 0; c < 81; ++c) content.given[c] = givens[c] != 0;
    return content;
}

const QImage& GridPainter::tile(int digit, int height) {
    QImage& image = m_tileImages[{digit, height}];
    if (image.isNull()) {
        const double scale = height / kTilePictureHeight;
        image = QImage(static_cast<int>(std::ceil(kTilePictureWidth * scale)), height,
                       QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        PaintTile(p, digit, scale);
    }
    return image;
}

void GridPainter::paintDigit(QPainter& painter, const QRectF& cell, int digit, bool given) {
    if (m_tiles) {
        const double height = cell.height() * 0.9;
        const double width = height * kTilePictureWidth / kTilePictureHeight;
        const QRectF target(cell.center().x() - width / 2, cell.center().y() - height / 2, width,
                            height);
        const double dpi = painter.device() != nullptr ? painter.device()->logicalDpiY() : 72.0;
        const double pixels = height * std::min(1.0, kMaxTileDpi / dpi);
        painter.drawImage(target, tile(digit, std::max(8, static_cast<int>(std::lround(pixels)))));
        return;
    }
    painter.setFont(digitFont(cell.height() * 0.62, given || m_colour));
    painter.setPen(given ? QColor(Qt::black) : (m_colour ? kPlayerInk : kGreyInk));
    painter.drawText(cell, Qt::AlignCenter, QString::number(digit));
}

void GridPainter::paintNotes(QPainter& painter, const QRectF& cell, std::uint16_t notes) {
    const double slot = cell.width() / 3;
    painter.setFont(digitFont(slot * 0.75, false));
    painter.setPen(m_colour ? kPlayerInk : kNoteInk);
    for (int d = 1; d <= 9; ++d) {
        if ((notes >> (d - 1) & 1) == 0) continue;
        const QRectF place(cell.x() + (d - 1) % 3 * slot, cell.y() + (d - 1) / 3 * slot, slot,
                           slot);
        painter.drawText(place, Qt::AlignCenter, QString::number(d));
    }
}

void GridPainter::paint(QPainter& painter, const QRectF& square, const GridContent& content) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double side = std::min(square.width(), square.height());
    const double step = side / 9;
    auto cellRect = [&](int c) {
        return QRectF(square.x() + c % 9 * step, square.y() + c / 9 * step, step, step);
    };
    for (int c = 0; c < 81; ++c) {
        QColor background = Qt::white;
        if (content.fill) {
            background = (*content.fill)[c];
        } else if (m_tiles && content.given[c] && content.digits[c] != 0) {
            background = kGivenShade;
        }
        if (background != Qt::white) painter.fillRect(cellRect(c), background);
    }
    for (int c = 0; c < 81; ++c) {
        const int digit = content.digits[c];
        if (digit >= 1 && digit <= 9) {
            paintDigit(painter, cellRect(c), digit, content.given[c]);
        } else if (content.notes[c] != 0) {
            paintNotes(painter, cellRect(c), content.notes[c]);
        }
    }
    // Box lines three times as heavy as cell lines, as the window draws them; lines run past
    // the corners by half their width so that the corners are square.
    const double thin = side * 0.003;
    const double thick = thin * 3;
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i <= 9; ++i) {
        const double width = i % 3 == 0 ? thick : thin;
        painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::SquareCap));
        const double at = i * step;
        painter.drawLine(QPointF(square.x() + at, square.y()),
                         QPointF(square.x() + at, square.y() + side));
        painter.drawLine(QPointF(square.x(), square.y() + at),
                         QPointF(square.x() + side, square.y() + at));
    }
    painter.restore();
}

}  // namespace kz::render
