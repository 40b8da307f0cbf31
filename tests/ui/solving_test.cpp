// SPDX-License-Identifier: MIT
// The new-problem, rating and hint commands of the main window, through their menu actions
// with the scripted port; puzzles come from the real generator or a controlled stand-in.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/answer.h"
#include "logic/describe.h"
#include "logic/solver.h"
#include "settings/optionman.h"
#include "support/uitest.h"
#include "ui/dialogs/frmnewproblem.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"

using kz::frmMain;
using Look = kz::frmMain::HintLook;
using namespace kz::test;  // the shared boards, colours and port

namespace {

const QString kVerifyHead = QStringLiteral("【問題の完全性：検証結果】\r\n");
// A clue-poor board: several solutions.
const char kSeveral[] =
    "...............................................................................12";

struct Env : WindowEnv {
    using WindowEnv::WindowEnv;
    QList<int> looks(Look look) const {
        QList<int> cells;
        for (int n = 1; n <= kz::kCellCount; ++n) {
            if (win->hintLook(n) == look) cells << n;
        }
        return cells;
    }
    bool anyLook() const {
        for (int n = 1; n <= kz::kCellCount; ++n) {
            if (win->hintLook(n) != Look::None) return true;
        }
        return false;
    }
    /// The dialog answered by clicking the named buttons in turn.
    void scriptDialog(QStringList buttons) {
        port.dialogScripts.push_back([buttons](QDialog& d) {
            for (const QString& name : buttons) {
                auto* b = d.findChild<QAbstractButton*>(name);
                if (!b) return -1;
                QTest::mouseClick(b, Qt::LeftButton);
            }
            return d.result();
        });
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
    int attempts = 0;
    while (!*cancel) {
        if (onAttempt) onAttempt(++attempts);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kz::generate::Result result;
    result.cancelled = true;
    result.attempts = attempts;
    return result;
}

}  // namespace

class SolvingTest : public QObject {
    Q_OBJECT

private slots:
    void menuPlacementAndKeys();
    void dialogTradesValues();
    void newProblemFromTheGenerator();
    void newProblemNotMade_data();
    void newProblemNotMade();
    void closingWhileGenerating();
    void rateText();
    void refusals_data();
    void refusals();
    void hintReportsWrongDigits();
    void playToTheEndWithHints();
};

void SolvingTest::menuPlacementAndKeys() {
    Env env;
    auto* addict = env.child<QMenu>(QStringLiteral("mnTyuudoku"));
    QStringList order;
    for (QAction* a : addict->actions()) order << (a->isSeparator() ? "-" : a->objectName());
    QCOMPARE(order, (QStringList{"mnAnalyze", "mnAllInp", "mnCreate", "-", "mnNewProblem", "mnRate",
                                 "mnHint"}));
    const struct {
        const char* name;
        const char* caption;
        QKeySequence keys;
    } items[] = {{"mnNewProblem", "新しい問題を作成(&N)...", QKeySequence(Qt::Key_F2)},
                 {"mnRate", "難易度を判定(&J)...", QKeySequence(Qt::CTRL | Qt::Key_R)},
                 {"mnHint", "ﾋﾝﾄ(&H)", QKeySequence(Qt::CTRL | Qt::Key_I)}};
    for (const auto& item : items) {
        QAction* a = env.child<QAction>(QLatin1String(item.name));
        QCOMPARE(a->text(), QString::fromUtf8(item.caption));
        QCOMPARE(a->shortcut(), item.keys);
    }
    // No two shown items of one menu share an access key, no two actions a shortcut.
    QSet<QKeySequence> shortcuts;
    std::function<void(const QList<QAction*>&, const QString&)> walk;
    walk = [&](const QList<QAction*>& actions, const QString& where) {
        QSet<QChar> keys;
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible()) continue;
            const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0, qPrintable(a->text()));
            const QChar key = a->text().at(amp + 1).toUpper();
            QVERIFY2(!keys.contains(key), qPrintable(where + QStringLiteral(": ") + key));
            keys.insert(key);
            if (!a->shortcut().isEmpty()) {
                QVERIFY2(!shortcuts.contains(a->shortcut()), qPrintable(a->text()));
                shortcuts.insert(a->shortcut());
            }
            if (a->menu()) walk(a->menu()->actions(), a->text());
        }
    };
    walk(env.win->menuBar()->actions(), QStringLiteral("menu bar"));
    QCOMPARE(shortcuts.size(), 10);
}

