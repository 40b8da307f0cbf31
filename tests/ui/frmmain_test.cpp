// SPDX-License-Identifier: MIT
// The main window driven through real clicks on its widgets, with the scripted port.
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "resources/pictures.h"
#include "settings/optionman.h"
#include "support/uitest.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/wakushape.h"

using kz::frmMain;
using kz::UiPort;
using kz::test::activate;
using kz::test::FakePort;
using kz::test::kLightCyan;
using kz::test::kLightRed;
using kz::test::kLightYellow;
using kz::test::kWhite;

namespace {

// A solved grid, row by row.
const char kSolution[] =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

const QColor kBlack(0, 0, 0);

int solutionDigit(int n) {
    return kSolution[n - 1] - '0';
}

/// The window worked through its palette items and its cells.
struct Env : kz::test::WindowEnv {
    using WindowEnv::WindowEnv;

    QLabel* item(int i) const { return child<QLabel>(QStringLiteral("imgCheckPai_%1").arg(i)); }
    QAction* action(const QString& name) const { return child<QAction>(name); }

    void clickItem(int i) { QTest::mouseClick(item(i), Qt::LeftButton); }
    void clickCell(int n) { QTest::mouseClick(back(n), Qt::LeftButton); }
    void place(int n, int digit) {
        clickItem(digit == 0 ? 10 : digit);
        clickCell(n);
    }

    /// Every cell of the solution as a problem cell except `blanks`.
    void loadSolutionExcept(std::initializer_list<int> blanks) {
        for (int n = 1; n <= kz::kCellCount; ++n) {
            const bool blank = std::find(blanks.begin(), blanks.end(), n) != blanks.end();
            win->SetCell(n, blank ? 0 : solutionDigit(n), !blank, kz::MarkNone);
        }
    }
};

bool sameImage(const QPixmap& a, const QPixmap& b) {
    return !a.isNull() && a.toImage().convertToFormat(QImage::Format_ARGB32) ==
                              b.toImage().convertToFormat(QImage::Format_ARGB32);
}

bool showsCursor(const QWidget* w, int number) {
    return w->cursor().shape() == Qt::BitmapCursor &&
           sameImage(w->cursor().pixmap(), kz::TileCursor(number).pixmap());
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void layout_data();
    void layout();
    void menus_data();
    void menus();
    void menuTree();
    void shortcutKeys_data();
    void shortcutKeys();
    void lettersAfterKeyboardMenu();
    void paletteFrame_data();
    void paletteFrame();
    void placeAndErase();
    void problemCellIgnored();
    void automaticCheck();
    void completionTime_data();
    void completionTime();
    void completionOnceAndConflict();
    void coloursPerKindAndMark();
    void picturesPerSet();
    void gridAndFrameColours();
    void pointers();
    void clearCommands();
    void makeEnterable();
    void undoOneAndBreakpoints();
    void undoRestores();
    void warmingPanel();
    void manualAndExit();
};

void FrmMainTest::startUpState() {
    Env env;
    frmMain& w = *env.win;
    QCOMPARE(w.windowTitle(), kz::kAppTitle);
    QCOMPARE(w.selectedTile(), 1);
    QVERIFY(!w.startTime().isValid());
    QVERIFY(w.history().records().empty());
    QVERIFY(w.tag().isEmpty());
    for (int n = 1; n <= kz::kCellCount; ++n) {
        QVERIFY(!env.tile(n)->isVisibleTo(&w));
        QCOMPARE(env.colour(n), kWhite);
        QVERIFY(showsCursor(env.back(n), 1));
        QVERIFY(showsCursor(env.tile(n), 1));
        QCOMPARE(w.board()[n], kz::CellData{});
    }
    QCOMPARE(env.tile(81)->pos(), QPoint(5550 / 15, 5550 / 15));
    QCOMPARE(env.tile(10)->pos(), QPoint(270 / 15, 930 / 15));
    QCOMPARE(env.child<QLabel>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("%1.%2").arg(KZ_VERSION_MAJOR).arg(KZ_VERSION_MINOR));
    QVERIFY(!env.action(QStringLiteral("mnUNDO_0"))->isEnabled());
    QVERIFY(!env.action(QStringLiteral("mnUNDO_1"))->isEnabled());
    QVERIFY(env.action(QStringLiteral("mnSetBreake"))->isEnabled());
    QVERIFY(!env.child<QWidget>(QStringLiteral("frmWarming"))->isVisibleTo(&w));
    QCOMPARE(env.child<QWidget>(QStringLiteral("shpWaku"))->pos(), QPoint(8, 16));
    // The palette shows the tile set; the frame keeps its design look until the first
    // colour change.
    for (int i = 1; i <= 10; ++i) {
        QVERIFY(sameImage(env.item(i)->pixmap(), kz::TilePicture(i)));
    }
    auto* waku = env.child<kz::WakuShape>(QStringLiteral("shpWaku"));
    QCOMPARE(waku->fillColor(), kWhite);
    QCOMPARE(waku->borderColor(), kBlack);
    // Fixed size, minimise but no maximise box.
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!w.windowIcon().isNull());
    // The about item and its separator are not shown.
    QMenu* help = env.child<QMenu>(QStringLiteral("mnHelp"));
    QStringList shown;
    for (QAction* a : help->actions()) {
        if (a->isVisible()) shown << a->objectName();
    }
    QCOMPARE(shown, QStringList{QStringLiteral("mnManuual")});
    QVERIFY(env.port.messages.isEmpty());
    QVERIFY(env.port.unexpected.isEmpty());
}

