// SPDX-License-Identifier: MIT
// The main window's file, check, answer, verification, variant, options and posting commands.
