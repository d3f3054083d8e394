// The model-quality report: each finding on a structure made to show it,
// line for line, at 29.98 MHz (a wavelength of 10 m).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_quality.h"

namespace qw {
namespace {

using Lines = std::vector<std::string>;

struct Model {
    Project p;
    explicit Model(float frequency = 29.98f) { p.Frequency = frequency; }
    Model& Wire(float x1, float y1, float z1, float x2, float y2, float z2, int segments, float radius) {
        qw::Wire& w = p.Wires[++p.WireCount];
        w.X1 = x1, w.Y1 = y1, w.Z1 = z1, w.X2 = x2, w.Y2 = y2, w.Z2 = z2;
        w.Segments = segments;
        w.Radius = radius;
        return *this;
    }
};

TEST(ModelQuality, AWellMadeDipoleHasNoFindings) {
    Model m;
    m.Wire(0, -2.5f, 5, 0, 2.5f, 5, 11, 0.001f);
    EXPECT_EQ(ModelQualityFindings(m.p), Lines{});
    EXPECT_EQ(ModelQualityReport(m.p), (Lines{"Model check at 29.980 MHz (wavelength 10.000 m), 1 wires:", "No findings."}));
    EXPECT_EQ(ModelQualitySummary(m.p), "Model check: no findings");
}

TEST(ModelQuality, SegmentLengthsAgainstTheWavelength) {
    Model m;
    m.Wire(0, 0, 0, 3, 0, 0, 2, 0.001f)         // 1.5 m segments
        .Wire(0, 1, 0, 0.05f, 1, 0, 10, 0.0001f)  // 5 mm segments
        .Wire(0, 2, 0, 1, 2, 0, 10, 0.001f);     // 0.1 m: the tenth itself is not too long
    EXPECT_EQ(ModelQualityFindings(m.p),
              (Lines{"Wire # 1: segments of 1.500 m are longer than a tenth of the wavelength (1.000 m)",
                     "Wire # 2: segments of 0.005 m are shorter than a thousandth of the wavelength (0.010 m)"}));
}

TEST(ModelQuality, WithoutAFrequencyOnlyTheGeometryIsChecked) {
    Model m(0);
    m.Wire(0, 0, 0, 3, 0, 0, 2, 0.001f).Wire(0, 2, 0, 1, 2, 0, 10, 0.03f);
    EXPECT_EQ(ModelQualityReport(m.p),
              (Lines{"Model check without a frequency (the wavelength checks are left out), 2 wires:",
                     "Wire # 2: segments of 0.100 m are shorter than 4 wire radii (0.120 m), beyond the thin-wire limit"}));
}

TEST(ModelQuality, JoinedWiresOfUnlikeSegmentsOrDiameters) {
    Model m;
    m.Wire(0, 0, 0, 1, 0, 0, 10, 0.001f)    // 0.1 m segments
        .Wire(1, 0, 0, 1, 0, 0.9f, 1, 0.001f)  // joined at its end 1: 0.9 m, 9 times longer
        .Wire(0, 0, 0, 0, 0, -0.5f, 5, 0.01f)  // joined end to end 1 of wire 1: 10 times thicker
        .Wire(2, 0, 0, 1, 0, 0, 10, 0.0004f);  // joined to wires 1 and 2: unlike wire 2's segments only
    EXPECT_EQ(ModelQualityFindings(m.p),
              (Lines{"Wires # 1 and # 2 join with segments of 0.100 m and 0.900 m, more than 5 times apart",
                     "Wires # 1 and # 3 join with diameters of 0.002 m and 0.020 m, more than 5 times apart",
                     "Wires # 2 and # 4 join with segments of 0.900 m and 0.100 m, more than 5 times apart"}));
}

TEST(ModelQuality, WiresThatCrossWithoutAJoint) {
    Model m;
    m.Wire(-1, 0, 1, 1, 0, 1, 10, 0.001f)         // along x
        .Wire(0, -1, 1, 0, 1, 1, 10, 0.001f)      // along y through its middle
        .Wire(0.5f, -1, 1.01f, 0.5f, 1, 1.01f, 10, 0.001f)  // 1 cm above wire 1: clear of it
        .Wire(-0.5f, -1, 1.0015f, -0.5f, 1, 1.0015f, 10, 0.001f);  // 1.5 mm above: the wires touch
    EXPECT_EQ(ModelQualityFindings(m.p), (Lines{"Wires # 1 and # 2 cross or touch without a joint",
                                                "Wires # 1 and # 4 cross or touch without a joint"}));
}

TEST(ModelQuality, TheSummaryShowsThreeFindingsAndCountsTheRest) {
    Model m;
    for (int i = 0; i < 4; ++i) m.Wire(0, static_cast<float>(i), 0, 3, static_cast<float>(i), 0, 2, 0.001f);
    const std::string one = "Wire # 1: segments of 1.500 m are longer than a tenth of the wavelength (1.000 m)";
    EXPECT_EQ(ModelQualitySummary(m.p),
              "Model check: 4 findings: " + one + "; Wire # 2" + one.substr(8) + "; Wire # 3" + one.substr(8) +
                  "; and 1 more");
    Model single;
    single.Wire(0, 0, 0, 3, 0, 0, 2, 0.001f);
    EXPECT_EQ(ModelQualitySummary(single.p), "Model check: 1 finding: " + one);
}

}  // namespace
}  // namespace qw
