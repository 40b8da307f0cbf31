// SPDX-License-Identifier: MIT
// The create-variant dialog driven through its widgets: the order of its checks, the shift
// amount's numeric rule, the zero-shift question, and what a confirmed choice stores.
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "settings/optionman.h"
#include "support/uitest.h"
#include "ui/dialogs/frmcreation.h"

namespace {

const QString kCannotCreate = QStringLiteral("別の新しい問題が作成できません");
const QString kBadShift = QStringLiteral("ｼﾌﾄ量の値は 1～8 に設定してください");
const QString kZeroShift =
    QStringLiteral("ｼﾌﾄ量が 0 なので数値は置き換えません\r\nよろしいですか？");

}  // namespace

class CreationDialogTest : public QObject, private kz::test::DialogFixture<kz::frmCreation> {
    Q_OBJECT

private:
    void choose(int location, int number, const QString& shift) {
        QTest::mouseClick(find<QRadioButton>(QStringLiteral("optLocation_%1").arg(location)),
                          Qt::LeftButton);
        QTest::mouseClick(find<QRadioButton>(QStringLiteral("optNumber_%1").arg(number)),
                          Qt::LeftButton);
        QLineEdit* text = find<QLineEdit>("txtShiftVal");
        text->clear();
        QTest::keyClicks(text, shift);
    }
    void pressOk() { QTest::mouseClick(find<QPushButton>("cmdOK"), Qt::LeftButton); }
    void expectRefused(const QString& message) {
        QCOMPARE(m_port->messages.size(), 1);
        QCOMPARE(m_port->messages.first().text, message);
        QCOMPARE(m_port->messages.first().buttons, kz::UiPort::Buttons::Ok);
        QCOMPARE(m_port->messages.first().icon, kz::UiPort::Icon::None);
        QCOMPARE(m_port->messages.first().caption, QStringLiteral("Kazarinoset"));
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(settingsPath()));
    }

