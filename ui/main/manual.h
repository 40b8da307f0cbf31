// SPDX-License-Identifier: MIT
// Where the manual lies: next to the program in the build tree, under the data or the
// documentation directory once installed.
#pragma once

#include <QUrl>

namespace kz {

/// The first manual that exists, or the one next to the program when none does.
QUrl ManualUrl();

}  // namespace kz
