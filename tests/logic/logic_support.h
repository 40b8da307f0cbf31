// SPDX-License-Identifier: MIT
// Boards for the logic tests: 81-character lines from the public sets.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "logic/state.h"

namespace kz::logic::test {

inline Digits ParseDigits(const std::string& line) {
    Digits d{};
    for (int c = 0; c < 81; ++c) d[c] = line[c] >= '1' && line[c] <= '9' ? line[c] - '0' : 0;
    return d;
}

/// The first `limit` boards of a public set in tests/data.
inline std::vector<Digits> ReadSet(const std::string& name, std::size_t limit = SIZE_MAX) {
    std::ifstream in(std::string(KZ_TEST_DATA_DIR) + "/" + name);
    std::vector<Digits> boards;
    for (std::string line; boards.size() < limit && std::getline(in, line);) {
        if (line.size() >= 81 && line[0] != '#') boards.push_back(ParseDigits(line));
    }
    return boards;
}

}  // namespace kz::logic::test
