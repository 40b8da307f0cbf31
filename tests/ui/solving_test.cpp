// SPDX-License-Identifier: MIT
// The new-problem, rating and hint commands of the main window, through their menu actions
// with the scripted port; puzzles come from the real generator or a controlled stand-in.
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <bit>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "core/answer.h"
#include "logic/chainpicture.h"
#include "logic/describe.h"
#include "logic/hint.h"
#include "logic/solver.h"
#include "support/uitest.h"
#include "ui/main/apptitle.h"
#include "ui/main/chainoverlay.h"
#include "ui/main/hintpanel.h"

using Look = kz::frmMain::HintLook;
using namespace kz::test;  // the shared boards, colours and port

namespace {

const QString kVerifyHead = QStringLiteral("【問題の完全性：検証結果】\r\n");

struct Env : WindowEnv {
    QList<int> looks(Look look) const {
        QList<int> cells;
        for (int n = 1; n <= kz::kCellCount; ++n) {
            if (win->hintLook(n) == look) cells << n;
        }
        return cells;
    }
    bool anyLook() const { return looks(Look::None).size() != kz::kCellCount; }
    QString title() const { return win->windowTitle(); }
    QString hintText() const { return win->hintPanel() ? win->hintPanel()->text() : QString(); }
    QPushButton* button(const char* name) const {
        return win->hintPanel()->findChild<QPushButton*>(QLatin1String(name));
    }
};

kz::logic::Digits digitsOf(const char* line) {
    kz::logic::Digits d{};
    for (int c = 0; c < 81; ++c) d[c] = static_cast<std::uint8_t>(digitAt(line, c + 1));
    return d;
}

/// A generator that gives nothing until it is cancelled, counting attempts meanwhile.
kz::generate::Result waitForCancel(const kz::generate::Request&, std::mt19937_64&,
                                   const std::atomic<bool>* cancel,
                                   const kz::generate::AttemptFn& onAttempt) {
    for (int attempts = 1; !*cancel; ++attempts) {
        if (onAttempt) onAttempt(attempts);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {{}, 0, true};
}

}  // namespace

class SolvingTest : public QObject {
    Q_OBJECT

private slots:
    void menuPlacementAndKeys() {
        Env env;
        QStringList order;
        for (QAction* a : env.child<QMenu>(QStringLiteral("mnGame"))->actions())
            order << (a->isSeparator()
                          ? "-"
                          : a->objectName() + " " + a->text() + " " + a->shortcut().toString());
        QCOMPARE(order, (QStringList{"mnNewProblem 新しい問題を作成(&N)... F2",
                                     "mnResume 前回の続きを開く(&R) ",
                                     "mnRecent 最近のｹﾞｰﾑ(&L) ",
                                     "-",
                                     "mnHint ﾋﾝﾄ(&H) Ctrl+I",
                                     "mnRate 難易度を判定(&J)... Ctrl+R",
                                     "mnRewind 間違える前に戻る(&B) ",
                                     "-",
                                     "mnNoteMode ﾒﾓ入力ﾓｰﾄﾞ(&M) F3",
                                     "mnFillNotes 候補をすべて書き込む(&W) ",
                                     "mnClearNotes ﾒﾓをすべて消す(&C) ",
                                     "-",
                                     "mnTidyNotes ﾒﾓを自動で整理する(&A) ",
                                     "mnHighlight 同じ数字を強調する(&E) ",
                                     "mnEasyNotes 右ｸﾘｯｸとｷｰﾎﾞｰﾄﾞを使う(&Y) ",
                                     "-",
                                     "mnShowClock 時間を表示する(&T) ",
                                     "mnScale 表示倍率(&V) ",
                                     "mnPause 一時停止(&Z) F5",
                                     "mnRecords 記録(&S)... ",
                                     "-",
                                     "mnPrint 印刷(&P)... Ctrl+P",
                                     "mnBooklet 問題集を作成(&K)... "}));
        // The game's menu sits between the tools and the help.
        QStringList menus;
        for (QAction* a : env.win->menuBar()->actions()) menus << a->objectName();
        QCOMPARE(menus, (QStringList{"mnFile", "mnEdit", "mnTool", "mnGame", "mnHelp"}));
        // No two shown items of one menu share an access key, no two actions a shortcut.
        QSet<QKeySequence> shortcuts;
        std::function<void(QMenu*)> walk = [&](QMenu* menu) {
            QSet<QChar> keys;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator() || !a->isVisible()) continue;
                const QChar key = a->text().at(a->text().indexOf('&') + 1).toUpper();
                QVERIFY2(!keys.contains(key), qPrintable(a->text()));
                keys.insert(key);
                QVERIFY2(!shortcuts.contains(a->shortcut()) || a->shortcut().isEmpty(),
                         qPrintable(a->text()));
                shortcuts.insert(a->shortcut());
                if (a->menu()) walk(a->menu());
            }
        };
        QMenu bar;  // the menu bar's own menus, as one menu of access keys
        for (QAction* a : env.win->menuBar()->actions()) bar.addAction(a);
        walk(&bar);
        QCOMPARE(shortcuts.size(), 15);  // fourteen shortcuts and the empty one
    }

    void newProblemFromTheGenerator() {
        Env env;
        env.place(3, 7);  // a game in progress, replaced by the new problem
        env.port.dialogScripts.push_back(clickThen({"optLevel_1", "optSymmetry_3", "cmdOK"}));
        env.port.randoms = {0.4321};
        env.trigger("mnNewProblem");
        QTRY_VERIFY_WITH_TIMEOUT(!env.win->generating(), 30000);
        QVERIFY2(env.port.messages.isEmpty(), qPrintable(env.port.lastMessage()));
        kz::logic::Digits givens{};
        for (int n = 1; n <= kz::kCellCount; ++n) {
            const kz::CellData& c = env.win->board()[n];
            QCOMPARE(c.Problem, c.Value != 0);
            givens[n - 1] = c.Value;
            const int mirror = n + 8 - 2 * ((n - 1) % 9);  // left-right
            QCOMPARE(c.Value != 0, env.win->board()[mirror].Value != 0);
        }
        QCOMPARE(kz::logic::Rate(givens).level, 1);
        QCOMPARE(env.title(), kz::kAppTitle + QStringLiteral(" [新しい問題 入門]"));
        QVERIFY(env.win->history().records().empty());
        QCOMPARE(env.win->startTime(), env.port.clock);
        QFile file(env.settingsPath());  // the choice, after the eleven fields
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("15,14,12,11,0,0,0,0,0,0,0,1,3,\r\n"));
        QCOMPARE(env.port.unexpected, QStringList());
    }

    void newProblemNotMade_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        QTest::newRow("dialog cancelled") << "dialog" << QString();
        QTest::newRow("cancelled while making") << "panel" << QString();
        QTest::newRow("cancelled as the puzzle came") << "late" << QString();
        QTest::newRow("budget spent")
            << "budget"
            << "指定されたﾚﾍﾞﾙの問題を作成できませんでした\r\nもう一度お試しください";
    }

    void newProblemNotMade() {
        QFETCH(QString, how);
        QFETCH(QString, message);
        Env env;
        env.load(kPuzzle, true);
        env.place(1, 6);
        env.win->setWindowTitle(QStringLiteral("a.csv"));
        const kz::Board board = env.win->board();
        env.win->setGenerateFunction(waitForCancel);
        if (how == "budget")
            env.win->setGenerateFunction([](auto&&...) {
                return kz::generate::Result{{}, 50, false};
            });
        if (how == "late")  // the last attempt succeeds as the cancel comes: it is dropped
            env.win->setGenerateFunction([](auto&&... args) {
                kz::generate::Result result = waitForCancel(args...);
                result.puzzle = kz::generate::Puzzle{};
                result.cancelled = false;
                return result;
            });
        env.port.dialogScripts.push_back(clickThen({how == "dialog" ? "cmdCancel" : "cmdOK"}));
        if (how != "dialog") env.port.randoms = {0.5};
        QVERIFY(activate(env.win.get()));
        env.trigger("mnNewProblem");
        if (how == "panel" || how == "late") {
            env.place(2, 5);  // clicks and commands do nothing meanwhile
            QVERIFY(!env.child<QAction>("mnHint")->isEnabled());
            auto* panel = env.child<QWidget>("frmGenerating");
            QTRY_VERIFY(env.child<QLabel>("lblGenerating")->text().contains("試行"));
            QVERIFY(panel->isVisibleTo(env.win.get()));
            QTest::mouseClick(env.child<QPushButton>("cmdGenCancel"), Qt::LeftButton);
            QTRY_VERIFY(!panel->isVisibleTo(env.win.get()));
        }
        QTRY_VERIFY(!env.win->generating());
        QVERIFY(env.win->board() == board);
        QCOMPARE(env.title(), QStringLiteral("a.csv"));
        QCOMPARE(env.win->history().records().size(), std::size_t(1));
        QVERIFY(env.child<QAction>("mnUNDO_0")->isEnabled());
        QVERIFY(env.child<QAction>("mnHint")->isEnabled());
        QCOMPARE(env.port.lastMessage(), message);
        QCOMPARE(env.port.unexpected, QStringList());
        // The panel's button had the focus; left without one, the menu bar would keep it
        // after the next keyboard menu and plain letters would run its items again.
        QCOMPARE(env.win->focusWidget(), env.win->centralWidget());
    }

    void closingWhileGenerating() {
        std::atomic<bool> sawCancel{false};
        {
            Env env;
            env.win->setGenerateFunction([&](auto&&... args) {
                auto result = waitForCancel(args...);
                sawCancel = true;
                return result;
            });
            env.port.dialogScripts.push_back(clickThen({"cmdOK"}));
            env.port.randoms = {0.1};
            env.trigger("mnNewProblem");
            QVERIFY(env.win->generating());
        }  // the window goes while its worker waits: it must cancel and join
        QVERIFY(sawCancel);
    }

    void cancelRacingTheEnd() {
        // The worker has looked at the flag and posted its puzzle when the cancel comes.
        Env env;
        env.load(kPuzzle, true);
        const kz::Board board = env.win->board();
        std::atomic<bool> returned{false};
        env.win->setGenerateFunction([&](auto&&...) {
            kz::generate::Puzzle puzzle{digitsOf(kSolution), digitsOf(kSolution), {}};
            puzzle.givens[0] = 0;
            returned = true;
            return kz::generate::Result{puzzle, 1, 50, false};
        });
        env.port.dialogScripts.push_back(clickThen({"cmdOK"}));
        env.port.randoms = {0.5};
        env.trigger("mnNewProblem");
        while (!returned) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // no events meanwhile
        env.child<QPushButton>("cmdGenCancel")->click();
        QTRY_VERIFY(!env.win->generating());
        QVERIFY(env.win->board() == board);
        QVERIFY(env.child<QAction>("mnHint")->isEnabled());
        QCOMPARE(env.port.messages.size(), 0);
    }

    void newProblemFails_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        QTest::newRow("out of memory") << "bad_alloc"
                                       << "ﾒﾓﾘが足りない";
        QTest::newRow("exception") << "runtime_error"
                                   << "ｴﾗｰが発生しました（disk on fire）";
        QTest::newRow("anything thrown") << "int"
                                         << "ｴﾗｰが発生しました";
        QTest::newRow("no thread") << "launch"
                                   << "ｽﾚｯﾄﾞを開始できない";
    }

    void newProblemFails() {
        QFETCH(QString, how);
        QFETCH(QString, message);
        Env env;
        env.load(kPuzzle, true);
        env.place(1, 6);
        const kz::Board board = env.win->board();
        env.win->setGenerateFunction([how](auto&&...) -> kz::generate::Result {
            if (how == "bad_alloc") throw std::bad_alloc();
            if (how == "runtime_error") throw std::runtime_error("disk on fire");
            throw 7;
        });
        if (how == "launch")
            env.win->setLaunchFunction([](std::function<void()>) -> std::thread {
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            });
        env.port.dialogScripts.push_back(clickThen({"cmdOK"}));
        env.port.randoms = {0.5};
        env.trigger("mnNewProblem");
        QTRY_VERIFY(!env.win->generating());
        QVERIFY(env.win->board() == board);
        QVERIFY(env.child<QAction>("mnHint")->isEnabled());
        QVERIFY(env.child<QAction>("mnUNDO_0")->isEnabled());
        QCOMPARE(env.port.messages.size(), 1);
        QVERIFY2(env.port.lastMessage().contains(message), qPrintable(env.port.lastMessage()));
        QCOMPARE(env.port.messages.last().icon, kz::UiPort::Icon::Error);
    }

    void rateText() {
        Env env;
        QByteArray oneBlank(kSolution);
        oneBlank[40] = '.';
        env.load(oneBlank.constData(), true);
        env.place(41, 9);  // the player's digit is not part of the problem
        env.trigger("mnRate");
        QCOMPARE(env.port.lastMessage(),
                 QStringLiteral("【難易度の判定結果】\r\nﾚﾍﾞﾙ：入門（1 / 6）\r\n難易度 1.0\r\n"
                                "使った手筋と回数：\r\n　フルハウス　1 回"));
        // Typed in by hand (no givens): every technique of the path with its count.
        env.load(kPuzzle, false);
        env.trigger("mnRate");
        const kz::logic::Rating hard = kz::logic::Rate(digitsOf(kPuzzle));
        const QString text = env.port.lastMessage();
        QVERIFY(text.contains(QStringLiteral("難易度 %1.%2\r\n")
                                  .arg(hard.difficulty / 10)
                                  .arg(hard.difficulty % 10)));
        QCOMPARE(text.count(QStringLiteral(" 回")),
                 int(std::count_if(hard.counts.begin(), hard.counts.end(),
                                   [](int k) { return k > 0; })));
    }

    void refusals_data() {
        QTest::addColumn<QString>("board");
        QTest::addColumn<bool>("givens");
        QTest::addColumn<QString>("message");
        QByteArray clash(kPuzzle);
        clash[0] = clash[1] = '1';
        const QString several = kVerifyHead + "二つ以上の解を持つ不完全な問題です！";
        QTest::newRow("two givens") << "12" << true << several;
        QTest::newRow("empty board") << "" << false << several;
        QTest::newRow("all filled")
            << kSolution << true << kVerifyHead + "空白ﾏｽがないので問題として成立しません";
        QTest::newRow("givens clash")
            << QString(clash) << true
            << kVerifyHead + "既に不整合が存在するので問題として成立しません";
    }

    void refusals() {
        QFETCH(QString, board);
        QFETCH(bool, givens);
        QFETCH(QString, message);
        for (const char* command : {"mnRate", "mnHint"}) {
            Env env;
            env.load(board.toLatin1().leftJustified(81, '.').constData(), givens);
            const kz::Board before = env.win->board();
            env.trigger(command);
            QCOMPARE(env.port.lastMessage(), message);
            QVERIFY(env.win->board() == before && !env.anyLook());
        }
    }

    void hintReportsWrongDigits() {
        Env env;
        env.load(kPuzzle, true);
        const int wrong1 = digitAt(kSolution, 1) % 9 + 1, wrong80 = digitAt(kSolution, 80) % 9 + 1;
        env.place(1, wrong1);
        env.place(2, digitAt(kSolution, 2));
        env.place(80, wrong80);
        const kz::Board board = env.win->board();
        const auto records = env.win->history().records();
        env.trigger("mnHint");
        QCOMPARE(
            env.hintText(),
            QStringLiteral("【ﾋﾝﾄ】\r\n正解と違う数字が置かれています：\r\n1行1列の%1、9行8列の%2")
                .arg(wrong1)
                .arg(wrong80));
        QCOMPARE(env.looks(Look::Wrong), (QList<int>{1, 80}));
        QCOMPARE(env.colour(1), kLightRed);
        QVERIFY(env.win->board() == board && env.win->history().records() == records);
        QTest::mouseClick(env.back(17), Qt::LeftButton);  // the next click, on a given
        QVERIFY(!env.anyLook());
        QCOMPARE(env.colour(1), kWhite);
    }

    void playToTheEndWithHints() {
        // Each hint shows where a digit goes and changes nothing; placing it clears the hint.
        Env env;
        env.load(kPuzzle, true);
        for (int hints = 0; env.port.lastMessage() != QStringLiteral("完成おめでとう！"); ++hints) {
            QVERIFY(hints < 64);
            const kz::Board board = env.win->board();
            const auto records = env.win->history().records();
            env.trigger("mnHint");
            // Where to look first; then each step in full, up to the placement.
            QTest::mouseClick(env.button("cmdHintDetail"), Qt::LeftButton);
            while (env.button("cmdHintNext")->isEnabled())
                QTest::mouseClick(env.button("cmdHintNext"), Qt::LeftButton);
            QVERIFY(env.win->board() == board && env.win->history().records() == records);
            const QList<int> targets = env.looks(Look::Placement);
            QVERIFY2(!targets.isEmpty(), qPrintable(env.hintText()));
            for (int n : targets) {
                QCOMPARE(int(board[n].Value), 0);
                const std::string cell = kz::logic::CellName(n - 1, kz::logic::Lang::Japanese);
                QVERIFY(env.hintText().contains(QString::fromStdString(cell)));
                QVERIFY(env.colour(n) != kWhite);
                env.place(n, digitAt(kSolution, n));
            }
            QVERIFY(!env.anyLook());
        }
    }

    // From stage to stage of a hint the panel keeps its size and the buttons their places,
    // greyed where a stage has no use for them, whatever the length of the text. Esc closes
    // it as 閉じる does, from the panel or the window, but a dialog over the window keeps Esc.
    void hintButtonsStayPutAndEscClosesIt() {
        QFile file(QStringLiteral(KZ_TEST_DATA_DIR "/forum_hardest_1106.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray line;
        do line = file.readLine().left(81);  // a hint of several steps, up to a placement
        while (kz::logic::FindHint(digitsOf(line), digitsOf(line), {}).steps.size() < 3);
        Env env;
        env.load(line.constData(), true);
        env.win->show();
        env.trigger("mnHint");
        kz::HintPanel* panel = env.win->hintPanel();
        const auto places = [&] {
            QList<QRect> rects{panel->geometry()};
            for (const QPushButton* b : panel->findChildren<QPushButton*>())
                rects << QRect(b->mapTo(panel, QPoint()), b->size());
            return rects;
        };
        const QList<QRect> first = places();
        QTest::mouseClick(env.button("cmdHintDetail"), Qt::LeftButton);
        QStringList texts;
        while (!texts.contains(env.hintText())) {
            texts << env.hintText();
            QCOMPARE(places(), first);
            QVERIFY(!env.button("cmdHintDetail")->isEnabled());
            QTest::mouseClick(env.button("cmdHintNext"), Qt::LeftButton);
        }
        QVERIFY2(texts.size() > 2, qPrintable(texts.join('\n')));
        QVERIFY(!env.button("cmdHintNext")->isEnabled());
        auto escapeIn = [](QWidget* w) {
            w->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), w);
            QTest::keyClick(w, Qt::Key_Escape);
        };
        QDialog dialog(env.win.get());
        dialog.show();
        escapeIn(&dialog);
        QVERIFY(dialog.isHidden() && panel->isVisible());
        escapeIn(panel);
        QVERIFY(panel->isHidden() && !env.anyLook());
        env.trigger("mnHint");
        escapeIn(env.win.get());
        QVERIFY(panel->isHidden() && !env.anyLook());
    }

    void chainHintDrawsItsLinksAndCandidates() {
        // A hard board with no notes: the hint's steps up to the placement pass a chain. At
        // that step the links are lines over the grid, solid for "=" and dashed for "-", its
        // start candidate off, the removal in its own colour though the board has no notes;
        // closing the hint takes all of it away.
        QFile file(QStringLiteral(KZ_TEST_DATA_DIR "/forum_hardest_1106.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (int tried = 0; tried < 20 && !file.atEnd(); ++tried) {
            const QByteArray line = file.readLine().left(81);
            const kz::logic::Digits puzzle = digitsOf(line.constData());
            const kz::logic::Hint hint = kz::logic::FindHint(puzzle, puzzle, kz::NoteArray{});
            std::size_t at = 0;
            while (at < hint.steps.size() && (kz::logic::AssumesStart(hint.steps[at].technique) ||
                                              kz::logic::ChainPictureOf(hint.steps[at]).Empty()))
                ++at;
            if (at == hint.steps.size()) continue;
            const kz::logic::Step& step = hint.steps[at];
            Env env;
            env.load(line.constData(), true);
            env.trigger("mnHint");
            QTest::mouseClick(env.button("cmdHintDetail"), Qt::LeftButton);
            for (std::size_t k = 0; k < at; ++k)
                QTest::mouseClick(env.button("cmdHintNext"), Qt::LeftButton);
            auto* links = env.child<kz::ChainOverlay>(QStringLiteral("chainLinks"));
            QVERIFY(links && links->isVisibleTo(env.win.get()));
            int solid = 0, dashed = 0;
            for (const auto& s : links->segments()) (s.strong ? solid : dashed) += 1;
            QCOMPARE(solid,
                     static_cast<int>(std::count(step.chain.begin(), step.chain.end(), '=')));
            QCOMPARE(dashed,
                     static_cast<int>(std::count(step.chain.begin(), step.chain.end(), '-')));
            const kz::logic::ChainPicture chain = kz::logic::ChainPictureOf(step);
            const int start = chain.nodes.front().cells.First() + 1;
            const int digit =
                std::countr_zero(static_cast<unsigned>(chain.nodes.front().digits)) + 1;
            QCOMPARE(env.win->noteLook(start, digit), kz::GridView::NoteLook::Off);
            const kz::logic::Elimination removal = step.eliminations.front();
            QCOMPARE(env.win->noteLook(removal.cell + 1, removal.digit),
                     kz::GridView::NoteLook::Removal);
            QVERIFY(!env.back(removal.cell + 1)->property("pixmap").value<QPixmap>().isNull());
            QTest::mouseClick(env.button("cmdHintClose"), Qt::LeftButton);
            QVERIFY(!links->isVisibleTo(env.win.get()));
            QCOMPARE(env.win->noteLook(start, digit), kz::GridView::NoteLook::None);
            return;
        }
        QFAIL("no board among the first 20 gives an alternating chain before its placement");
    }

    void forcingHintDrawsDynamicLinksApart() {
        // A fact of a forcing step that needs earlier facts besides the link into it is drawn
        // dotted in its own colour, never as a plain strong line.
        const auto dynamicIn = [](const kz::logic::Step& step) {
            int n = 0;
            if (kz::logic::AssumesStart(step.technique)) {
                for (const auto& l : kz::logic::ChainPictureOf(step).links) n += l.dynamic;
            }
            return n;
        };
        QFile file(QStringLiteral(KZ_TEST_DATA_DIR "/magictour_top1465.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (int tried = 0; tried < 40 && !file.atEnd(); ++tried) {
            const QByteArray line = file.readLine().left(81);
            const kz::logic::Digits puzzle = digitsOf(line.constData());
            kz::logic::Path path;
            kz::logic::Rate(puzzle, &path);
            // The board as the path leaves it just before its first forcing step, digits only.
            kz::logic::Digits board = puzzle;
            std::size_t first = 0;
            while (first < path.steps.size() && !dynamicIn(path.steps[first])) {
                for (const auto& p : path.steps[first].placements) board[p.cell] = p.digit;
                ++first;
            }
            if (first == path.steps.size()) continue;
            const kz::logic::Hint hint = kz::logic::FindHint(puzzle, board, kz::NoteArray{});
            std::size_t at = 0;
            while (at < hint.steps.size() && !dynamicIn(hint.steps[at])) ++at;
            if (at == hint.steps.size()) continue;
            Env env;
            env.load(line.constData(), true);
            for (int c = 0; c < 81; ++c) {
                if (board[c] != puzzle[c]) env.win->SetCell(c + 1, board[c], false, kz::MarkNone);
            }
            env.trigger("mnHint");
            QTest::mouseClick(env.button("cmdHintDetail"), Qt::LeftButton);
            for (std::size_t k = 0; k < at; ++k)
                QTest::mouseClick(env.button("cmdHintNext"), Qt::LeftButton);
            auto* links = env.child<kz::ChainOverlay>(QStringLiteral("chainLinks"));
            QVERIFY(links && links->isVisibleTo(env.win.get()));
            int dynamic = 0;
            for (const auto& s : links->segments()) dynamic += s.dynamic;
            QCOMPARE(dynamic, dynamicIn(hint.steps[at]));
            // Drawn in a colour no plain link has.
            const QImage image = links->grab().toImage();
            bool orange = false;
            for (int y = 0; y < image.height() && !orange; ++y) {
                for (int x = 0; x < image.width() && !orange; ++x) {
                    const QColor c = image.pixelColor(x, y);
                    orange = c.alpha() > 200 && c.red() > 200 && c.green() > 80 &&
                             c.green() < 140 && c.blue() < 40;
                }
            }
            QVERIFY(orange);
            return;
        }
        QFAIL("no board among the first 40 gives a forcing step with a dynamic link");
    }
};

QTEST_MAIN(SolvingTest)
#include "solving_test.moc"
