// SPDX-License-Identifier: MIT
// One finder per technique. A finder is a pure function of the candidate state: it reports
// every instance of its technique that changes something, to a sink that may stop it early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "logic/state.h"
#include "logic/step.h"

namespace kz::logic {

/// A set of assumptions a forcing search starts from: the candidates of `cell` when `unit` is
/// −1, else the places of `digit` in `unit`.
struct ForcingStart {
    std::int8_t cell = -1;
    std::int8_t unit = -1;
    std::int8_t digit = 0;
    bool operator==(const ForcingStart&) const = default;
};

/// A nested search's default budget: about five seconds' work on this kind of machine, some
/// five times what the searches of the public hardest lists take.
inline constexpr std::size_t kNestedBudget = 1'000'000;

/// What a finder may know besides the candidates.
struct Context {
    /// The board's one solution, when it is known to have exactly one: enables the techniques
    /// that rest on uniqueness and the final guess. Null otherwise.
    const Digits* solution = nullptr;
    /// Where to look, for the finders whose every instance rests on one digit's places
    /// (locked candidates, fish, X-chains and the other single-digit patterns) or on the cells
    /// of one unit (naked and hidden subsets): the digits whose places and the units whose
    /// cells changed since the finder last found nothing. Candidates only go, so elsewhere it
    /// would meet the very patterns it met then, none of which changed anything.
    Mask digits = kAllDigits;
    std::uint32_t units = (std::uint32_t{1} << kUnitCount) - 1;
    /// The cells whose candidates changed, for the finders of patterns of a few cells (the
    /// wings): one whose cells all hold what they held then removed nothing then and removes
    /// no more now.
    CellSet cells = ~CellSet{};
    /// For the forcing searches: only this set of assumptions, when set. The path tries again
    /// the sets that bore steps on an earlier state before it searches every set anew.
    const ForcingStart* start = nullptr;
    /// For the forcing searches, when set: receives the sets that bore the steps found, in the
    /// order of their first step, whether or not the sink takes those steps.
    std::vector<ForcingStart>* bore = nullptr;
    /// The branches one nested chain search may follow, its own and those of the searches
    /// inside them, before it gives up; a board it gives up on ends in a guess that says so.
    std::size_t budget = kNestedBudget;

    bool Digit(int d) const { return (digits >> (d - 1)) & 1; }
    bool Unit(int u) const { return (units >> u) & 1; }
};

/// Receives each step found; returns false to stop the finder.
using StepSink = std::function<bool(Step&&)>;

using Finder = void (*)(const State&, const Context&, const StepSink&);

/// How a step is put in words: the explanation has one sentence per kind, and techniques that
/// share a kind share its sentence.
enum class Wording : std::uint8_t {
    FullHouse,
    HiddenSingle,
    NakedSingle,
    LockedCandidates,
    NakedSubset,
    HiddenSubset,
    Fish,
    TwoStrongLinks,  ///< skyscraper, 2-string kite
    Wing,            ///< XY-, XYZ-, WXYZ- and VWXYZ-wings
    WWing,
    Colouring,
    UniqueRectangle,
    Bug,
    Notation,  ///< chains, sets and nets: their notation says it
    /// nested chains: what they prove, then their branches a line each and the inner proofs
    Branches,
    Guess,
};

/// A row of the technique table: all the solver knows of a technique, in one place.
struct TechniqueRow {
    TechniqueInfo info;
    Finder finder;
    /// The finder looks only at Context::digits and Context::units.
    bool looksWhereChanged;
    /// The finder honours Context::start and Context::bore.
    bool narrowable;
    Wording wording;
};

const TechniqueRow& RowOf(Technique t);

/// The finder of a technique (every technique has one).
inline Finder FinderOf(Technique t) {
    return RowOf(t).finder;
}

inline bool LooksWhereChanged(Technique t) {
    return RowOf(t).looksWhereChanged;
}

inline bool Narrowable(Technique t) {
    return RowOf(t).narrowable;
}

// Singles (singles.cpp)
void FindFullHouse(const State&, const Context&, const StepSink&);
void FindHiddenSingle(const State&, const Context&, const StepSink&);
void FindNakedSingle(const State&, const Context&, const StepSink&);
// Locked candidates and subsets (subsets.cpp)
void FindPointing(const State&, const Context&, const StepSink&);
void FindClaiming(const State&, const Context&, const StepSink&);
void FindNakedPair(const State&, const Context&, const StepSink&);
void FindHiddenPair(const State&, const Context&, const StepSink&);
void FindNakedTriple(const State&, const Context&, const StepSink&);
void FindHiddenTriple(const State&, const Context&, const StepSink&);
void FindNakedQuad(const State&, const Context&, const StepSink&);
void FindHiddenQuad(const State&, const Context&, const StepSink&);
// Fish and single-digit patterns (fish.cpp)
void FindXWing(const State&, const Context&, const StepSink&);
void FindSwordfish(const State&, const Context&, const StepSink&);
void FindJellyfish(const State&, const Context&, const StepSink&);
void FindSkyscraper(const State&, const Context&, const StepSink&);
void FindTwoStringKite(const State&, const Context&, const StepSink&);
void FindSimpleColouring(const State&, const Context&, const StepSink&);
// Wings (wings.cpp)
void FindXYWing(const State&, const Context&, const StepSink&);
void FindXYZWing(const State&, const Context&, const StepSink&);
void FindWWing(const State&, const Context&, const StepSink&);
void FindWXYZWing(const State&, const Context&, const StepSink&);
void FindVWXYZWing(const State&, const Context&, const StepSink&);
// Uniqueness (uniqueness.cpp)
void FindUniqueRectangle1(const State&, const Context&, const StepSink&);
void FindBugPlusOne(const State&, const Context&, const StepSink&);
// Chains (chains.cpp)
void FindXChain(const State&, const Context&, const StepSink&);
void FindXYChain(const State&, const Context&, const StepSink&);
void FindAic(const State&, const Context&, const StepSink&);
// Almost locked sets (als.cpp)
void FindAlsXz(const State&, const Context&, const StepSink&);
// Forcing and the last resort (forcing.cpp)
void FindForcingChain(const State&, const Context&, const StepSink&);
void FindForcingNet(const State&, const Context&, const StepSink&);
void FindGuess(const State&, const Context&, const StepSink&);
// Nested forcing chains (nested.cpp)
void FindForcingChainPlus(const State&, const Context&, const StepSink&);
void FindNestedForcingChain(const State&, const Context&, const StepSink&);
void FindNestedMultipleChain(const State&, const Context&, const StepSink&);
void FindNestedDynamicChain(const State&, const Context&, const StepSink&);

}  // namespace kz::logic
