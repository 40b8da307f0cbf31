// SPDX-License-Identifier: MIT
// The candidate state a person works on: placed digits, the candidates of the open cells, and
// the same candidates as nine digit sets so that finders can take either view.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "logic/cellset.h"
#include "logic/step.h"

namespace kz::logic {

/// 81 digits in cell order, 0 for a blank.
using Digits = std::array<std::uint8_t, 81>;

class State {
public:
    /// The state of a board: its digits placed, every open cell with the digits its peers
    /// leave. Nothing when an entry is outside 0..9 or a digit repeats in a unit.
    static std::optional<State> FromDigits(const Digits& digits);

    int Value(int c) const { return m_value[c]; }
    Mask Candidates(int c) const { return m_cand[c]; }
    bool Has(int c, int d) const { return (m_cand[c] >> (d - 1)) & 1; }
    /// The open cells where digit d is still a candidate.
    CellSet CellsOf(int d) const { return m_digit[d - 1]; }
    /// The same places within one unit as nine bits, bit i for the unit's i-th cell
    /// (kUnits.cells[u][i]): the unit-by-unit finders read them as one word.
    Mask PlacesIn(int u, int d) const { return m_places[u][d - 1]; }
    /// The digits with exactly one place in unit u: its hidden singles, and its full house's.
    Mask LoneIn(int u) const { return m_lone[u]; }
    /// How many open cells unit u has.
    int OpenIn(int u) const { return m_openCount[u]; }
    CellSet Open() const { return m_open; }
    bool Solved() const { return m_open.Empty(); }
    const Digits& Values() const { return m_value; }

    /// Places d in open cell c and removes d from c's peers. False (nothing changed) when d is
    /// not a candidate of c.
    bool Place(int c, int d);
    /// Removes candidate d from cell c; false when it was not there.
    bool Eliminate(int c, int d);
    /// Applies a step's placements and eliminations; true when anything changed.
    bool Apply(const Step& step);

private:
    Digits m_value{};
    std::array<Mask, 81> m_cand{};
    std::array<CellSet, 9> m_digit{};
    std::array<std::array<Mask, 9>, kUnitCount> m_places{};
    std::array<Mask, kUnitCount> m_lone{};
    std::array<std::uint8_t, kUnitCount> m_openCount{};
    CellSet m_open;

    void DropPlace(int c, int d);
    /// Cell c leaves the places of d in its k-th unit (row, column, box).
    void DropPlaceIn(int c, int k, int d);
};

}  // namespace kz::logic
