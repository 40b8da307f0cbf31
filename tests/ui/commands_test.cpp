// SPDX-License-Identifier: MIT
// The main window's check, answer, verification, file, options, variant and posting commands,
// triggered through their menu actions with the scripted port.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/answer.h"
#include "settings/optionman.h"
#include "support/uitest.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"

using kz::frmMain;
using kz::UiPort;
using namespace kz::test;  // the shared boards, colours and port

namespace {

const QString kNoConflict = QStringLiteral("不整合はみつかりませんでした");
const QString kVerifyHead = QStringLiteral("【問題の完全性：検証結果】\r\n");
const QString kUnsolvable = QStringLiteral(
    "解けません！\r\n問題が不完全か、入力にミスがあるか、このプログラムがバカかのいずれ"
    "かです。");
const QString kAlreadyConflicting = QStringLiteral("既に不整合箇所があるので解けません");
const QString kAllFilled = QStringLiteral("全部のﾏｽが埋まっているので解けません");
const QString kReadFailed = QStringLiteral("読込みに失敗しました");
const QString kSaveFailed = QStringLiteral("ﾌｧｲﾙへの保存に失敗しました");
const QString kCompleted = QStringLiteral("完成おめでとう！");

/// The file text of a board line, as the writer produces it.
QByteArray fileText(const char* line) {
    QByteArray text;
    for (int r = 0; r < 9; ++r) {
        for (int c = 1; c <= 9; ++c) text += QByteArray::number(digitAt(line, 9 * r + c)) + ',';
        text += "\r\n";
    }
    return text;
}

struct Env : kz::test::WindowEnv {
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& content) const {
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly)) f.write(content);
        return path(name);
    }
    bool enabled(const char* name) const {
        return child<QAction>(QLatin1String(name))->isEnabled();
    }
    QString digits() const {
        QString s;
        for (int n = 1; n <= kz::kCellCount; ++n) s += QString::number(win->board()[n].Value);
        return s;
    }
    QStringList texts() const {
        QStringList list;
        for (const auto& m : port.messages) list << m.text;
        return list;
    }
};

/// Records what the status panel shows whenever it is painted while the solver runs.
struct PanelWatcher : QObject {
    QLabel* label = nullptr;
    QStringList shown;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && label->isVisible() &&
            (shown.isEmpty() || shown.last() != label->text())) {
            shown << label->text();
        }
        return false;
    }
};

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void checkCommand_data();
    void checkCommand();
    void checkClearsStaleMarks();
    void analyze_data();
    void analyze();
    void analyzeShowsProgress();
    void oneAnswerPicksDrawnCell_data();
    void oneAnswerPicksDrawnCell();
    void oneAnswerLastBlank();
    void answersRefused_data();
    void answersRefused();
    void allAnswersOneGroup();
    void readProblem();
    void readFailuresChangeNothing_data();
    void readFailuresChangeNothing();
    void saveProblem();
    void saveCancelledOrFailed_data();
    void saveCancelledOrFailed();
    void fileNameRemembered();
    void options_data();
    void options();
    void createVariant();
    void createCancelled();
    void createFromEmptyBoard();
    void postingString();
};

// ---- Check ----

void CommandsTest::checkCommand_data() {
    QTest::addColumn<QString>("board");      // 81 chars
    QTest::addColumn<bool>("givens");        // digits as problem cells
    QTest::addColumn<QString>("message");    // expected text start, empty = none
    QTest::addColumn<QList<int>>("marked");  // cells marked as conflicting
    const QString empty(81, QLatin1Char('.'));
    QString twoGivens = empty;
    twoGivens[0] = QLatin1Char('5');
    twoGivens[8] = QLatin1Char('5');
    QString entered = empty;
    entered[0] = QLatin1Char('7');
    entered[10] = QLatin1Char('7');  // same box
    QTest::newRow("empty board") << empty << false << kNoConflict << QList<int>{};
    QTest::newRow("full and right: completion")
        << QString::fromLatin1(kSolution) << false << kCompleted << QList<int>{};
    QTest::newRow("conflict between givens only") << twoGivens << true << QString() << QList<int>{};
    QTest::newRow("entries clash with blanks left")
        << entered << false << QString() << QList<int>{1, 11};
}

