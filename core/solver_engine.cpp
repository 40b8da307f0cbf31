// SPDX-License-Identifier: MIT
// Bitboard search with singles and box-line propagation, used by the module `answer`.
#include "core/solver_engine.h"

#include <bit>

namespace kz::engine {

namespace {

constexpr std::uint32_t kBandAll = (1u << 27) - 1;
constexpr std::uint32_t kRowAll = 0x1ff;

constexpr int BandOf(int c) {
    return c / 27;
}
constexpr std::uint32_t BitOf(int c) {
    return 1u << (c % 27);
}

struct Tables {
    std::array<std::array<std::uint8_t, 9>, 27> units{};  // rows, columns, boxes
    std::array<Bitboard, 81> peers{};
    // Which of the three boxes a 9-cell row segment touches.
    std::array<std::uint8_t, 512> boxesOfRow{};
    // Box-line eliminations for one digit inside one band. Index: the nine (row, box) segments
    // the digit can still use, bit 3 * row + box. Value: the cells of the band still allowed
    // once a box confined to one row clears that row elsewhere and a row confined to one box
    // clears that box elsewhere, to a fixed point; 0 when a row or box is left without a cell.
    std::array<std::uint32_t, 512> lockedCells{};
};

constexpr std::uint32_t SegmentsToCells(unsigned segments) {
    std::uint32_t cells = 0;
    for (int s = 0; s < 9; ++s) {
        if (segments & (1u << s)) cells |= 7u << (9 * (s / 3) + 3 * (s % 3));
    }
    return cells;
}

constexpr std::uint32_t LockedCells(unsigned segments) {
    for (bool changed = true; changed;) {
        changed = false;
        for (int line = 0; line < 3; ++line) {
            const unsigned boxes = (segments >> (3 * line)) & 7u;
            unsigned rows = 0;
            for (int r = 0; r < 3; ++r) rows |= ((segments >> (3 * r + line)) & 1u) << r;
            if (boxes == 0 || rows == 0) return 0;
            if ((boxes & (boxes - 1)) == 0) {  // row `line` lies in one box: clear its other rows
                const int box = std::countr_zero(boxes);
                const unsigned keep = ~(0x49u << box) | (1u << (3 * line + box));
                if (segments & ~keep) changed = true;
                segments &= keep;
            }
            if ((rows & (rows - 1)) == 0) {  // box `line` lies in one row: clear that row elsewhere
                const int row = std::countr_zero(rows);
                const unsigned keep = ~(7u << (3 * row)) | (1u << (3 * row + line));
                if (segments & ~keep) changed = true;
                segments &= keep;
            }
        }
    }
    return SegmentsToCells(segments & 0x1ff);
}

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
        for (int p = 0; p < 81; ++p) {
            const bool sameRow = p / 9 == c / 9;
            const bool sameColumn = p % 9 == c % 9;
            const bool sameBox = (p / 27 == c / 27) && (p % 9 / 3 == c % 9 / 3);
            if (p != c && (sameRow || sameColumn || sameBox)) t.peers[c][BandOf(p)] |= BitOf(p);
        }
    }
    for (unsigned row = 0; row < 512; ++row) {
        for (int box = 0; box < 3; ++box) {
            if (row & (7u << (3 * box))) t.boxesOfRow[row] |= static_cast<std::uint8_t>(1u << box);
        }
    }
    for (unsigned s = 0; s < 512; ++s) t.lockedCells[s] = LockedCells(s);
    return t;
}

constexpr Tables kTables = MakeTables();

constexpr std::uint32_t kBoxCells[3] = {0x1c0e07u, 0x1c0e07u << 3, 0x1c0e07u << 6};

constexpr bool AtMostOne(std::uint32_t x) {
    return (x & (x - 1)) == 0;
}

bool Assign(Grid& g, int c, int d) {
    const int b = BandOf(c);
    const std::uint32_t bit = BitOf(c);
    Bitboard& own = g.cand[d - 1];
    if ((own[b] & bit) == 0) return false;
    if ((g.open[b] & bit) == 0) return true;
    const Bitboard& peers = kTables.peers[c];
    own[0] &= ~peers[0];
    own[1] &= ~peers[1];
    own[2] &= ~peers[2];
    for (Bitboard& other : g.cand) other[b] &= ~bit;
    own[b] |= bit;
    g.open[b] &= ~bit;
    return true;
}

