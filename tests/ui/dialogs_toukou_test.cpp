// SPDX-License-Identifier: MIT
// The posting-string dialog: the string is shown selected, selected again whenever the
// focus comes back, and only Esc or the button closes the dialog.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <cstdlib>
#include <memory>

#include "ui/dialogs/frmtoukou.h"

namespace {

const QString kBoard = QStringLiteral(
    "530070000600195000098000060800060003400803001700020006060000280000419005000080079");

}  // namespace

class ToukouDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kz::frmToukou> m_dialog;

    void open() {
        m_dialog = std::make_unique<kz::frmToukou>(kBoard);
        m_dialog->show();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }
    QLineEdit* text() const { return m_dialog->findChild<QLineEdit*>("Text1"); }
    QPushButton* button() const { return m_dialog->findChild<QPushButton*>("cmdCancel"); }

private slots:
    void cleanup() { m_dialog.reset(); }

    void opensWithTheStringSelected() {
        open();
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("専用掲示板へ問題を投稿するために"));
        QCOMPARE(m_dialog->size(), QSize(630, 126));
        QCOMPARE(m_dialog->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("下の文字列を専用掲示板の「記事の投稿：問題欄」へ、"
                                "貼り付け（ベースト）してください"));
        QCOMPARE(button()->text(), QStringLiteral("閉じる"));
        QCOMPARE(text()->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        // 9.75 pt, or less where a substitute font would not show the whole string.
        QVERIFY(text()->font().pointSizeF() <= 9.75);
        QVERIFY(QFontMetrics(text()->font()).horizontalAdvance(kBoard) < text()->width());
        QVERIFY(text()->hasFocus());
        QCOMPARE(text()->text(), kBoard);
        QCOMPARE(text()->selectedText(), kBoard);
    }

    void returningFocusSelectsAll_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("shift+tab back from the button") << true;
        QTest::newRow("focus set by the program") << false;
    }
    void returningFocusSelectsAll() {
        QFETCH(bool, byKey);
        open();
        text()->setSelection(3, 4);
        QTest::keyClick(text(), Qt::Key_Tab);
        QVERIFY(button()->hasFocus());
        if (byKey)
            QTest::keyClick(button(), Qt::Key_Backtab, Qt::ShiftModifier);
        else
            text()->setFocus(Qt::OtherFocusReason);
        QVERIFY(text()->hasFocus());
        QCOMPARE(text()->selectedText(), kBoard);
    }

    void centredOnTheScreenNotOnTheOwner() {
        QWidget owner;
        owner.setGeometry(0, 0, 120, 90);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        kz::frmToukou dialog(kBoard, &owner);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // Within a window frame's width: the frame is unknown until the dialog is shown.
        const QPoint offset =
            dialog.geometry().center() - owner.screen()->availableGeometry().center();
        QVERIFY2(std::abs(offset.x()) <= 8 && std::abs(offset.y()) <= 8,
                 qPrintable(QStringLiteral("off by %1, %2").arg(offset.x()).arg(offset.y())));
    }

    void onlyEscapeOrTheButtonClose_data() {
        QTest::addColumn<int>("how");  // 0 Enter in the text, 1 Esc, 2 the button
        QTest::addColumn<bool>("closes");
        QTest::newRow("enter") << 0 << false;
        QTest::newRow("escape") << 1 << true;
        QTest::newRow("button") << 2 << true;
    }
    void onlyEscapeOrTheButtonClose() {
        QFETCH(int, how);
        QFETCH(bool, closes);
        open();
        if (how == 0) QTest::keyClick(text(), Qt::Key_Return);
        if (how == 1) QTest::keyClick(text(), Qt::Key_Escape);
        if (how == 2) QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(m_dialog->isVisible(), !closes);
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(ToukouDialogTest)
#include "dialogs_toukou_test.moc"