void CommandsTest::checkCommand() {
    QFETCH(QString, board);
    QFETCH(bool, givens);
    QFETCH(QString, message);
    QFETCH(QList<int>, marked);
    Env env;
    env.load(board.toLatin1().constData(), givens);
    env.win->setStartTime(env.port.clock.addSecs(-65));
    env.trigger("mnCheck");
    if (message.isEmpty()) {
        QVERIFY(env.port.messages.isEmpty());
    } else {
        QCOMPARE(env.port.messages.size(), 1);
        QVERIFY(env.port.lastMessage().startsWith(message));
        QCOMPARE(env.port.messages[0].caption, kz::kAppTitle);
        QCOMPARE(env.port.messages[0].buttons, UiPort::Buttons::Ok);
        QCOMPARE(env.port.messages[0].icon, UiPort::Icon::None);
    }
    if (message == kCompleted) {
        QCOMPARE(env.port.lastMessage(), kCompleted + QStringLiteral("\r\n経過時間 00:01:05"));
        QVERIFY(!env.win->startTime().isValid());
    }
    for (int n = 1; n <= kz::kCellCount; ++n) {
        const bool isMarked = marked.contains(n);
        QCOMPARE(env.win->board()[n].Mark, isMarked ? kz::MarkConflict : kz::MarkNone);
        if (isMarked) QCOMPARE(env.colour(n), kLightRed);
    }
    QVERIFY(env.win->history().records().empty());
}

void CommandsTest::checkClearsStaleMarks() {
    Env env;
    env.place(1, 4);
    env.place(2, 4);
    env.trigger("mnAnalyze");  // marks both without clearing
    QCOMPARE(env.win->board()[2].Mark, kz::MarkConflict);
    env.place(2, 6);  // conflict gone, cell 1 keeps its stale mark
    QCOMPARE(env.win->board()[1].Mark, kz::MarkConflict);
    env.trigger("mnAnalyze");  // verification adds marks but never clears them
    QCOMPARE(env.win->board()[1].Mark, kz::MarkConflict);
    QCOMPARE(env.colour(1), kLightRed);
    env.port.messages.clear();
    env.trigger("mnCheck");
    QCOMPARE(env.win->board()[1].Mark, kz::MarkNone);
    QCOMPARE(env.colour(1), kWhite);
    QCOMPARE(env.texts(), QStringList{kNoConflict});
}

// ---- Verification ----

void CommandsTest::analyze_data() {
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QList<int>>("marked");
    const QString empty(81, QLatin1Char('.'));
    QString clash = QString::fromLatin1(kPuzzle);
    clash[0] = QLatin1Char('8');  // cells 1 and 9 clash in row 1 only
    clash[8] = QLatin1Char('8');
    // Row 1 takes 2..9 in cells 1..8 and column 9 has a 1: the rule step proves no solution.
    QString noCellForOne = empty;
    for (int n = 1; n <= 8; ++n) noCellForOne[n - 1] = QChar(u'0' + n + 1);
    noCellForOne[17] = QLatin1Char('1');
    // A wrong but conflict-free entry that only the search finds out.
    QString wrongEntry = QString::fromLatin1(kPuzzle);
    wrongEntry[0] = QLatin1Char('4');

    QString fullClash = QString::fromLatin1(kSolution);
    fullClash[1] = fullClash[0];  // a 6 in cell 2: clashes with cells 1 and 65
    QTest::newRow("full with a clash: fullness first, marks still made")
        << fullClash << QStringLiteral("空白ﾏｽがないので問題として成立しません")
        << QList<int>{1, 2, 65};
    QTest::newRow("complete grid")
        << QString::fromLatin1(kSolution)
        << QStringLiteral("空白ﾏｽがないので問題として成立しません") << QList<int>{};
    QTest::newRow("conflict marks, no solver")
        << clash << QStringLiteral("既に不整合が存在するので問題として成立しません")
        << QList<int>{1, 9};
    QTest::newRow("unique") << QString::fromLatin1(kPuzzle)
                            << QStringLiteral("ただ一つだけの解を持つ完成した問題です！")
                            << QList<int>{};
    QTest::newRow("empty board: several")
        << empty << QStringLiteral("二つ以上の解を持つ不完全な問題です！") << QList<int>{};
    QTest::newRow("rule step proves none")
        << noCellForOne << QStringLiteral("解が求まらないので問題として成立しません")
        << QList<int>{};
    QTest::newRow("search proves none")
        << wrongEntry << QStringLiteral("解が１つも無いので問題として成立しません") << QList<int>{};
}

