// SPDX-License-Identifier: MIT
// Nested forcing chains. As in a forcing net, each candidate is assumed in turn and its
// consequences are followed on a copy of the candidates; but where the singles stall, the branch
// turns to harder techniques on its own candidates and goes on with what they remove: first
// locked candidates, subsets and fish, then, by depth, forcing chains that refute a candidate,
// those that start from every candidate of a cell or place of a digit, and forcing nets. A
// branch that meets a contradiction refutes its assumption; what every branch of a cell or of a
// digit's places in a house agrees on holds.
//
// Each depth is its own technique, and the solver tries them easiest first, so a board gets
// the shallowest nesting that proves something.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "logic/finders.h"
#include "logic/forcing.h"
#include "logic/notation.h"
#include "logic/proof.h"

namespace kz::logic {

namespace {

enum class Depth { Basic, Chains, Multiple, Dynamic };

// The techniques a branch turns to first when its singles stall, easiest first. Those that
// need a unique solution have no place in a branch, which is a board that may have none.
constexpr Technique kBasic[] = {
    Technique::Pointing,    Technique::Claiming,  Technique::NakedPair,    Technique::HiddenPair,
    Technique::NakedTriple, Technique::XWing,     Technique::HiddenTriple, Technique::Swordfish,
    Technique::NakedQuad,   Technique::Jellyfish, Technique::HiddenQuad,
};

std::string CellName(int c) {
    return "r" + std::to_string(c / 9 + 1) + "c" + std::to_string(c % 9 + 1);
}

// What a recorded branch did, in order: its placements by singles, and what the techniques it
// turned to placed or removed, each with its proof.
struct Event {
    std::int8_t cell, digit;
    bool placed;
    int proof;  ///< an index into Record::proofs, or −1 for a single
};

struct Record {
    // The result the branch is followed to (a cell of −1: to its end or its contradiction).
    int cell = -1, digit = 0;
    bool placement = false;
    bool reached = false;
    std::vector<Event> events;
    std::vector<std::string> proofs;
    std::string contradiction;
    int size = 0;  ///< the nodes of the branch, those of its inner proofs included
    // For the step's proof: the step behind each of `proofs` and the branch's state its search
    // ran on (an index into `boards`). A placement whose candidate another step of the same
    // search took adds its step past the end of `proofs`: the branch ends in the clash.
    std::vector<Step> steps;
    std::vector<int> boardOf;
    std::vector<State> boards;
    int clash = -1;  ///< an index into `steps`
    Placement clashAt{};
    int emptyCell = -1, emptyUnit = -1, emptyDigit = 0;  ///< where the contradiction is
};

struct Budget {
    std::size_t left;
    bool out = false;

    bool Spend(std::size_t runs) {
        if (runs >= left) {
            left = 0;
            out = true;
        } else {
            left -= runs;
        }
        return !out;
    }
};

// Follows assumptions on copies of one state, to a contradiction or to where neither the
// singles nor the techniques of its depth find more.
class Brancher {
public:
    Brancher(Depth depth, Budget& budget) : m_depth(depth), m_budget(budget) {}

    /// Follows "c holds d" on `s`; false when it meets a contradiction (or, recorded, once the
    /// record's result is reached: `s` is then left part way).
    bool Follow(State& s, int c, int d, Record* rec) {
        m_rec = rec;
        if (!Place(s, c, d, -1)) return false;
        for (;;) {
            if (Done()) return true;
            if (!Singles(s)) return false;
            if (Done() || !m_budget.Spend(1)) return true;
            int changed = Basic(s);
            for (int k = static_cast<int>(Depth::Chains);
                 !changed && k <= static_cast<int>(m_depth); ++k) {
                changed = Inner(s, static_cast<InnerForcing>(k - 1));
                if (m_budget.out) return true;
            }
            if (changed < 0) return false;
            if (!changed) return true;
        }
    }

private:
    bool Done() const { return m_rec && m_rec->reached; }

    // The record keeps where the branch broke (`cell` without a candidate, or `unit` without a
    // place for `digit`): its proof names the removals there that placements made.
    void Contradiction(const std::string& why, int cell = -1, int unit = -1, int digit = 0) {
        if (m_rec && m_rec->contradiction.empty()) {
            m_rec->contradiction = why;
            m_rec->emptyCell = cell;
            m_rec->emptyUnit = unit;
            m_rec->emptyDigit = digit;
        }
    }

