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
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kz {
namespace {

// All tile geometry is in logical pixels of the 24x32 picture; the painter's scale turns it
// into device pixels, so the double-size pictures are drawn from the same shapes, not upscaled.
constexpr double kTileWidth = 24.0;
constexpr double kTileHeight = 32.0;
constexpr double kFaceCentreX = 11.5;  // the face is one pixel narrower and shorter: the edge
constexpr double kFaceCentreY = 15.5;

const QColor kBlue(0x1c, 0x4a, 0xa8);
const QColor kGreen(0x12, 0x7a, 0x3a);
const QColor kRed(0xcc, 0x22, 0x22);
const QColor kIvory(0xfd, 0xf8, 0xe8);

struct Pin {
    double x;
    double y;
    double r;
    QColor colour;
};

std::vector<Pin> pinLayout(int number) {
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

QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// The tile shows its darker back one pixel to the right and below, which reads as thickness.
void drawTileFace(QPainter& p, double scale) {
    const double radius = 2.8;
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0.5, 0.5, kTileWidth - 1.0, kTileHeight - 1.0), radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xb3, 0x7e));
    p.drawPath(outer);

    QPainterPath face;
    face.addRoundedRect(QRectF(0.5, 0.5, kTileWidth - 2.0, kTileHeight - 2.0), radius, radius);
    QLinearGradient shade(0, 0, kTileWidth, kTileHeight);
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

// Draws tile `number` (1..9; 10 or anything else leaves the face blank) with its top-left corner
// at the painter's origin, `scale` device pixels to the logical pixel.
void paintTile(QPainter& p, int number, double scale) {
    drawTileFace(p, scale);
    for (const Pin& pin : pinLayout(number)) {
        if (number == 1) {
            drawOnePin(p, pin, scale);
        } else {
            drawPin(p, pin, scale);
        }
    }
}

QImage tileImage(int number, int scale) {
    QImage image = blankImage(24 * scale, 32 * scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paintTile(p, number, scale);
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
        for (const Pin& pin : pinLayout(number)) {
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
    const double scale = size / kTileHeight;
    p.translate((size - kTileWidth * scale) / 2.0, 0.0);
    p.scale(scale, scale);
    paintTile(p, 5, scale);
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
