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
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "logic/finders.h"
#include "logic/notation.h"
#include "logic/proof.h"

namespace kz::logic {

namespace {

struct Node {
    CellSet cells;
    CellSet seeAll;  ///< cells that see every cell of the node
    std::int8_t digit;
    std::int8_t cell;  ///< the one cell, or −1 for a group
    /// The strong links, in the order they were made. A candidate has one partner in each
    /// of its units (the unit's other places) and one in a two-digit cell; a group one in
    /// its line and one in its box.
    std::uint8_t strongCount = 0;
    std::array<std::uint16_t, 4> strong{};
    /// The groups of its digit inside the cells that see all of it, as bits over the
    /// digit's groups (when it has no more than kGroupBits).
    std::uint64_t groupsSeen = 0;
};

constexpr std::size_t kGroupBits = 64;

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

// How a unit's places for a digit split in two nodes, by the places as bits over the unit's
// nine cells: each cell against the rest, then each box-line part against the rest, the rest
// being one cell or a group. Lines and boxes differ only in their parts.
struct Splits {
    std::uint8_t count = 0;
    std::array<std::array<std::uint16_t, 2>, 4> at{};  ///< both sides as bits over the unit
};

constexpr std::array<Splits, 512> MakeSplits(bool box) {
    const int lineParts[] = {0x7, 0x38, 0x1c0};
    const int boxParts[] = {0x7, 0x38, 0x1c0, 0x49, 0x92, 0x124};
    const int* parts = box ? boxParts : lineParts;
    const int partCount = box ? 6 : 3;
    auto isNode = [&](int m) {
        if (m == 0) return false;
        if ((m & (m - 1)) == 0) return true;
        for (int k = 0; k < partCount; ++k) {
            if ((m & ~parts[k]) == 0) return true;
        }
        return false;
    };
    std::array<Splits, 512> t{};
    for (int places = 0; places < 512; ++places) {
        Splits& s = t[places];
        auto split = [&](int a) {
            const int b = places & ~a;
            if (!isNode(a) || !isNode(b)) return;
            // The same two nodes the other way round change nothing: both exist and are
            // linked already.
            for (int k = 0; k < s.count; ++k) {
                if (s.at[k][0] == b && s.at[k][1] == a) return;
            }
            s.at[s.count++] = {static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b)};
        };
        if (kNineBitCount[places] < 2 || kNineBitCount[places] > 6) continue;
        for (int p = 0; p < 9; ++p) {
            if ((places >> p) & 1) split(1 << p);
        }
        for (int k = 0; k < partCount; ++k) {
            if (kNineBitCount[places & parts[k]] >= 2) split(places & parts[k]);
        }
    }
    return t;
}

inline constexpr std::array<std::array<Splits, 512>, 2> kSplits = {MakeSplits(false),
                                                                   MakeSplits(true)};

// What a search needs besides its answer, kept per thread and reused: a rating calls the
// finders thousands of times, and growing these afresh each call cost more than filling them.
struct Scratch {
    std::vector<Node> nodes;
    std::array<std::vector<int>, 9> groupsOf;
    std::vector<int> weakStart;
    std::vector<StateId> weak;  ///< each node's weak links as true-to-false moves
    /// A group's node by digit, box-line segment and which of the segment's cells, stamped
    /// with the graph that made it so that no call has to clear the table.
    std::array<std::uint32_t, 9 * 54 * 8> groupKey{};
    std::uint32_t stamp = 0;
    std::vector<std::uint64_t> rows, weakTo, partnersMade;
    std::vector<int> live;
    std::vector<std::int16_t> weakRow;
    std::vector<StateId> parent, queue;
    std::vector<int> chain;
};

// A sink may start another search on the same thread, so each search takes a scratch of its
// own from the thread's spares and gives it back.
class ScratchLease {
public:
    ScratchLease() {
        auto& spare = Spares();
        if (spare.empty()) {
            m_scratch = std::make_unique<Scratch>();
        } else {
            m_scratch = std::move(spare.back());
            spare.pop_back();
        }
    }
    ~ScratchLease() { Spares().push_back(std::move(m_scratch)); }
    ScratchLease(const ScratchLease&) = delete;
    ScratchLease& operator=(const ScratchLease&) = delete;
    Scratch& operator*() const { return *m_scratch; }

private:
    static std::vector<std::unique_ptr<Scratch>>& Spares() {
        thread_local std::vector<std::unique_ptr<Scratch>> spare;
        return spare;
    }
    std::unique_ptr<Scratch> m_scratch;
};

// Weak links are found from the cells, not by testing every pair of nodes: a node's are the
// nodes of its digit inside the cells that see all of it, and with cell links the other
// candidates of its one cell.
class Graph {
public:
    /// `digits` limits the bilocal links to those digits.
    Graph(const State& state, unsigned flags, Mask digits, Scratch& scratch)
        : m_state(state), m_s(scratch), m_cellWeak(flags & kCellWeakLinks) {
        m_cellNode.fill(-1);
        m_s.nodes.clear();
        for (auto& list : m_s.groupsOf) list.clear();
        if (++m_s.stamp == 0x10000) {
            m_s.groupKey.fill(0);
            m_s.stamp = 1;
        }
        if (flags & kBilocalLinks) AddBilocalLinks(flags & kGroupNodes, digits);
        if (flags & kBivalueLinks) {
            state.Open().ForEach([&](int c) {
                const Mask m = state.Candidates(c);
                const int d1 = std::countr_zero(m) + 1;
                const int d2 = 16 - std::countl_zero(m);
                if (d1 != d2 && m == (DigitBit(d1) | DigitBit(d2))) {
                    // The second digit is numbered first, as for the bilocal links.
                    const int b = CellNode(c, d2);
                    Link(CellNode(c, d1), b);
                }
            });
        }
        for (int d = 1; d <= 9; ++d) NoteGroupsSeen(d);
        // A search follows each node's weak links many times: listed once, they cost a
        // read each.
        m_s.weakStart.resize(m_s.nodes.size() + 1);
        m_s.weak.clear();
        for (std::size_t i = 0; i < m_s.nodes.size(); ++i) {
            m_s.weakStart[i] = static_cast<int>(m_s.weak.size());
            auto add = [&](StateId t) { m_s.weak.push_back(t); };
            ForEachSameDigit(m_s.nodes[i], add);
            ForEachInCell(m_s.nodes[i], add);
        }
        m_s.weakStart[m_s.nodes.size()] = static_cast<int>(m_s.weak.size());
    }

