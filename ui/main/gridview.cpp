// SPDX-License-Identifier: MIT
// The grid's widgets and their drawing.
#include "ui/main/gridview.h"

#include <QCursor>
#include <QFont>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "game/game.h"
#include "resources/pictures.h"
#include "settings/optionman.h"
#include "ui/dialogs/palette.h"
#include "ui/main/chainoverlay.h"
#include "ui/main/clicklabel.h"
#include "ui/main/scale.h"

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

/// A candidate's disc and its digit's ink: saturated, so they read on every cell colour, and
/// none of them the givens' yellow.
std::pair<QColor, QColor> NoteColours(GridView::NoteLook look) {
    switch (look) {
        case GridView::NoteLook::On:
            return {QColor(40, 110, 235), Qt::white};
        case GridView::NoteLook::Off:
            return {QColor(0, 150, 70), Qt::white};
        case GridView::NoteLook::Removal:
            return {QColor(225, 35, 35), Qt::white};
        case GridView::NoteLook::None:
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
        auto* back = new ClickLabel(client);
        back->setObjectName(arrayName("lblBack", n));
        back->setAutoFillBackground(true);
        connect(back, &ClickLabel::clicked, this, [onClick, n] { onClick(n, false); });
        m_lblBack[n] = back;
    }
    for (int k = 0; k < 20; ++k) {
        auto* line = new QWidget(client);
        line->setObjectName(arrayName("linFrame", k));
        // A click on a line belongs to the square beneath it, as the squares overlap there.
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->setAutoFillBackground(true);
        fillWith(line, Qt::black);
        m_linFrame[k] = line;
    }
    for (int n = 1; n <= kCellCount; ++n) {
        auto* tile = new ClickLabel(client);
        tile->setObjectName(arrayName("imgPai", n));
        // A picture a pixel off the label's size at some scale stays in the middle.
        tile->setAlignment(Qt::AlignCenter);
        tile->hide();
        connect(tile, &ClickLabel::clicked, this, [onClick, n] { onClick(n, true); });
        m_imgPai[n] = tile;
    }
    for (QWidget* w : m_lblBack) {
        if (w != nullptr) PlaceItself(*w);
    }
    for (QWidget* w : m_linFrame) PlaceItself(*w);
    for (QWidget* w : m_imgPai) {
        if (w != nullptr) PlaceItself(*w);
    }
    // Above the tiles: a link may cross a cell that holds a digit.
    m_links = new ChainOverlay(client);
    PlaceItself(*m_links);
    layOut();
}

void GridView::layOut() {
    const double f = m_factor;
    const auto at = [f](int pixels) { return static_cast<int>(std::lround(pixels * f)); };
    // Line k of the grid starts at x(k), y(k): twips 120 and 180 from the client's corner on
    // a 660-twip pitch. Thin lines keep one width everywhere, and thick ones reach `margin`
    // past them on both sides, however the scale rounds.
    const auto x = [&](int k) { return at(px(120 + kCellPitch * k)); };
    const auto y = [&](int k) { return at(px(180 + kCellPitch * k)); };
    const int thin = std::max(1, at(1));
    const int margin = std::max(1, static_cast<int>(std::floor((3.0 * f - thin) / 2.0 + 0.5)));
    for (int n = 1; n <= kCellCount; ++n) {
        const int r = (n - 1) / 9;
        const int c = (n - 1) % 9;
        // 675 twips on a 660 pitch: neighbours overlap under the grid line between them.
        m_lblBack[n]->setGeometry(
            QRect(QPoint(x(c), y(r)), QPoint(x(c + 1) + thin - 1, y(r + 1) + thin - 1)));
        m_imgPai[n]->setGeometry(at(px(270 + kCellPitch * c)), at(px(270 + kCellPitch * r)),
                                 at(px(kTileWidth)), at(px(kTileHeight)));
    }
    for (int k = 0; k <= 9; ++k) {
        const bool thick = k % 3 == 0;
        const int m = thick ? margin : 0;
        // Thick lines are centred on the thin line's place and reach past the ends, so the
        // box corners are closed.
        m_linFrame[k]->setGeometry(
            QRect(QPoint(x(0) - m, y(k) - m), QPoint(x(9) + thin - 1 + m, y(k) + thin - 1 + m)));
        m_linFrame[10 + k]->setGeometry(
            QRect(QPoint(x(k) - m, y(0) - m), QPoint(x(k) + thin - 1 + m, y(9) + thin - 1 + m)));
    }
    m_links->setGeometry(m_lblBack[1]->geometry().united(m_lblBack[kCellCount]->geometry()));
    placeLinks();
}

void GridView::setScale(double factor) {
    m_factor = factor;
    layOut();
    drawAll();
}

QColor GridView::slotColor(int slot) const {
    return PaletteColor(m_options.GetOption(slot));
}

