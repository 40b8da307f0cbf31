// SPDX-License-Identifier: MIT
// The program's own port: what its message boxes look like, and its random source.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "ui/main/qtport.h"

using kz::UiPort;

namespace {

/// Runs `inspect` on the modal widget of type T once its own event loop runs (a dialog closed
/// while exec() is still showing it would leave exec() waiting forever).
template <typename T>
void whenShown(std::function<void(T*)> inspect) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (w && QThread::currentThread()->loopLevel() > 0) {
            timer->stop();
            timer->deleteLater();
            inspect(w);
        }
    });
    timer->start(20);
}

}  // namespace

class QtPortTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxLook_data();
    void messageBoxLook();
    void randomIsHalfOpenAndVaries();
};

void QtPortTest::messageBoxLook_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("expectedIcon");
    QTest::addColumn<bool>("pressEscape");
    QTest::addColumn<int>("answer");
    QTest::newRow("ok, no icon") << int(UiPort::Buttons::Ok) << int(UiPort::Icon::None)
                                 << int(QMessageBox::NoIcon) << false << int(UiPort::Answer::Ok);
    QTest::newRow("error") << int(UiPort::Buttons::Ok) << int(UiPort::Icon::Error)
                           << int(QMessageBox::Critical) << false << int(UiPort::Answer::Ok);
    QTest::newRow("ok/cancel, cancelled")
        << int(UiPort::Buttons::OkCancel) << int(UiPort::Icon::Question)
        << int(QMessageBox::Question) << true << int(UiPort::Answer::Cancel);
    QTest::newRow("ok/cancel, confirmed")
        << int(UiPort::Buttons::OkCancel) << int(UiPort::Icon::None) << int(QMessageBox::NoIcon)
        << false << int(UiPort::Answer::Ok);
}

void QtPortTest::messageBoxLook() {
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QFETCH(int, expectedIcon);
    QFETCH(bool, pressEscape);
    QFETCH(int, answer);
    kz::QtPort port;
    QString text, title;
    int shownIcon = -1;
    QMessageBox::StandardButtons shownButtons;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        title = box->windowTitle();
        shownIcon = box->icon();
        shownButtons = box->standardButtons();
        if (pressEscape) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(QMessageBox::Ok)->click();
        }
    });
    const UiPort::Answer got =
        port.message(QStringLiteral("一行目\r\n二行目"), UiPort::Buttons(buttons),
                     UiPort::Icon(icon), QStringLiteral("Kazarinoset"));
    QCOMPARE(int(got), answer);
    QCOMPARE(text, QStringLiteral("一行目\n二行目"));
    QCOMPARE(title, QStringLiteral("Kazarinoset"));
    QCOMPARE(shownIcon, expectedIcon);
    const QMessageBox::StandardButtons want = buttons == int(UiPort::Buttons::Ok)
                                                  ? QMessageBox::Ok
                                                  : (QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(shownButtons, want);
}

void QtPortTest::randomIsHalfOpenAndVaries() {
    kz::QtPort port;
    double lowest = 1.0, highest = 0.0;
    for (int i = 0; i < 2000; ++i) {
        const double r = port.random();
        QVERIFY(r >= 0.0 && r < 1.0);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    // 2000 uniform draws all inside one tenth of the interval would mean a broken source.
    QVERIFY(highest - lowest > 0.9);
}

QTEST_MAIN(QtPortTest)
#include "qtport_test.moc"