void FrmMainTest::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("client") << "client" << QRect(0, 0, 413, 488);
    QTest::newRow("first square") << "lblBack_1" << QRect(8, 12, 45, 45);
    QTest::newRow("last square") << "lblBack_81" << QRect(360, 364, 45, 45);
    QTest::newRow("first tile") << "imgPai_1" << QRect(18, 18, 24, 32);
    QTest::newRow("tile 11") << "imgPai_11" << QRect(62, 62, 24, 32);
    QTest::newRow("top line, thick") << "linFrame_0" << QRect(7, 11, 399, 3);
    QTest::newRow("row line, thin") << "linFrame_1" << QRect(8, 56, 397, 1);
    QTest::newRow("box line, thick") << "linFrame_3" << QRect(7, 143, 399, 3);
    QTest::newRow("left line, thick") << "linFrame_10" << QRect(7, 11, 3, 399);
    QTest::newRow("column line, thin") << "linFrame_11" << QRect(52, 12, 1, 397);
    QTest::newRow("palette box") << "Frame1" << QRect(8, 420, 353, 61);
    QTest::newRow("palette item 1") << "imgCheckPai_1" << QRect(12, 20, 24, 32);
    QTest::newRow("eraser item") << "imgCheckPai_10" << QRect(300, 20, 24, 32);
    QTest::newRow("status panel") << "frmWarming" << QRect(64, 184, 281, 57);
    QTest::newRow("status text") << "lblWarming" << QRect(8, 20, 265, 17);
    QTest::newRow("version caption") << "Label1" << QRect(368, 444, 41, 13);
    QTest::newRow("version") << "lblVersion" << QRect(368, 460, 41, 13);
    QTest::newRow("separator dark") << "Line1_0" << QRect(0, 0, 413, 1);
    QTest::newRow("separator light") << "Line1_1" << QRect(0, 1, 413, 1);
}

void FrmMainTest::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    Env env;
    QWidget* w = env.child<QWidget>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), rect);
}