    int Size() const { return static_cast<int>(m_s.nodes.size()); }
    const Node& At(int i) const { return m_s.nodes[i]; }

    /// The nodes a node in this state implies the opposite of: strong links from a false
    /// node, weak links from a true one. The weak ones come in no fixed order.
    template <typename F>
    void ForEachNext(StateId s, F&& f) const {
        const int node = s >> 1;
        if (!(s & 1)) return ForEachStrong(m_s.nodes[node], f);
        for (int k = m_s.weakStart[node]; k < m_s.weakStart[node + 1]; ++k) f(m_s.weak[k]);
    }

    /// As ForEachNext, in the order of the node numbers for weak links of one digit and then
    /// of the digits in the cell: a shortest chain is the first one met, so the order decides
    /// which of equally short chains a hint shows.
    template <typename F>
    void ForEachNextInOrder(StateId s, F&& f) const {
        const Node& x = m_s.nodes[s >> 1];
        if (!(s & 1)) return ForEachStrong(x, f);
        // Gathered and sorted: fewer steps than testing every node of the digit.
        std::array<StateId, 20 + kGroupBits> same;
        int count = 0;
        if (m_s.groupsOf[x.digit - 1].size() <= kGroupBits) {
            ForEachSameDigit(x, [&](StateId t) { same[count++] = t; });
            std::sort(same.begin(), same.begin() + count);
            for (int k = 0; k < count; ++k) f(same[k]);
        } else {
            // Rare enough to walk every node rather than keep lists by digit.
            for (int y = 0; y < Size(); ++y) {
                if (m_s.nodes[y].digit == x.digit && Inside(y, x.seeAll))
                    f(static_cast<StateId>(y * 2));
            }
        }
        ForEachInCell(x, f);
    }

private:
    bool Inside(int node, CellSet cells) const {
        const CellSet y = m_s.nodes[node].cells;
        return (y & cells) == y;
    }

