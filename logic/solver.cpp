// SPDX-License-Identifier: MIT
#include "logic/solver.h"

#include <algorithm>
#include <cctype>

#include "core/answer.h"

namespace kz::logic {

namespace {

bool Allowed(const TechniqueInfo& info, const Context& context, int maxLevel) {
    return info.level <= maxLevel && (!info.needsUniqueness || context.solution);
}

// The digits whose places, the cells whose candidates and the units of those cells differ
// between a state and one it led to.
void Changes(const State& before, const State& now, Context& where) {
    where.digits = 0;
    for (int d = 1; d <= 9; ++d) {
        if (!(before.CellsOf(d) == now.CellsOf(d)))
            where.digits |= static_cast<Mask>(1u << (d - 1));
    }
    where.units = 0;
    where.cells = {};
    for (int c = 0; c < 81; ++c) {
        if (before.Candidates(c) == now.Candidates(c)) continue;
        where.cells.Add(c);
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

namespace {

// Each step's difficulty, and the state the first of the hardest was found on: the scale's
// rating looks at that state again, and walking to it anew would cost an easy board a good
// part of its rating.
struct Hardest {
    std::vector<int> own;
    std::size_t step = 0;
    State before;
};

Path Walk(const State& start, const Context& context, int maxLevel, Hardest* hardest) {
    Path path{{}, start, false, 0};
    // Every open cell takes a step, most boards' removals fewer again: growing the path as
    // it goes would move its steps several times.
    path.steps.reserve(2 * static_cast<std::size_t>(start.Open().Count()));
    std::optional<Step> found;
    // The states on which finders that look only where things changed found nothing, at most
    // one a round, and for each such finder the last of them it saw. The finders of a round
    // mostly saw the same one, so what changed since is worked out once for them all.
    std::vector<State> seen;
    std::array<int, kTechniqueCount> lastEmpty;
    lastEmpty.fill(-1);
    // A forcing search costs far more than everything before it, and a board that needs one
    // mostly needs many in a row, with singles between. So the sets of assumptions that bore
    // steps when it last searched everything are tried first, one by one in the order of their
    // steps: what one gives is a step of the same technique on this state, and the easier
    // finders have all run before. Only when none gives anything is every set searched anew.
    std::array<std::vector<ForcingStart>, kTechniqueCount> bore{};
    std::array<std::size_t, kTechniqueCount> nextBore{};
    Context where = context;
    const auto take = [&](Step&& step) {
        found = std::move(step);
        return false;
    };
    while (!path.end.Solved()) {
        found.reset();
        int seenNow = -1;     // this round's state in `seen`
        int whereSince = -1;  // the state in `seen` that `where` tells the changes since
        for (int t = 0; t < kTechniqueCount && !found; ++t) {
            const TechniqueInfo& info = Info(static_cast<Technique>(t));
            if (!Allowed(info, context, maxLevel)) continue;
            const Finder finder = FinderOf(info.technique);
            if (Narrowable(info.technique)) {
                Context narrow = context;
                // A set that bore nothing here has had its turn: the rest follow it.
                for (; nextBore[t] < bore[t].size(); ++nextBore[t]) {
                    narrow.start = &bore[t][nextBore[t]];
                    finder(path.end, narrow, take);
                    if (found) break;
                }
                if (found) break;
                bore[t].clear();
                nextBore[t] = 0;
                narrow.start = nullptr;
                narrow.bore = &bore[t];
                finder(path.end, narrow, take);
                continue;
            }
            const bool local = LooksWhereChanged(info.technique);
            if (local && lastEmpty[t] >= 0) {
                if (whereSince != lastEmpty[t]) Changes(seen[lastEmpty[t]], path.end, where);
                whereSince = lastEmpty[t];
            } else {
                where.digits = context.digits;
                where.units = context.units;
                where.cells = context.cells;
                whereSince = -1;
            }
            finder(path.end, where, take);
            if (local && !found) {
                if (seenNow < 0) {
                    seenNow = static_cast<int>(seen.size());
                    seen.push_back(path.end);
                }
                lastEmpty[t] = seenNow;
            }
        }
        if (found && hardest) {
            const int difficulty = StepDifficulty(*found);
            if (hardest->own.empty() || difficulty > hardest->own[hardest->step]) {
                hardest->step = path.steps.size();
                hardest->before = path.end;
            }
            hardest->own.push_back(difficulty);
        }
        // A finder that reports a step changing nothing would loop for ever.
        if (!found || !path.end.Apply(*found)) break;
        path.level = std::max(path.level, Info(found->technique).level);
        path.steps.push_back(std::move(*found));
    }
    path.solved = path.end.Solved();
    return path;
}

}  // namespace

Path SolvePath(const State& start, const Context& context, int maxLevel) {
    return Walk(start, context, maxLevel, nullptr);
}

namespace {

// A node of several cells reads "r1c23" or "r12c3": two digits in a row after "r" or "c".
bool GroupNode(const std::string& chain) {
    for (std::size_t i = 1; i + 1 < chain.size(); ++i) {
        if ((chain[i - 1] == 'r' || chain[i - 1] == 'c') && std::isdigit(chain[i]) &&
            std::isdigit(chain[i + 1]))
            return true;
    }
    return false;
}

}  // namespace

int StepDifficulty(const Step& step) {
    const TechniqueInfo& info = Info(step.technique);
    int nodes = 0;
    int base = info.ser;
    switch (step.technique) {
        case Technique::HiddenSingle:
            return !step.units.empty() && step.units[0] < 18 ? 15 : base;
        case Technique::Skyscraper:
        case Technique::TwoStringKite:
            nodes = 4;
            break;
        case Technique::WWing:
            nodes = 6;
            break;
        case Technique::SimpleColouring:
            nodes = static_cast<int>(step.cells.size());
            break;
        default:
            // Each branch's nodes are its links and one: "=" and "-" join nodes and nothing
            // else in the notation, "; " starts the next branch. A group node leaves a chain
            // an alternating chain rated by its length: the scale puts most boards whose
            // hardest step here is a grouped AIC at 7.0 to 7.2, not at 8.x.
            if (step.chain.empty()) return base;
            // A net through a locked group or a pair is a dynamic chain with the easy
            // techniques inside (+).
            if (step.technique == Technique::ForcingNet && GroupNode(step.chain)) base = 90;
            nodes = 1;
            for (char ch : step.chain) {
                nodes += ch == '=' || ch == '-' || ch == ';';
                if (ch == ';' && step.technique == Technique::ForcingChain) base = 80;
            }
            if (step.nodes) nodes = step.nodes;
            // The scale names closed Y-cycles only; an open XY-chain is one of its forcing
            // chains, whose length here is counted by cells, each holding two of the nodes:
            // so counted, the public sample ranks best (0.81 against 0.76 by nodes).
            if (step.technique == Technique::XYChain) nodes /= 2;
            break;
    }
    // The thresholds grow by half and by a third in turn: 4, 6, 8, 12, 16, 24 …
    for (int threshold = 4, k = 0; nodes > threshold; ++k) {
        ++base;
        threshold = k % 2 == 0 ? threshold * 3 / 2 : threshold * 4 / 3;
    }
    return base;
}

std::string DifficultyText(int tenths) {
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
}

namespace {

// The scale rates a board by its hardest step where every step is the one it rates lowest.
// Our order puts some techniques it rates high (W-wing, skyscraper) before some it rates low
// (swordfish, the uniqueness patterns), so at a state of the path a later technique may give
// a lower step. Only the states that could set the maximum are looked at again, hardest
// first, and there only the techniques after the path's own that could rate lower: the ones
// before it found nothing there.
constexpr int kAlternatingChain = 70;

int ScaleDifficulty(const State& start, const Context& context, const std::vector<Step>& steps,
                    const Hardest& first) {
    const std::vector<int>& own = first.own;
    std::vector<std::size_t> order(steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return own[a] > own[b]; });
    int hardest = 0;
    for (std::size_t i : order) {
        if (own[i] <= hardest) break;
        State state = first.before;
        if (i != first.step) {
            state = start;
            for (std::size_t k = 0; k < i; ++k) state.Apply(steps[k]);
        }
        int lowest = own[i];
        for (int t = static_cast<int>(steps[i].technique) + 1; t < kTechniqueCount; ++t) {
            const TechniqueInfo& info = Info(static_cast<Technique>(t));
            // A search costs more the later its technique: one that could only shave a tenth
            // or two off, or one the scale rates as an alternating chain or above (whose
            // searches cost the most), is not worth it.
            if (info.ser + 2 >= lowest || info.ser >= kAlternatingChain ||
                !Allowed(info, context, kMaxLevel)) {
                continue;
            }
            FinderOf(info.technique)(state, context, [&](Step&& step) {
                lowest = std::min(lowest, StepDifficulty(step));
                return false;
            });
        }
        hardest = std::max(hardest, lowest);
    }
    return hardest;
}

}  // namespace

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
    Hardest hardest;
    Path path = Walk(*start, context, kMaxLevel, &hardest);
    // A board with nothing left to fill is as easy as boards get.
    rating.level = std::max(path.level, 1);
    int hardCount = 0;
    rating.difficulty = ScaleDifficulty(*start, context, path.steps, hardest);
    for (const Step& step : path.steps) {
        ++rating.counts[static_cast<int>(step.technique)];
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
