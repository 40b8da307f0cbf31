// SPDX-License-Identifier: MIT
#include "generate/generator.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/answer.h"
#include "core/solver_engine.h"
#include "generate/random.h"
#include "logic/finders.h"

namespace kz::generate {

namespace {

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Cell c as a bit of the fast engine's bitboards.
constexpr int Band(int c) {
    return c / 27;
}
constexpr std::uint32_t Bit(int c) {
    return 1u << (c % 27);
}

constexpr std::array<engine::Bitboard, 81> MakePeerBoards() {
    std::array<engine::Bitboard, 81> peers{};
    for (int c = 0; c < 81; ++c) {
        logic::kUnits.peers[c].ForEach([&](int p) { peers[c][Band(p)] |= Bit(p); });
    }
    return peers;
}

constexpr std::array<engine::Bitboard, 81> kPeerBoards = MakePeerBoards();

// The givens of a puzzle being carved from its complete grid, with the digits each unit
// holds, so that most removals are judged without a search.
class Carving {
public:
    explicit Carving(const logic::Digits& solution) : m_solution(solution), m_givens(solution) {
        m_held.fill(logic::kAllDigits);
    }

    const logic::Digits& Givens() const { return m_givens; }

    void Toggle(int c) {
        m_givens[c] = m_givens[c] ? 0 : m_solution[c];
        for (const int u : logic::kUnits.unitsOf[c]) m_held[u] ^= DigitBit(c);
    }

    // Whether the givens alone still force every cell of `freed` (all blank now), so that
    // the solution stays the only one.
    bool StillUnique(const std::vector<int>& freed) const {
        bool forced = true;
        for (const int c : freed) forced = forced && ForcedAtOnce(c);
        return forced || StillUniqueBySearch(freed);
    }

private:
    logic::Mask DigitBit(int c) const {
        return static_cast<logic::Mask>(1u << (m_solution[c] - 1));
    }

    logic::Mask Seen(int c) const {
        const auto& units = logic::kUnits.unitsOf[c];
        return m_held[units[0]] | m_held[units[1]] | m_held[units[2]];
    }

    // A naked or hidden single made by the givens alone.
    bool ForcedAtOnce(int c) const {
        const logic::Mask bit = DigitBit(c);
        if (Seen(c) == (logic::kAllDigits ^ bit)) return true;
        for (const int u : logic::kUnits.unitsOf[c]) {
            bool alone = true;
            for (const int x : logic::kUnits.cells[u]) {
                if (x != c && m_givens[x] == 0 && (Seen(x) & bit) == 0) {
                    alone = false;
                    break;
                }
            }
            if (alone) return true;
        }
        return false;
    }

    // The fast engine's grid holding the givens, built digit by digit.
    engine::Grid Grid() const {
        std::array<engine::Bitboard, 9> peersOf{};
        engine::Bitboard open{};
        open.fill((1u << 27) - 1);
        for (int c = 0; c < 81; ++c) {
            if (m_givens[c] == 0) continue;
            engine::Bitboard& p = peersOf[m_givens[c] - 1];
            for (int b = 0; b < 3; ++b) p[b] |= kPeerBoards[c][b];
            open[Band(c)] &= ~Bit(c);
        }
        engine::Grid grid;
        for (int c = 0; c < 81; ++c) {
            if (m_givens[c] != 0) grid.cand[m_givens[c] - 1][Band(c)] |= Bit(c);
        }
        for (int d = 0; d < 9; ++d) {
            for (int b = 0; b < 3; ++b) grid.cand[d][b] |= open[b] & ~peersOf[d][b];
        }
        grid.open = open;
        grid.dirty = logic::kAllDigits;
        return grid;
    }

    // Any other completion must differ from the solution in a freed cell, so it is enough
    // to show for each freed cell that no completion puts another digit there; each such
    // search is smaller than counting completions of the whole board.
    bool StillUniqueBySearch(const std::vector<int>& freed) const {
        engine::Grid grid = Grid();
        // With one freed cell the search's own propagation does the work once; with more,
        // propagating first is shared by their searches.
        if (freed.size() > 1 && !engine::Propagate(grid)) return false;
        for (const int c : freed) {
            if (engine::ValueAt(grid, c) != 0) continue;  // propagation alone fixes it
            engine::Grid other = grid;
            const int d = m_solution[c] - 1;
            other.cand[d][Band(c)] &= ~Bit(c);
            other.dirty |= 1u << d;
            engine::Solution found{};
            if (engine::CountCompletions(other, 1, &found, {}) != 0) return false;
        }
        return true;
    }

