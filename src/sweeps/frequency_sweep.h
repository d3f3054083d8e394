// The frequency sweeps behind the impedance, SWR, gain and front-to-back
// plots: each point is solved and handed to a callback, which draws it.
#pragma once

#include <functional>
#include <string>

#include "model/context.h"
#include "sweeps/sweep_point.h"

namespace qw {

enum class SweepKind { Impedance = 0, Swr = 1, Gain = 2, FrontToBack = 3 };

// The axes of the impedance plot, ohms.
struct ImpedanceLimits {
    int RMin = 0, RMax = 2000, XMin = -2000, XMax = 2000;
};

struct SweepSettings {
    SweepKind kind = SweepKind::Impedance;
    SweepRange range;
    float swrLimit = 5;                // top of the SWR axis
    ImpedanceLimits limits;            // impedance plot
    PatternDirection direction;        // gain and F/B: elevation, azimuth setting
};

struct SweepSample {
    float frequency = 0;
    PointImpedance z;
    float swr = 0;           // -1 infinite, -2 undefined
    bool hasGain = false;    // false at a "Power is Zero" point (gain 0)
    float gain = 0;          // dB
    float frontToBack = 0;   // dB; a "Power is Zero" point keeps the previous value
    bool drawn = false;      // the plot draws this point
    std::string label;       // impedance plot: the point's label
    std::string readout;     // the read-out line of the window
    std::optional<Message> note;  // "Power is Zero" at a point without gain: for the caller to show
};

using SweepCallback = std::function<void(const SweepSample&)>;

// Cleans the band and limits as the plot does (the settings are updated:
// the window draws its axes from them), then runs the loop of the kind,
// restoring the project's frequency afterwards, finished or stopped. Fails
// when the project has no sources, the band is refused or a point fails;
// Stopped on a stop request.
Result RunFrequencySweep(Context& ctx, SweepSettings& settings, const SweepCallback& onPoint);

}  // namespace qw
