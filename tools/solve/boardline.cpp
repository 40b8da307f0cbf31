// SPDX-License-Identifier: MIT
// Board lines of the command-line checker.
#include "tools/solve/boardline.h"

#include <algorithm>
#include <vector>

namespace kz {

namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::size_t kNoteChars = 9 * static_cast<std::size_t>(kCellCount);

bool ParseNotes(std::string_view text, NoteArray& notes) {
    if (text.size() != kNoteChars) return false;
    NoteArray parsed{};
    for (std::size_t i = 0; i < kNoteChars; ++i) {
        const int digit = static_cast<int>(i % 9) + 1;
        if (text[i] == '0' + digit) {
            parsed[i / 9 + 1] |= NoteBit(digit);
        } else if (text[i] != '.') {
            return false;
        }
    }
    notes = parsed;
    return true;
}

}  // namespace

BoardLineKind ParseBoardLine(std::string_view line, ValueArray16& values) {
    const auto first = line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return BoardLineKind::Skip;
    line = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
    if (line.front() == '#') return BoardLineKind::Skip;
    if (line.size() != static_cast<std::size_t>(kCellCount)) return BoardLineKind::Malformed;
    ValueArray16 parsed{};
    for (int n = 1; n <= kCellCount; ++n) {
        const char ch = line[n - 1];
        if (ch >= '1' && ch <= '9') {
            parsed[n] = static_cast<std::int16_t>(ch - '0');
        } else if (ch != '0' && ch != '.') {
            return BoardLineKind::Malformed;
        }
    }
    values = parsed;
    return BoardLineKind::Board;
}

BoardLineKind ParseHintLine(std::string_view line, HintLine& out) {
    std::vector<std::string_view> fields;
    for (std::size_t at = line.find_first_not_of(kBlanks); at != std::string_view::npos;) {
        const std::size_t end = std::min(line.find_first_of(kBlanks, at), line.size());
        fields.push_back(line.substr(at, end - at));
        at = line.find_first_not_of(kBlanks, end);
    }
    if (fields.empty() || fields.front().front() == '#') return BoardLineKind::Skip;
    HintLine parsed;
    const bool ok = (fields.size() == 2 || fields.size() == 3) &&
                    ParseBoardLine(fields[0], parsed.puzzle) == BoardLineKind::Board &&
                    ParseBoardLine(fields[1], parsed.board) == BoardLineKind::Board &&
                    (fields.size() == 2 || ParseNotes(fields[2], parsed.notes));
    if (!ok) return BoardLineKind::Malformed;
    out = parsed;
    return BoardLineKind::Board;
}

}  // namespace kz