void FrmMainTest::menus_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    const auto ctrl = [](Qt::Key k) { return QKeySequence(Qt::CTRL | k); };
    QTest::newRow("file") << "mnFile"
                          << "ﾌｧｲﾙ(&F)" << QKeySequence();
    QTest::newRow("read") << "mnFileRead"
                          << "問題ﾌｧｲﾙを読み込む(&R)..." << ctrl(Qt::Key_O);
    QTest::newRow("save") << "mnSave_0"
                          << "問題ﾌｧｲﾙとして保存する(&S)..." << ctrl(Qt::Key_S);
    QTest::newRow("post") << "mnSave_1"
                          << "掲示板投稿用の文字列を作る(&B)..." << QKeySequence();
    QTest::newRow("clear all") << "mnClear_0"
                               << "すべてのﾏｽ目をｸﾘｱする(&E)" << QKeySequence();
    QTest::newRow("clear own") << "mnClear_1"
                               << "問題以外のﾏｽ目をｸﾘｱする(&D)" << QKeySequence();
    QTest::newRow("exit") << "mnExit"
                          << "終了(&Q)" << QKeySequence();
    QTest::newRow("edit") << "mnEdit"
                          << "編集(&E)" << QKeySequence();
    QTest::newRow("undo") << "mnUNDO_0"
                          << "一つ前に戻る(&U)" << ctrl(Qt::Key_U);
    QTest::newRow("undo to bp") << "mnUNDO_1"
                                << "一つ前のﾌﾞﾚｲｸﾎﾟｲﾝﾄまで戻る(&B)" << QKeySequence();
    QTest::newRow("breakpoint") << "mnSetBreake"
                                << "ﾌﾞﾚｲｸﾎﾟｲﾝﾄを設定する(&L)" << QKeySequence();
    QTest::newRow("one answer") << "mn1Answer"
                                << "ﾏｽ目の答えを一つだけ見る(&Q)" << QKeySequence();
    QTest::newRow("answers") << "mnAnswer"
                             << "ﾏｽ目の答えをすべて見る(&A)..." << QKeySequence();
    QTest::newRow("tool") << "mnTool"
                          << "ﾂｰﾙ(&T)" << QKeySequence();
    QTest::newRow("check") << "mnCheck"
                           << "整合性をﾁｪｯｸする(&K)" << ctrl(Qt::Key_Q);
    QTest::newRow("addict") << "mnTyuudoku"
                            << "中毒者専用ﾂｰﾙ(&D)" << QKeySequence();
    QTest::newRow("verify") << "mnAnalyze"
                            << "問題としての完全性の検証(&G)..." << ctrl(Qt::Key_G);
    QTest::newRow("enterable") << "mnAllInp"
                               << "すべてのﾏｽを入力可能に(&T)" << QKeySequence();
    QTest::newRow("variant") << "mnCreate"
                             << "同じﾚﾍﾞﾙの別問題を作成(&B)..." << ctrl(Qt::Key_N);
    QTest::newRow("options") << "mnOption"
                             << "ｵﾌﾟｼｮﾝ設定(&O)..." << QKeySequence();
    QTest::newRow("game") << "mnGame"
                          << "ｹﾞｰﾑ(&G)" << QKeySequence();
    QTest::newRow("help") << "mnHelp"
                          << "ﾍﾙﾌﾟ(&H)" << QKeySequence();
    QTest::newRow("manual") << "mnManuual"
                            << "操作説明／ｵﾝﾗｲﾝﾏﾆｭｱﾙ(&H)..." << ctrl(Qt::Key_H);
}

void FrmMainTest::menus() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    Env env;
    QAction* a = env.action(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut(), shortcut);
}

/// The shown menu tree: "name(items)" for a submenu, "-" for a separator.
QString shownTree(const QList<QAction*>& actions) {
    QStringList items;
    for (QAction* a : actions) {
        if (!a->isVisible()) continue;
        if (a->isSeparator()) {
            items << QStringLiteral("-");
        } else if (a->menu() != nullptr) {
            items << a->objectName() + QLatin1Char('(') + shownTree(a->menu()->actions()) +
                         QLatin1Char(')');
        } else {
            items << a->objectName();
        }
    }
    return items.join(QLatin1Char(' '));
}

void FrmMainTest::menuTree() {
    Env env;
    QCOMPARE(shownTree(env.win->menuBar()->actions()),
             QStringLiteral("mnFile(mnFileRead - mnSave_0 mnSave_1 - mnClear_0 mnClear_1 - mnExit) "
                            "mnEdit(mnUNDO_0 mnUNDO_1 - mnSetBreake - mn1Answer mnAnswer - "
                            "mnRedo) "
                            "mnTool(mnCheck - mnTyuudoku(mnAnalyze mnAllInp mnCreate) - mnOption) "
                            "mnGame(mnNewProblem mnResume mnRecent() - mnHint mnRate mnRewind - "
                            "mnNoteMode mnFillNotes mnClearNotes - mnTidyNotes mnHighlight "
                            "mnEasyNotes - mnShowClock mnPause mnRecords - mnPrint mnBooklet) "
                            "mnHelp(mnManuual)"));
}

void FrmMainTest::shortcutKeys_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::newRow("read") << "mnFileRead" << int(Qt::Key_O);
    QTest::newRow("save") << "mnSave_0" << int(Qt::Key_S);
    QTest::newRow("undo") << "mnUNDO_0" << int(Qt::Key_U);
    QTest::newRow("check") << "mnCheck" << int(Qt::Key_Q);
    QTest::newRow("verify") << "mnAnalyze" << int(Qt::Key_G);
    QTest::newRow("variant") << "mnCreate" << int(Qt::Key_N);
    QTest::newRow("manual") << "mnManuual" << int(Qt::Key_H);
}