    void Note(const State& s, int c, int d, bool placed, int proof) {
        if (!m_rec || m_rec->reached) return;
        m_rec->events.push_back(
            {static_cast<std::int8_t>(c), static_cast<std::int8_t>(d), placed, proof});
        ++m_rec->size;
        if (m_rec->cell >= 0) {
            const int x = m_rec->cell, e = m_rec->digit;
            m_rec->reached = m_rec->placement ? s.Value(x) == e : !s.Has(x, e) && s.Value(x) != e;
        }
    }

    bool Place(State& s, int c, int d, int proof) {
        if (s.Value(c) == d) return true;
        if (!s.Place(c, d)) {
            Contradiction(CellName(c) + " cannot be " + std::to_string(d));
            return false;
        }
        Note(s, c, d, true, proof);
        return true;
    }

    // Naked and hidden singles until none is left; false on a contradiction: a cell without a
    // candidate, or a digit with no place in a house that does not hold it.
    bool Singles(State& s) {
        for (bool any = true; any;) {
            any = false;
            bool broken = false;
            s.Open().ForEach([&](int c) {
                if (broken) return;
                const Mask m = s.Candidates(c);
                if (!m) {
                    Contradiction(CellName(c) + " has no candidate", c);
                    broken = true;
                } else if (!(m & (m - 1))) {
                    broken = !Place(s, c, std::countr_zero(m) + 1, -1);
                    any = true;
                }
            });
            if (broken) return false;
            for (int u = 0; u < kUnitCount; ++u) {
                for (Mask lone; (lone = s.LoneIn(u)) != 0;) {
                    const int d = std::countr_zero(lone) + 1;
                    const int c = kUnits.cells[u][std::countr_zero(s.PlacesIn(u, d))];
                    if (!Place(s, c, d, -1)) return false;
                    any = true;
                }
            }
        }
        for (int u = 0; u < kUnitCount; ++u) {
            Mask held = 0;
            for (int c : kUnits.cells[u]) {
                held |= s.Value(c) ? DigitBit(s.Value(c)) : Mask{0};
                held |= s.Candidates(c);
            }
            if (held != kAllDigits) {
                const int d = std::countr_zero(static_cast<unsigned>(~held & kAllDigits)) + 1;
                Contradiction(UnitName(u) + " has no place for " + std::to_string(d), -1, u, d);
                return false;
            }
        }
        return true;
    }

    static std::string UnitName(int u) {
        static const char* const kKinds[] = {"row ", "column ", "box "};
        return kKinds[u / 9] + std::to_string(u % 9 + 1);
    }

    // What one search of the branch's state found, carried out: 1 when it changed something,
    // 0 when not, −1 on a contradiction.
    int Apply(State& s, const std::vector<Step>& found, bool inner) {
        int changed = 0;
        int board = -1;  // where the record keeps `s` as the search found `found` on it
        for (const Step& step : found) {
            // A proof is kept once the step changes something the record tells of: a step
            // whose removals an earlier one of the search made, or one after the record's
            // result, would leave a proof that nothing refers to.
            int proof = -1;
            const auto index = [&] {
                if (proof < 0 && m_rec && !m_rec->reached) {
                    proof = static_cast<int>(m_rec->proofs.size());
                    m_rec->proofs.push_back(inner ? step.chain
                                                  : std::string(Info(step.technique).english) +
                                                        " " + CellsName(CellsOf(step)));
                    m_rec->size += NodesIn(m_rec->proofs.back());
                    Keep(s, step, board);
                }
                return proof;
            };
            for (const Placement& p : step.placements) {
                if (s.Value(p.cell) == p.digit) continue;
                if (m_rec && !m_rec->reached && m_rec->clash < 0 && !s.Has(p.cell, p.digit)) {
                    m_rec->clash = proof >= 0 ? proof : Keep(s, step, board);
                    m_rec->clashAt = p;
                }
                if (!Place(s, p.cell, p.digit, s.Has(p.cell, p.digit) ? index() : -1)) return -1;
                changed = 1;
            }
            for (const Elimination& e : step.eliminations) {
                if (!s.Has(e.cell, e.digit)) continue;
                const int k = index();
                s.Eliminate(e.cell, e.digit);
                changed = 1;
                Note(s, e.cell, e.digit, false, k);
            }
        }
        return changed;
    }

