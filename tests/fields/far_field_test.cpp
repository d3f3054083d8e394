// The far field of one direction against independent values: analytic
// limits of thin dipoles and monopoles, the power balance over the sphere,
// image theory over perfect ground, and the Fresnel coefficients of real
// ground computed in double precision.
#include "fields/far_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "fields/gain_unit.h"
#include "fields/ground_reflection.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using test::SolvedAntenna;
using cd = std::complex<double>;

constexpr double kPi = 3.14159265358979323846;

cd ToComplex(ComplexF v) { return {v.re, v.im}; }

FarFieldSetup Prepared(SolvedAntenna& a, bool resultsInDb = true) {
    FarFieldSetup s;
    EXPECT_TRUE(PrepareFarField(a.ctx, s, resultsInDb));
    return s;
}

// Sets the state of a solution by hand: the given pulse currents, an input
// power and an ordinary impedance.
void SetSolution(SolvedAntenna& a, const std::vector<cd>& currents, float pin) {
    SolverState& st = a.St();
    for (std::size_t i = 0; i < currents.size(); ++i) {
        st.CR[i + 1] = static_cast<float>(currents[i].real());
        st.CI[i + 1] = static_cast<float>(currents[i].imag());
    }
    st.Pin = pin;
    st.ZinR = 50;
    st.ZinX = 0;
    a.p.MatrixState = 2;
}

// The total power gain over the sphere divided by 4 pi (1 when the far
// field carries exactly the input power), by the midpoint rule.
double RadiatedOverInput(SolvedAntenna& a, int thetaSteps, int phiSteps) {
    const FarFieldSetup s = Prepared(a);
    double sum = 0;
    for (int i = 0; i < thetaSteps; ++i) {
        const double theta = (i + 0.5) * 180.0 / thetaSteps;
        for (int j = 0; j < phiSteps; ++j) {
            const double phi = (j + 0.5) * 360.0 / phiSteps;
            const FieldComponents E = FarFieldComponents(a.ctx, s, static_cast<float>(phi), static_cast<float>(theta));
            const double g = (std::norm(ToComplex(E.theta)) + std::norm(ToComplex(E.phi))) * s.gainNormaliser;
            sum += g * std::sin(theta * kPi / 180);
        }
    }
    const double dTheta = kPi / thetaSteps, dPhi = 2 * kPi / phiSteps;
    return sum * dTheta * dPhi / (4 * kPi);
}

TEST(ComplexSqrt, PrincipalRootAndTheZeroEdgeCases) {
    const struct {
        float a, b, re, im;
    } cases[] = {{3, 4, 2, 1}, {3, -4, 2, -1}, {-3, 4, 1, 2}, {-3, -4, 1, -2}, {-4, 0, 0, 2}};
    for (const auto& c : cases) {
        const ComplexF r = ComplexSqrt(c.a, c.b);
        EXPECT_FLOAT_EQ(r.re, c.re) << c.a << " " << c.b;
        EXPECT_FLOAT_EQ(r.im, c.im) << c.a << " " << c.b;
    }
    // The root of 0 is 0, not 0/0; a ground without permittivity reflects
    // perfectly instead of dividing by 0.
    const ComplexF zero = ComplexSqrt(0, 0), none = SurfaceImpedance(0, 0, 14.2f, 4.0f * std::atan(1.0f));
    EXPECT_TRUE(zero.re == 0 && zero.im == 0 && none.re == 0 && none.im == 0);
}

