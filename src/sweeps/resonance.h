// The resonance search: the band stepped through, one line per frequency
// with the impedance and SWR, "  Resonance" where the reactance is small.
#pragma once

#include <functional>
#include <string>

#include "model/context.h"
#include "platform/outcome.h"

namespace qw {

struct ResonancePoint {
    float frequency = 0;
    float R = 0, X = 0;
    float swr = 0;          // -1 infinite, -2 undefined
    bool resonance = false; // |X| < 10 ohms and R not 0
    std::string line;       // the line written to the report box and the log
};

// The scan over a band, from lower to upper inclusive (accumulated in
// single precision). Each line goes to the report box and, when the log is
// open, to the log, and is handed to onPoint. The project's frequency is
// restored afterwards. Fails without sources, on a refused band or a point
// that fails; Stopped on a stop request.
Result ResonanceScan(Context& ctx, float lower, float upper, float step,
                     const std::function<void(const ResonancePoint&)>& onPoint = {});

}  // namespace qw
