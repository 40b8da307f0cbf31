// SPDX-License-Identifier: MIT
// The pictures, cursors and icon as the program sees them through the resource lookup.

#include "resources/pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QtTest>

namespace kz {
namespace {

constexpr QSize kPictureSize(24, 32);

QImage argb(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

bool allPixels(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

int countPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureHasTheCellSize_data() {
        QTest::addColumn<int>("number");
        for (int n = 1; n <= kTilePictureCount; ++n) {
            QTest::addRow("picture %d", n) << n;
        }
    }

    void everyPictureHasTheCellSize() {
        QFETCH(int, number);
        const QPixmap pixmap = TilePicture(number);
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), kPictureSize);
        // A scaled screen must get the sharp version, not a blown-up small one.
        const qreal expectedRatio = qGuiApp->devicePixelRatio() > 1.0 ? 2.0 : 1.0;
        QCOMPARE(pixmap.devicePixelRatio(), expectedRatio);
        QCOMPARE(pixmap.size(), kPictureSize * expectedRatio);
    }

    void theScaledRunReallyScales() {
        if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
            QSKIP("only meaningful with QT_SCALE_FACTOR set");
        }
        QVERIFY(qGuiApp->devicePixelRatio() > 1.0);
    }

    // A larger board draws its pictures afresh at the screen's resolution: at every scale
    // the picture has the scaled size in the screen's pixels (nothing for the screen to
    // stretch), and where that size is the carried double-resolution one it is that picture.
    void scaledPicturesAreDrawnAtTheirSize() {
        const qreal ratio = qGuiApp->devicePixelRatio();
        for (const double scale : {1.25, 1.5, 2.0}) {
            for (int n = 1; n <= kTilePictureCount; ++n) {
                const QPixmap pixmap = TilePicture(n, scale);
                const QString what = QStringLiteral("picture %1 at %2").arg(n).arg(scale);
                QVERIFY2(pixmap.devicePixelRatio() == ratio, qPrintable(what));
                QVERIFY2(pixmap.size() == (QSizeF(kPictureSize) * scale * ratio).toSize(),
                         qPrintable(what));
                if (scale * ratio != 2.0) continue;
                const QImage carried(n <= 10
                                         ? QStringLiteral(":/pictures/tile%1@2x.png").arg(n)
                                         : QStringLiteral(":/pictures/num%1@2x.png").arg(n - 10));
                const QImage drawn = argb(pixmap);
                const QImage expected = carried.convertToFormat(QImage::Format_ARGB32);
                int differing = 0;
                for (int y = 0; y < drawn.height(); ++y) {
                    for (int x = 0; x < drawn.width(); ++x) {
                        const QRgb a = drawn.pixel(x, y);
                        const QRgb b = expected.pixel(x, y);
                        differing +=
                            qAbs(qGray(a) - qGray(b)) > 24 || qAbs(qAlpha(a) - qAlpha(b)) > 24;
                    }
                }
                // Antialiasing may differ along an edge, never in a shape.
                QVERIFY2(differing <= drawn.width() * drawn.height() / 100,
                         qPrintable(what + QStringLiteral(": %1 pixels differ").arg(differing)));
            }
        }
    }

    void doubleResolutionFilesAreDrawnAtTwiceTheSize_data() {
        QTest::addColumn<QString>("path");
        for (int n = 1; n <= 10; ++n) {
            QTest::addRow("tile %d", n) << QStringLiteral(":/pictures/tile%1@2x.png").arg(n);
            QTest::addRow("numeral %d", n) << QStringLiteral(":/pictures/num%1@2x.png").arg(n);
        }
    }