void GridView::draw(int n) {
    const CellData& cell = m_game.board()[n];
    ClickLabel* tile = m_imgPai[n];
    if (cell.Value != 0) {
        const int picture = cell.Value + m_options.ImageSetBase();
        tile->setPixmap(TilePicture(picture, m_factor));
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
            m_imgPai[n]->setPixmap(TilePicture(value + base, m_factor));
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
    m_chain = {};
    placeLinks();
    for (int n = 1; n <= kCellCount; ++n) {
        const bool noted = std::any_of(m_noteLook[n].begin(), m_noteLook[n].end(),
                                       [](NoteLook l) { return l != NoteLook::None; });
        if (m_hintLook[n] == HintLook::None && !noted) continue;
        m_hintLook[n] = HintLook::None;
        m_noteLook[n].fill(NoteLook::None);
        drawLook(n);
    }
}

void GridView::showChain(const logic::ChainPicture& chain,
                         const std::vector<logic::Elimination>& removals) {
    m_hintShown = true;
    m_chain = chain;
    std::array<bool, kArraySize> touched{};
    // A candidate keeps the first colour the chain gives it: a later branch of a forcing step
    // that meets it again starts from another assumption.
    for (const logic::ChainPicture::Node& node : chain.nodes) {
        node.cells.ForEach([&](int c) {
            for (int d = 1; d <= 9; ++d) {
                NoteLook& look = m_noteLook[c + 1][d];
                if ((node.digits & NoteBit(d)) == 0 || look != NoteLook::None) continue;
                look = node.on ? NoteLook::On : NoteLook::Off;
                touched[c + 1] = true;
            }
        });
    }
    for (const logic::Elimination& e : removals) {
        m_noteLook[e.cell + 1][e.digit] = NoteLook::Removal;
        touched[e.cell + 1] = true;
    }
    for (int n = 1; n <= kCellCount; ++n) {
        if (touched[n]) drawOverlay(n);
    }
    placeLinks();
}

QRectF GridView::noteSlot(QSize size, int digit) const {
    const double inset = 2 * m_factor;
    const double slotWidth = (size.width() - 2 * inset) / 3.0;
    const double slotHeight = (size.height() - 2 * inset) / 3.0;
    return {inset + slotWidth * ((digit - 1) % 3), inset + slotHeight * ((digit - 1) / 3),
            slotWidth, slotHeight};
}

void GridView::placeLinks() {
    if (m_links == nullptr) return;
    const QPoint origin = m_links->geometry().topLeft();
    // A node's place: the middle of its candidates, one for a cell, the group's centre else.
    const auto centre = [&](const logic::ChainPicture::Node& node) {
        QPointF sum;
        int count = 0;
        node.cells.ForEach([&](int c) {
            const QRect cell = m_lblBack[c + 1]->geometry();
            for (int d = 1; d <= 9; ++d) {
                if ((node.digits & NoteBit(d)) == 0) continue;
                sum += noteSlot(cell.size(), d).center() + (cell.topLeft() - origin);
                ++count;
            }
        });
        return count ? sum / count : sum;
    };
    std::vector<ChainOverlay::Segment> segments;
    segments.reserve(m_chain.links.size());
    for (const logic::ChainPicture::Link& l : m_chain.links) {
        segments.push_back({centre(m_chain.nodes[static_cast<std::size_t>(l.from)]),
                            centre(m_chain.nodes[static_cast<std::size_t>(l.to)]), l.strong,
                            l.dynamic});
    }
    const QSize cell = m_lblBack[1]->size();
    m_links->setSegments(std::move(segments), std::min(cell.width(), cell.height()) / 7.0,
                         std::max(1.0, 1.5 * m_factor));
}

int GridView::highlightedDigit() const {
    return m_options.GetExtra(ExtHighlight) == 1 && m_choice != 10 ? m_choice : 0;
}

void GridView::drawOverlay(int n) {
    ClickLabel* back = m_lblBack[n];
    const int digit = m_game.board()[n].Value;
    NoteSet notes = digit == 0 ? m_game.notes()[n] : NoteSet{0};
    // A hint's candidates show where the board has no notes: its chain is read on them.
    NoteSet marked = 0;
    for (int d = 1; d <= 9; ++d) {
        if (m_noteLook[n][d] != NoteLook::None) marked |= NoteBit(d);
    }
    if (digit == 0) notes |= marked;
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
    // Drawn at the screen's resolution: notes stay sharp where a pixel is more than one.
    const double ratio = back->devicePixelRatioF();
    QPixmap overlay(size * ratio);
    overlay.setDevicePixelRatio(ratio);
    overlay.fill(Qt::transparent);
    QPainter painter(&overlay);
    const double f = m_factor;
    if (framed) {
        painter.setPen(QPen(accent, 3 * f));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(2.5 * f, 2.5 * f, size.width() - 5.0 * f, size.height() - 5.0 * f));
    }
    if (notes != 0) {
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPixelSize(size.height() / 4);
        for (int k = 1; k <= 9; ++k) {
            if ((notes & NoteBit(k)) == 0) continue;
            const QRectF slot = noteSlot(size, k);
            const NoteLook look = m_noteLook[n][k];
            const bool strong = k == highlight || look != NoteLook::None;
            QColor pen = k == highlight ? accent : ink;
            if (look != NoteLook::None) {
                const auto [disc, text] = NoteColours(look);
                const double r = std::min(slot.width(), slot.height()) / 2.0;
                painter.setPen(Qt::NoPen);
                painter.setBrush(disc);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.drawEllipse(slot.center(), r, r);
                pen = text;
            }
            font.setBold(strong);
            painter.setFont(font);
            painter.setPen(pen);
            painter.drawText(slot, Qt::AlignCenter, QString::number(k));
        }
    }
    painter.end();
    back->setPixmap(overlay);
}

QPixmap GridView::noteForm(const QPixmap& picture, QSize box) {
    // `box` is in the picture's own pixels; the result keeps its pixel ratio, so that on a
    // scaled screen it shows at the picture's size and not twice as large.
    const double ratio = picture.isNull() ? 1.0 : picture.devicePixelRatio();
    QPixmap result(box);
    result.setDevicePixelRatio(ratio);
    result.fill(Qt::transparent);
    if (picture.isNull()) return result;
    QPixmap small = picture.scaled(picture.size() * kNoteFormScale, Qt::KeepAspectRatio,
                                   Qt::SmoothTransformation);
    small.setDevicePixelRatio(ratio);
    QPainter painter(&result);
    painter.drawPixmap(QPointF((box.width() - small.width()) / 2 / ratio,
                               (box.height() - small.height()) / 2 / ratio),
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
