// SPDX-License-Identifier: MIT
// The module `answer`: the exact rule step, then the fast search for the results the plain
// cell-order search would give.
#include "core/answer.h"

#include <algorithm>
#include <utility>

#include "core/solver_engine.h"

namespace kz {

namespace {

using engine::Mask;

constexpr Mask Bit(int d) {
    return static_cast<Mask>(1u << (d - 1));
}

bool EntriesInRange(const ValueArray16& values) {
    for (int n = 1; n <= kCellCount; ++n) {
        if (values[n] < 0 || values[n] > 9) return false;
    }
    return true;
}

// The search grid of a value array whose fixed cells do not clash; false when placing them
// already leaves some cell without a candidate, so no completion exists.
bool ToGrid(const ValueArray16& values, engine::Grid& grid) {
    grid = engine::EmptyGrid();
    for (int n = 1; n <= kCellCount; ++n) {
        if (values[n] != 0 && !engine::Place(grid, n - 1, values[n])) return false;
    }
    return true;
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
    ProgressReporter(const ProgressFn& progress, int cell) : m_progress(progress), m_cell(cell) {}

    engine::BranchFn branchFn() {
        if (!m_progress || m_cell == 0) return {};
        return [this](int c, int d) {
            if (c + 1 == m_cell && (m_shown & Bit(d)) == 0) {
                m_shown |= Bit(d);
                m_progress(ProgressText(d));
            }
        };
    }

private:
    const ProgressFn& m_progress;
    int m_cell;
    Mask m_shown = 0;
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
    // Per unit (rows 0..8, columns 9..17, boxes 18..26): how often each digit is fixed.
    std::array<std::array<int, 10>, 27> counts{};
    auto unitsOf = [](int n) {
        return std::array<int, 3>{RowOf(n) - 1, 9 + ColumnOf(n) - 1, 18 + BoxOf(n) - 1};
    };
    for (int n = 1; n <= kCellCount; ++n) {
        if (fixed[n] == 0) continue;
        for (int u : unitsOf(n)) ++counts[u][fixed[n]];
    }
    std::array<Mask, 27> present{};
    for (int u = 0; u < 27; ++u) {
        for (int d = 1; d <= 9; ++d) {
            if (counts[u][d] > 0) present[u] |= Bit(d);
        }
    }
    // Candidates from the cells as they are on entry; a fixed digit that clashes with a peer
    // is no candidate even of its own cell.
    std::array<Mask, kArraySize> cand{};
    for (int n = 1; n <= kCellCount; ++n) {
        const auto units = unitsOf(n);
        if (fixed[n] != 0) {
            const int d = fixed[n];
            const bool alone =
                std::all_of(units.begin(), units.end(), [&](int u) { return counts[u][d] == 1; });
            cand[n] = alone ? Bit(d) : 0;
        } else {
            cand[n] = static_cast<Mask>(
                engine::kAllDigits & ~(present[units[0]] | present[units[1]] | present[units[2]]));
        }
    }
    for (int kind = KindRow; kind <= KindBox; ++kind) {
        for (int u = 1; u <= 9; ++u) {
            const int first = kind == KindRow ? 9 * u - 8 : kind == KindColumn ? u : BoxTopLeft(u);
            const UnitCellList cells = UnitCells(first, kind);
            for (int d = 1; d <= 9; ++d) {
                int count = 0;
                int last = 0;
                for (int m : cells) {
                    if (cand[m] & Bit(d)) {
                        ++count;
                        last = m;
                    }
                }
                if (count == 0) return false;
                if (count > 1) continue;
                cand[last] = Bit(d);
                if (fixed[last] == d) continue;
                // Placements are not checked against each other by the candidates, which were
                // computed once on entry; a second d in a unit means the board has no solution.
                const auto units = unitsOf(last);
                if ((present[units[0]] | present[units[1]] | present[units[2]]) & Bit(d)) {
                    return false;
                }
                fixed[last] = static_cast<std::int16_t>(d);
                for (int unit : units) present[unit] |= Bit(d);
            }
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
        const engine::BranchFn onBranch = reporter.branchFn();
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

int Solver::VerifyProblem(const ValueArray16& values) {
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
        code = engine::CountCompletions(grid, 2, found.data(), reporter.branchFn());
        bool sound = true;
        for (int i = 0; i < code; ++i) sound = sound && engine::IsCompletionOf(grid, found[i]);
        if (code == 2) sound = sound && found[0] != found[1];
        if (!sound) {
            if (m_notice) m_notice(kInternalLogicNotice);
            code = VerifyInternalError;
        }
    }
    if (m_progress) m_progress("");
    return code;
}

}  // namespace kz
