// SPDX-License-Identifier: MIT
// The main window's comforts, each off until chosen so that the window is otherwise as it
// always was: the visible clock and its pause, notes by the right button with the tiles on the
// keys, and going back to before the first mistake.
#include <QAction>
#include <QEvent>
#include <QKeyEvent>

#include "logic/hint.h"
#include "settings/optionman.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/gridview.h"
#include "ui/main/playclock.h"
#include "ui/main/scale.h"
#include "ui/main/uiport.h"
#include "ui/main/verdicts.h"

namespace kz {

void frmMain::applyComfortOptions() {
    if (m_options.GetExtra(ExtShowClock) == 1) {
        m_clock->setShown(true);
        fitWindow();
    }
    if (m_options.GetExtra(ExtEasyNotes) == 1)
        m_grid->setRightClicks(true, [this](int n) { cellRightClick(n); });
    m_scale->applyStored();
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
    if (action("mnEasyNotes")->isChecked() && plain && !generating()) {
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
            action("mnNoteMode")->toggle();
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
    syncMenus();
    m_port.message(RewindMessage(steps), UiPort::Buttons::Ok, UiPort::Icon::Information, kAppTitle);
}

}  // namespace kz
