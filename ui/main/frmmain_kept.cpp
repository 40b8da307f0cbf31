// SPDX-License-Identifier: MIT
// The main window's kept games: what the window does around the kept-game commands.
#include <QCloseEvent>

#include "ui/main/frmmain.h"
#include "ui/main/keptcommands.h"
#include "ui/main/statuspanel.h"

namespace kz {

void frmMain::setKeptGamePath(const std::filesystem::path& path) {
    m_kept->setPath(path);
}

bool frmMain::gameOnOffer() const {
    return m_kept->offered();
}

void frmMain::tellOffer() {
    if (!action("mnResume")->isEnabled()) return;
    m_status->sayUntilInput(QStringLiteral("前回の続き：ｹﾞｰﾑ → 前回の続きを開く"));
    repaint();
}

bool frmMain::tellingOffer() const {
    return m_status->waitingForInput();
}

KeptGame frmMain::currentGame() const {
    return m_kept->current();
}

void frmMain::keepGame() {
    m_kept->keep();
}

void frmMain::flushKeptGame() {
    m_kept->flush();
}

void frmMain::mnResume_Click() {
    if (const std::optional<std::filesystem::path> newest = m_kept->newest()) resumeFrom(*newest);
}

void frmMain::resumeFrom(const std::filesystem::path& file) {
    clearHint();
    if (generating() || !m_kept->takeUp(file, nowMs())) return;
    boardReplaced();
    m_kept->keep();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // With the clock's time at closing, even with no change since the last write.
    flushKeptGame();
    QMainWindow::closeEvent(event);
}

}  // namespace kz
