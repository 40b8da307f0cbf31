// SPDX-License-Identifier: MIT
// Placeholder until the finders land: finds nothing.
#include "logic/finders.h"

namespace kz::logic {

void FindAlsXz(const State&, const Context&, const StepSink&) {}

}  // namespace kz::logic
