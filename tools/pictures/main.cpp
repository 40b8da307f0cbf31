// SPDX-License-Identifier: MIT
// Draws the tile, numeral, cursor and icon pictures that the program carries as resources.
//
// Usage: kz-make-pictures <resources directory>
// Writes pictures/, cursors/ and icons/ below that directory. The output is committed, so this
// runs only when a picture is redrawn; it needs no display (QT_QPA_PLATFORM=offscreen).

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <vector>

#include "resources/tilepaint.h"

namespace kz {
namespace {

QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage tileImage(int number, int scale) {
    QImage image = blankImage(24 * scale, 32 * scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    PaintTile(p, number, scale);
    return image;
}

QFont numeralFont() {
    const int id =
        QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    QFont font;
    if (id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty()) {
        font.setFamily(QFontDatabase::applicationFontFamilies(id).first());
    } else {
        QTextStream(stderr) << "DejaVu Sans Bold not found; using the default sans-serif\n";
        font.setStyleHint(QFont::SansSerif);
    }
    font.setBold(true);
    font.setPixelSize(100);
    return font;
}

// The same scale for every digit (taken from "8"), so that the numerals share one height.
QPainterPath numeralPath(int number, const QFont& font, double height) {
    QPainterPath reference;
    reference.addText(0, 0, font, QStringLiteral("8"));
    const double k = height / reference.boundingRect().height();
    QPainterPath path;
    path.addText(0, 0, font, QString::number(number));
    QTransform t;
    t.scale(k, k);
    return t.map(path);
}

QImage numeralImage(int number, int scale, const QFont& font) {
    QImage image(24 * scale, 32 * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (number < 1 || number > 9) {
        return image;
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QPainterPath path = numeralPath(number, font, 21.0);
    const QRectF box = path.boundingRect();
    p.translate(12.0 - box.center().x(), 16.0 - box.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(path);
    return image;
}

// Cursors stay two-colour: black shapes, then a one-pixel white halo around them so that they
// show on the dark cell colours too.
void addHalo(QImage& image) {
    const QImage shape = image.copy();
    const QRgb black = qRgba(0, 0, 0, 255);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(shape.pixel(x, y)) != 0) {
                continue;
            }
            bool nearShape = false;
            for (int dy = -1; dy <= 1 && !nearShape; ++dy) {
                for (int dx = -1; dx <= 1 && !nearShape; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    nearShape = shape.rect().contains(nx, ny) && shape.pixel(nx, ny) == black;
                }
            }
            if (nearShape) {
                image.setPixel(x, y, qRgba(255, 255, 255, 255));
            }
        }
    }
}

QImage cursorImage(int number, const QFont& font) {
    QImage image = blankImage(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    if (number == 10) {
        QFont small = font;
        small.setBold(false);
        small.setPixelSize(14);
        QPainterPath path;
        path.addText(0, 0, small, QStringLiteral("clr"));
        const QRectF box = path.boundingRect();
        p.translate(std::round(16.0 - box.center().x()), std::round(16.0 - box.center().y()));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(path);
    } else {
        // The tile's layout around the hot spot, each circle a little smaller so that the
        // halos of neighbouring circles do not merge.
        for (const Pin& pin : PinLayout(number)) {
            const int cx = static_cast<int>(std::lround(pin.x - kFaceCentreX + 16.0));
            const int cy = static_cast<int>(std::lround(pin.y - kFaceCentreY + 16.0));
            const int r = std::max(2, static_cast<int>(std::floor(pin.r * 0.85)));
            p.drawEllipse(QRect(cx - r, cy - r, 2 * r, 2 * r));
            if (number == 1) {
                p.drawEllipse(QRect(cx - 5, cy - 5, 10, 10));
                p.drawEllipse(QRect(cx - 1, cy - 1, 2, 2));
            }
        }
    }
    p.end();
    // Painting without antialiasing still leaves only opaque black or transparent pixels.
    addHalo(image);
    return image;
}

QImage iconImage(int size) {
    QImage image = blankImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = size / kTilePictureHeight;
    p.translate((size - kTilePictureWidth * scale) / 2.0, 0.0);
    p.scale(scale, scale);
    PaintTile(p, 5, scale);
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return false;
    }
    return true;
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: kz-make-pictures <resources directory>\n";
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"pictures", "cursors", "icons"}) {
        if (!root.mkpath(QString::fromLatin1(sub))) {
            QTextStream(stderr) << "cannot create " << root.filePath(QString::fromLatin1(sub))
                                << "\n";
            return 1;
        }
    }
    const QFont font = kz::numeralFont();
    bool ok = true;
    for (int n = 1; n <= 10; ++n) {
        for (int scale : {1, 2}) {
            const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
            ok &=
                kz::save(kz::tileImage(n, scale),
                         root.filePath(QStringLiteral("pictures/tile%1%2.png").arg(n).arg(suffix)));
            ok &=
                kz::save(kz::numeralImage(n, scale, font),
                         root.filePath(QStringLiteral("pictures/num%1%2.png").arg(n).arg(suffix)));
        }
        ok &= kz::save(kz::cursorImage(n, font),
                       root.filePath(QStringLiteral("cursors/cursor%1.png").arg(n)));
    }
    for (int size : {16, 32, 48, 64, 128, 256}) {
        ok &= kz::save(kz::iconImage(size),
                       root.filePath(QStringLiteral("icons/icon-%1.png").arg(size)));
    }
    return ok ? 0 : 1;
}
