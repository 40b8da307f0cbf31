// SPDX-License-Identifier: MIT
// The visible clock of the game in progress and its pause: a line under the palette updated
// every second, and a cover over the grid while the game is paused. Pausing moves the game's
// start on by the time paused, so the clock, the kept game and the congratulation agree.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QLabel;
class QTimer;
class QWidget;

namespace kz {

class ClickLabel;
class Game;

class PlayClock : public QObject {
    Q_OBJECT
public:
    /// The clock's line is placed at `lineTop` of the client; the cover lies over `grid`.
    using NowFn = std::function<std::int64_t()>;
    PlayClock(QWidget* client, const QRect& grid, int lineTop, Game& game, NowFn now);

    /// The clock's line shown and kept up to date, or hidden.
    void setShown(bool on);
    bool shown() const { return m_shown; }
    /// The line's height while shown: what the window grows by.
    static int lineHeight();

    void pause();
    void resume();
    bool paused() const { return m_paused; }
    /// The time the game's clock reads: the port's, but held still while paused.
    std::int64_t gameNow() const;
    /// Rewrites the line from the game's clock.
    void refresh();

signals:
    void pausedChanged(bool paused);

private:
    Game& m_game;
    NowFn m_now;
    QLabel* m_line = nullptr;
    ClickLabel* m_cover = nullptr;
    QTimer* m_timer = nullptr;
    bool m_shown = false;
    bool m_paused = false;
    std::int64_t m_pausedAt = 0;
    std::uint64_t m_pausedSerial = 0;
};

/// "H:MM:SS" for whole seconds.
QString ClockText(std::int64_t seconds);

}  // namespace kz
