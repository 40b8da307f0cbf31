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

/// Where the instance lock lives: the user's runtime directory, else a per-user name in the
/// temporary directory.
QString DefaultLockPath();

/// Takes the instance lock. When another running instance holds it, shows the refusal (error
/// icon, caption title + " Form_Load Error") and returns false. A lock left by a process that
/// no longer runs is taken over. When the lock file cannot be written at all the program
/// runs anyway: an unwritable directory must not keep the user out.
bool ClaimSingleInstance(QLockFile& lock, UiPort& port);

}  // namespace kz
