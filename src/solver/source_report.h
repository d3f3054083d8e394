// The result block of a source: impedance, SWR, voltage, current, power,
// in the log and in the main window.
#pragma once

#include <string>

#include "model/context.h"

namespace qw {

// SWR of R + jX against the feed-line impedance z0: -1 infinite, -2
// undefined.
float SwrOf(float R, float X, float z0);

// "50.00 +  j 12.50": a as "###0.00", " - " or " + ", " j ", |b| as "###0.00".
std::string ComplexText(float a, float b);

// The SWR as reported: "Infinite", "Undefined" or the value as "Fixed".
std::string SwrText(float swr);

// Writes the result block of source s (from the last solution's results)
// to the log (when open) and to the main window.
void ReportSource(Context& ctx, int s);

}  // namespace qw
