// The checks every computing command runs first: limits enforced, what is
// missing asked for, stale pulses rebuilt. Results in AbortFlag.
#pragma once

#include "model/context.h"
#include "platform/host.h"

namespace qw {

// Stops at the first failure with AbortFlag set; the caller computes only
// when it is clear (and there are sources).
void CheckProject(Context& ctx);

// A frequency of 0.1 MHz or less: "Frequency is Zero or too low", AbortFlag.
void CheckFrequency(Context& ctx);

// The frequency dialog; unless cancelled, the frequency constants and the
// load table follow the new frequency.
void AskFrequency(Context& ctx);

// Builds the pulses again, then the source and load tables; a failure is
// shown and sets AbortFlag.
void RebuildPulses(Context& ctx);

// The question asked before computing an antenna at height 0 over ground.
MessageAnswer ZeroHeightWarning(Context& ctx);

}  // namespace qw
