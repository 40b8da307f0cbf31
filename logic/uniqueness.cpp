// SPDX-License-Identifier: MIT
// Placeholder until the finders land: finds nothing.
#include "logic/finders.h"

namespace kz::logic {

void FindUniqueRectangle1(const State&, const Context&, const StepSink&) {}
void FindBugPlusOne(const State&, const Context&, const StepSink&) {}

}  // namespace kz::logic