TEST(FarFieldGain, ThinHalfWaveDipoleBroadsideIsDipoleGain) {
    SolvedAntenna a;
    a.Wire(40, 0, 0, -0.25f, 0, 0, 0.25f, 0.0001f);
    a.Source(20);
    a.Build();
    FarFieldSetup s = Prepared(a);
    for (const float azimuth : {0.0f, 37.0f, 90.0f, 200.0f}) {
        DirectionGains g;
        const float total = FieldAtDirection(a.ctx, s, azimuth, 90, &g);
        EXPECT_NEAR(total, 2.15, 0.1) << azimuth;
        EXPECT_EQ(g.total, total);
        // A vertical wire radiates no horizontal field at all.
        EXPECT_EQ(g.horizontal, -999);
        EXPECT_NEAR(g.vertical, total, 1e-4);
    }
    // Along the wire there is (almost) nothing.
    EXPECT_LT(FieldAtDirection(a.ctx, s, 0, 0.5f), -25);
    // In dBd the same field is 0, and the gains move by 2.15.
    DirectionGains dbi, dbd;
    FieldAtDirection(a.ctx, s, 0, 90, &dbi);
    ToggleGainUnit(a.ctx);
    s = Prepared(a);
    EXPECT_NEAR(FieldAtDirection(a.ctx, s, 0, 90, &dbd), 0, 0.1);
    EXPECT_FLOAT_EQ(dbd.total, dbi.total - 2.15f);
    EXPECT_FLOAT_EQ(dbd.horizontal, -999 - 2.15f);
}

TEST(FarFieldGain, PowerBalanceOverTheSphere) {
    // A lossless dipole in free space: the far-field power equals the input power.
    SolvedAntenna a;
    a.Wire(40, 0, 0, -0.24f, 0, 0, 0.24f, 0.001f);
    a.Source(20);
    a.Build();
    EXPECT_NEAR(RadiatedOverInput(a, 90, 8), 1, 0.05);
    // An unsymmetric structure: two unequal parallel dipoles, one fed.
    SolvedAntenna pair;
    pair.Wire(40, 0, 0, -0.25f, 0, 0, 0.25f, 0.001f);
    pair.Wire(40, 0.2f, 0.1f, -0.22f, 0.2f, 0.1f, 0.22f, 0.001f);
    pair.Source(20);
    pair.Build();
    const double ratio = RadiatedOverInput(pair, 90, 72);
    EXPECT_NEAR(ratio, 1, 0.05);
}

TEST(FarFieldGain, QuarterWaveMonopoleIsThreeDbAboveTheDipole) {
    SolvedAntenna dipole;
    dipole.Wire(20, 0, 0, -0.25f, 0, 0, 0.25f, 0.0005f);
    dipole.Source(10);
    dipole.Build();
    SolvedAntenna monopole;
    monopole.PerfectGround();
    monopole.Wire(10, 0, 0, 0, 0, 0, 0.25f, 0.0005f);
    monopole.Source(1);
    monopole.Build();
    const FarFieldSetup d = Prepared(dipole), m = Prepared(monopole);
    for (const float zenith : {90.0f, 70.0f, 45.0f}) {
        const float difference =
            FieldAtDirection(monopole.ctx, m, 0, zenith) - FieldAtDirection(dipole.ctx, d, 0, zenith);
        EXPECT_NEAR(difference, 3.01, 0.1) << zenith;
    }
    EXPECT_NEAR(FieldAtDirection(monopole.ctx, m, 0, 90), 5.16, 0.15);
}

// E_theta and E_phi of two structures at the same directions.
void ExpectSameField(SolvedAntenna& a, const FarFieldSetup& sa, SolvedAntenna& b, const FarFieldSetup& sb) {
    for (const float zenith : {5.0f, 30.0f, 60.0f, 89.0f}) {
        for (const float azimuth : {0.0f, 45.0f, 120.0f, 270.0f}) {
            const FieldComponents ea = FarFieldComponents(a.ctx, sa, azimuth, zenith);
            const FieldComponents eb = FarFieldComponents(b.ctx, sb, azimuth, zenith);
            const double scale = std::abs(ToComplex(eb.theta)) + std::abs(ToComplex(eb.phi));
            EXPECT_NEAR(std::abs(ToComplex(ea.theta) - ToComplex(eb.theta)), 0, 1e-5 * scale)
                << zenith << " " << azimuth;
            EXPECT_NEAR(std::abs(ToComplex(ea.phi) - ToComplex(eb.phi)), 0, 1e-5 * scale) << zenith << " " << azimuth;
        }
    }
}

