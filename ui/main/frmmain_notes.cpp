// SPDX-License-Identifier: MIT
// The main window's notes: the note mode and its commands, drawing notes and the same-digit
// highlight over the cells, and the small tile form the palette and pointers take in the mode.
#include <QAction>
#include <QFont>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "resources/pictures.h"
#include "settings/optionman.h"
#include "ui/main/clicklabel.h"
#include "ui/main/frmmain.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

// The note form of a tile: small enough to tell from a placement at a glance, large enough
// to read which tile it is.
constexpr double kNoteFormScale = 0.6;

bool isDark(const QColor& colour) {
    // Perceived brightness (ITU-R BT.601 weights): the 16-colour palette's dark entries get
    // light notes, the rest dark ones.
    return 299 * colour.red() + 587 * colour.green() + 114 * colour.blue() < 128 * 1000;
}

QPixmap smallForm(const QPixmap& picture, QSize box) {
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

}  // namespace

void frmMain::buildNoteMenu(QMenu* addict) {
    QAction* sep = addict->addSeparator();
    sep->setObjectName(QStringLiteral("sepNotes"));
    m_mnNoteMode =
        addAction(addict, "mnNoteMode", QStringLiteral("ﾒﾓ入力ﾓｰﾄﾞ(&M)"), QKeySequence(Qt::Key_F3));
    m_mnNoteMode->setCheckable(true);
    QAction* fill = addAction(addict, "mnFillNotes", QStringLiteral("候補をすべて書き込む(&W)"));
    QAction* clear = addAction(addict, "mnClearNotes", QStringLiteral("ﾒﾓをすべて消す(&C)"));
    QAction* sep2 = addict->addSeparator();
    sep2->setObjectName(QStringLiteral("sepNoteOptions"));
    m_mnTidyNotes = addAction(addict, "mnTidyNotes", QStringLiteral("ﾒﾓを自動で整理する(&A)"));
    m_mnTidyNotes->setCheckable(true);
    m_mnHighlight = addAction(addict, "mnHighlight", QStringLiteral("同じ数字を強調する(&S)"));
    m_mnHighlight->setCheckable(true);
    // toggled, not triggered: a test or a script that sets the check runs the command too.
    connect(m_mnNoteMode, &QAction::toggled, this, [this](bool on) { mnNoteMode_Click(on); });
    connect(fill, &QAction::triggered, this, [this] { mnFillNotes_Click(); });
    connect(clear, &QAction::triggered, this, [this] { mnClearNotes_Click(); });
    connect(m_mnTidyNotes, &QAction::toggled, this, [this](bool on) { mnTidyNotes_Click(on); });
    connect(m_mnHighlight, &QAction::toggled, this, [this](bool on) { mnHighlight_Click(on); });
}

// ---- Commands ----

void frmMain::mnNoteMode_Click(bool on) {
    clearHint();
    if (m_noteMode == on) return;
    m_noteMode = on;
    if (m_mnNoteMode->isChecked() != on) m_mnNoteMode->setChecked(on);
    applyTileForms();
}

void frmMain::mnFillNotes_Click() {
    clearHint();
    if (generating()) return;
    m_game.FillNotes();
}

void frmMain::mnClearNotes_Click() {
    clearHint();
    if (generating()) return;
    m_game.ClearNotes();
}

void frmMain::mnTidyNotes_Click(bool on) {
    if (m_mnTidyNotes->isChecked() != on) m_mnTidyNotes->setChecked(on);
    m_options.SetExtra(ExtTidyNotes, on ? 1 : 0);
    // A failed write only loses the choice for the next run.
    (void)m_options.SaveOptions();
}

void frmMain::mnHighlight_Click(bool on) {
    if (m_mnHighlight->isChecked() != on) m_mnHighlight->setChecked(on);
    m_options.SetExtra(ExtHighlight, on ? 1 : 0);
    (void)m_options.SaveOptions();
    for (int n = 1; n <= kCellCount; ++n) applyCellOverlay(n);
}

// ---- Drawing ----

void frmMain::SetNotes(int n, NoteSet notes) {
    m_game.SetNotes(n, notes);
}

int frmMain::highlightedDigit() const {
    return m_options.GetExtra(ExtHighlight) == 1 ? m_selectedTile : 0;
}

void frmMain::applyCellOverlay(int n) {
    ClickLabel* back = m_lblBack[n];
    const int digit = board()[n].Value;
    const NoteSet notes = digit == 0 ? this->notes()[n] : NoteSet{0};
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

QCursor frmMain::cellCursor(int picture) const {
    const QCursor normal = TileCursor(picture);
    if (!m_noteMode) return normal;
    const QPixmap full = normal.pixmap();
    if (full.isNull()) return normal;
    // The hot spot stays where the full pointer has it, so a click lands where it did.
    return QCursor(smallForm(full, full.size()), normal.hotSpot().x(), normal.hotSpot().y());
}

void frmMain::applyTileForms() {
    const int base = m_options.ImageSetBase();
    for (int k = 1; k <= 10; ++k) {
        const QPixmap picture = TilePicture(base + k);
        m_imgCheckPai[k]->setPixmap(m_noteMode ? smallForm(picture, picture.size()) : picture);
    }
    for (int n = 1; n <= kCellCount; ++n) {
        if (board()[n].Problem) continue;
        const QCursor cursor = cellCursor(m_cellCursor[n]);
        m_lblBack[n]->setCursor(cursor);
        m_imgPai[n]->setCursor(cursor);
    }
}

}  // namespace kz
