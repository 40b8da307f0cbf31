// SPDX-License-Identifier: MIT
// Fuzzes the board-line parser of the command-line checker against a plain restatement of the
// line syntax it documents.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/board.h"
#include "fuzz/check.h"
#include "tools/solve/boardline.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    std::string_view body = line;
    while (!body.empty() && isBlank(body.front())) body.remove_prefix(1);
    while (!body.empty() && isBlank(body.back())) body.remove_suffix(1);

    kz::ValueArray16 before{};
    for (int n = 0; n < kz::kArraySize; ++n) before[n] = static_cast<std::int16_t>(-1 - n);
    kz::ValueArray16 values = before;
    const kz::BoardLineKind kind = kz::ParseBoardLine(line, values);

    // The hint mode's lines: a board line is never one, and a refused line leaves the output.
    kz::HintLine hint;
    hint.puzzle = before;
    const kz::BoardLineKind hintKind = kz::ParseHintLine(line, hint);
    KZ_FUZZ_CHECK(hintKind != kz::BoardLineKind::Board || kind != kz::BoardLineKind::Board);
    if (hintKind == kz::BoardLineKind::Malformed) KZ_FUZZ_CHECK(hint.puzzle == before);
    if (hintKind == kz::BoardLineKind::Board) KZ_FUZZ_CHECK(hint.puzzle[0] == 0);

    if (body.empty() || body.front() == '#') {
        KZ_FUZZ_CHECK(kind == kz::BoardLineKind::Skip);
        return 0;
    }
    bool board = body.size() == static_cast<std::size_t>(kz::kCellCount);
    for (std::size_t i = 0; board && i < body.size(); ++i) {
        board = (body[i] >= '0' && body[i] <= '9') || body[i] == '.';
    }
    if (!board) {
        KZ_FUZZ_CHECK(kind == kz::BoardLineKind::Malformed);
        KZ_FUZZ_CHECK(values == before);
        return 0;
    }
    KZ_FUZZ_CHECK(kind == kz::BoardLineKind::Board);
    KZ_FUZZ_CHECK(values[0] == 0);
    for (int n = 1; n <= kz::kCellCount; ++n) {
        const char c = body[static_cast<std::size_t>(n - 1)];
        KZ_FUZZ_CHECK(values[n] == (c == '.' ? 0 : c - '0'));
    }
    return 0;
}
