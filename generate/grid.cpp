// SPDX-License-Identifier: MIT
// Random complete grids: a randomised search fills an empty grid, then a random symmetry of
// the rules (digits relabelled, rows and columns moved within their bands and stacks, bands
// and stacks moved, the grid transposed) carries it anywhere in its class. The search alone
// favours its own order of cells and digits; the second stage makes every digit equally
// likely in every cell whatever the search did.
#include <array>
#include <bit>
#include <cstdint>

#include "generate/generator.h"
#include "generate/random.h"

namespace kz::generate {

namespace {

constexpr int kAll = 0x1ff;

// Set bits of each 9-bit mask: std::popcount is a library call on the default x86-64 target.
constexpr std::array<std::uint8_t, 512> kBitCount = [] {
    std::array<std::uint8_t, 512> count{};
    for (int m = 1; m < 512; ++m) count[m] = static_cast<std::uint8_t>(count[m & (m - 1)] + 1);
    return count;
}();

class Filler {
public:
    explicit Filler(std::mt19937_64& random) : m_random(random) {}

    logic::Digits Fill() {
        m_rows.fill(0);
        m_columns.fill(0);
        m_boxes.fill(0);
        m_digits.fill(0);
        // An empty grid always has a completion, and this search never fails to find one.
        Search(0);
        return m_digits;
    }

private:
    int Free(int c) const { return kAll & ~(m_rows[c / 9] | m_columns[c % 9] | m_boxes[Box(c)]); }

    static int Box(int c) { return 3 * (c / 27) + c % 9 / 3; }

    void Set(int c, int d) {
        const int bit = 1 << (d - 1);
        m_rows[c / 9] ^= bit;
        m_columns[c % 9] ^= bit;
        m_boxes[Box(c)] ^= bit;
        m_digits[c] = static_cast<std::uint8_t>(d);
    }

    bool Search(int placed) {
        if (placed == 81) return true;
        // The open cell with fewest digits left; the scan starts at a random cell so that
        // ties do not always fall to the same one.
        int best = -1;
        int bestCount = 10;
        const int start = Below(m_random, 81);
        for (int k = 0; k < 81 && bestCount > 1; ++k) {
            const int c = (start + k) % 81;
            if (m_digits[c] != 0) continue;
            const int n = kBitCount[Free(c)];
            if (n == 0) return false;
            if (n < bestCount) {
                best = c;
                bestCount = n;
            }
        }
        std::array<int, 9> order{};
        int count = 0;
        for (int free = Free(best); free != 0; free &= free - 1) {
            order[count++] = std::countr_zero(static_cast<unsigned>(free)) + 1;
        }
        for (int i = count - 1; i > 0; --i) std::swap(order[i], order[Below(m_random, i + 1)]);
        for (int i = 0; i < count; ++i) {
            Set(best, order[i]);
            if (Search(placed + 1)) return true;
            Set(best, order[i]);
            m_digits[best] = 0;
        }
        return false;
    }

    std::mt19937_64& m_random;
    std::array<int, 9> m_rows{};
    std::array<int, 9> m_columns{};
    std::array<int, 9> m_boxes{};
    logic::Digits m_digits{};
};

// A random order of 0..8 that keeps the three groups of three together: groups moved as
// wholes, members moved within their group.
std::array<int, 9> BandPreservingOrder(std::mt19937_64& random) {
    std::array<int, 3> groups{0, 1, 2};
    Shuffle(groups, random);
    std::array<int, 9> order{};
    for (int g = 0; g < 3; ++g) {
        std::array<int, 3> members{0, 1, 2};
        Shuffle(members, random);
        for (int m = 0; m < 3; ++m) order[3 * g + m] = 3 * groups[g] + members[m];
    }
    return order;
}

}  // namespace

logic::Digits RandomSolution(std::mt19937_64& random) {
    const logic::Digits filled = Filler(random).Fill();
    std::array<std::uint8_t, 10> relabel{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int i = 9; i > 1; --i) std::swap(relabel[i], relabel[1 + Below(random, i)]);
    const std::array<int, 9> rows = BandPreservingOrder(random);
    const std::array<int, 9> columns = BandPreservingOrder(random);
    const bool transpose = Below(random, 2) == 1;
    logic::Digits out{};
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            const int from = transpose ? 9 * columns[c] + rows[r] : 9 * rows[r] + columns[c];
            out[9 * r + c] = relabel[filled[from]];
        }
    }
    return out;
}

}  // namespace kz::generate
