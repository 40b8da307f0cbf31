// SPDX-License-Identifier: MIT
// Fuzzes the generator with arbitrary levels, symmetries, seeds, tiny budgets and a cancel at
// an arbitrary attempt. A puzzle that comes must have one solution, be minimal and symmetric
// and be rated as it says at the level asked; one that does not come must say why honestly:
// the budget spent, the cancel seen or a level that does not exist.
// Input: byte 0 the level (-1..7), byte 1 the symmetry (its row in the table), byte 2 the
// budget (1..4 attempts), byte 3 the attempt after which to cancel (0 never), bytes 4..11 the
// seed; missing bytes are zero.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "core/answer.h"
#include "fuzz/check.h"
#include "generate/generator.h"

namespace {

using namespace kz;

int verify(const logic::Digits& digits) {
    ValueArray16 values{};
    for (int c = 0; c < 81; ++c) values[c + 1] = digits[c];
    return Solver().VerifyProblem(values);
}

void checkPuzzle(const generate::Request& request, const generate::Puzzle& puzzle) {
    KZ_FUZZ_CHECK(logic::UniqueSolution(puzzle.givens) == puzzle.solution);
    for (int c = 0; c < 81; ++c) {
        KZ_FUZZ_CHECK(puzzle.givens[c] == 0 || puzzle.givens[c] == puzzle.solution[c]);
    }
    // Symmetric: an orbit is given whole or not at all. Minimal: no given orbit can go.
    for (const std::vector<int>& orbit : generate::Orbits(request.symmetry)) {
        const bool given = puzzle.givens[orbit.front()] != 0;
        logic::Digits fewer = puzzle.givens;
        for (const int c : orbit) {
            KZ_FUZZ_CHECK((puzzle.givens[c] != 0) == given);
            fewer[c] = 0;
        }
        if (given) KZ_FUZZ_CHECK(verify(fewer) == VerifyMultiple);
    }
    const logic::Rating rating = logic::Rate(puzzle.givens);
    KZ_FUZZ_CHECK(rating.verifyCode == VerifyUnique && rating.level == puzzle.rating.level &&
                  rating.score == puzzle.rating.score);
    if (request.level != 0) KZ_FUZZ_CHECK(rating.level == request.level);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t bytes[12] = {};
    for (std::size_t i = 0; i < size && i < sizeof bytes; ++i) bytes[i] = data[i];
    generate::Request request;
    request.level = bytes[0] % 9 - 1;
    request.symmetry = generate::kSymmetries[bytes[1] % generate::kSymmetries.size()].symmetry;
    request.maxAttempts = 1 + bytes[2] % 4;
    const int cancelAfter = bytes[3] % 5;
    std::uint64_t seed = 0;
    for (int i = 4; i < 12; ++i) seed = seed << 8 | bytes[i];

    std::mt19937_64 random(seed);
    std::atomic<bool> cancel{false};
    int calls = 0;
    const generate::Result result = generate::Generate(request, random, &cancel, [&](int attempts) {
        KZ_FUZZ_CHECK(attempts == ++calls);
        if (attempts == cancelAfter) cancel = true;
    });
    if (request.level < 0 || request.level > logic::kMaxLevel) {
        KZ_FUZZ_CHECK(!result.puzzle && result.attempts == 0 && !result.cancelled);
        return 0;
    }
    KZ_FUZZ_CHECK(result.budget == generate::AttemptBudget(request));
    KZ_FUZZ_CHECK(result.attempts >= 0 && result.attempts <= result.budget);
    if (result.puzzle) {
        KZ_FUZZ_CHECK(!result.cancelled && result.attempts >= 1);
        KZ_FUZZ_CHECK(cancelAfter == 0 || result.attempts < cancelAfter);
        checkPuzzle(request, *result.puzzle);
    } else if (result.cancelled) {
        KZ_FUZZ_CHECK(cancelAfter != 0 && result.attempts == cancelAfter);
    } else {
        KZ_FUZZ_CHECK(result.attempts == result.budget);
    }
    return 0;
}