// Places every open cell with exactly one candidate. False on a cell with none.
bool NakedSingles(Grid& g, bool& placed) {
    Bitboard ones{};
    Bitboard twos{};
    for (const Bitboard& x : g.cand) {
        for (int b = 0; b < 3; ++b) {
            const std::uint32_t y = x[b] & g.open[b];
            twos[b] |= ones[b] & y;
            ones[b] |= y;
        }
    }
    for (int b = 0; b < 3; ++b) {
        if (g.open[b] & ~ones[b]) return false;
    }
    for (int b = 0; b < 3; ++b) {
        for (std::uint32_t s = g.open[b] & ~twos[b]; s != 0; s &= s - 1) {
            const std::uint32_t bit = s & (~s + 1);
            // An earlier single may have taken this cell's last candidate.
            int d = 0;
            while (d < 9 && (g.cand[d][b] & bit) == 0) ++d;
            if (d == 9) return false;
            Assign(g, 27 * b + std::countr_zero(bit), d + 1);
            placed = true;
        }
    }
    return true;
}

// Box-line eliminations and hidden singles for digit d. False when some unit has no cell
// left for d, or two forced placements of d see each other.
bool DigitPass(Grid& g, int d, bool& changed) {
    Bitboard& x = g.cand[d];
    Bitboard hidden{};
    std::uint32_t columns = 0;
    std::uint32_t columnsTwice = 0;
    std::array<std::uint32_t, 3> bandColumns{};
    for (int b = 0; b < 3; ++b) {
        std::uint32_t v = x[b];
        const unsigned segments = kTables.boxesOfRow[v & kRowAll] |
                                  kTables.boxesOfRow[(v >> 9) & kRowAll] << 3 |
                                  kTables.boxesOfRow[v >> 18] << 6;
        const std::uint32_t allowed = kTables.lockedCells[segments];
        if (allowed == 0) return false;
        if (v & ~allowed) {
            v &= allowed;
            x[b] = v;
            changed = true;
        }
        const std::uint32_t r0 = v & kRowAll;
        const std::uint32_t r1 = (v >> 9) & kRowAll;
        const std::uint32_t r2 = v >> 18;
        if (AtMostOne(r0)) hidden[b] |= r0;
        if (AtMostOne(r1)) hidden[b] |= r1 << 9;
        if (AtMostOne(r2)) hidden[b] |= r2 << 18;
        for (const std::uint32_t box : kBoxCells) {
            const std::uint32_t y = v & box;
            if (AtMostOne(y)) hidden[b] |= y;
        }
        bandColumns[b] = r0 | r1 | r2;
        columnsTwice |= columns & bandColumns[b];
        columnsTwice |= (r0 & r1) | (r0 & r2) | (r1 & r2);
        columns |= bandColumns[b];
    }
    if (columns != kRowAll) return false;
    const std::uint32_t columnsOnce = columns & ~columnsTwice;
    for (int b = 0; b < 3; ++b) {
        const std::uint32_t mine = columnsOnce & bandColumns[b];
        hidden[b] |= x[b] & (mine | mine << 9 | mine << 18);
    }
    for (int b = 0; b < 3; ++b) {
        for (std::uint32_t s = hidden[b] & g.open[b]; s != 0; s &= s - 1) {
            if (!Assign(g, 27 * b + std::countr_zero(s), d + 1)) return false;
            changed = true;
        }
    }
    return true;
}

bool IsDone(const Grid& g) {
    return (g.open[0] | g.open[1] | g.open[2]) == 0;
}

Solution Extract(const Grid& g) {
    Solution s{};
    for (int d = 0; d < 9; ++d) {
        for (int b = 0; b < 3; ++b) {
            for (std::uint32_t x = g.cand[d][b]; x != 0; x &= x - 1) {
                s[27 * b + std::countr_zero(x)] = static_cast<std::uint8_t>(d + 1);
            }
        }
    }
    return s;
}

int CandidateCount(const Grid& g, int c) {
    int n = 0;
    for (const Bitboard& x : g.cand) n += (x[BandOf(c)] & BitOf(c)) != 0;
    return n;
}

