// SPDX-License-Identifier: MIT
// Fuzzes the solver with arbitrary boards and checks its two entry points against each other,
// on every engine code path the processor runs, which must all answer alike.
// Input: the first 81 bytes are the cells in order, '1'..'9' a digit and anything else a
// blank (so the public puzzle lines serve as seeds); missing cells are blank.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/answer.h"
#include "core/board.h"
#include "core/solver_engine.h"
#include "fuzz/check.h"

namespace {

bool breaksNoRule(const kz::ValueArray16& grid) {
    for (int n = 1; n <= kz::kCellCount; ++n) {
        if (grid[n] < 1 || grid[n] > 9) return false;
        if (!kz::CanPlace(grid, n, grid[n])) return false;
    }
    return true;
}

bool givensClash(const kz::ValueArray16& board) {
    for (int n = 1; n <= kz::kCellCount; ++n) {
        if (board[n] != 0 && !kz::CanPlace(board, n, board[n])) return true;
    }
    return false;
}

// Swapping digit d for 10 - d turns the smallest completion in cell order into the largest.
kz::ValueArray16 relabelled(const kz::ValueArray16& board) {
    kz::ValueArray16 out = board;
    for (int n = 1; n <= kz::kCellCount; ++n) {
        if (out[n] != 0) out[n] = static_cast<std::int16_t>(10 - out[n]);
    }
    return out;
}

// Runs one entry point and checks that it ended with the status text hidden and raised no
// internal-logic notice.
struct Observed {
    std::vector<std::string> progress;
    int notices = 0;
};

kz::Solver solverFor(Observed& seen) {
    return kz::Solver([&seen](std::string_view text) { seen.progress.emplace_back(text); },
                      [&seen](std::string_view) { ++seen.notices; });
}

void checkEpilogue(const Observed& seen) {
    KZ_FUZZ_CHECK(seen.notices == 0);
    KZ_FUZZ_CHECK(!seen.progress.empty() && seen.progress.back().empty());
    for (const std::string& text : seen.progress) {
        KZ_FUZZ_CHECK(text.empty() || text.rfind("\xe8\xa8\x88\xe7\xae\x97\xe4\xb8\xad", 0) == 0);
    }
}

bool solve(kz::ValueArray16& board) {
    Observed seen;
    kz::Solver solver = solverFor(seen);
    const kz::ValueArray16 before = board;
    const bool ok = solver.SolveBoard(board);
    checkEpilogue(seen);
    if (!ok) {
        KZ_FUZZ_CHECK(board == before);
        return false;
    }
    KZ_FUZZ_CHECK(breaksNoRule(board));
    for (int n = 1; n <= kz::kCellCount; ++n) {
        if (before[n] != 0) KZ_FUZZ_CHECK(board[n] == before[n]);
    }
    return true;
}

// What one code path answered.
struct Answers {
    bool solvable = false;
    kz::ValueArray16 solution{};
    int code = 0;
    bool operator==(const Answers&) const = default;
};

Answers check(const kz::ValueArray16& board) {
    Answers out;
    kz::ValueArray16 ascending = board;
    const bool solvable = solve(ascending);
    kz::ValueArray16 descending = relabelled(board);
    KZ_FUZZ_CHECK(solve(descending) == solvable);
    descending = relabelled(descending);

    Observed seen;
    kz::Solver solver = solverFor(seen);
    const int code = solver.VerifyProblem(board);
    checkEpilogue(seen);

    out = {solvable, ascending, code};
    if (givensClash(board)) {
        KZ_FUZZ_CHECK(!solvable && code == kz::VerifyContradiction);
        return out;
    }
    if (!solvable) {
        KZ_FUZZ_CHECK(code == kz::VerifyContradiction || code == kz::VerifyNoSolution);
        return out;
    }
    KZ_FUZZ_CHECK(ascending <= descending);
    KZ_FUZZ_CHECK(code == (ascending == descending ? kz::VerifyUnique : kz::VerifyMultiple));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kz::ValueArray16 board{};
    for (std::size_t i = 0; i < size && i < static_cast<std::size_t>(kz::kCellCount); ++i) {
        if (data[i] >= '1' && data[i] <= '9')
            board[i + 1] = static_cast<std::int16_t>(data[i] - '0');
    }
    static const std::vector<kz::engine::CodePath> paths = kz::engine::SupportedCodePaths();
    // The fastest path last, so that it stays selected between inputs as in the program.
    KZ_FUZZ_CHECK(kz::engine::SelectCodePath(paths.front()));
    const Answers first = check(board);
    // Every path runs the same checks, and answers as the first one did.
    for (std::size_t i = 1; i < paths.size(); ++i) {
        KZ_FUZZ_CHECK(kz::engine::SelectCodePath(paths[i]));
        KZ_FUZZ_CHECK(check(board) == first);
    }
    return 0;
}
