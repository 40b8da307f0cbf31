// SPDX-License-Identifier: MIT
// The earlier bitboard search, frozen as the benchmark's baseline.
#include "bench/baseline/solver_engine.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kz::baseline_engine {

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
    // The same eliminations across the bands of a stack, with columns in the role of rows and
    // bands in the role of boxes. Index: bit 3 * band + column (0..2 inside the stack) for the
    // column segments the digit can still use. Value: the segments kept, as bit 9 * band +
    // column, ready to be shifted to the stack and split by band; 0 on a contradiction.
    std::array<std::uint32_t, 512> lockedStack{};
};

constexpr std::uint32_t SegmentsToCells(unsigned segments) {
    std::uint32_t cells = 0;
    for (int s = 0; s < 9; ++s) {
        if (segments & (1u << s)) cells |= 7u << (9 * (s / 3) + 3 * (s % 3));
    }
    return cells;
}

constexpr unsigned LockedSegments(unsigned segments) {
    for (bool changed = true; changed;) {
        changed = false;
        for (int line = 0; line < 3; ++line) {
            const unsigned boxes = (segments >> (3 * line)) & 7u;
            unsigned rows = 0;
            for (int r = 0; r < 3; ++r) rows |= ((segments >> (3 * r + line)) & 1u) << r;
            if (boxes == 0 || rows == 0) return 0;
            // Row `line` lies in one box: that box uses no other row.
            if ((boxes & (boxes - 1)) == 0) {
                const int box = std::countr_zero(boxes);
                const unsigned keep = ~(0x49u << box) | (1u << (3 * line + box));
                if (segments & ~keep) changed = true;
                segments &= keep;
            }
            // Box `line` lies in one row: that row uses no other box.
            if ((rows & (rows - 1)) == 0) {
                const int row = std::countr_zero(rows);
                const unsigned keep = ~(7u << (3 * row)) | (1u << (3 * row + line));
                if (segments & ~keep) changed = true;
                segments &= keep;
            }
        }
    }
    return segments & 0x1ff;
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
    for (unsigned s = 0; s < 512; ++s) {
        t.lockedCells[s] = SegmentsToCells(LockedSegments(s));
        unsigned transposed = 0;
        for (int band = 0; band < 3; ++band) {
            for (int column = 0; column < 3; ++column) {
                if (s & (1u << (3 * band + column))) transposed |= 1u << (3 * column + band);
            }
        }
        const unsigned kept = LockedSegments(transposed);
        for (int band = 0; band < 3; ++band) {
            for (int column = 0; column < 3; ++column) {
                if (kept & (1u << (3 * column + band))) {
                    t.lockedStack[s] |= 1u << (9 * band + column);
                }
            }
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();

constexpr std::uint32_t ColumnCells(std::uint32_t columns) {
    return columns | columns << 9 | columns << 18;
}

// All ones when x has at most one bit set, else 0.
constexpr std::uint32_t AllIfAtMostOne(std::uint32_t x) {
    return 0u - static_cast<std::uint32_t>((x & (x - 1)) == 0);
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
    const int shift = c % 27;
    std::uint32_t touched = 1u << (d - 1);
    for (int e = 0; e < 9; ++e) {
        touched |= ((g.cand[e][b] >> shift) & 1u) << e;
        g.cand[e][b] &= ~bit;
    }
    own[b] |= bit;
    g.open[b] &= ~bit;
    g.dirty |= touched;
    return true;
}

// Places digit d in the open cells `cells`, all candidates of d, at once. The caller clears
// the cells from the other digits. False when two of them see each other.
bool PlaceAll(Grid& g, int d, const Bitboard& cells) {
    Bitboard peers{};
    for (int b = 0; b < 3; ++b) {
        for (std::uint32_t s = cells[b]; s != 0; s &= s - 1) {
            const Bitboard& p = kTables.peers[27 * b + std::countr_zero(s)];
            peers[0] |= p[0];
            peers[1] |= p[1];
            peers[2] |= p[2];
        }
    }
    Bitboard& x = g.cand[d];
    for (int b = 0; b < 3; ++b) {
        if (peers[b] & cells[b]) return false;
        x[b] &= ~peers[b];
        g.open[b] &= ~cells[b];
    }
    g.dirty |= 1u << d;
    return true;
}

// Cells with at least one, two and (when asked) three candidates. A placed cell has one.
// Bands 0 and 1 lie next to each other in memory and are counted as one 64-bit word.
struct Counts {
    Bitboard ones{};
    Bitboard twos{};
    Bitboard threes{};
};

template <bool kThrees>
Counts CountCandidates(const Grid& g) {
    std::uint64_t ones01 = 0;
    std::uint64_t twos01 = 0;
    std::uint64_t threes01 = 0;
    std::uint32_t ones2 = 0;
    std::uint32_t twos2 = 0;
    std::uint32_t threes2 = 0;
    for (const Bitboard& x : g.cand) {
        std::uint64_t y01 = 0;
        std::memcpy(&y01, x.data(), sizeof y01);
        const std::uint32_t y2 = x[2];
        if constexpr (kThrees) {
            threes01 |= twos01 & y01;
            threes2 |= twos2 & y2;
        }
        twos01 |= ones01 & y01;
        twos2 |= ones2 & y2;
        ones01 |= y01;
        ones2 |= y2;
    }
    Counts c;
    std::memcpy(c.ones.data(), &ones01, sizeof ones01);
    std::memcpy(c.twos.data(), &twos01, sizeof twos01);
    std::memcpy(c.threes.data(), &threes01, sizeof threes01);
    c.ones[2] = ones2;
    c.twos[2] = twos2;
    c.threes[2] = threes2;
    return c;
}

// Places every open cell with exactly one candidate. False on a cell with none.
bool NakedSingles(Grid& g, bool& placed) {
    const Counts n = CountCandidates<false>(g);
    Bitboard singles{};
    for (int b = 0; b < 3; ++b) {
        if (g.open[b] & ~n.ones[b]) return false;
        singles[b] = g.open[b] & ~n.twos[b];
    }
    if ((singles[0] | singles[1] | singles[2]) == 0) return true;
    placed = true;
    // A single is a candidate of one digit only, so the other digits need no clearing.
    for (int b = 0; b < 3; ++b) {
        for (std::uint32_t s = singles[b]; s != 0; s &= s - 1) {
            const std::uint32_t bit = s & (~s + 1);
            const int shift = std::countr_zero(bit);
            unsigned digits = 0;
            for (int e = 0; e < 9; ++e) digits |= ((g.cand[e][b] >> shift) & 1u) << e;
            // An earlier single of the same digit may have taken this cell's candidate.
            if (digits == 0) return false;
            const int d = std::countr_zero(digits);
            Bitboard& x = g.cand[d];
            const Bitboard& p = kTables.peers[27 * b + shift];
            x[0] &= ~p[0];
            x[1] &= ~p[1];
            x[2] &= ~p[2];
            g.open[b] &= ~bit;
            g.dirty |= 1u << d;
        }
    }
    return true;
}

// Box-line eliminations and hidden singles for digit d. False when some unit has no cell
// left for d, or two forced placements of d see each other.
bool DigitPass(Grid& g, int d) {
    // Written without data-dependent branches where it matters: the outcomes are close to
    // random, and mispredictions cost more than the few extra instructions.
    std::uint32_t changed = 0;
    Bitboard& x = g.cand[d];
    // Rows against boxes, inside each band.
    std::array<std::uint32_t, 3> bandColumns{};
    for (int b = 0; b < 3; ++b) {
        const std::uint32_t v = x[b];
        const unsigned segments = kTables.boxesOfRow[v & kRowAll] |
                                  kTables.boxesOfRow[(v >> 9) & kRowAll] << 3 |
                                  kTables.boxesOfRow[v >> 18] << 6;
        const std::uint32_t allowed = kTables.lockedCells[segments];
        if (allowed == 0) return false;
        const std::uint32_t kept = v & allowed;
        changed |= kept ^ v;
        x[b] = kept;
        bandColumns[b] = (kept | kept >> 9 | kept >> 18) & kRowAll;
    }
    // Columns against boxes, inside each stack; bit 9 * band + column.
    std::uint32_t keptColumns = 0;
    for (int s = 0; s < 3; ++s) {
        const int shift = 3 * s;
        const unsigned segments = ((bandColumns[0] >> shift) & 7) |
                                  ((bandColumns[1] >> shift) & 7) << 3 |
                                  ((bandColumns[2] >> shift) & 7) << 6;
        const std::uint32_t kept = kTables.lockedStack[segments];
        if (kept == 0) return false;
        keptColumns |= kept << shift;
    }
    // A row or box emptied here is caught by the next pass over this digit, which `changed`
    // asks for; an empty unit only adds nothing to `hidden`. Boxes need no single test of
    // their own: a box with one cell lies in one row, so the band step has already left that
    // cell alone in its row.
    Bitboard hidden{};
    std::uint32_t columnsSeen = 0;
    std::uint32_t columnsTwice = 0;
    for (int b = 0; b < 3; ++b) {
        const std::uint32_t v = x[b] & ColumnCells((keptColumns >> (9 * b)) & kRowAll);
        changed |= v ^ x[b];
        x[b] = v;
        const std::uint32_t r0 = v & kRowAll;
        const std::uint32_t r1 = (v >> 9) & kRowAll;
        const std::uint32_t r2 = v >> 18;
        hidden[b] = (r0 & AllIfAtMostOne(r0)) | (r1 & AllIfAtMostOne(r1)) << 9 |
                    (r2 & AllIfAtMostOne(r2)) << 18;
        bandColumns[b] = r0 | r1 | r2;
        columnsTwice |= columnsSeen & bandColumns[b];
        columnsTwice |= (r0 & r1) | (r0 & r2) | (r1 & r2);
        columnsSeen |= bandColumns[b];
    }
    if (columnsSeen != kRowAll) return false;
    const std::uint32_t columnsOnce = columnsSeen & ~columnsTwice;
    for (int b = 0; b < 3; ++b) {
        hidden[b] |= x[b] & ColumnCells(columnsOnce & bandColumns[b]);
    }
    for (int b = 0; b < 3; ++b) hidden[b] &= g.open[b];
    if ((hidden[0] | hidden[1] | hidden[2]) != 0) {
        if (!PlaceAll(g, d, hidden)) return false;
        for (int e = 0; e < 9; ++e) {
            if (e == d) continue;
            Bitboard& y = g.cand[e];
            const std::uint32_t hit = (y[0] & hidden[0]) | (y[1] & hidden[1]) | (y[2] & hidden[2]);
            g.dirty |= static_cast<std::uint32_t>(hit != 0) << e;
            y[0] &= ~hidden[0];
            y[1] &= ~hidden[1];
            y[2] &= ~hidden[2];
        }
    }
    // An elimination can enable another one in the other direction.
    g.dirty |= static_cast<std::uint32_t>(changed != 0) << d;
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

// Bit count without a library call: the default x86-64 target has no popcount instruction.
constexpr int BitCount(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// How many of cell c's peers are still open.
int OpenPeers(const Grid& g, int c) {
    const Bitboard& p = kTables.peers[c];
    using Wide = std::uint64_t;
    return BitCount(Wide{p[0] & g.open[0]} | Wide{p[1] & g.open[1]} << 27) +
           BitCount(p[2] & g.open[2]);
}

// The open cell to branch on: of the cells with two candidates the one with the most open
// peers (either branch then tends to propagate furthest), else the first with fewest.
int BranchCell(const Grid& g) {
    const Counts n = CountCandidates<true>(g);
    // Key: weight above, 127 − cell below, so the largest key is the first cell of most weight.
    int bestKey = -1;
    for (int b = 0; b < 3; ++b) {
        for (std::uint32_t pairs = g.open[b] & ~n.threes[b]; pairs != 0; pairs &= pairs - 1) {
            const int c = 27 * b + std::countr_zero(pairs);
            bestKey = std::max(bestKey, OpenPeers(g, c) << 7 | (127 - c));
        }
    }
    if (bestKey >= 0) return 127 - (bestKey & 127);
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

// Searches from `g`, which it uses up: the last branch works on it in place.
void Search(Grid& g, int limit, Solution* found, int& count, const BranchWatch& watch) {
    if (!Propagate(g)) return;
    if (IsDone(g)) {
        found[count++] = Extract(g);
        return;
    }
    const int c = BranchCell(g);
    const int b = BandOf(c);
    const int shift = c % 27;
    unsigned digits = 0;
    for (int d = 0; d < 9; ++d) digits |= ((g.cand[d][b] >> shift) & 1u) << d;
    for (; digits != 0; digits &= digits - 1) {
        const int d = std::countr_zero(digits);
        if (c == watch.cell && watch.onDigit) watch.onDigit(d + 1);
        if ((digits & (digits - 1)) == 0) {
            Assign(g, c, d + 1);
            Search(g, limit, found, count, watch);
            return;
        }
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
    g.dirty = kAllDigits;
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
        if (IsDone(g) || g.dirty == 0) return true;
        for (std::uint32_t digits = g.dirty; digits != 0; digits &= digits - 1) {
            const int d = std::countr_zero(digits);
            g.dirty &= ~(1u << d);
            if (!DigitPass(g, d)) return false;
        }
    }
}

int CountCompletions(const Grid& grid, int limit, Solution* found, const BranchWatch& watch) {
    int count = 0;
    Grid g = grid;
    Search(g, limit, found, count, watch);
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

}  // namespace kz::baseline_engine
