// SPDX-License-Identifier: MIT
// The kept game and the games on offer.
#include "game/keeper.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace kz {

namespace fs = std::filesystem;

namespace {

std::int64_t savedAt(const fs::path& file) {
    std::error_code ec;
    const auto time = fs::last_write_time(file, ec);
    if (ec) return 0;
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

bool isEmptyGame(const KeptGame& game) {
    if (!game.history.undo.empty() || !game.history.redo.empty()) return false;
    for (int n = 1; n <= kCellCount; ++n) {
        if (game.board[n].Value != 0 || game.notes[n] != 0) return false;
    }
    return true;
}

}  // namespace

std::size_t MovesOf(const KeptGame& game) {
    return static_cast<std::size_t>(
        std::count_if(game.history.undo.begin(), game.history.undo.end(),
                      [](const UndoEntry& e) { return e.record.Cell > 0 && !e.record.Note; }));
}

GameKeeper::GameKeeper(fs::path current, FailureListener onFailure)
    : m_current(std::move(current)),
      m_writer(std::make_unique<KeptGameWriter>(m_current, std::move(onFailure))) {}

GameKeeper::~GameKeeper() = default;

fs::path GameKeeper::recentFolder() const {
    return m_current.parent_path() / "recent";
}

bool GameKeeper::Keep(std::uint64_t serial, const KeptGame& game, bool finished) {
    const bool gone = finished || isEmptyGame(game);
    // A game cleared away leaves game.txt to the one before: that one is on offer now.
    bool listChanged = m_playing != serial;
    m_playing = serial;
    if (m_onDisk != serial) {
        // Not this game's file yet: an empty board or a finished game takes nothing away.
        if (gone) return listChanged;
        m_writer->Flush();
        archive();
        m_onDisk = serial;
        m_lastText.reset();
        listChanged = true;
    }
    // Nothing to take up again: no file (an empty text) rather than an empty board on offer.
    std::string text = gone ? std::string() : FormatKeptGame(game);
    // A write that failed is tried again with the next change, whatever it is.
    if (m_lastText == text && !m_writer->failed()) return listChanged;
    m_lastText = text;
    m_writer->Submit(std::move(text));
    return listChanged;
}

void GameKeeper::Flush() {
    m_writer->Flush();
}

void GameKeeper::archive() {
    std::error_code ec;
    if (!fs::exists(m_current, ec)) return;
    KeptGame game;
    // A damaged file is not a game to offer; the new game's file replaces it, as before.
    if (!ReadKeptGame(m_current, game).ok) return;
    const fs::path folder = recentFolder();
    fs::create_directories(folder, ec);
    // Named by the time of the game's last write, to the nanosecond, so that the names sort
    // as the games were played.
    const auto stamp =
        std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::file_clock::to_sys(fs::last_write_time(m_current, ec)).time_since_epoch())
            .count();
    for (int k = 0; k < 1000; ++k) {
        const fs::path target = folder / ("game-" + std::to_string(stamp) + "-" +
                                          std::to_string(1000 + k).substr(1) + ".txt");
        if (fs::exists(target, ec)) continue;
        fs::rename(m_current, target, ec);
        break;
    }
    prune();
}

void GameKeeper::prune() const {
    std::error_code ec;
    std::vector<std::pair<std::int64_t, fs::path>> files;
    for (const fs::directory_entry& e : fs::directory_iterator(recentFolder(), ec)) {
        if (e.path().extension() == ".txt") files.emplace_back(savedAt(e.path()), e.path());
    }
    if (files.size() <= kRecentGames) return;
    std::sort(files.begin(), files.end(), std::greater<>());
    for (std::size_t i = kRecentGames; i < files.size(); ++i) fs::remove(files[i].second, ec);
}

bool GameKeeper::earlierOnDisk(std::uint64_t playing) const {
    std::error_code ec;
    return m_onDisk != playing && fs::exists(m_current, ec);
}

std::vector<KeptEntry> GameKeeper::Offered(std::uint64_t playing) const {
    std::vector<fs::path> files;
    std::error_code ec;
    if (earlierOnDisk(playing)) files.push_back(m_current);
    for (const fs::directory_entry& e : fs::directory_iterator(recentFolder(), ec)) {
        if (e.path().extension() == ".txt") files.push_back(e.path());
    }
    std::vector<KeptEntry> entries;
    for (const fs::path& file : files) {
        KeptEntry entry{file, {}, savedAt(file)};
        if (ReadKeptGame(file, entry.game).ok) entries.push_back(std::move(entry));
    }
    // game.txt is the newest by construction; among the others the file times decide.
    std::sort(entries.begin(), entries.end(), [this](const KeptEntry& a, const KeptEntry& b) {
        const bool aCurrent = a.file == m_current;
        const bool bCurrent = b.file == m_current;
        if (aCurrent != bCurrent) return aCurrent;
        // Within one second the names, numbered as they were set aside, tell the order.
        return a.savedAt != b.savedAt ? a.savedAt > b.savedAt : a.file > b.file;
    });
    return entries;
}

std::optional<fs::path> GameKeeper::Newest(std::uint64_t playing) const {
    if (earlierOnDisk(playing)) return m_current;
    const std::vector<KeptEntry> entries = Offered(playing);
    if (entries.empty()) return std::nullopt;
    return entries.front().file;
}

FileResult GameKeeper::TakeUp(const fs::path& file, std::uint64_t serial, KeptGame& game,
                              fs::path& setAside) {
    // A write of this session still on its way would be read half done otherwise.
    m_writer->Flush();
    setAside.clear();
    const FileResult read = ReadKeptGame(file, game);
    if (!read.ok) {
        if (!read.error.empty()) setAside = SetAsideKeptGame(file);
        return read;
    }
    if (file != m_current) {
        archive();
        std::error_code ec;
        fs::rename(file, m_current, ec);
        if (ec) return {false, file.string() + ": " + ec.message()};
    }
    m_onDisk = serial;
    m_playing = serial;
    m_lastText = FormatKeptGame(game);
    return {true, {}};
}

}  // namespace kz