void CommandsTest::analyze() {
    QFETCH(QString, board);
    QFETCH(QString, result);
    QFETCH(QList<int>, marked);
    Env env;
    // Entries, not givens, so conflicts get marked.
    env.load(board.toLatin1().constData(), false);
    env.win->setStartTime(env.port.clock);
    env.trigger("mnAnalyze");
    QCOMPARE(env.texts(), QStringList{kVerifyHead + result});
    QCOMPARE(env.digits(), QString(board).replace(QLatin1Char('.'), QLatin1Char('0')));
    for (int n = 1; n <= kz::kCellCount; ++n) {
        QCOMPARE(env.win->board()[n].Mark == kz::MarkConflict, marked.contains(n));
    }
    QCOMPARE(env.win->startTime(), env.port.clock);
    QVERIFY(env.win->history().records().empty());
    QVERIFY(!env.child<QWidget>(QStringLiteral("frmWarming"))->isVisibleTo(env.win.get()));
}

void CommandsTest::analyzeShowsProgress() {
    Env env;
    env.win->show();
    QVERIFY(QTest::qWaitForWindowExposed(env.win.get()));
    // The empty board: the search has to branch on cell 1, the cell whose digits are shown.
    PanelWatcher watcher;
    watcher.label = env.child<QLabel>(QStringLiteral("lblWarming"));
    watcher.label->installEventFilter(&watcher);
    env.trigger("mnAnalyze");
    QCOMPARE(env.port.lastMessage(),
             kVerifyHead + QStringLiteral("二つ以上の解を持つ不完全な問題です！"));
    QVERIFY(!watcher.shown.isEmpty());
    for (const QString& s : watcher.shown) {
        QVERIFY2(QRegularExpression(QStringLiteral("^計算中...　\\[[1-9]\\]$")).match(s).hasMatch(),
                 qPrintable(s));
    }
    // The panel is gone before the result is shown.
    QVERIFY(!env.child<QWidget>(QStringLiteral("frmWarming"))->isVisible());
}

// ---- Answers ----

void CommandsTest::oneAnswerPicksDrawnCell_data() {
    QTest::addColumn<double>("draw");
    QTest::addColumn<int>("cell");
    // Blank cells 5, 10 and 20: i = floor(r * 3).
    QTest::newRow("zero") << 0.0 << 5;
    QTest::newRow("just under a third") << 0.333 << 5;
    QTest::newRow("a half") << 0.5 << 10;
    QTest::newRow("just under one") << 0.9999999 << 20;
    QTest::newRow("one itself is clamped") << 1.0 << 20;
}

void CommandsTest::oneAnswerPicksDrawnCell() {
    QFETCH(double, draw);
    QFETCH(int, cell);
    Env env;
    QString board = QString::fromLatin1(kSolution);
    for (int n : {5, 10, 20}) board[n - 1] = QLatin1Char('.');
    env.load(board.toLatin1().constData(), true);
    env.win->setStartTime(env.port.clock);
    env.port.randoms = {draw};
    env.trigger("mn1Answer");
    QVERIFY(env.port.messages.isEmpty());
    QVERIFY(env.port.unexpected.isEmpty());
    for (int n : {5, 10, 20}) {
        const kz::CellData& c = env.win->board()[n];
        if (n == cell) {
            QCOMPARE(int(c.Value), digitAt(kSolution, n));
            QCOMPARE(c.Mark, kz::MarkAnswer);
            QVERIFY(!c.Problem);
            QCOMPARE(env.colour(n), kLightCyan);
        } else {
            QCOMPARE(int(c.Value), 0);
        }
    }
    QCOMPARE(env.win->history().records().size(), std::size_t(1));
    QCOMPARE(env.win->history().records()[0],
             (kz::UndoRecord{static_cast<std::int16_t>(cell), 0,
                             static_cast<std::int16_t>(digitAt(kSolution, cell))}));
    QVERIFY(env.enabled("mnUNDO_0"));
    QVERIFY(!env.win->startTime().isValid());
}

