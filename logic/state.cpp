// SPDX-License-Identifier: MIT
#include "logic/state.h"

#include <array>
#include <bit>

namespace kz::logic {

std::optional<State> State::FromDigits(const Digits& digits) {
    // Every cell at once from the digits of its units: placing the givens one by one would take
    // each from its twenty peers and their units' places, over and over, on every board rated.
    std::array<Mask, kUnitCount> used{};
    for (int c = 0; c < 81; ++c) {
        const int d = digits[c];
        if (d > 9) return std::nullopt;
        if (d == 0) continue;
        const auto bit = static_cast<Mask>(1u << (d - 1));
        for (int u : kUnits.unitsOf[c]) {
            if (used[u] & bit) return std::nullopt;
            used[u] |= bit;
        }
    }
    State s;
    for (int c = 0; c < 81; ++c) {
        if (digits[c]) {
            s.m_value[c] = digits[c];
            continue;
        }
        const auto& units = kUnits.unitsOf[c];
        const auto cand =
            static_cast<Mask>(kAllDigits & ~(used[units[0]] | used[units[1]] | used[units[2]]));
        s.m_cand[c] = cand;
        s.m_open.Add(c);
        for (int k = 0; k < 3; ++k) {
            ++s.m_openCount[units[k]];
            const auto at = static_cast<Mask>(1u << kUnits.indexIn[c][k]);
            for (unsigned m = cand; m; m &= m - 1) s.m_places[units[k]][std::countr_zero(m)] |= at;
        }
        for (unsigned m = cand; m; m &= m - 1) s.m_digit[std::countr_zero(m)].Add(c);
    }
    for (int u = 0; u < kUnitCount; ++u) {
        for (int d = 0; d < 9; ++d) {
            if (kNineBitCount[s.m_places[u][d]] == 1) s.m_lone[u] |= static_cast<Mask>(1u << d);
        }
    }
    return s;
}

void State::DropPlaceIn(int c, int k, int d) {
    const int u = kUnits.unitsOf[c][k];
    const auto digit = static_cast<unsigned>(1u << (d - 1));
    const unsigned left = m_places[u][d - 1] &= static_cast<Mask>(~(1u << kUnits.indexIn[c][k]));
    const bool lone = left && !(left & (left - 1));
    m_lone[u] = static_cast<Mask>((m_lone[u] & ~digit) | (lone ? digit : 0u));
}

void State::DropPlace(int c, int d) {
    for (int k = 0; k < 3; ++k) DropPlaceIn(c, k, d);
}

bool State::Place(int c, int d) {
    if (!Has(c, d)) return false;
    m_value[c] = static_cast<std::uint8_t>(d);
    for (unsigned rest = m_cand[c] & ~(1u << (d - 1)); rest; rest &= rest - 1) {
        const int k = std::countr_zero(rest);
        m_digit[k].Remove(c);
        DropPlace(c, k + 1);
    }
    m_digit[d - 1].Remove(c);
    m_cand[c] = 0;
    m_open.Remove(c);
    const auto& home = kUnits.unitsOf[c];
    for (int u : home) --m_openCount[u];
    const Mask bit = static_cast<Mask>(1u << (d - 1));
    // A peer leaves c's own units without d at all, which is set once below; only its other
    // units lose a place one by one.
    (m_digit[d - 1] & kUnits.peers[c]).ForEach([&](int p) {
        m_cand[p] &= static_cast<Mask>(~bit);
        for (int k = 0; k < 3; ++k) {
            if (kUnits.unitsOf[p][k] != home[k]) DropPlaceIn(p, k, d);
        }
    });
    m_digit[d - 1] &= ~kUnits.peers[c];
    for (int u : home) {
        m_places[u][d - 1] = 0;
        m_lone[u] &= static_cast<Mask>(~bit);
    }
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
