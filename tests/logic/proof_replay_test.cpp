// SPDX-License-Identifier: MIT
// Every proof on a solution path replayed against a candidate grid kept by the rules of the game
// alone: the proofs are what the words, the picture and the notation read, so a proof that does
// not hold tells a person something false however well it reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "logic/logic_support.h"
#include "logic/proof.h"
#include "logic/solver.h"

namespace kz::logic {
namespace {

// Geometry written out here rather than read from the solver's tables, so that a fault there
// cannot hide one in a proof.
int Box(int c) {
    return 3 * (c / 27) + c % 9 / 3;
}
bool InUnit(int u, int c) {
    return u < 9 ? c / 9 == u : u < 18 ? c % 9 == u - 9 : Box(c) == u - 18;
}
bool SeesCell(int a, int b) {
    return a != b && (a / 9 == b / 9 || a % 9 == b % 9 || Box(a) == Box(b));
}
bool SeesAll(int c, CellSet cells) {
    bool all = !cells.Empty();
    cells.ForEach([&](int x) { all = all && SeesCell(c, x); });
    return all;
}
bool AllIn(int u, CellSet cells) {
    bool all = u >= 0 && u < 27;
    cells.ForEach([&](int x) { all = all && InUnit(u, x); });
    return all;
}
Mask Bit(int d) {
    return static_cast<Mask>(1u << (d - 1));
}

struct Grid {
    std::array<int, 81> value{};
    std::array<Mask, 81> cand{};