TEST(FarFieldImage, GroundJunctionPulseRadiatesWithItsImage) {
    // A monopole fed against perfect ground radiates as the dipole made of
    // it and its image, carrying the mirrored currents.
    SolvedAntenna monopole;
    monopole.PerfectGround();
    monopole.Wire(10, 0, 0, 0, 0, 0, 0.25f);
    monopole.Source(1);
    monopole.Build();
    const SolverState& m = monopole.St();
    ASSERT_EQ(m.pulses.N, 10);
    ASSERT_TRUE(m.pulses.IsGroundPulse(1));

    SolvedAntenna dipole;
    dipole.Wire(20, 0, 0, -0.25f, 0, 0, 0.25f);
    dipole.Build(false);
    ASSERT_EQ(dipole.St().pulses.N, 19);
    std::vector<cd> currents(19);
    for (int j = 0; j < 10; ++j) {
        const cd I(m.CR[1 + j], m.CI[1 + j]);
        currents[static_cast<std::size_t>(9 + j)] = I;  // pulse 10 + j
        currents[static_cast<std::size_t>(9 - j)] = I;  // pulse 10 - j
    }
    SetSolution(dipole, currents, m.Pin);
    ExpectSameField(monopole, Prepared(monopole), dipole, Prepared(dipole));
}

TEST(FarFieldImage, WireRunningDownToTheGroundSkipsItsImageHalf) {
    // The same monopole built from the top down: its ground pulse is its
    // last, and the half that is the image is the second one.
    SolvedAntenna up, down;
    up.PerfectGround();
    up.Wire(10, 0, 0, 0, 0, 0, 0.25f);
    up.Source(1);
    up.Build();
    down.PerfectGround();
    down.Wire(10, 0, 0, 0.25f, 0, 0, 0);
    down.Source(10);
    down.Build();
    ASSERT_TRUE(down.St().pulses.IsGroundPulse(10));
    const FarFieldSetup su = Prepared(up), sd = Prepared(down);
    for (const float zenith : {10.0f, 50.0f, 85.0f, 90.0f})
        EXPECT_NEAR(FieldAtDirection(down.ctx, sd, 30, zenith), FieldAtDirection(up.ctx, su, 30, zenith), 1e-3)
            << zenith;
}

TEST(FarFieldImage, PerfectImageReversesTheHorizontalCurrent) {
    // A slanting wire over perfect ground radiates as the wire and its
    // mirror image in free space, the image carrying the opposite current
    // along its own (mirrored) direction: its horizontal component reversed,
    // its vertical one kept.
    SolvedAntenna grounded;
    grounded.PerfectGround();
    grounded.p.Height = 0.3f;
    grounded.Wire(10, 0.05f, -0.2f, 0, -0.05f, 0.2f, 0.2f);
    grounded.Source(5);
    grounded.Build();
    const SolverState& g = grounded.St();

    SolvedAntenna pair;
    pair.Wire(10, 0.05f, -0.2f, 0.3f, -0.05f, 0.2f, 0.5f);
    pair.Wire(10, 0.05f, -0.2f, -0.3f, -0.05f, 0.2f, -0.5f);
    pair.Build(false);
    std::vector<cd> currents(18);
    for (int i = 0; i < 9; ++i) {
        const cd I(g.CR[1 + i], g.CI[1 + i]);
        currents[static_cast<std::size_t>(i)] = I;
        currents[static_cast<std::size_t>(9 + i)] = -I;
    }
    SetSolution(pair, currents, g.Pin);
    ExpectSameField(grounded, Prepared(grounded), pair, Prepared(pair));
}

// The Fresnel coefficients of a ground of permittivity eps at zenith theta:
// vertical (TM) and horizontal (TE) polarisation.
cd FresnelVertical(cd eps, double theta) {
    const double c = std::cos(theta), s = std::sin(theta);
    const cd root = std::sqrt(eps - s * s);
    return (eps * c - root) / (eps * c + root);
}
cd FresnelHorizontal(cd eps, double theta) {
    const double c = std::cos(theta), s = std::sin(theta);
    const cd root = std::sqrt(eps - s * s);
    return (c - root) / (c + root);
}

struct RealGroundCase {
    float dielectric, conductivity;
};
constexpr RealGroundCase kRealGrounds[] = {{13, 0.005f}, {4, 0.001f}, {20, 0.03f}};

