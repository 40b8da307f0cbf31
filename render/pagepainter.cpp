// SPDX-License-Identifier: MIT
// Drawing of booklet and game pages.
#include "render/pagepainter.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/atomicfile.h"
#include "print/layout.h"

namespace kz::render {

namespace {

const QColor kSmallPrint(0x55, 0x55, 0x55);

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Everything but the digits is Japanese text: a font that has the glyphs first, so that a
// missing one is not picked glyph by glyph from whatever the system offers.
QFont textFont(double pixels, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// Layout boxes are in points from the paper's corner; the painter works in device pixels.
class PageFrame {
public:
    PageFrame(QPainter& painter, QPagedPaintDevice& device)
        : m_painter(painter), m_scale(device.logicalDpiY() / 72.0) {}

    QRectF rect(const print::Box& box) const {
        return {box.x * m_scale, box.y * m_scale, box.width * m_scale, box.height * m_scale};
    }
    void text(const print::Box& box, const QString& text, double points, bool bold,
              Qt::Alignment align, const QColor& ink = Qt::black) {
        m_painter.setFont(textFont(points * m_scale, bold));
        m_painter.setPen(ink);
        m_painter.drawText(rect(box), static_cast<int>(align | Qt::AlignBottom), text);
    }
    void rule(const print::Box& box) {
        m_painter.setPen(QPen(Qt::black, 0.5 * m_scale));
        m_painter.drawLine(QPointF(box.x * m_scale, box.bottom() * m_scale),
                           QPointF(box.right() * m_scale, box.bottom() * m_scale));
    }

private:
    QPainter& m_painter;
    double m_scale;
};

print::Size paperOf(const QPagedPaintDevice& device) {
    const QRectF full = device.pageLayout().fullRect(QPageLayout::Point);
    return {full.width(), full.height()};
}

bool begin(QPainter& painter, QPagedPaintDevice& device, QString* error) {
    if (painter.begin(&device)) return true;
    if (error) *error = QStringLiteral("印刷を開始できませんでした");
    return false;
}

}  // namespace

bool PaintBooklet(QPagedPaintDevice& device, const print::Booklet& booklet, QString* error,
                  const PageProgressFn& progress) {
    const int count = static_cast<int>(booklet.puzzles.size());
    const std::vector<print::Page> pages =
        print::LayoutPages(count, booklet.perPage, booklet.solutions, paperOf(device));
    if (pages.empty()) {
        if (error) *error = QStringLiteral("印刷する問題がないか、用紙が小さすぎます");
        return false;
    }
    QPainter painter;
    if (!begin(painter, device, error)) return false;
    PageFrame frame(painter, device);
    GridPainter gridPainter(booklet.tiles, false);
    const QString title = fromUtf8(booklet.title);
    const QString origin = fromUtf8(booklet.origin);
    const int pageCount = static_cast<int>(pages.size());
    for (const print::Page& page : pages) {
        if (page.number > 1 && !device.newPage()) {
            if (error) *error = QStringLiteral("次のﾍﾟｰｼﾞを開始できませんでした");
            return false;
        }
        frame.text(page.heading, page.solutions ? title + QStringLiteral("　解答") : title, 14,
                   true, Qt::AlignLeft);
        frame.text(page.heading, fromUtf8(print::PageNumberText(page.number, pageCount)), 10, false,
                   Qt::AlignRight);
        frame.rule(page.heading);
        if (!origin.isEmpty()) {
            frame.text(page.foot, origin, 7, false, Qt::AlignLeft, kSmallPrint);
        }
        for (const print::Slot& slot : page.grids) {
            const print::Entry& entry = booklet.puzzles[static_cast<std::size_t>(slot.puzzle)];
            frame.text(slot.label, fromUtf8(print::SlotLabel(entry, slot.puzzle, slot.solution)),
                       slot.solution ? 8 : 10, false, Qt::AlignLeft);
            GridContent content = PuzzleContent(entry.givens);
            if (slot.solution) content.digits = entry.solution;
            gridPainter.paint(painter, frame.rect(slot.grid), content);
        }
        if (progress && !progress(page.number, pageCount)) {
            if (error) *error = QStringLiteral("中止しました");
            return false;
        }
    }
    return painter.end();
}

bool WriteBookletPdf(const std::filesystem::path& path, const print::Booklet& booklet,
                     const QPageSize& paper, std::string* error) {
    // The whole file is made in memory and then written by the atomic writer: a failure at
    // any point leaves no half-written file behind.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(paper);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(fromUtf8(booklet.title));
        writer.setCreator(QStringLiteral("Kazarinoset"));
        QString failure;
        if (!PaintBooklet(writer, booklet, &failure)) {
            if (error) *error = failure.toStdString();
            return false;
        }
    }
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), error);
}

bool PaintGamePage(QPagedPaintDevice& device, const GamePage& game, QString* error) {
    const std::vector<print::Page> pages = print::LayoutPages(1, 1, false, paperOf(device));
    if (pages.empty()) {
        if (error) *error = QStringLiteral("用紙が小さすぎます");
        return false;
    }
    QPainter painter;
    if (!begin(painter, device, error)) return false;
    PageFrame frame(painter, device);
    const print::Page& page = pages.front();
    frame.text(page.heading, game.title, 14, true, Qt::AlignLeft);
    frame.rule(page.heading);
    frame.text(page.grids.front().label, game.label, 10, false, Qt::AlignLeft);
    GridPainter(game.tiles, game.colour)
        .paint(painter, frame.rect(page.grids.front().grid), game.content);
    return painter.end();
}

}  // namespace kz::render
