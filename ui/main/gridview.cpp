// SPDX-License-Identifier: MIT
// The grid's widgets and their drawing.
#include "ui/main/gridview.h"

#include <QCursor>
#include <QFont>
#include <QPainter>
#include <QWidget>

#include "game/game.h"
#include "resources/pictures.h"
#include "settings/optionman.h"
#include "ui/dialogs/palette.h"
#include "ui/main/clicklabel.h"

namespace kz {

namespace {

/// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int px(double twips) {
    return static_cast<int>(twips / 15.0 + 0.5);
}

constexpr int kCellPitch = 660;
constexpr int kTileWidth = 360;
constexpr int kTileHeight = 480;
// The note form of a tile: small enough to tell from a placement at a glance, large enough
// to read which tile it is.
constexpr double kNoteFormScale = 0.6;

QString arrayName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

void fillWith(QWidget* w, const QColor& color) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, color);
    w->setPalette(pal);
}

bool isDark(const QColor& colour) {
    // Perceived brightness (ITU-R BT.601 weights): the 16-colour palette's dark entries get
    // light notes, the rest dark ones.
    return 299 * colour.red() + 587 * colour.green() + 114 * colour.blue() < 128 * 1000;
}

/// The look of a hinted cell; a wrong digit takes the colour the consistency check marks with.
QColor HintColour(GridView::HintLook look, const QColor& conflict) {
    switch (look) {
        case GridView::HintLook::Pattern:
            return QColor(170, 225, 170);
        case GridView::HintLook::Elimination:
            return QColor(255, 215, 160);
        case GridView::HintLook::Placement:
            return QColor(255, 150, 50);
        case GridView::HintLook::Wrong:
            return conflict;
        case GridView::HintLook::None:
            break;
    }
    return {};
}

}  // namespace

void GridView::setRightClicks(bool on, std::function<void(int n)> onRightClick) {
    for (int n = 1; n <= kCellCount; ++n) {
        for (ClickLabel* label : {m_lblBack[n], m_imgPai[n]}) {
            label->setRightClicks(on);
            disconnect(label, &ClickLabel::rightClicked, this, nullptr);
            if (on) {
                connect(label, &ClickLabel::rightClicked, this,
                        [onRightClick, n] { onRightClick(n); });
            }
        }
    }
}

GridView::GridView(QWidget* client, const Game& game, const OptionMan& options, ClickFn onClick)
    : QObject(client), m_game(game), m_options(options) {
    m_cellCursor.fill(1);
    // Created back to front: squares, grid lines, tiles.
    for (int n = 1; n <= kCellCount; ++n) {
        const int r = (n - 1) / 9;
        const int c = (n - 1) % 9;
        auto* back = new ClickLabel(client);
        back->setObjectName(arrayName("lblBack", n));
        // 675 twips on a 660 pitch: neighbours overlap by a pixel under the grid lines.
        back->setGeometry(px(120 + kCellPitch * c), px(180 + kCellPitch * r), px(675), px(675));
        back->setAutoFillBackground(true);
        connect(back, &ClickLabel::clicked, this, [onClick, n] { onClick(n, false); });
        m_lblBack[n] = back;
    }
    for (int k = 0; k <= 9; ++k) {
        const bool thick = k % 3 == 0;
        const int at = px(180 + kCellPitch * k);
        auto* h = new QWidget(client);
        h->setObjectName(arrayName("linFrame", k));
        // Thick lines are centred on the twip line and reach one pixel past the ends, so
        // the box corners are closed.
        h->setGeometry(thick ? QRect(px(120) - 1, at - 1, px(6060) - px(120) + 3, 3)
                             : QRect(px(120), at, px(6060) - px(120) + 1, 1));
        m_linFrame[k] = h;

        const int x = px(120 + kCellPitch * k);
        auto* v = new QWidget(client);
        v->setObjectName(arrayName("linFrame", 10 + k));
        v->setGeometry(thick ? QRect(x - 1, px(180) - 1, 3, px(6120) - px(180) + 3)
                             : QRect(x, px(180), 1, px(6120) - px(180) + 1));
        m_linFrame[10 + k] = v;
    }
    for (QWidget* line : m_linFrame) {
        // A click on a line belongs to the square beneath it, as the squares overlap there.
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->setAutoFillBackground(true);
        fillWith(line, Qt::black);
    }
    for (int n = 1; n <= kCellCount; ++n) {
        auto* tile = new ClickLabel(client);
        tile->setObjectName(arrayName("imgPai", n));
        tile->setGeometry(px(270), px(270), px(kTileWidth), px(kTileHeight));
        tile->hide();
        connect(tile, &ClickLabel::clicked, this, [onClick, n] { onClick(n, true); });
        m_imgPai[n] = tile;
    }
    // Tile layout: each row starts under the row above, each tile right of its neighbour.
    m_imgPai[1]->move(px(270), px(270));
    for (int n = 2; n <= kCellCount; ++n) {
        const QPoint prev = m_imgPai[n % 9 == 1 ? n - 9 : n - 1]->pos();
        m_imgPai[n]->move(n % 9 == 1 ? QPoint(prev.x(), prev.y() + px(kCellPitch))
                                     : QPoint(prev.x() + px(kCellPitch), prev.y()));
    }
}

