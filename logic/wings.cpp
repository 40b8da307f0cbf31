// SPDX-License-Identifier: MIT
// Placeholder until the finders land: finds nothing.
#include "logic/finders.h"

namespace kz::logic {

void FindXYWing(const State&, const Context&, const StepSink&) {}
void FindXYZWing(const State&, const Context&, const StepSink&) {}
void FindWWing(const State&, const Context&, const StepSink&) {}

}  // namespace kz::logic
