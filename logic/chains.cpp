// SPDX-License-Identifier: MIT
// X-chains, XY-chains and alternating inference chains with grouped nodes.
//
// A node is "digit d is in one of these cells": one candidate, or a group of a digit's cells
// inside one box-line intersection. A strong link says two nodes are not both false, a weak
// link that they are not both true. A chain that starts and ends with a strong link proves
// that one of its two ends is true, so whatever is weakly linked to both ends goes.
//
// The search runs breadth-first from every start at once, one link further each round, so the
// shortest chains are reported first and a hint shows the simplest one.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "logic/finders.h"
#include "logic/notation.h"

namespace kz::logic {

namespace {

struct Node {
    CellSet cells;
    CellSet seeAll;  ///< cells that see every cell of the node
    std::int8_t digit;
    std::int8_t cell;  ///< the one cell, or −1 for a group
};

enum GraphFlags : unsigned {
    kBilocalLinks = 1,   ///< strong links of a digit with two places in a unit
    kBivalueLinks = 2,   ///< strong links inside a cell with two candidates
    kGroupNodes = 4,     ///< groups of a digit's cells in a box-line intersection
    kCellWeakLinks = 8,  ///< weak links between two digits of one cell
};

struct Shape {
    unsigned flags;
    int minLinks;  ///< shorter ones are simpler techniques: locked candidates, pairs, wings
    int maxLinks;
    bool sameDigitEnds;  ///< both ends on one digit (XY-chains)
    Technique technique;
};

// One true-or-false node of the search: node * 2 + (1 when the node is true).
using StateId = std::uint16_t;
constexpr StateId kUnseen = 0xffff;

// The box-line intersections: for each cell its row's and its column's part of its box, and
// for each unit the parts it splits into (three for a line, six for a box).
struct Segments {
    std::array<CellSet, 81> rowPart{}, colPart{};
    std::array<std::array<CellSet, 6>, kUnitCount> ofUnit{};
};

constexpr Segments MakeSegments() {
    Segments t;
    for (int c = 0; c < 81; ++c) {
        const CellSet box = kUnits.set[18 + BoxOf(c)];
        t.rowPart[c] = box & kUnits.set[RowOf(c)];
        t.colPart[c] = box & kUnits.set[9 + ColOf(c)];
    }
    for (int u = 0; u < kUnitCount; ++u) {
        int k = 0;
        for (int v = 0; v < kUnitCount; ++v) {
            const bool crosses = (u < 18) != (v < 18) && !(kUnits.set[u] & kUnits.set[v]).Empty();
            if (crosses) t.ofUnit[u][k++] = kUnits.set[u] & kUnits.set[v];
        }
    }
    return t;
}

inline constexpr Segments kSegments = MakeSegments();

class Graph {
public:
    /// `digits` limits the bilocal links to those digits.
    Graph(const State& state, unsigned flags, Mask digits) : m_state(state) {
        m_cellNode.fill(-1);
        m_nodes.reserve(400);
        for (auto& list : m_byDigit) list.reserve(64);
        // Room for a hard board's links from the start: growing the lists cost more than
        // filling them.
        std::vector<std::uint32_t> strong;
        strong.reserve(1024);
        if (flags & kBilocalLinks) AddBilocalLinks(flags & kGroupNodes, digits, strong);
        if (flags & kBivalueLinks) {
            state.Open().ForEach([&](int c) {
                const Mask m = state.Candidates(c);
                const int d1 = std::countr_zero(m) + 1;
                const int d2 = 16 - std::countl_zero(m);
                if (d1 != d2 && m == (DigitBit(d1) | DigitBit(d2)))
                    Link(strong, CellNode(c, d1), CellNode(c, d2));
            });
        }
        std::vector<std::uint32_t> weak;
        weak.reserve(8192);
        for (const std::vector<int>& same : m_byDigit) {
            for (std::size_t i = 0; i < same.size(); ++i) {
                const Node& x = m_nodes[same[i]];
                for (std::size_t j = i + 1; j < same.size(); ++j) {
                    const CellSet y = m_nodes[same[j]].cells;
                    if ((y & x.seeAll) == y) Link(weak, same[i], same[j]);
                }
            }
        }
        if (flags & kCellWeakLinks) {
            // Only a candidate can be a node: a cell's candidates are all the digits to pair.
            state.Open().ForEach([&](int c) {
                const unsigned m = state.Candidates(c);
                for (unsigned rest = m; rest; rest &= rest - 1) {
                    const int a = m_cellNode[c * 9 + std::countr_zero(rest)];
                    if (a < 0) continue;
                    for (unsigned more = rest & (rest - 1); more; more &= more - 1) {
                        const int b = m_cellNode[c * 9 + std::countr_zero(more)];
                        if (b >= 0) Link(weak, a, b);
                    }
                }
            });
        }
        // A pair alone in a line and in its box is linked twice.
        ToLists(strong, m_strongStart, m_strong, true);
        ToLists(weak, m_weakStart, m_weak, false);
    }

