// SPDX-License-Identifier: MIT
// Board lines of the command-line checker.
#include "tools/solve/boardline.h"

namespace kz {

BoardLineKind ParseBoardLine(std::string_view line, ValueArray16& values) {
    constexpr std::string_view kBlanks = " \t\r";
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

}  // namespace kz