void SolvingTest::dialogTradesValues() {
    kz::frmNewProblem preset({5, 3});
    QCOMPARE(preset.choice(), (kz::NewProblemChoice{5, 3}));
    QCOMPARE(preset.windowTitle(), QStringLiteral("新しい問題の作成"));
    QCOMPARE(preset.minimumSize(), preset.maximumSize());
    const char* names[] = {"入門", "初級", "中級", "上級", "難問", "超難問"};
    for (int level = 1; level <= 6; ++level) {
        auto* b = preset.findChild<QAbstractButton*>(QStringLiteral("optLevel_%1").arg(level));
        QCOMPARE(b->text(), QString::fromUtf8(names[level - 1]));
        QVERIFY(!preset.findChild<QWidget*>(QStringLiteral("lblLevel_%1").arg(level))
                     ->objectName()
                     .isEmpty());
    }
    // Values a hand-edited file could bring fall back to the defaults.
    kz::frmNewProblem odd({9, -1});
    QCOMPARE(odd.choice(), kz::NewProblemChoice{});
    odd.findChild<QAbstractButton*>(QStringLiteral("optLevel_6"))->click();
    odd.findChild<QAbstractButton*>(QStringLiteral("optSymmetry_4"))->click();
    QCOMPARE(odd.choice(), (kz::NewProblemChoice{6, 4}));
}

void SolvingTest::newProblemFromTheGenerator() {
    Env env;
    env.place(3, 7);  // a game in progress, replaced by the new problem
    env.scriptDialog(
        {QStringLiteral("optLevel_1"), QStringLiteral("optSymmetry_3"), QStringLiteral("cmdOK")});
    env.port.randoms = {0.4321};
    env.trigger("mnNewProblem");
    QCOMPARE(env.port.dialogs, QStringList{QStringLiteral("kz::frmNewProblem")});
    QTRY_VERIFY_WITH_TIMEOUT(!env.win->generating(), 30000);
    QVERIFY2(env.port.messages.isEmpty(), qPrintable(env.port.lastMessage()));

    kz::logic::Digits givens{};
    for (int n = 1; n <= kz::kCellCount; ++n) {
        const kz::CellData& c = env.win->board()[n];
        QCOMPARE(c.Problem, c.Value != 0);
        QCOMPARE(c.Mark, kz::MarkNone);
        givens[n - 1] = c.Value;
        // Left-right mirror: a given's mirror image is a given.
        const int mirror = n - (n - 1) % 9 + (8 - (n - 1) % 9);
        QCOMPARE(c.Value != 0, env.win->board()[mirror].Value != 0);
    }
    const kz::logic::Rating rating = kz::logic::Rate(givens);
    QCOMPARE(rating.verifyCode, int(kz::VerifyUnique));
    QCOMPARE(rating.level, 1);
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [新しい問題 入門]"));
    QVERIFY(env.win->history().records().empty());
    QVERIFY(!env.child<QAction>(QStringLiteral("mnUNDO_0"))->isEnabled());
    QCOMPARE(env.win->startTime(), env.port.clock);
    // The choice is remembered after the eleven fields.
    QFile file(env.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("15,14,12,11,0,0,0,0,0,0,0,1,3,\r\n"));
    QVERIFY(env.port.unexpected.isEmpty());
}

void SolvingTest::newProblemNotMade_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message");
    QTest::newRow("dialog cancelled") << "dialog" << QString();
    QTest::newRow("cancelled while making") << "panel" << QString();
    QTest::newRow("budget spent")
        << "budget"
        << QStringLiteral("指定されたﾚﾍﾞﾙの問題を作成できませんでした\r\nもう一度お試しください");
}