QColor GridView::slotColor(int slot) const {
    return PaletteColor(m_options.GetOption(slot));
}

void GridView::draw(int n) {
    const CellData& cell = m_game.board()[n];
    ClickLabel* tile = m_imgPai[n];
    if (cell.Value != 0) {
        const int picture = cell.Value + m_options.ImageSetBase();
        tile->setPixmap(TilePicture(picture));
        tile->setProperty("picture", picture);
        tile->show();
    } else {
        tile->hide();
    }
    const QCursor cursor =
        cell.Problem ? QCursor(Qt::ForbiddenCursor) : cellCursor(m_cellCursor[n]);
    tile->setCursor(cursor);
    m_lblBack[n]->setCursor(cursor);
    drawLook(n);
}

void GridView::drawLook(int n) {
    const CellData& cell = m_game.board()[n];
    if (m_hintLook[n] != HintLook::None) {
        fillWith(m_lblBack[n], HintColour(m_hintLook[n], slotColor(OptConflictColor)));
    } else {
        int slot = OptBlankColor;
        if (cell.Problem) {
            slot = OptProblemColor;
        } else if (cell.Mark == MarkConflict) {
            slot = OptConflictColor;
        } else if (cell.Mark == MarkAnswer) {
            slot = OptAnswerColor;
        }
        fillWith(m_lblBack[n], slotColor(slot));
    }
    // The notes' ink follows the colour beneath them.
    drawOverlay(n);
}

void GridView::drawAll() {
    const int base = m_options.ImageSetBase();
    for (int n = 1; n <= kCellCount; ++n) {
        drawLook(n);
        if (const int value = m_game.board()[n].Value; value != 0) {
            m_imgPai[n]->setPixmap(TilePicture(value + base));
            m_imgPai[n]->setProperty("picture", value + base);
        }
    }
    const QColor grid = slotColor(OptGridColor);
    for (QWidget* line : m_linFrame) fillWith(line, grid);
}

void GridView::setChoice(int picture) {
    m_choice = picture;
    for (int n = 1; n <= kCellCount; ++n) {
        // Problem cells keep their earlier cursor picture; they show the no-drop pointer.
        if (m_game.board()[n].Problem) continue;
        m_cellCursor[n] = picture;
        const QCursor cursor = cellCursor(picture);
        m_lblBack[n]->setCursor(cursor);
        m_imgPai[n]->setCursor(cursor);
    }
    if (m_options.GetExtra(ExtHighlight) == 1) {
        for (int n = 1; n <= kCellCount; ++n) drawOverlay(n);
    }
}