void CommandsTest::oneAnswerLastBlank() {
    Env env;
    QString board = QString::fromLatin1(kSolution);
    board[40] = QLatin1Char('.');
    env.load(board.toLatin1().constData(), false);
    env.win->setStartTime(env.port.clock);
    env.port.randoms = {0.7};
    env.trigger("mn1Answer");
    QCOMPARE(int(env.win->board()[41].Value), digitAt(kSolution, 41));
    QCOMPARE(env.win->board()[41].Mark, kz::MarkAnswer);
    // Filling the last blank is no completion.
    QVERIFY(env.port.messages.isEmpty());
    QVERIFY(!env.win->startTime().isValid());
    QVERIFY(!env.tile(41)->isHidden());
}

void CommandsTest::answersRefused_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("clockStops");
    QString clash(81, QLatin1Char('.'));
    clash[0] = QLatin1Char('3');
    clash[72] = QLatin1Char('3');  // same column
    QString unsolvable = QString::fromLatin1(kPuzzle);
    unsolvable[0] = QLatin1Char('4');
    for (const char* command : {"mn1Answer", "mnAnswer"}) {
        const QByteArray c(command);
        QTest::newRow(c + ": conflict") << c << clash << kAlreadyConflicting << false;
        QTest::newRow(c + ": full") << c << QString::fromLatin1(kSolution) << kAllFilled << false;
        QTest::newRow(c + ": unsolvable") << c << unsolvable << kUnsolvable << true;
        QString fullClash = QString::fromLatin1(kSolution);
        fullClash[1] = fullClash[0];
        QTest::newRow(c + ": full with a clash, the clash first")
            << c << fullClash << kAlreadyConflicting << false;
    }
}

void CommandsTest::answersRefused() {
    QFETCH(QByteArray, command);
    QFETCH(QString, board);
    QFETCH(QString, message);
    QFETCH(bool, clockStops);
    Env env;
    env.load(board.toLatin1().constData(), false);
    env.win->setStartTime(env.port.clock);
    env.port.randoms = {0.5};
    env.trigger(command.constData());
    QCOMPARE(env.texts(), QStringList{message});
    QCOMPARE(env.digits(), QString(board).replace(QLatin1Char('.'), QLatin1Char('0')));
    for (int n = 1; n <= kz::kCellCount; ++n) QCOMPARE(env.win->board()[n].Mark, kz::MarkNone);
    QVERIFY(env.win->history().records().empty());
    QCOMPARE(env.win->startTime().isValid(), !clockStops);
}

void CommandsTest::allAnswersOneGroup() {
    Env env;
    env.load(kPuzzle, true);
    env.place(1, 6);  // the player's own right digit
    env.win->setStartTime(env.port.clock);
    const std::size_t before = env.win->history().records().size();
    env.trigger("mnAnswer");
    QVERIFY(env.port.messages.isEmpty());
    QCOMPARE(env.digits(), QString::fromLatin1(kSolution));
    int blanks = 0;
    for (int n = 1; n <= kz::kCellCount; ++n) blanks += digitAt(kPuzzle, n) == 0 && n != 1;
    const auto& records = env.win->history().records();
    QCOMPARE(records.size(), before + blanks + 2);
    QCOMPARE(records[before], (kz::UndoRecord{kz::UndoBreakpoint, 0, 0}));
    QCOMPARE(records.back(), (kz::UndoRecord{kz::UndoGroupEnd, 0, 0}));
    // Between them every cell that was blank, in cell order, from 0 to its solution digit.
    std::size_t i = before + 1;
    for (int n = 2; n <= kz::kCellCount; ++n) {
        if (digitAt(kPuzzle, n) != 0) continue;
        QCOMPARE(records[i++], (kz::UndoRecord{static_cast<std::int16_t>(n), 0,
                                               static_cast<std::int16_t>(digitAt(kSolution, n))}));
    }
    QCOMPARE(env.win->board()[1].Mark, kz::MarkNone);  // already filled: not rewritten
    QCOMPARE(env.colour(1), kWhite);
    QCOMPARE(env.win->board()[2].Mark, kz::MarkAnswer);
    QCOMPARE(env.colour(2), kLightCyan);
    QCOMPARE(env.colour(17), kLightYellow);
    QVERIFY(!env.win->startTime().isValid());
    QVERIFY(env.enabled("mnUNDO_1"));

    env.trigger("mnUNDO_0");
    QString expected = QString::fromLatin1(kPuzzle).replace(QLatin1Char('.'), QLatin1Char('0'));
    expected[0] = QLatin1Char('6');
    QCOMPARE(env.digits(), expected);
    QCOMPARE(env.win->history().records().size(), before);
    QVERIFY(!env.enabled("mnUNDO_1"));
    QVERIFY(env.port.messages.isEmpty());
}

