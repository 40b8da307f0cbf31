// SPDX-License-Identifier: MIT
// The kept puzzle and the kept game in the window: the hint and the rating keep to the puzzle
// the game came from, a game written aside comes back whole, and a damaged or unwritable
// kept game costs the player nothing.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "files/fileio.h"
#include "files/keptgame.h"
#include "support/uitest.h"
#include "ui/main/apptitle.h"
#include "ui/main/hintpanel.h"

using namespace kz;
using namespace kz::test;

namespace {

// A window whose game is kept in the scratch directory.
struct Env : WindowEnv {
    Env() { win->setKeptGamePath(keptPath()); }
    std::filesystem::path keptPath() const {
        return dir.filePath(QStringLiteral("state/game.txt")).toStdString();
    }
    void read(const char* line) {
        const QString path = dir.filePath(QStringLiteral("p.csv"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        ValueArray16 values{};
        for (int n = 1; n <= kCellCount; ++n)
            values[n] = static_cast<std::int16_t>(digitAt(line, n));
        f.write(QByteArray::fromStdString(FormatProblem(values)));
        f.close();
        port.openAnswers = {path};
        trigger("mnFileRead");
    }
    bool offered() const { return child<QAction>(QStringLiteral("mnResume"))->isEnabled(); }
};

}  // namespace

class KeptTest : public QObject {
    Q_OBJECT

private slots:
    // A wrong digit on a board whose givens were made editable, or that was saved half way,
    // is named as wrong, and the rating stays the puzzle's.
    void hintAndRatingKeepThePuzzle_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("editable givens") << "mnAllInp";
        QTest::newRow("saved half way") << "mnSave_0";
    }
    void hintAndRatingKeepThePuzzle() {
        QFETCH(QString, command);
        Env env;
        env.read(kPuzzle);
        env.trigger("mnRate");
        const QString rating = env.port.lastMessage();
        const int wrong = digitAt(kSolution, 1) % 9 + 1;
        env.place(1, wrong);
        env.place(2, digitAt(kSolution, 2));
        env.port.saveAnswers = {env.dir.filePath(QStringLiteral("half.csv"))};
        env.trigger(command.toLatin1().constData());
        env.trigger("mnRate");
        QCOMPARE(env.port.lastMessage(), rating);
        env.trigger("mnHint");
        const QString hint = env.win->hintPanel()->text();
        QVERIFY2(hint.contains(QStringLiteral("1行1列の%1").arg(wrong)), qPrintable(hint));
        QVERIFY(env.port.unexpected.isEmpty());
    }

    // Played, closed, and taken up again in a new window: board, notes, undo and redo,
    // caption, kept puzzle and the clock's time spent.
    void resumeWholeGame() {
        KeptGame kept;
        QString title;
        std::filesystem::path path;
        QTemporaryDir keep;
        {
            Env env;
            path = keep.filePath(QStringLiteral("game.txt")).toStdString();
            env.win->setKeptGamePath(path);
            QVERIFY(!env.offered());
            env.read(kPuzzle);
            env.place(1, digitAt(kSolution, 1));
            env.trigger("mnSetBreake");
            env.trigger("mnFillNotes");
            env.place(2, digitAt(kSolution, 2));
            env.trigger("mnUNDO_0");  // something to redo
            env.port.clock = env.port.clock.addSecs(95);
            env.win->close();
            kept = env.win->currentGame();
            title = env.win->windowTitle();
        }
        KeptGame read;
        QVERIFY(ReadKeptGame(path, read).ok);
        QVERIFY(read == kept);
        QCOMPARE(kept.elapsedSeconds, std::optional<std::int64_t>(95));

        Env env;
        env.win->setKeptGamePath(path);
        QVERIFY(env.offered());
        env.port.clock = env.port.clock.addSecs(3600);  // closed for an hour: not counted
        env.trigger("mnResume");
        QVERIFY(!env.offered());
        QVERIFY(env.win->currentGame() == kept);
        QCOMPARE(env.win->windowTitle(), title);
        env.trigger("mnRedo");
        QCOMPARE(env.win->board()[2].Value, std::uint8_t(digitAt(kSolution, 2)));
        env.trigger("mnUNDO_0");
        env.trigger("mnUNDO_1");
        QCOMPARE(env.win->notes(), NoteArray{});
        QVERIFY(env.port.unexpected.isEmpty());
    }

    // The offer survives a command that changes nothing; a damaged game is refused, kept
    // under another name, and the board stays; an unwritable folder is said once.
    void damagedAndUnwritable() {
        QTemporaryDir keep;
        const std::filesystem::path path = keep.filePath(QStringLiteral("game.txt")).toStdString();
        QFile damaged(QString::fromStdString(path.string()));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("kazarinoset-game 1\ndigits 12");
        damaged.close();
        Env env;
        env.win->setKeptGamePath(path);
        env.trigger("mnCheck");  // an empty board: nothing changes
        QVERIFY(env.offered());
        env.place(5, 5);
        QCoreApplication::processEvents();  // the write follows the click
        QVERIFY(!env.offered());
        // Offered again by a new window over the same damaged file.
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("kazarinoset-game 1\ndigits 12");
        damaged.close();
        Env again;
        again.win->setKeptGamePath(path);
        again.place(7, 3);
        const Board board = again.win->board();
        again.win->setKeptGamePath(path);  // offered once more, now with a game on the board
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("kazarinoset-game 1\ndigits 12");
        damaged.close();
        again.trigger("mnResume");
        QVERIFY(
            again.port.lastMessage().startsWith(QStringLiteral("前回の続きを開けませんでした")));
        QVERIFY(again.win->board() == board);
        QVERIFY(QDir(keep.path()).entryList({QStringLiteral("game.txt.damaged-*")}).size() == 1);

        Env blocked;
        blocked.win->setKeptGamePath(std::filesystem::path(path) / "below-a-file" / "game.txt");
        QFile(QString::fromStdString(path.string())).open(QIODevice::WriteOnly);
        for (int n : {1, 2}) {
            blocked.place(n, n);
            blocked.win->flushKeptGame();
            QCoreApplication::processEvents();  // the writer's report comes as an event
        }
        QCOMPARE(blocked.port.messages.size(), 1);
        QVERIFY(blocked.port.lastMessage().startsWith(QStringLiteral("ゲームの途中経過を保存")));
    }
};

QTEST_MAIN(KeptTest)
#include "kept_test.moc"
