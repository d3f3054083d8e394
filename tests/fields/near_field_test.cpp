// The near fields against independent values (the far-field limit, the
// wave impedance, image theory), the exact lines of the report, the
// points on a wire, and cancel and Stop.
#include "fields/near_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "support/solved_antenna.h"
#include "model/number_text.h"

namespace qw {
namespace {

using test::FileLines;
using test::Padded;
using test::SolvedAntenna;
using Cf = std::complex<float>;

// A half-wave dipole along z, centred on the origin, fed at its centre.
void HalfWaveDipole(SolvedAntenna& a) {
    a.Wire(20, 0, 0, -0.25f, 0, 0, 0.25f);
    a.Source(10);
    a.Build();
}

NearFieldRequest PointRequest(float x, float y, float z, bool electric = true) {
    NearFieldRequest r;
    r.ElectricField = electric;
    r.StartX = x;
    r.StartY = y;
    r.StartZ = z;
    r.CountX = r.CountY = r.CountZ = 1;
    return r;
}

// Runs the command with the dialog answered by `request`; the points listed.
std::vector<NearFieldPoint> RunNear(SolvedAntenna& a, const NearFieldRequest& request, LineEcho echo = nullptr) {
    a.host.nearFieldAnswers.push_back(request);
    std::vector<NearFieldPoint> points;
    NearFieldOutput out;
    out.logEcho = std::move(echo);
    out.point = [&](const NearFieldPoint& p) { points.push_back(p); };
    ComputeNearField(a.ctx, out);
    return points;
}

Cf Component(const FieldVector& f, int c) { return {f.re[c], f.im[c]}; }
Cf Component(const NearFieldPoint& p, int c) { return {p.rows[c].re, p.rows[c].im}; }

float Length(const FieldVector& f) {
    return std::sqrt(std::norm(Component(f, 0)) + std::norm(Component(f, 1)) + std::norm(Component(f, 2)));
}

TEST(NearFieldRows, PeakOverOneCycleAndPhases) {
    // Circular polarisation: the field turns at constant length 1. A
    // component with no real part is at 90 degrees (a phase of 0 for it
    // would give a peak of sqrt 2).
    FieldVector quadrature;
    quadrature.re = {0, 1, 0};
    quadrature.im = {1, 0, 0};
    const NearFieldPoint q = NearFieldRows(quadrature, 1);
    EXPECT_FLOAT_EQ(q.rows[0].phase, 90);
    EXPECT_NEAR(q.peak, 1, 1e-6);
    // Scaled values, unscaled phases; |E(t)|^2 = 3 + sin 2wt - 2 cos 2wt,
    // at most 3 + sqrt 5.
    FieldVector f;
    f.re = {-1, 0, 0};
    f.im = {1, 0, -2};
    const NearFieldPoint p = NearFieldRows(f, 10);
    EXPECT_NEAR(p.rows[0].magnitude, 14.142136f, 1e-5);
    EXPECT_NEAR(p.rows[0].phase, 135, 1e-4);
    EXPECT_EQ(p.rows[1].phase, 0);
    EXPECT_FLOAT_EQ(p.rows[2].phase, -90);
    EXPECT_NEAR(p.peak, 10 * std::sqrt(3 + std::sqrt(5.0f)), 1e-4);
}

TEST(NearFieldPhysics, FarFromADipoleTheFieldFallsOffAsOneOverR) {
    SolvedAntenna a;
    HalfWaveDipole(a);
    const SolverState& s = a.St();
    // Peak values: |E| r = sqrt(60 P G), G = 1.64 broadside.
    const float expected = std::sqrt(60 * s.Pin * 1.64f);
    for (float r : {5.0f, 20.0f}) {
        const FieldVector e = ElectricFieldAt(s, false, r, 0, 0);
        EXPECT_NEAR(Length(e) * r / expected, 1, 0.03) << r;
        // Polarised along the dipole.
        EXPECT_LT(std::abs(Component(e, 0)), 0.02f * std::abs(Component(e, 2))) << r;
        EXPECT_LT(std::abs(Component(e, 1)), 0.02f * std::abs(Component(e, 2))) << r;
    }
    // The phase lags by 90 degrees over a quarter wavelength outwards.
    const Cf e1 = Component(ElectricFieldAt(s, false, 10, 0, 0), 2);
    const Cf e2 = Component(ElectricFieldAt(s, false, 10.25f, 0, 0), 2);
    EXPECT_NEAR(std::arg(e2 / e1) * 180 / 3.14159265f, -90, 3);
}

TEST(NearFieldPhysics, ObliqueDirectionHasTheFarFieldPattern) {
    SolvedAntenna a;
    HalfWaveDipole(a);
    const SolverState& s = a.St();
    // At 45 degrees from the axis, 20 wavelengths out: transverse (the
    // radial part falls off as 1/(kr) against it), and the half-wave
    // pattern cos(pi/2 cos theta) / sin theta.
    const float r = 20, c = std::sqrt(0.5f);
    const FieldVector e = ElectricFieldAt(s, false, r * c, 0, r * c);
    const Cf radial = Component(e, 0) * c + Component(e, 2) * c;
    EXPECT_LT(std::abs(radial), 0.02f * Length(e));
    const float pattern = std::cos(3.14159265f / 2 * c) / c;
    EXPECT_NEAR(Length(e) * r / (std::sqrt(60 * s.Pin * 1.64f) * pattern), 1, 0.03);
    // The dipole is symmetric about its equator.
    const FieldVector below = ElectricFieldAt(s, false, r * c, 0, -r * c);
    EXPECT_NEAR(Length(below) / Length(e), 1, 1e-3);
}

TEST(NearFieldPhysics, FarAwayEOverHIsTheWaveImpedance) {
    SolvedAntenna a;
    HalfWaveDipole(a);
    const auto e = RunNear(a, PointRequest(10, 0, 0, true));
    const auto h = RunNear(a, PointRequest(10, 0, 0, false));
    ASSERT_EQ(e.size(), 1u);
    ASSERT_EQ(h.size(), 1u);
    EXPECT_NEAR(e[0].peak / h[0].peak, 377, 0.02 * 377);
    // H circles the wire (along y here), and E x H* points outwards.
    EXPECT_LT(h[0].rows[0].magnitude, 0.02f * h[0].rows[1].magnitude);
    EXPECT_LT(h[0].rows[2].magnitude, 0.02f * h[0].rows[1].magnitude);
    const Cf ez = Component(e[0], 2), hy = Component(h[0], 1);
    const Cf flow = -ez * std::conj(hy);  // x part of E x H*: Ey Hz* - Ez Hy*
    EXPECT_GT(flow.real(), 0.98f * std::abs(ez) * std::abs(hy));
}

TEST(NearFieldPhysics, PerfectGroundLeavesNoTangentialE) {
    // A horizontal dipole a quarter wavelength over perfect ground: at the
    // ground plane the electric field is normal to it and the magnetic
    // field tangential.
    SolvedAntenna a;
    a.PerfectGround();
    a.Wire(20, -0.25f, 0, 0.25f, 0.25f, 0, 0.25f);
    a.Source(10);
    a.Build();
    const SolverState& s = a.St();
    for (float x : {0.1f, 0.4f}) {
        const FieldVector e = ElectricFieldAt(s, true, x, 0.2f, 0);
        EXPECT_LT(std::abs(Component(e, 0)), 1e-3f * Length(e)) << x;
        EXPECT_LT(std::abs(Component(e, 1)), 1e-3f * Length(e)) << x;
        const FieldVector h = MagneticCurlAt(s, true, x, 0.2f, 0);
        EXPECT_LT(std::abs(Component(h, 2)), 1e-3f * Length(h)) << x;
    }
    // Without the image the tangential field is there.
    const FieldVector free = ElectricFieldAt(s, false, 0.1f, 0.2f, 0);
    EXPECT_GT(std::abs(Component(free, 0)), 0.3f * Length(free));
}

TEST(NearFieldPhysics, MonopoleOnGroundIsHalfTheDipoleWithItsImage) {
    // Per ampere of feed current, a quarter-wave monopole on perfect ground
    // has above the ground the field of the half-wave dipole in free space.
    SolvedAntenna dipole;
    HalfWaveDipole(dipole);
    SolvedAntenna monopole;
    monopole.PerfectGround();
    monopole.Wire(10, 0, 0, 0, 0, 0, 0.25f);
    monopole.Source(1);
    monopole.Build();
    ASSERT_TRUE(monopole.St().pulses.IsGroundPulse(1));
    const Cf iDipole = {dipole.St().CR[10], dipole.St().CI[10]};
    const Cf iMonopole = {monopole.St().CR[1], monopole.St().CI[1]};
    for (const auto& p : {std::array<float, 3>{0.6f, 0, 0.2f}, std::array<float, 3>{0.3f, 0.4f, 0.5f}}) {
        const FieldVector d = ElectricFieldAt(dipole.St(), false, p[0], p[1], p[2]);
        const FieldVector m = ElectricFieldAt(monopole.St(), true, p[0], p[1], p[2]);
        for (int c = 0; c < 3; ++c)
            EXPECT_LT(std::abs(Component(m, c) / iMonopole - Component(d, c) / iDipole),
                      0.03f * Length(d) / std::abs(iDipole))
                << p[0] << " " << p[2] << " component " << c;
    }
}

TEST(ComputeNearField, LogBlockOfOnePoint) {
    test::TempDir dir;
    SolvedAntenna a;
    HalfWaveDipole(a);
    ASSERT_TRUE(a.ctx.log.Open(dir.File("q.log")));
    std::vector<std::string> echoed;
    const auto points = RunNear(a, PointRequest(1, 0, 0.5f), [&](const std::string& l) { echoed.push_back(l); });
    ASSERT_FALSE(a.ctx.AbortFlag);
    ASSERT_EQ(points.size(), 1u);
    const NearFieldPoint& p = points[0];

    auto value = [](float v) { return Format(v, " 0.000E+00;-0.000E+00"); };
    auto row = [&](const char* label, const FieldRow& r) {
        return Padded(label, 14) + Padded(value(r.re), 14) + Padded(value(r.im), 14) + Padded(value(r.magnitude), 14) +
               value(r.phase);
    };
    const std::vector<std::string> expected = {
        "======================================",
        "File : test.qlk NEAR ELECTRIC FIELDS  ",
        "  NEAR ELECTRIC FIELDS",
        "",
        "FIELD POINT: X =  1  Y =  0  Z =  .5 ",
        "  VECTOR      REAL          IMAGINARY     MAGNITUDE     PHASE",
        " COMPONENT     V/M           V/M           V/M           DEG",
        row("   X  ", p.rows[0]),
        row("   Y  ", p.rows[1]),
        row("   Z  ", p.rows[2]),
        Padded("MAXIMUM OR PEAK FIELD = ", 28) + Padded(value(p.peak), 14) + " V/M ",
    };
    EXPECT_EQ(echoed, expected);
    // The log holds the same lines after the source report (flushed at the end).
    const auto log = FileLines(dir.File("q.log"));
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.end() - expected.size(), log.end()), expected);
}