    // The nodes of the node's digit inside the cells that see all of it: candidates by their
    // cells, groups by the bits noted when the graph was made.
    template <typename F>
    void ForEachSameDigit(const Node& x, F&& f) const {
        const int d = x.digit;
        (m_cellsOf[d - 1] & x.seeAll).ForEach([&](int c) {
            f(static_cast<StateId>(m_cellNode[c * 9 + d - 1] * 2));
        });
        const std::vector<int>& groups = m_s.groupsOf[d - 1];
        if (groups.size() <= kGroupBits) {
            for (std::uint64_t bits = x.groupsSeen; bits; bits &= bits - 1)
                f(static_cast<StateId>(groups[std::countr_zero(bits)] * 2));
        } else {
            for (int g : groups) {
                if (Inside(g, x.seeAll)) f(static_cast<StateId>(g * 2));
            }
        }
    }

    template <typename F>
    static void ForEachStrong(const Node& x, F&& f) {
        for (int k = 0; k < x.strongCount; ++k) f(static_cast<StateId>(x.strong[k] * 2 + 1));
    }

    // Only a candidate can be a node: a cell's candidates are all the digits to pair.
    template <typename F>
    void ForEachInCell(const Node& x, F&& f) const {
        if (!m_cellWeak || x.cell < 0) return;
        const unsigned others = m_state.Candidates(x.cell) & ~DigitBit(x.digit);
        for (unsigned rest = others; rest; rest &= rest - 1) {
            const int y = m_cellNode[x.cell * 9 + std::countr_zero(rest)];
            if (y >= 0) f(static_cast<StateId>(y * 2));
        }
    }

    // A candidate sees a group when it is among the cells that see all of the group; two
    // groups see each other when they do not meet and share their box or their line.
    void NoteGroupsSeen(int d) {
        const std::vector<int>& groups = m_s.groupsOf[d - 1];
        if (groups.size() > kGroupBits) return;
        std::array<std::uint8_t, kGroupBits> box, line;
        for (std::size_t k = 0; k < groups.size(); ++k) {
            const Node& g = m_s.nodes[groups[k]];
            (g.seeAll & m_cellsOf[d - 1]).ForEach([&](int c) {
                m_s.nodes[m_cellNode[c * 9 + d - 1]].groupsSeen |= std::uint64_t{1} << k;
            });
            const int first = g.cells.First();
            const bool inRow = (g.cells & kUnits.set[RowOf(first)]) == g.cells;
            box[k] = static_cast<std::uint8_t>(BoxOf(first));
            line[k] = static_cast<std::uint8_t>(inRow ? RowOf(first) : 9 + ColOf(first));
            for (std::size_t j = 0; j < k; ++j) {
                Node& other = m_s.nodes[groups[j]];
                if ((box[j] == box[k] || line[j] == line[k]) && (other.cells & g.cells).Empty()) {
                    other.groupsSeen |= std::uint64_t{1} << k;
                    m_s.nodes[groups[k]].groupsSeen |= std::uint64_t{1} << j;
                }
            }
        }
    }

    int AddNode(CellSet cells, CellSet seeAll, int d, int cell) {
        const int id = Size();
        Node& node = m_s.nodes.emplace_back();
        node.cells = cells;
        node.seeAll = seeAll;
        node.digit = static_cast<std::int8_t>(d);
        node.cell = static_cast<std::int8_t>(cell);
        return id;
    }