    // Keeps a step for the record's proof with the state its search found it on, which the
    // search's other steps share: `s` as it is when the first of them is kept, before any of
    // them has changed it.
    int Keep(const State& s, const Step& step, int& board) {
        if (board < 0) {
            board = static_cast<int>(m_rec->boards.size());
            m_rec->boards.push_back(s);
        }
        m_rec->steps.push_back(step);
        m_rec->boardOf.push_back(board);
        return static_cast<int>(m_rec->steps.size()) - 1;
    }

    static CellSet CellsOf(const Step& step) {
        CellSet cells;
        for (int c : step.cells) cells.Add(c);
        return cells;
    }

    int Basic(State& s) {
        for (Technique t : kBasic) {
            m_found.clear();
            FinderOf(t)(s, Context{}, [&](Step&& step) {
                m_found.push_back(std::move(step));
                return true;
            });
            if (const int changed = Apply(s, m_found, false)) return changed;
        }
        return 0;
    }

    int Inner(State& s, InnerForcing kind) {
        m_found.clear();
        // A record takes every step of the search as the unrecorded branch does (see Recorded).
        const std::size_t runs = FindForcingInside(s, kind, m_rec != nullptr, [&](Step&& step) {
            m_found.push_back(std::move(step));
            return true;
        });
        if (!m_budget.Spend(runs)) return 0;
        return Apply(s, m_found, true);
    }

    Depth m_depth;
    Budget& m_budget;
    Record* m_rec = nullptr;
    std::vector<Step> m_found;
};

// Where an unrecorded branch ended: a contradiction, or what it placed and removed.
struct Outcome {
    bool contradiction = false;
    int size = 0;  ///< its placements and removals: which conclusions are simpler
    std::array<CellSet, 9> removed{}, placed{};
};

struct Conclusion {
    int cost;
    bool placement;
    std::int8_t cell, digit;
    int unit;  ///< the premises: a unit's places of `digit`, or −1 for a cell, −2 for one candidate
    std::int8_t of;  ///< the premises' cell (−1, −2) or digit (a unit)
};

class NestedSearch {
public:
    NestedSearch(const State& start, Depth depth, Technique technique, std::size_t budget)
        : m_start(start),
          m_depth(depth),
          m_technique(technique),
          m_budget{budget},
          m_brancher(depth, m_budget) {}

