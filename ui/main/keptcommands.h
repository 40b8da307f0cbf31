// SPDX-License-Identifier: MIT
// The window's kept games: the game in progress handed to the writer once a command that
// changed it is over and when the window closes, the list of games on offer, and taking one
// of them up. Every message goes through the port.
#pragma once

#include <QObject>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "files/keptgame.h"

class QMenu;
class QTimer;

namespace kz {

class Game;
class GameKeeper;
class UiPort;

class KeptGameCommands : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        /// The time played of the game, in milliseconds (held still while paused).
        std::function<std::int64_t()> gameNowMs;
        /// The games on offer may have changed.
        std::function<void()> offerChanged;
        /// The player chose a game from the list.
        std::function<void(const std::filesystem::path&)> resume;
    };

    /// The port and the game must outlive the commands.
    KeptGameCommands(UiPort& port, Game& game, Hooks hooks);
    /// Waits for the writer, which writes what it was last handed.
    ~KeptGameCommands() override;

    /// Where the game in progress is kept; empty keeps nothing.
    void setPath(const std::filesystem::path& path);
    /// Fills `menu` with the games on offer each time it opens.
    void attachList(QMenu* menu);

    /// True while a game other than this one is on offer, as last looked up.
    bool offered() const { return m_offered; }
    /// Looks the games on offer up again.
    void refresh();
    /// The game 前回の続きを開く takes up.
    std::optional<std::filesystem::path> newest() const;

    /// A change: the game is kept once the current command is over, so that a command that
    /// changes many cells writes once.
    void schedule();
    /// Hands the game to the writer now, if it changed.
    void keep();
    /// keep, then waits until the file is written; a failed write is tried once more.
    void flush();
    KeptGame current() const;

    /// Takes up the game kept in `file` as the next game, at `nowMs`; false, after telling the
    /// player why when there is something to tell, when it cannot be read.
    bool takeUp(const std::filesystem::path& file, std::int64_t nowMs);

private:
    void fillList(QMenu* menu);
    void reportFailure(const std::string& error);

    UiPort& m_port;
    Game& m_game;
    Hooks m_hooks;
    std::unique_ptr<GameKeeper> m_keeper;
    QTimer* m_timer = nullptr;
    bool m_offered = false;
    bool m_failureShown = false;
};

}  // namespace kz
