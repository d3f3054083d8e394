// The polar plot's scales, grid, points, lobe scan and curves, drawn onto a
// recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/recording_canvas.h"
#include "plots/lobe_scan.h"
#include "plots/polar_plot.h"

namespace qw {
namespace {

ProgramOptions Options(int scale = 1, int minDb = -50, int gridStep = 10) {
    ProgramOptions o;
    o.PlotScale = scale;
    o.MinDb = minDb;
    o.GridStep = gridStep;
    return o;
}

TEST(PlotRadius, LogarithmicAndLinearScales) {
    const ProgramOptions log = Options(1), linear = Options(2, -30);
    EXPECT_FLOAT_EQ(PlotRadius(0.5f, 300, log), 300);  // above the maximum: the outer circle
    EXPECT_NEAR(PlotRadius(-60, 300, log), 300 * std::pow(0.95, 60), 1e-3);  // MinDb - GridStep itself is drawn
    EXPECT_FLOAT_EQ(PlotRadius(-60.5f, 300, log), 0);                          // beyond: the centre
    EXPECT_FLOAT_EQ(PlotRadius(-10, 300, linear), 200);  // two thirds of R
    EXPECT_FLOAT_EQ(PlotRadius(-30, 300, linear), 0);
    EXPECT_FLOAT_EQ(PlotRadius(-35, 300, linear), 0);  // between MinDb and MinDb - GridStep: the centre
}

TEST(PlotGrid, DownToIsRoundedToTheStepAndMadeNegative) {
    ProgramOptions o = Options();
    EXPECT_FALSE(SetPlotGrid(o, 10, 35).has_value());
    EXPECT_EQ(o.MinDb, -30);
    EXPECT_FALSE(SetPlotGrid(o, 6, -40).has_value());
    EXPECT_EQ(o.MinDb, -36);
    EXPECT_EQ(o.GridStep, 6);
    // Refused, the options unchanged: a loop without end or a division by zero.
    EXPECT_TRUE(SetPlotGrid(o, -5, 30).has_value());
    EXPECT_TRUE(SetPlotGrid(o, 10, 0).has_value());
    EXPECT_TRUE(SetPlotGrid(o, 10, 5).has_value());
    EXPECT_EQ(o.MinDb, -36);
    EXPECT_EQ(o.GridStep, 6);
}

TEST(PolarPoint, ZeroAtTheTopGrowingClockwiseRoundedDown) {
    const PolarGeometry g{320, 240, 210};
    EXPECT_EQ(PolarPoint(g, 100, 0), (PixelPoint{320, 140}));
    EXPECT_EQ(PolarPoint(g, 100, 90), (PixelPoint{420, 240}));
    EXPECT_EQ(PolarPoint(g, 100, 180), (PixelPoint{320, 340}));
    // sin of 180 degrees in single precision is just below 0: rounded down.
    EXPECT_EQ(PolarPoint(g, 100, 270), (PixelPoint{220, 239}));
    EXPECT_EQ(PolarPoint(g, 10, 45), (PixelPoint{327, 232}));  // 327.07, 232.93
}

// A synthetic azimuth cut, step 10, from a function of the display angle.
template <class F>
PatternCut Synthetic(F f, int plane = kAzimuthPlane) {
    PatternCut c;
    c.plane = plane;
    c.step = 10;
    c.span = plane == kAzimuthPlane ? 360 : 180;
    c.firstAngle = plane == kAzimuthPlane ? 0 : -90;
    c.maxGain = -1e9f;
    for (int q = 0; q <= c.span; q += c.step) {
        c.values[static_cast<std::size_t>(q)] = f(static_cast<float>(c.DisplayAngle(q)));
        c.maxGain = std::max(c.maxGain, c.values[static_cast<std::size_t>(q)]);
    }
    return c;
}

using Lines = std::vector<std::string>;

TEST(LobeScan, LobesTheirWidthsAndWhereTheyAreCounted) {
    const auto two = Synthetic([](float p) {
        return std::max({-0.2f * std::fabs(p - 90), -2 - 0.2f * std::fabs(p - 270), -30.0f});
    });
    EXPECT_EQ(ScanLobes(two), (Lines{" Lobe at : 90\xBA (BW:30\xBA)", " Lobe at : 270\xBA (BW:20\xBA)"}));
    // Only a beam open at the first angle wraps around it: twice the angle
    // where it closes.
    const auto atZero = Synthetic([](float p) { return -0.1f * std::min(p, 360 - p); });
    EXPECT_EQ(ScanLobes(atZero), (Lines{" Lobe at : 0\xBA (BW:60\xBA)"}));
    // A main beam closed inside the cut, then a minor lobe: no width for
    // the minor lobe (it never reached -3 dB).
    const auto minor = Synthetic([](float p) {
        return std::max({-0.1f * std::fabs(p - 90), -10 - 0.1f * std::fabs(p - 250), -40.0f});
    });
    EXPECT_EQ(ScanLobes(minor), (Lines{" Lobe at : 90\xBA (BW:60\xBA)", " Lobe at : 250\xBA "}));
    // Zenith lobes are reported from the horizon.
    const auto zenith = Synthetic([](float theta) { return -0.1f * std::fabs(theta - 30); }, kZenithPlane);
    EXPECT_EQ(ScanLobes(zenith), (Lines{" Lobe at : 60\xBA (BW:60\xBA)"}));
}

TEST(PolarDrawing, GridRingsSpokesAndLabels) {
    RecordingCanvas c(640, 640);
    const ProgramOptions o = Options(1, -50, 10);
    const PolarGeometry g = PolarGeometryOf(c);
    DrawPolarGrid(c, g, o, false);
    const auto ops = c.Ops();
    ASSERT_EQ(ops.front().kind, DrawKind::Clear);
    const auto circles = c.OpsOf(DrawKind::Circle, kBlack);
    const auto dotted = std::count_if(circles.begin(), circles.end(),
                                      [](const DrawOp& op) { return op.pen.style == LineStyle::Dotted; });
    EXPECT_EQ(circles.size(), 8u);  // outer, 0, -10 ... -50, and -3 dotted
    EXPECT_EQ(dotted, 1);
    EXPECT_DOUBLE_EQ(circles[0].x2, 290);
    EXPECT_NEAR(circles[2].x2, 290 * std::pow(0.95, 10), 1e-3);
    EXPECT_EQ(c.OpsOf(DrawKind::Line, kBlack).size(), 24u);
    std::vector<std::string> texts;
    for (const auto& op : c.OpsOf(DrawKind::Text, kBlack)) texts.push_back(op.text);
    EXPECT_EQ(texts, (Lines{"-10", "-20", "-30", "-40", "-50", "-3", "0", "30", "60", "90", "120", "150", "180",
                            "210", "240", "270", "300", "330"}));
}

TEST(PolarDrawing, CurveInBlueWithRedMinusThreeDbLines) {
    RecordingCanvas c(640, 640);
    ProgramOptions o = Options();
    o.Marker3dB = true;
    const PolarGeometry g = PolarGeometryOf(c);
    const auto cut = Synthetic([](float p) { return 5 - 0.1f * std::fabs(p - 90); });
    DrawCurve(c, g, o, CutCurve(cut), cut.maxGain, kBlue, true);
    EXPECT_EQ(c.OpsOf(DrawKind::Line, kBlue).size(), 36u);
    const auto red = c.OpsOf(DrawKind::Line, kRed);
    ASSERT_EQ(red.size(), 2u);  // the curve reaches -3 dB at 60 and leaves it at 120
    const float r3 = PlotRadius(-3, g.R, o);
    EXPECT_EQ((PixelPoint{static_cast<float>(red[0].x2), static_cast<float>(red[0].y2)}), PolarPoint(g, r3, 60));
    EXPECT_EQ((PixelPoint{static_cast<float>(red[1].x2), static_cast<float>(red[1].y2)}), PolarPoint(g, r3, 120));
    EXPECT_DOUBLE_EQ(red[0].x1, g.cx);
    EXPECT_DOUBLE_EQ(red[0].y1, g.cy);

    RecordingCanvas off(640, 640);
    o.Marker3dB = false;
    DrawCurve(off, g, o, CutCurve(cut), cut.maxGain, kBlue, true);
    EXPECT_TRUE(off.OpsOf(DrawKind::Line, kRed).empty());
}

}  // namespace
}  // namespace qw
