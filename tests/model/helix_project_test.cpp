// The helix generator's projects: wires against a helix computed here on
// its own (radius, rise per turn, turns, handedness), the feed and the
// radials, the refusals, and the written file read back.
#include <gtest/gtest.h>

#include <cmath>

#include "model/helix_project.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"

namespace qw {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The point at turn fraction t of a helix of radius r rising s per turn,
// wound right-handed (counter-clockwise seen from +z) or left-handed.
void HelixPoint(double t, double r, double s, bool left, double& x, double& y, double& z) {
    x = r * std::cos(2 * kPi * t);
    y = (left ? -1 : 1) * r * std::sin(2 * kPi * t);
    z = s * t;
}

void ExpectHelix(const Project& p, int firstWire, const HelixDesign& d, double lift, double tol) {
    const int segments = static_cast<int>(std::lround(d.turns * d.segmentsPerTurn));
    for (int k = 0; k < segments; ++k) {
        const Wire& w = p.Wires[firstWire + k];
        double x, y, z, x2, y2, z2;
        HelixPoint(static_cast<double>(k) / d.segmentsPerTurn, d.diameter / 2, d.spacing, d.leftHanded, x, y, z);
        HelixPoint(static_cast<double>(k + 1) / d.segmentsPerTurn, d.diameter / 2, d.spacing, d.leftHanded, x2, y2, z2);
        SCOPED_TRACE("helix segment " + std::to_string(k + 1));
        EXPECT_NEAR(w.X1, x, tol);
        EXPECT_NEAR(w.Y1, y, tol);
        EXPECT_NEAR(w.Z1, z + lift, tol);
        EXPECT_NEAR(w.X2, x2, tol);
        EXPECT_NEAR(w.Y2, y2, tol);
        EXPECT_NEAR(w.Z2, z2 + lift, tol);
        EXPECT_EQ(w.Segments, 1);
        EXPECT_NEAR(w.Radius, d.wireDiameter / 2, 1e-9);
    }
}

TEST(HelixProject, AFreeHelixRightAndLeftHanded) {
    HelixDesign d;
    d.turns = 3;
    d.diameter = 0.2;
    d.spacing = 0.05;
    d.segmentsPerTurn = 6;
    for (const bool left : {false, true}) {
        d.leftHanded = left;
        ASSERT_EQ(HelixDesignProblem(d), "");
        const Project p = HelixProject(d);
        EXPECT_EQ(p.WireCount, 18);
        ExpectHelix(p, 1, d, 0, 1e-6);
        EXPECT_EQ(p.Env.GroundPresent, kFreeSpace);
        // 18 wires joined end to end: 17 pulses, the source on the first.
        EXPECT_EQ(p.PulseCount, 17);
        EXPECT_EQ(p.SourceCount, 1);
        EXPECT_EQ(p.Sources[1].Pulse, 1);
        // Circumference 0.6283 m: one wavelength at 299.8 / 0.6283 MHz.
        EXPECT_NEAR(p.Frequency, 299.8 / (kPi * 0.2), 1e-3);
    }
    // A left-handed turn goes clockwise seen from above: y falls first.
    d.leftHanded = true;
    EXPECT_LT(HelixProject(d).Wires[1].Y2, 0);
    d.leftHanded = false;
    EXPECT_GT(HelixProject(d).Wires[1].Y2, 0);
}

TEST(HelixProject, OverAGroundPlaneTheFeedRisesFromTheGround) {
    HelixDesign d;
    d.turns = 2.5;
    d.segmentsPerTurn = 8;
    d.diameter = 0.1;
    d.spacing = 0.08;
    d.base = HelixBase::kGroundPlane;
    d.frequency = 900;
    const Project p = HelixProject(d);
    ASSERT_EQ(p.WireCount, 21);
    EXPECT_EQ(p.Env.GroundPresent, kOverGround);
    EXPECT_EQ(p.Env.GroundKind, kPerfectGround);
    EXPECT_FLOAT_EQ(p.Frequency, 900);
    const Wire& feed = p.Wires[1];
    EXPECT_NEAR(feed.X1, 0.05, 1e-7);
    EXPECT_EQ(feed.Z1, 0);
    EXPECT_NEAR(feed.Z2, 0.04, 1e-7);  // half a turn's spacing
    ExpectHelix(p, 2, d, 0.04, 1e-6);
    // The feed's end on the ground carries pulse 1, where the source is.
    EXPECT_EQ(p.Sources[1].Pulse, 1);
    EXPECT_EQ(p.PulseCount, 21);
}

TEST(HelixProject, OverRadialsTheFirstRadialIsCutAtTheFeed) {
    HelixDesign d;
    d.turns = 2;
    d.segmentsPerTurn = 8;
    d.diameter = 0.1;
    d.spacing = 0.06;
    d.base = HelixBase::kRadials;
    d.radialCount = 4;
    d.radialLength = 0.2;
    const Project p = HelixProject(d);
    ASSERT_EQ(p.WireCount, 5 + 1 + 16);
    EXPECT_EQ(p.Env.GroundPresent, kFreeSpace);
    // Radials at 0, 90, 180 and 270 degrees from the axis, 0.2 m long.
    const double tips[4][2] = {{0.2, 0}, {0, 0.2}, {-0.2, 0}, {0, -0.2}};
    EXPECT_NEAR(p.Wires[1].X2, 0.05, 1e-7);
    EXPECT_NEAR(p.Wires[2].X1, 0.05, 1e-7);
    for (int k = 0; k < 4; ++k) {
        const Wire& w = p.Wires[k == 0 ? 2 : k + 2];
        SCOPED_TRACE("radial " + std::to_string(k + 1));
        EXPECT_NEAR(w.X2, tips[k][0], 1e-7);
        EXPECT_NEAR(w.Y2, tips[k][1], 1e-7);
        EXPECT_EQ(w.Z2, 0);
    }
    const Wire& feed = p.Wires[6];
    EXPECT_NEAR(feed.X1, 0.05, 1e-7);
    EXPECT_NEAR(feed.Z2, 0.03, 1e-7);
    ExpectHelix(p, 7, d, 0.03, 1e-6);
    // Radials: three pulses at the hub, one at the cut; the feed's foot,
    // joined to the first radial's inner piece, carries the next one.
    EXPECT_EQ(p.Sources[1].Pulse, 5);
}

TEST(HelixProject, DesignsThatCannotBeBuiltAreNamed) {
    HelixDesign d;
    d.turns = 10;
    d.segmentsPerTurn = 8;
    EXPECT_EQ(HelixDesignProblem(d),
              "The helix needs 80 wires (one per segment); the program takes at most 50. Give fewer turns, segments "
              "per turn or radials.");
    d.turns = 2;
    d.segmentsPerTurn = 2;
    EXPECT_EQ(HelixDesignProblem(d), "A turn needs at least 3 segments.");
    d.segmentsPerTurn = 8;
    d.spacing = 0;
    EXPECT_EQ(HelixDesignProblem(d), "The turn spacing must be above 0.");
    d.spacing = 0.05;
    d.base = HelixBase::kRadials;
    d.radialLength = 0.04;
    EXPECT_EQ(HelixDesignProblem(d), "The radials must reach past the helix (longer than its radius).");
    d.radialLength = 0.2;
    d.wireDiameter = 0.2;
    EXPECT_EQ(HelixDesignProblem(d), "The wire is thicker than the helix.");
}

TEST(HelixProject, TheWrittenFileReadsBackToTheSameWires) {
    HelixDesign d;
    d.turns = 3;
    d.segmentsPerTurn = 10;
    d.diameter = 0.035;
    d.spacing = 0.0123;
    d.wireDiameter = 0.001;
    d.leftHanded = true;
    d.base = HelixBase::kGroundPlane;
    d.units = kMillimeters;
    const std::string text = HelixProjectText(d);
    EXPECT_EQ(text.rfind("CM QUILLWORK helix generator\r\nCM 3.0 turns left-handed", 0), 0u) << text;
    ScriptedHost host;
    Context ctx(host);
    NewProject(ctx);
    ReadProjectText(ctx, text, false);
    ASSERT_FALSE(ctx.AbortFlag);
    const Project& p = ctx.project;
    EXPECT_EQ(p.Units, kMillimeters);
    EXPECT_EQ(p.Env.GroundPresent, kOverGround);
    ASSERT_EQ(p.WireCount, 31);
    ExpectHelix(p, 2, d, d.spacing / 2, 2e-6);
    EXPECT_EQ(p.SourceCount, 1);
    EXPECT_EQ(p.Sources[1].Pulse, 1);
    EXPECT_NEAR(p.Frequency, HelixProject(d).Frequency, 1e-3);
}

}  // namespace
}  // namespace qw
