#include "fields/magnitude_phase.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qw {
namespace {

struct PhaseCase {
    float re, im;
    float magnitude, phase;
};

TEST(MagnitudePhase, AxesAndNoValue) {
    const PhaseCase cases[] = {
        {0, 0, 0, 0},                 // no value: no phase
        {2, 0, 2, 0},                 // positive real axis
        {0, 3, 3, 90},                // positive imaginary axis (not 0)
        {-4, 0, 4, 180},              // negative real axis (not 0)
        {0, -5, 5, -90},              // negative imaginary axis (not 0)
    };
    for (const auto& c : cases) {
        const MagPhase mp = MagnitudePhase(c.re, c.im);
        EXPECT_FLOAT_EQ(mp.magnitude, c.magnitude) << c.re << " " << c.im;
        EXPECT_NEAR(mp.phase, c.phase, 2e-5f * std::fabs(c.phase) + 1e-6f) << c.re << " " << c.im;
    }
}

TEST(MagnitudePhase, AgreesWithTheAngleEverywhereAroundTheCircle) {
    // The value's angle, in (-180, 180], one degree at a time, at the
    // magnitudes of currents and fields.
    for (float scale : {1e-6f, 1.0f, 1e6f}) {
        for (int degrees = -179; degrees <= 180; ++degrees) {
            const double a = degrees * 3.14159265358979 / 180;
            const float re = static_cast<float>(scale * std::cos(a));
            const float im = static_cast<float>(scale * std::sin(a));
            const MagPhase mp = MagnitudePhase(re, im);
            EXPECT_NEAR(mp.phase, std::atan2(im, re) * 180 / 3.14159265f, 1e-3f) << degrees;
            EXPECT_NEAR(mp.magnitude / scale, 1, 1e-6f) << degrees;
        }
    }
}

}  // namespace
}  // namespace qw
