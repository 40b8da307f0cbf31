// SPDX-License-Identifier: MIT
#include "ui/main/manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kz {

QUrl ManualUrl() {
    const QDir appDir(QCoreApplication::applicationDirPath());
    // The install directories are relative to the prefix, or absolute when so configured.
    const QDir prefix(appDir.filePath(QStringLiteral("..")));
    const QStringList candidates = {
        appDir.filePath(QStringLiteral("manual.html")),
        prefix.filePath(QStringLiteral(KZ_INSTALL_DATADIR "/kazarinoset/manual.html")),
        prefix.filePath(QStringLiteral(KZ_INSTALL_DOCDIR "/manual.html")),
    };
    for (const QString& path : candidates) {
        if (QFileInfo::exists(path)) return QUrl::fromLocalFile(QDir::cleanPath(path));
    }
    return QUrl::fromLocalFile(QDir::cleanPath(candidates.first()));
}

}  // namespace kz