void GridView::setNoteMode(bool on) {
    m_noteMode = on;
    for (int n = 1; n <= kCellCount; ++n) {
        if (m_game.board()[n].Problem) continue;
        const QCursor cursor = cellCursor(m_cellCursor[n]);
        m_lblBack[n]->setCursor(cursor);
        m_imgPai[n]->setCursor(cursor);
    }
}

void GridView::showHintLook(int n, HintLook look) {
    m_hintLook[n] = look;
    m_hintShown = true;
    drawLook(n);
}

void GridView::clearHintLooks() {
    if (!m_hintShown) return;
    m_hintShown = false;
    for (int n = 1; n <= kCellCount; ++n) {
        if (m_hintLook[n] == HintLook::None) continue;
        m_hintLook[n] = HintLook::None;
        drawLook(n);
    }
}

int GridView::highlightedDigit() const {
    return m_options.GetExtra(ExtHighlight) == 1 && m_choice != 10 ? m_choice : 0;
}

void GridView::drawOverlay(int n) {
    ClickLabel* back = m_lblBack[n];
    const int digit = m_game.board()[n].Value;
    const NoteSet notes = digit == 0 ? m_game.notes()[n] : NoteSet{0};
    const int highlight = highlightedDigit();
    const bool framed = highlight != 0 && digit == highlight;
    if (notes == 0 && !framed) {
        if (!back->pixmap().isNull()) back->clear();
        return;
    }

    const QColor ground = back->palette().color(QPalette::Window);
    const bool dark = isDark(ground);
    const QColor ink = dark ? QColor(255, 255, 255) : QColor(0, 0, 0);
    // A highlight colour that stands out on light and on dark cells alike, keeping the
    // cell's own colour around it.
    const QColor accent = dark ? QColor(255, 230, 0) : QColor(0, 70, 230);

    const QSize size = back->size();
    QPixmap overlay(size);
    overlay.fill(Qt::transparent);
    QPainter painter(&overlay);
    if (framed) {
        painter.setPen(QPen(accent, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(2.5, 2.5, size.width() - 5.0, size.height() - 5.0));
    }
    if (notes != 0) {
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPixelSize(size.height() / 4);
        const double slotWidth = (size.width() - 4) / 3.0;
        const double slotHeight = (size.height() - 4) / 3.0;
        for (int k = 1; k <= 9; ++k) {
            if ((notes & NoteBit(k)) == 0) continue;
            const bool strong = k == highlight;
            font.setBold(strong);
            painter.setFont(font);
            painter.setPen(strong ? accent : ink);
            const QRectF slot(2 + slotWidth * ((k - 1) % 3), 2 + slotHeight * ((k - 1) / 3),
                              slotWidth, slotHeight);
            painter.drawText(slot, Qt::AlignCenter, QString::number(k));
        }
    }
    painter.end();
    back->setPixmap(overlay);
}

QPixmap GridView::noteForm(const QPixmap& picture, QSize box) {
    QPixmap result(box);
    result.fill(Qt::transparent);
    if (picture.isNull()) return result;
    const QPixmap small = picture.scaled(picture.size() * kNoteFormScale, Qt::KeepAspectRatio,
                                         Qt::SmoothTransformation);
    QPainter painter(&result);
    painter.drawPixmap((box.width() - small.width()) / 2, (box.height() - small.height()) / 2,
                       small);
    return result;
}

QCursor GridView::cellCursor(int picture) const {
    const QCursor normal = TileCursor(picture);
    if (!m_noteMode) return normal;
    const QPixmap full = normal.pixmap();
    if (full.isNull()) return normal;
    // The hot spot stays where the full pointer has it, so a click lands where it did.
    return QCursor(noteForm(full, full.size()), normal.hotSpot().x(), normal.hotSpot().y());
}

}  // namespace kz