    int Size() const { return static_cast<int>(m_nodes.size()); }
    const Node& At(int i) const { return m_nodes[i]; }
    bool HasStrongLink(int i) const { return m_strongStart[i] != m_strongStart[i + 1]; }

    /// The nodes a node in this state implies the opposite of: strong links from a false
    /// node, weak links from a true one.
    template <typename F>
    void ForEachNext(StateId s, F&& f) const {
        const int node = s >> 1;
        const bool isTrue = s & 1;
        const auto& start = isTrue ? m_weakStart : m_strongStart;
        const auto& list = isTrue ? m_weak : m_strong;
        for (int k = start[node]; k < start[node + 1]; ++k) {
            f(static_cast<StateId>(list[k] * 2 + (isTrue ? 0 : 1)));
        }
    }

private:
    int AddNode(CellSet cells, CellSet seeAll, int d, int cell) {
        const int id = Size();
        m_nodes.push_back(
            {cells, seeAll, static_cast<std::int8_t>(d), static_cast<std::int8_t>(cell)});
        m_byDigit[d - 1].push_back(id);
        return id;
    }

    int CellNode(int c, int d) {
        std::int16_t& id = m_cellNode[c * 9 + d - 1];
        if (id < 0) id = static_cast<std::int16_t>(AddNode(CellSet::Of(c), kUnits.peers[c], d, c));
        return id;
    }

    int GroupNode(CellSet cells, int d) {
        if (AtMostOne(cells)) return CellNode(cells.First(), d);
        for (int id : m_groupsOf[d - 1]) {
            if (m_nodes[id].cells == cells) return id;
        }
        m_groupsOf[d - 1].push_back(AddNode(cells, CommonPeers(cells), d, -1));
        return m_groupsOf[d - 1].back();
    }

    // One cell, or cells sharing a box and a line.
    static bool IsNode(CellSet cells, bool groups) {
        if (cells.Empty()) return false;
        if (AtMostOne(cells)) return true;
        const int f = cells.First();
        const Segments& seg = kSegments;
        return groups && ((cells & ~seg.rowPart[f]).Empty() || (cells & ~seg.colPart[f]).Empty());
    }

    // A unit's places for a digit split in two nodes: one of the two holds the digit.
    void AddBilocalLinks(bool groups, Mask digits, std::vector<std::uint32_t>& strong) {
        for (int d = 1; d <= 9; ++d) {
            if (!((digits >> (d - 1)) & 1)) continue;
            for (int u = 0; u < kUnitCount; ++u) {
                const CellSet places = m_state.CellsOf(d) & kUnits.set[u];
                if (AtMostOne(places) || places.Count() > (groups ? 6 : 2)) continue;
                auto split = [&](CellSet a) {
                    const CellSet b = places & ~a;
                    if (IsNode(a, groups) && IsNode(b, groups))
                        Link(strong, GroupNode(a, d), GroupNode(b, d));
                };
                places.ForEach([&](int c) { split(CellSet::Of(c)); });
                if (!groups) continue;
                for (CellSet part : kSegments.ofUnit[u]) {
                    const CellSet a = places & part;
                    if (!AtMostOne(a)) split(a);
                }
            }
        }
    }

