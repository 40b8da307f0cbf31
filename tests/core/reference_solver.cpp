// SPDX-License-Identifier: MIT
// Plain rule step and cell-order search, kept literal on purpose: no bit tricks, no pruning.
#include "tests/core/reference_solver.h"

#include "core/answer.h"

namespace kz::test {

namespace {
struct StepLimitReached {};
}  // namespace

ReferenceSolver::ReferenceSolver(std::uint64_t stepLimit, bool recheckPlacements)
    : m_stepLimit(stepLimit), m_recheck(recheckPlacements) {}

void ReferenceSolver::step() {
    if (m_stepLimit != 0 && ++m_steps > m_stepLimit) throw StepLimitReached{};
}

int ReferenceSolver::firstOpen(const std::array<std::uint8_t, kArraySize>& grid) const {
    for (int n = 1; n <= kCellCount; ++n) {
        if (grid[n] == 0) return n;
    }
    return m_progressCell;
}

std::optional<bool> ReferenceSolver::SolveBoard(ValueArray16& values) {
    m_texts.clear();
    m_steps = 0;
    for (int n = 1; n <= kCellCount; ++n) {
        m_workGrid[n] = m_fixedGrid[n] = static_cast<std::uint8_t>(values[n]);
    }
    bool result = false;
    try {
        if (!PreSolve()) {
            m_progressCell = firstOpen(m_fixedGrid);
            m_found = false;
            if (SearchUp(1)) {
                for (int n = 1; n <= kCellCount; ++n) values[n] = m_workGrid[n];
                result = true;
            }
        }
    } catch (const StepLimitReached&) {
        return std::nullopt;
    }
    m_texts.emplace_back();
    return result;
}

std::optional<int> ReferenceSolver::VerifyProblem(const ValueArray16& values) {
    m_texts.clear();
    m_steps = 0;
    int code = 0;
    for (int n = 1; n <= kCellCount; ++n) {
        m_workGrid[n] = m_fixedGrid[n] = static_cast<std::uint8_t>(values[n]);
    }
    m_progressCell = firstOpen(m_fixedGrid);
    m_found = false;
    try {
        if (PreSolve()) {
            code = -1;
        } else if (!SearchUp(1)) {
            code = 0;
        } else {
            const auto smallest = m_workGrid;
            m_progressCell = firstOpen(m_fixedGrid);
            for (int n = 1; n <= kCellCount; ++n) {
                m_workGrid[n] = m_fixedGrid[n] = static_cast<std::uint8_t>(values[n]);
            }
            m_found = false;
            m_steps = 0;
            if (!SearchDown(1)) {
                code = -2;
            } else {
                code = 1;
                for (int n = 1; n <= kCellCount; ++n) {
                    if (m_workGrid[n] != smallest[n]) code = 2;
                }
            }
        }
    } catch (const StepLimitReached&) {
        return std::nullopt;
    }
    m_texts.emplace_back();
    return code;
}

// Returns true on a contradiction.
bool ReferenceSolver::PreSolve() {
    bool cand[kArraySize][10] = {};
    for (int n = 1; n <= kCellCount; ++n) {
        for (int d = 1; d <= 9; ++d) cand[n][d] = m_fixedGrid[n] == 0 || m_fixedGrid[n] == d;
    }
    for (int n = 1; n <= kCellCount; ++n) {
        for (int d = 1; d <= 9; ++d) {
            if (!CanPlace(m_fixedGrid, n, d)) cand[n][d] = false;
        }
    }
    for (int kind = KindRow; kind <= KindBox; ++kind) {
        for (int u = 1; u <= 9; ++u) {
            const int first = kind == KindRow ? 9 * u - 8 : kind == KindColumn ? u : BoxTopLeft(u);
            for (int d = 1; d <= 9; ++d) {
                int count = 0;
                int m = 0;
                for (int c : UnitCells(first, kind)) {
                    if (cand[c][d]) {
                        ++count;
                        m = c;
                    }
                }
                if (count == 0) return true;
                if (count == 1) {
                    if (m_recheck && m_fixedGrid[m] != d && !CanPlace(m_fixedGrid, m, d)) {
                        return true;
                    }
                    m_fixedGrid[m] = m_workGrid[m] = static_cast<std::uint8_t>(d);
                    for (int e = 1; e <= 9; ++e) cand[m][e] = e == d;
                }
            }
        }
    }
    return false;
}

bool ReferenceSolver::SearchUp(int n) {
    step();
    if (m_found) return true;
    if (n > kCellCount) {
        m_found = true;
        return true;
    }
    if (m_fixedGrid[n] != 0) return SearchUp(n + 1);
    bool f = false;
    for (int d = 1; d <= 9; ++d) {
        if (CanPlace(m_workGrid, n, d) && !f) {
            m_workGrid[n] = static_cast<std::uint8_t>(d);
            ShowProgress(n, d);
            f = SearchUp(n + 1);
        }
    }
    if (!f) m_workGrid[n] = 0;
    return f;
}

bool ReferenceSolver::SearchDown(int n) {
    step();
    if (m_found) return true;
    if (n > kCellCount) {
        m_found = true;
        return true;
    }
    if (m_fixedGrid[n] != 0) return SearchDown(n + 1);
    bool f = false;
    for (int d = 9; d >= 1; --d) {
        if (CanPlace(m_workGrid, n, d) && !f) {
            m_workGrid[n] = static_cast<std::uint8_t>(d);
            ShowProgress(n, d);
            f = SearchDown(n + 1);
        }
    }
    if (!f) m_workGrid[n] = 0;
    return f;
}

void ReferenceSolver::ShowProgress(int n, int d) {
    if (n == m_progressCell) m_texts.push_back(ProgressText(d));
}

}  // namespace kz::test