// ---- Problem files ----

void CommandsTest::readProblem() {
    Env env;
    env.place(3, 9);
    QVERIFY(env.enabled("mnUNDO_0"));
    const QString path = env.write(QStringLiteral("puzzle.csv"), fileText(kPuzzle));
    env.port.openAnswers = {path};
    env.trigger("mnFileRead");
    QVERIFY(env.port.messages.isEmpty());
    QCOMPARE(env.port.openRequests.size(), 1);
    const UiPort::FileRequest& r = env.port.openRequests[0];
    QCOMPARE(r.title, kz::kAppTitle + QStringLiteral("問題ﾌｧｲﾙを開く"));
    QCOMPARE(r.filter, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.csv)"));
    QCOMPARE(r.defaultSuffix, QStringLiteral("csv"));
    QVERIFY(r.fileName.isEmpty());
    for (int n = 1; n <= kz::kCellCount; ++n) {
        const int d = digitAt(kPuzzle, n);
        QCOMPARE(int(env.win->board()[n].Value), d);
        QCOMPARE(env.win->board()[n].Problem, d != 0);
        QCOMPARE(env.colour(n), d != 0 ? kLightYellow : kWhite);
    }
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [puzzle.csv]"));
    QCOMPARE(env.win->startTime(), env.port.clock);
    QVERIFY(env.win->history().records().empty());
    QVERIFY(!env.enabled("mnUNDO_0"));
}

void CommandsTest::readFailuresChangeNothing_data() {
    QTest::addColumn<QString>("name");  // empty: the dialog is cancelled
    QTest::addColumn<QByteArray>("content");
    const QByteArray good = fileText(kPuzzle);
    QTest::newRow("cancelled") << QString() << QByteArray();
    QTest::newRow("missing file") << QStringLiteral("missing.csv") << QByteArray();
    QTest::newRow("eight lines") << QStringLiteral("short.csv") << good.left(8 * 20);
    QTest::newRow("empty file") << QStringLiteral("empty.csv") << QByteArray("");
    QTest::newRow("number past 16 bits")
        << QStringLiteral("big.csv") << QByteArray("40000,").append(good.mid(2));
    QTest::newRow("value 10 in the last cell")
        << QStringLiteral("ten.csv") << QByteArray(good).replace(good.size() - 4, 1, "10");
    QTest::newRow("negative value")
        << QStringLiteral("neg.csv") << QByteArray("-1,").append(good.mid(2));
    QTest::newRow("a directory") << QStringLiteral("dir.csv") << QByteArray("dir");
    QTest::newRow("a picture")
        << QStringLiteral("picture.png")
        << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16).append(QByteArray(10, '\n'));
    QTest::newRow("a program") << QStringLiteral("program")
                               << QByteArray(
                                      "\x7F"
                                      "ELF\2\1\1\0\0\0",
                                      11)
                                      .append(good);
}