TEST(ComputeNearField, CountsCompletedAndProgressPerGridLine) {
    SolvedAntenna a;
    HalfWaveDipole(a);
    NearFieldRequest r = PointRequest(1, 2, 3);
    r.StepX = 0.5f;
    r.StepZ = -1;
    r.CountX = 2;
    r.CountY = 0;  // counts as 1
    r.CountZ = 2;
    EXPECT_EQ(RunNear(a, r).size(), 4u);
    EXPECT_EQ(a.ctx.nearField.CountY, 1);
    // Progress at the start and after each of the two grid lines.
    const std::vector<double> progress(a.host.progress.end() - 3, a.host.progress.end());
    EXPECT_EQ(progress, (std::vector<double>{0, 0.5, 1}));
}

TEST(ComputeNearField, CancelledOrStopped) {
    {  // Cancelled dialog: nothing written.
        SolvedAntenna a;
        HalfWaveDipole(a);
        a.host.nearFieldAnswers.push_back(std::nullopt);
        std::vector<std::string> echoed;
        ComputeNearField(a.ctx, {[&](const std::string& l) { echoed.push_back(l); }, nullptr});
        EXPECT_TRUE(a.ctx.AbortFlag);
        EXPECT_TRUE(echoed.empty());
    }
    {  // Stop after the first grid line: its points stay, the rest is not computed.
        SolvedAntenna a;
        HalfWaveDipole(a);
        a.host.stopAfterProgressCalls = static_cast<int>(a.host.progress.size()) + 2;
        NearFieldRequest r = PointRequest(1, 0, 0);
        r.CountX = 3;
        r.CountY = 4;
        const auto points = RunNear(a, r);
        EXPECT_TRUE(a.ctx.AbortFlag);
        EXPECT_EQ(points.size(), 3u);
        EXPECT_EQ(a.host.status[1], "");
    }
}

