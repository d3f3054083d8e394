#include "fields/magnitude_phase.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qw {
namespace {

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
    // Exactly on the axes (no division by a zero real part); no value, no phase.
    EXPECT_NEAR(MagnitudePhase(0, 3).phase, 90, 2e-3);
    EXPECT_NEAR(MagnitudePhase(0, -5).phase, -90, 2e-3);
    EXPECT_NEAR(MagnitudePhase(-4, 0).phase, 180, 4e-3);
    EXPECT_TRUE(MagnitudePhase(0, 0).magnitude == 0 && MagnitudePhase(0, 0).phase == 0);
}

}  // namespace
}  // namespace qw
