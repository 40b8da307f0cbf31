// SPDX-License-Identifier: MIT
// The module `answer`: the exact rule step, then the fast search for the results the plain
// cell-order search would give.
#include "core/answer.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "core/solver_engine.h"

namespace kz {

namespace {

using engine::Bitboard;

// Units as bits 0..8 (rows), 9..17 (columns) and 18..26 (boxes), and the same units and
// single cells as bitboards (band k = rows 3k..3k+2, bit (row % 3) * 9 + column).
struct RuleTables {
    std::array<std::uint32_t, kArraySize> unitsOfCell{};
    std::array<Bitboard, 27> unitCells{};
};

constexpr RuleTables MakeRuleTables() {
    RuleTables t{};
    for (int n = 1; n <= kCellCount; ++n) {
        const int row = RowOf(n) - 1;
        const int units[3] = {row, 9 + ColumnOf(n) - 1, 18 + BoxOf(n) - 1};
        for (const int u : units) {
            t.unitsOfCell[n] |= 1u << u;
            t.unitCells[u][row / 3] |= 1u << (n - 1 - 27 * (row / 3));
        }
    }
    return t;
}

constexpr RuleTables kRules = MakeRuleTables();

bool EntriesInRange(const ValueArray16& values) {
    for (int n = 1; n <= kCellCount; ++n) {
        if (values[n] < 0 || values[n] > 9) return false;
    }
    return true;
}

// The search grid of a value array whose fixed cells do not clash; false when one of them
// repeats a digit already placed in a peer.
bool ToGrid(const ValueArray16& values, engine::Grid& grid) {
    engine::Solution digits{};
    for (int n = 1; n <= kCellCount; ++n) digits[n - 1] = static_cast<std::uint8_t>(values[n]);
    return engine::PlaceAll(grid, digits);
}

int FirstOpenCell(const ValueArray16& values) {
    for (int n = 1; n <= kCellCount; ++n) {
        if (values[n] == 0) return n;
    }
    return 0;
}

// Shows each digit tried in the progress cell once: the fast search may come back to that
// cell in many branches, and every report repaints the window.
class ProgressReporter {
public:
    ProgressReporter(const ProgressFn& progress, int cell) : m_progress(progress) {
        if (m_progress && cell != 0) {
            m_watch.cell = cell - 1;
            m_watch.onDigit = [this](int d) {
                if ((m_shown & (1u << d)) == 0) {
                    m_shown |= 1u << d;
                    m_progress(ProgressText(d));
                }
            };
        }
    }
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    const engine::BranchWatch& watch() const { return m_watch; }

private:
    const ProgressFn& m_progress;
    engine::BranchWatch m_watch;
    unsigned m_shown = 0;
};

}  // namespace

std::string ProgressText(int digit) {
    std::string text = "\u8a08\u7b97\u4e2d...\u3000[";
    text += static_cast<char>('0' + digit);
    text += ']';
    return text;
}

bool PreSolve(ValueArray16& fixed) {
    if (!EntriesInRange(fixed)) return false;
    // Per digit, the units (as bits) holding it once or more, and those holding it twice.
    std::array<std::uint32_t, 10> present{};
    std::array<std::uint32_t, 10> repeated{};
    Bitboard blank{};
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < 27; ++i) {
            const int n = 27 * k + i + 1;
            const int d = fixed[n];
            blank[k] |= static_cast<std::uint32_t>(d == 0) << i;
            // Entries 0 gather the blanks, unused: written to spare a branch per cell.
            repeated[d] |= present[d] & kRules.unitsOfCell[n];
            present[d] |= kRules.unitsOfCell[n];
        }
    }
    // Candidates per digit from the cells as they are on entry; a fixed digit that clashes
    // with a peer is no candidate even of its own cell.
    std::array<Bitboard, 10> cand{};
    for (int d = 1; d <= 9; ++d) {
        Bitboard seen{};
        for (std::uint32_t units = present[d]; units != 0; units &= units - 1) {
            const Bitboard& cells = kRules.unitCells[std::countr_zero(units)];
            for (int k = 0; k < 3; ++k) seen[k] |= cells[k];
        }
        for (int k = 0; k < 3; ++k) cand[d][k] = blank[k] & ~seen[k];
    }
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < 27; ++i) {
            const int n = 27 * k + i + 1;
            const int d = fixed[n];
            cand[d][k] |= static_cast<std::uint32_t>((repeated[d] & kRules.unitsOfCell[n]) == 0)
                          << i;
        }
    }
    // Unit order: rows, columns, boxes, each 1..9. Most units hold a digit in several cells;
    // with bands 0 and 1 as one 64-bit word that test takes a few operations.
    std::array<std::uint64_t, 10> candLow{};
    std::array<std::uint32_t, 10> candHigh{};
    for (int d = 1; d <= 9; ++d) {
        candLow[d] = cand[d][0] | std::uint64_t{cand[d][1]} << 27;
        candHigh[d] = cand[d][2];
    }
    for (int u = 0; u < 27; ++u) {
        const Bitboard& unit = kRules.unitCells[u];
        const std::uint64_t unitLow = unit[0] | std::uint64_t{unit[1]} << 27;
        for (int d = 1; d <= 9; ++d) {
            const std::uint64_t low = candLow[d] & unitLow;
            const std::uint32_t high = candHigh[d] & unit[2];
            // Two cells or more, the common case, tested without branches.
            const bool several =
                ((low & (low - 1)) != 0) | ((high & (high - 1)) != 0) | ((low != 0) & (high != 0));
            if (several) continue;
            if ((low | high) == 0) return false;
            const int cell = high != 0 ? 54 + std::countr_zero(high) : std::countr_zero(low);
            const int last = cell + 1;
            // A fixed cell is no other digit's candidate: nothing to clear.
            if (fixed[last] == d) continue;
            const std::uint64_t ownLow = candLow[d];
            const std::uint32_t ownHigh = candHigh[d];
            for (int e = 1; e <= 9; ++e) {
                candLow[e] &= ~low;
                candHigh[e] &= ~high;
            }
            candLow[d] = ownLow;
            candHigh[d] = ownHigh;
            // Placements are not checked against each other by the candidates, which were
            // computed once on entry; a second d in a unit means the board has no solution.
            if (present[d] & kRules.unitsOfCell[last]) return false;
            fixed[last] = static_cast<std::int16_t>(d);
            present[d] |= kRules.unitsOfCell[last];
        }
    }
    return true;
}