    /// False when the budget ran out before every branch was followed. With `start`, only its
    /// set of assumptions is followed; with `bore`, the sets that bore steps are added to it.
    bool Run(const StepSink& sink, const ForcingStart* start, std::vector<ForcingStart>* bore) {
        m_slot.fill(-1);
        CellSet cells = m_start.Open();
        if (start) cells &= start->unit < 0 ? CellSet::Of(start->cell) : CellSet{};
        const auto wanted = [&](int u, int d) {
            return !start || (start->unit == u && start->digit == d);
        };
        // Every branch is followed before any step is made, so that a search the budget cuts
        // short makes none.
        cells.ForEach([&](int c) {
            for (unsigned m = m_start.Candidates(c); m && !m_budget.out; m &= m - 1)
                Of(c, std::countr_zero(m) + 1);
        });
        for (int u = 0; u < kUnitCount && start; ++u) {
            for (int d = 1; d <= 9; ++d) {
                if (!wanted(u, d)) continue;
                for (unsigned m = m_start.PlacesIn(u, d); m && !m_budget.out; m &= m - 1)
                    Of(kUnits.cells[u][std::countr_zero(m)], d);
            }
        }
        if (m_budget.out) return false;
        std::vector<Conclusion> found;
        cells.ForEach([&](int c) {
            std::array<Placement, 9> options;
            int n = 0;
            for (unsigned m = m_start.Candidates(c); m; m &= m - 1)
                options[n++] = {static_cast<std::int8_t>(c),
                                static_cast<std::int8_t>(std::countr_zero(m) + 1)};
            for (int i = 0; i < n; ++i) {
                const Outcome& o = Of(options[i].cell, options[i].digit);
                if (o.contradiction)
                    found.push_back(
                        {o.size, false, options[i].cell, options[i].digit, -2, options[i].cell});
            }
            Agree({options.data(), options.data() + n}, -1, static_cast<std::int8_t>(c), found);
        });
        for (int u = 0; u < kUnitCount; ++u) {
            for (int d = 1; d <= 9; ++d) {
                if (!wanted(u, d)) continue;
                std::array<Placement, 9> options;
                int n = 0;
                for (unsigned m = m_start.PlacesIn(u, d); m; m &= m - 1)
                    options[n++] = {static_cast<std::int8_t>(kUnits.cells[u][std::countr_zero(m)]),
                                    static_cast<std::int8_t>(d)};
                if (n >= 2)
                    Agree({options.data(), options.data() + n}, u, static_cast<std::int8_t>(d),
                          found);
            }
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const Conclusion& a, const Conclusion& b) { return a.cost < b.cost; });
        State after = m_start;
        bool more = true;
        for (const Conclusion& c : found) {
            if (c.placement ? !after.Place(c.cell, c.digit) : !after.Eliminate(c.cell, c.digit))
                continue;
            if (bore) {
                const ForcingStart set =
                    c.unit >= 0 ? ForcingStart{-1, static_cast<std::int8_t>(c.unit), c.of}
                                : ForcingStart{c.of, -1, 0};
                if (std::find(bore->begin(), bore->end(), set) == bore->end()) bore->push_back(set);
            }
            // A step's text costs its branches followed again with their records: none is
            // made that the sink did not ask for.
            if (more && !sink(MakeStep(c))) {
                if (!bore) return true;
                more = false;
            }
        }
        return true;
    }

private:
    const Outcome& Of(int c, int d) {
        std::int16_t& slot = m_slot[c * 9 + d - 1];
        if (slot < 0) {
            slot = static_cast<std::int16_t>(m_outcomes.size());
            Outcome o;
            State s = m_start;
            o.contradiction = !m_brancher.Follow(s, c, d, nullptr);
            if (!o.contradiction) {
                for (int e = 1; e <= 9; ++e) {
                    m_start.CellsOf(e).ForEach([&](int x) {
                        if (s.Value(x) == e) {
                            o.placed[e - 1].Add(x);
                        } else if (!s.Has(x, e)) {
                            o.removed[e - 1].Add(x);
                        }
                    });
                    o.size += o.placed[e - 1].Count() + o.removed[e - 1].Count();
                }
            } else {
                o.size = static_cast<int>((m_start.Open() & ~s.Open()).Count());
            }
            m_outcomes.push_back(o);
        }
        return m_outcomes[slot];
    }

    // What every branch of `options` agrees on, unless one of them is refuted (its refutation
    // is the simpler step).
    void Agree(std::span<const Placement> options, int unit, std::int8_t of,
               std::vector<Conclusion>& found) {
        if (options.size() < 2) return;
        Outcome common = Of(options[0].cell, options[0].digit);
        if (common.contradiction) return;
        int cost = common.size;
        for (std::size_t i = 1; i < options.size(); ++i) {
            const Outcome& o = Of(options[i].cell, options[i].digit);
            if (o.contradiction) return;
            cost = std::max(cost, o.size);
            CellSet any;
            for (int e = 0; e < 9; ++e) {
                any |= common.removed[e] &= o.removed[e];
                any |= common.placed[e] &= o.placed[e];
            }
            if (any.Empty()) return;
        }
        for (int e = 0; e < 9; ++e) {
            common.placed[e].ForEach([&](int x) {
                found.push_back({cost, true, static_cast<std::int8_t>(x),
                                 static_cast<std::int8_t>(e + 1), unit, of});
            });
            common.removed[e].ForEach([&](int x) {
                found.push_back({cost, false, static_cast<std::int8_t>(x),
                                 static_cast<std::int8_t>(e + 1), unit, of});
            });
        }
    }

    // One branch followed again with its record, to `target` or (none) to its contradiction.
    Record Recorded(Placement a, const Conclusion* target) {
        Record rec;
        if (target) {
            rec.cell = target->cell;
            rec.digit = target->digit;
            rec.placement = target->placement;
        }
        // Text is not bound by the budget: the search it tells of has run within it. A record
        // takes every step of an inner search as the unrecorded branch does, and stops at its
        // result: taking the simplest one alone and going back to the singles told of hardly
        // fewer proofs on the hardest lists, at half as much again of the rating's time.
        Budget unbounded{~std::size_t{0}};
        Brancher brancher(m_depth, unbounded);
        State s = m_start;
        brancher.Follow(s, a.cell, a.digit, &rec);
        return rec;
    }

