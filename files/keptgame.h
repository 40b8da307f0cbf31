// SPDX-License-Identifier: MIT
// The game kept aside (module `keptgame`): everything needed to take a game up again after
// the window closed or the program died, as one small versioned text file in the user's
// state folder, written atomically after every change.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/board.h"
#include "files/fileio.h"
#include "history/undodata.h"

namespace kz {

struct KeptGame {
    /// The puzzle the game came from (its givens as they came, 0 = blank), or none for a
    /// board typed by hand, which is its own puzzle.
    std::optional<std::array<std::uint8_t, kCellCount>> puzzle;
    /// Every cell's digit, kind (given or not) and mark; entry 0 unused.
    Board board{};
    NoteArray notes{};
    UndoData::Snapshot history;
    /// Seconds already spent on a timed problem; none while nothing is timed.
    std::optional<std::int64_t> elapsedSeconds;
    /// What the window's caption shows after the program's name, as UTF-8 (" [name.csv]",
    /// " [新しい問題 上級]", or empty). Written safe: see SafeKeptGame.
    std::string caption;

    friend bool operator==(const KeptGame&, const KeptGame&) = default;
};

/// The reader's bounds: a kept game larger than this, or a history longer, is refused.
inline constexpr std::size_t kMaxKeptGameBytes = 16u << 20;
inline constexpr std::size_t kMaxKeptCaptionBytes = 1024;

/// The game as the reader accepts it: a caption of any bytes made into one line of text
/// within kMaxKeptCaptionBytes, and the time spent within the reader's range.
KeptGame SafeKeptGame(KeptGame game);
/// The file's text, of SafeKeptGame(game); ParseKeptGame then gives back SafeKeptGame(game).
std::string FormatKeptGame(const KeptGame& game);
/// Reads a kept game's text. Anything damaged, truncated, of another version or out of
/// range fails with a message, and `game` is left unchanged.
FileResult ParseKeptGame(std::string_view text, KeptGame& game);

/// `$XDG_STATE_HOME/kazarinoset/game.txt`, or `~/.local/state/kazarinoset/game.txt` when the
/// variable is unset, empty or not absolute; empty when neither can be worked out.
std::filesystem::path KeptGamePath();
/// `$<variable>/kazarinoset/<name>`, or `~/<underHome>/kazarinoset/<name>` when the variable
/// is unset, empty or not absolute; empty when neither can be worked out.
std::filesystem::path XdgFilePath(const char* variable, const std::filesystem::path& underHome,
                                  const std::filesystem::path& name);
/// Writes atomically, making the folder when needed; on failure the old file is intact.
FileResult WriteKeptGame(const std::filesystem::path& path, const KeptGame& game);
/// The same, for a text FormatKeptGame made (the window makes it, a writer thread writes it).
FileResult WriteKeptGameText(const std::filesystem::path& path, std::string_view text);
/// Reads at most kMaxKeptGameBytes; a missing file fails with an empty error text.
FileResult ReadKeptGame(const std::filesystem::path& path, KeptGame& game);
/// Moves a kept game that could not be read out of the way ("game.txt" to
/// "game.txt.damaged-<n>", never over an earlier one), so that it is neither offered again
/// nor lost. Returns the new name, empty when it could not be moved.
std::filesystem::path SetAsideKeptGame(const std::filesystem::path& path);

}  // namespace kz