Solver::Solver(ProgressFn progress, NoticeFn notice)
    : m_progress(std::move(progress)), m_notice(std::move(notice)) {}

bool Solver::SolveBoard(ValueArray16& values) {
    bool solved = false;
    ValueArray16 fixed = values;
    engine::Grid grid;
    if (PreSolve(fixed) && ToGrid(fixed, grid)) {
        ProgressReporter reporter(m_progress, FirstOpenCell(fixed));
        const engine::BranchWatch& onBranch = reporter.watch();
        std::array<engine::Solution, 2> found{};
        const int count = engine::CountCompletions(grid, 2, found.data(), onBranch);
        if (count > 0) {
            // With two completions in hand, the smaller one seeds the cell-order walk.
            const engine::Solution result =
                count == 1
                    ? found[0]
                    : engine::SmallestCompletion(grid, std::min(found[0], found[1]), onBranch);
            if (engine::IsCompletionOf(grid, result)) {
                for (int n = 1; n <= kCellCount; ++n) values[n] = result[n - 1];
                solved = true;
            } else if (m_notice) {
                m_notice(kInternalLogicNotice);
            }
        }
    }
    if (m_progress) m_progress("");
    return solved;
}

int Solver::VerifyProblem(const ValueArray16& values, ValueArray16* solution) {
    int code = VerifyContradiction;
    ValueArray16 fixed = values;
    engine::Grid grid;
    if (!PreSolve(fixed)) {
        code = VerifyContradiction;
    } else if (!ToGrid(fixed, grid)) {
        code = VerifyNoSolution;
    } else {
        ProgressReporter reporter(m_progress, FirstOpenCell(fixed));
        std::array<engine::Solution, 2> found{};
        code = engine::CountCompletions(grid, 2, found.data(), reporter.watch());
        bool sound = true;
        for (int i = 0; i < code; ++i) sound = sound && engine::IsCompletionOf(grid, found[i]);
        if (code == 2) sound = sound && found[0] != found[1];
        if (!sound) {
            if (m_notice) m_notice(kInternalLogicNotice);
            code = VerifyInternalError;
        }
        if (code == VerifyUnique && solution) {
            *solution = values;
            for (int n = 1; n <= kCellCount; ++n) (*solution)[n] = found[0][n - 1];
        }
    }
    if (m_progress) m_progress("");
    return code;
}

}  // namespace kz
