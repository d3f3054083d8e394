// The integrals of the thin-wire kernel (rule choice, closed-form and
// exact self terms, the thin-wire limit) against double-precision quadrature.
#include "solver/kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <numbers>

#include "reference_quadrature.h"
#include "solver/frequency_constants.h"

namespace qw {
namespace {

using cd = std::complex<double>;
using test::GaussLegendre;
using test::Integrate;

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

// Pulses i, j; observation index p1, interval p2..p3 (doubled indices).
Kernel Term(int i, int j, int p1, int p2, int p3) {
    Kernel k;
    k.I = i, k.J = j;
    k.P1 = p1, k.P2 = p2, k.P3 = p3, k.P4 = 1;
    return k;
}

TEST(PsiIntegral, RuleFollowsDistanceWithTiesKeepingTheFinerRule) {
    // Unit segments a wavelength long, end-on to the observation point: the
    // phase turns once along the interval, so the 2-, 4- and 8-point rules
    // give clearly different values.
    auto s = UnitWavelength();
    StraightWire(*s, 1.0f, 1e-6f);
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
            const double err = RelativeError(Result(kn), PsiReference(kn.V1, kn.V2, s->freq.K, 0, GaussLegendre(n), 1));
            if (n == c.points)
                EXPECT_LT(err, 2e-5) << "T = " << c.near + c.far << ", " << n << " points";
            else
                EXPECT_GT(err, 1e-3) << "T = " << c.near + c.far << " should not use " << n << " points";
        }
    }
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

TEST(SelfTerms, HalfSegmentMatchesTheIntegralOverTheWire) {
    // Thin (below 1e-4): the closed forms, close to the integral with the
    // distance to the surface (they drop terms of order (k seg)^2 and a / seg).
    // Thick: the exact kernel of the tube.
    auto s = UnitWavelength();
    const float seg = 0.05f;
    const double k = s->freq.K;
    for (const float a : {1e-5f, 0.002f}) {
        StraightWire(*s, seg, a);
        Kernel v = Term(2, 2, PointIndex(3), PointIndex(3), PointIndex(3) + 1);  // the second half of pulse 2
        VectorPsi(*s, v);
        if (a < 1e-4f) {
            auto f = [&](double z) { return std::exp(cd(0, -k * std::hypot(z, a))) / std::hypot(z, a); };
            const cd half = Integrate(f, 0, seg / 2, GaussLegendre(16), 2000);
            EXPECT_NEAR(v.T1, half.real(), 1e-3 * std::abs(half.real()));
            EXPECT_NEAR(v.T2, half.imag(), 3e-3 * std::abs(half.imag()));
        } else {
            EXPECT_NE(v.C, 0.0f);
            const cd ref = test::IntegrateFromSingularity([&](double z) { return RingKernel(z, a, k); }, seg / 2.0);
            EXPECT_LT(RelativeError(Result(v), ref), 2e-4) << Result(v) << " vs " << ref;
        }
        // The whole segment from its midpoint is twice the half segment from
        // its end.
        Kernel sc = Term(2, 2, MidpointIndex(3), PointIndex(3), PointIndex(4));
        ScalarPsi(*s, sc);
        EXPECT_NEAR(sc.T1, 2 * v.T1, 1e-5 * std::abs(v.T1)) << "radius " << a;
        EXPECT_NEAR(sc.T2, 2 * v.T2, 1e-5 * std::abs(v.T2)) << "radius " << a;
    }
}

TEST(SelfTerms, ThinLimitIsStrictForTheVectorAndInclusiveForTheScalarPotential) {
    auto s = UnitWavelength();
    const float seg = 0.05f;
    const float srm = s->freq.SRM;
    StraightWire(*s, seg, srm);

    // The vector closed form depends only on the pulse pair and the interval;
    // here the observation point is two segments away from the interval.
    Kernel v = Term(1, 1, PointIndex(5), PointIndex(2), PointIndex(2) + 1);
    VectorPsi(*s, v);  // radius = SRM: not thin for the vector potential
    EXPECT_LT(RelativeError(Result(v), PsiReference(v.V1, v.V2, s->freq.K, 0, GaussLegendre(8), 1)), 2e-5);
    s->pulses.A[1] = std::nextafter(srm, 0.0f);
    VectorPsi(*s, v);
    EXPECT_EQ(v.T1, std::log(seg / s->pulses.A[1]));

    s->pulses.A[1] = srm;  // thin for the scalar potential
    Kernel sc = Term(1, 1, MidpointIndex(2), PointIndex(2), PointIndex(3));
    ScalarPsi(*s, sc);
    EXPECT_EQ(sc.T1, 2.0f * std::log(seg / srm));
    s->pulses.A[1] = std::nextafter(srm, 1.0f);  // thick: the exact kernel instead
    ScalarPsi(*s, sc);
    EXPECT_NE(sc.C, 0.0f);
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
    EXPECT_LT(RelativeError(Result(kn), PsiReference(kn.V1, kn.V2, s->freq.K, 0, GaussLegendre(8), 1)), 2e-5);
}

TEST(PsiIntegral, ThickWiresThatDoNotTouchUseTheDistanceToTheSurface) {
    auto s = UnitWavelength();
    const float seg = 0.05f, a = 0.004f;
    StraightWire(*s, seg, a);
    PulseTable& t = s->pulses;
    // Far, on the same wire: plain quadrature to the surface, not the axis.
    Kernel far = Interval({-seg / 2, 0.06f, 0.01f}, {seg / 2, 0.06f, 0.01f});
    PsiIntegral(*s, far);
    EXPECT_EQ(far.C, 0.0f);
    EXPECT_LT(RelativeError(Result(far), PsiReference(far.V1, far.V2, s->freq.K, a, GaussLegendre(8), 400)), 1e-5);
    EXPECT_GT(RelativeError(Result(far), PsiReference(far.V1, far.V2, s->freq.K, 0, GaussLegendre(8), 400)), 1e-3);
    // Near, on a second wire beside the first (pulse 4 on wire 2).
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
    EXPECT_LT(RelativeError(Result(kn), PsiReference(kn.V1, kn.V2, s->freq.K, a, GaussLegendre(8), 1)), 2e-5);
    t.J2[2][1] = 1;  // end 1 of wire 2 now touches wire 1: the exact kernel applies
    t.J2[1][2] = 1;
    PsiIntegral(*s, kn);
    EXPECT_NE(kn.C, 0.0f);
}

TEST(GaussTable, EachRuleIntegratesItsPolynomialsExactly) {
    // An n-point rule on [0, 1] is exact up to degree 2n - 1; the table
    // holds the pairs q, w for the points 1/2 + q and 1/2 - q.
    for (const auto& [first, points] : {std::pair{1, 2}, std::pair{3, 4}, std::pair{7, 8}}) {
        for (int degree = 0; degree < 2 * points; ++degree) {
            double sum = 0;
            for (int l = first; l < first + points; l += 2)
                sum += kGaussTable[l + 1] * (std::pow(0.5 + kGaussTable[l], degree) + std::pow(0.5 - kGaussTable[l], degree));
            EXPECT_NEAR(sum, 1.0 / (degree + 1), 2e-7) << points << " points, degree " << degree;
        }
    }
}

}  // namespace
}  // namespace qw
