// SPDX-License-Identifier: MIT
// Fuzzes the rating and the explanation with arbitrary boards: clashes, nearly empty boards,
// boards with several solutions or none. Whatever the board, no crash and no endless search;
// on a board with one solution every step of the path must hold against that solution, and
// every step must have its sentence in both languages.
// Input: the first 81 bytes are the cells in order, '1'..'9' a digit and anything else a
// blank (so the public puzzle lines serve as seeds); missing cells are blank. A letter after
// them, a to z, sets a budget of 100 << (letter − a) for the nested chains' searches (none: the
// default), so that the hardest seeds reach those levels and also run out of their budget part way.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/answer.h"
#include "fuzz/check.h"
#include "logic/describe.h"
#include "logic/solver.h"

namespace {

using namespace kz::logic;

// The path as a person would walk it from the givens: each placement the solution's digit,
// no removal of the solution's digit, each step a change.
void checkPath(const Digits& givens, const Digits& solution, const Rating& rating,
               const Path& path) {
    std::optional<State> state = State::FromDigits(givens);
    KZ_FUZZ_CHECK(state.has_value());
    std::array<int, kTechniqueCount> counts{};
    int hardestWeight = 0;
    for (const Step& step : path.steps) {
        for (const Placement& p : step.placements) {
            KZ_FUZZ_CHECK(p.cell >= 0 && p.cell < 81 && solution[p.cell] == p.digit);
        }
        for (const Elimination& e : step.eliminations) {
            KZ_FUZZ_CHECK(e.cell >= 0 && e.cell < 81 && e.digit >= 1 && e.digit <= 9);
            KZ_FUZZ_CHECK(solution[e.cell] != e.digit);
        }
        KZ_FUZZ_CHECK(state->Apply(step));
        ++counts[static_cast<int>(step.technique)];
        const TechniqueInfo& info = Info(step.technique);
        hardestWeight = std::max(hardestWeight, info.weight);
        for (const Lang lang : {Lang::English, Lang::Japanese}) {
            const std::string text = Describe(step, lang);
            const std::string_view name = lang == Lang::English ? info.english : info.japanese;
            KZ_FUZZ_CHECK(text.size() > name.size() + 2 && text.compare(0, name.size(), name) == 0);
        }
    }
    KZ_FUZZ_CHECK(path.solved && state->Values() == solution && path.end.Values() == solution);
    KZ_FUZZ_CHECK(counts == rating.counts);
    // A search that ran out of its budget says so in the guess it left the board to, and only
    // then does a guess carry a note; a rated nested chain is on the community's scale.
    bool budgetGuess = false;
    for (const Step& step : path.steps) {
        KZ_FUZZ_CHECK(step.chain.empty() || step.technique != Technique::Guess ||
                      step.chain == "budget");
        budgetGuess |= step.technique == Technique::Guess && !step.chain.empty();
        const bool nested =
            step.technique >= Technique::ForcingChainPlus && step.technique < Technique::Guess;
        KZ_FUZZ_CHECK(!nested || (StepDifficulty(step) >= Info(step.technique).ser &&
                                  StepDifficulty(step) <= Info(step.technique).ser + 30));
    }
    KZ_FUZZ_CHECK(budgetGuess == rating.outOfBudget);
    KZ_FUZZ_CHECK(rating.level >= 1 && rating.level <= kMaxLevel);
    if (path.steps.empty()) {
        KZ_FUZZ_CHECK(rating.level == 1 && rating.score == 0);
        return;
    }
    KZ_FUZZ_CHECK(rating.level == path.level);
    KZ_FUZZ_CHECK(Info(rating.hardest).weight == hardestWeight);
    KZ_FUZZ_CHECK(rating.score >= 100 * hardestWeight &&
                  rating.score <= 100 * hardestWeight + kMaxHardSteps);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Digits givens{};
    for (std::size_t i = 0; i < size && i < givens.size(); ++i) {
        if (data[i] >= '1' && data[i] <= '9') givens[i] = static_cast<std::uint8_t>(data[i] - '0');
    }
    const std::uint8_t tail = size > givens.size() ? data[givens.size()] : 0;
    const std::size_t budget =
        tail >= 'a' && tail <= 'z' ? std::size_t{100} << (tail - 'a') : kNestedBudget;
    Path path;
    const Rating rating = Rate(givens, &path, budget);
    const std::optional<Digits> solution = UniqueSolution(givens);
    KZ_FUZZ_CHECK((rating.verifyCode == kz::VerifyUnique) == solution.has_value());
    if (solution) checkPath(givens, *solution, rating, path);
    return 0;
}