void SolvingTest::newProblemNotMade() {
    QFETCH(QString, how);
    QFETCH(QString, message);
    Env env;
    env.load(kPuzzle, true);
    env.place(1, 6);
    env.win->setWindowTitle(kz::kAppTitle + QStringLiteral(" [a.csv]"));
    const kz::Board board = env.win->board();
    const QDateTime started = env.win->startTime();
    if (how == "budget") {
        env.win->setGenerateFunction([](auto&&...) { return kz::generate::Result{{}, 50, false}; });
    } else {
        env.win->setGenerateFunction(waitForCancel);
    }
    env.scriptDialog({how == "dialog" ? QStringLiteral("cmdCancel") : QStringLiteral("cmdOK")});
    if (how != "dialog") env.port.randoms = {0.5};
    env.trigger("mnNewProblem");

    if (how == "panel") {
        QVERIFY(env.win->generating());
        // While it runs, clicks and commands do nothing.
        env.place(2, 5);
        QVERIFY(!env.child<QAction>(QStringLiteral("mnHint"))->isEnabled());
        auto* panel = env.child<QWidget>(QStringLiteral("frmGenerating"));
        QTRY_VERIFY(panel->isVisibleTo(env.win.get()));
        QTRY_VERIFY(env.child<QLabel>(QStringLiteral("lblGenerating"))->text().contains("試行"));
        QTest::mouseClick(env.child<QPushButton>(QStringLiteral("cmdGenCancel")), Qt::LeftButton);
        QTRY_VERIFY(!env.win->generating());
        QVERIFY(!panel->isVisibleTo(env.win.get()));
    }
    QTRY_VERIFY(!env.win->generating());
    QVERIFY(env.win->board() == board);
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [a.csv]"));
    QCOMPARE(env.win->startTime(), started);
    QCOMPARE(env.win->history().records().size(), std::size_t(1));
    QVERIFY(env.child<QAction>(QStringLiteral("mnUNDO_0"))->isEnabled());
    QVERIFY(env.child<QAction>(QStringLiteral("mnHint"))->isEnabled());
    QCOMPARE(env.port.lastMessage(), message);
    QVERIFY(env.port.unexpected.isEmpty());
}

void SolvingTest::closingWhileGenerating() {
    std::atomic<bool> sawCancel{false};
    {
        Env env;
        env.win->setGenerateFunction(
            [&](const auto& request, auto& random, auto cancel, const auto& onAttempt) {
                auto r = waitForCancel(request, random, cancel, onAttempt);
                sawCancel = true;
                return r;
            });
        env.scriptDialog({QStringLiteral("cmdOK")});
        env.port.randoms = {0.1};
        env.trigger("mnNewProblem");
        QVERIFY(env.win->generating());
    }  // the window goes while its worker waits: it must cancel and join
    QVERIFY(sawCancel);
}

void SolvingTest::rateText() {
    // The solution with one blank: a single full house.
    Env env;
    QByteArray oneBlank(kSolution);
    oneBlank[40] = '.';
    env.load(oneBlank.constData(), true);
    env.place(41, 9);  // the player's digit does not change what is rated
    env.trigger("mnRate");
    const kz::logic::Rating one = kz::logic::Rate(digitsOf(oneBlank.constData()));
    QCOMPARE(env.port.lastMessage(),
             QStringLiteral("【難易度の判定結果】\r\nﾚﾍﾞﾙ：入門（1 / 6）\r\nｽｺｱ：%1\r\n"
                            "使う解き方と回数：\r\n　フルハウス　1 回")
                 .arg(one.score));

    // A hard board typed in by hand (no givens): every technique of its path with its count.
    env.load(kPuzzle, false);
    env.trigger("mnRate");
    const kz::logic::Rating hard = kz::logic::Rate(digitsOf(kPuzzle));
    const QString text = env.port.lastMessage();
    QVERIFY(text.contains(QString::fromUtf8(kz::logic::LevelName(hard.level).data())));
    QVERIFY(text.contains(QStringLiteral("ｽｺｱ：%1\r\n").arg(hard.score)));
    int listed = 0;
    for (int t = 0; t < kz::logic::kTechniqueCount; ++t) {
        if (hard.counts[t] == 0) continue;
        ++listed;
        const auto name = kz::logic::Info(static_cast<kz::logic::Technique>(t)).japanese;
        QVERIFY(text.contains(QString::fromUtf8(name.data(), name.size()) +
                              QStringLiteral("　%1 回").arg(hard.counts[t])));
    }
    QCOMPARE(text.count(QStringLiteral(" 回")), listed);
    QVERIFY(env.port.unexpected.isEmpty());
}

