// SPDX-License-Identifier: MIT
// Keeps games aside so that nothing a player does loses one: the game in progress is written
// after every change, and the games played before it stay on offer, newest first, until they
// are finished or pushed out by newer ones.
//
// On disk: the kept-game file (game.txt) holds the most recent game, and the folder "recent"
// beside it the earlier ones, each a kept-game file of its own. A game takes game.txt over
// only at its first change, after the one there moved to "recent"; so a stray click or a
// clear starts a new game without costing the one on offer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/keptgame.h"
#include "files/keptwriter.h"

namespace kz {

/// A game on offer, with what a list shows of it.
struct KeptEntry {
    std::filesystem::path file;
    KeptGame game;
    /// When it was last written, in seconds since the epoch.
    std::int64_t savedAt = 0;
};

/// Moves to "recent" takes place beyond this many games, the oldest going first.
inline constexpr std::size_t kRecentGames = 8;

/// The moves made in a game: its records that change a cell, markers and notes left out.
std::size_t MovesOf(const KeptGame& game);

class GameKeeper {
public:
    /// Told on the writer's thread of a write that failed.
    using FailureListener = KeptGameWriter::FailureListener;

    /// `current` is the kept-game file; the games on offer are read from beside it.
    GameKeeper(std::filesystem::path current, FailureListener onFailure);
    ~GameKeeper();
    GameKeeper(const GameKeeper&) = delete;
    GameKeeper& operator=(const GameKeeper&) = delete;

    const std::filesystem::path& path() const { return m_current; }
    /// Hands game number `serial` over to be written, unless it is what was last kept.
    /// Nothing for a game with nothing in it that is not on disk yet; a finished game or
    /// an emptied one leaves the list. True when the games on offer may have changed.
    bool Keep(std::uint64_t serial, const KeptGame& game, bool finished);
    /// Waits until everything handed over is on disk (or failed).
    void Flush();
    /// The games on offer other than game number `playing`, newest first; files that cannot
    /// be read are left out.
    std::vector<KeptEntry> Offered(std::uint64_t playing) const;
    /// The game 前回の続き takes up: game.txt while it holds an earlier game (even one that
    /// turns out damaged when read, so that the player hears of it), else the newest listed.
    std::optional<std::filesystem::path> Newest(std::uint64_t playing) const;
    /// Reads the game in `file` to take it up as game number `serial`: it becomes the kept
    /// game, and the one being played stays on offer. A file that cannot be read is set
    /// aside (its new name in `setAside`) and the error returned.
    FileResult TakeUp(const std::filesystem::path& file, std::uint64_t serial, KeptGame& game,
                      std::filesystem::path& setAside);

private:
    std::filesystem::path recentFolder() const;
    /// game.txt to "recent", when it holds a game that can be read; then the oldest beyond
    /// kRecentGames go.
    void archive();
    void prune() const;

    std::filesystem::path m_current;
    std::unique_ptr<KeptGameWriter> m_writer;
    /// The game whose file game.txt is; none while it holds an earlier session's game.
    std::optional<std::uint64_t> m_onDisk;
    /// The game being played, as last told.
    std::optional<std::uint64_t> m_playing;
    /// game.txt holds an earlier game than `playing`.
    bool earlierOnDisk(std::uint64_t playing) const;
    /// What was last handed to the writer.
    std::optional<std::string> m_lastText;
};

}  // namespace kz