    static void Link(std::vector<std::uint32_t>& links, int a, int b) {
        links.push_back(static_cast<std::uint32_t>(a) << 16 | static_cast<std::uint32_t>(b));
        links.push_back(static_cast<std::uint32_t>(b) << 16 | static_cast<std::uint32_t>(a));
    }

    // Links to adjacency lists by counting, each node's links in one run.
    void ToLists(const std::vector<std::uint32_t>& links, std::vector<int>& start,
                 std::vector<std::uint16_t>& list, bool unique) const {
        const std::size_t n = m_nodes.size();
        start.assign(n + 1, 0);
        for (std::uint32_t l : links) ++start[(l >> 16) + 1];
        for (std::size_t i = 1; i <= n; ++i) start[i] += start[i - 1];
        std::vector<int> at(start.begin(), start.end() - 1);
        list.resize(links.size());
        for (std::uint32_t l : links) list[at[l >> 16]++] = static_cast<std::uint16_t>(l & 0xffff);
        if (!unique) return;
        // Each node's few links: drop repeats in place and close the gaps.
        int out = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const int from = start[i];
            start[i] = out;
            for (int k = from; k < at[i]; ++k) {
                const auto first = list.begin() + start[i], last = list.begin() + out;
                if (std::find(first, last, list[k]) == last) list[out++] = list[k];
            }
        }
        start[n] = out;
        list.resize(static_cast<std::size_t>(out));
    }

    const State& m_state;
    std::vector<Node> m_nodes;
    std::array<std::vector<int>, 9> m_byDigit, m_groupsOf;
    std::array<std::int16_t, 81 * 9> m_cellNode{};
    std::vector<int> m_strongStart, m_weakStart;
    std::vector<std::uint16_t> m_strong, m_weak;
};

/// The candidates of digit e weakly linked to a node (that a true node would remove).
CellSet WeakOf(const Node& node, int e) {
    if (node.digit == e) return node.seeAll;
    return node.cell >= 0 ? CellSet::Of(node.cell) : CellSet{};
}

/// What "one of the two ends is true" removes.
std::vector<Elimination> EndEliminations(const State& state, const Node& a, const Node& b) {
    std::vector<Elimination> out;
    Mask digits = static_cast<Mask>(DigitBit(a.digit) | DigitBit(b.digit));
    if (a.cell >= 0 && a.cell == b.cell) digits = kAllDigits;
    for (int e = 1; e <= 9; ++e) {
        if (!((digits >> (e - 1)) & 1)) continue;
        const CellSet gone = WeakOf(a, e) & WeakOf(b, e) & state.CellsOf(e);
        gone.ForEach([&](int c) {
            out.push_back({static_cast<std::int8_t>(c), static_cast<std::int8_t>(e)});
        });
    }
    return out;
}

// Whether "one of the two ends is true" removes a candidate outside `removed`.
bool RemovesMore(const State& state, const Node& a, const Node& b,
                 const std::array<CellSet, 9>& removed) {
    Mask digits = static_cast<Mask>(DigitBit(a.digit) | DigitBit(b.digit));
    if (a.cell >= 0 && a.cell == b.cell) digits = kAllDigits;
    for (int e = 1; e <= 9; ++e) {
        if (!((digits >> (e - 1)) & 1)) continue;
        const CellSet gone = WeakOf(a, e) & WeakOf(b, e) & state.CellsOf(e);
        if (!(gone & ~removed[e - 1]).Empty()) return true;
    }
    return false;
}

// The shortest chain from `start` (false) to `end` (true), as nodes; empty when its
// shortest form meets a node twice.
std::vector<int> ShortestChain(const Graph& graph, int start, int end) {
    std::vector<StateId> parent(2 * static_cast<std::size_t>(graph.Size()), kUnseen);
    std::vector<StateId> queue{static_cast<StateId>(start * 2)};
    parent[queue[0]] = queue[0];
    const auto target = static_cast<StateId>(end * 2 + 1);
    for (std::size_t k = 0; k < queue.size() && parent[target] == kUnseen; ++k) {
        graph.ForEachNext(queue[k], [&](StateId t) {
            if (parent[t] != kUnseen) return;
            parent[t] = queue[k];
            queue.push_back(t);
        });
    }
    std::vector<int> nodes;
    if (parent[target] == kUnseen) return nodes;
    for (StateId s = target;; s = parent[s]) {
        nodes.push_back(s >> 1);
        if (parent[s] == s) break;
    }
    std::reverse(nodes.begin(), nodes.end());
    std::vector<int> sorted = nodes;
    std::sort(sorted.begin(), sorted.end());
    // A node met twice still proves the ends, but reads badly; another start gives a
    // cleaner chain for the same removals.
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) nodes.clear();
    return nodes;
}

