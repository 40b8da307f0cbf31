// SPDX-License-Identifier: MIT
// The program's name as every message box and window title shows it.
#pragma once

#include <QString>

namespace kz {

/// Fixed here rather than read from QCoreApplication, whose name is empty in widget tests.
inline const QString kAppTitle = QStringLiteral("Kazarinoset");

}  // namespace kz
