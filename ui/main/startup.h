// SPDX-License-Identifier: MIT
// What the program does before its window exists: the Japanese font fallbacks and the refusal
// of a second running instance.
#pragma once

#include <QString>

class QLockFile;

namespace kz {

class UiPort;

/// The window's fonts are named after the classic Japanese gothic faces; map them, and the
/// face names the IPA fonts carry, to whatever installed gothic font has the half-width
/// katakana.
void InstallFontSubstitutions();

/// What every window of the program shares, set once on the application before any window
/// exists: the font fallbacks above, the main window's font for every window (dialogs and
/// message boxes included), and Qt's own texts (file dialogs, standard buttons) in Japanese
/// whatever the user's locale, since the program's own texts are Japanese. False when Qt's
/// Japanese translation is not installed; the program then runs with Qt's English texts.
bool InstallProgramLook();

/// Where the instance lock lives: the user's runtime directory, else a per-user name in the
/// temporary directory.
QString DefaultLockPath();

/// Takes the instance lock. When another running instance holds it, shows the refusal (error
/// icon, caption title + " Form_Load Error") and returns false. A lock left by a process that
/// no longer runs is taken over. When the lock file cannot be written at all the program
/// runs anyway: an unwritable directory must not keep the user out.
bool ClaimSingleInstance(QLockFile& lock, UiPort& port);

}  // namespace kz