void CommandsTest::readFailuresChangeNothing() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    Env env;
    env.load(kSolution, false);
    env.win->SetCell(81, 0, false, kz::MarkNone);
    env.place(81, 1);  // a clash, so no completion
    env.win->SetCell(5, 8, true, kz::MarkNone);
    env.win->setWindowTitle(kz::kAppTitle + QStringLiteral(" [old.csv]"));
    const QDateTime started = env.port.clock.addSecs(-100);
    env.win->setStartTime(started);
    env.port.messages.clear();
    const kz::Board board = env.win->board();
    const auto history = env.win->history().records();

    QString path;
    if (!name.isEmpty()) {
        path = env.path(name);
        if (content == "dir") {
            QVERIFY(QDir(env.dir.path()).mkdir(name));
        } else if (name != QStringLiteral("missing.csv")) {
            env.write(name, content);
        }
    }
    env.port.openAnswers = {path};
    env.port.clock = env.port.clock.addSecs(3600);
    env.trigger("mnFileRead");
    QCOMPARE(env.texts(), QStringList{kReadFailed});
    QVERIFY(env.win->board() == board);
    QCOMPARE(env.win->history().records(), history);
    QVERIFY(env.enabled("mnUNDO_0"));
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [old.csv]"));
    QCOMPARE(env.win->startTime(), started);
}

void CommandsTest::saveProblem() {
    Env env;
    env.load(kPuzzle, true);
    env.place(1, 5);
    env.place(2, 5);  // a conflict, marked below
    env.trigger("mnCheck");
    QCOMPARE(env.win->board()[2].Mark, kz::MarkConflict);
    env.place(2, 3);  // right digit again, but the stale mark of cell 1 stays
    QCOMPARE(env.win->board()[1].Mark, kz::MarkConflict);
    env.port.messages.clear();
    const auto history = env.win->history().records();
    const QString path = env.path(QStringLiteral("saved.csv"));
    env.write(QStringLiteral("saved.csv"), "old content");
    env.port.saveAnswers = {path};

    env.trigger("mnSave_0");
    QCOMPARE(env.port.saveRequests.size(), 1);
    const UiPort::FileRequest& r = env.port.saveRequests[0];
    QCOMPARE(r.title, kz::kAppTitle + QStringLiteral("ﾌｧｲﾙへ保存する"));
    QCOMPARE(r.filter, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.csv)"));
    QCOMPARE(r.defaultSuffix, QStringLiteral("csv"));
    QVERIFY(r.confirmOverwrite);
    QVERIFY(r.fileName.isEmpty());
    QCOMPARE(env.texts(), QStringList{QStringLiteral("ﾌｧｲﾙへ保存しました")});

    QString expected = QString::fromLatin1(kPuzzle);
    expected[0] = QLatin1Char('5');
    expected[1] = QLatin1Char('3');
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), fileText(expected.toLatin1().constData()));
    for (int n = 1; n <= kz::kCellCount; ++n) {
        const bool filled = env.win->board()[n].Value != 0;
        QCOMPARE(env.win->board()[n].Problem, filled);
        QCOMPARE(env.win->board()[n].Mark, kz::MarkNone);
        QCOMPARE(env.colour(n), filled ? kLightYellow : kWhite);
    }
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [saved.csv]"));
    QCOMPARE(env.win->startTime(), env.port.clock);
    QCOMPARE(env.win->history().records(), history);
    // A saved digit is a given now: clicking it changes nothing.
    env.place(1, 9);
    QCOMPARE(int(env.win->board()[1].Value), 5);
    // Undoing a move made before the save turns its given back into an ordinary cell.
    env.trigger("mnUNDO_0");
    const kz::CellData& undone = env.win->board()[2];
    QCOMPARE(int(undone.Value), 5);
    QVERIFY(!undone.Problem);
    QCOMPARE(undone.Mark, kz::MarkNone);
    QCOMPARE(env.colour(2), kWhite);
    env.place(2, 3);
    QCOMPARE(int(env.win->board()[2].Value), 3);
}

void CommandsTest::saveCancelledOrFailed_data() {
    QTest::addColumn<QString>("target");  // empty: cancelled
    QTest::newRow("cancelled") << QString();
    QTest::newRow("directory does not exist") << QStringLiteral("no/such/dir/x.csv");
    QTest::newRow("target is a directory") << QStringLiteral("adir");
}