private slots:
    void init() { initFixture(); }
    void cleanup() { cleanupFixture(); }

    void defaultsCannotCreate() {
        open();
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("同じﾚﾍﾞﾙの別問題の作成"));
        QCOMPARE(m_dialog->size(), QSize(326, 209));
        QVERIFY(find<QRadioButton>("optLocation_0")->isChecked());
        QVERIFY(find<QRadioButton>("optNumber_0")->isChecked());
        QCOMPARE(find<QLineEdit>("txtShiftVal")->text(), QStringLiteral("0"));
        QVERIFY(find<QPushButton>("cmdOK")->isDefault());
        pressOk();
        expectRefused(kCannotCreate);
    }

    void presetFromStoredChoice() {
        writeSettings("15,14,12,11,1,0,2,3,4,1,0,\r\n");
        open();
        QVERIFY(find<QRadioButton>("optLocation_2")->isChecked());
        QVERIFY(find<QRadioButton>("optNumber_3")->isChecked());
        QCOMPARE(find<QLineEdit>("txtShiftVal")->text(), QStringLiteral("4"));
    }

    void shiftAmountRule_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored");  // -1: refused
        QTest::newRow("letters, random relabel") << 1 << "abc" << -1;
        QTest::newRow("empty") << 1 << "" << -1;
        QTest::newRow("digits then letters") << 2 << "3x" << -1;
        QTest::newRow("nine") << 2 << "9" << -1;
        QTest::newRow("minus one") << 3 << "-1" << -1;
        QTest::newRow("past 16 bits") << 2 << "99999999999" << -1;
        QTest::newRow("8.5 rounds to even 8") << 2 << "8.5" << 8;
        QTest::newRow("8.6 rounds to 9") << 2 << "8.6" << -1;
        QTest::newRow("eight") << 2 << "8" << 8;
        QTest::newRow("zero, no relabel") << 0 << "0" << 0;
        QTest::newRow("2.5 to 2") << 3 << "2.5" << 2;
        QTest::newRow("3.5 to 4") << 3 << "3.5" << 4;
        QTest::newRow("blanks and sign") << 2 << " +5 " << 5;
        QTest::newRow("minus zero point four") << 1 << "-0.4" << 0;
    }
    void shiftAmountRule() {
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(int, stored);
        open();
        // A rotation, so that only the amount decides.
        choose(1, number, text);
        pressOk();
        if (stored < 0) {
            expectRefused(kBadShift);
            return;
        }
        QVERIFY(m_port->messages.isEmpty());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_options->GetOption(kz::OptVariantShift), stored);
        QCOMPARE(
            readSettings(),
            QStringLiteral("15,14,12,11,0,0,1,%1,%2,0,0,\r\n").arg(number).arg(stored).toLatin1());
    }

    void amountIsCheckedBeforeTheQuestion() {
        open();
        choose(0, 0, QStringLiteral("x"));
        pressOk();
        expectRefused(kCannotCreate);  // placement and relabel both "none" comes first
    }

    void zeroShiftWithRotationAsks_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("shift up, OK") << 2 << true;
        QTest::newRow("shift up, Cancel") << 2 << false;
        QTest::newRow("shift down, OK") << 3 << true;
    }
    void zeroShiftWithRotationAsks() {
        QFETCH(int, number);
        QFETCH(bool, confirm);
        open();
        choose(3, number, QStringLiteral("0"));
        m_port->messageAnswers.push_back(confirm ? kz::UiPort::Answer::Ok
                                                 : kz::UiPort::Answer::Cancel);
        pressOk();
        QCOMPARE(m_port->messages.size(), 1);
        QCOMPARE(m_port->messages.first().text, kZeroShift);
        QCOMPARE(m_port->messages.first().buttons, kz::UiPort::Buttons::OkCancel);
        QCOMPARE(m_port->messages.first().icon, kz::UiPort::Icon::None);
        if (confirm) {
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
            QCOMPARE(readSettings(),
                     QStringLiteral("15,14,12,11,0,0,3,%1,0,0,0,\r\n").arg(number).toLatin1());
        } else {
            QVERIFY(m_dialog->isVisible());
            QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
            QVERIFY(!QFile::exists(settingsPath()));
            QCOMPARE(m_options->GetOption(kz::OptVariantPlacement), 0);
        }
    }

    void zeroShiftWithoutPlacementIsRefusedWithoutQuestion() {
        open();
        choose(0, 3, QStringLiteral("0"));
        pressOk();
        expectRefused(kCannotCreate);
    }

    void confirmedChoiceKeepsOtherSlots() {
        writeSettings("1,2,3,4,1,5,0,0,0,1,9,\r\n");
        open();
        choose(5, 3, QStringLiteral("6"));
        QTest::keyClick(find<QLineEdit>("txtShiftVal"), Qt::Key_Return);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_options->GetOption(kz::OptVariantPlacement), 5);
        QCOMPARE(m_options->GetOption(kz::OptVariantNumber), 3);
        QCOMPARE(readSettings(), QByteArray("1,2,3,4,1,5,5,3,6,1,9,\r\n"));
    }

    void closingWithoutOkStoresNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("escape key") << true;
    }
    void closingWithoutOkStoresNothing() {
        QFETCH(bool, escape);
        const QByteArray before = "15,14,12,11,0,0,1,2,3,0,0,\r\n";
        writeSettings(before);
        open();
        choose(4, 3, QStringLiteral("7"));
        if (escape)
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(find<QPushButton>("cmdCancel"), Qt::LeftButton);
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(readSettings(), before);
        QCOMPARE(m_options->GetOption(kz::OptVariantShift), 3);
        QVERIFY(m_port->messages.isEmpty());
    }

    void shiftAmountIsSelectedOnFocus() {
        writeSettings("15,14,12,11,0,0,1,2,7,0,0,\r\n");
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        QLineEdit* text = find<QLineEdit>("txtShiftVal");
        find<QPushButton>("cmdCancel")->setFocus(Qt::OtherFocusReason);
        text->deselect();
        text->setFocus(Qt::OtherFocusReason);
        QVERIFY(text->hasFocus());
        QCOMPARE(text->selectedText(), QStringLiteral("7"));
    }
};

QTEST_MAIN(CreationDialogTest)
#include "dialogs_creation_test.moc"
