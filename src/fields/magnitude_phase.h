// Magnitude and phase of a complex value, as every report prints them.
#pragma once

namespace qw {

struct MagPhase {
    float magnitude = 0;  // sqrt(re^2 + im^2), 0 when both are 0
    float phase = 0;      // degrees, -180 < phase <= 180
};

// The phase is atan(im/re) in degrees, plus 180 sign(im) when re < 0; on
// the axes it follows the angle of the value: +-90 degrees when re = 0
// (0 when the value is 0) and 180 when re < 0 and im = 0.
MagPhase MagnitudePhase(float re, float im);

}  // namespace qw