    Step MakeStep(const Conclusion& c) {
        Step step;
        step.technique = m_technique;
        std::vector<Placement> options;
        if (c.unit == -2) {
            options.push_back({c.cell, c.digit});
        } else if (c.unit == -1) {
            for (unsigned m = m_start.Candidates(c.of); m; m &= m - 1)
                options.push_back({c.of, static_cast<std::int8_t>(std::countr_zero(m) + 1)});
        } else {
            step.units = {static_cast<std::int8_t>(c.unit)};
            for (unsigned m = m_start.PlacesIn(c.unit, c.of); m; m &= m - 1)
                options.push_back(
                    {static_cast<std::int8_t>(kUnits.cells[c.unit][std::countr_zero(m)]), c.of});
        }
        Mask digits = DigitBit(c.digit);
        for (const Placement& a : options) {
            AddPatternCells(step, CellSet::Of(a.cell));
            digits |= DigitBit(a.digit);
        }
        AddPatternCells(step, CellSet::Of(c.cell));
        step.digits = DigitList(digits);
        if (c.placement) {
            step.placements = {{c.cell, c.digit}};
        } else {
            step.eliminations = {{c.cell, c.digit}};
        }
        // A branch a line, its inner proofs indented below it. A proof another branch has
        // shown already keeps its number rather than being written again.
        std::vector<std::string> shown;
        int size = 0;
        auto proof = std::make_shared<Proof>();
        proof->kind = c.unit == -2 ? Proof::Kind::Refuted : Proof::Kind::Common;
        for (const Placement& a : options) {
            const Record rec = Recorded(a, c.unit == -2 ? nullptr : &c);
            if (proof && !AddBranch(*proof, a, rec, c.unit == -2 ? nullptr : &c)) proof.reset();
            std::vector<int> number(rec.proofs.size());
            std::string proofs;
            for (std::size_t k = 0; k < rec.proofs.size(); ++k) {
                const auto at = std::find(shown.begin(), shown.end(), rec.proofs[k]);
                number[k] = static_cast<int>(at - shown.begin()) + 1;
                if (at != shown.end()) continue;
                shown.push_back(rec.proofs[k]);
                proofs += "\n    [" + std::to_string(number[k]) + "] ";
                // An inner proof's own lines go one step further in.
                for (char ch : rec.proofs[k])
                    proofs += ch == '\n' ? std::string("\n        ") : std::string(1, ch);
            }
            if (!step.chain.empty()) step.chain += '\n';
            step.chain += Line(a, rec, number) + proofs;
            size += 1 + rec.size;
        }
        step.nodes = static_cast<std::uint16_t>(std::min(size, 0xffff));
        step.proof = std::move(proof);
        return step;
    }