    explicit Grid(const Digits& digits) {
        cand.fill(kAllDigits);
        for (int c = 0; c < 81; ++c) {
            if (digits[c]) Place(c, digits[c]);
        }
    }
    bool Has(int c, int d) const {
        return c >= 0 && c < 81 && d >= 1 && d <= 9 && value[c] == 0 && (cand[c] & Bit(d));
    }
    // Where unit u still has d, or with `placed`, where it holds d.
    CellSet Places(int u, int d, bool placed = false) const {
        CellSet s;
        for (int c = 0; c < 81; ++c) {
            if (InUnit(u, c) && (placed ? value[c] == d : Has(c, d))) s.Add(c);
        }
        return s;
    }
    void Place(int c, int d) {
        value[c] = d;
        cand[c] = 0;
        for (int x = 0; x < 81; ++x) {
            if (SeesCell(c, x)) cand[x] &= static_cast<Mask>(~Bit(d));
        }
    }
    void Apply(const Step& step) {
        for (const Placement& p : step.placements) Place(p.cell, p.digit);
        for (const Elimination& e : step.eliminations)
            cand[e.cell] &= static_cast<Mask>(~Bit(e.digit));
    }
};

// Candidate (c, d) cannot hold once node n does.
bool Conflicts(int c, int d, const ChainNode& n) {
    if (n.cells == CellSet::Of(c)) return n.digit != d;
    return n.digit == d && SeesAll(c, n.cells);
}

std::string CheckChain(const Grid& g, const Step& step, const Proof& p) {
    const std::size_t n = p.nodes.size();
    if (n < 2 || p.links.size() + 1 != n || p.links.size() % 2 == 0)
        return "nodes and links do not make a chain with strong ends";
    for (std::size_t k = 0; k < n; ++k) {
        bool onGrid = !p.nodes[k].cells.Empty();
        p.nodes[k].cells.ForEach([&](int c) { onGrid = onGrid && g.Has(c, p.nodes[k].digit); });
        if (!onGrid) return "node " + std::to_string(k) + " is not on the board";
    }
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const ChainNode &a = p.nodes[k], &b = p.nodes[k + 1];
        const ChainLink& link = p.links[k];
        const bool apart = (a.cells & b.cells).Empty();
        bool holds = false;
        if (link.strong != (k % 2 == 0)) {
            holds = false;
        } else if (!link.strong) {
            bool sees = apart && a.digit == b.digit;
            a.cells.ForEach([&](int c) { sees = sees && SeesAll(c, b.cells); });
            holds = a.cells == b.cells && a.cells.Single() ? a.digit != b.digit : sees;
        } else if (link.unit < 0) {
            holds = a.cells == b.cells && a.cells.Single() && a.digit != b.digit &&
                    g.cand[a.cells.First()] == (Bit(a.digit) | Bit(b.digit));
        } else {
            holds = a.digit == b.digit && apart && AllIn(link.unit, a.cells | b.cells) &&
                    g.Places(link.unit, a.digit) == (a.cells | b.cells);
        }
        if (!holds) return "link " + std::to_string(k) + " does not hold on the board";
    }
    if (!step.placements.empty() || step.eliminations.empty()) return "a chain only removes";
    for (const Elimination& e : step.eliminations) {
        const bool node = std::any_of(p.nodes.begin(), p.nodes.end(), [&](const ChainNode& x) {
            return x.digit == e.digit && x.cells.Has(e.cell);
        });
        if (!g.Has(e.cell, e.digit) || node || !Conflicts(e.cell, e.digit, p.nodes.front()) ||
            !Conflicts(e.cell, e.digit, p.nodes.back()))
            return "a removal does not follow from the chain's ends";
    }
    return {};
}

// Each fact from the board and its own premises only, then that the end needs every fact.
std::string CheckBranch(const Grid& g, const Proof& proof, const ProofBranch& branch) {
    const std::vector<ProofFact>& facts = branch.facts;
    if (facts.empty() || facts[0].because != Because::Supposed) return "fact 0: no supposition";
    for (std::size_t i = 0; i < facts.size(); ++i) {
        const ProofFact& f = facts[i];
        const std::string at = "fact " + std::to_string(i) + ": ";
        if (f.IsEnd() && i + 1 != facts.size()) return at + "a contradiction before the end";
        const int c = f.cells.Single() ? f.cells.First() : -1;
        const int d = f.digit;
        const bool single = c >= 0;
        if ((d < 1 || d > 9) && f.because != Because::NoCandidate) return at + "no digit";
        // What the premises take, by cell, and those that put a digit somewhere.
        std::array<Mask, 81> gone{};
        std::vector<const ProofFact*> truths;
        for (std::int16_t q : f.premises) {
            if (q < 0 || static_cast<std::size_t>(q) >= i) return at + "a premise is not earlier";
            const ProofFact& r = facts[static_cast<std::size_t>(q)];
            if (r.isTrue) {
                truths.push_back(&r);
            } else if (r.cells.Single()) {
                gone[r.cells.First()] |= Bit(r.digit);
            }
        }
        const auto left = [&](int x) { return static_cast<Mask>(g.cand[x] & ~gone[x]); };
        const auto taken = [&](CellSet cells) {
            bool all = true;
            cells.ForEach([&](int x) { all = all && !(left(x) & Bit(d)); });
            return all;
        };
        const auto truth = [&](auto&& test) {
            return std::any_of(truths.begin(), truths.end(),
                               [&](const ProofFact* r) { return test(*r); });
        };
        bool holds = false;
        switch (f.because) {
            case Because::Supposed:
                holds = i == 0 && single && g.Has(c, d) && f.premises.empty();
                break;
            case Because::OnlyCandidate:
                holds = f.isTrue && single && g.Has(c, d) && !(left(c) & ~Bit(d));
                break;
            case Because::OnlyPlace:
                holds = f.isTrue && single && g.Has(c, d) && AllIn(f.unit, f.cells) &&
                        taken(g.Places(f.unit, d) & ~f.cells);
                break;
            case Because::SameCell:
                holds = !f.isTrue && single && truth([&](const ProofFact& r) {
                    return r.cells == f.cells && r.digit != d;
                });
                break;
            case Because::Sees:
                holds = !f.isTrue && single && truth([&](const ProofFact& r) {
                    return r.digit == d && SeesAll(c, r.cells);
                });
                break;
            case Because::Locked:
                holds = f.isTrue && f.cells.Count() > 1 && AllIn(f.unit, f.cells) &&
                        taken(g.Places(f.unit, d) & ~f.cells);
                break;
            case Because::Pair:
                holds = f.isTrue && f.cells.Count() == 2 && f.other >= 1 && f.other <= 9 &&
                        f.other != d && AllIn(f.unit, f.cells);
                f.cells.ForEach(
                    [&](int x) { holds = holds && !(left(x) & ~Bit(d) & ~Bit(f.other)); });
                break;
            case Because::Inner:
                holds = !f.isTrue && single && f.inner >= 0 &&
                        static_cast<std::size_t>(f.inner) < proof.inners.size() && truths.empty();
                break;
            case Because::NoCandidate:
                holds = single && g.value[c] == 0 && !left(c);
                break;
            case Because::NoPlace:
                holds = AllIn(f.unit, {}) && g.Places(f.unit, d, true).Empty() &&
                        taken(g.Places(f.unit, d));
                break;
            case Because::Clash:
                holds = single && (gone[c] & Bit(d)) && truth([&](const ProofFact& r) {
                            return r.cells == f.cells && r.digit == d;
                        });
                break;
        }
        if (!holds) return at + "does not follow from the board and its premises";
    }
    std::vector<bool> used(facts.size(), false);
    used.back() = true;
    for (std::size_t i = facts.size(); i-- > 0;) {
        if (!used[i]) continue;
        for (std::int16_t q : facts[i].premises) used[static_cast<std::size_t>(q)] = true;
    }
    for (std::size_t i = 0; i < facts.size(); ++i) {
        if (!used[i]) return "fact " + std::to_string(i) + ": the end does not need it";
    }
    return {};
}

bool Claims(const Step& step, const ProofFact& f) {
    const auto c = static_cast<std::int8_t>(f.cells.First());
    const auto has = [](const auto& list, auto item) {
        return std::find(list.begin(), list.end(), item) != list.end();
    };
    return f.cells.Single() && (f.isTrue ? has(step.placements, Placement{c, f.digit})
                                         : has(step.eliminations, Elimination{c, f.digit}));
}

// Empty when the proof holds on `g`, else where and why it does not.
std::string CheckProof(const Grid& g, const Step& step, const Proof& p) {
    if (p.kind == Proof::Kind::Chain) return CheckChain(g, step, p);
    if (p.branches.empty() || (p.kind == Proof::Kind::Refuted && p.branches.size() != 1))
        return "wrong number of branches";
    for (std::size_t b = 0; b < p.branches.size(); ++b) {
        if (std::string why = CheckBranch(g, p, p.branches[b]); !why.empty())
            return "branch " + std::to_string(b) + " " + why;
    }
    if (p.kind == Proof::Kind::Refuted) {
        ProofFact denied = p.branches[0].facts[0];
        denied.isTrue = !denied.isTrue;
        if (!p.branches[0].facts.back().IsEnd()) return "refuted without a contradiction";
        return Claims(step, denied) ? "" : "the step does not take the refuted supposition";
    }
    const ProofFact& result = p.branches[0].facts.back();
    CellSet cells;
    Mask digits = 0;
    for (const ProofBranch& b : p.branches) {
        const ProofFact &s = b.facts.front(), &r = b.facts.back();
        if (r.IsEnd() || r.isTrue != result.isTrue || r.digit != result.digit ||
            r.cells != result.cells)
            return "the branches do not share their result";
        if (!s.isTrue) return "a supposition of a set is false";
        cells |= s.cells;
        digits |= Bit(s.digit);
    }
    if (!Claims(step, result) || !g.Has(result.cells.First(), result.digit))
        return "the shared result is not the step's";
    const int n = static_cast<int>(p.branches.size());
    const int c = cells.First();
    bool covered =
        n >= 2 && cells.Single() && g.value[c] == 0 && g.cand[c] == digits && BitCount(digits) == n;
    for (int u = 0; u < 27 && !covered; ++u) {
        covered = n >= 2 && cells.Count() == n && BitCount(digits) == 1 &&
                  g.Places(u, std::countr_zero(digits) + 1) == cells;
    }
    return covered ? "" : "the suppositions are not all of a cell's candidates or a house's places";
}

bool NeedsProof(Technique t) {
    return t >= Technique::XChain && t != Technique::AlsXz && t != Technique::Guess;
}

// Calls visit(grid, step) for every step of the boards' paths, the grid as the step found it.
template <typename Visit>
void Walk(Visit&& visit) {
    std::vector<Digits> boards = test::ReadSet("forum_hardest_1106.txt", 8);
    for (const Digits& d : test::ReadSet("magictour_top1465.txt", 8)) boards.push_back(d);
    // One whose path passes alternating chains, forcing chains and a net.
    boards.push_back(test::ParseDigits(
        "..7..53..8.2..9..1....81......6...........18.4.9.1..2...17...6.6...2.5...3......."));
    for (const Digits& board : boards) {
        Path path;
        Rate(board, &path);
        Grid g(board);
        for (const Step& step : path.steps) {
            visit(g, step);
            g.Apply(step);
        }
        // Were the grid kept here not the board the path ended on, every check would be moot.
        bool same = true;
        for (int c = 0; c < 81; ++c) {
            same = same && g.value[c] == path.end.Value(c) &&
                   (g.value[c] || g.cand[c] == path.end.Candidates(c));
        }
        EXPECT_TRUE(same) << "the replayed grid parted from the path";
    }
}

TEST(ProofReplay, EveryProofOnThePathHoldsOnTheBoardItAppliesTo) {
    std::array<int, 3> kinds{};
    std::array<int, kTechniqueCount> missing{};
    std::vector<std::string> faults;
    Walk([&](const Grid& g, const Step& step) {
        if (step.proof) {
            ++kinds[static_cast<int>(step.proof->kind)];
            if (std::string why = CheckProof(g, step, *step.proof); !why.empty())
                faults.push_back(std::string(Info(step.technique).english) + " " + step.chain +
                                 ": " + why);
        } else if (NeedsProof(step.technique)) {
            ++missing[static_cast<int>(step.technique)];
        }
    });
    for (std::size_t k = 0; k < faults.size() && k < 10; ++k) ADD_FAILURE() << faults[k];
    EXPECT_TRUE(faults.empty()) << faults.size() << " proofs do not hold";
    for (int t = 0; t < kTechniqueCount; ++t) {
        EXPECT_EQ(missing[t], 0) << Info(static_cast<Technique>(t)).english
                                 << " steps without proof";
    }
    EXPECT_GT(kinds[static_cast<int>(Proof::Kind::Chain)], 0);
    EXPECT_GT(kinds[static_cast<int>(Proof::Kind::Refuted)], 0);
    EXPECT_GT(kinds[static_cast<int>(Proof::Kind::Common)], 0);
}

// The replay must be able to fail: a forcing proof with any one premise taken from any one fact
// no longer holds, and the replay names that fact.
TEST(ProofReplay, APremiseTakenAwayIsCaughtAtItsFact) {
    int mutants = 0;
    Walk([&](const Grid& g, const Step& step) {
        const Proof* p = step.proof.get();
        if (!p || p->kind == Proof::Kind::Chain || !p->inners.empty() ||
            !CheckProof(g, step, *p).empty())
            return;
        for (std::size_t b = 0; b < p->branches.size(); ++b) {
            for (std::size_t i = 0; i < p->branches[b].facts.size(); ++i) {
                for (std::size_t q = 0; q < p->branches[b].facts[i].premises.size(); ++q) {
                    Proof bad = *p;
                    auto& premises = bad.branches[b].facts[i].premises;
                    premises.erase(premises.begin() + static_cast<std::ptrdiff_t>(q));
                    const std::string at = " fact " + std::to_string(i) + ": does not follow";
                    EXPECT_NE(CheckProof(g, step, bad).find(at), std::string::npos)
                        << step.chain << " branch " << b << at;
                    ++mutants;
                }
            }
        }
    });
    EXPECT_GT(mutants, 0) << "no forcing proof held to corrupt";
}

}  // namespace
}  // namespace kz::logic
