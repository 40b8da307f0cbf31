// SPDX-License-Identifier: MIT
// Placeholder until the finders land: finds nothing.
#include "logic/finders.h"

namespace kz::logic {

void FindXChain(const State&, const Context&, const StepSink&) {}
void FindXYChain(const State&, const Context&, const StepSink&) {}
void FindAic(const State&, const Context&, const StepSink&) {}

}  // namespace kz::logic