void FrmMainTest::shortcutKeys() {
    QFETCH(QString, name);
    QFETCH(int, key);
    Env env;
    env.place(1, 5);  // something to undo
    QVERIFY(activate(env.win.get()));
    QSignalSpy fired(env.action(name), &QAction::triggered);
    QTest::keyClick(env.win.get(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(fired.count(), 1);
}

void FrmMainTest::lettersAfterKeyboardMenu() {
    Env env;
    QVERIFY(activate(env.win.get()));
    env.place(1, 5);
    env.place(2, 6);
    const auto unchangedByLetters = [&env] {
        const kz::Board board = env.win->board();
        const auto history = env.win->history().records();
        // Keys go where the desktop sends them: to an open menu, else to the window's focus
        // widget. "f" then "e" would be the file menu's clear-all item.
        for (const char letter : {'f', 'e', 'd', 'q'}) {
            QWidget* popup = QApplication::activePopupWidget();
            QTest::keyClick(popup != nullptr ? popup : env.win->focusWidget(), letter);
        }
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        QVERIFY(env.win->board() == board);
        QCOMPARE(env.win->history().records(), history);
        QVERIFY(env.win->isVisible());
    };
    // Open the file menu by its access key and leave it with Esc, Esc.
    QTest::keyClick(env.win.get(), Qt::Key_F, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY(popup != nullptr);
    QTest::keyClick(popup, Qt::Key_Escape);
    QTest::keyClick(env.win->focusWidget(), Qt::Key_Escape);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QCOMPARE(env.win->focusWidget(), env.win->centralWidget());
    unchangedByLetters();
    // A click on a cell leaves the focus in the window as well.
    env.place(3, 7);
    QCOMPARE(env.win->focusWidget(), env.win->centralWidget());
    unchangedByLetters();
}

void FrmMainTest::paletteFrame_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("selected");
    for (int i = 1; i <= 10; ++i) {
        QTest::addRow("item %d", i) << i << (i == 10 ? 0 : i);
    }
}

void FrmMainTest::paletteFrame() {
    QFETCH(int, item);
    QFETCH(int, selected);
    Env env;
    env.win->SetCell(40, 7, true, kz::MarkNone);
    env.clickItem(item);
    QCOMPARE(env.win->selectedTile(), selected);
    // The frame's corner lies 57.5 twips above and left of the item's.
    const QRect frame = env.child<QWidget>(QStringLiteral("shpWaku"))->geometry();
    QCOMPARE(frame, QRect(8 + 32 * (item - 1), 16, 33, 41));
    QVERIFY(frame.contains(env.item(item)->geometry()));
    QVERIFY(showsCursor(env.back(1), item));
    QVERIFY(showsCursor(env.tile(81), item));
    // The problem cell keeps the cursor picture of start-up behind its no-drop pointer.
    QCOMPARE(env.win->cellCursorNumber(40), 1);
    QCOMPARE(env.back(40)->cursor().shape(), Qt::ForbiddenCursor);
}

void FrmMainTest::placeAndErase() {
    Env env;
    env.place(1, 5);
    QCOMPARE(env.win->board()[1].Value, 5);
    QVERIFY(env.tile(1)->isVisibleTo(env.win.get()));
    QVERIFY(sameImage(env.tile(1)->pixmap(), kz::TilePicture(5)));
    QVERIFY(env.action(QStringLiteral("mnUNDO_0"))->isEnabled());

    // Once shown, the tile itself takes the click.
    env.clickItem(3);
    QTest::mouseClick(env.tile(1), Qt::LeftButton);
    QCOMPARE(env.win->board()[1].Value, 3);

    env.place(1, 0);
    QCOMPARE(env.win->board()[1].Value, 0);
    QVERIFY(!env.tile(1)->isVisibleTo(env.win.get()));
    QCOMPARE(env.colour(1), kWhite);

    // The second half of a double click is not another click.
    QTest::mouseDClick(env.back(1), Qt::LeftButton);
    QTest::mouseRelease(env.back(1), Qt::LeftButton);

    const std::vector<kz::UndoRecord> expected = {{1, 0, 5}, {1, 5, 3}, {1, 3, 0}};
    QCOMPARE(env.win->history().records(), expected);
    // Other buttons are not clicks.
    env.clickItem(4);
    QTest::mouseClick(env.back(2), Qt::RightButton);
    QCOMPARE(env.win->board()[2].Value, 0);
    QVERIFY(env.port.messages.isEmpty());

    // A click on a grid line reaches one of the two squares that meet under it.
    env.win->show();
    QVERIFY(QTest::qWaitForWindowExposed(env.win.get()));
    const QPoint onLine =
        env.child<QWidget>(QStringLiteral("linFrame_11"))->mapTo(env.win.get(), QPoint(0, 30));
    QTest::mouseClick(env.win->windowHandle(), Qt::LeftButton, {}, onLine);
    QCOMPARE(env.win->board()[1].Value + env.win->board()[2].Value, 4);
}

void FrmMainTest::problemCellIgnored() {
    Env env("15,14,12,11,1,0,0,0,0,0,0,");
    env.win->SetCell(10, 6, true, kz::MarkNone);
    for (int digit : {6, 2, 0}) {
        env.place(10, digit);
        QCOMPARE(env.win->board()[10], (kz::CellData{6, true, kz::MarkNone}));
    }
    QVERIFY(env.win->history().records().empty());
    QCOMPARE(env.port.beeps, 0);
}

void FrmMainTest::automaticCheck() {
    Env env("15,14,12,11,1,0,0,0,0,0,0,");
    env.place(1, 5);
    // Same row, same column, same box: refused with the beep and nothing else.
    for (int n : {9, 73, 21}) {
        env.place(n, 5);
        QCOMPARE(env.win->board()[n].Value, 0);
    }
    QCOMPARE(env.port.beeps, 3);
    QCOMPARE(env.win->history().records().size(), std::size_t{1});
    // The cell itself is not a clash; erasing is never checked, not even a blank cell.
    env.place(1, 5);
    env.place(2, 0);
    const std::vector<kz::UndoRecord> expected = {{1, 0, 5}, {1, 5, 5}, {2, 0, 0}};
    QCOMPARE(env.win->history().records(), expected);
    QCOMPARE(env.port.beeps, 3);

    // With the check off the clash is accepted.
    env.options->SetOption(kz::OptAutoCheck, 0);
    env.place(9, 5);
    QCOMPARE(env.win->board()[9].Value, 5);
    QCOMPARE(env.port.beeps, 3);
}

void FrmMainTest::completionTime_data() {
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<QString>("text");
    const QDate day(2026, 3, 1);
    const QString done = QStringLiteral("完成おめでとう！");
    const QString time = done + QStringLiteral("\r\n経過時間 ");
    QTest::newRow("not timing") << QDateTime() << QDateTime(day, QTime(12, 0)) << done;
    QTest::newRow("3725 s") << QDateTime(day, QTime(10, 0, 0)) << QDateTime(day, QTime(11, 2, 5))
                            << time + "01:02:05";
    QTest::newRow("zero") << QDateTime(day, QTime(10, 0, 0)) << QDateTime(day, QTime(10, 0, 0))
                          << time + "00:00:00";
    QTest::newRow("rounded to seconds")
        << QDateTime(day, QTime(10, 0, 0, 400)) << QDateTime(day, QTime(10, 0, 1, 600))
        << time + "00:00:02";
    QTest::newRow("across midnight")
        << QDateTime(day, QTime(23, 59, 0)) << QDateTime(day.addDays(1), QTime(0, 1, 5))
        << time + "00:02:05";
    QTest::newRow("over 99 hours")
        << QDateTime(day, QTime(8, 0, 0)) << QDateTime(day.addDays(5), QTime(8, 0, 7))
        << time + "120:00:07";
    QTest::newRow("clock set back")
        << QDateTime(day, QTime(10, 0, 0)) << QDateTime(day, QTime(9, 0, 0)) << time + "00:00:00";
}

void FrmMainTest::completionTime() {
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(QString, text);
    Env env;
    env.loadSolutionExcept({41});
    env.win->setStartTime(start);
    env.port.clock = end;
    env.place(41, solutionDigit(41));
    QCOMPARE(env.port.messages.size(), 1);
    const FakePort::MessageCall& m = env.port.messages.first();
    QCOMPARE(m.text, text);
    QCOMPARE(m.caption, kz::kAppTitle);
    QVERIFY(m.icon == UiPort::Icon::None);
    QVERIFY(m.buttons == UiPort::Buttons::Ok);
    QVERIFY(!env.win->startTime().isValid());
}

void FrmMainTest::completionOnceAndConflict() {
    Env env;
    env.loadSolutionExcept({1, 2});
    env.win->setStartTime(env.port.clock.addSecs(-60));
    // Two equal digits in row 1: full, but no message.
    env.place(1, 4);
    env.place(2, 4);
    QVERIFY(env.port.messages.isEmpty());
    // Mending the row completes the board; a later click on the still-full board
    // congratulates without the time.
    env.place(1, solutionDigit(1));
    env.place(2, solutionDigit(2));
    env.place(2, solutionDigit(2));
    QCOMPARE(env.port.messages.size(), 2);
    QCOMPARE(env.port.messages[0].text, QStringLiteral("完成おめでとう！\r\n経過時間 00:01:00"));
    QCOMPARE(env.port.messages[1].text, QStringLiteral("完成おめでとう！"));
}

void FrmMainTest::coloursPerKindAndMark() {
    struct Row {
        bool problem;
        int mark;
        QColor expected;
    };
    const Row rows[] = {
        {false, kz::MarkNone, kWhite},          {false, kz::MarkConflict, kLightRed},
        {false, kz::MarkAnswer, kLightCyan},    {true, kz::MarkNone, kLightYellow},
        {true, kz::MarkConflict, kLightYellow}, {true, kz::MarkAnswer, kLightYellow},
    };
    Env env;
    int n = 1;
    for (const Row& r : rows) {
        env.win->SetCell(n, 0, r.problem, r.mark);
        QCOMPARE(env.colour(n), r.expected);
        // Writing 0 hides the picture but keeps the colour of the kind.
        QVERIFY(!env.tile(n)->isVisibleTo(env.win.get()));
        ++n;
    }
    // Any accepted click brings a marked cell back to the enterable colour.
    env.place(2, 7);
    env.place(3, 0);
    QCOMPARE(env.colour(2), kWhite);
    QCOMPARE(env.colour(3), kWhite);

    // Other colour numbers come from the settings.
    Env custom("7,6,5,4,0,0,0,0,0,0,0,");
    custom.win->SetCell(1, 3, true, kz::MarkNone);
    custom.win->SetCell(2, 3, false, kz::MarkConflict);
    custom.win->SetCell(3, 3, false, kz::MarkAnswer);
    QCOMPARE(custom.colour(1), QColor(128, 128, 0));
    QCOMPARE(custom.colour(2), QColor(128, 0, 128));
    QCOMPARE(custom.colour(3), QColor(128, 0, 0));
    QCOMPARE(custom.colour(4), QColor(192, 192, 192));
}

void FrmMainTest::picturesPerSet() {
    // Numerals from the settings at start-up.
    Env numerals("15,14,12,11,0,0,0,0,0,1,0,");
    numerals.place(5, 9);
    QVERIFY(sameImage(numerals.tile(5)->pixmap(), kz::TilePicture(19)));
    for (int i = 1; i <= 10; ++i) {
        QVERIFY(sameImage(numerals.item(i)->pixmap(), kz::TilePicture(10 + i)));
    }

    // Switching sets re-draws placed tiles, hidden ones stay hidden, and the palette follows.
    Env env;
    env.place(5, 9);
    env.place(6, 2);
    env.place(6, 0);
    env.options->SetOption(kz::OptImageKind, 1);
    env.options->SetImageSetBase(10);
    env.win->ColorSetChange();
    QVERIFY(sameImage(env.tile(5)->pixmap(), kz::TilePicture(19)));
    QVERIFY(!env.tile(6)->isVisibleTo(env.win.get()));
    QVERIFY(sameImage(env.item(10)->pixmap(), kz::TilePicture(20)));
    env.options->SetImageSetBase(0);
    env.win->ColorSetChange();
    QVERIFY(sameImage(env.tile(5)->pixmap(), kz::TilePicture(9)));
    QVERIFY(sameImage(env.item(10)->pixmap(), kz::TilePicture(10)));
}

void FrmMainTest::gridAndFrameColours() {
    // Start-up does not apply the grid colour (slot 5 = 4, red) nor the frame's fill.
    Env env("9,14,12,11,0,4,0,0,0,0,0,");
    auto* line = env.child<QWidget>(QStringLiteral("linFrame_7"));
    auto* waku = env.child<kz::WakuShape>(QStringLiteral("shpWaku"));
    QCOMPARE(line->palette().color(QPalette::Window), kBlack);
    QCOMPARE(waku->fillColor(), kWhite);
    QCOMPARE(env.colour(1), QColor(0, 0, 255));

    env.win->ColorSetChange();
    for (int k = 0; k < 20; ++k) {
        QCOMPARE(env.child<QWidget>(QStringLiteral("linFrame_%1").arg(k))
                     ->palette()
                     .color(QPalette::Window),
                 QColor(128, 0, 0));
    }
    QCOMPARE(waku->borderColor(), QColor(128, 0, 0));
    QCOMPARE(waku->fillColor(), QColor(0, 0, 255));
}

void FrmMainTest::pointers() {
    Env env;
    env.clickItem(4);
    env.win->SetCell(7, 2, true, kz::MarkNone);
    QCOMPARE(env.back(7)->cursor().shape(), Qt::ForbiddenCursor);
    QCOMPARE(env.tile(7)->cursor().shape(), Qt::ForbiddenCursor);
    env.clickItem(10);
    QVERIFY(showsCursor(env.back(8), 10));
    QVERIFY(showsCursor(env.tile(8), 10));
    // Made enterable again, the cell shows the cursor of the choice current when it was last
    // enterable, until the next palette choice.
    env.win->mnAllInp_Click();
    QVERIFY(showsCursor(env.back(7), 4));
    env.clickItem(6);
    QVERIFY(showsCursor(env.back(7), 6));
    QVERIFY(showsCursor(env.tile(7), 6));
}

void FrmMainTest::clearCommands() {
    for (int index : {0, 1}) {
        Env env;
        frmMain& w = *env.win;
        w.SetCell(1, 3, true, kz::MarkNone);
        w.SetCell(2, 4, false, kz::MarkConflict);
        w.SetCell(3, 5, false, kz::MarkAnswer);
        env.place(4, 6);
        w.mnSetBreake_Click();
        w.setWindowTitle(kz::kAppTitle + QStringLiteral(" [q1]"));
        w.setStartTime(env.port.clock);

        env.action(QStringLiteral("mnClear_%1").arg(index))->trigger();

        QCOMPARE(w.windowTitle(), kz::kAppTitle);
        QVERIFY(w.history().records().empty());
        QVERIFY(!env.action(QStringLiteral("mnUNDO_0"))->isEnabled());
        QVERIFY(!env.action(QStringLiteral("mnUNDO_1"))->isEnabled());
        QVERIFY(!w.startTime().isValid());
        for (int n = 2; n <= kz::kCellCount; ++n) {
            QCOMPARE(w.board()[n], kz::CellData{});
            QCOMPARE(env.colour(n), kWhite);
            QVERIFY(!env.tile(n)->isVisibleTo(&w));
        }
        if (index == 0) {
            QCOMPARE(w.board()[1], kz::CellData{});
            QCOMPARE(env.colour(1), kWhite);
        } else {
            QCOMPARE(w.board()[1], (kz::CellData{3, true, kz::MarkNone}));
            QCOMPARE(env.colour(1), kLightYellow);
            QVERIFY(env.tile(1)->isVisibleTo(&w));
        }
        QVERIFY(env.port.messages.isEmpty());
    }
}

void FrmMainTest::makeEnterable() {
    Env env;
    env.place(1, 2);
    const kz::Board before = env.win->board();
    env.action(QStringLiteral("mnAllInp"))->trigger();
    QVERIFY(env.win->board() == before);

    env.win->SetCell(9, 8, true, kz::MarkNone);
    env.win->setWindowTitle(kz::kAppTitle + QStringLiteral(" [q]"));
    env.action(QStringLiteral("mnAllInp"))->trigger();
    QCOMPARE(env.win->board()[9], (kz::CellData{8, false, kz::MarkNone}));
    QCOMPARE(env.colour(9), kWhite);
    QCOMPARE(env.win->windowTitle(), kz::kAppTitle + QStringLiteral(" [q]"));
    QCOMPARE(env.win->history().records().size(), std::size_t{1});

    env.place(9, 1);
    QCOMPARE(env.win->board()[9].Value, 1);
    env.win->mnUNDO_Click(0);
    QCOMPARE(env.win->board()[9], (kz::CellData{8, false, kz::MarkNone}));
}

void FrmMainTest::undoOneAndBreakpoints() {
    Env env;
    frmMain& w = *env.win;
    QAction* undo = env.action(QStringLiteral("mnUNDO_0"));
    QAction* undoBp = env.action(QStringLiteral("mnUNDO_1"));

    // A breakpoint on an empty history enables both items; undo one removes it with the
    // notice and disables both.
    env.action(QStringLiteral("mnSetBreake"))->trigger();
    env.action(QStringLiteral("mnSetBreake"))->trigger();
    QCOMPARE(w.history().records().size(), std::size_t{1});
    QVERIFY(undo->isEnabled() && undoBp->isEnabled());
    undo->trigger();
    QCOMPARE(env.port.lastMessage(), QStringLiteral("ﾌﾞﾚｲｸﾎﾟｲﾝﾄを一つ解除しました"));
    QCOMPARE(env.port.messages.first().caption, kz::kAppTitle);
    QVERIFY(!undo->isEnabled() && !undoBp->isEnabled());

    // Back to the breakpoint takes the later moves and the breakpoint, silently.
    env.place(1, 5);
    env.action(QStringLiteral("mnSetBreake"))->trigger();
    env.place(2, 3);
    env.place(3, 4);
    undoBp->trigger();
    QCOMPARE(w.board()[2].Value, 0);
    QCOMPARE(w.board()[3].Value, 0);
    QCOMPARE(w.board()[1].Value, 5);
    const std::vector<kz::UndoRecord> expected = {{1, 0, 5}};
    QCOMPARE(w.history().records(), expected);
    QVERIFY(undo->isEnabled());
    QVERIFY(!undoBp->isEnabled());
    QCOMPARE(env.port.messages.size(), 1);

    undo->trigger();
    QCOMPARE(w.board()[1].Value, 0);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(env.port.messages.size(), 1);
}

void FrmMainTest::undoRestores() {
    Env env;
    frmMain& w = *env.win;
    env.place(1, 5);
    env.place(1, 6);  // over another digit
    env.place(1, 0);  // erase
    env.place(2, 4);
    env.place(2, 4);  // the same digit again
    w.SetCell(2, 4, false, kz::MarkConflict);
    w.setStartTime(env.port.clock);

    struct Step {
        int cell;
        int value;
    };
    const Step steps[] = {{2, 4}, {2, 0}, {1, 6}, {1, 5}, {1, 0}};
    for (const Step& s : steps) {
        w.mnUNDO_Click(0);
        QCOMPARE(w.board()[s.cell],
                 (kz::CellData{static_cast<std::uint8_t>(s.value), false, kz::MarkNone}));
        QCOMPARE(env.colour(s.cell), kWhite);
        QCOMPARE(env.tile(s.cell)->isVisibleTo(&w), s.value != 0);
    }
    // Undo neither checks nor touches the clock.
    QVERIFY(w.startTime().isValid());
    QVERIFY(env.port.messages.isEmpty());
}

void FrmMainTest::warmingPanel() {
    Env env;
    frmMain& w = *env.win;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* panel = env.child<QWidget>(QStringLiteral("frmWarming"));
    auto* text = env.child<QLabel>(QStringLiteral("lblWarming"));

    // Count paints of the panel without returning to the event loop, as a busy solver would.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    panel->installEventFilter(&counter);

    w.WarmingMsg(QStringLiteral("計算中...　[1]"));
    QVERIFY(panel->isVisible());
    QCOMPARE(text->text(), QStringLiteral("計算中...　[1]"));
    QVERIFY(counter.paints > 0);
    w.WarmingMsg(QStringLiteral("計算中...　[2]"));
    QCOMPARE(text->text(), QStringLiteral("計算中...　[2]"));
    w.WarmingMsg(QString());
    QVERIFY(!panel->isVisible());
    w.WarmingMsg(QString());
    QVERIFY(!panel->isVisible());
    // The panel lies over the grid.
    QVERIFY(w.centralWidget()->children().indexOf(panel) >
            w.centralWidget()->children().indexOf(env.tile(81)));
}

void FrmMainTest::manualAndExit() {
    Env env;
    env.action(QStringLiteral("mnManuual"))->trigger();
    QCOMPARE(env.port.urls.size(), 1);
    QVERIFY(env.port.urls.first().isLocalFile());
    QCOMPARE(QFileInfo(env.port.urls.first().toLocalFile()).fileName(),
             QStringLiteral("manual.html"));

    env.win->show();
    QVERIFY(QTest::qWaitForWindowExposed(env.win.get()));
    env.action(QStringLiteral("mnExit"))->trigger();
    QVERIFY(!env.win->isVisible());
    QVERIFY(env.port.messages.isEmpty());
}

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