void SolvingTest::refusals_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("board");
    QTest::addColumn<bool>("givens");
    QTest::addColumn<QString>("message");
    QByteArray clash(kPuzzle);
    clash[0] = '1';
    clash[1] = '1';
    for (const char* command : {"mnRate", "mnHint"}) {
        const QString c = QLatin1String(command);
        QTest::newRow(qPrintable(c + ": several solutions"))
            << c << kSeveral << true << kVerifyHead + "二つ以上の解を持つ不完全な問題です！";
        QTest::newRow(qPrintable(c + ": empty board"))
            << c << "" << false << kVerifyHead + "二つ以上の解を持つ不完全な問題です！";
        QTest::newRow(qPrintable(c + ": all filled"))
            << c << kSolution << true << kVerifyHead + "空白ﾏｽがないので問題として成立しません";
        QTest::newRow(qPrintable(c + ": givens clash"))
            << c << QString::fromLatin1(clash) << true
            << kVerifyHead + "既に不整合が存在するので問題として成立しません";
    }
}

void SolvingTest::refusals() {
    QFETCH(QString, command);
    QFETCH(QString, board);
    QFETCH(bool, givens);
    QFETCH(QString, message);
    Env env;
    const QByteArray line = board.toLatin1().leftJustified(81, '.');
    env.load(line.constData(), givens);
    const kz::Board before = env.win->board();
    env.trigger(command.toLatin1().constData());
    QCOMPARE(env.port.lastMessage(), message);
    QVERIFY(env.win->board() == before);
    QVERIFY(!env.anyLook());
}

void SolvingTest::hintReportsWrongDigits() {
    Env env;
    env.load(kPuzzle, true);
    // Two wrong digits and a right one.
    env.place(1, digitAt(kSolution, 1) % 9 + 1);
    env.place(2, digitAt(kSolution, 2));
    env.place(80, digitAt(kSolution, 80) % 9 + 1);
    const kz::Board board = env.win->board();
    const auto records = env.win->history().records();
    env.trigger("mnHint");
    QCOMPARE(env.port.lastMessage(),
             QStringLiteral("【ﾋﾝﾄ】\r\n正解と違う数字が置かれています：\r\n1行1列の%1、9行8列の%2")
                 .arg(digitAt(kSolution, 1) % 9 + 1)
                 .arg(digitAt(kSolution, 80) % 9 + 1));
    QCOMPARE(env.looks(Look::Wrong), (QList<int>{1, 80}));
    QCOMPARE(env.colour(1), kLightRed);
    QVERIFY(env.win->board() == board);
    QVERIFY(env.win->history().records() == records);
    // The next click, here on a given, takes the marks away.
    QTest::mouseClick(env.back(17), Qt::LeftButton);
    QVERIFY(!env.anyLook());
    QCOMPARE(env.colour(1), kWhite);
}

void SolvingTest::playToTheEndWithHints() {
    // Hints alone lead through the whole puzzle: each shows where a digit goes, changes
    // nothing itself, and the placement click clears it.
    Env env;
    env.load(kPuzzle, true);
    int hints = 0;
    while (env.port.lastMessage() != QStringLiteral("完成おめでとう！") && hints < 81) {
        const kz::Board board = env.win->board();
        const auto records = env.win->history().records();
        env.trigger("mnHint");
        ++hints;
        QVERIFY(env.port.lastMessage().startsWith(QStringLiteral("【ﾋﾝﾄ】\r\n")));
        QVERIFY(env.win->board() == board);
        QVERIFY(env.win->history().records() == records);
        const QList<int> targets = env.looks(Look::Placement);
        QVERIFY2(!targets.isEmpty(), qPrintable(env.port.lastMessage()));
        for (int n : targets) {
            QCOMPARE(int(board[n].Value), 0);
            QVERIFY(env.port.lastMessage().contains(
                QString::fromUtf8(kz::logic::CellName(n - 1, kz::logic::Lang::Japanese).c_str())));
        }
        QVERIFY(env.colour(targets.first()) != kWhite);
        for (int n : targets) env.place(n, digitAt(kSolution, n));
        QVERIFY(!env.anyLook());
    }
    QVERIFY(hints <= 64);
    for (int n = 1; n <= kz::kCellCount; ++n)
        QCOMPARE(int(env.win->board()[n].Value), digitAt(kSolution, n));
}

QTEST_MAIN(SolvingTest)
#include "solving_test.moc"
