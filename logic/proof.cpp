// SPDX-License-Identifier: MIT
#include "logic/proof.h"

#include <algorithm>
#include <bit>

namespace kz::logic {

namespace {

constexpr int Key(int c, int d) {
    return c * 9 + d - 1;
}

// A removal a branch has not recorded but can name: the cell holds another digit, or the digit
// sits in (one of) cells this cell sees.
struct Taker {
    int fact = -1;
    Because because = Because::SameCell;
};

}  // namespace

BranchBuilder::BranchBuilder(const State& board)
    : m_board(board), m_true(729, -1), m_false(729, -1) {}

bool BranchBuilder::OnBoard(int cell, int digit) const {
    return m_board.Value(cell) == 0 && m_board.Has(cell, digit);
}

int BranchBuilder::Add(ProofFact fact) {
    const int index = static_cast<int>(m_facts.size());
    if (fact.cells.Single() && !fact.IsEnd()) {
        auto& slot = (fact.isTrue ? m_true : m_false)[Key(fact.cells.First(), fact.digit)];
        if (slot < 0) slot = static_cast<std::int16_t>(index);
    }
    m_facts.push_back(std::move(fact));
    return index;
}

int BranchBuilder::Suppose(int cell, int digit, bool isTrue) {
    ProofFact f;
    f.because = Because::Supposed;
    f.isTrue = isTrue;
    f.digit = static_cast<std::int8_t>(digit);
    f.cells = CellSet::Of(cell);
    return Add(std::move(f));
}

bool BranchBuilder::Gone(int cell, int digit, std::vector<std::int16_t>& premises) {
    if (!OnBoard(cell, digit)) return true;
    const int gone = Removed(cell, digit);
    if (gone < 0) return false;
    premises.push_back(static_cast<std::int16_t>(gone));
    return true;
}

int BranchBuilder::Removed(int cell, int digit) {
    if (const int at = FalseAt(cell, digit); at >= 0) return at;
    if (!OnBoard(cell, digit)) return -1;
    // The earliest fact that takes it: the shorter the proof, the better.
    Taker best;
    const auto offer = [&](int fact, Because because) {
        if (fact >= 0 && (best.fact < 0 || fact < best.fact)) best = {fact, because};
    };
    for (int e = 1; e <= 9; ++e) {
        if (e != digit) offer(TrueAt(cell, e), Because::SameCell);
    }
    kUnits.peers[cell].ForEach([&](int p) { offer(TrueAt(p, digit), Because::Sees); });
    for (int i = 0; i < static_cast<int>(m_facts.size()); ++i) {
        const ProofFact& g = m_facts[static_cast<std::size_t>(i)];
        if (!g.isTrue || !g.IsGroup() || g.digit != digit || g.IsEnd() || g.cells.Has(cell))
            continue;
        if ((g.cells & kUnits.peers[cell]) == g.cells) offer(i, Because::Sees);
    }
    if (best.fact < 0) return -1;
    return Remove(cell, digit, best.fact);
}

int BranchBuilder::Place(int cell, int digit) {
    if (const int at = TrueAt(cell, digit); at >= 0) return at;
    if (!OnBoard(cell, digit)) return -1;
    // The cell first, then its units: whichever the removals so far already empty.
    const auto tryCell = [&](std::vector<std::int16_t>& premises) {
        for (int e = 1; e <= 9; ++e) {
            if (e != digit && OnBoard(cell, e) && FalseAt(cell, e) < 0) return false;
        }
        for (int e = 1; e <= 9; ++e) {
            if (e != digit && !Gone(cell, e, premises)) return false;
        }
        return true;
    };
    const auto tryUnit = [&](int u, std::vector<std::int16_t>& premises) {
        const CellSet others = m_board.CellsOf(digit) & kUnits.set[u] & ~CellSet::Of(cell);
        bool all = true;
        others.ForEach([&](int x) { all &= FalseAt(x, digit) >= 0; });
        if (!all) return false;
        others.ForEach([&](int x) { Gone(x, digit, premises); });
        return true;
    };
    ProofFact f;
    f.isTrue = true;
    f.digit = static_cast<std::int8_t>(digit);
    f.cells = CellSet::Of(cell);
    // Of the reasons the recorded removals give, the one whose latest premise came first.
    int bestUnit = -2;
    int bestLatest = 1 << 30;
    std::size_t bestCount = 0;
    const auto consider = [&](int unit, const std::vector<std::int16_t>& premises) {
        const int latest =
            premises.empty() ? -1 : *std::max_element(premises.begin(), premises.end());
        if (latest < bestLatest || (latest == bestLatest && premises.size() < bestCount)) {
            bestUnit = unit;
            bestLatest = latest;
            bestCount = premises.size();
        }
    };
    {
        std::vector<std::int16_t> premises;
        if (tryCell(premises)) consider(-1, premises);
    }
    for (int u : kUnits.unitsOf[cell]) {
        std::vector<std::int16_t> premises;
        if (tryUnit(u, premises)) consider(u, premises);
    }
    if (bestUnit == -2) {
        // Nothing recorded empties the cell or a unit: the removals that placements imply
        // but nobody wrote down may.
        std::vector<std::int16_t> premises;
        bool cellGone = true;
        for (int e = 1; e <= 9 && cellGone; ++e) {
            if (e != digit && OnBoard(cell, e)) cellGone = Removed(cell, e) >= 0;
        }
        if (cellGone) {
            bestUnit = -1;
        } else {
            for (int u : kUnits.unitsOf[cell]) {
                const CellSet others = m_board.CellsOf(digit) & kUnits.set[u] & ~CellSet::Of(cell);
                bool all = true;
                others.ForEach([&](int x) { all = all && Removed(x, digit) >= 0; });
                if (all) {
                    bestUnit = u;
                    break;
                }
            }
        }
        if (bestUnit == -2) return -1;
    }
    if (bestUnit == -1) {
        f.because = Because::OnlyCandidate;
        for (int e = 1; e <= 9; ++e) {
            if (e != digit) Gone(cell, e, f.premises);
        }
    } else {
        f.because = Because::OnlyPlace;
        f.unit = static_cast<std::int8_t>(bestUnit);
        (m_board.CellsOf(digit) & kUnits.set[bestUnit] & ~CellSet::Of(cell)).ForEach([&](int x) {
            Gone(x, digit, f.premises);
        });
    }
    return Add(std::move(f));
}

int BranchBuilder::Remove(int cell, int digit, int cause) {
    if (const int at = FalseAt(cell, digit); at >= 0) return at;
    if (cause < 0 || cause >= Size()) return -1;
    const ProofFact& c = m_facts[static_cast<std::size_t>(cause)];
    if (!c.isTrue || c.IsEnd()) return -1;
    ProofFact f;
    f.digit = static_cast<std::int8_t>(digit);
    f.cells = CellSet::Of(cell);
    f.premises = {static_cast<std::int16_t>(cause)};
    if (c.cells == CellSet::Of(cell) && c.digit != digit) {
        f.because = Because::SameCell;
    } else if (c.digit == digit && !c.cells.Has(cell) &&
               (c.cells & kUnits.peers[cell]) == c.cells) {
        f.because = Because::Sees;
    } else {
        return -1;
    }
    return Add(std::move(f));
}

int BranchBuilder::Group(CellSet cells, int digit) {
    if (cells.Single()) return Place(cells.First(), digit);
    ProofFact f;
    f.isTrue = true;
    f.digit = static_cast<std::int8_t>(digit);
    f.cells = cells;
    // A locked group: the digit's other places in a unit holding the group are gone.
    for (int u = 0; u < kUnitCount; ++u) {
        if ((kUnits.set[u] & cells) != cells) continue;
        const CellSet others = m_board.CellsOf(digit) & kUnits.set[u] & ~cells;
        bool all = true;
        others.ForEach([&](int x) { all = all && Removed(x, digit) >= 0; });
        if (!all) continue;
        f.because = Because::Locked;
        f.unit = static_cast<std::int8_t>(u);
        others.ForEach([&](int x) { Gone(x, digit, f.premises); });
        return Add(std::move(f));
    }
    // Half a naked pair: two cells of a unit left with the digit and one other between them.
    if (cells.Count() != 2) return -1;
    const int p = cells.First();
    const int q = (cells & ~CellSet::Of(p)).First();
    Mask left = 0;
    for (int x : {p, q}) {
        for (int e = 1; e <= 9; ++e) {
            if (OnBoard(x, e) && FalseAt(x, e) < 0) left |= static_cast<Mask>(1u << (e - 1));
        }
    }
    const Mask bit = static_cast<Mask>(1u << (digit - 1));
    if (!(left & bit) || BitCount(left) != 2) return -1;
    const int other = std::countr_zero(static_cast<unsigned>(left & ~bit)) + 1;
    for (int u = 0; u < kUnitCount; ++u) {
        if ((kUnits.set[u] & cells) != cells) continue;
        f.because = Because::Pair;
        f.unit = static_cast<std::int8_t>(u);
        f.other = static_cast<std::int8_t>(other);
        for (int x : {p, q}) {
            for (int e = 1; e <= 9; ++e) {
                if (e != digit && e != other) Gone(x, e, f.premises);
            }
        }
        return Add(std::move(f));
    }
    return -1;
}

int BranchBuilder::ByInner(int cell, int digit, int inner, const std::vector<Placement>& absent) {
    if (const int at = FalseAt(cell, digit); at >= 0) return at;
    ProofFact f;
    f.because = Because::Inner;
    f.digit = static_cast<std::int8_t>(digit);
    f.cells = CellSet::Of(cell);
    f.inner = static_cast<std::int16_t>(inner);
    for (const Placement& a : absent) {
        if (!Gone(a.cell, a.digit, f.premises)) return -1;
    }
    std::sort(f.premises.begin(), f.premises.end());
    f.premises.erase(std::unique(f.premises.begin(), f.premises.end()), f.premises.end());
    return Add(std::move(f));
}

int BranchBuilder::Contradiction(int hint) {
    // Each contradiction the facts so far show, by the latest recorded fact it needs; the
    // earliest wins, and among equals the one that uses `hint`.
    struct Found {
        Because because;
        int cell = -1, unit = -1, digit = 0, latest = 1 << 30;
        bool usesHint = false;
    } best;
    const auto offer = [&](Found f, const std::vector<int>& uses) {
        f.latest = uses.empty() ? -1 : *std::max_element(uses.begin(), uses.end());
        f.usesHint = std::find(uses.begin(), uses.end(), hint) != uses.end();
        if (f.latest < best.latest || (f.latest == best.latest && f.usesHint && !best.usesHint))
            best = f;
    };
    for (int i = 0; i < Size(); ++i) {
        const ProofFact& f = m_facts[static_cast<std::size_t>(i)];
        if (!f.isTrue || f.IsGroup() || f.IsEnd()) continue;
        const int gone = FalseAt(f.cells.First(), f.digit);
        if (gone >= 0) offer({Because::Clash, f.cells.First(), -1, f.digit}, {i, gone});
    }
    m_board.Open().ForEach([&](int c) {
        std::vector<int> uses;
        for (int e = 1; e <= 9; ++e) {
            if (!OnBoard(c, e)) continue;
            const int gone = FalseAt(c, e);
            if (gone < 0) return;
            uses.push_back(gone);
        }
        offer({Because::NoCandidate, c, -1, 0}, uses);
    });
    for (int u = 0; u < kUnitCount; ++u) {
        for (int d = 1; d <= 9; ++d) {
            const CellSet places = m_board.CellsOf(d) & kUnits.set[u];
            if (places.Empty()) continue;  // placed there on the board
            std::vector<int> uses;
            bool all = true;
            places.ForEach([&](int x) {
                const int gone = FalseAt(x, d);
                all = all && gone >= 0;
                uses.push_back(gone);
            });
            if (all) offer({Because::NoPlace, -1, u, d}, uses);
        }
    }
    if (best.latest == 1 << 30) return -1;
    ProofFact end;
    end.because = best.because;
    end.digit = static_cast<std::int8_t>(best.digit);
    end.unit = static_cast<std::int8_t>(best.unit);
    if (best.cell >= 0) end.cells = CellSet::Of(best.cell);
    switch (best.because) {
        case Because::Clash:
            end.premises = {static_cast<std::int16_t>(TrueAt(best.cell, best.digit)),
                            static_cast<std::int16_t>(FalseAt(best.cell, best.digit))};
            break;
        case Because::NoCandidate:
            for (int e = 1; e <= 9; ++e) {
                if (OnBoard(best.cell, e)) Gone(best.cell, e, end.premises);
            }
            break;
        default:
            (m_board.CellsOf(best.digit) & kUnits.set[best.unit]).ForEach([&](int x) {
                Gone(x, best.digit, end.premises);
            });
            break;
    }
    return Add(std::move(end));
}

ProofBranch BranchBuilder::Finish(int end) const {
    ProofBranch branch;
    if (end < 0 || end >= Size()) return branch;
    std::vector<bool> needed(m_facts.size(), false);
    needed[static_cast<std::size_t>(end)] = true;
    for (int i = end; i >= 0; --i) {
        if (!needed[static_cast<std::size_t>(i)]) continue;
        for (std::int16_t p : m_facts[static_cast<std::size_t>(i)].premises)
            needed[static_cast<std::size_t>(p)] = true;
    }
    // The supposition opens the branch even when the end does not lean on it by name.
    needed[0] = true;
    std::vector<std::int16_t> renumber(m_facts.size(), -1);
    for (int i = 0; i <= end; ++i) {
        if (!needed[static_cast<std::size_t>(i)]) continue;
        renumber[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(branch.facts.size());
        ProofFact f = m_facts[static_cast<std::size_t>(i)];
        for (std::int16_t& p : f.premises) p = renumber[static_cast<std::size_t>(p)];
        branch.facts.push_back(std::move(f));
    }
    return branch;
}

namespace {

void AbsentOf(const Proof& proof, std::vector<Placement>& out);

// What one fact's board reason needs gone that its premises do not take.
void AbsentOf(const ProofFact& f, const ProofBranch& branch, const Proof& proof,
              std::vector<Placement>& out) {
    const auto covered = [&](int c, int d) {
        for (std::int16_t p : f.premises) {
            const ProofFact& q = branch.facts[static_cast<std::size_t>(p)];
            if (!q.isTrue && q.digit == d && q.cells == CellSet::Of(c)) return true;
        }
        return false;
    };
    const auto need = [&](int c, int d) {
        if (!covered(c, d))
            out.push_back({static_cast<std::int8_t>(c), static_cast<std::int8_t>(d)});
    };
    const int c = f.cells.First();
    switch (f.because) {
        case Because::OnlyCandidate:
        case Because::NoCandidate:
            for (int e = 1; e <= 9; ++e) {
                if (e != f.digit) need(c, e);
            }
            break;
        case Because::OnlyPlace:
        case Because::Locked:
        case Because::NoPlace:
            for (int x : kUnits.cells[f.unit]) {
                if (!f.cells.Has(x) || f.because == Because::NoPlace) need(x, f.digit);
            }
            break;
        case Because::Pair:
            f.cells.ForEach([&](int x) {
                for (int e = 1; e <= 9; ++e) {
                    if (e != f.digit && e != f.other) need(x, e);
                }
            });
            break;
        case Because::Inner: {
            std::vector<Placement> inner;
            AbsentOf(proof.inners[static_cast<std::size_t>(f.inner)], inner);
            for (const Placement& a : inner) need(a.cell, a.digit);
            break;
        }
        default:
            break;
    }
}

void AbsentOf(const Proof& proof, std::vector<Placement>& out) {
    if (proof.kind == Proof::Kind::Chain) {
        for (std::size_t k = 0; k < proof.links.size(); ++k) {
            const ChainLink& link = proof.links[k];
            if (!link.strong) continue;
            const ChainNode& a = proof.nodes[k];
            const ChainNode& b = proof.nodes[k + 1];
            if (link.unit < 0) {
                const int c = a.cells.First();
                for (int e = 1; e <= 9; ++e) {
                    if (e != a.digit && e != b.digit)
                        out.push_back({static_cast<std::int8_t>(c), static_cast<std::int8_t>(e)});
                }
            } else {
                for (int x : kUnits.cells[link.unit]) {
                    if (!(a.cells | b.cells).Has(x))
                        out.push_back({static_cast<std::int8_t>(x), a.digit});
                }
            }
        }
        return;
    }
    for (const ProofBranch& branch : proof.branches) {
        for (const ProofFact& f : branch.facts) AbsentOf(f, branch, proof, out);
    }
}

}  // namespace

std::vector<Placement> NeededAbsent(const Proof& proof) {
    std::vector<Placement> out;
    AbsentOf(proof, out);
    std::sort(out.begin(), out.end(), [](const Placement& a, const Placement& b) {
        return a.cell != b.cell ? a.cell < b.cell : a.digit < b.digit;
    });
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace kz::logic
