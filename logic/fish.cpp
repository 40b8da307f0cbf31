// SPDX-License-Identifier: MIT
// Single-digit patterns: basic fish (X-wing, swordfish, jellyfish), skyscraper, two-string
// kite and simple colouring.
#include "logic/finders.h"
#include "logic/patterns.h"

namespace kz::logic {

namespace {

using namespace pattern;

// Lines are rows 0..8 or columns 9..17; the cross index of a cell is its column for a row
// and its row for a column.
int CrossIndex(int line, int c) {
    return line < 9 ? ColOf(c) : RowOf(c);
}

int CrossLine(int line, int index) {
    return line < 9 ? 9 + index : index;
}

// n base lines whose candidates for d lie in n cross lines: d leaves the rest of those.
void FindFish(const State& state, const Context& context, int n, Technique t,
              const StepSink& sink) {
    for (int d = 1; d <= 9; ++d) {
        if (!context.Digit(d)) continue;
        const CellSet cand = state.CellsOf(d);
        for (int first : {0, 9}) {
            std::array<int, 9> lines{};
            std::array<Mask, 9> masks{};
            int count = 0;
            for (int line = first; line < first + 9; ++line) {
                // A line's places as nine bits are its cross indices.
                const Mask where = state.PlacesIn(line, d);
                const int size = kNineBitCount[where];
                if (size < 2 || size > n) continue;
                lines[count] = line;
                masks[count++] = where;
            }
            const bool go = ForEachTightSubset(masks.data(), count, n, [&](auto pick, Mask cross) {
                if (kNineBitCount[cross] != n) return true;
                CellSet base;
                CellSet cover;
                for (int i : pick) base |= kUnits.set[lines[i]];
                ForEachDigit(cross, [&](int k) { cover |= kUnits.set[CrossLine(first, k - 1)]; });
                const CellSet gone = cand & cover & ~base;
                if (gone.Empty()) return true;
                Step s = NewStep(t);
                AddCells(s, cand & base);
                for (int i : pick) s.units.push_back(I8(lines[i]));
                ForEachDigit(cross, [&](int k) { s.units.push_back(I8(CrossLine(first, k - 1))); });
                s.digits = {I8(d)};
                AddEliminations(s, gone, d);
                return sink(std::move(s));
            });
            if (!go) return;
        }
    }
}

// The lines (of one kind or both) where d has exactly two candidates: strong links.
struct Link {
    int unit;
    int a;
    int b;
};

int StrongLinks(const State& state, int d, int firstUnit, int lastUnit, std::array<Link, 27>& out) {
    int count = 0;
    for (int u = firstUnit; u <= lastUnit; ++u) {
        const unsigned where = state.PlacesIn(u, d);
        if (kNineBitCount[where] != 2) continue;
        // A unit's cells are in cell order, so the lower bit is the lower cell.
        out[count++] = {u, kUnits.cells[u][std::countr_zero(where)],
                        kUnits.cells[u][std::countr_zero(where & (where - 1))]};
    }
    return count;
}

// Reports "one of x, y is d" as the removal of d from every cell that sees both.
bool ReportEnds(const State& state, Technique t, int d, std::initializer_list<int> cells,
                std::initializer_list<int> units, int x, int y, const StepSink& sink) {
    const CellSet gone = state.CellsOf(d) & kUnits.peers[x] & kUnits.peers[y];
    if (gone.Empty()) return true;
    Step s = NewStep(t);
    for (int c : cells) s.cells.push_back(I8(c));
    for (int u : units) s.units.push_back(I8(u));
    s.digits = {I8(d)};
    AddEliminations(s, gone, d);
    return sink(std::move(s));
}

}  // namespace

void FindXWing(const State& state, const Context& context, const StepSink& sink) {
    FindFish(state, context, 2, Technique::XWing, sink);
}
void FindSwordfish(const State& state, const Context& context, const StepSink& sink) {
    FindFish(state, context, 3, Technique::Swordfish, sink);
}
void FindJellyfish(const State& state, const Context& context, const StepSink& sink) {
    FindFish(state, context, 4, Technique::Jellyfish, sink);
}

// Two parallel strong links with one end on a common cross line: at most one of those two
// ends is d, so one of the other two ends is.
void FindSkyscraper(const State& state, const Context& context, const StepSink& sink) {
    std::array<Link, 27> links{};
    for (int d = 1; d <= 9; ++d) {
        if (!context.Digit(d)) continue;
        for (int first : {0, 9}) {
            const int count = StrongLinks(state, d, first, first + 8, links);
            for (int i = 0; i < count; ++i) {
                for (int j = i + 1; j < count; ++j) {
                    const Link& p = links[i];
                    const Link& q = links[j];
                    for (int k = 0; k < 4; ++k) {
                        const int pBase = k & 1 ? p.b : p.a;
                        const int pTop = k & 1 ? p.a : p.b;
                        const int qBase = k & 2 ? q.b : q.a;
                        const int qTop = k & 2 ? q.a : q.b;
                        if (CrossIndex(first, pBase) != CrossIndex(first, qBase) ||
                            CrossIndex(first, pTop) == CrossIndex(first, qTop)) {
                            continue;
                        }
                        if (!ReportEnds(state, Technique::Skyscraper, d, {pBase, pTop, qBase, qTop},
                                        {p.unit, q.unit}, pTop, qTop, sink)) {
                            return;
                        }
                    }
                }
            }
        }
    }
}

// A strong link in a row and one in a column with an end of each in one box: at most one of
// those two ends is d, so one of the far ends is.
void FindTwoStringKite(const State& state, const Context& context, const StepSink& sink) {
    std::array<Link, 27> rows{};
    std::array<Link, 27> cols{};
    for (int d = 1; d <= 9; ++d) {
        if (!context.Digit(d)) continue;
        const int rowCount = StrongLinks(state, d, 0, 8, rows);
        const int colCount = StrongLinks(state, d, 9, 17, cols);
        for (int i = 0; i < rowCount; ++i) {
            for (int j = 0; j < colCount; ++j) {
                const Link& r = rows[i];
                const Link& c = cols[j];
                if (r.a == c.a || r.a == c.b || r.b == c.a || r.b == c.b) continue;
                for (int k = 0; k < 4; ++k) {
                    const int rNear = k & 1 ? r.b : r.a;
                    const int rFar = k & 1 ? r.a : r.b;
                    const int cNear = k & 2 ? c.b : c.a;
                    const int cFar = k & 2 ? c.a : c.b;
                    if (BoxOf(rNear) != BoxOf(cNear) || BoxOf(rFar) == BoxOf(rNear) ||
                        BoxOf(cFar) == BoxOf(cNear)) {
                        continue;
                    }
                    if (!ReportEnds(state, Technique::TwoStringKite, d, {rNear, rFar, cNear, cFar},
                                    {r.unit, c.unit, 18 + BoxOf(rNear)}, rFar, cFar, sink)) {
                        return;
                    }
                }
            }
        }
    }
}

// The strong links of a digit split each connected group of cells into two colours, one of
// them true. A colour with two cells in one unit is false; a cell that sees both colours
// cannot hold the digit.
void FindSimpleColouring(const State& state, const Context& context, const StepSink& sink) {
    std::array<Link, 27> links{};
    for (int d = 1; d <= 9; ++d) {
        if (!context.Digit(d)) continue;
        const int count = StrongLinks(state, d, 0, kUnitCount - 1, links);
        if (count < 2) continue;
        std::array<CellSet, 81> next{};
        CellSet linked;
        for (int i = 0; i < count; ++i) {
            next[links[i].a].Add(links[i].b);
            next[links[i].b].Add(links[i].a);
            linked.Add(links[i].a);
            linked.Add(links[i].b);
        }
        CellSet seen;
        for (int start = linked.First(); start >= 0; start = (linked & ~seen).First()) {
            CellSet colour[2] = {CellSet::Of(start), {}};
            CellSet frontier = colour[0];
            for (int side = 1; !frontier.Empty(); side ^= 1) {
                CellSet reached;
                frontier.ForEach([&](int c) { reached |= next[c]; });
                frontier = reached & ~(colour[0] | colour[1]);
                colour[side] |= frontier;
            }
            const CellSet group = colour[0] | colour[1];
            seen |= group;
            if (group.Count() < 3) continue;
            CellSet sees[2];
            bool wraps[2] = {false, false};
            for (int k = 0; k < 2; ++k) {
                colour[k].ForEach([&](int c) {
                    sees[k] |= kUnits.peers[c];
                    wraps[k] |= !(kUnits.peers[c] & colour[k]).Empty();
                });
            }
            if (wraps[0] && wraps[1]) continue;  // no solution: leave it to the rest
            const CellSet gone = wraps[0]   ? colour[0]
                                 : wraps[1] ? colour[1]
                                            : state.CellsOf(d) & sees[0] & sees[1] & ~group;
            if (gone.Empty()) continue;
            Step s = NewStep(Technique::SimpleColouring);
            AddCells(s, colour[0]);
            AddCells(s, colour[1]);
            for (int i = 0; i < count; ++i) {
                if (group.Has(links[i].a)) s.units.push_back(I8(links[i].unit));
            }
            s.digits = {I8(d)};
            AddEliminations(s, gone, d);
            if (!sink(std::move(s))) return;
        }
    }
}

}  // namespace kz::logic
