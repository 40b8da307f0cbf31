// SPDX-License-Identifier: MIT
// Loads the compiled-in tile, numeral and cursor pictures and the window icon.

#include "resources/pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QString>

#include <array>
#include <cmath>

#include "resources/tilepaint.h"

namespace kz {
namespace {

constexpr int kCursorHotSpot = 16;
constexpr std::array kIconSizes{16, 32, 48, 64, 128, 256};

// A screen that scales at all gets the double-resolution picture: shrinking it at 1.5 looks
// better than blowing up the small one.
bool wantsDoubleResolution() {
    return qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0;
}

QString picturePath(int number, bool doubleResolution) {
    const QString suffix = doubleResolution ? QStringLiteral("@2x") : QString();
    if (number <= 10) {
        return QStringLiteral(":/pictures/tile%1%2.png").arg(number).arg(suffix);
    }
    return QStringLiteral(":/pictures/num%1%2.png").arg(number - 10).arg(suffix);
}

double screenRatio() {
    return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
}

/// Picture `number` drawn from its shapes, `scale` logical pixels to the picture's pixel.
QPixmap drawnPicture(int number, double scale) {
    const double ratio = screenRatio();
    const QSize size(static_cast<int>(std::lround(kTilePictureWidth * scale * ratio)),
                     static_cast<int>(std::lround(kTilePictureHeight * scale * ratio)));
    const QString key =
        QStringLiteral("kz-picture-%1-%2x%3").arg(number).arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / kTilePictureWidth, size.height() / kTilePictureHeight);
    if (number <= 10) {
        PaintTile(p, number, size.height() / kTilePictureHeight);
    } else {
        PaintNumeral(p, number - 10, NumeralFont());
    }
    p.end();
    pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

}  // namespace

QPixmap TilePicture(int number, double scale) {
    if (number < 1 || number > kTilePictureCount) {
        return {};
    }
    if (scale != 1.0) return drawnPicture(number, scale);
    const bool doubleResolution = wantsDoubleResolution();
    const QString path = picturePath(number, doubleResolution);
    // Every cell redraw asks for a picture; decode each file once.
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap)) {
        if (!pixmap.load(path)) {
            return {};
        }
        // The reader infers the ratio from "@2x" only unless the environment turns that off.
        pixmap.setDevicePixelRatio(doubleResolution ? 2.0 : 1.0);
        QPixmapCache::insert(path, pixmap);
    }
    return pixmap;
}

QCursor TileCursor(int number) {
    if (number < 1 || number > kCursorCount) {
        return QCursor(Qt::ArrowCursor);
    }
    const QPixmap pixmap(QStringLiteral(":/cursors/cursor%1.png").arg(number));
    if (pixmap.isNull()) {
        return QCursor(Qt::ArrowCursor);
    }
    return QCursor(pixmap, kCursorHotSpot, kCursorHotSpot);
}

QIcon WindowIcon() {
    QIcon icon;
    for (int size : kIconSizes) {
        icon.addFile(QStringLiteral(":/icons/icon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace kz
