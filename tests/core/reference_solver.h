// SPDX-License-Identifier: MIT
// The plain solver written step by step from its original description: one rule pass, then a
// depth-first search over cells 1..81 with no pruning. Slow; the tests and the benchmark hold
// the fast solver to its results.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/board.h"

namespace kz::test {

class ReferenceSolver {
public:
    /// stepLimit: search calls allowed per entry point before giving up (0 = no limit).
    /// recheckPlacements: the rule step treats two of its placements of one digit in one unit
    /// as a contradiction (false gives the unguarded behaviour).
    explicit ReferenceSolver(std::uint64_t stepLimit = 0, bool recheckPlacements = true);

    /// nullopt when the step limit was reached; values is then unchanged.
    std::optional<bool> SolveBoard(ValueArray16& values);
    /// nullopt when the step limit was reached.
    std::optional<int> VerifyProblem(const ValueArray16& values);

    /// Every status text of the last call, in order.
    const std::vector<std::string>& progressTexts() const { return m_texts; }

private:
    bool PreSolve();
    bool SearchUp(int n);
    bool SearchDown(int n);
    void ShowProgress(int n, int d);
    void step();
    int firstOpen(const std::array<std::uint8_t, kArraySize>& grid) const;

    std::uint64_t m_stepLimit;
    bool m_recheck;
    std::uint64_t m_steps = 0;
    std::array<std::uint8_t, kArraySize> m_workGrid{};
    std::array<std::uint8_t, kArraySize> m_fixedGrid{};
    bool m_found = false;
    int m_progressCell = 0;
    std::vector<std::string> m_texts;
};

}  // namespace kz::test
