// The far field of one direction against independent values: the thin
// dipole's gain in dBi and dBd, the power balance over the sphere, image
// theory over perfect ground (the horizontal image: the pattern plot's
// height test), and the Fresnel coefficients of real ground computed in
// double precision.
#include "fields/far_field.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>

#include "commands/main_commands.h"
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
    a.MarkSolved();
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
    for (const auto& [a, b, re, im] : {std::array<float, 4>{3, -4, 2, -1}, {-3, 4, 1, 2}, {-4, 0, 0, 2}}) {
        EXPECT_FLOAT_EQ(ComplexSqrt(a, b).re, re) << a << " " << b;
        EXPECT_FLOAT_EQ(ComplexSqrt(a, b).im, im) << a << " " << b;
    }
    // The root of 0 is 0, not 0/0; a ground without permittivity reflects
    // perfectly instead of dividing by 0.
    const ComplexF zero = ComplexSqrt(0, 0), none = SurfaceImpedance(0, 0, 14.2f);
    EXPECT_TRUE(zero.re == 0 && zero.im == 0 && none.re == 0 && none.im == 0);
}

TEST(FarFieldGain, ThinHalfWaveDipoleBroadsideIsDipoleGain) {
    SolvedAntenna a;
    a.Wire(40, 0, 0, -0.25f, 0, 0, 0.25f, 0.0001f);
    a.Source(20);
    a.Build();
    DirectionGains dbi, dbd;
    EXPECT_NEAR(FieldAtDirection(a.ctx, Prepared(a), 37, 90, &dbi), 2.15, 0.1);
    EXPECT_EQ(dbi.horizontal, -999);  // a vertical wire radiates no horizontal field
    // In dBd the same field is 0, and the gains move by 2.15.
    ToggleGainUnit(a.ctx);
    EXPECT_NEAR(FieldAtDirection(a.ctx, Prepared(a), 37, 90, &dbd), 0, 0.1);
    EXPECT_FLOAT_EQ(dbd.total, dbi.total - 2.15f);
    EXPECT_FLOAT_EQ(dbd.horizontal, -999 - 2.15f);
}

TEST(FarFieldGain, PowerBalanceOverTheSphere) {
    // Lossless and unsymmetric, two unequal parallel dipoles, one fed: the
    // far-field power equals the input power, the independent check of Pin.
    SolvedAntenna pair;
    pair.Wire(40, 0, 0, -0.25f, 0, 0, 0.25f, 0.001f);
    pair.Wire(40, 0.2f, 0.1f, -0.22f, 0.2f, 0.1f, 0.22f, 0.001f);
    pair.Source(20);
    pair.Build();
    EXPECT_NEAR(RadiatedOverInput(pair, 90, 72), 1, 0.004);  // 0.9986: the sum and the rounding
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

// The Fresnel coefficient of a ground of permittivity eps at zenith theta:
// vertical (TM) or horizontal (TE) polarisation.
cd Fresnel(cd eps, double theta, bool vertical) {
    const double c = std::cos(theta), s = std::sin(theta);
    const cd root = std::sqrt(eps - s * s), n = vertical ? eps : 1.0;
    return (n * c - root) / (n * c + root);
}

// Real ground of dielectric constant 13 and 5 mS/m, the antenna at `height`.
void SetRealGround(SolvedAntenna& a, float height) {
    a.p.Env.GroundPresent = kOverGround;
    a.p.Env.GroundKind = kRealGround;
    a.p.Env.SetRealGround(13, 0.005f);
    a.p.GroundDefined = true;
    a.p.Height = height;
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
    const cd eps(13, -0.005 / (2 * kPi * f * 8.85e-6));
    // A horizontal dipole along y at height h: in the plane phi = 0 its
    // field is E_phi alone, and every pulse is at the same height.
    SolvedAntenna horizontal(14.2f);
    SetRealGround(horizontal, static_cast<float>(h));
    horizontal.Wire(10, 0, -5, 0, 0, 5, 0, 0.001f);
    horizontal.Source(5);
    horizontal.Build();
    // A short vertical element (one pulse) at height h.
    SolvedAntenna vertical(14.2f);
    SetRealGround(vertical, static_cast<float>(h));
    vertical.Wire(2, 0, 0, -0.5f, 0, 0, 0.5f, 0.001f);
    vertical.Source(1);
    vertical.Build();
    for (const float zenith : {10.0f, 40.0f, 70.0f, 85.0f}) {
        const double theta = zenith * kPi / 180;
        const cd path = std::exp(cd(0, -2 * k * h * std::cos(theta)));
        const cd expectH = 1.0 + Fresnel(eps, theta, false) * path;
        const cd expectV = 1.0 + Fresnel(eps, theta, true) * path;
        EXPECT_NEAR(std::abs(ImageFactor(horizontal, 0, zenith, false) - expectH), 0, 2e-4) << zenith;
        EXPECT_NEAR(std::abs(ImageFactor(vertical, 25, zenith, true) - expectV), 0, 2e-4) << zenith;
    }
}

TEST(FarFieldRealGround, VerticalAntennaVanishesAtTheHorizon) {
    // cos 90 degrees in single precision is not 0, but the reflection
    // coefficient of grazing incidence is -1 all the same: the image cancels
    // the vertical antenna's field along the ground.
    SolvedAntenna a(14.2f);
    SetRealGround(a, 2);
    a.Wire(10, 0, 0, 0, 0, 0, 10, 0.002f);
    a.Source(5);
    a.Build();
    const FarFieldSetup s = Prepared(a);
    ASSERT_NE(std::cos(90 * s.rad), 0.0f);
    EXPECT_LT(FieldAtDirection(a.ctx, s, 0, 90), -60);
    EXPECT_GT(FieldAtDirection(a.ctx, s, 0, 80), -6);
}

}  // namespace
}  // namespace qw