Step ChainStep(const Graph& graph, const std::vector<int>& nodes, Technique technique) {
    Step step;
    step.technique = technique;
    Mask digits = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const Node& node = graph.At(nodes[k]);
        if (k > 0) step.chain += k % 2 ? '=' : '-';
        step.chain += NodeName(DigitBit(node.digit), node.cells);
        AddPatternCells(step, node.cells);
        digits |= DigitBit(node.digit);
    }
    step.digits = DigitList(digits);
    return step;
}

// Sets of starts as bit rows, one row of `words` words per node.
class StartRows {
public:
    StartRows(int nodes, int words) : m_words(words), m_bits(std::size_t(nodes) * words) {}
    std::uint64_t* operator[](int node) { return &m_bits[std::size_t(node) * m_words]; }
    void Clear() { std::fill(m_bits.begin(), m_bits.end(), 0); }

private:
    int m_words;
    std::vector<std::uint64_t> m_bits;
};

// All starts advance together, one link a round, as bit rows over the starts: a round costs
// the links times the words, however many starts there are.
void Search(const State& state, const Shape& shape, Mask digits, const StepSink& sink) {
    const Graph graph(state, shape.flags, digits);
    const int n = graph.Size();
    std::vector<int> starts;
    for (int i = 0; i < n; ++i) {
        if (graph.HasStrongLink(i)) starts.push_back(i);
    }
    if (starts.empty()) return;
    const int words = static_cast<int>((starts.size() + 63) / 64);
    auto setBit = [](std::uint64_t* row, std::size_t i) {
        row[i / 64] |= std::uint64_t{1} << (i % 64);
    };

    // The starts whose truth would remove each candidate, then for each node the starts that
    // share a removal with it.
    StartRows weakTo(81 * 9, words);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const Node& a = graph.At(starts[i]);
        for (int e = 1; e <= 9; ++e) {
            (WeakOf(a, e) & state.CellsOf(e)).ForEach([&](int c) {
                setBit(weakTo[c * 9 + e - 1], i);
            });
        }
    }
    // Made for a node when a chain first reaches it true: most searches end after a few links.
    StartRows partners(n, words);
    std::vector<bool> partnersMade(static_cast<std::size_t>(n), false);
    auto partnersOf = [&](int t) {
        if (!partnersMade[t]) {
            partnersMade[t] = true;
            const Node& b = graph.At(t);
            for (int e = 1; e <= 9; ++e) {
                (WeakOf(b, e) & state.CellsOf(e)).ForEach([&](int c) {
                    const std::uint64_t* from = weakTo[c * 9 + e - 1];
                    for (int w = 0; w < words; ++w) partners[t][w] |= from[w];
                });
            }
        }
        return partners[t];
    };

    StartRows seenFalse(n, words), seenTrue(n, words), front(n, words), fresh(n, words);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        setBit(seenFalse[starts[i]], i);
        setBit(front[starts[i]], i);
    }
    // The nodes whose front row is not empty, in order, and those a round reached: a round
    // then costs the links it follows, not the size of the graph.
    std::vector<int> live = starts;
    std::vector<std::uint64_t> reached((static_cast<std::size_t>(n) + 63) / 64);
    // What the chains reported so far remove: one that removes nothing more changes nothing
    // once those are taken, and finding its chain is the costly part.
    std::array<CellSet, 9> removed{};
    for (int links = 1; links <= shape.maxLinks; ++links) {
        const bool toTrue = links & 1;
        StartRows& seen = toTrue ? seenTrue : seenFalse;
        for (int u : live) {
            const std::uint64_t* from = front[u];
            graph.ForEachNext(static_cast<StateId>(u * 2 + (toTrue ? 0 : 1)), [&](StateId s) {
                const int v = s >> 1;
                reached[v / 64] |= std::uint64_t{1} << (v % 64);
                std::uint64_t* to = fresh[v];
                for (int w = 0; w < words; ++w) to[w] |= from[w];
            });
        }
        // The old front becomes the next round's empty rows.
        for (int u : live) std::fill(front[u], front[u] + words, 0);
        live.clear();
        for (std::size_t k = 0; k < reached.size(); ++k) {
            for (std::uint64_t bits = std::exchange(reached[k], 0); bits; bits &= bits - 1) {
                const int v = static_cast<int>(k * 64) + std::countr_zero(bits);
                bool any = false;
                for (int w = 0; w < words; ++w) {
                    fresh[v][w] &= ~seen[v][w];
                    seen[v][w] |= fresh[v][w];
                    any |= fresh[v][w] != 0;
                }
                if (any) live.push_back(v);
            }
        }
        std::swap(front, fresh);
        if (live.empty()) return;
        if (!toTrue || links < shape.minLinks) continue;
        std::vector<Step> found;
        for (int t : live) {
            const Node& b = graph.At(t);
            const std::uint64_t* with = partnersOf(t);
            for (int w = 0; w < words; ++w) {
                for (std::uint64_t bits = front[t][w] & with[w]; bits; bits &= bits - 1) {
                    const int start = starts[w * 64 + std::countr_zero(bits)];
                    const Node& a = graph.At(start);
                    if (start == t || (shape.sameDigitEnds && a.digit != b.digit)) continue;
                    if (a.digit == b.digit && !(a.cells & b.cells).Empty()) continue;
                    if (!RemovesMore(state, a, b, removed)) continue;
                    const std::vector<int> nodes = ShortestChain(graph, start, t);
                    if (nodes.empty()) continue;
                    Step step = ChainStep(graph, nodes, shape.technique);
                    step.eliminations = EndEliminations(state, a, b);
                    for (const Elimination& e : step.eliminations) removed[e.digit - 1].Add(e.cell);
                    found.push_back(std::move(step));
                }
            }
        }
        for (Step& step : found) {
            if (!sink(std::move(step))) return;
        }
    }
}

}  // namespace

// An X-chain's nodes, links and removals are all of one digit: it looks only at the digits
// it is told to.
void FindXChain(const State& state, const Context& context, const StepSink& sink) {
    Search(state, {kBilocalLinks, 3, 13, true, Technique::XChain}, context.digits, sink);
}

void FindXYChain(const State& state, const Context&, const StepSink& sink) {
    Search(state, {kBivalueLinks, 5, 15, true, Technique::XYChain}, kAllDigits, sink);
}

void FindAic(const State& state, const Context&, const StepSink& sink) {
    Search(state,
           {kBilocalLinks | kBivalueLinks | kGroupNodes | kCellWeakLinks, 3, 13, false,
            Technique::Aic},
           kAllDigits, sink);
}

}  // namespace kz::logic
