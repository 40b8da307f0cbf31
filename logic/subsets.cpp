// SPDX-License-Identifier: MIT
// Placeholder until the finders land: finds nothing.
#include "logic/finders.h"

namespace kz::logic {

void FindPointing(const State&, const Context&, const StepSink&) {}
void FindClaiming(const State&, const Context&, const StepSink&) {}
void FindNakedPair(const State&, const Context&, const StepSink&) {}
void FindHiddenPair(const State&, const Context&, const StepSink&) {}
void FindNakedTriple(const State&, const Context&, const StepSink&) {}
void FindHiddenTriple(const State&, const Context&, const StepSink&) {}
void FindNakedQuad(const State&, const Context&, const StepSink&) {}
void FindHiddenQuad(const State&, const Context&, const StepSink&) {}

}  // namespace kz::logic
