// SPDX-License-Identifier: MIT
// The main window's kept games: the game in progress written aside after every change and
// when the window closes, and the commands that take a game on offer up again.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFrame>
#include <QMenu>
#include <QTimer>

#include "files/keptgame.h"
#include "game/keeper.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString localName(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

/// How the list names a game: its caption, its moves, the time played and when it was left.
QString entryCaption(const KeptEntry& entry) {
    QString caption = QString::fromStdString(entry.game.caption).trimmed();
    if (caption.isEmpty()) caption = QStringLiteral("[手入力の盤面]");
    QString text = caption + QStringLiteral("　%1手").arg(MovesOf(entry.game));
    if (const std::optional<std::int64_t> e = entry.game.elapsedSeconds) {
        text += QStringLiteral("　%1:%2:%3")
                    .arg(*e / 3600, 2, 10, QLatin1Char('0'))
                    .arg(*e % 3600 / 60, 2, 10, QLatin1Char('0'))
                    .arg(*e % 60, 2, 10, QLatin1Char('0'));
    }
    const QDateTime saved = QDateTime::fromSecsSinceEpoch(entry.savedAt);
    return text + QStringLiteral("　(") + saved.toString(QStringLiteral("M/d HH:mm")) +
           QLatin1Char(')');
}

}  // namespace

void frmMain::setKeptGamePath(const std::filesystem::path& path) {
    m_keeper.reset();
    if (!path.empty()) {
        m_keeper = std::make_unique<GameKeeper>(path, [this](const std::string& error) {
            // Told on the writer's thread; the message box belongs to the window's.
            QMetaObject::invokeMethod(
                this, [this, error] { reportKeepFailure(error); }, Qt::QueuedConnection);
        });
    }
    if (m_keepTimer == nullptr) {
        m_keepTimer = new QTimer(this);
        m_keepTimer->setSingleShot(true);
        m_keepTimer->setInterval(0);
        connect(m_keepTimer, &QTimer::timeout, this, [this] { keepGame(); });
    }
    refreshOffer();
}

void frmMain::refreshOffer() {
    m_mnResume->setEnabled(m_keeper && m_keeper->Newest(m_game.serial()));
}

void frmMain::tellOffer() {
    if (!m_mnResume->isEnabled()) return;
    WarmingMsg(QStringLiteral("前回の続き：ｹﾞｰﾑ → 前回の続きを開く"));
    m_tellingOffer = true;
    // Any click or key, on the grid, the palette or the menus, ends the line.
    QCoreApplication::instance()->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (m_tellingOffer &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
        m_tellingOffer = false;
        QCoreApplication::instance()->removeEventFilter(this);
        m_frmWarming->hide();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::fillRecentMenu() {
    m_mnRecent->clear();
    const std::vector<KeptEntry> entries =
        m_keeper ? m_keeper->Offered(m_game.serial()) : std::vector<KeptEntry>{};
    for (const KeptEntry& entry : entries) {
        QAction* action = m_mnRecent->addAction(entryCaption(entry));
        action->setObjectName(QStringLiteral("mnRecentGame"));
        const std::filesystem::path file = entry.file;
        connect(action, &QAction::triggered, this, [this, file] { resumeFrom(file); });
    }
    if (entries.empty()) {
        m_mnRecent->addAction(QStringLiteral("（続きを開けるｹﾞｰﾑはありません）"))
            ->setEnabled(false);
    }
}

void frmMain::scheduleKeep() {
    if (m_keepTimer == nullptr || m_keepTimer->isActive()) return;
    m_keepTimer->start();
}

KeptGame frmMain::currentGame() const {
    return m_game.Kept(gameNowMs());
}

void frmMain::keepGame() {
    if (!m_keeper) return;
    if (m_keepTimer) m_keepTimer->stop();
    // A finished game leaves the list.
    if (m_keeper->Keep(m_game.serial(), currentGame(), m_game.Complete())) refreshOffer();
}

void frmMain::flushKeptGame() {
    keepGame();
    if (!m_keeper) return;
    m_keeper->Flush();
    // A write that failed is tried once more before the window goes.
    keepGame();
    m_keeper->Flush();
}

void frmMain::reportKeepFailure(const std::string& error) {
    if (m_keepFailureShown || !m_keeper) return;
    // Said once: the player goes on, only without the safety net.
    m_keepFailureShown = true;
    m_port.message(QStringLiteral("ゲームの途中経過を保存できませんでした") + kCrLf +
                       localName(m_keeper->path()) + kCrLf + QString::fromStdString(error),
                   UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
}

void frmMain::mnResume_Click() {
    if (!m_keeper) return;
    if (const std::optional<std::filesystem::path> newest = m_keeper->Newest(m_game.serial()))
        resumeFrom(*newest);
}

void frmMain::resumeFrom(const std::filesystem::path& file) {
    clearHint();
    if (generating() || !m_keeper) return;
    // The game being played goes on the list with its last change; unless the game taken up
    // is the one in the kept-game file, which nothing of this game has reached yet.
    if (file != m_keeper->path()) keepGame();
    KeptGame game;
    std::filesystem::path aside;
    // Resume begins another game: the next number.
    const FileResult read = m_keeper->TakeUp(file, m_game.serial() + 1, game, aside);
    if (!read.ok) {
        refreshOffer();
        if (read.error.empty()) return;  // gone since it was listed: nothing to say
        QString text = QStringLiteral("前回の続きを開けませんでした") + kCrLf +
                       QString::fromStdString(read.error);
        if (!aside.empty()) {
            text += kCrLf + QStringLiteral("ﾌｧｲﾙは次の名前で残してあります：") + kCrLf +
                    localName(aside);
        }
        m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
        return;
    }
    m_game.Resume(game, nowMs());
    syncTitle();
    syncUndoMenu();
    refreshOffer();
    keepGame();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // With the clock's time at closing, even with no change since the last write.
    flushKeptGame();
    QMainWindow::closeEvent(event);
}

}  // namespace kz
