// SPDX-License-Identifier: MIT
// The player's records: one line for every finished game of a new puzzle (by its level) or of
// a problem file, kept under the user's data directory. The file starts with its version, so
// that a later program can read it and an older one refuses it instead of misreading it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kz {

struct GameRecord {
    std::int64_t finishedAt = 0;  ///< seconds since the epoch
    int level = 0;                ///< 1..6 for a new puzzle, 0 for a problem file
    std::int64_t seconds = 0;     ///< the time taken, pauses left out
    int hints = 0;                ///< hints asked for
    int answers = 0;              ///< cells whose answer was revealed
    bool notes = false;           ///< notes were written
    /// Helped: a hint or a revealed answer.
    bool helped() const { return hints > 0 || answers > 0; }
    friend bool operator==(const GameRecord&, const GameRecord&) = default;
};

/// Lines beyond this are not read: a file of that size was not written by the program.
inline constexpr std::size_t kMaxRecords = 100000;

std::string FormatRecords(const std::vector<GameRecord>& records);
/// Fills `records` from `text`; on failure returns the reason and leaves `records` alone.
std::optional<std::string> ParseRecords(std::string_view text, std::vector<GameRecord>& records);

/// $XDG_DATA_HOME/kazarinoset/records.txt, else ~/.local/share/kazarinoset/records.txt;
/// empty without either.
std::filesystem::path RecordsPath();
/// A missing file is no records; an unreadable or damaged one is a reason.
std::optional<std::string> ReadRecords(const std::filesystem::path& path,
                                       std::vector<GameRecord>& records);
/// Written atomically; on failure the old file stays and the reason is returned.
std::optional<std::string> WriteRecords(const std::filesystem::path& path,
                                        const std::vector<GameRecord>& records);

/// What the records say of one level (0: problem files).
struct LevelSummary {
    int finished = 0;
    std::optional<std::int64_t> bestPlain, medianPlain;    ///< without hints or answers
    std::optional<std::int64_t> bestHelped, medianHelped;  ///< with some help
};
LevelSummary Summarise(const std::vector<GameRecord>& records, int level);

}  // namespace kz
