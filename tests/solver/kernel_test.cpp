#include "solver/kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <memory>
#include <numbers>

#include "reference_quadrature.h"
#include "solver/frequency_constants.h"

namespace qw {
namespace {

using cd = std::complex<double>;
using test::GaussLegendre;
using test::Integrate;
using test::IntegrateFromSingularity;

constexpr double kPi = std::numbers::pi;

// At 299.8 MHz the wavelength is exactly 1 m.
std::unique_ptr<SolverState> UnitWavelength() {
    auto s = std::make_unique<SolverState>();
    SetFrequencyConstants(*s, 299.8f);
    return s;
}

// Wire 1 along x with segment length seg and radius a: break points
// p = 1..6 at x = (p - 1) seg, pulses 1..4 centred on points 2..5.
void StraightWire(SolverState& s, float seg, float a) {
    PulseTable& t = s.pulses;
    t.NW = 1;
    t.N = 4;
    t.A[1] = a;
    t.S[1] = seg;
    t.CA[1] = 1;
    t.J2[1] = {0, -1, -1};
    for (int i = 1; i <= 4; ++i) {
        t.W[i] = 1;
        t.C[i] = {0, 1, 1};
    }
    for (int p = 1; p <= 6; ++p) t.X[p] = static_cast<float>(p - 1) * seg;
}

cd Result(const Kernel& k) { return {k.T1, k.T2}; }

double RelativeError(cd value, cd reference) { return std::abs(value - reference) / std::abs(reference); }

// Integral of e^(-jkR)/R along the straight interval from v1 to v2 (relative
// to the observation point), R the distance or, with radius a, the distance
// to the wire's surface sqrt(r^2 + a^2).
cd PsiReference(const std::array<float, 3>& v1, const std::array<float, 3>& v2, double k, double a,
                const test::QuadratureRule& rule, int panels) {
    const double length = std::sqrt(std::pow(double(v2[0]) - v1[0], 2) + std::pow(double(v2[1]) - v1[1], 2) +
                                    std::pow(double(v2[2]) - v1[2], 2));
    auto f = [&](double u) {
        double r2 = a * a;
        for (int c = 0; c < 3; ++c) r2 += std::pow(v1[c] + u * (double(v2[c]) - v1[c]), 2);
        const double r = std::sqrt(r2);
        return std::exp(cd(0, -k * r)) / r;
    };
    return Integrate(f, 0, 1, rule, panels) * length;
}

// A whole segment (doubled indices 2..4, one segment length) from v1 to v2.
Kernel Interval(std::array<float, 3> v1, std::array<float, 3> v2) {
    Kernel k;
    k.P2 = PointIndex(1);
    k.P3 = PointIndex(2);
    k.P4 = 1;
    k.V1 = v1;
    k.V2 = v2;
    return k;
}

TEST(PsiIntegral, RuleFollowsDistanceWithTiesKeepingTheFinerRule) {
    // Unit segments a wavelength long, end-on to the observation point: the
    // phase turns once along the interval, so the 2-, 4- and 8-point rules
    // give clearly different values.
    auto s = UnitWavelength();
    StraightWire(*s, 1.0f, 1e-6f);
    const double k = s->freq.K;
    struct Case {
        float near, far;
        int points;
    };
    const Case cases[] = {
        {4.55f, 5.55f, 2},  // T = 10.1
        {4.5f, 5.5f, 4},    // T = 10 exactly
        {2.55f, 3.55f, 4},  // T = 6.1
        {2.5f, 3.5f, 8},    // T = 6 exactly
        {0.1f, 1.1f, 8},    // T = 1.2
    };
    for (const Case& c : cases) {
        Kernel kn = Interval({c.near, 0, 0}, {c.far, 0, 0});
        PsiIntegral(*s, kn);
        for (int n : {2, 4, 8}) {
            const cd ref = PsiReference(kn.V1, kn.V2, k, 0, GaussLegendre(n), 1);
            const double err = RelativeError(Result(kn), ref);
            if (n == c.points)
                EXPECT_LT(err, 2e-5) << "T = " << c.near + c.far << ", " << n << " points";
            else
                EXPECT_GT(err, 1e-3) << "T = " << c.near + c.far << " should not use " << n << " points";
        }
    }
}

TEST(PsiIntegral, FarIntervalsMatchTheIntegralOfTheKernel) {
    // Segments of a twentieth of a wavelength, seen broadside from the
    // origin at the distances where each rule starts to apply.
    auto s = UnitWavelength();
    const float seg = 0.05f;
    StraightWire(*s, seg, 1e-6f);
    const double k = s->freq.K;
    const auto exact = GaussLegendre(8);
    struct Case {
        float y;         // broadside distance; the interval runs from x = -seg/2 to +seg/2
        double maxError; // relative
    };
    const Case cases[] = {
        {0.2497f, 2e-5},  // T just above 10: 2 points
        {0.1502f, 1e-5},  // T just above 6: 4 points
        {0.0230f, 1e-5},  // T = 1.36: 8 points
    };
    for (const Case& c : cases) {
        Kernel kn = Interval({-seg / 2, c.y, 0}, {seg / 2, c.y, 0});
        PsiIntegral(*s, kn);
        const cd ref = PsiReference(kn.V1, kn.V2, k, 0, exact, 400);
        EXPECT_LT(RelativeError(Result(kn), ref), c.maxError) << "y = " << c.y;
    }
}

TEST(PsiIntegral, ThickWireUsesTheDistanceToItsSurface) {
    auto s = UnitWavelength();
    const float seg = 0.05f, a = 0.004f;
    StraightWire(*s, seg, a);
    Kernel kn = Interval({-seg / 2, 0.06f, 0.01f}, {seg / 2, 0.06f, 0.01f});
    PsiIntegral(*s, kn);
    EXPECT_EQ(kn.C, 0.0f);
    const cd surface = PsiReference(kn.V1, kn.V2, s->freq.K, a, GaussLegendre(8), 400);
    const cd axis = PsiReference(kn.V1, kn.V2, s->freq.K, 0, GaussLegendre(8), 400);
    EXPECT_LT(RelativeError(Result(kn), surface), 1e-5);
    EXPECT_GT(RelativeError(Result(kn), axis), 1e-3);
}

// Integral of the thin-wire kernel over a half segment h from its end,
// with the distance taken to the surface of a wire of radius a.
cd HalfSegmentReference(double h, double a, double k) {
    auto f = [&](double z) {
        const double r = std::sqrt(z * z + a * a);
        return std::exp(cd(0, -k * r)) / r;
    };
    return Integrate(f, 0, h, GaussLegendre(16), 2000);
}

TEST(SelfTerms, ThinWireClosedForms) {
    auto s = UnitWavelength();
    const float seg = 0.05f, a = 1e-5f;  // SRM is 1e-4
    StraightWire(*s, seg, a);
    const float k = s->freq.K;

    Kernel v;
    v.I = v.J = 2;
    v.P1 = PointIndex(3);
    v.P2 = PointIndex(3);
    v.P3 = v.P2 + 1;  // the second half of pulse 2
    v.P4 = 1;
    VectorPsi(*s, v);
    EXPECT_EQ(v.T1, std::log(seg / a));
    EXPECT_EQ(v.T2, -k * seg / 2.0f);
    // Close to the integral over the half segment (the closed form drops
    // terms of order (k seg)^2 and a / seg).
    const cd half = HalfSegmentReference(seg / 2, a, k);
    EXPECT_NEAR(v.T1, half.real(), 1e-3 * std::abs(half.real()));
    EXPECT_NEAR(v.T2, half.imag(), 3e-3 * std::abs(half.imag()));

    Kernel sc;
    sc.I = 2;
    sc.J = 3;
    sc.P1 = MidpointIndex(3);
    sc.P2 = PointIndex(3);
    sc.P3 = PointIndex(4);  // the whole segment, seen from its midpoint
    sc.P4 = 1;
    ScalarPsi(*s, sc);
    EXPECT_EQ(sc.T1, 2.0f * std::log(seg / a));
    EXPECT_EQ(sc.T2, -k * seg);
    EXPECT_TRUE(sc.Scalar);
}

TEST(SelfTerms, ThinLimitIsStrictForTheVectorAndInclusiveForTheScalarPotential) {
    auto s = UnitWavelength();
    const float seg = 0.05f;
    const float srm = s->freq.SRM;
    StraightWire(*s, seg, srm);

    // The vector closed form depends only on the pulse pair and the interval;
    // here the observation point is two segments away from the interval.
    Kernel v;
    v.I = v.J = 1;
    v.P1 = PointIndex(5);
    v.P2 = PointIndex(2);
    v.P3 = v.P2 + 1;
    v.P4 = 1;
    VectorPsi(*s, v);  // radius = SRM: not thin for the vector potential
    const cd far = PsiReference(v.V1, v.V2, s->freq.K, 0, GaussLegendre(8), 1);
    EXPECT_LT(RelativeError(Result(v), far), 2e-5);

    s->pulses.A[1] = std::nextafter(srm, 0.0f);
    VectorPsi(*s, v);
    EXPECT_EQ(v.T1, std::log(seg / s->pulses.A[1]));

    s->pulses.A[1] = srm;  // thin for the scalar potential
    Kernel sc;
    sc.I = sc.J = 1;
    sc.P1 = MidpointIndex(2);
    sc.P2 = PointIndex(2);
    sc.P3 = PointIndex(3);
    sc.P4 = 1;
    ScalarPsi(*s, sc);
    EXPECT_EQ(sc.T1, 2.0f * std::log(seg / srm));
    EXPECT_EQ(sc.T2, -s->freq.K * seg);

    s->pulses.A[1] = std::nextafter(srm, 1.0f);  // thick: the exact kernel instead
    ScalarPsi(*s, sc);
    EXPECT_NE(sc.C, 0.0f);
    EXPECT_NE(sc.T1, 2.0f * std::log(seg / s->pulses.A[1]));
}

// Complete elliptic integral of the first kind K(m), by the arithmetic-
// geometric mean, from k' = sqrt(1 - m) (accurate as m approaches 1).
double EllipticKReference(double kPrime) {
    double a = 1, b = kPrime;
    for (int i = 0; i < 40; ++i) {
        const double an = (a + b) / 2;
        b = std::sqrt(a * b);
        a = an;
    }
    return kPi / (2 * a);
}

// The exact kernel of a tube of radius a: e^(-jkR)/R averaged around the
// circumference, for an axial offset z. The static part is the elliptic
// integral; the rest is smooth and integrated around the ring.
cd RingKernel(double z, double a, double k) {
    const double r = std::sqrt(z * z + 4 * a * a);
    const cd stat = 2 / kPi * EllipticKReference(std::fabs(z) / r) / r;
    auto dynamic = [&](double phi) {
        const double r = std::sqrt(z * z + 4 * a * a * std::pow(std::sin(phi / 2), 2));
        return (std::exp(cd(0, -k * r)) - 1.0) / r;
    };
    return stat + Integrate(dynamic, 0, kPi, GaussLegendre(16), 4) / kPi;
}

TEST(SelfTerms, ThickWireFollowsTheExactKernel) {
    auto s = UnitWavelength();
    const float seg = 0.05f, a = 0.002f;
    StraightWire(*s, seg, a);
    const double k = s->freq.K;

    Kernel v;
    v.I = v.J = 2;
    v.P1 = PointIndex(3);
    v.P2 = PointIndex(3);
    v.P3 = v.P2 + 1;
    v.P4 = 1;
    VectorPsi(*s, v);
    EXPECT_NE(v.C, 0.0f);
    const cd ref = IntegrateFromSingularity([&](double z) { return RingKernel(z, a, k); }, seg / 2.0);
    EXPECT_LT(RelativeError(Result(v), ref), 2e-4) << Result(v) << " vs " << ref;

    // The whole segment from its midpoint is twice the half segment from its
    // end; the scalar routine integrates only the half before the midpoint.
    Kernel sc;
    sc.I = sc.J = 2;
    sc.P1 = MidpointIndex(3);
    sc.P2 = PointIndex(3);
    sc.P3 = PointIndex(4);
    sc.P4 = 1;
    ScalarPsi(*s, sc);
    EXPECT_NEAR(sc.T1, 2 * v.T1, 1e-5 * std::abs(v.T1));
    EXPECT_NEAR(sc.T2, 2 * v.T2, 1e-5 * std::abs(v.T2));
}

TEST(PsiIntegral, NearFieldModeForcesPlainQuadrature) {
    auto s = UnitWavelength();
    const float seg = 0.05f, a = 1e-5f;
    StraightWire(*s, seg, a);
    // 0.1 segment beside the middle of a segment: T = 1.02, near.
    Kernel kn = Interval({-seg / 2, 0.005f, 0}, {seg / 2, 0.005f, 0});
    kn.I = kn.J = 1;
    kn.Scalar = true;
    PsiIntegral(*s, kn);
    EXPECT_EQ(kn.T1, 2.0f * std::log(seg / a));  // closed form of the matrix fill

    kn.FieldMode = 2;
    PsiIntegral(*s, kn);
    const cd eight = PsiReference(kn.V1, kn.V2, s->freq.K, 0, GaussLegendre(8), 1);
    EXPECT_LT(RelativeError(Result(kn), eight), 2e-5);
}

TEST(PsiIntegral, NearWiresThatDoNotTouchUsePlainQuadrature) {
    auto s = UnitWavelength();
    const float seg = 0.05f, a = 0.002f;
    StraightWire(*s, seg, a);
    PulseTable& t = s->pulses;
    // A second thick wire beside the first; pulse 1 on wire 1, pulse 4 on wire 2.
    t.NW = 2;
    t.A[2] = a;
    t.S[2] = seg;
    t.W[4] = 2;
    t.J2[2] = {0, -2, -2};
    Kernel kn = Interval({-seg / 2, 0.005f, 0}, {seg / 2, 0.005f, 0});
    kn.I = 1;
    kn.J = 4;
    PsiIntegral(*s, kn);
    EXPECT_EQ(kn.C, 0.0f);
    const cd eight = PsiReference(kn.V1, kn.V2, s->freq.K, a, GaussLegendre(8), 1);
    EXPECT_LT(RelativeError(Result(kn), eight), 2e-5);

    t.J2[2][1] = 1;  // end 1 of wire 2 now touches wire 1: the exact kernel applies
    t.J2[1][2] = 1;
    PsiIntegral(*s, kn);
    EXPECT_NE(kn.C, 0.0f);
}

TEST(PsiEndpoints, HalfIndicesAreMidpointsAndImagesMirrorTheInterval) {
    auto s = UnitWavelength();
    PulseTable& t = s->pulses;
    StraightWire(*s, 0.05f, 1e-5f);
    t.X[3] = 0.1f, t.Y[3] = 0.2f, t.Z[3] = 0.3f;
    t.X[4] = 0.2f, t.Y[4] = 0.4f, t.Z[4] = 0.5f;
    Kernel k;
    k.X0 = 0.01f, k.Y0 = 0.02f, k.Z0 = 0.03f;
    k.P2 = PointIndex(3);
    k.P3 = MidpointIndex(3);
    k.P4 = 1;
    PsiEndpoints(*s, k);
    EXPECT_EQ(k.V1, (std::array<float, 3>{0.1f - 0.01f, 0.2f - 0.02f, 0.3f - 0.03f}));
    EXPECT_EQ(k.V2, (std::array<float, 3>{(0.1f + 0.2f) / 2 - 0.01f, (0.2f + 0.4f) / 2 - 0.02f,
                                           (0.3f + 0.5f) / 2 - 0.03f}));
    const cd direct = Result(k);

    // The image interval lies mirrored in z = 0; the observation point stays.
    k.K = -1;
    PsiEndpoints(*s, k);
    EXPECT_EQ(k.V1[2], -0.3f - 0.03f);
    EXPECT_EQ(k.V2[2], -(0.3f + 0.5f) / 2 - 0.03f);
    const cd image = Result(k);
    EXPECT_GT(std::abs(image - direct), 1e-3 * std::abs(direct));
    // Walked from the other end, it is still the integral over the mirrored interval.
    k.K = 1;
    t.Z[3] = -0.3f;
    t.Z[4] = -0.5f;
    PsiEndpoints(*s, k);
    EXPECT_LT(RelativeError(image, Result(k)), 1e-6);
}

TEST(FrequencyConstants, SinglePrecisionValues) {
    SolverState s;
    SetFrequencyConstants(s, 14.1f);
    const float pi = 4.0f * std::atan(1.0f);
    EXPECT_EQ(s.Pi, pi);
    EXPECT_EQ(s.freq.Lambda, 299.8f / 14.1f);
    EXPECT_EQ(s.freq.SRM, 0.0001f * s.freq.Lambda);
    EXPECT_EQ(s.freq.S0, 0.001f * s.freq.Lambda);
    EXPECT_EQ(s.freq.M, 4.77783352f * s.freq.Lambda);
    EXPECT_NEAR(s.freq.K, 2 * kPi * 14.1 / 299.8, 1e-6);
    EXPECT_EQ(s.freq.W2, s.freq.K * s.freq.K / 2.0f);
}

TEST(GaussTable, EachRuleIntegratesItsPolynomialsExactly) {
    // An n-point rule on [0, 1] is exact up to degree 2n - 1; the table
    // holds the pairs q, w for the points 1/2 + q and 1/2 - q.
    struct Rule {
        int first, points;
    };
    for (const Rule r : {Rule{1, 2}, Rule{3, 4}, Rule{7, 8}}) {
        for (int degree = 0; degree < 2 * r.points; ++degree) {
            double sum = 0;
            for (int l = r.first; l < r.first + r.points; l += 2) {
                const double q = kGaussTable[l], w = kGaussTable[l + 1];
                sum += w * (std::pow(0.5 + q, degree) + std::pow(0.5 - q, degree));
            }
            const double exact = 1.0 / (degree + 1);
            EXPECT_NEAR(sum, exact, 2e-7) << r.points << " points, degree " << degree;
        }
    }
}

}  // namespace
}  // namespace qw
