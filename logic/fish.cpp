// SPDX-License-Identifier: MIT
// Placeholder until the finders land: finds nothing.
#include "logic/finders.h"

namespace kz::logic {

void FindXWing(const State&, const Context&, const StepSink&) {}
void FindSwordfish(const State&, const Context&, const StepSink&) {}
void FindJellyfish(const State&, const Context&, const StepSink&) {}
void FindSkyscraper(const State&, const Context&, const StepSink&) {}
void FindTwoStringKite(const State&, const Context&, const StepSink&) {}
void FindSimpleColouring(const State&, const Context&, const StepSink&) {}

}  // namespace kz::logic