void CommandsTest::saveCancelledOrFailed() {
    QFETCH(QString, target);
    Env env;
    env.load(kPuzzle, false);
    env.win->setWindowTitle(kz::kAppTitle + QStringLiteral(" [old.csv]"));
    const QDateTime started = env.port.clock.addSecs(-100);
    env.win->setStartTime(started);
    env.port.clock = env.port.clock.addSecs(3600);
    const kz::Board board = env.win->board();
    QString path;
    if (!target.isEmpty()) {
        path = env.path(target);
        if (target == QStringLiteral("adir")) {
            QVERIFY(QDir(env.dir.path()).mkdir(target));
            QFile inner(path + QStringLiteral("/keep"));
            QVERIFY(inner.open(QIODevice::WriteOnly));
        }
    }
    env.port.saveAnswers = {path};
    env.trigger("mnSave_0");
    QCOMPARE(env.texts(), target.isEmpty() ? QStringList{} : QStringList{kSaveFailed});
    QVERIFY(env.win->board() == board);
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [old.csv]"));
    QCOMPARE(env.win->startTime(), started);
    if (target == QStringLiteral("adir")) QVERIFY(QFileInfo(path).isDir());
}

void CommandsTest::fileNameRemembered() {
    Env env;
    const QString a = env.write(QStringLiteral("a.csv"), fileText(kPuzzle));
    const QString b = env.path(QStringLiteral("b.csv"));
    env.port.openAnswers = {a, QString(), QString(), QString()};
    env.port.saveAnswers = {b, QString()};
    env.trigger("mnFileRead");
    env.trigger("mnFileRead");  // cancelled: the box keeps a's name
    env.trigger("mnSave_0");    // b
    env.trigger("mnFileRead");
    env.trigger("mnSave_0");  // cancelled with the name box cleared
    env.trigger("mnFileRead");
    QCOMPARE(env.port.openRequests.size(), 4);
    QVERIFY(env.port.openRequests[0].fileName.isEmpty());
    QCOMPARE(env.port.openRequests[1].fileName, a);
    QCOMPARE(env.port.openRequests[2].fileName, b);
    QVERIFY(env.port.openRequests[3].fileName.isEmpty());
    for (const auto& r : env.port.saveRequests) QVERIFY(r.fileName.isEmpty());
    QVERIFY(env.port.unexpected.isEmpty());
}

// ---- Options ----

void CommandsTest::options_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK stores, saves and repaints") << true;
    QTest::newRow("cancel leaves everything") << false;
}

void CommandsTest::options() {
    QFETCH(bool, ok);
    Env env;
    env.place(10, 4);
    env.win->SetCell(11, 2, true, kz::MarkNone);
    QVERIFY(!QFile::exists(env.settingsPath()));
    env.port.dialogScripts.push_back([ok](QDialog& d) {
        // Numerals, conflict colour 9 (blue), blank colour 7 (grey).
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("optSuitKind_1")),
                          Qt::LeftButton);
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("optBColor_0")),
                          Qt::LeftButton);
        QTest::mouseClick(d.findChild<QWidget*>(QStringLiteral("lblSelColor_7")), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QAbstractButton*>(ok ? QStringLiteral("cmdOK")
                                                           : QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
        return d.result();
    });
    env.trigger("mnOption");
    QCOMPARE(env.port.dialogs, QStringList{QStringLiteral("kz::frmOption")});
    QVERIFY(env.port.messages.isEmpty());
    QCOMPARE(QFile::exists(env.settingsPath()), ok);
    QCOMPARE(env.options->GetOption(kz::OptImageKind), ok ? 1 : 0);
    QCOMPARE(env.options->GetOption(kz::OptBlankColor), ok ? 7 : 15);
    QCOMPARE(env.tile(10)->property("picture").toInt(), ok ? 14 : 4);
    QCOMPARE(env.tile(11)->property("picture").toInt(), ok ? 12 : 2);
    QCOMPARE(env.colour(10), ok ? QColor(192, 192, 192) : kWhite);
    QCOMPARE(env.colour(11), kLightYellow);
}

// ---- Variant ----

