// SPDX-License-Identifier: MIT
#include "ui/main/keptcommands.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <vector>

#include "game/game.h"
#include "game/keeper.h"
#include "ui/main/apptitle.h"
#include "ui/main/uiport.h"
#include "ui/main/verdicts.h"

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
    if (const std::optional<std::int64_t> e = entry.game.elapsedSeconds)
        text += QStringLiteral("　") + ElapsedText(*e);
    const QDateTime saved = QDateTime::fromSecsSinceEpoch(entry.savedAt);
    return text + QStringLiteral("　(") + saved.toString(QStringLiteral("M/d HH:mm")) +
           QLatin1Char(')');
}

}  // namespace

KeptGameCommands::KeptGameCommands(UiPort& port, Game& game, Hooks hooks)
    : m_port(port), m_game(game), m_hooks(std::move(hooks)), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, [this] { keep(); });
}

KeptGameCommands::~KeptGameCommands() = default;

void KeptGameCommands::setPath(const std::filesystem::path& path) {
    m_keeper.reset();
    if (!path.empty()) {
        m_keeper = std::make_unique<GameKeeper>(path, [this](const std::string& error) {
            // Told on the writer's thread; the message box belongs to the window's.
            QMetaObject::invokeMethod(
                this, [this, error] { reportFailure(error); }, Qt::QueuedConnection);
        });
    }
    refresh();
}

void KeptGameCommands::attachList(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillList(menu); });
}

void KeptGameCommands::refresh() {
    m_offered = m_keeper && m_keeper->Newest(m_game.serial());
    m_hooks.offerChanged();
}

std::optional<std::filesystem::path> KeptGameCommands::newest() const {
    return m_keeper ? m_keeper->Newest(m_game.serial()) : std::nullopt;
}

void KeptGameCommands::fillList(QMenu* menu) {
    menu->clear();
    const std::vector<KeptEntry> entries =
        m_keeper ? m_keeper->Offered(m_game.serial()) : std::vector<KeptEntry>{};
    for (const KeptEntry& entry : entries) {
        QAction* action = menu->addAction(entryCaption(entry));
        action->setObjectName(QStringLiteral("mnRecentGame"));
        const std::filesystem::path file = entry.file;
        connect(action, &QAction::triggered, this, [this, file] { m_hooks.resume(file); });
    }
    if (entries.empty()) {
        menu->addAction(QStringLiteral("（続きを開けるｹﾞｰﾑはありません）"))->setEnabled(false);
    }
}

void KeptGameCommands::schedule() {
    if (!m_timer->isActive()) m_timer->start();
}

KeptGame KeptGameCommands::current() const {
    return m_game.Kept(m_hooks.gameNowMs());
}

void KeptGameCommands::keep() {
    if (!m_keeper) return;
    m_timer->stop();
    // A finished game leaves the list.
    if (m_keeper->Keep(m_game.serial(), current(), m_game.Complete())) refresh();
}

void KeptGameCommands::flush() {
    keep();
    if (!m_keeper) return;
    m_keeper->Flush();
    // A write that failed is tried once more before the window goes.
    keep();
    m_keeper->Flush();
}

void KeptGameCommands::reportFailure(const std::string& error) {
    if (m_failureShown || !m_keeper) return;
    // Said once: the player goes on, only without the safety net.
    m_failureShown = true;
    m_port.message(QStringLiteral("ゲームの途中経過を保存できませんでした") + kCrLf +
                       localName(m_keeper->path()) + kCrLf + QString::fromStdString(error),
                   UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
}

bool KeptGameCommands::takeUp(const std::filesystem::path& file, std::int64_t nowMs) {
    if (!m_keeper) return false;
    // The game being played goes on the list with its last change; unless the game taken up
    // is the one in the kept-game file, which nothing of this game has reached yet.
    if (file != m_keeper->path()) keep();
    KeptGame game;
    std::filesystem::path aside;
    // Resume begins another game: the next number.
    const FileResult read = m_keeper->TakeUp(file, m_game.serial() + 1, game, aside);
    if (!read.ok) {
        refresh();
        if (read.error.empty()) return false;  // gone since it was listed: nothing to say
        QString text = QStringLiteral("前回の続きを開けませんでした") + kCrLf +
                       QString::fromStdString(read.error);
        if (!aside.empty()) {
            text += kCrLf + QStringLiteral("ﾌｧｲﾙは次の名前で残してあります：") + kCrLf +
                    localName(aside);
        }
        m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
        return false;
    }
    m_game.Resume(game, nowMs);
    return true;
}

}  // namespace kz