// The open cell to branch on: the first with two candidates, else the first with fewest.
int BranchCell(const Grid& g) {
    Bitboard ones{};
    Bitboard twos{};
    Bitboard threes{};
    for (const Bitboard& x : g.cand) {
        for (int b = 0; b < 3; ++b) {
            const std::uint32_t y = x[b] & g.open[b];
            threes[b] |= twos[b] & y;
            twos[b] |= ones[b] & y;
            ones[b] |= y;
        }
    }
    for (int b = 0; b < 3; ++b) {
        const std::uint32_t pairs = g.open[b] & ~threes[b];
        if (pairs != 0) return 27 * b + std::countr_zero(pairs);
    }
    int best = -1;
    int bestCount = 10;
    for (int b = 0; b < 3; ++b) {
        for (std::uint32_t s = g.open[b]; s != 0; s &= s - 1) {
            const int c = 27 * b + std::countr_zero(s);
            const int n = CandidateCount(g, c);
            if (n < bestCount) {
                best = c;
                bestCount = n;
                if (n == 3) return best;
            }
        }
    }
    return best;
}

void Search(const Grid& start, int limit, Solution* found, int& count, const BranchWatch& watch) {
    Grid g = start;
    if (!Propagate(g)) return;
    if (IsDone(g)) {
        found[count++] = Extract(g);
        return;
    }
    const int c = BranchCell(g);
    const int b = BandOf(c);
    const std::uint32_t bit = BitOf(c);
    for (int d = 0; d < 9; ++d) {
        if ((g.cand[d][b] & bit) == 0) continue;
        if (c == watch.cell && watch.onDigit) watch.onDigit(d + 1);
        Grid next = g;
        Assign(next, c, d + 1);
        Search(next, limit, found, count, watch);
        if (count >= limit) return;
    }
}

}  // namespace

Grid EmptyGrid() {
    Grid g;
    for (Bitboard& x : g.cand) x.fill(kBandAll);
    g.open.fill(kBandAll);
    return g;
}

bool Place(Grid& grid, int c, int d) {
    return Assign(grid, c, d);
}

bool Propagate(Grid& g) {
    for (;;) {
        bool placed = true;
        while (placed) {
            placed = false;
            if (!NakedSingles(g, placed)) return false;
        }
        if (IsDone(g)) return true;
        bool changed = false;
        for (int d = 0; d < 9; ++d) {
            if (!DigitPass(g, d, changed)) return false;
        }
        if (!changed) return true;
    }
}

int CountCompletions(const Grid& grid, int limit, Solution* found, const BranchWatch& watch) {
    int count = 0;
    Search(grid, limit, found, count, watch);
    return count;
}

int ValueAt(const Grid& grid, int c) {
    const int b = BandOf(c);
    const std::uint32_t bit = BitOf(c);
    if (grid.open[b] & bit) return 0;
    for (int d = 0; d < 9; ++d) {
        if (grid.cand[d][b] & bit) return d + 1;
    }
    return 0;
}

Solution SmallestCompletion(const Grid& grid, Solution witness, const BranchWatch& watch) {
    Grid current = grid;
    Propagate(current);
    const BranchWatch silent;
    for (int c = 0; c < 81; ++c) {
        if (ValueAt(current, c) != 0) continue;
        bool taken = false;
        // Digits above the witness's need no test: the witness already proves its own digit.
        for (int d = 1; d < witness[c] && !taken; ++d) {
            if ((current.cand[d - 1][BandOf(c)] & BitOf(c)) == 0) continue;
            if (c == watch.cell && watch.onDigit) watch.onDigit(d);
            Grid trial = current;
            Solution other{};
            if (Assign(trial, c, d) && CountCompletions(trial, 1, &other, silent) == 1) {
                witness = other;
                current = trial;
                taken = true;
            }
        }
        if (!taken) {
            if (c == watch.cell && watch.onDigit) watch.onDigit(witness[c]);
            Assign(current, c, witness[c]);
        }
        Propagate(current);
    }
    return Extract(current);
}

bool IsCompletionOf(const Grid& grid, const Solution& s) {
    for (int c = 0; c < 81; ++c) {
        if (s[c] < 1 || s[c] > 9) return false;
        const int placed = ValueAt(grid, c);
        if (placed != 0 && placed != s[c]) return false;
    }
    for (const auto& unit : kTables.units) {
        unsigned seen = 0;
        for (const std::uint8_t c : unit) seen |= 1u << (s[c] - 1);
        if (seen != kAllDigits) return false;
    }
    return true;
}

}  // namespace kz::engine