    // One branch of the step's proof, from its record: the placements by singles, and what the
    // techniques it turned to removed, each removal resting on its technique's proof, to the
    // contradiction or to `target`. False when a fact cannot be traced, a fault of the search.
    bool AddBranch(Proof& proof, Placement a, const Record& rec, const Conclusion* target) const {
        BranchBuilder branch(m_start);
        std::vector<std::vector<Placement>> absent(rec.steps.size());
        std::vector<bool> known(rec.steps.size(), false);
        const auto byInner = [&](int cell, int digit, int k) {
            if (!known[k]) {
                const Step& inner = rec.steps[k];
                if (inner.proof) {
                    absent[k] = NeededAbsent(*inner.proof);
                } else if (!PatternNeeds(inner, absent[k])) {
                    return false;
                }
                known[k] = true;
            }
            return branch.ByInner(cell, digit, k, absent[k]) >= 0;
        };
        // What an inner proof places, its cell's other candidates taken by it: a removal is
        // the one thing a fact may rest on an inner proof for.
        const auto placedBy = [&](int cell, int digit, int k) {
            for (int e = 1; e <= 9; ++e) {
                if (e != digit && m_start.Has(cell, e) && branch.Removed(cell, e) < 0 &&
                    !byInner(cell, e, k))
                    return false;
            }
            return true;
        };
        if (rec.events.empty() || rec.events[0].cell != a.cell || rec.events[0].digit != a.digit)
            return false;
        branch.Suppose(a.cell, a.digit);
        for (std::size_t i = 1; i < rec.events.size(); ++i) {
            const Event& e = rec.events[i];
            const bool made = e.proof < 0 ? branch.Place(e.cell, e.digit) >= 0
                              : !e.placed ? byInner(e.cell, e.digit, e.proof)
                                          : placedBy(e.cell, e.digit, e.proof) &&
                                                branch.Place(e.cell, e.digit) >= 0;
            if (!made) return false;
        }
        int end = -1;
        if (!target) {
            if (rec.clash >= 0 && !placedBy(rec.clashAt.cell, rec.clashAt.digit, rec.clash))
                return false;
            // The builder finds a contradiction among the facts it holds: the removals there that
            // placements made are named first.
            if (rec.emptyCell >= 0) {
                for (int e = 1; e <= 9; ++e) branch.Removed(rec.emptyCell, e);
            } else if (rec.emptyUnit >= 0) {
                (m_start.CellsOf(rec.emptyDigit) & kUnits.set[rec.emptyUnit]).ForEach([&](int x) {
                    branch.Removed(x, rec.emptyDigit);
                });
            }
            end = branch.Contradiction();
        } else {
            end = target->placement ? branch.TrueAt(target->cell, target->digit)
                                    : branch.Removed(target->cell, target->digit);
        }
        if (end < 0) return false;
        proof.branches.push_back(branch.Finish(end));
        for (ProofFact& f : proof.branches.back().facts) {
            if (f.because == Because::Inner)
                f.inner = static_cast<std::int16_t>(InnerOf(proof, rec, f.inner));
        }
        return true;
    }

    // The index in `proof` of the record's k-th step. A step another branch has shown keeps its
    // number: a basic technique's of the same pattern, whose removals are merged (its words read
    // no board), or a forcing step with the same proof (its facts then read the same
    // candidates on either board).
    static int InnerOf(Proof& proof, const Record& rec, int k) {
        const Step& step = rec.steps[k];
        for (std::size_t i = 0; i < proof.innerSteps.size(); ++i) {
            Step& shown = proof.innerSteps[i];
            if (shown.technique != step.technique || shown.cells != step.cells ||
                shown.units != step.units || shown.digits != step.digits ||
                shown.chain != step.chain)
                continue;
            if (!step.proof) {
                for (const Elimination& e : step.eliminations) {
                    if (std::find(shown.eliminations.begin(), shown.eliminations.end(), e) ==
                        shown.eliminations.end())
                        shown.eliminations.push_back(e);
                }
                return static_cast<int>(i);
            }
            const Proof& a = proof.inners[i];
            const Proof& b = *step.proof;
            if (shown.placements == step.placements && shown.eliminations == step.eliminations &&
                a.kind == b.kind && a.branches == b.branches)
                return static_cast<int>(i);
        }
        proof.innerSteps.push_back(step);
        proof.innerBoards.push_back(rec.boards[rec.boardOf[k]]);
        proof.inners.push_back(step.proof ? *step.proof : Proof{});
        return static_cast<int>(proof.inners.size()) - 1;
    }

    // The candidates a basic technique's pattern needs absent from the board it was found on:
    // the digit's other places in a locked set's or a fish's base units, a naked subset's other
    // digits in its cells, a hidden subset's digits elsewhere in its unit.
    static bool PatternNeeds(const Step& step, std::vector<Placement>& out) {
        const auto add = [&](CellSet cells, int d) {
            cells.ForEach([&](int x) {
                out.push_back({static_cast<std::int8_t>(x), static_cast<std::int8_t>(d)});
            });
        };
        CellSet pattern;
        for (int x : step.cells) pattern.Add(x);
        Mask digits = 0;
        for (int d : step.digits) digits |= DigitBit(d);
        const auto& units = step.units;
        switch (RowOf(step.technique).wording) {
            case Wording::LockedCandidates:
                add(kUnits.set[units[0]] & ~kUnits.set[units[1]], step.digits[0]);
                return true;
            case Wording::NakedSubset:
                for (int d = 1; d <= 9; ++d) {
                    if (!(digits & DigitBit(d))) add(pattern, d);
                }
                return true;
            case Wording::HiddenSubset:
                for (int d : step.digits) add(kUnits.set[units[0]] & ~pattern, d);
                return true;
            case Wording::Fish: {
                const std::size_t n = units.size() / 2;
                CellSet cover;
                for (std::size_t i = n; i < units.size(); ++i) cover |= kUnits.set[units[i]];
                for (std::size_t i = 0; i < n; ++i)
                    add(kUnits.set[units[i]] & ~cover, step.digits[0]);
                return true;
            }
            default:
                return false;
        }
    }

