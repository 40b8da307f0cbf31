// SPDX-License-Identifier: MIT
// Candidate-bitmask search with singles propagation, used by the module `answer`.
#include "core/solver_engine.h"

#include <bit>

namespace kz::engine {

namespace {

struct Tables {
    std::array<std::array<std::uint8_t, 9>, 27> units{};  // rows, columns, boxes
    std::array<std::array<std::uint8_t, 20>, 81> peers{};
};

constexpr Tables MakeTables() {
    Tables t{};
    for (int i = 0; i < 9; ++i) {
        for (int j = 0; j < 9; ++j) {
            t.units[i][j] = static_cast<std::uint8_t>(9 * i + j);
            t.units[9 + i][j] = static_cast<std::uint8_t>(9 * j + i);
            t.units[18 + i][j] =
                static_cast<std::uint8_t>(27 * (i / 3) + 3 * (i % 3) + 9 * (j / 3) + j % 3);
        }
    }
    for (int c = 0; c < 81; ++c) {
        int k = 0;
        for (int p = 0; p < 81; ++p) {
            const bool sameRow = p / 9 == c / 9;
            const bool sameColumn = p % 9 == c % 9;
            const bool sameBox = (p / 27 == c / 27) && (p % 9 / 3 == c % 9 / 3);
            if (p != c && (sameRow || sameColumn || sameBox)) {
                t.peers[c][k++] = static_cast<std::uint8_t>(p);
            }
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();

constexpr Mask Bit(int d) {
    return static_cast<Mask>(1u << (d - 1));
}
int DigitOf(Mask single) {
    return std::countr_zero(static_cast<unsigned>(single)) + 1;
}
bool IsSingle(Mask m) {
    return m != 0 && (m & (m - 1)) == 0;
}

// Cells that drop to one candidate are pushed so the caller can place them; each cell makes
// that drop at most once, so 81 entries always suffice.
struct SingleStack {
    std::array<std::uint8_t, 81> cells{};
    int size = 0;
};

bool Assign(Grid& g, int c, int d, SingleStack* singles) {
    const Mask bit = Bit(d);
    if ((g.cand[c] & bit) == 0) return false;
    if (g.value[c] != 0) return true;
    g.value[c] = static_cast<std::uint8_t>(d);
    g.cand[c] = bit;
    --g.open;
    for (const std::uint8_t p : kTables.peers[c]) {
        Mask m = g.cand[p];
        if ((m & bit) == 0) continue;
        m = static_cast<Mask>(m & ~bit);
        g.cand[p] = m;
        if (m == 0) return false;
        if (singles != nullptr && g.value[p] == 0 && IsSingle(m)) {
            singles->cells[singles->size++] = p;
        }
    }
    return true;
}

void Search(const Grid& start, int limit, Solution* found, int& count, const BranchFn& onBranch) {
    Grid g = start;
    if (!Propagate(g)) return;
    if (g.open == 0) {
        found[count++] = g.value;
        return;
    }
    int best = -1;
    int bestCount = 10;
    for (int c = 0; c < 81; ++c) {
        if (g.value[c] != 0) continue;
        const int n = std::popcount(static_cast<unsigned>(g.cand[c]));
        if (n < bestCount) {
            best = c;
            bestCount = n;
            if (n == 2) break;
        }
    }
    for (Mask m = g.cand[best]; m != 0; m = static_cast<Mask>(m & (m - 1))) {
        const int d = DigitOf(static_cast<Mask>(m & -m));
        if (onBranch) onBranch(best, d);
        Grid next = g;
        if (Assign(next, best, d, nullptr)) Search(next, limit, found, count, onBranch);
        if (count >= limit) return;
    }
}

}  // namespace

Grid EmptyGrid() {
    Grid g;
    g.cand.fill(kAllDigits);
    return g;
}

bool Place(Grid& grid, int c, int d) {
    return Assign(grid, c, d, nullptr);
}

bool Propagate(Grid& g) {
    SingleStack singles;
    for (int c = 0; c < 81; ++c) {
        if (g.value[c] != 0) continue;
        if (g.cand[c] == 0) return false;
        if (IsSingle(g.cand[c])) singles.cells[singles.size++] = static_cast<std::uint8_t>(c);
    }
    for (;;) {
        while (singles.size > 0) {
            const int c = singles.cells[--singles.size];
            if (g.value[c] != 0) continue;
            if (g.cand[c] == 0 || !Assign(g, c, DigitOf(g.cand[c]), &singles)) return false;
        }
        if (g.open == 0) return true;
        bool placed = false;
        for (const auto& unit : kTables.units) {
            Mask once = 0;
            Mask twice = 0;
            Mask fixed = 0;
            for (const std::uint8_t c : unit) {
                const Mask m = g.cand[c];
                if (g.value[c] != 0) {
                    fixed |= m;
                } else {
                    twice |= once & m;
                }
                once |= m;
            }
            if (once != kAllDigits) return false;
            Mask hidden = static_cast<Mask>(once & ~twice & ~fixed);
            for (; hidden != 0; hidden = static_cast<Mask>(hidden & (hidden - 1))) {
                const Mask bit = static_cast<Mask>(hidden & -hidden);
                int cell = -1;
                for (const std::uint8_t c : unit) {
                    if (g.cand[c] & bit) cell = c;
                }
                // An earlier single of this unit may have taken the only cell for this digit.
                if (cell < 0) return false;
                if (g.value[cell] != 0) continue;
                if (!Assign(g, cell, DigitOf(bit), &singles)) return false;
                placed = true;
            }
        }
        if (!placed && singles.size == 0) return true;
    }
}

int CountCompletions(const Grid& grid, int limit, Solution* found, const BranchFn& onBranch) {
    int count = 0;
    Search(grid, limit, found, count, onBranch);
    return count;
}

Solution SmallestCompletion(const Grid& grid, Solution witness, const BranchFn& onBranch) {
    Grid current = grid;
    Propagate(current);
    for (int c = 0; c < 81; ++c) {
        if (current.value[c] != 0) continue;
        bool taken = false;
        // Digits above the witness's need no test: the witness already proves its own digit.
        for (int d = 1; d < witness[c] && !taken; ++d) {
            if ((current.cand[c] & Bit(d)) == 0) continue;
            if (onBranch) onBranch(c, d);
            Grid trial = current;
            Solution other{};
            if (Assign(trial, c, d, nullptr) && CountCompletions(trial, 1, &other, {}) == 1) {
                witness = other;
                current = trial;
                taken = true;
            }
        }
        if (!taken) {
            if (onBranch) onBranch(c, witness[c]);
            Assign(current, c, witness[c], nullptr);
        }
        Propagate(current);
    }
    return current.value;
}

bool IsCompletionOf(const Grid& grid, const Solution& s) {
    for (int c = 0; c < 81; ++c) {
        if (s[c] < 1 || s[c] > 9) return false;
        if (grid.value[c] != 0 && grid.value[c] != s[c]) return false;
    }
    for (const auto& unit : kTables.units) {
        Mask seen = 0;
        for (const std::uint8_t c : unit) seen |= Bit(s[c]);
        if (seen != kAllDigits) return false;
    }
    return true;
}

}  // namespace kz::engine
