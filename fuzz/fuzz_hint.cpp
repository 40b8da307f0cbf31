// SPDX-License-Identifier: MIT
// Fuzzes the hint with arbitrary puzzles, boards and notes: it must always answer, and on a
// puzzle with one solution its answer must hold against that solution.
// Input: up to three fields separated by blanks, as the checker's hint lines are: the puzzle,
// the board (81 characters each, '1'..'9' a digit, anything else a blank) and the notes (nine
// characters a cell, the k-th a digit for note k); missing characters are blank.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/answer.h"
#include "core/board.h"
#include "fuzz/check.h"
#include "logic/cellset.h"
#include "logic/hint.h"

namespace {

using kz::logic::Digits;

std::vector<std::string_view> fields(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    std::vector<std::string_view> out;
    for (std::size_t at = text.find_first_not_of(kBlanks); at != std::string_view::npos;) {
        const std::size_t end = std::min(text.find_first_of(kBlanks, at), text.size());
        out.push_back(text.substr(at, end - at));
        at = text.find_first_not_of(kBlanks, end);
    }
    return out;
}

bool isDigit(char c) {
    return c >= '1' && c <= '9';
}

Digits digitsOf(std::string_view field) {
    Digits d{};
    for (std::size_t c = 0; c < 81 && c < field.size(); ++c) {
        if (isDigit(field[c])) d[c] = static_cast<std::uint8_t>(field[c] - '0');
    }
    return d;
}

// The digits the row, column and box of c leave it on a board.
kz::NoteSet allowed(const Digits& board, int c) {
    kz::NoteSet free = kz::kAllNotes;
    kz::logic::kUnits.peers[c].ForEach([&](int p) {
        if (board[p]) free &= static_cast<kz::NoteSet>(~kz::NoteBit(board[p]));
    });
    return free;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> parts =
        fields(std::string_view(reinterpret_cast<const char*>(data), size));
    const Digits puzzle = digitsOf(parts.size() > 0 ? parts[0] : std::string_view());
    const Digits board = digitsOf(parts.size() > 1 ? parts[1] : std::string_view());
    kz::NoteArray notes{};
    const std::string_view noteText = parts.size() > 2 ? parts[2] : std::string_view();
    for (std::size_t i = 0; i < 729 && i < noteText.size(); ++i) {
        if (isDigit(noteText[i])) notes[i / 9 + 1] |= kz::NoteBit(static_cast<int>(i % 9) + 1);
    }

    const kz::logic::Hint hint = kz::logic::FindHint(puzzle, board, notes);
    KZ_FUZZ_CHECK((hint.kind == kz::logic::HintKind::Unsolvable) ==
                  (hint.verifyCode != kz::VerifyUnique));
    if (hint.kind == kz::logic::HintKind::Unsolvable) return 0;

    const Digits& solution = hint.solution;
    Digits on{};  // the board as the hint reads it
    std::vector<int> wrong;
    for (int c = 0; c < 81; ++c) {
        KZ_FUZZ_CHECK(solution[c] >= 1 && solution[c] <= 9);
        KZ_FUZZ_CHECK(!puzzle[c] || puzzle[c] == solution[c]);
        on[c] = board[c];  // a blank is a blank, a given the player erased too
        if (on[c] && on[c] != solution[c]) wrong.push_back(c);
    }
    for (int c = 0; c < 81; ++c) KZ_FUZZ_CHECK(allowed(solution, c) == kz::NoteBit(solution[c]));
    KZ_FUZZ_CHECK(hint.wrong == wrong);
    if (!wrong.empty()) {
        KZ_FUZZ_CHECK(hint.kind == kz::logic::HintKind::Wrong);
        return 0;
    }
    std::vector<kz::logic::CellDigit> missing;
    std::array<kz::NoteSet, 81> candidates{};
    bool anyNote = false;
    for (int c = 0; c < 81; ++c) {
        if (on[c]) continue;
        const kz::NoteSet mine = notes[c + 1];
        anyNote |= mine != 0;
        if (mine && !(mine & kz::NoteBit(solution[c]))) missing.push_back({c, solution[c]});
        candidates[c] = allowed(on, c) & (mine ? mine : kz::kAllNotes);
    }
    KZ_FUZZ_CHECK(hint.onNotes == anyNote);
    KZ_FUZZ_CHECK(hint.missing == missing);
    if (!missing.empty()) {
        KZ_FUZZ_CHECK(hint.kind == kz::logic::HintKind::Missing);
        return 0;
    }
    if (hint.kind == kz::logic::HintKind::Solved) {
        KZ_FUZZ_CHECK(on == solution);
        return 0;
    }
    KZ_FUZZ_CHECK(hint.kind == kz::logic::HintKind::Steps && !hint.steps.empty());
    KZ_FUZZ_CHECK(!anyNote || hint.steps.size() == 1);
    for (std::size_t i = 0; i < hint.steps.size(); ++i) {
        const kz::logic::Step& step = hint.steps[i];
        const bool last = i + 1 == hint.steps.size();
        KZ_FUZZ_CHECK(anyNote || last == !step.placements.empty());
        for (const kz::logic::Placement& p : step.placements)
            KZ_FUZZ_CHECK(p.digit == solution[p.cell]);
        for (const kz::logic::Elimination& e : step.eliminations)
            KZ_FUZZ_CHECK(e.digit != solution[e.cell]);
        // The first step works on the player's own candidates.
        if (i == 0) {
            for (const kz::logic::Placement& p : step.placements)
                KZ_FUZZ_CHECK(candidates[p.cell] & kz::NoteBit(p.digit));
            for (const kz::logic::Elimination& e : step.eliminations)
                KZ_FUZZ_CHECK(candidates[e.cell] & kz::NoteBit(e.digit));
        }
        for (int u : kz::logic::FocusOf(step).units) KZ_FUZZ_CHECK(u >= 0 && u < 27);
        KZ_FUZZ_CHECK(!kz::logic::DescribeFocus(step, kz::logic::Lang::Japanese).empty());
        KZ_FUZZ_CHECK(!kz::logic::Describe(step, kz::logic::Lang::English).empty());
    }
    return 0;
}