void CommandsTest::createVariant() {
    Env env;
    env.load(kPuzzle, true);
    env.place(1, 5);  // an entry becomes a given too
    env.win->setWindowTitle(kz::kAppTitle + QStringLiteral(" [puzzle.csv]"));
    QString tagSeen = QStringLiteral("unset");
    env.port.dialogScripts.push_back([&](QDialog& d) {
        tagSeen = env.win->tag();
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("optLocation_2")),
                          Qt::LeftButton);
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("optNumber_2")),
                          Qt::LeftButton);
        auto* shift = d.findChild<QLineEdit*>(QStringLiteral("txtShiftVal"));
        shift->clear();
        QTest::keyClicks(shift, QStringLiteral("3"));
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        return d.result();
    });
    env.trigger("mnCreate");
    QCOMPARE(env.port.dialogs, QStringList{QStringLiteral("kz::frmCreation")});
    QVERIFY(tagSeen.isEmpty());
    QVERIFY(env.port.messages.isEmpty());
    // Half turn, then every digit up by three (9 wraps to 3).
    for (int n = 1; n <= kz::kCellCount; ++n) {
        int d = 82 - n == 1 ? 5 : digitAt(kPuzzle, 82 - n);
        if (d != 0) d = (d + 3 - 1) % 9 + 1;
        const kz::CellData& c = env.win->board()[n];
        QCOMPARE(int(c.Value), d);
        QCOMPARE(c.Problem, d != 0);
        QCOMPARE(c.Mark, kz::MarkNone);
    }
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [new question]"));
    QCOMPARE(env.win->startTime(), env.port.clock);
    QVERIFY(env.win->history().records().empty());
    QVERIFY(!env.enabled("mnUNDO_0"));
    QVERIFY(!env.enabled("mnUNDO_1"));
    QCOMPARE(env.options->GetOption(kz::OptVariantPlacement), 2);
    QCOMPARE(env.options->GetOption(kz::OptVariantShift), 3);
    QVERIFY(QFile::exists(env.settingsPath()));
}

void CommandsTest::createCancelled() {
    Env env;
    env.load(kPuzzle, true);
    env.place(1, 5);
    env.win->setTag(QStringLiteral("1"));  // a stale "1" must not count as a confirmation
    const kz::Board board = env.win->board();
    env.port.dialogScripts.push_back(clickThen({QStringLiteral("cmdCancel")}));
    env.trigger("mnCreate");
    QVERIFY(env.win->board() == board);
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle);
    QVERIFY(!env.win->startTime().isValid());
    QCOMPARE(env.win->history().records().size(), std::size_t(1));
    QVERIFY(!QFile::exists(env.settingsPath()));
}

void CommandsTest::createFromEmptyBoard() {
    Env env;
    // Random relabelling draws from the port.
    env.port.randoms = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    env.port.dialogScripts.push_back(clickThen(
        {QStringLiteral("optLocation_1"), QStringLiteral("optNumber_1"), QStringLiteral("cmdOK")}));
    env.trigger("mnCreate");
    QCOMPARE(env.digits(), QString(81, QLatin1Char('0')));
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [new question]"));
    QCOMPARE(env.win->startTime(), env.port.clock);
}

// ---- Posting string ----

void CommandsTest::postingString() {
    Env env;
    QString shown;
    QString selected;
    QString tagSeen;
    auto script = [&](QDialog& d) {
        auto* text = d.findChild<QLineEdit*>(QStringLiteral("Text1"));
        shown = text->text();
        selected = text->selectedText();
        tagSeen = env.win->tag();
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
        return d.result();
    };
    env.port.dialogScripts.push_back(script);
    env.trigger("mnSave_1");
    QCOMPARE(shown, QString(81, QLatin1Char('0')));
    QVERIFY(env.win->tag().isEmpty());

    // Givens, entries and answers alike, each in its cell's place.
    env.load(kPuzzle, true);
    env.place(1, 6);
    env.port.randoms = {0.0};
    env.trigger("mn1Answer");  // reveals cell 2
    env.port.dialogScripts.push_back(script);
    env.trigger("mnSave_1");
    QString expected = QString::fromLatin1(kPuzzle).replace(QLatin1Char('.'), QLatin1Char('0'));
    expected[0] = QLatin1Char('6');
    expected[1] = QLatin1Char('7');
    QCOMPARE(shown, expected);
    QCOMPARE(selected, expected);
    QCOMPARE(tagSeen, expected);
    QVERIFY(env.win->tag().isEmpty());
    QCOMPARE(env.port.dialogs,
             QStringList({QStringLiteral("kz::frmToukou"), QStringLiteral("kz::frmToukou")}));
    QVERIFY(env.port.unexpected.isEmpty());
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