    int CellNode(int c, int d) {
        std::int16_t& id = m_cellNode[c * 9 + d - 1];
        if (id < 0) {
            id = static_cast<std::int16_t>(AddNode(CellSet::Of(c), kUnits.peers[c], d, c));
            m_cellsOf[d - 1].Add(c);
        }
        return id;
    }

    // The node of some of a unit's cells, given as bits over the unit. A group lies in one
    // box-line segment: the segment and the group's cells in it name it.
    [[gnu::always_inline]] int NodeOf(int unit, unsigned bits, int d) {
        const auto& cells = kUnits.cells[unit];
        if ((bits & (bits - 1)) == 0) return CellNode(cells[std::countr_zero(bits)], d);
        const int low = std::countr_zero(bits);
        int segment, which;
        if (unit < 9) {
            segment = (unit / 3 * 3 + low / 3) * 3 + unit % 3;
            which = bits >> (low / 3 * 3);
        } else if (unit < 18) {
            segment = 27 + (low / 3 * 3 + (unit - 9) / 3) * 3 + (unit - 9) % 3;
            which = bits >> (low / 3 * 3);
        } else if ((bits >> (low / 3 * 3)) < 8) {
            segment = (unit - 18) * 3 + low / 3;
            which = bits >> (low / 3 * 3);
        } else {
            const unsigned column = bits >> (low % 3);
            segment = 27 + (unit - 18) * 3 + low % 3;
            which = (column & 1) | (column >> 2 & 2) | (column >> 4 & 4);
        }
        std::uint32_t& key = m_s.groupKey[((d - 1) * 54 + segment) * 8 + which];
        if (key >> 16 == m_s.stamp) return static_cast<int>(key & 0xffff);
        CellSet set;
        for (; bits; bits &= bits - 1) set.Add(cells[std::countr_zero(bits)]);
        const int id = AddNode(set, CommonPeers(set), d, -1);
        m_s.groupsOf[d - 1].push_back(id);
        key = m_s.stamp << 16 | static_cast<std::uint32_t>(id);
        return id;
    }

    // A unit's places for a digit split in two nodes: one of the two holds the digit.
    void AddBilocalLinks(bool groups, Mask digits) {
        for (int d = 1; d <= 9; ++d) {
            if (!((digits >> (d - 1)) & 1)) continue;
            for (int u = 0; u < kUnitCount; ++u) {
                const Mask places = m_state.PlacesIn(u, d);
                if (!groups && kNineBitCount[places] != 2) continue;
                const Splits& splits = kSplits[u >= 18][places];
                for (int k = 0; k < splits.count; ++k) {
                    // The second side is numbered first, as it always was: the numbers
                    // order the reports.
                    const int b = NodeOf(u, splits.at[k][1], d);
                    Link(NodeOf(u, splits.at[k][0], d), b);
                }
            }
        }
    }

    // Both ways, each node's links kept in the order they come, a repeat dropped: a pair
    // alone in a line and in its box is linked twice.
    void Link(int a, int b) {
        Add(m_s.nodes[a], b);
        Add(m_s.nodes[b], a);
    }

    static void Add(Node& node, int to) {
        for (int k = 0; k < node.strongCount; ++k) {
            if (node.strong[k] == to) return;
        }
        node.strong[node.strongCount++] = static_cast<std::uint16_t>(to);
    }

