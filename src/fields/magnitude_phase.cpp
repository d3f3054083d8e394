#include "fields/magnitude_phase.h"

#include <cmath>

#include "platform/numeric_constants.h"

namespace qw {

MagPhase MagnitudePhase(float re, float im) {
    MagPhase r;
    r.magnitude = (re == 0 && im == 0) ? 0.0f : std::sqrt(re * re + im * im);
    if (re == 0) {
        r.phase = im > 0 ? 90.0f : (im < 0 ? -90.0f : 0.0f);
    } else {
        r.phase = std::atan(im / re) * 180.0f / kPi;
        if (re < 0) r.phase = r.phase + (im < 0 ? -180.0f : 180.0f);
    }
    return r;
}

}  // namespace qw