    void doubleResolutionFilesAreDrawnAtTwiceTheSize() {
        QFETCH(QString, path);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), kPictureSize * 2);
    }

    void outOfRangeNumbersGiveNothing_data() {
        QTest::addColumn<int>("number");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("past the pictures") << kTilePictureCount + 1;
    }

    void outOfRangeNumbersGiveNothing() {
        QFETCH(int, number);
        QVERIFY(TilePicture(number).isNull());
        QCOMPARE(TileCursor(number).shape(), Qt::ArrowCursor);
    }

    void everyPictureIsDifferent() {
        QList<QImage> images;
        for (int n = 1; n <= kTilePictureCount; ++n) {
            images.append(argb(TilePicture(n)));
        }
        for (int a = 0; a < images.size(); ++a) {
            for (int b = a + 1; b < images.size(); ++b) {
                QVERIFY2(images[a] != images[b],
                         qPrintable(QStringLiteral("pictures %1 and %2").arg(a + 1).arg(b + 1)));
            }
        }
    }

    void erasersAreWhiteForNumeralsAndATileFaceForTiles() {
        QVERIFY(allPixels(argb(TilePicture(20)), qRgb(255, 255, 255)));
        const QImage blankTile = argb(TilePicture(10));
        QVERIFY(!allPixels(blankTile, qRgb(255, 255, 255)));
        // A blank face is one colour family with no circles: nothing strongly saturated. The
        // faint antialiased corners carry no meaningful colour.
        for (int y = 0; y < blankTile.height(); ++y) {
            for (int x = 0; x < blankTile.width(); ++x) {
                const QColor colour = QColor::fromRgba(blankTile.pixel(x, y));
                QVERIFY(colour.alpha() < 128 || colour.hsvSaturation() < 128);
            }
        }
    }

    void numeralsAreBlackOnWhite_data() {
        QTest::addColumn<int>("number");
        for (int n = 11; n <= 19; ++n) {
            QTest::addRow("numeral %d", n - 10) << n;
        }
    }

    void numeralsAreBlackOnWhite() {
        QFETCH(int, number);
        const QImage image = argb(TilePicture(number));
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
        // Bold: a good share of solid black, not a thin grey outline.
        QVERIFY(countPixels(image, qRgb(0, 0, 0)) > image.width() * image.height() / 20);
    }

    void tilesShowColouredCircles_data() {
        QTest::addColumn<int>("number");
        for (int n = 1; n <= 9; ++n) {
            QTest::addRow("tile %d", n) << n;
        }
    }

    void tilesShowColouredCircles() {
        QFETCH(int, number);
        const QImage image = argb(TilePicture(number));
        int saturated = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                saturated += QColor::fromRgba(image.pixel(x, y)).hsvSaturation() > 160 ? 1 : 0;
            }
        }
        QVERIFY(saturated > 20);
    }

    void cursorsAreCentredMonochromeAndDistinct() {
        QList<QImage> images;
        for (int n = 1; n <= kCursorCount; ++n) {
            const QCursor cursor = TileCursor(n);
            QCOMPARE(cursor.shape(), Qt::BitmapCursor);
            QCOMPARE(cursor.hotSpot(), QPoint(16, 16));
            const QImage image = argb(cursor.pixmap());
            QCOMPARE(image.size(), QSize(32, 32));
            const int black = countPixels(image, qRgba(0, 0, 0, 255));
            const int white = countPixels(image, qRgba(255, 255, 255, 255));
            const int clear = countPixels(image, qRgba(0, 0, 0, 0));
            QVERIFY(black > 0);
            QCOMPARE(black + white + clear, 32 * 32);
            for (const QImage& earlier : images) {
                QVERIFY(earlier != image);
            }
            images.append(image);
        }
    }

    void iconHasEverySize() {
        const QIcon icon = WindowIcon();
        QVERIFY(!icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        for (int side : {16, 32, 48, 64, 128, 256}) {
            QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        }
        const QPixmap small = icon.pixmap(QSize(16, 16), 1.0);
        QCOMPARE(small.size(), QSize(16, 16));
        QVERIFY(!allPixels(argb(small), qRgba(0, 0, 0, 0)));
    }
};

}  // namespace kz

QTEST_MAIN(kz::PicturesTest)
#include "pictures_test.moc"
