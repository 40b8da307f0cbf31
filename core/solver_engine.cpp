// SPDX-License-Identifier: MIT
// The engine's tables, the few cold operations, and the choice of the kernel that runs the
// search (engine_kernel.inc, one build per instruction-set level).
#include "core/solver_engine.h"

#include <atomic>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "core/engine_kernel.h"

namespace kz::engine {

namespace kernel {

namespace {

constexpr int BandOf(int c) {
    return c / 27;
}
constexpr std::uint32_t BitOf(int c) {
    return 1u << (c % 27);
}

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

}  // namespace

constinit const Tables kTables = MakeTables();

}  // namespace kernel

namespace {

using kernel::BandOf;
using kernel::BitOf;
using kernel::kTables;

constexpr std::uint32_t kBandAll = (1u << 27) - 1;

using Words = std::uint32_t[kernel::kGridWords];
static_assert(sizeof(Grid) == sizeof(Words) && std::is_trivially_copyable_v<Grid> &&
              std::is_standard_layout_v<Grid>);
static_assert(sizeof(Solution) == 81);

bool Assign(Grid& g, int c, int d) {
    const int b = BandOf(c);
    const std::uint32_t bit = BitOf(c);
    Bitboard& own = g.cand[d - 1];
    if ((own[b] & bit) == 0) return false;
    if ((g.open[b] & bit) == 0) return true;
    const std::uint32_t* peers = kTables.peers[c];
    own[0] &= ~peers[0];
    own[1] &= ~peers[1];
    own[2] &= ~peers[2];
    std::uint32_t touched = 1u << (d - 1);
    for (int e = 0; e < 9; ++e) {
        std::uint32_t& y = g.cand[e][b];
        touched |= static_cast<std::uint32_t>((y & bit) != 0) << e;
        y &= ~bit;
    }
    own[b] |= bit;
    g.open[b] &= ~bit;
    g.dirty |= touched;
    return true;
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

// --- choosing the kernel

bool ProcessorRuns(CodePath path) {
#if defined(KZ_ENGINE_X86_KERNELS)
    __builtin_cpu_init();
    const bool v2 = __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("sse4.2");
    switch (path) {
        case CodePath::Portable:
            return true;
        case CodePath::X86V2:
            return v2;
        case CodePath::X86V3:
            return v2 && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
                   __builtin_cpu_supports("bmi2");
    }
    return false;
#else
    return path == CodePath::Portable;
#endif
}

const kernel::Entry& EntryOf(CodePath path) {
#if defined(KZ_ENGINE_X86_KERNELS)
    if (path == CodePath::X86V3) return kernel::kX86V3;
    if (path == CodePath::X86V2) return kernel::kX86V2;
#endif
    (void)path;
    return kernel::kPortable;
}

constexpr CodePath kAllPaths[] = {CodePath::Portable, CodePath::X86V2, CodePath::X86V3};

CodePath InitialPath() {
    const std::vector<CodePath> supported = SupportedCodePaths();
    if (const char* wanted = std::getenv("KZ_ENGINE_PATH")) {
        for (const CodePath path : supported) {
            if (CodePathName(path) == wanted) return path;
        }
    }
    return supported.back();
}

std::atomic<const kernel::Entry*> g_entry{nullptr};
std::atomic<int> g_path{-1};

const kernel::Entry& Active() {
    const kernel::Entry* entry = g_entry.load(std::memory_order_acquire);
    if (entry == nullptr) {
        SelectCodePath(InitialPath());
        entry = g_entry.load(std::memory_order_acquire);
    }
    return *entry;
}

void NotifyWatch(const void* context, int digit) {
    static_cast<const BranchWatch*>(context)->onDigit(digit);
}

}  // namespace

std::string_view CodePathName(CodePath path) {
    switch (path) {
        case CodePath::Portable:
            return "portable";
        case CodePath::X86V2:
            return "x86-64-v2";
        case CodePath::X86V3:
            return "x86-64-v3";
    }
    return "unknown";
}

std::vector<CodePath> SupportedCodePaths() {
    std::vector<CodePath> paths;
    for (const CodePath path : kAllPaths) {
        if (ProcessorRuns(path)) paths.push_back(path);
    }
    return paths;
}

CodePath ActiveCodePath() {
    Active();
    return static_cast<CodePath>(g_path.load(std::memory_order_acquire));
}

bool SelectCodePath(CodePath path) {
    if (!ProcessorRuns(path)) return false;
    g_path.store(static_cast<int>(path), std::memory_order_release);
    g_entry.store(&EntryOf(path), std::memory_order_release);
    return true;
}

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

bool PlaceAll(Grid& grid, const Solution& digits) {
    grid = EmptyGrid();
    std::array<Bitboard, 9> cells{};
    std::array<Bitboard, 9> peers{};
    Bitboard placed{};
    for (int c = 0; c < 81; ++c) {
        const int d = digits[c];
        if (d < 1 || d > 9) continue;
        const std::uint32_t* p = kTables.peers[c];
        for (int b = 0; b < 3; ++b) peers[d - 1][b] |= p[b];
        cells[d - 1][BandOf(c)] |= BitOf(c);
        placed[BandOf(c)] |= BitOf(c);
    }
    bool clash = false;
    for (int d = 0; d < 9; ++d) {
        for (int b = 0; b < 3; ++b) {
            clash = clash || (peers[d][b] & cells[d][b]) != 0;
            grid.cand[d][b] &= ~(peers[d][b] | placed[b]);
            grid.cand[d][b] |= cells[d][b];
        }
    }
    for (int b = 0; b < 3; ++b) grid.open[b] &= ~placed[b];
    return !clash;
}

bool Propagate(Grid& grid) {
    Words words;
    std::memcpy(words, &grid, sizeof words);
    const bool ok = Active().propagate(words);
    std::memcpy(&grid, words, sizeof words);
    return ok;
}

int CountCompletions(const Grid& grid, int limit, Solution* found, const BranchWatch& watch) {
    Words words;
    std::memcpy(words, &grid, sizeof words);
    kernel::Watch seen;
    if (watch.onDigit) {
        seen.cell = watch.cell;
        seen.context = &watch;
        seen.notify = NotifyWatch;
    }
    return Active().count(words, limit, reinterpret_cast<std::uint8_t*>(found), seen);
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
    std::array<Bitboard, 9> cells{};  // where s has each digit
    for (int b = 0; b < 3; ++b) {
        for (int i = 0; i < 27; ++i) {
            const unsigned d = s[27 * b + i] - 1u;
            if (d > 8) return false;
            cells[d][b] |= 1u << i;
        }
    }
    std::uint32_t wrong = 0;
    Bitboard claimed{};
    for (int d = 0; d < 9; ++d) {
        // Each unit holds every digit once: each row exactly one cell of d, and no column or
        // box two.
        std::uint32_t columns[3];
        for (int b = 0; b < 3; ++b) {
            const std::uint32_t x = cells[d][b];
            const std::uint32_t r0 = x & 0x1ff;
            const std::uint32_t r1 = (x >> 9) & 0x1ff;
            const std::uint32_t r2 = x >> 18;
            const std::uint32_t s0 = (r0 | r0 >> 1 | r0 >> 2) & 0x49;
            const std::uint32_t s1 = (r1 | r1 >> 1 | r1 >> 2) & 0x49;
            const std::uint32_t s2 = (r2 | r2 >> 1 | r2 >> 2) & 0x49;
            wrong |= (r0 & (r0 - 1)) | (r1 & (r1 - 1)) | (r2 & (r2 - 1));
            wrong |= static_cast<std::uint32_t>(r0 == 0 || r1 == 0 || r2 == 0);
            wrong |= (r0 & r1) | (r0 & r2) | (r1 & r2) | (s0 & s1) | (s0 & s2) | (s1 & s2);
            columns[b] = r0 | r1 | r2;
        }
        wrong |= (columns[0] & columns[1]) | (columns[0] & columns[2]) | (columns[1] & columns[2]);
        // A placed cell keeps its digit: the lowest digit whose candidate it still is.
        for (int b = 0; b < 3; ++b) {
            const std::uint32_t placed = grid.cand[d][b] & ~grid.open[b] & ~claimed[b];
            claimed[b] |= placed;
            wrong |= placed & ~cells[d][b];
        }
    }
    return wrong == 0;
}

}  // namespace kz::engine
