// SPDX-License-Identifier: MIT
// The main window's notes: the note mode and its commands, and the small tile form the palette
// and pointers take in the mode.
#include <QAction>
#include <QFont>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "resources/pictures.h"
#include "settings/optionman.h"
#include "ui/main/clicklabel.h"
#include "ui/main/frmmain.h"
#include "ui/main/gridview.h"
#include "ui/main/uiport.h"

namespace kz {

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
    m_mnHighlight = addAction(addict, "mnHighlight", QStringLiteral("同じ数字を強調する(&E)"));
    m_mnHighlight->setCheckable(true);
    m_mnEasyNotes = addAction(addict, "mnEasyNotes", QStringLiteral("右ｸﾘｯｸとｷｰﾎﾞｰﾄﾞを使う(&Y)"));
    m_mnEasyNotes->setCheckable(true);
    connect(m_mnEasyNotes, &QAction::toggled, this, [this](bool on) { mnEasyNotes_Click(on); });
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
    m_grid->setChoice(m_selectedTile == 0 ? 10 : m_selectedTile);
}

// ---- Drawing ----

void frmMain::SetNotes(int n, NoteSet notes) {
    m_game.SetNotes(n, notes);
}

void frmMain::applyTileForms() {
    const int base = m_options.ImageSetBase();
    for (int k = 1; k <= 10; ++k) {
        const QPixmap picture = TilePicture(base + k);
        m_imgCheckPai[k]->setPixmap(m_noteMode ? GridView::noteForm(picture, picture.size())
                                               : picture);
    }
    m_grid->setNoteMode(m_noteMode);
}

}  // namespace kz
