// SPDX-License-Identifier: MIT
// The window's problem files: the open and save dialogs, the files read and written, and what
// the player is told of it. The window decides what a board read or saved means for the game.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "core/board.h"

namespace kz {

class UiPort;

class ProblemFiles {
public:
    /// A problem read, with its caption " [name]": the file's name without its directory.
    struct Read {
        ValueArray16 values{};
        std::string caption;
    };

    /// The port must outlive the files.
    explicit ProblemFiles(UiPort& port) : m_port(port) {}

    /// The open dialog, then the file; nothing, after telling the player, when none was chosen
    /// or it cannot be read.
    std::optional<Read> read();
    /// The save dialog, then `values` written; the caption of the file written, or nothing when
    /// none was chosen or the write failed (the player is told).
    std::optional<std::string> save(const ValueArray16& values);

private:
    UiPort& m_port;
    /// The name the file dialogs leave behind; the open dialog starts from it.
    QString m_lastFileName;
};

}  // namespace kz
