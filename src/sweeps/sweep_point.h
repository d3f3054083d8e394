// One point of a frequency sweep: the whole solution at one frequency.
#pragma once

#include "model/context.h"

namespace qw {

// The results of one sweep point that the plots and tables use.
struct PointImpedance {
    float R = 0, X = 0;  // input impedance of the last source, ohms
    float Pin = 0;       // total input power, watts
};

// Sets the frequency, the frequency constants and the loads, prepares the
// sources again when a current source is present, and solves in batch mode
// (no report). False when the computation was stopped or failed.
bool EvaluatePoint(Context& ctx, float frequency, PointImpedance& result);

// Puts the project back at its own frequency after a sweep (finished or
// stopped): the frequency, its constants and the loads; the matrix must be
// filled again.
void RestoreFrequency(Context& ctx, float frequency);

// Checks a band before a loop runs over it: a step of 0 or less, or one
// too small to move the frequency in single precision, and (when
// lowerMustBePositive) a lower limit of 0 or less are refused with a
// message naming the problem. False then, with AbortFlag set.
bool CheckSweepBand(Context& ctx, float lower, float bound, float step, bool lowerMustBePositive);

// The inclusive bound test of the frequency loops: F accumulates in single
// precision, so a bound that is a whole number of steps away is met within
// a thousandth of the step.
inline bool WithinBound(float f, float bound, float step) {
    return f <= bound + (step < 0 ? -step : step) * 1e-3f;
}

}  // namespace qw
