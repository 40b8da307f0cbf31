// SPDX-License-Identifier: MIT
// The main window's kept game: the game in progress written aside after every change and
// when the window closes, the puzzle it came from, and the command that takes it up again.
#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QTimer>
#include <algorithm>

#include "files/keptgame.h"
#include "files/keptwriter.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString localName(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

bool isEmptyGame(const KeptGame& game) {
    if (!game.history.undo.empty() || !game.history.redo.empty()) return false;
    for (int n = 1; n <= kCellCount; ++n) {
        if (game.board[n].Value != 0 || game.notes[n] != 0) return false;
    }
    return true;
}

}  // namespace

void frmMain::setKeptGamePath(const std::filesystem::path& path) {
    m_keptPath = path;
    m_keptWriter.reset();
    if (!path.empty()) {
        m_keptWriter = std::make_unique<KeptGameWriter>(path, [this](const std::string& error) {
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
    std::error_code ec;
    m_resumeOffered = !path.empty() && std::filesystem::exists(path, ec);
    m_mnResume->setEnabled(m_resumeOffered);
    // What the board shows now is what "nothing changed" means.
    m_lastKept = currentGame();
}

void frmMain::scheduleKeep() {
    // The game found at start-up stays on offer until the player changes something.
    if (m_keepTimer == nullptr || m_keepTimer->isActive()) return;
    m_keepTimer->start();
}

KeptGame frmMain::currentGame() const {
    KeptGame game;
    if (m_puzzle) std::copy(m_puzzle->begin(), m_puzzle->end(), game.puzzle.emplace().begin());
    game.board = m_board;
    game.notes = m_notes;
    game.history = m_history.snapshot();
    if (m_startTime.isValid()) {
        game.elapsedSeconds = std::max<qint64>(0, m_startTime.secsTo(m_port.now()));
    }
    const QString title = windowTitle();
    if (title.startsWith(kAppTitle)) game.caption = title.mid(kAppTitle.size()).toStdString();
    return game;
}

void frmMain::keepGame() {
    if (m_keptPath.empty()) return;
    if (m_keepTimer) m_keepTimer->stop();
    const KeptGame game = currentGame();
    KeptGame unclocked = game;
    unclocked.elapsedSeconds = m_lastKept.elapsedSeconds;
    // A command that changed nothing (a check of an empty board) must not take the offer of
    // the game found at start-up away; the clock alone is news only for this session's game.
    if (unclocked == m_lastKept && (m_resumeOffered || game == m_lastKept)) return;
    m_resumeOffered = false;
    m_mnResume->setEnabled(false);
    m_lastKept = game;
    // Nothing to take up again: no file (an empty text) rather than an empty board on offer.
    m_keptWriter->Submit(isEmptyGame(game) ? std::string() : FormatKeptGame(game));
}

void frmMain::flushKeptGame() {
    keepGame();
    if (m_keptWriter) m_keptWriter->Flush();
}

void frmMain::reportKeepFailure(const std::string& error) {
    if (m_keepFailureShown) return;
    // Said once: the player goes on, only without the safety net.
    m_keepFailureShown = true;
    m_port.message(QStringLiteral("ゲームの途中経過を保存できませんでした") + kCrLf +
                       localName(m_keptPath) + kCrLf + QString::fromStdString(error),
                   UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
}

void frmMain::mnResume_Click() {
    clearHint();
    if (generating() || m_keptPath.empty()) return;
    // A write of this session still on its way would be read half done otherwise.
    m_keptWriter->Flush();
    KeptGame game;
    const FileResult read = ReadKeptGame(m_keptPath, game);
    if (!read.ok) {
        m_resumeOffered = false;
        m_mnResume->setEnabled(false);
        if (read.error.empty()) return;  // gone since start-up: nothing to say
        const std::filesystem::path aside = SetAsideKeptGame(m_keptPath);
        QString text = QStringLiteral("前回の続きを開けませんでした") + kCrLf +
                       QString::fromStdString(read.error);
        if (!aside.empty()) {
            text += kCrLf + QStringLiteral("ﾌｧｲﾙは次の名前で残してあります：") + kCrLf +
                    localName(aside);
        }
        m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
        return;
    }

    ClearBoard(false);
    for (int n = 1; n <= kCellCount; ++n) {
        const CellData& cell = game.board[n];
        SetCell(n, cell.Value, cell.Problem, cell.Mark);
        SetNotes(n, game.notes[n]);
    }
    m_puzzle.reset();
    if (game.puzzle)
        std::copy(game.puzzle->begin(), game.puzzle->end(), m_puzzle.emplace().begin());
    m_history.restore(game.history);
    syncUndoMenu();
    setWindowTitle(kAppTitle + QString::fromStdString(game.caption));
    // The clock goes on from the time already spent; the time the program was closed does
    // not count.
    m_startTime = game.elapsedSeconds ? m_port.now().addSecs(-*game.elapsedSeconds) : QDateTime();
    m_resumeOffered = false;
    m_mnResume->setEnabled(false);
    keepGame();
}

void frmMain::setKeptPuzzle(const Board& board) {
    logic::Digits puzzle{};
    for (int n = 1; n <= kCellCount; ++n) {
        puzzle[n - 1] = board[n].Problem ? board[n].Value : 0;
    }
    m_puzzle = puzzle;
}

void frmMain::closeEvent(QCloseEvent* event) {
    // With the clock's time at closing, even with no change since the last write.
    flushKeptGame();
    QMainWindow::closeEvent(event);
}

}  // namespace kz
