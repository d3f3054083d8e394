// The real ground's reflection coefficients, with and without a radial
// screen and for both boundaries, against a computation of the same plane-
// wave reflection in double precision with the standard library's complex
// numbers; and the limit of a dense radial screen, which is the perfect
// ground's image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "fields/far_field.h"
#include "fields/ground_reflection.h"

namespace qw {
namespace {

using cd = std::complex<double>;

struct Ground {
    double er = 13, sigma = 0.005, f = 14.2;  // dielectric, S/m, MHz
    int radials = 0;
    double length = 0;  // metres
    bool circular = true;
};

// Rv and Rd from the reflection point's distance (circular boundary) or x
// (linear), the screen of NR radials of length L in parallel with the
// ground, and the Fresnel-type coefficients of the normalised impedance.
std::pair<cd, cd> Reference(const Ground& g, double x, double y, double z, double theta, double phi) {
    const double pi = std::acos(-1.0), k = 2 * pi * g.f / 299.8;
    cd zg = 1.0 / std::sqrt(cd(g.er, -g.sigma / (2 * pi * g.f * 8.85e-6)));
    const double d = z * std::tan(theta);
    const double rho = g.circular ? std::hypot(x + d * std::cos(phi), y + d * std::sin(phi)) : x + d * std::cos(phi);
    if (g.radials > 0) {
        const double screen = g.radials * g.length, r1 = rho + screen;
        const cd jxs(0, k * r1 * std::log(r1 / screen) / g.radials);
        zg = zg * jxs / (zg + jxs);
    }
    const double s = std::sin(theta), c = std::cos(theta);
    const cd w = std::sqrt(1.0 - zg * zg * s * s);
    const cd rv = (c - zg * w) / (c + zg * w);
    const cd rd = (w - zg * c) / (w + zg * c) - rv;
    return {rv, rd};
}

Reflection Ours(const Ground& g, float x, float y, float z, float thetaDeg, float phiDeg) {
    FarFieldSetup s;
    s.k = 2 * 3.14159265f / (299.8f / static_cast<float>(g.f));
    s.zg1 = SurfaceImpedance(static_cast<float>(g.er), static_cast<float>(g.sigma), static_cast<float>(g.f));
    s.circularBoundary = g.circular;
    s.radialCount = g.radials;
    s.radialLength = static_cast<float>(g.length);
    s.extent = 1e6f;
    const float rad = 3.14159265f / 180;
    DirectionTrig t;
    t.sinTheta = std::sin(thetaDeg * rad), t.cosTheta = std::cos(thetaDeg * rad);
    t.sinPhi = std::sin(phiDeg * rad), t.cosPhi = std::cos(phiDeg * rad);
    return GroundReflection(s, x, y, z, t);
}

TEST(GroundReflection, RadialScreenAndBoundariesAgreeWithTheDoublePrecisionReference) {
    const double rad = std::acos(-1.0) / 180;
    const Ground cases[] = {
        {},                                    // average ground, no radials
        {13, 0.005, 14.2, 16, 5.0, true},      // a screen of 16 radials, circular boundary
        {4, 0.001, 7.1, 60, 10.0, true},       // bad ground, a dense screen
        {20, 0.03, 28.4, 0, 0, false},         // excellent ground, linear boundary
    };
    const float directions[][2] = {{30, 0}, {60, 45}, {80, 200}, {89, 300}};
    for (const Ground& g : cases) {
        for (const auto& [theta, phi] : directions) {
            const float x = 1.5f, y = -2.0f, z = 10.0f;
            const auto [rv, rd] = Reference(g, x, y, z, theta * rad, phi * rad);
            const Reflection r = Ours(g, x, y, z, theta, phi);
            // Single precision against double: a few parts in a million of
            // the coefficients' size (near grazing incidence a little more).
            const double tol = 2e-5 * (1 + std::abs(rv) + std::abs(rd)) / std::cos(theta * rad);
            const double worst = std::max({std::abs(r.rv.re - rv.real()), std::abs(r.rv.im - rv.imag()),
                                            std::abs(r.rd.re - rd.real()), std::abs(r.rd.im - rd.imag())});
            EXPECT_LT(worst, tol) << g.radials << " radials, theta " << theta << " phi " << phi;
        }
    }
}

TEST(GroundReflection, ADenseLongScreenIsThePerfectGroundAndTheBoundariesMeetOnTheXAxis) {
    // Very many long radials short the ground: the image becomes the
    // perfect one (Rv = 1, Rd = 0), while the bare ground is far from it.
    const Ground bare{4, 0.001, 14.2, 0, 0, true}, screened{4, 0.001, 14.2, 2000, 1000.0, true};
    const Reflection b = Ours(bare, 0, 0, 10, 60, 0), s = Ours(screened, 0, 0, 10, 60, 0);
    EXPECT_GT(std::abs(b.rv.re - 1) + std::abs(b.rv.im), 0.5);
    EXPECT_NEAR(s.rv.re, 1, 0.02);
    EXPECT_NEAR(s.rv.im, 0, 0.02);
    EXPECT_NEAR(std::hypot(s.rd.re, s.rd.im), 0, 0.02);

    // Along +x from a pulse on the x axis the reflection point's distance
    // and its x are the same: both boundaries give the same coefficients;
    // off the axis the circular one sees a larger distance.
    Ground circular{13, 0.005, 14.2, 8, 3.0, true}, linear = circular;
    linear.circular = false;
    const Reflection c0 = Ours(circular, 2, 0, 10, 50, 0), l0 = Ours(linear, 2, 0, 10, 50, 0);
    EXPECT_EQ(c0.rv.re, l0.rv.re);
    EXPECT_EQ(c0.rd.im, l0.rd.im);
    const Reflection c90 = Ours(circular, 2, 0, 10, 50, 90), l90 = Ours(linear, 2, 0, 10, 50, 90);
    EXPECT_NE(c90.rv.re, l90.rv.re);
}

}  // namespace
}  // namespace qw
