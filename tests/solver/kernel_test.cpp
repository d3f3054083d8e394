// The integrals of the thin-wire kernel (rule choice, closed-form and
// exact self terms, the thin-wire limit) against double-precision quadrature.
#include "solver/kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <numbers>
#include <tuple>

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
    t.NW = 1, t.N = 4, t.A[1] = a, t.S[1] = seg, t.CA[1] = 1;
    t.J2[1] = {0, -1, -1};
    for (int i = 1; i <= 4; ++i) t.W[i] = 1, t.C[i] = {0, 1, 1};
    for (int p = 1; p <= 6; ++p) t.X[p] = static_cast<float>(p - 1) * seg;
}

cd Result(const Kernel& k) { return {k.T1, k.T2}; }

double RelativeError(cd value, cd reference) { return std::abs(value - reference) / std::abs(reference); }

// Integral of e^(-jkR)/R along the straight interval of k (V1 to V2,
// relative to the observation point) by the n-point rule on `panels` panels,
// R the distance or, with radius a, the distance to the surface sqrt(r^2 + a^2).
cd PsiReference(const Kernel& kn, double k, double a, int points = 8, int panels = 1) {
    const auto &v1 = kn.V1, &v2 = kn.V2;
    auto at = [&](int c, double u) { return v1[c] + u * (double(v2[c]) - v1[c]); };
    auto f = [&](double u) {
        const double r = std::sqrt(a * a + at(0, u) * at(0, u) + at(1, u) * at(1, u) + at(2, u) * at(2, u));
        return std::exp(cd(0, -k * r)) / r;
    };
    const double length = std::hypot(double(v2[0]) - v1[0], double(v2[1]) - v1[1], double(v2[2]) - v1[2]);
    return Integrate(f, 0, 1, GaussLegendre(points), panels) * length;
}

// Pulses i, j; observation index p1, interval p2..p3 (doubled indices).
Kernel Term(int i, int j, int p1, int p2, int p3) {
    Kernel k;
    k.I = i, k.J = j;
    k.P1 = p1, k.P2 = p2, k.P3 = p3, k.P4 = 1;
    return k;
}

// A whole segment (doubled indices 2..4, one segment length) from v1 to v2.
Kernel Interval(std::array<float, 3> v1, std::array<float, 3> v2) {
    Kernel k = Term(0, 0, 0, PointIndex(1), PointIndex(2));
    k.V1 = v1, k.V2 = v2;
    return k;
}

TEST(PsiIntegral, RuleFollowsDistanceWithTiesKeepingTheFinerRule) {
    // Unit segments a wavelength long, end-on to the observation point: the
    // phase turns once along the interval, so the 2-, 4- and 8-point rules
    // give clearly different values.
    auto s = UnitWavelength();
    StraightWire(*s, 1.0f, 1e-6f);
    // T = 10.1, 10 and 6: the tie at 10 keeps 4 points, the tie at 6 keeps 8.
    for (const auto& [near, points] : {std::pair{4.55f, 2}, std::pair{4.5f, 4}, std::pair{2.5f, 8}}) {
        Kernel kn = Interval({near, 0, 0}, {near + 1, 0, 0});
        PsiIntegral(*s, kn);
        for (int n : {2, 4, 8}) {
            const double err = RelativeError(Result(kn), PsiReference(kn, s->freq.K, 0, n));
            if (n == points)
                EXPECT_LT(err, 2e-5) << "T = " << 2 * near + 1 << ", " << n << " points";
            else
                EXPECT_GT(err, 1e-3) << "T = " << 2 * near + 1 << " should not use " << n << " points";
        }
    }
}

// Complete elliptic integral of the first kind K(m), by the arithmetic-
// geometric mean, from k' = sqrt(1 - m) (accurate as m approaches 1).
double EllipticKReference(double kPrime) {
    double a = 1, b = kPrime;
    for (int i = 0; i < 40; ++i) std::tie(a, b) = std::pair{(a + b) / 2, std::sqrt(a * b)};
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
    EXPECT_LT(RelativeError(Result(v), PsiReference(v, s->freq.K, 0)), 2e-5);
    Kernel sc = Term(1, 1, MidpointIndex(2), PointIndex(2), PointIndex(3));
    ScalarPsi(*s, sc);  // thin for the scalar potential: the closed form
    EXPECT_EQ(sc.C, 0.0f);
    EXPECT_EQ(sc.T1, 2.0f * std::log(seg / srm));
}

TEST(PsiIntegral, ThickWiresThatDoNotTouchUseTheDistanceToTheSurface) {
    auto s = UnitWavelength();
    const float seg = 0.05f, a = 0.004f;
    StraightWire(*s, seg, a);
    PulseTable& t = s->pulses;
    // Near, on a second wire beside the first (pulse 4 on wire 2): plain
    // quadrature to the surface, not the axis.
    t.NW = 2, t.A[2] = a, t.S[2] = seg, t.W[4] = 2;
    t.J2[2] = {0, -2, -2};
    Kernel kn = Interval({-seg / 2, 0.005f, 0}, {seg / 2, 0.005f, 0});
    kn.I = 1, kn.J = 4;
    PsiIntegral(*s, kn);
    EXPECT_EQ(kn.C, 0.0f);
    EXPECT_LT(RelativeError(Result(kn), PsiReference(kn, s->freq.K, a)), 2e-5);
    EXPECT_GT(RelativeError(Result(kn), PsiReference(kn, s->freq.K, 0, 8, 400)), 1e-3);
    t.J2[2][1] = 1;  // end 1 of wire 2 now touches wire 1: the exact kernel applies
    t.J2[1][2] = 1;
    PsiIntegral(*s, kn);
    EXPECT_NE(kn.C, 0.0f);
}

}  // namespace
}  // namespace qw
