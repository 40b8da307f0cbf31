// SPDX-License-Identifier: MIT
// The forcing searches as a nested chain runs them inside one of its branches.
#pragma once

#include <cstddef>
#include <string>

#include "logic/finders.h"
#include "logic/state.h"

namespace kz::logic {

/// How far a search inside a branch goes, each kind taking in the ones before it.
enum class InnerForcing {
    Contradiction,  ///< a candidate whose singles meet a contradiction
    Multiple,       ///< also what every candidate of a cell or place of a digit leads to
    Dynamic,        ///< the same with locked candidates and naked pairs inside the branches
};

/// Reports every step the search finds on `state` (without the chains behind them unless
/// `text`) and returns the branches it followed, the measure of what it cost.
std::size_t FindForcingInside(const State& state, InnerForcing kind, bool text,
                              const StepSink& sink);

/// The nodes of a chain in Eureka notation: one more than its links, for each of its branches.
int NodesIn(const std::string& chain);

}  // namespace kz::logic
