// SPDX-License-Identifier: MIT
// A step's proof as values, made by the search that found the step. The words in either
// language, the hint's stages, the picture on the grid and the notation all read it; none of
// them reads another's text back.
//
// An alternating chain is its nodes and the links between them, each link with the board fact
// it rests on. A forcing chain, net or nested chain is its branches: each a list of facts in the
// order they follow, every fact naming the earlier facts of its branch it uses, and ending in a
// contradiction or in the result every branch shares. A fact a branch does not need for its end
// is left out.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "logic/cellset.h"
#include "logic/state.h"
#include "logic/step.h"

namespace kz::logic {

/// Why a fact of a branch holds. "The board" is the state the step applies to (for an inner
/// proof, the branch's state where the inner proof is made).
enum class Because : std::uint8_t {
    Supposed,       ///< the branch's supposition
    OnlyCandidate,  ///< true: the cell's other board candidates went by the premises
    OnlyPlace,      ///< true: the digit's other board places in `unit` went by the premises
    SameCell,       ///< false: the premise puts another digit in this cell
    Sees,           ///< false: the premise puts the digit in (one of) cells this cell sees
    Locked,         ///< group: the digit's board places in `unit`, less the premises, lie in it
    Pair,           ///< group: its two cells in `unit`, less the premises, hold only `digit`
                    ///< and `other` between them
    Inner,          ///< false: the inner proof `inner`, made on the board less the premises
    // How a branch ends in a contradiction:
    NoCandidate,  ///< every board candidate of the cell went by the premises
    NoPlace,      ///< every board place of the digit in `unit` went by the premises
    Clash,        ///< the premises make the cell the digit and take the digit from it
};

/// One fact of a branch: the digit is (`isTrue`) or is not in the cell, or, for a group, in
/// one of its cells. An end names its cell, or for NoPlace its unit and digit.
struct ProofFact {
    Because because = Because::Supposed;
    bool isTrue = false;
    std::int8_t digit = 0;
    std::int8_t unit = -1;               ///< the house of OnlyPlace, Locked, Pair and NoPlace
    std::int8_t other = 0;               ///< Pair: the pair's other digit
    std::int16_t inner = -1;             ///< Inner: an index into Proof::inners
    CellSet cells;                       ///< one cell, or a group's cells
    std::vector<std::int16_t> premises;  ///< earlier facts of the branch, by index

    bool IsEnd() const { return because >= Because::NoCandidate; }
    bool IsGroup() const { return !cells.Single(); }
    bool operator==(const ProofFact&) const = default;
};

/// A branch: its first fact is its supposition, its last the contradiction or the result.
struct ProofBranch {
    std::vector<ProofFact> facts;
    bool operator==(const ProofBranch&) const = default;
};

/// A node of an alternating chain: a digit in a cell, or in one of a group's cells.
struct ChainNode {
    std::int8_t digit = 0;
    CellSet cells;
    bool operator==(const ChainNode&) const = default;
};

/// The link from the node before to this one: strong ("at least one is true") or weak ("not
/// both"); it rests on a cell (−1: a cell with only the two digits, or two digits of one cell)
/// or on a house (a house where the digit lies only in the two nodes, or that holds both).
struct ChainLink {
    bool strong = false;
    std::int8_t unit = -1;
    bool operator==(const ChainLink&) const = default;
};

struct Proof {
    enum class Kind : std::uint8_t {
        Chain,    ///< nodes and links: the first or the last node is true
        Refuted,  ///< one branch ending in a contradiction: its supposition is false
        Common,   ///< one branch per candidate of a cell or place of a digit, each ending in the
                  ///< same result, which therefore holds
    };
    Kind kind = Kind::Chain;
    std::vector<ChainNode> nodes;  ///< Chain
    std::vector<ChainLink> links;  ///< Chain: links[k] joins nodes[k] and nodes[k + 1]
    std::vector<ProofBranch> branches;
    /// The inner proofs of a nested chain's facts, each with the step it proves (technique,
    /// pattern, removals) and the branch's board it was made on.
    std::vector<Step> innerSteps;
    std::vector<Proof> inners;
    std::vector<State> innerBoards;
};

/// Builds one branch from its facts in the order a search found them, working out what each
/// fact rests on: the search need only say what it found and, for a removal, the fact that made
/// it. Finish walks back from the end and keeps only the facts the end needs.
class BranchBuilder {
public:
    explicit BranchBuilder(const State& board);

    /// The supposition that `cell` holds `digit` (or, with `isTrue` false, does not).
    int Suppose(int cell, int digit, bool isTrue = true);
    /// `digit` is in `cell`: the last candidate of the cell or the last place in one of its
    /// units, once the removals so far are taken. −1 when neither holds yet.
    int Place(int cell, int digit);
    /// `digit` is not in `cell`, by the true fact or group `cause`. −1 when `cause` does not
    /// take it.
    int Remove(int cell, int digit, int cause);
    /// `digit` is not in `cell`, by a removal or a placement made so far (one is made when
    /// none is recorded); −1 when none takes it.
    int Removed(int cell, int digit);
    /// `digit` is in one of `cells`: a locked group or half a naked pair, −1 when neither.
    int Group(CellSet cells, int digit);
    /// `digit` is not in `cell` by an inner proof, whose board lacks the candidates
    /// `absent` names by (cell, digit): the removals of the branch that took them are its
    /// premises. −1 when the branch took one of them by no fact.
    int ByInner(int cell, int digit, int inner, const std::vector<Placement>& absent);
    /// A contradiction among the facts so far, preferring one that uses `hint`; −1 if none.
    int Contradiction(int hint = -1);

    /// The fact that `cell` holds (isTrue) or lacks `digit` so far, or −1.
    int TrueAt(int cell, int digit) const { return m_true[cell * 9 + digit - 1]; }
    int FalseAt(int cell, int digit) const { return m_false[cell * 9 + digit - 1]; }
    int Size() const { return static_cast<int>(m_facts.size()); }

    /// The facts `end` needs, in order, `end` last, renumbered.
    ProofBranch Finish(int end) const;

private:
    int Add(ProofFact fact);
    // The premises of a candidate the board has that must be gone, or false when one is not.
    bool Gone(int cell, int digit, std::vector<std::int16_t>& premises);
    bool OnBoard(int cell, int digit) const;

    const State& m_board;
    std::vector<ProofFact> m_facts;
    std::vector<std::int16_t> m_true, m_false;  ///< by cell * 9 + digit − 1
};

/// The candidates (cell, digit) a proof needs absent from the board it was made on: those its
/// board facts rest on and its own facts do not remove, each once. An inner proof's premises
/// are the branch's removals of those the outer board still has.
std::vector<Placement> NeededAbsent(const Proof& proof);

}  // namespace kz::logic
