// SPDX-License-Identifier: MIT
// Font fallbacks, the look every window shares, and the single-instance lock.
#include "ui/main/startup.h"

#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTranslator>

#include "ui/main/apptitle.h"
#include "ui/main/uiport.h"

namespace kz {

void InstallFontSubstitutions() {
    const QStringList fixed = {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                               QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
                               QStringLiteral("monospace")};
    const QStringList proportional = {
        QStringLiteral("IPAPGothic"),       QStringLiteral("IPAexGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
        QStringLiteral("IPAGothic"),        QStringLiteral("sans-serif")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), fixed);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
}

bool InstallProgramLook() {
    InstallFontSubstitutions();
    QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    // The file dialogs name the kinds of files in the default locale's language.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

QString DefaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QString name = QStringLiteral("kazarinoset.lock");
    if (dir.isEmpty()) {
        // The temporary directory is shared by every user of the machine.
        dir = QDir::tempPath();
        name = QStringLiteral("kazarinoset-%1.lock").arg(::getuid());
    }
    return QDir(dir).filePath(name);
}

bool ClaimSingleInstance(QLockFile& lock, UiPort& port) {
    // Held for the whole run, so age says nothing; only a dead owner makes a lock stale.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) return true;
    if (lock.error() != QLockFile::LockFailedError) return true;
    port.message(kAppTitle + QStringLiteral("は既に起動しています。"), UiPort::Buttons::Ok,
                 UiPort::Icon::Error, kAppTitle + QStringLiteral(" Form_Load Error"));
    return false;
}

}  // namespace kz