void SetRealGround(SolvedAntenna& a, const RealGroundCase& g) {
    a.p.Env.GroundPresent = kOverGround;
    a.p.Env.GroundKind = kRealGround;
    a.p.Env.SetRealGround(g.dielectric, g.conductivity);
    a.p.GroundDefined = true;
}

// The field over the ground divided by the direct field alone.
cd ImageFactor(SolvedAntenna& a, float azimuth, float zenith, bool theta) {
    const FarFieldSetup ground = Prepared(a);
    FarFieldSetup direct = ground;
    direct.imagePass = false;
    const FieldComponents e = FarFieldComponents(a.ctx, ground, azimuth, zenith);
    const FieldComponents d = FarFieldComponents(a.ctx, direct, azimuth, zenith);
    return theta ? ToComplex(e.theta) / ToComplex(d.theta) : ToComplex(e.phi) / ToComplex(d.phi);
}

TEST(FarFieldRealGround, ImagesFollowTheFresnelCoefficients) {
    const double f = 14.2, k = 2 * kPi * f / 299.8, h = 7.5;
    for (const auto& g : kRealGrounds) {
        const cd eps(g.dielectric, -g.conductivity / (2 * kPi * f * 8.85e-6));
        // A horizontal dipole along y at height h: in the plane phi = 0 its
        // field is E_phi alone, and every pulse is at the same height.
        SolvedAntenna horizontal(14.2f);
        SetRealGround(horizontal, g);
        horizontal.p.Height = static_cast<float>(h);
        horizontal.Wire(10, 0, -5, 0, 0, 5, 0, 0.001f);
        horizontal.Source(5);
        horizontal.Build();
        // A short vertical element (one pulse) at height h.
        SolvedAntenna vertical(14.2f);
        SetRealGround(vertical, g);
        vertical.p.Height = static_cast<float>(h);
        vertical.Wire(2, 0, 0, -0.5f, 0, 0, 0.5f, 0.001f);
        vertical.Source(1);
        vertical.Build();
        for (const float zenith : {10.0f, 40.0f, 70.0f, 85.0f}) {
            const double theta = zenith * kPi / 180;
            const cd path = std::exp(cd(0, -2 * k * h * std::cos(theta)));
            const cd expectH = 1.0 + FresnelHorizontal(eps, theta) * path;
            const cd expectV = 1.0 + FresnelVertical(eps, theta) * path;
            EXPECT_NEAR(std::abs(ImageFactor(horizontal, 0, zenith, false) - expectH), 0, 2e-4)
                << g.dielectric << " " << zenith;
            EXPECT_NEAR(std::abs(ImageFactor(vertical, 25, zenith, true) - expectV), 0, 2e-4)
                << g.dielectric << " " << zenith;
        }
    }
}

TEST(FarFieldRealGround, VerticalAntennaVanishesAtTheHorizon) {
    // cos 90 degrees in single precision is not 0, but the reflection
    // coefficient of grazing incidence is -1 all the same: the image cancels
    // the vertical antenna's field along the ground.
    SolvedAntenna a(14.2f);
    SetRealGround(a, {13, 0.005f});
    a.p.Height = 2;
    a.Wire(10, 0, 0, 0, 0, 0, 10, 0.002f);
    a.Source(5);
    a.Build();
    const FarFieldSetup s = Prepared(a);
    ASSERT_NE(std::cos(90 * s.rad), 0.0f);
    EXPECT_LT(FieldAtDirection(a.ctx, s, 0, 90), -60);
    EXPECT_GT(FieldAtDirection(a.ctx, s, 0, 80), -6);
}

TEST(PrepareFarField, RefusesAnInputPowerOfZeroOrLessOrNan) {
    SolvedAntenna a;
    a.Wire(10, 0, 0, -0.25f, 0, 0, 0.25f);
    a.Source(5);
    a.Build();
    FarFieldSetup s;
    for (const float pin : {0.0f, -0.1f, std::nanf("")}) {
        a.St().Pin = pin;
        EXPECT_FALSE(PrepareFarField(a.ctx, s, true)) << pin;
    }
}

}  // namespace
}  // namespace qw
