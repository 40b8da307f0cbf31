// SPDX-License-Identifier: MIT
// Chains, almost locked sets and forcing: every step checked against the solution and against
// its own notation, read back and verified link by link on the candidates it was found in.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

struct Node {
    int digits = 0;  // as a mask
    CellSet cells;
};

// "(d)r1c23" or "(58=4)r4c56r5c4": the digits before ')' and the cells after it.
std::optional<Node> ParseNode(const std::string& text, std::size_t& at) {
    Node node;
    if (at >= text.size() || text[at] != '(') return std::nullopt;
    for (++at; at < text.size() && text[at] != ')'; ++at) {
        if (text[at] >= '1' && text[at] <= '9') node.digits |= 1 << (text[at] - '1');
    }
    ++at;
    while (at < text.size() && text[at] == 'r') {
        std::vector<int> rows, cols;
        for (++at; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
            rows.push_back(text[at] - '1');
        if (at >= text.size() || text[at] != 'c') return std::nullopt;
        for (++at; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
            cols.push_back(text[at] - '1');
        for (int r : rows) {
            for (int c : cols) node.cells.Add(r * 9 + c);
        }
    }
    if (node.cells.Empty() || !node.digits) return std::nullopt;
    return node;
}

// Nodes and the links between them ('=' or '-'); nothing when the text is malformed.
std::optional<std::pair<std::vector<Node>, std::string>> ParseChain(const std::string& text) {
    std::vector<Node> nodes;
    std::string links;
    std::size_t at = 0;
    for (;;) {
        const std::optional<Node> node = ParseNode(text, at);
        if (!node) return std::nullopt;
        nodes.push_back(*node);
        if (at == text.size()) return std::make_pair(nodes, links);
        if (text[at] != '=' && text[at] != '-') return std::nullopt;
        links += text[at++];
    }
}

int OnlyDigit(const Node& n) {
    return std::popcount(static_cast<unsigned>(n.digits)) == 1
               ? std::countr_zero(static_cast<unsigned>(n.digits)) + 1
               : 0;
}

bool Strong(const State& s, const Node& a, const Node& b) {
    const int d = OnlyDigit(a), e = OnlyDigit(b);
    if (d != e) {
        const int c = a.cells.First();
        return a.cells == b.cells && a.cells.Count() == 1 &&
               s.Candidates(c) == ((1 << (d - 1)) | (1 << (e - 1)));
    }
    if (!(a.cells & b.cells).Empty()) return false;
    for (int u = 0; u < kUnitCount; ++u) {
        if ((s.CellsOf(d) & kUnits.set[u]) == (a.cells | b.cells)) return true;
    }
    return false;
}

// Whether a candidate, or a node, cannot be true together with node b.
bool Weak(const Node& a, const Node& b) {
    const int d = OnlyDigit(a), e = OnlyDigit(b);
    if (d != e) return a.cells == b.cells && a.cells.Count() == 1;
    return (a.cells & b.cells).Empty() && (b.cells & CommonPeers(a.cells)) == b.cells;
}

// Every node a candidate or a group in one box-line intersection; links real and alternating,
// strong at both ends; every removal sees both ends.
void CheckChain(const State& s, const Step& step) {
    const auto parsed = ParseChain(step.chain);
    ASSERT_TRUE(parsed) << step.chain;
    const auto& [nodes, links] = *parsed;
    ASSERT_EQ(links.size() % 2, 1u) << step.chain;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const Node& n = nodes[k];
        const int d = OnlyDigit(n);
        ASSERT_NE(d, 0) << step.chain;
        EXPECT_EQ(n.cells & s.CellsOf(d), n.cells) << step.chain;
        const int f = n.cells.First();
        bool inBoxAndLine = true;
        n.cells.ForEach([&](int c) {
            inBoxAndLine &= BoxOf(c) == BoxOf(f) && (RowOf(c) == RowOf(f) || ColOf(c) == ColOf(f));
        });
        EXPECT_TRUE(inBoxAndLine && n.cells.Count() <= 3) << step.chain;
        if (step.technique != Technique::Aic) {
            EXPECT_EQ(n.cells.Count(), 1) << step.chain;
        }
        if (k == 0) continue;
        const bool strong = links[k - 1] == '=';
        EXPECT_EQ(strong, k % 2 == 1) << step.chain;
        EXPECT_TRUE(strong ? Strong(s, nodes[k - 1], n) : Weak(nodes[k - 1], n)) << step.chain;
        if (step.technique == Technique::XChain) {
            EXPECT_EQ(d, OnlyDigit(nodes[0])) << step.chain;
        }
        if (step.technique == Technique::XYChain && strong) {
            EXPECT_EQ(n.cells, nodes[k - 1].cells) << step.chain;
        }
    }
    for (const Elimination& e : step.eliminations) {
        const Node x{1 << (e.digit - 1), CellSet::Of(e.cell)};
        EXPECT_TRUE(Weak(x, nodes.front()) && Weak(x, nodes.back())) << step.chain;
    }
}

bool IsAls(const State& s, CellSet cells) {
    Mask digits = 0;
    cells.ForEach([&](int c) { digits |= s.Candidates(c); });
    bool inUnit = false;
    for (int u = 0; u < kUnitCount; ++u) inUnit |= (cells & kUnits.set[u]) == cells;
    return inUnit && std::popcount(digits) == cells.Count() + 1;
}

// "(z=x)A-(x=z)B": two almost locked sets, x restricted between them, removals of z seeing
// every z of both.
void CheckAls(const State& s, const Step& step) {
    const auto parsed = ParseChain(step.chain);
    ASSERT_TRUE(parsed && parsed->first.size() == 2 && parsed->second == "-") << step.chain;
    const CellSet a = parsed->first[0].cells, b = parsed->first[1].cells;
    EXPECT_TRUE(IsAls(s, a) && IsAls(s, b) && (a & b).Empty()) << step.chain;
    const int x = step.chain[step.chain.find('=') + 1] - '0';
    const CellSet ax = a & s.CellsOf(x), bx = b & s.CellsOf(x);
    EXPECT_FALSE(ax.Empty() || bx.Empty()) << step.chain;
    EXPECT_EQ(bx & CommonPeers(ax), bx) << step.chain;
    for (const Elimination& e : step.eliminations) {
        const CellSet z = (a | b) & s.CellsOf(e.digit);
        EXPECT_NE(e.digit, x);
        EXPECT_EQ(CommonPeers(z) & CellSet::Of(e.cell), CellSet::Of(e.cell)) << step.chain;
    }
}

// Branches "(d)r1c1-…" separated by "; ", each from one assumption, alternating from a removal;
// the assumptions cover a cell or a unit's places, and each branch ends in the finding (a
// refutation: one branch from the refuted candidate).
void CheckForcing(const State& s, const Step& step) {
    std::vector<Node> premises, ends;
    for (std::size_t from = 0; from < step.chain.size();) {
        std::size_t to = step.chain.find("; ", from);
        if (to == std::string::npos) to = step.chain.size();
        const auto parsed = ParseChain(step.chain.substr(from, to - from));
        ASSERT_TRUE(parsed) << step.chain;
        for (std::size_t k = 0; k < parsed->second.size(); ++k)
            EXPECT_EQ(parsed->second[k], k % 2 ? '=' : '-') << step.chain;
        premises.push_back(parsed->first.front());
        ends.push_back(parsed->first.back());
        from = to + 2;
    }
    ASSERT_FALSE(premises.empty());
    ASSERT_EQ(step.placements.size() + step.eliminations.size(), 1u);
    const bool refuted = premises.size() == 1 && !step.eliminations.empty() &&
                         premises[0].cells == CellSet::Of(step.eliminations[0].cell) &&
                         OnlyDigit(premises[0]) == step.eliminations[0].digit;
    if (refuted) return;
    const int cell = step.placements.empty() ? step.eliminations[0].cell : step.placements[0].cell;
    const int digit =
        step.placements.empty() ? step.eliminations[0].digit : step.placements[0].digit;
    for (const Node& end : ends) {
        EXPECT_EQ(end.cells, CellSet::Of(cell)) << step.chain;
        EXPECT_EQ(OnlyDigit(end), digit) << step.chain;
    }
    CellSet cells;
    Mask digits = 0;
    for (const Node& p : premises) {
        cells |= p.cells;
        digits |= static_cast<Mask>(p.digits);
    }
    const int first = cells.First();
    const bool wholeCell = cells.Count() == 1 && digits == s.Candidates(first);
    bool wholeUnit = false;
    for (int u = 0; u < kUnitCount; ++u) {
        wholeUnit |= std::popcount(digits) == 1 &&
                     (s.CellsOf(std::countr_zero(digits) + 1) & kUnits.set[u]) == cells;
    }
    EXPECT_TRUE(wholeCell || wholeUnit) << step.chain;
}

struct Tried {
    const char* name;
    Finder finder;
    void (*check)(const State&, const Step&);
};

const Tried kFinders[] = {
    {"X-chain", FindXChain, CheckChain},
    {"XY-chain", FindXYChain, CheckChain},
    {"AIC", FindAic, CheckChain},
    {"ALS-XZ", FindAlsXz, CheckAls},
    {"forcing chain", FindForcingChain, CheckForcing},
    {"forcing net", FindForcingNet, CheckForcing},
};

// Singles, then the first of these finders that finds anything, over and over: up to eight
// steps of each call are checked, the first is applied.
TEST(ChainFinders, EveryStepOnHardPuzzlesIsSoundAndReadsBack) {
    std::map<std::string, int> checked;
    for (const auto& [set, count] :
         {std::pair{"forum_hardest_1106.txt", 15}, std::pair{"magictour_top1465.txt", 25}}) {
        for (const Digits& board : test::ReadSet(set, count)) {
            const std::optional<Digits> solution = UniqueSolution(board);
            ASSERT_TRUE(solution);
            const Context context{&*solution};
            State state = SolvePath(*State::FromDigits(board), context, 2).end;
            while (!state.Solved()) {
                std::optional<Step> first;
                for (const Tried& tried : kFinders) {
                    int seen = 0;
                    tried.finder(state, context, [&](Step&& step) {
                        SCOPED_TRACE(tried.name);
                        for (const Placement& p : step.placements) {
                            EXPECT_EQ((*solution)[p.cell], p.digit) << step.chain;
                            EXPECT_EQ(state.Value(p.cell), 0);
                        }
                        for (const Elimination& e : step.eliminations) {
                            EXPECT_NE((*solution)[e.cell], e.digit) << step.chain;
                            EXPECT_TRUE(state.Has(e.cell, e.digit)) << step.chain;
                        }
                        EXPECT_FALSE(step.placements.empty() && step.eliminations.empty());
                        EXPECT_FALSE(step.cells.empty() || step.digits.empty());
                        tried.check(state, step);
                        ++checked[tried.name];
                        if (!first) first = std::move(step);
                        return ++seen < 8;
                    });
                    if (first) break;
                }
                if (!first)
                    FindGuess(state, context, [&](Step&& step) {
                        first = std::move(step);
                        return false;
                    });
                ASSERT_TRUE(first && state.Apply(*first));
                state = SolvePath(state, context, 2).end;
                if (testing::Test::HasFailure()) return;
            }
        }
    }
    int total = 0;
    for (const Tried& tried : kFinders) {
        EXPECT_GT(checked[tried.name], 20) << tried.name;
        total += checked[tried.name];
    }
    EXPECT_GT(total, 3000);
}

// Positions built on an empty board: the candidates of one digit left only where a pattern
// says ('x'), or cells narrowed to two digits. Each has one pattern of its kind.
struct Position {
    const char* name;
    Finder finder;
    int digit;                                  // the digit the picture is about, 0 for none
    const char* picture;                        // 81 cells, 'x' keeps the digit
    std::vector<std::pair<int, Mask>> cells;    // cells narrowed to these digits
    std::vector<std::pair<int, int>> expected;  // removals, (cell, digit)
};

State Build(const Position& p) {
    State s = *State::FromDigits(Digits{});
    for (int c = 0; c < 81 && p.digit; ++c) {
        if (p.picture[c] != 'x') s.Eliminate(c, p.digit);
    }
    for (const auto& [c, keep] : p.cells) {
        for (int d = 1; d <= 9; ++d) {
            if (!((keep >> (d - 1)) & 1)) s.Eliminate(c, d);
        }
    }
    return s;
}

constexpr int Cell(int r, int c) {
    return (r - 1) * 9 + c - 1;
}
constexpr Mask Two(int a, int b) {
    return static_cast<Mask>((1 << (a - 1)) | (1 << (b - 1)));
}

TEST(ChainFinders, KnownPositionsGiveTheirRemovalsFirst) {
    // Conjugate pairs in boxes 5, 6 and 9 joined along row 5 and column 8.
    const char* xChain =
        "xxxxxxxxx"
        "xxxxxxxxx"
        "xxxxxxxxx"
        "xxxx....."
        "xxx.x...x"
        "xxx....x."
        "xxxxxx..."
        "xxxxxxx.."
        "xxxxxx.x.";
    // Row 1 holds the digit in r1c12 and r1c7 only, row 5 in r5c2 and r5c7 only.
    const char* grouped =
        "xx....x.."
        "xxxxxxxxx"
        "xxxxxxxxx"
        "xxxxxxxxx"
        ".x....x.."
        "xxxxxxxxx"
        "xxxxxxxxx"
        "xxxxxxxxx"
        "xxxxxxxxx";
    const std::vector<Position> positions = {
        {"X-chain", FindXChain, 1, xChain, {}, {{Cell(8, 4), 1}}},
        {"XY-chain",
         FindXYChain,
         0,
         "",
         {{Cell(1, 1), Two(1, 2)},
          {Cell(1, 5), Two(2, 3)},
          {Cell(5, 5), Two(3, 4)},
          {Cell(5, 9), Two(4, 1)}},
         {{Cell(1, 9), 1}, {Cell(5, 1), 1}}},
        {"grouped AIC", FindAic, 5, grouped, {}, {{Cell(2, 2), 5}, {Cell(3, 2), 5}}},
        {"ALS-XZ",
         FindAlsXz,
         0,
         "",
         {{Cell(1, 1), Two(1, 2)}, {Cell(5, 1), Two(1, 3)}, {Cell(5, 3), Two(2, 3)}},
         {{Cell(1, 3), 2}, {Cell(2, 3), 2}, {Cell(3, 3), 2}, {Cell(4, 1), 2}, {Cell(6, 1), 2}}},
    };
    for (const Position& p : positions) {
        SCOPED_TRACE(p.name);
        const State s = Build(p);
        std::optional<Step> first;
        p.finder(s, {}, [&](Step&& step) {
            first = std::move(step);
            return false;
        });
        ASSERT_TRUE(first);
        std::vector<std::pair<int, int>> got;
        for (const Elimination& e : first->eliminations) got.emplace_back(e.cell, e.digit);
        std::sort(got.begin(), got.end());
        std::vector<std::pair<int, int>> expected = p.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << first->chain;
        (first->technique == Technique::AlsXz ? CheckAls : CheckChain)(s, *first);
    }
    // Without the group, the same digit picture holds no X-chain.
    const Position plain{"", FindXChain, 5, grouped, {}, {}};
    bool any = false;
    FindXChain(Build(plain), {}, [&](Step&&) { return !(any = true); });
    EXPECT_FALSE(any);
}

// Three cells of box 1 holding 1, 2 and 3 between them, r1c1 {1,2}, r1c2 {1,3}, r2c1 {2,3}:
// whichever way they go, 1, 2 and 3 leave the rest of the box, 1 the rest of row 1 and 2 the
// rest of column 1, and nothing else follows.
TEST(ChainFinders, ForcingFindsAllThatFollowsAndNothingMore) {
    const Position p{"",
                     nullptr,
                     0,
                     "",
                     {{Cell(1, 1), Two(1, 2)}, {Cell(1, 2), Two(1, 3)}, {Cell(2, 1), Two(2, 3)}},
                     {}};
    std::vector<std::pair<int, int>> expected;
    for (int c : {Cell(1, 3), Cell(2, 2), Cell(2, 3), Cell(3, 1), Cell(3, 2), Cell(3, 3)}) {
        for (int d : {1, 2, 3}) expected.emplace_back(c, d);
    }
    for (int k = 4; k <= 9; ++k) {
        expected.emplace_back(Cell(1, k), 1);
        expected.emplace_back(Cell(k, 1), 2);
    }
    std::sort(expected.begin(), expected.end());
    for (Finder finder : {FindForcingChain, FindForcingNet}) {
        const State s = Build(p);
        std::vector<std::pair<int, int>> got;
        finder(s, {}, [&](Step&& step) {
            EXPECT_TRUE(step.placements.empty());
            CheckForcing(s, step);
            for (const Elimination& e : step.eliminations) got.emplace_back(e.cell, e.digit);
            return true;
        });
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, expected);
    }
}

}  // namespace
}  // namespace kz::logic