    const State& m_state;
    Scratch& m_s;
    bool m_cellWeak;
    std::array<std::int16_t, 81 * 9> m_cellNode;
    std::array<CellSet, 9> m_cellsOf{};  ///< the cells with a node of each digit
};

/// The candidates of digit e weakly linked to a node (that a true node would remove).
CellSet WeakOf(const Node& node, int e) {
    if (node.digit == e) return node.seeAll;
    return node.cell >= 0 ? CellSet::Of(node.cell) : CellSet{};
}

/// Calls f(cell, digit) for each candidate weakly linked to a node; with `inCell` false, only
/// for those of its own digit.
template <typename F>
void ForEachWeakCandidate(const State& state, const Node& node, bool inCell, F&& f) {
    (node.seeAll & state.CellsOf(node.digit)).ForEach([&](int c) { f(c, node.digit); });
    if (!inCell || node.cell < 0) return;
    const unsigned others = state.Candidates(node.cell) & ~DigitBit(node.digit);
    for (unsigned rest = others; rest; rest &= rest - 1) f(node.cell, std::countr_zero(rest) + 1);
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

// The shortest chain of `links` links from `start` (false) to `end` (true), as nodes into
// `chain`; empty when it meets a node twice. `onChain(node, k)` tells whether `end` as a start
// first reaches the node, in the other truth, after k links: then the node lies k links from
// `end` and on a shortest chain. The search keeps to those nodes; every node it drops would
// have come after them, so the chain it finds is the one a search of all nodes finds.
template <typename OnChain>
void ShortestChain(const Graph& graph, int start, int end, int links, const OnChain& onChain,
                   Scratch& scratch, std::vector<int>& chain) {
    std::vector<StateId>& parent = scratch.parent;
    std::vector<StateId>& queue = scratch.queue;
    parent.assign(2 * static_cast<std::size_t>(graph.Size()), kUnseen);
    queue.assign(1, static_cast<StateId>(start * 2));
    parent[queue[0]] = queue[0];
    const auto target = static_cast<StateId>(end * 2 + 1);
    std::size_t layerEnd = 1;
    int depth = 0;
    for (std::size_t k = 0; k < queue.size() && parent[target] == kUnseen; ++k) {
        if (k == layerEnd) {
            ++depth;
            layerEnd = queue.size();
        }
        const StateId s = queue[k];
        graph.ForEachNextInOrder(s, [&](StateId t) {
            if (parent[t] != kUnseen || !onChain(t >> 1, links - depth - 1)) return;
            parent[t] = s;
            queue.push_back(t);
        });
    }
    chain.clear();
    if (parent[target] == kUnseen) return;
    for (StateId s = target;; s = parent[s]) {
        chain.push_back(s >> 1);
        if (parent[s] == s) break;
    }
    std::reverse(chain.begin(), chain.end());
    // A node met twice still proves the ends, but reads badly; another start gives a
    // cleaner chain for the same removals.
    for (std::size_t i = 0; i < chain.size(); ++i) {
        for (std::size_t j = i + 1; j < chain.size(); ++j) {
            if (chain[i] == chain[j]) {
                chain.clear();
                return;
            }
        }
    }
}

Step ChainStep(const Graph& graph, const std::vector<int>& nodes, Technique technique) {
    Step step;
    step.technique = technique;
    step.chain.reserve(nodes.size() * 10);
    step.cells.reserve(nodes.size());
    Mask digits = 0;
    auto proof = std::make_shared<Proof>();
    proof->nodes.reserve(nodes.size());
    proof->links.reserve(nodes.size());
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const Node& node = graph.At(nodes[k]);
        if (k > 0) {
            // A link between two nodes of one cell rests on the cell, any other on the house
            // that holds both.
            const ChainNode& before = proof->nodes.back();
            std::int8_t unit = -1;
            if (before.cells != node.cells || !node.cells.Single()) {
                const CellSet both = before.cells | node.cells;
                for (int u : kUnits.unitsOf[node.cells.First()]) {
                    if ((kUnits.set[u] & both) == both) {
                        unit = static_cast<std::int8_t>(u);
                        break;
                    }
                }
            }
            proof->links.push_back({k % 2 == 1, unit});
        }
        proof->nodes.push_back({node.digit, node.cells});
        if (k > 0) step.chain += k % 2 ? '=' : '-';
        if (node.cell >= 0) {
            // NodeName's "(d)r1c2" for one candidate, written in place: a hint's chain has a
            // dozen of them, and batch use builds every step it finds.
            const char text[] = {'(',
                                 static_cast<char>('0' + node.digit),
                                 ')',
                                 'r',
                                 static_cast<char>('1' + RowOf(node.cell)),
                                 'c',
                                 static_cast<char>('1' + ColOf(node.cell))};
            step.chain.append(text, sizeof text);
        } else {
            step.chain += NodeName(DigitBit(node.digit), node.cells);
        }
        AddPatternCells(step, node.cells);
        digits |= DigitBit(node.digit);
    }
    step.digits = DigitList(digits);
    step.proof = std::move(proof);
    return step;
}

// All starts advance together, one link a round, as bit rows over the starts: a round costs
// the links times the words, however many starts there are. Nodes come into being only
// through a strong link, so every node is a start and a start's bit is its node number.
// `Words` is the length of a row when known at compile time (the loops over a row then
// unroll), else 0.
template <int Words>
void SearchRows(const State& state, const Shape& shape, const Graph& graph, Scratch& scratch,
                const StepSink& sink) {
    const int n = graph.Size();
    const int words = Words > 0 ? Words : (n + 63) / 64;
    const auto rowSize = static_cast<std::size_t>(n) * words;

    // Rows of starts for each node: seen false, seen true and partners, then the front of
    // each round, the starts that first reach the node in that round. The fronts are kept:
    // they tell which nodes lie on a shortest chain.
    std::vector<std::uint64_t>& rows = scratch.rows;
    // A round clears its own front as it starts, in one sweep: cheaper than asking at every
    // link whether the row it adds to was cleared yet. The buffer only grows: shrinking it
    // for a small search would have the next large one zero all of it again.
    const std::size_t needed = (3 + 1 + static_cast<std::size_t>(shape.maxLinks)) * rowSize;
    if (rows.size() < needed) rows.resize(needed);
    std::fill(rows.begin(), rows.begin() + 4 * static_cast<std::ptrdiff_t>(rowSize), 0);
    std::uint64_t* seenFalse = rows.data();
    std::uint64_t* seenTrue = seenFalse + rowSize;
    std::uint64_t* partners = seenTrue + rowSize;
    std::uint64_t* const fronts = partners + rowSize;
    auto row = [=](std::uint64_t* base, int i) { return base + std::size_t(i) * words; };
    auto setBit = [](std::uint64_t* bits, std::size_t i) {
        bits[i / 64] |= std::uint64_t{1} << (i % 64);
    };

    // The starts whose truth would remove each candidate, then for each node the starts that
    // share a removal with it. Ends of one digit share a removal only in that digit: the
    // other digits of a cell are shared only by the same cell's one node.
    const bool inCell = !shape.sameDigitEnds;
    std::vector<std::int16_t>& weakRow = scratch.weakRow;
    weakRow.resize(81 * 9);
    int candidates = 0;
    for (int e = 1; e <= 9; ++e) {
        state.CellsOf(e).ForEach(
            [&](int c) { weakRow[c * 9 + e - 1] = static_cast<std::int16_t>(candidates++); });
    }
    std::vector<std::uint64_t>& weakTo = scratch.weakTo;
    weakTo.assign(static_cast<std::size_t>(candidates) * words, 0);
    for (int i = 0; i < n; ++i) {
        ForEachWeakCandidate(state, graph.At(i), inCell, [&](int c, int e) {
            setBit(&weakTo[std::size_t(weakRow[c * 9 + e - 1]) * words], i);
        });
    }
    // Made for a node when a chain first reaches it true: most searches end after a few links.
    std::vector<std::uint64_t>& partnersMade = scratch.partnersMade;
    partnersMade.assign(static_cast<std::size_t>(words), 0);
    auto partnersOf = [&](int t) {
        std::uint64_t* with = row(partners, t);
        if (!((partnersMade[t / 64] >> (t % 64)) & 1)) {
            setBit(partnersMade.data(), t);
            ForEachWeakCandidate(state, graph.At(t), inCell, [&](int c, int e) {
                const std::uint64_t* from = &weakTo[std::size_t(weakRow[c * 9 + e - 1]) * words];
#pragma GCC unroll 4
                for (int w = 0; w < words; ++w) with[w] |= from[w];
            });
        }
        return with;
    };

    for (int i = 0; i < n; ++i) {
        setBit(row(seenFalse, i), i);
        setBit(row(fronts, i), i);
    }
    // The nodes whose front row is not empty, in order: a round follows only their links.
    std::vector<int>& live = scratch.live;
    live.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) live[i] = i;
    // What the chains reported so far remove: one that removes nothing more changes nothing
    // once those are taken, and finding its chain is the costly part.
    std::array<CellSet, 9> removed{};
    for (int links = 1; links <= shape.maxLinks; ++links) {
        const bool toTrue = links & 1;
        std::uint64_t* seen = toTrue ? seenTrue : seenFalse;
        const std::uint64_t* front = fronts + (links - 1) * rowSize;
        std::uint64_t* fresh = fronts + links * rowSize;
        std::fill(fresh, fresh + rowSize, 0);
        for (int u : live) {
            const std::uint64_t* from = front + std::size_t(u) * words;
            graph.ForEachNext(static_cast<StateId>(u * 2 + (toTrue ? 0 : 1)), [&](StateId s) {
                const int v = s >> 1;
                std::uint64_t* to = row(fresh, v);
#pragma GCC unroll 4
                for (int w = 0; w < words; ++w) to[w] |= from[w];
            });
        }
        // Every node is written and the count moves only for a live one: no branch to guess.
        live.resize(static_cast<std::size_t>(n));
        std::size_t liveCount = 0;
        for (int v = 0; v < n; ++v) {
            std::uint64_t* add = row(fresh, v);
            std::uint64_t* had = row(seen, v);
            std::uint64_t any = 0;
#pragma GCC unroll 4
            for (int w = 0; w < words; ++w) {
                const std::uint64_t fresher = add[w] & ~had[w];
                add[w] = fresher;
                had[w] |= fresher;
                any |= fresher;
            }
            live[liveCount] = v;
            liveCount += any != 0;
        }
        live.resize(liveCount);
        if (live.empty()) return;
        if (!toTrue || links < shape.minLinks) continue;
        std::vector<Step> found;
        for (int t : live) {
            const Node& b = graph.At(t);
            const std::uint64_t* with = partnersOf(t);
            const std::uint64_t* at = row(fresh, t);
            for (int w = 0; w < words; ++w) {
                for (std::uint64_t bits = at[w] & with[w]; bits; bits &= bits - 1) {
                    const int start = w * 64 + std::countr_zero(bits);
                    const Node& a = graph.At(start);
                    if (start == t || (shape.sameDigitEnds && a.digit != b.digit)) continue;
                    if (a.digit == b.digit && !(a.cells & b.cells).Empty()) continue;
                    if (!RemovesMore(state, a, b, removed)) continue;
                    std::vector<int>& nodes = scratch.chain;
                    const auto onChain = [&](int node, int linksLeft) {
                        const std::uint64_t* at = fronts + linksLeft * rowSize + node * words;
                        return ((at[t / 64] >> (t % 64)) & 1) != 0;
                    };
                    ShortestChain(graph, start, t, links, onChain, scratch, nodes);
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

void Search(const State& state, const Shape& shape, Mask digits, const StepSink& sink) {
    ScratchLease lease;
    Scratch& scratch = *lease;
    const Graph graph(state, shape.flags, digits, scratch);
    switch ((graph.Size() + 63) / 64) {
        case 0:
            return;
        case 1:
            return SearchRows<1>(state, shape, graph, scratch, sink);
        case 2:
            return SearchRows<2>(state, shape, graph, scratch, sink);
        case 3:
            return SearchRows<3>(state, shape, graph, scratch, sink);
        case 4:
            return SearchRows<4>(state, shape, graph, scratch, sink);
        default:
            return SearchRows<0>(state, shape, graph, scratch, sink);
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
