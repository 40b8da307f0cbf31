// SPDX-License-Identifier: MIT
#include "game/records.h"

#include "files/keptgame.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/atomicfile.h"

namespace kz {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "kazarinoset records 1";
constexpr std::size_t kMaxBytes = 8u << 20;

bool number(std::string_view& line, std::int64_t low, std::int64_t high, std::int64_t& out) {
    const std::size_t end = std::min(line.find(' '), line.size());
    const std::string_view field = line.substr(0, end);
    // One spelling per value: no sign, no leading zero.
    if (field.empty() || field[0] < '0' || field[0] > '9' || (field.size() > 1 && field[0] == '0'))
        return false;
    const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), out);
    if (ec != std::errc() || ptr != field.data() + field.size()) return false;
    // A space parts two fields: one at the end of the line would be a second spelling.
    if (end + 1 == line.size()) return false;
    line.remove_prefix(end == line.size() ? end : end + 1);
    return out >= low && out <= high;
}

std::optional<std::int64_t> median(std::vector<std::int64_t> v) {
    if (v.empty()) return std::nullopt;
    std::sort(v.begin(), v.end());
    const std::size_t mid = v.size() / 2;
    return v.size() % 2 == 1 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

}  // namespace

std::string FormatRecords(const std::vector<GameRecord>& records) {
    std::ostringstream out;
    out << kHeader << '\n';
    for (const GameRecord& r : records) {
        out << r.finishedAt << ' ' << r.level << ' ' << r.seconds << ' ' << r.hints << ' '
            << r.answers << ' ' << (r.notes ? 1 : 0) << '\n';
    }
    return out.str();
}

std::optional<std::string> ParseRecords(std::string_view text, std::vector<GameRecord>& records) {
    if (text.size() > kMaxBytes) return "the records file is too large";
    if (text.substr(0, kHeader.size() + 1) != std::string(kHeader) + '\n') {
        return "not a records file of this version";
    }
    text.remove_prefix(kHeader.size() + 1);
    std::vector<GameRecord> read;
    int lineNo = 1;
    while (!text.empty()) {
        ++lineNo;
        const std::size_t eol = text.find('\n');
        if (eol == std::string_view::npos) return "line " + std::to_string(lineNo) + " is cut off";
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol + 1);
        if (read.size() == kMaxRecords) return "more records than a file holds";
        std::int64_t at = 0, level = 0, seconds = 0, hints = 0, answers = 0, notes = 0;
        constexpr std::int64_t kMany = 1'000'000'000'000;
        if (!number(line, 0, kMany, at) || !number(line, 0, 6, level) ||
            !number(line, 0, kMany, seconds) || !number(line, 0, 100000, hints) ||
            !number(line, 0, 81, answers) || !number(line, 0, 1, notes) || !line.empty()) {
            return "line " + std::to_string(lineNo) + " is not a record";
        }
        read.push_back(GameRecord{at, int(level), seconds, int(hints), int(answers), notes == 1});
    }
    records = std::move(read);
    return std::nullopt;
}

fs::path RecordsPath() {
    return XdgFilePath("XDG_DATA_HOME", fs::path(".local") / "share", "records.txt");
}

std::optional<std::string> ReadRecords(const fs::path& path, std::vector<GameRecord>& records) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        records.clear();
        return std::nullopt;
    }
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > kMaxBytes) {
        return "the records file is not a file the program wrote";
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) return "the records file cannot be read";
    return ParseRecords(text.str(), records);
}

std::optional<std::string> WriteRecords(const fs::path& path,
                                        const std::vector<GameRecord>& records) {
    if (path.empty()) return "no place for the records (neither XDG_DATA_HOME nor HOME)";
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec) return ec.message();
    std::string error;
    if (!WriteFileAtomically(path, FormatRecords(records), &error)) return error;
    return std::nullopt;
}

LevelSummary Summarise(const std::vector<GameRecord>& records, int level) {
    LevelSummary s;
    std::vector<std::int64_t> plain, helped;
    for (const GameRecord& r : records) {
        if (r.level != level) continue;
        ++s.finished;
        (r.helped() ? helped : plain).push_back(r.seconds);
    }
    if (!plain.empty()) s.bestPlain = *std::min_element(plain.begin(), plain.end());
    if (!helped.empty()) s.bestHelped = *std::min_element(helped.begin(), helped.end());
    s.medianPlain = median(plain);
    s.medianHelped = median(helped);
    return s;
}

}  // namespace kz
