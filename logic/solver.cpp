// SPDX-License-Identifier: MIT
#include "logic/solver.h"

#include <algorithm>

#include "core/answer.h"

namespace kz::logic {

namespace {

// Techniques from this level on are applied a whole search at a time.
constexpr int kBatchLevel = 5;
// So are locked candidates and pairs. With singles they close a state the same way in any
// order, so the techniques above them still meet exactly the states they met one step at a
// time, and the level cannot change; the easier finders are just not run again per step.
constexpr int kPairsLevel = 3;

bool Allowed(const TechniqueInfo& info, const Context& context, int maxLevel) {
    return info.level <= maxLevel && (!info.needsUniqueness || context.solution);
}

// The digits whose places and the units whose cells differ between a state and one it led to.
void Changes(const State& before, const State& now, Context& where) {
    where.digits = 0;
    for (int d = 1; d <= 9; ++d) {
        if (!(before.CellsOf(d) == now.CellsOf(d)))
            where.digits |= static_cast<Mask>(1u << (d - 1));
    }
    where.units = 0;
    for (int c = 0; c < 81; ++c) {
        if (before.Candidates(c) == now.Candidates(c)) continue;
        for (int u : kUnits.unitsOf[c]) where.units |= std::uint32_t{1} << u;
    }
}

}  // namespace

std::optional<Step> NextStep(const State& state, const Context& context, int maxLevel) {
    for (int t = 0; t < kTechniqueCount; ++t) {
        const TechniqueInfo& info = Info(static_cast<Technique>(t));
        if (!Allowed(info, context, maxLevel)) continue;
        std::optional<Step> found;
        FinderOf(info.technique)(state, context, [&](Step&& step) {
            found = std::move(step);
            return false;
        });
        if (found) return found;
    }
    return std::nullopt;
}

Path SolvePath(const State& start, const Context& context, int maxLevel) {
    Path path{{}, start, false, 0};
    // Every open cell takes a step, most boards' removals fewer again: growing the path as
    // it goes would move its steps several times.
    path.steps.reserve(2 * static_cast<std::size_t>(start.Open().Count()));
    std::vector<Step> found;
    // The states on which finders that look only where things changed found nothing, at most
    // one a round, and for each such finder the last of them it saw. The finders of a round
    // mostly saw the same one, so what changed since is worked out once for them all.
    std::vector<State> seen;
    std::array<int, kTechniqueCount> lastEmpty;
    lastEmpty.fill(-1);
    Context where = context;
    while (!path.end.Solved()) {
        found.clear();
        int seenNow = -1;     // this round's state in `seen`
        int whereSince = -1;  // the state in `seen` that `where` tells the changes since
        for (int t = 0; t < kTechniqueCount && found.empty(); ++t) {
            const TechniqueInfo& info = Info(static_cast<Technique>(t));
            if (!Allowed(info, context, maxLevel)) continue;
            const bool local = LooksWhereChanged(info.technique);
            if (local && lastEmpty[t] >= 0) {
                if (whereSince != lastEmpty[t]) Changes(seen[lastEmpty[t]], path.end, where);
                whereSince = lastEmpty[t];
            } else {
                where.digits = context.digits;
                where.units = context.units;
                whereSince = -1;
            }
            // A chain or net search costs far more than the easy finders, so once one has run
            // every instance it found on this state is taken, not just the first. Each is a true
            // statement about the solution, so it stays sound on the states that follow, and
            // the level does not change: the board needed this technique either way.
            const bool batch = info.level >= kBatchLevel || info.level == kPairsLevel;
            FinderOf(info.technique)(path.end, where, [&](Step&& step) {
                found.push_back(std::move(step));
                return batch;
            });
            if (local && found.empty()) {
                if (seenNow < 0) {
                    seenNow = static_cast<int>(seen.size());
                    seen.push_back(path.end);
                }
                lastEmpty[t] = seenNow;
            }
        }
        bool progress = false;
        for (Step& step : found) {
            // A step an earlier one of the batch already carried out is left out of the path.
            if (!path.end.Apply(step)) continue;
            progress = true;
            path.level = std::max(path.level, Info(step.technique).level);
            path.steps.push_back(std::move(step));
        }
        // A finder that reports a step changing nothing would loop for ever.
        if (!progress) break;
    }
    path.solved = path.end.Solved();
    return path;
}

int Verify(const Digits& digits, Digits& solution) {
    ValueArray16 values{};
    for (int c = 0; c < 81; ++c) values[c + 1] = digits[c];
    ValueArray16 completed{};
    const int code = Solver().VerifyProblem(values, &completed);
    for (int c = 0; c < 81; ++c) solution[c] = static_cast<std::uint8_t>(completed[c + 1]);
    return code;
}

std::optional<Digits> UniqueSolution(const Digits& digits) {
    Digits solution{};
    if (Verify(digits, solution) != VerifyUnique) return std::nullopt;
    return solution;
}

Rating Rate(const Digits& digits, Path* pathOut, std::size_t budget) {
    Rating rating;
    Digits solution{};
    rating.verifyCode = Verify(digits, solution);
    if (rating.verifyCode != VerifyUnique) return rating;
    const std::optional<State> start = State::FromDigits(digits);
    if (!start) {
        rating.verifyCode = VerifyInternalError;
        return rating;
    }
    Context context{&solution};
    context.budget = budget;
    Path path = SolvePath(*start, context);
    // A board with nothing left to fill is as easy as boards get.
    rating.level = std::max(path.level, 1);
    int hardCount = 0;
    for (const Step& step : path.steps) {
        ++rating.counts[static_cast<int>(step.technique)];
        rating.difficulty = std::max<int>(rating.difficulty, step.difficulty);
        rating.outOfBudget |= step.technique == Technique::Guess && !step.chain.empty();
        if (Info(step.technique).weight > Info(rating.hardest).weight)
            rating.hardest = step.technique;
        // The last cell of a unit asks for no search, so it never counts as hard.
        hardCount +=
            Info(step.technique).level == rating.level && step.technique != Technique::FullHouse;
    }
    rating.score = path.steps.empty()
                       ? 0
                       : 100 * Info(rating.hardest).weight + std::min(hardCount, kMaxHardSteps);
    if (pathOut) *pathOut = std::move(path);
    return rating;
}

}  // namespace kz::logic
