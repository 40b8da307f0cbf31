// SPDX-License-Identifier: MIT
// The main window's comforts, each off until chosen so that the window is otherwise as it
// always was: the visible clock and its pause, notes by the right button with the tiles on the
// keys, and going back to before the first mistake.
#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include "logic/hint.h"
#include "settings/optionman.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/gridview.h"
#include "ui/main/playclock.h"
#include "ui/main/uiport.h"

namespace kz {

void frmMain::buildComfortMenu(QMenu* game) {
    QAction* sep = game->addSeparator();
    sep->setObjectName(QStringLiteral("sepClock"));
    m_mnShowClock = addAction(game, "mnShowClock", QStringLiteral("時間を表示する(&T)"));
    m_mnShowClock->setCheckable(true);
    m_mnPause =
        addAction(game, "mnPause", QStringLiteral("一時停止(&Z)"), QKeySequence(Qt::Key_F5));
    m_mnPause->setCheckable(true);
    QAction* records = addAction(game, "mnRecords", QStringLiteral("記録(&S)..."));
    connect(records, &QAction::triggered, this, [this] { mnRecords_Click(); });
    connect(m_mnShowClock, &QAction::toggled, this, [this](bool on) { mnShowClock_Click(on); });
    connect(m_mnPause, &QAction::toggled, this, [this](bool on) { mnPause_Click(on); });
    connect(m_mnRewind, &QAction::triggered, this, [this] { mnRewind_Click(); });
}

void frmMain::applyComfortOptions() {
    const QSignalBlocker clock(m_mnShowClock);
    const QSignalBlocker notes(m_mnEasyNotes);
    const bool showClock = m_options.GetExtra(ExtShowClock) == 1;
    const bool easyNotes = m_options.GetExtra(ExtEasyNotes) == 1;
    m_mnShowClock->setChecked(showClock);
    m_mnEasyNotes->setChecked(easyNotes);
    if (showClock) {
        m_clock->setShown(true);
        fitWindow();
    }
    if (easyNotes) m_grid->setRightClicks(true, [this](int n) { cellRightClick(n); });
}

std::int64_t frmMain::gameNowMs() const {
    return m_clock->gameNow();
}

void frmMain::mnShowClock_Click(bool on) {
    m_clock->setShown(on);
    fitWindow();
    m_options.SetExtra(ExtShowClock, on ? 1 : 0);
    m_options.SaveOptions();
}

void frmMain::mnPause_Click(bool on) {
    clearHint();
    if (on) {
        m_clock->pause();
    } else {
        m_clock->resume();
    }
}

void frmMain::mnEasyNotes_Click(bool on) {
    if (on) {
        m_grid->setRightClicks(true, [this](int n) { cellRightClick(n); });
    } else {
        m_grid->setRightClicks(false, {});
    }
    m_options.SetExtra(ExtEasyNotes, on ? 1 : 0);
    m_options.SaveOptions();
}

void frmMain::cellRightClick(int n) {
    clearHint();
    if (generating() || m_clock->paused()) return;
    // The selected tile's note, whatever the mode: the eraser clears the cell's notes.
    afterStep(m_game.Click(n, m_selectedTile, true));
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (m_mnEasyNotes->isChecked() && plain && !generating()) {
        const int key = event->key();
        if (key >= Qt::Key_1 && key <= Qt::Key_9) {
            imgCheckPai_Click(key - Qt::Key_0);
            return;
        }
        if (key == Qt::Key_0 || key == Qt::Key_Delete) {
            imgCheckPai_Click(10);
            return;
        }
        if (key == Qt::Key_N) {
            m_mnNoteMode->setChecked(!m_mnNoteMode->isChecked());
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void frmMain::changeEvent(QEvent* event) {
    // A player who minimises the window is away: a shown clock stops with the board hidden.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_clock->shown()) {
        m_clock->pause();
    }
    QMainWindow::changeEvent(event);
}

void frmMain::mnRewind_Click() {
    const std::optional<logic::Digits> puzzle = acceptedProblem();
    if (!puzzle) return;
    const logic::Hint hint = logic::FindHint(*puzzle, m_game.Digits(), notes());
    std::optional<int> steps;
    if (hint.kind == logic::HintKind::Wrong || hint.kind == logic::HintKind::Missing) {
        steps = m_game.RewindToSound(hint.solution);
    } else {
        steps = 0;
    }
    syncUndoMenu();
    QString text;
    if (!steps) {
        text = QStringLiteral("間違いのない時点まで戻れません（記録に残っていません）。");
    } else if (*steps == 0) {
        text = QStringLiteral("盤面に間違いはありません。");
    } else {
        text = QStringLiteral("%1手戻しました。「やり直す」で元に戻せます。").arg(*steps);
    }
    m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::Information, kAppTitle);
}

}  // namespace kz