TEST(ComputeNearField, PointOnAWireIsSkippedWithAMessage) {
    SolvedAntenna a;
    HalfWaveDipole(a);
    // The feed point itself, a point inside the wire (radius 1 mm) and one
    // just outside it.
    NearFieldRequest r = PointRequest(0, 0, 0);
    r.StepX = 0.0006f;
    r.CountX = 4;
    std::vector<std::string> echoed;
    const auto points = RunNear(a, r, [&](const std::string& l) { echoed.push_back(l); });
    EXPECT_FALSE(a.ctx.AbortFlag);
    ASSERT_EQ(points.size(), 2u);
    for (const auto& p : points) EXPECT_TRUE(std::isfinite(p.peak));
    EXPECT_EQ(echoed[4], "FIELD POINT: X =  0  Y =  0  Z =  0 ");
    EXPECT_EQ(echoed[5], "POINT LIES ON WIRE 1 - SKIPPED");
    ASSERT_EQ(a.host.messages.size(), 1u);
    EXPECT_EQ(a.host.messages[0].text,
              "2 field points lie on a wire, where the fields are not defined, and were skipped (the first: "
              "X = 0 Y = 0 Z = 0 on wire 1).");
    EXPECT_EQ(a.host.messages[0].title, "Near Field");

    // A single point on a break point of the wire, magnetic field.
    SolvedAntenna b;
    HalfWaveDipole(b);
    EXPECT_TRUE(RunNear(b, PointRequest(0, 0, 0.25f, false)).empty());
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].text,
              "The field point X = 0 Y = 0 Z = 0.25 lies on wire 1, where the fields are not defined; it was skipped.");
}

TEST(ComputeNearField, PointOnAWireImageIsSkipped) {
    SolvedAntenna a;
    a.PerfectGround();
    a.Wire(10, -0.25f, 0, 0.3f, 0.25f, 0, 0.3f);
    a.Source(5);
    a.Build();
    EXPECT_EQ(WireAtPoint(a.St(), true, 0.1f, 0, -0.3f), 1);
    EXPECT_EQ(WireAtPoint(a.St(), false, 0.1f, 0, -0.3f), 0);
    EXPECT_EQ(WireAtPoint(a.St(), true, 0.1f, 0.0009f, 0.3f), 1);
    EXPECT_EQ(WireAtPoint(a.St(), true, 0.1f, 0.0011f, 0.3f), 0);
    EXPECT_EQ(WireAtPoint(a.St(), true, 0.26f, 0, 0.3f), 0);  // beyond the end
    EXPECT_TRUE(RunNear(a, PointRequest(0.1f, 0, -0.3f)).empty());
    EXPECT_EQ(a.host.messages.size(), 1u);
}

}  // namespace
}  // namespace qw
