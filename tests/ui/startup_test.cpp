// SPDX-License-Identifier: MIT
// The single-instance lock and the Japanese font fallbacks.
#include <QFile>
#include <QFontInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

#include "support/fakeport.h"
#include "ui/main/apptitle.h"
#include "ui/main/startup.h"

using kz::UiPort;
using kz::test::FakePort;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void secondInstanceRefused();
    void staleLockTakenOver();
    void unwritableLockPlaceDoesNotBlock();
    void lockPathIsPerUser();
    void japaneseFacesResolve();
};

void StartupTest::secondInstanceRefused() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("k.lock"));
    FakePort port;
    QLockFile first(path);
    QVERIFY(kz::ClaimSingleInstance(first, port));
    QVERIFY(port.messages.isEmpty());

    QLockFile second(path);
    QVERIFY(!kz::ClaimSingleInstance(second, port));
    QCOMPARE(port.messages.size(), 1);
    const FakePort::MessageCall& m = port.messages.first();
    QCOMPARE(m.text, kz::kAppTitle + QStringLiteral("は既に起動しています。"));
    QCOMPARE(m.caption, kz::kAppTitle + QStringLiteral(" Form_Load Error"));
    QVERIFY(m.icon == UiPort::Icon::Error);
    QVERIFY(m.buttons == UiPort::Buttons::Ok);

    // Once the first instance ends, the next start is let in.
    first.unlock();
    QLockFile third(path);
    QVERIFY(kz::ClaimSingleInstance(third, port));
    QCOMPARE(port.messages.size(), 1);
}

void StartupTest::staleLockTakenOver() {
    // A lock file left by a crashed process: its pid no longer runs.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("k.lock"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("2147483000\nkazarinoset\n\n");
    }
    FakePort port;
    QLockFile lock(path);
    QVERIFY(kz::ClaimSingleInstance(lock, port));
    QVERIFY(port.messages.isEmpty());
    QVERIFY(lock.isLocked());
}

void StartupTest::unwritableLockPlaceDoesNotBlock() {
    FakePort port;
    QLockFile lock(QStringLiteral("/nonexistent-kz-dir/sub/k.lock"));
    QVERIFY(kz::ClaimSingleInstance(lock, port));
    QVERIFY(port.messages.isEmpty());
}

void StartupTest::lockPathIsPerUser() {
    const QString path = kz::DefaultLockPath();
    QVERIFY(QFileInfo(path).isAbsolute());
    QVERIFY(path.contains(QStringLiteral("kazarinoset")));
}

void StartupTest::japaneseFacesResolve() {
    kz::InstallFontSubstitutions();
    QVERIFY(QFont::substitutes(QStringLiteral("ＭＳ ゴシック"))
                .contains(QStringLiteral("IPAGothic"), Qt::CaseInsensitive));
    QVERIFY(QFont::substitutes(QStringLiteral("ＭＳ Ｐゴシック"))
                .contains(QStringLiteral("IPAPGothic"), Qt::CaseInsensitive));
    // Half-width katakana need a face that has them.
    const QFont font(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    QVERIFY(QFontMetrics(font).inFont(QChar(0xFF8C)));  // ﾌ
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
