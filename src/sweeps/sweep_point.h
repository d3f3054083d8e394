// One point of a frequency sweep: the whole solution at one frequency.
#pragma once

#include "model/context.h"
#include "platform/outcome.h"

namespace qw {

// The results of one sweep point that the plots and tables use.
struct PointImpedance {
    float R = 0, X = 0;  // input impedance of the last source, ohms
    float Pin = 0;       // total input power, watts
};

// Sets the frequency, the frequency constants and the loads, prepares the
// sources again when a current source is present, and solves in batch mode
// (no report): the solution's outcome.
Result EvaluatePoint(Context& ctx, float frequency, PointImpedance& result);

// Puts the project back at its own frequency after a sweep (finished or
// stopped): the frequency, its constants and the loads; the matrix must be
// filled again.
void RestoreFrequency(Context& ctx, float frequency);

// Checks a band before a loop runs over it: a step of 0 or less, or one
// too small to move the frequency in single precision, and (when
// lowerMustBePositive) a lower limit of 0 or less fail with a "Frequency
// Range" message naming the problem.
Result CheckSweepBand(float lower, float bound, float step, bool lowerMustBePositive);

// The message of a point whose input power is 0 or less: no gain there.
inline Message NoPowerMessage() { return FaultMessage("Power is Zero"); }

// The inclusive bound test of the frequency loops: F accumulates in single
// precision, so a bound that is a whole number of steps away is met within
// a thousandth of the step.
inline bool WithinBound(float f, float bound, float step) {
    return f <= bound + (step < 0 ? -step : step) * 1e-3f;
}

}  // namespace qw