    const logic::Digits& m_solution;
    logic::Digits m_givens;
    std::array<logic::Mask, logic::kUnitCount> m_held{};  // the given digits of each unit
};

// The level of the path that stays within `cap`: the highest level among its steps, 0 when
// techniques up to `cap` get stuck, −1 when cancelled. The cancel flag is polled between
// steps, so even a long path gives way quickly.
int CappedLevel(const logic::Digits& givens, const logic::Digits& solution, int cap,
                const std::atomic<bool>* cancel) {
    std::optional<logic::State> state = logic::State::FromDigits(givens);
    if (!state) return 0;
    const logic::Context context{&solution};
    int level = 0;
    while (!state->Solved()) {
        if (Cancelled(cancel)) return -1;
        const std::optional<logic::Step> step = logic::NextStep(*state, context, cap);
        if (!step || !state->Apply(*step)) return 0;
        level = std::max(level, logic::Info(step->technique).level);
    }
    return level;
}

// Whether a minimal puzzle is worth a full rating for `level`: the path within the level
// has to solve it and has to need the level. For the top level the path within the level
// below has to get stuck. Level 0 takes anything.
enum class Verdict { Reject, Accept, Cancelled };

Verdict Screen(const logic::Digits& givens, const logic::Digits& solution, int level,
               const std::atomic<bool>* cancel) {
    if (level == 0) return Verdict::Accept;
    const int cap = level == logic::kMaxLevel ? level - 1 : level;
    const int reached = CappedLevel(givens, solution, cap, cancel);
    if (reached < 0) return Verdict::Cancelled;
    if (level == logic::kMaxLevel) return reached == 0 ? Verdict::Accept : Verdict::Reject;
    return reached == level ? Verdict::Accept : Verdict::Reject;
}

// Each symmetry once, each name once, a budget, and every image a permutation of the cells that
// comes back to the start: a row out of step fails the build, not a saved choice.
constexpr bool SymmetryTableSound() {
    for (std::size_t i = 0; i < kSymmetries.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (kSymmetries[i].symmetry == kSymmetries[j].symmetry ||
                kSymmetries[i].name == kSymmetries[j].name) {
                return false;
            }
        }
        if (static_cast<std::size_t>(kSymmetries[i].symmetry) >= kSymmetries.size() ||
            kSymmetries[i].hardestBudget <= 0) {
            return false;
        }
        std::array<bool, 81> hit{};
        for (int c = 0; c < 81; ++c) {
            const int m = kSymmetries[i].image(c);
            if (m < 0 || m > 80 || hit[m]) return false;
            hit[m] = true;
            int back = m;
            for (int n = 0; n < 4 && back != c; ++n) back = kSymmetries[i].image(back);
            if (back != c) return false;
        }
    }
    return true;
}
static_assert(SymmetryTableSound());

const SymmetryInfo* RowOf(Symmetry s) {
    for (const SymmetryInfo& row : kSymmetries) {
        if (row.symmetry == s) return &row;
    }
    return nullptr;
}

}  // namespace

int AttemptBudget(const Request& request) {
    if (request.maxAttempts > 0) return request.maxAttempts;
    // Generous: the harder levels are rarer among minimal puzzles, and the caller can cancel.
    constexpr std::array<int, logic::kMaxLevel> kAttempts{1000, 2000, 2000, 5000, 20000, 50000};
    if (request.level == logic::kMaxLevel) {
        const SymmetryInfo* row = RowOf(request.symmetry);
        return row ? row->hardestBudget : 0;
    }
    return request.level >= 0 && request.level < logic::kMaxLevel ? kAttempts[request.level] : 0;
}

std::string_view SymmetryName(Symmetry s) {
    const SymmetryInfo* row = RowOf(s);
    return row ? row->name : std::string_view{};
}

std::optional<Symmetry> ParseSymmetry(std::string_view name) {
    for (const SymmetryInfo& row : kSymmetries) {
        if (row.name == name) return row.symmetry;
    }
    return std::nullopt;
}

std::optional<Symmetry> SymmetryNumbered(int number) {
    for (const SymmetryInfo& row : kSymmetries) {
        if (static_cast<int>(row.symmetry) == number) return row.symmetry;
    }
    return std::nullopt;
}

std::vector<std::vector<int>> Orbits(Symmetry symmetry) {
    const SymmetryInfo* row = RowOf(symmetry);
    std::vector<std::vector<int>> orbits;
    std::array<bool, 81> seen{};
    for (int c = 0; c < 81; ++c) {
        if (seen[c]) continue;
        std::vector<int> orbit{c};
        if (row) {
            for (int m = row->image(c); m != c; m = row->image(m)) orbit.push_back(m);
        }
        std::sort(orbit.begin(), orbit.end());
        for (const int m : orbit) seen[m] = true;
        orbits.push_back(std::move(orbit));
    }
    return orbits;
}

std::optional<logic::Digits> Carve(const logic::Digits& solution, Symmetry symmetry,
                                   std::mt19937_64& random, const std::atomic<bool>* cancel) {
    std::vector<std::vector<int>> orbits = Orbits(symmetry);
    Shuffle(orbits, random);
    Carving carving(solution);
    // One pass is enough for minimality: blanking cells only adds completions, so an orbit
    // that could not go earlier cannot go once others have gone.
    for (const std::vector<int>& orbit : orbits) {
        if (Cancelled(cancel)) return std::nullopt;
        for (const int c : orbit) carving.Toggle(c);
        if (!carving.StillUnique(orbit)) {
            for (const int c : orbit) carving.Toggle(c);
        }
    }
    return carving.Givens();
}

Result Generate(const Request& request, std::mt19937_64& random, const std::atomic<bool>* cancel,
                const AttemptFn& onAttempt) {
    Result result;
    if (request.level < 0 || request.level > logic::kMaxLevel) return result;
    result.budget = AttemptBudget(request);
    while (result.attempts < result.budget) {
        if (Cancelled(cancel)) {
            result.cancelled = true;
            return result;
        }
        const logic::Digits solution = RandomSolution(random);
        const std::optional<logic::Digits> givens =
            Carve(solution, request.symmetry, random, cancel);
        Verdict verdict = Verdict::Cancelled;
        if (givens) verdict = Screen(*givens, solution, request.level, cancel);
        if (verdict == Verdict::Cancelled) {
            result.cancelled = true;
            return result;
        }
        ++result.attempts;
        if (onAttempt) onAttempt(result.attempts);
        if (verdict == Verdict::Reject) continue;
        const logic::Rating rating = logic::Rate(*givens);
        // The rating cannot be interrupted; a cancel seen after it still wins.
        if (Cancelled(cancel)) {
            result.cancelled = true;
            return result;
        }
        if (rating.verifyCode != VerifyUnique) continue;
        if (request.level != 0 && rating.level != request.level) continue;
        result.puzzle = Puzzle{*givens, solution, rating};
        return result;
    }
    return result;
}

}  // namespace kz::generate
