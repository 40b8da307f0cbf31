// SPDX-License-Identifier: MIT
// One session from typing a problem to posting its variant, through the menus, the cells and
// the real dialog widgets.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "settings/optionman.h"
#include "support/uitest.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"

using kz::frmMain;
using kz::test::digitAt;
using kz::test::FakePort;
using kz::test::kPuzzle;
using kz::test::kSolution;

class RoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void typeSaveReadSolveVaryPost();
};

void RoundTripTest::typeSaveReadSolveVaryPost() {
    QTemporaryDir dir;
    FakePort port;
    kz::OptionMan options(dir.filePath(QStringLiteral("kazarinoset.env")).toStdString());
    frmMain win(port, options);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    auto child = [&win](const QString& name) { return win.findChild<QWidget*>(name); };
    auto trigger = [&win](const char* name) {
        win.findChild<QAction*>(QLatin1String(name))->trigger();
    };
    auto digits = [&win] {
        QString s;
        for (int n = 1; n <= kz::kCellCount; ++n) s += QString::number(win.board()[n].Value);
        return s;
    };
    const QString puzzleDigits =
        QString::fromLatin1(kPuzzle).replace(QLatin1Char('.'), QLatin1Char('0'));

    // Type the problem: pick each tile, click its cells.
    for (int d = 1; d <= 9; ++d) {
        QTest::mouseClick(child(QStringLiteral("imgCheckPai_%1").arg(d)), Qt::LeftButton);
        for (int n = 1; n <= kz::kCellCount; ++n) {
            if (digitAt(kPuzzle, n) == d) {
                QTest::mouseClick(child(QStringLiteral("lblBack_%1").arg(n)), Qt::LeftButton);
            }
        }
    }
    QCOMPARE(digits(), puzzleDigits);

    // Save: the typed digits become givens.
    const QString path = dir.filePath(QStringLiteral("typed.csv"));
    port.saveAnswers = {path};
    trigger("mnSave_0");
    QCOMPARE(port.lastMessage(), QStringLiteral("ﾌｧｲﾙへ保存しました"));
    QVERIFY(win.board()[17].Problem);

    // Clear, then read it back.
    trigger("mnClear_0");
    QCOMPARE(digits(), QString(81, QLatin1Char('0')));
    port.openAnswers = {path};
    trigger("mnFileRead");
    QCOMPARE(digits(), puzzleDigits);
    QCOMPARE(win.windowTitle(), kz::kAppTitle + QStringLiteral(" [typed.csv]"));
    QVERIFY(win.history().records().empty());

    trigger("mnAnalyze");
    QCOMPARE(
        port.lastMessage(),
        QStringLiteral("【問題の完全性：検証結果】\r\nただ一つだけの解を持つ完成した問題です！"));

    // Reveal one (the first blank), undo it.
    port.randoms = {0.0};
    trigger("mn1Answer");
    QCOMPARE(int(win.board()[1].Value), digitAt(kSolution, 1));
    QCOMPARE(win.board()[1].Mark, kz::MarkAnswer);
    trigger("mnUNDO_0");
    QCOMPARE(digits(), puzzleDigits);

    // Reveal all, undo them in one step.
    trigger("mnAnswer");
    QCOMPARE(digits(), QString::fromLatin1(kSolution));
    trigger("mnUNDO_0");
    QCOMPARE(digits(), puzzleDigits);
    QVERIFY(win.history().records().empty());
    QVERIFY(!win.findChild<QAction*>(QStringLiteral("mnUNDO_0"))->isEnabled());

    // A left quarter turn with the digits shifted down by 1 (shift-down code 9 - 1 = 8).
    port.dialogScripts.push_back([](QDialog& d) {
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("optLocation_3")),
                          Qt::LeftButton);
        QTest::mouseClick(d.findChild<QAbstractButton*>(QStringLiteral("optNumber_3")),
                          Qt::LeftButton);
        auto* shift = d.findChild<QLineEdit*>(QStringLiteral("txtShiftVal"));
        QTest::mouseClick(shift, Qt::LeftButton);
        shift->selectAll();
        QTest::keyClicks(shift, QStringLiteral("1"));
        QTest::keyClick(shift, Qt::Key_Return);
        return d.result();
    });
    trigger("mnCreate");
    QCOMPARE(win.windowTitle(), kz::kAppTitle + QStringLiteral(" [new question]"));
    QString variant(81, QLatin1Char('0'));
    for (int n = 1; n <= kz::kCellCount; ++n) {
        // Turned left: row r, column c comes from row c, column 8 - r of the old grid.
        const int r = (n - 1) / 9;
        const int c = (n - 1) % 9;
        const int d = digitAt(kPuzzle, 9 * c + (8 - r) + 1);
        variant[n - 1] = QChar(u'0' + (d == 0 ? 0 : (d + 8 - 1) % 9 + 1));
    }
    QCOMPARE(digits(), variant);

    // The variant is still a proper problem.
    trigger("mnAnalyze");
    QCOMPARE(
        port.lastMessage(),
        QStringLiteral("【問題の完全性：検証結果】\r\nただ一つだけの解を持つ完成した問題です！"));

    // The posting string of the variant, selected in the dialog.
    QString posted;
    port.dialogScripts.push_back([&posted](QDialog& d) {
        auto* text = d.findChild<QLineEdit*>(QStringLiteral("Text1"));
        posted = text->selectedText();
        QTest::keyClick(text, Qt::Key_Escape);
        return d.result();
    });
    trigger("mnSave_1");
    QCOMPARE(posted, variant);
    QVERIFY(win.tag().isEmpty());
    QVERIFY(port.unexpected.isEmpty());
}

QTEST_MAIN(RoundTripTest)
#include "roundtrip_test.moc"
