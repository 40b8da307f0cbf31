// SPDX-License-Identifier: MIT
// The window's records: a finished game of a new puzzle or a problem file is written to the
// records file, a new best time of a new puzzle is told in the congratulation, and 記録 shows
// each level's figures and the last ten games.
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>

class QWidget;

namespace kz {

class Game;
class UiPort;

class RecordBook {
public:
    /// The port and the game must outlive the book.
    RecordBook(UiPort& port, const Game& game) : m_port(port), m_game(game) {}

    /// Where finished games are recorded; empty (the default) records nothing.
    void setPath(const std::filesystem::path& path) { m_path = path; }
    /// The game now begun counts for the records: level 1..6 a new puzzle, 0 a file.
    void start(int level);
    /// A hint was shown in the game being played.
    void hintShown();
    /// At the congratulation: the finished game recorded, once; the line telling a new best
    /// time of a new puzzle, or nothing.
    QString finished(std::int64_t seconds);
    /// 記録: the figures in a dialog over `parent`.
    void show(QWidget* parent);

private:
    UiPort& m_port;
    const Game& m_game;
    std::filesystem::path m_path;
    std::uint64_t m_serial = 0;
    int m_level = -1;
    int m_hints = 0;
};

}  // namespace kz
