// SPDX-License-Identifier: MIT
#include "logic/state.h"

#include <array>

namespace kz::logic {

std::optional<State> State::FromDigits(const Digits& digits) {
    State s;
    s.m_open = ~CellSet{};
    s.m_cand.fill(kAllDigits);
    for (auto& set : s.m_digit) set = ~CellSet{};
    for (auto& unit : s.m_places) unit.fill(kAllDigits);
    s.m_openCount.fill(9);
    for (int c = 0; c < 81; ++c) {
        const int d = digits[c];
        if (d > 9) return std::nullopt;
        if (d != 0 && !s.Place(c, d)) return std::nullopt;
    }
    return s;
}

namespace {

// Each cell's three units and its bit among each unit's nine cells, side by side.
struct CellUnits {
    std::array<std::uint8_t, 3> unit;
    std::array<Mask, 3> bit;
};

constexpr std::array<CellUnits, 81> MakeCellUnits() {
    std::array<CellUnits, 81> t{};
    for (int c = 0; c < 81; ++c) {
        for (int k = 0; k < 3; ++k) {
            t[c].unit[k] = kUnits.unitsOf[c][k];
            t[c].bit[k] = static_cast<Mask>(1u << kUnits.indexIn[c][k]);
        }
    }
    return t;
}

constexpr std::array<CellUnits, 81> kCellUnits = MakeCellUnits();

}  // namespace

void State::DropPlace(int c, int d) {
    const CellUnits& at = kCellUnits[c];
    const auto digit = static_cast<unsigned>(1u << (d - 1));
    for (int k = 0; k < 3; ++k) {
        const int u = at.unit[k];
        const unsigned left = m_places[u][d - 1] &= static_cast<Mask>(~at.bit[k]);
        const bool lone = left && !(left & (left - 1));
        m_lone[u] = static_cast<Mask>((m_lone[u] & ~digit) | (lone ? digit : 0u));
    }
}

bool State::Place(int c, int d) {
    if (!Has(c, d)) return false;
    m_value[c] = static_cast<std::uint8_t>(d);
    for (int k = 0; k < 9; ++k) {
        if ((m_cand[c] >> k) & 1) {
            m_digit[k].Remove(c);
            DropPlace(c, k + 1);
        }
    }
    m_cand[c] = 0;
    m_open.Remove(c);
    for (int u : kUnits.unitsOf[c]) --m_openCount[u];
    const Mask bit = static_cast<Mask>(1u << (d - 1));
    (m_digit[d - 1] & kUnits.peers[c]).ForEach([&](int p) {
        m_cand[p] &= static_cast<Mask>(~bit);
        DropPlace(p, d);
    });
    m_digit[d - 1] &= ~kUnits.peers[c];
    return true;
}

bool State::Eliminate(int c, int d) {
    if (!Has(c, d)) return false;
    m_cand[c] &= static_cast<Mask>(~(1u << (d - 1)));
    m_digit[d - 1].Remove(c);
    DropPlace(c, d);
    return true;
}

bool State::Apply(const Step& step) {
    bool changed = false;
    for (const Placement& p : step.placements) changed |= Place(p.cell, p.digit);
    for (const Elimination& e : step.eliminations) changed |= Eliminate(e.cell, e.digit);
    return changed;
}

}  // namespace kz::logic
