// SPDX-License-Identifier: MIT
// The puzzles and texts of a booklet.
#include "print/booklet.h"

#include <random>

#include "core/answer.h"
#include "logic/solver.h"
#include "logic/step.h"

namespace kz::print {

std::optional<Entry> RatedEntry(const logic::Digits& givens) {
    logic::Path path;
    const logic::Rating rating = logic::Rate(givens, &path);
    if (rating.verifyCode != VerifyUnique) return std::nullopt;
    Entry entry;
    entry.givens = givens;
    entry.solution = path.end.Values();
    entry.level = rating.level;
    entry.difficulty = rating.difficulty;
    return entry;
}

Made MakePuzzles(const Order& order, const GenerateFn& generate, const std::atomic<bool>* cancel,
                 const ProgressFn& progress) {
    Made made;
    std::mt19937_64 random(order.seed);
    while (static_cast<int>(made.puzzles.size()) < order.count) {
        generate::Result result = generate(order.request, random, cancel, {});
        if (result.cancelled || (cancel != nullptr && *cancel)) {
            made.cancelled = true;
            break;
        }
        if (!result.puzzle) {
            made.gaveUp = std::move(result);
            break;
        }
        const generate::Puzzle& p = *result.puzzle;
        made.puzzles.push_back({p.givens, p.solution, p.rating.level, p.rating.difficulty});
        if (progress) progress(static_cast<int>(made.puzzles.size()));
    }
    return made;
}

std::string TitleFor(const std::vector<Entry>& puzzles) {
    const std::string count = std::to_string(puzzles.size()) + "問";
    if (puzzles.empty()) return count;
    const int level = puzzles.front().level;
    for (const Entry& e : puzzles) {
        if (e.level != level || level == 0) return "問題集 " + count;
    }
    return std::string(logic::LevelName(level)) + " " + count;
}

std::string OriginOf(const Order& order) {
    const std::string seed = std::to_string(order.seed);
    std::string command = "kazarinoset-solve --generate " + std::to_string(order.count);
    if (order.request.level != 0) command += " --level " + std::to_string(order.request.level);
    command += " --symmetry " + std::string(generate::SymmetryName(order.request.symmetry));
    command += " --seed " + seed;
    return "シード " + seed + "（" + command + " で同じ問題を作れます）";
}

std::string RatingText(const Entry& entry) {
    if (entry.level == 0) return {};
    return std::string(logic::LevelName(entry.level)) + "（" +
           logic::DifficultyText(entry.difficulty) + "）";
}

std::string SlotLabel(const Entry& entry, int index, bool solution) {
    std::string label = "No." + std::to_string(index + 1);
    if (solution) return label + " の答え";
    const std::string rating = RatingText(entry);
    return rating.empty() ? label : label + "　" + rating;
}

std::string PageNumberText(int number, int pageCount) {
    return std::to_string(number) + " / " + std::to_string(pageCount);
}

}  // namespace kz::print
