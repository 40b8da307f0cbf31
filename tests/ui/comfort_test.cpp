// SPDX-License-Identifier: MIT
// The window's comforts: the clock and its pause agree with the kept game and the
// congratulation, notes by the right button and tiles by the keys only with their option on,
// the start-up line about the kept game, and going back to before a mistake.
#include <QtTest>

#include "files/fileio.h"
#include "game/records.h"
#include "logic/solver.h"
#include "support/uitest.h"
#include "ui/main/playclock.h"

using namespace kz;
using namespace kz::test;

namespace {

QByteArray settingsOf(const WindowEnv& env) {
    QFile f(env.settingsPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ComfortTest : public QObject {
    Q_OBJECT

private slots:
    // Time paused, by the command, the cover's click or minimising, is left out of the kept
    // game while paused, of the clock's line and of the congratulation; without the clock
    // option the window keeps its size and minimising pauses nothing.
    void pauseLeavesTimeOut() {
        WindowEnv env;
        QVERIFY(activate(env.win.get()));
        const QSize plain = env.win->size();
        env.win->showMinimized();
        QVERIFY(!env.win->playClock()->paused());
        env.win->showNormal();
        env.trigger("mnShowClock");
        QCOMPARE(env.win->size(), plain + QSize(0, PlayClock::lineHeight()));
        QVERIFY(settingsOf(env).endsWith(",1,\r\n"));
        env.load(kPuzzle, true);
        env.win->setStartTime(env.port.clock);
        auto advance = [&](int s) { env.port.clock = env.port.clock.addSecs(s); };
        advance(10);
        env.trigger("mnPause");
        QVERIFY(env.child<QWidget>(QStringLiteral("lblPaused"))->isVisible());
        advance(100);
        QCOMPARE(env.win->currentGame().elapsedSeconds, std::optional<std::int64_t>(10));
        QTest::mouseClick(env.child<QWidget>(QStringLiteral("lblPaused")), Qt::LeftButton);
        QVERIFY(!env.win->playClock()->paused());
        QVERIFY(!env.child<QAction>(QStringLiteral("mnPause"))->isChecked());
        advance(5);
        env.win->showMinimized();
        QTRY_VERIFY(env.win->playClock()->paused());
        QVERIFY(env.child<QAction>(QStringLiteral("mnPause"))->isChecked());
        advance(1000);
        env.win->showNormal();
        env.trigger("mnPause");  // unchecks it: the game goes on
        QCOMPARE(env.child<QLabel>(QStringLiteral("lblClock"))->text(),
                 QStringLiteral("経過時間 0:00:15"));
        for (int n = 1; n <= kCellCount; ++n) {
            if (env.win->board()[n].Value == 0) env.place(n, digitAt(kSolution, n));
        }
        QVERIFY2(env.port.lastMessage().endsWith(QStringLiteral("経過時間 00:00:15")),
                 qPrintable(env.port.lastMessage()));
        env.trigger("mnShowClock");
        QCOMPARE(env.win->size(), plain);
    }

    // With the option off the right button and the keys do nothing, as always; on, a right
    // click toggles the selected tile's note (the eraser clears the notes), 1-9 choose the
    // tile, 0 and Delete the eraser, N the note mode; the choice survives a restart.
    void notesByRightButtonAndKeys() {
        for (const bool on : {false, true}) {
            WindowEnv env;
            QVERIFY(activate(env.win.get()));
            if (on) env.trigger("mnEasyNotes");
            QCOMPARE(settingsOf(env).endsWith(",0,1,\r\n"), on);
            QTest::keyClick(env.win.get(), Qt::Key_7);
            QCOMPARE(env.win->selectedTile(), on ? 7 : 1);
            QTest::mouseClick(env.back(5), Qt::RightButton);
            QCOMPARE(env.win->notes()[5], on ? NoteBit(7) : NoteSet(0));
            QTest::mouseClick(env.tile(5), Qt::RightButton);  // a hidden tile: nothing
            QTest::keyClick(env.win.get(), Qt::Key_N);
            QCOMPARE(env.win->noteMode(), on);
            QTest::keyClick(env.win.get(), Qt::Key_Delete);
            QCOMPARE(env.win->selectedTile(), on ? 0 : 1);
            QTest::mouseClick(env.back(5), Qt::RightButton);
            QCOMPARE(env.win->notes()[5], NoteSet(0));
            QCOMPARE(env.win->board()[5].Value, 0);
            QCOMPARE(env.win->history().records().empty(), !on);
            WindowEnv again;
            again.options = std::make_unique<OptionMan>(env.settingsPath().toStdString());
            again.win = std::make_unique<frmMain>(again.port, *again.options);
            QCOMPARE(again.child<QAction>(QStringLiteral("mnEasyNotes"))->isChecked(), on);
        }
    }

    // Finished games are recorded with their time and hints: a new puzzle's first and
    // faster plain times are told after the unchanged congratulation, a slower one and a
    // problem file's are not; 記録 shows them. A file the program cannot read is kept.
    void finishedGamesAreRecorded() {
        WindowEnv env;
        const std::filesystem::path path =
            env.dir.filePath(QStringLiteral("r/records.txt")).toStdString();
        env.win->setRecordsPath(path);
        auto play = [&](bool fromFile, int seconds, bool hint) -> QString {
            if (fromFile) {
                const QString csv = env.dir.filePath(QStringLiteral("p.csv"));
                ValueArray16 values{};
                for (int n = 1; n <= kCellCount; ++n) values[n] = std::int16_t(digitAt(kPuzzle, n));
                QFile f(csv);
                if (!f.open(QIODevice::WriteOnly)) return {};
                f.write(QByteArray::fromStdString(FormatProblem(values)));
                f.close();
                env.port.openAnswers = {csv};
                env.trigger("mnFileRead");
            } else {
                env.port.dialogScripts.push_back(clickThen({"optLevel_1", "cmdOK"}));
                env.port.randoms = {0.25};
                env.trigger("mnNewProblem");
                if (!QTest::qWaitFor([&] { return !env.win->generating(); }, 30000)) return {};
            }
            if (hint) env.trigger("mnHint");
            env.port.clock = env.port.clock.addSecs(seconds);
            const logic::Digits solved =
                logic::UniqueSolution(env.win->game().ProblemDigits()).value();
            for (int n = 1; n <= kCellCount; ++n) {
                if (env.win->board()[n].Value == 0) env.place(n, solved[n - 1]);
            }
            return env.port.lastMessage();
        };
        const QString best = QStringLiteral("\r\n入門の自己ベストです！");
        QVERIFY(play(false, 100, false).endsWith(QStringLiteral("00:01:40") + best));
        QVERIFY(play(false, 200, false).endsWith(QStringLiteral("00:03:20")));
        QVERIFY(play(false, 50, true).endsWith(QStringLiteral("00:00:50")));  // helped
        QVERIFY(play(false, 90, false).endsWith(best));
        QVERIFY(play(true, 30, false).endsWith(QStringLiteral("00:00:30")));
        std::vector<GameRecord> records;
        QVERIFY(!ReadRecords(path, records));
        QCOMPARE(records.size(), std::size_t(5));
        QCOMPARE(records[2].hints, 1);
        QCOMPARE(records[4].level, 0);
        QCOMPARE(Summarise(records, 1).medianPlain, std::optional<std::int64_t>(100));
        QString shown;
        env.port.dialogScripts.push_back([&](QDialog& d) {
            shown = d.findChild<QLabel*>(QStringLiteral("lblRecords"))->text();
            return int(QDialog::Rejected);
        });
        env.trigger("mnRecords");
        QVERIFY2(shown.contains(QStringLiteral("<td>入門</td><td align=right>4</td><td>0:01:30</td>"
                                               "<td>0:01:40</td><td>0:00:50</td><td>0:00:50</td>")),
                 qPrintable(shown));
        {
            QFile damaged(QString::fromStdString(path.string()));
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write("kazarinoset records 9\n");
        }
        play(true, 10, false);
        // The warning first, then the congratulation as ever.
        QVERIFY(env.port.messages.at(env.port.messages.size() - 2)
                    .text.contains(QStringLiteral("記録ﾌｧｲﾙを読めない")));
        QFile kept(QString::fromStdString(path.string()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kazarinoset records 9\n"));
    }

    // The start-up line shows only when a game is on offer, and goes at the first click.
    void startUpLineAboutTheKeptGame() {
        WindowEnv env;
        env.win->tellOffer();
        QVERIFY(!env.win->tellingOffer());
        const std::filesystem::path kept =
            env.dir.filePath(QStringLiteral("k/game.txt")).toStdString();
        env.win->setKeptGamePath(kept);
        env.place(1, 5);
        env.win->flushKeptGame();
        WindowEnv next;
        next.win->setKeptGamePath(kept);
        QVERIFY(activate(next.win.get()));
        next.win->tellOffer();
        auto* panel = next.child<QWidget>(QStringLiteral("frmWarming"));
        QVERIFY(panel->isVisible());
        QVERIFY(next.child<QLabel>(QStringLiteral("lblWarming"))
                    ->text()
                    .contains(QStringLiteral("前回の続きを開く")));
        QTest::mouseClick(next.back(40), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QVERIFY(!next.win->tellingOffer());
    }
};

QTEST_MAIN(ComfortTest)
#include "comfort_test.moc"
