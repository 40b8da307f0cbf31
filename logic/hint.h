// SPDX-License-Identifier: MIT
// The hint: what a player should look at next, given the puzzle, the digits on the board and
// the notes. A hint never builds on a mistake, so wrong digits and true candidates removed
// from the notes come before any step.
#pragma once

#include <string>
#include <vector>

#include "core/board.h"
#include "logic/describe.h"
#include "logic/state.h"
#include "logic/step.h"

namespace kz::logic {

enum class HintKind {
    Unsolvable,  ///< the puzzle has not exactly one solution: see Hint::verifyCode
    Solved,      ///< every cell holds its solution digit
    Wrong,       ///< some digits on the board differ from the solution: Hint::wrong
    Missing,     ///< some cells' notes lack their solution digit: Hint::missing
    Steps,       ///< the next step or steps: Hint::steps
};

/// A cell and a digit, cells 0..80.
struct CellDigit {
    int cell = 0;
    int digit = 0;
    bool operator==(const CellDigit&) const = default;
};

struct Hint {
    HintKind kind = HintKind::Unsolvable;
    int verifyCode = 0;  ///< the puzzle's verification code (core/answer.h)
    Digits solution{};   ///< the puzzle's solution, set unless kind is Unsolvable
    /// The board had a note in some cell without a digit, and the steps work on the notes.
    bool onNotes = false;
    std::vector<int> wrong;          ///< cells whose digit differs from the solution, in order
    std::vector<CellDigit> missing;  ///< cells with notes and the solution digit they lack
    /// With notes, one step: the easiest, in the rating's technique order, that changes the
    /// player's candidates (it may only remove some). Without notes the board cannot show a
    /// removal, so the steps run on to and include the next placement.
    std::vector<Step> steps;
    std::vector<State> states;  ///< the state each step applies to
};

/// The hint for a board. `puzzle` holds the givens and `board` every digit on the board,
/// entries 0..9 in cell order 0..80; a cell the board leaves blank is blank, a given too.
/// `notes` are the player's notes as the window keeps them, entry n (1..81) for cell n - 1;
/// notes of a cell holding a digit are not read.
///
/// The player's candidates: a cell with notes has its notes (less those a digit in its row,
/// column or box rules out), a cell without notes every digit its row, column and box allow.
Hint FindHint(const Digits& puzzle, const Digits& board, const NoteArray& notes);

/// Where the first look of a hint goes: the houses (units 0..26, rows, columns, then boxes)
/// that hold the step's pattern, or else the one digit it is about; neither for the steps
/// that no house or digit sums up (long chains, nets and the last resort).
struct Focus {
    std::vector<int> units;
    int digit = 0;  ///< 1..9 when the step is named by its digit instead of a house
    /// The cell the step settles (0..80), where no house sums it up: the place to look from.
    int cell = -1;
};

Focus FocusOf(const Step& step);

/// The first stage of a hint: the technique and where to look, without giving the step away,
/// e.g. "ブロック1にヒドゥンシングルがあります" or "There is a Hidden Single in box 1".
std::string DescribeFocus(const Step& step, Lang lang);

/// What a step written in chain notation proves, in plain words, for a reader who does not
/// know the notation; empty for the steps whose sentence says it already.
std::string ChainInWords(const Step& step, Lang lang);

/// A chain step link by link, as a player checks it on `board`, the state the step applies
/// to: why each link holds there (for a forcing chain's fact that needs earlier removals
/// besides its own link, which node of the branch made each), then the contradiction or the
/// common result it reaches. One sentence an entry; empty for steps without chain notation.
std::vector<std::string> ChainLinks(const Step& step, const State& board, Lang lang);

/// The cells a step's chain notation passes through, each once in the order first named;
/// empty for steps without one.
std::vector<int> ChainCells(const Step& step);

}  // namespace kz::logic
