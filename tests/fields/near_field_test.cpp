// The near fields against independent values (the boundary conditions of
// perfect ground; cli_fields.sh checks the far-field limit and E / H),
// exact lines of the report, the points on a wire, and cancel and Stop.
#include "fields/near_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <optional>

#include "model/format_mask.h"
#include "support/solved_antenna.h"

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

// Runs the command with the dialog answered by `request` (none: cancelled);
// the points listed.
std::vector<NearFieldPoint> RunNear(SolvedAntenna& a, std::optional<NearFieldRequest> request,
                                    LineEcho echo = nullptr) {
    a.host.nearFieldAnswers.push_back(request);
    std::vector<NearFieldPoint> points;
    NearFieldOutput out;
    out.logEcho = std::move(echo);
    out.point = [&](const NearFieldPoint& p) { points.push_back(p); };
    Conclude(a.ctx, ComputeNearField(a.ctx, out));  // as the command shows its note
    return points;
}

Cf Component(const FieldVector& f, int c) { return {f.re[c], f.im[c]}; }

float Length(const FieldVector& f) {
    return std::sqrt(std::norm(Component(f, 0)) + std::norm(Component(f, 1)) + std::norm(Component(f, 2)));
}

TEST(NearFieldRows, PeakOverOneCycleAndPhases) {
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
    const FieldVector e = ElectricFieldAt(s, true, 0.4f, 0.2f, 0);
    EXPECT_LT(std::abs(Component(e, 0)), 1e-3f * Length(e));
    EXPECT_LT(std::abs(Component(e, 1)), 1e-3f * Length(e));
    const FieldVector h = MagneticCurlAt(s, true, 0.4f, 0.2f, 0);
    EXPECT_LT(std::abs(Component(h, 2)), 1e-3f * Length(h));
    // Without the image the tangential field is there.
    const FieldVector free = ElectricFieldAt(s, false, 0.1f, 0.2f, 0);
    EXPECT_GT(std::abs(Component(free, 0)), 0.3f * Length(free));
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

    // cli_fields.sh checks the heading and the layout of the rows; here the
    // values of one component row and the peak.
    auto value = [](float v) { return Format(v, " 0.000E+00;-0.000E+00"); };
    const FieldRow& z = p.rows[2];
    ASSERT_EQ(echoed.size(), 11u);
    EXPECT_EQ(echoed[9], Padded("   Z  ", 14) + Padded(value(z.re), 14) + Padded(value(z.im), 14) +
                             Padded(value(z.magnitude), 14) + value(z.phase));
    EXPECT_EQ(echoed[10], Padded("MAXIMUM OR PEAK FIELD = ", 28) + Padded(value(p.peak), 14) + " V/M ");
    EXPECT_EQ(FileLines(dir.File("q.log")).back(), echoed[10]);
}

TEST(ComputeNearField, CancelledOrStopped) {
    {  // Cancelled dialog: nothing written.
        SolvedAntenna a;
        HalfWaveDipole(a);
        std::vector<std::string> echoed;
        EXPECT_TRUE(RunNear(a, std::nullopt, [&](const std::string& l) { echoed.push_back(l); }).empty());
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
    // The feed point itself, a point inside the wire (radius 1 mm) and two
    // outside it. cli_fields.sh checks the skipped lines.
    NearFieldRequest r = PointRequest(0, 0, 0);
    r.StepX = 0.0006f;
    r.CountX = 4;
    EXPECT_EQ(RunNear(a, r).size(), 2u);
    EXPECT_EQ(a.host.MessageTexts(),
              std::vector<std::string>{"2 field points lie on a wire, where the fields are not defined, and were "
                                       "skipped (the first: X = 0 Y = 0 Z = 0 on wire 1)."});

    // A single point on a break point of the wire, magnetic field.
    SolvedAntenna b;
    HalfWaveDipole(b);
    EXPECT_TRUE(RunNear(b, PointRequest(0, 0, 0.25f, false)).empty());
    EXPECT_EQ(b.host.MessageTexts(),
              std::vector<std::string>{"The field point X = 0 Y = 0 Z = 0.25 lies on wire 1, where the fields are "
                                       "not defined; it was skipped."});
}

TEST(ComputeNearField, PointOnAWireImageIsSkipped) {
    SolvedAntenna a;
    a.PerfectGround();
    a.Wire(10, -0.25f, 0, 0.3f, 0.25f, 0, 0.3f);
    a.Source(5);
    a.Build();
    EXPECT_EQ(WireAtPoint(a.St(), true, 0.1f, 0, -0.3f), 1);
    EXPECT_EQ(WireAtPoint(a.St(), false, 0.1f, 0, -0.3f), 0);
    EXPECT_EQ(WireAtPoint(a.St(), true, 0.1f, 0.0011f, 0.3f), 0);  // just outside the radius
    EXPECT_EQ(WireAtPoint(a.St(), true, 0.26f, 0, 0.3f), 0);        // beyond the end
    EXPECT_TRUE(RunNear(a, PointRequest(0.1f, 0, -0.3f)).empty());
    EXPECT_EQ(a.host.messages.size(), 1u);

    // A vertical standing on perfect ground: the foot and a point up the
    // wire are skipped, the two beside it have finite, non-zero fields.
    SolvedAntenna v;
    v.PerfectGround();
    v.Wire(10, 0, 0, 0, 0, 0, 0.25f);
    v.Source(1);
    v.Build();
    NearFieldRequest grid = PointRequest(0, 0, 0);
    grid.StepX = grid.StepZ = 0.1f;
    grid.CountX = grid.CountZ = 2;
    const auto points = RunNear(v, grid);
    ASSERT_EQ(points.size(), 2u);
    for (const NearFieldPoint& p : points) {
        EXPECT_EQ(p.x, 0.1f);
        EXPECT_TRUE(std::isfinite(p.peak) && p.peak > 0) << p.z;
    }
    EXPECT_EQ(v.host.MessageTexts(),
              std::vector<std::string>{"2 field points lie on a wire, where the fields are not defined, and were "
                                       "skipped (the first: X = 0 Y = 0 Z = 0 on wire 1)."});
}

}  // namespace
}  // namespace qw