    // "(5)r1c2 => r3c4=7 => r4c5<>38, r4c6<>3 [1] => … => r7c7 has no candidate": the branch's
    // placements and the removals its techniques made, those of one proof together, by cell.
    static std::string Line(Placement a, const Record& rec, const std::vector<int>& number) {
        std::string text = NodeName(DigitBit(a.digit), CellSet::Of(a.cell));
        const std::vector<Event>& events = rec.events;
        for (std::size_t k = 0; k < events.size();) {
            const Event& e = events[k];
            if (e.proof < 0 && e.cell == a.cell && e.digit == a.digit && e.placed) {
                ++k;
                continue;
            }
            text += " => " + CellName(e.cell) + (e.placed ? "=" : "<>") + std::to_string(e.digit);
            std::size_t end = k + 1;
            if (!e.placed && e.proof >= 0) {
                // The removals of one proof, in the order of their cells' first removal.
                while (end < events.size() && !events[end].placed && events[end].proof == e.proof)
                    ++end;
                std::vector<std::int8_t> cells{e.cell};
                for (std::size_t m = k + 1; m < end; ++m) {
                    if (std::find(cells.begin(), cells.end(), events[m].cell) == cells.end())
                        cells.push_back(events[m].cell);
                }
                for (std::size_t n = 0; n < cells.size(); ++n) {
                    if (n > 0) text += ", " + CellName(cells[n]) + "<>";
                    for (std::size_t m = k + (n == 0 ? 1 : 0); m < end; ++m) {
                        if (events[m].cell == cells[n]) text += std::to_string(events[m].digit);
                    }
                }
            }
            if (e.proof >= 0) text += " [" + std::to_string(number[e.proof]) + "]";
            k = end;
        }
        if (!rec.contradiction.empty()) text += " => " + rec.contradiction;
        return text;
    }

    const State& m_start;
    Depth m_depth;
    Technique m_technique;
    Budget m_budget;
    Brancher m_brancher;
    std::array<std::int16_t, 729> m_slot{};
    std::vector<Outcome> m_outcomes;
};

void FindNested(const State& state, const Context& context, const StepSink& sink, Depth depth,
                Technique technique) {
    if (state.Solved()) return;
    NestedSearch search(state, depth, technique, context.budget);
    if (search.Run(sink, context.start, context.bore) || depth != Depth::Dynamic ||
        !context.solution)
        return;
    // The budget ran out: the last resort says so, rather than pass for a board that needs it.
    FindGuess(state, context, [&](Step&& step) {
        step.chain = "budget";
        return sink(std::move(step));
    });
}

}  // namespace

int NodesIn(const std::string& chain) {
    int nodes = 1;
    for (char ch : chain) nodes += ch == '=' || ch == '-' || ch == ';';
    return nodes;
}

void FindForcingChainPlus(const State& state, const Context& context, const StepSink& sink) {
    FindNested(state, context, sink, Depth::Basic, Technique::ForcingChainPlus);
}

void FindNestedForcingChain(const State& state, const Context& context, const StepSink& sink) {
    FindNested(state, context, sink, Depth::Chains, Technique::NestedForcingChain);
}

void FindNestedMultipleChain(const State& state, const Context& context, const StepSink& sink) {
    FindNested(state, context, sink, Depth::Multiple, Technique::NestedMultipleChain);
}

void FindNestedDynamicChain(const State& state, const Context& context, const StepSink& sink) {
    FindNested(state, context, sink, Depth::Dynamic, Technique::NestedDynamicChain);
}

}  // namespace kz::logic
