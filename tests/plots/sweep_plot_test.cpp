// The sweep plots drawn on a recording canvas from synthetic points: the
// frame of each kind and its edge cases, the axis ticks, which points are
// drawn and labelled, the loop ends, and the Smith chart's mapping.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/recording_canvas.h"
#include "plots/smith_chart.h"
#include "plots/sweep_axes.h"
#include "plots/sweep_plot.h"

namespace qw {
namespace {

SweepPlotSetup Band(SweepPlotKind kind, float lower, float upper, float step) {
    SweepPlotSetup s;
    s.kind = kind;
    s.lower = lower, s.upper = upper, s.step = step;
    s.fileName = "dipole.qlk";
    return s;
}

bool HasText(const RecordingCanvas& c, const std::string& text) {
    for (const DrawOp& op : c.Visible())
        if (op.kind == DrawKind::Text && op.text == text) return true;
    return false;
}

TEST(SweepPlot, FramesOfTheEdgeCases) {
    // Reversed band exchanged; SWR limit 1 or less gives 1..5.
    SweepPlotSetup swr = CleanPlotSetup(Band(SweepPlotKind::Swr, 16, 14, 0.5f));
    swr.swrLimit = 1;
    swr = CleanPlotSetup(swr);
    EXPECT_EQ(swr.lower, 14.0f);
    EXPECT_EQ(swr.upper, 16.0f);
    EXPECT_EQ(swr.swrLimit, 5.0f);
    PlotFrame f = PlotFrameOf(swr, 640, 480);
    EXPECT_FLOAT_EQ(f.left, 13.8f);
    EXPECT_FLOAT_EQ(f.right, 16.2f);
    EXPECT_FLOAT_EQ(f.top, 5.4f);
    EXPECT_FLOAT_EQ(f.bottom, 0.6f);

    // Floors of 0.1 and 0.01 MHz, and a band of no width with dx = 0.1.
    const SweepPlotSetup low = CleanPlotSetup(Band(SweepPlotKind::Gain, 0.001f, 0.05f, 0.01f));
    EXPECT_EQ(low.upper, 0.1f);
    EXPECT_EQ(low.lower, 0.01f);
    f = PlotFrameOf(CleanPlotSetup(Band(SweepPlotKind::Gain, 7, 7, 1)), 640, 480);
    EXPECT_FLOAT_EQ(f.left, 6.9f);
    EXPECT_FLOAT_EQ(f.right, 7.1f);

    // A gain span below 10 dB: margins of 1 dB; reversed gain limits are
    // put in order.
    SweepPlotSetup gain = Band(SweepPlotKind::Gain, 10, 20, 1);
    gain.gainHi = 2, gain.gainLow = 8;
    f = PlotFrameOf(CleanPlotSetup(gain), 640, 480);
    EXPECT_FLOAT_EQ(f.top, 9);
    EXPECT_FLOAT_EQ(f.bottom, 1);

    // Impedance limits repaired: R max 0 -> 10, R min < 0 -> 0, X max 0 -> 10,
    // equal X limits widened.
    SweepPlotSetup z = Band(SweepPlotKind::Impedance, 14, 15, 0.1f);
    z.RMax = 0, z.RMin = -5, z.XMax = 0, z.XMin = 10;
    z = CleanPlotSetup(z);
    EXPECT_EQ(z.RMin, 0);
    EXPECT_EQ(z.RMax, 10);
    EXPECT_EQ(z.XMin, 10);
    EXPECT_EQ(z.XMax, 20);
    f = PlotFrameOf(z, 640, 480);
    EXPECT_FLOAT_EQ(f.left, -1);
    EXPECT_FLOAT_EQ(f.top, 21);
}

TEST(SweepPlot, LoopEnds) {
    // A band that is a whole number of steps: SWR, impedance and Smith go
    // on to upper + step; gain and F/B stop at the upper limit.
    for (const SweepPlotKind kind : {SweepPlotKind::Swr, SweepPlotKind::Impedance, SweepPlotKind::Smith}) {
        const auto f = PlotFrequencies(CleanPlotSetup(Band(kind, 10, 12, 0.5f)));
        ASSERT_EQ(f.size(), 6u);
        EXPECT_EQ(f.back(), 12.5f);
    }
    for (const SweepPlotKind kind : {SweepPlotKind::Gain, SweepPlotKind::FrontToBack}) {
        const auto f = PlotFrequencies(CleanPlotSetup(Band(kind, 10, 12, 0.5f)));
        ASSERT_EQ(f.size(), 5u);
        EXPECT_EQ(f.back(), 12.0f);
    }
    // 0.1 is not exact in binary: the accumulated bound is still met.
    EXPECT_EQ(PlotFrequencies(CleanPlotSetup(Band(SweepPlotKind::Gain, 14, 14.3f, 0.1f))).size(), 4u);
    // A step that cannot move the frequency gives no loop.
    EXPECT_TRUE(PlotFrequencies(CleanPlotSetup(Band(SweepPlotKind::Swr, 1e6f, 1e6f, 1e-3f))).empty());
}

TEST(SweepPlot, AxisTicks) {
    EXPECT_EQ(TickStep(1000), 500);
    EXPECT_EQ(TickStep(49.9f), 5);
    // -2000..2000: majors every 500, unlabelled minors every 100.
    auto t = AxisTicks(-2000, 2000, "", true);
    std::vector<std::string> majors;
    int minors = 0;
    for (const auto& k : t) {
        if (k.major) {
            majors.push_back(k.label);
        } else {
            EXPECT_TRUE(k.label.empty());
            ++minors;
        }
    }
    EXPECT_EQ(majors, (std::vector<std::string>{"-2000", "-1500", "-1000", "-500", "0", "500", "1000", "1500", "2000"}));
    EXPECT_EQ(minors, 8 * 4);
    // A major tick within one step of 0 is taken as 0: later ticks fall
    // on multiples of the step.
    majors.clear();
    for (const auto& k : AxisTicks(-37, 20, "", false))
        if (k.major) majors.push_back(k.label);
    EXPECT_EQ(majors, (std::vector<std::string>{"-37", "-27", "-17", "-7", "10", "20"}));
    // A band narrower than its major step: the minor ticks carry labels.
    t = AxisTicks(14, 14.35f, "#0.0", false);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_TRUE(t[0].major);
    EXPECT_EQ(t[0].label, "14.0");
    EXPECT_EQ(t[3].label, "14.3");
    // Value labels are rounded down to the minor step.
    t = AxisTicks(-3.3f, 16.7f, "", true);
    EXPECT_EQ(t[0].label, "-4");
    // SWR 1..5: majors 1..5, minors every 0.1 without labels.
    t = AxisTicks(1, 5, "", true);
    int labelled = 0;
    for (const auto& k : t) labelled += !k.label.empty();
    EXPECT_EQ(labelled, 5);
    EXPECT_EQ(t.size(), 5u + 4u * 9u);
}

TEST(SweepPlot, WhichPointsAreDrawn) {
    SweepPlotSetup swr = CleanPlotSetup(Band(SweepPlotKind::Swr, 14, 15, 0.5f));
    swr.swrLimit = 3;
    auto mark = [&](float value) {
        PlotSample p;
        p.frequency = 14;
        p.swr = value;
        return DescribeSample(swr, p);
    };
    EXPECT_FALSE(mark(-1).drawn);
    EXPECT_FALSE(mark(-2).drawn);
    EXPECT_FALSE(mark(3.01f).drawn);
    EXPECT_TRUE(mark(3).drawn);
    EXPECT_EQ(mark(1.5f).readout, "F = 14.000 SWR = 1.50");

    SweepPlotSetup z = Band(SweepPlotKind::Impedance, 14, 15, 0.5f);
    z.RMin = 0, z.RMax = 100, z.XMin = -50, z.XMax = 50;
    auto at = [&](float R, float X) {
        PlotSample p;
        p.frequency = 14.25f;
        p.R = R, p.X = X;
        return DescribeSample(z, p);
    };
    EXPECT_FALSE(at(100, 0).drawn);  // on a limit: exclusive
    EXPECT_FALSE(at(50, -50).drawn);
    EXPECT_FALSE(at(0, 0).drawn);
    // |X| just below 10: a resonance, with its line for the main window.
    PlotMark m = at(73.1f, 9.99f);
    EXPECT_TRUE(m.drawn);
    EXPECT_EQ(m.label, " Resonance @ F = 14.25 Mhz");
    EXPECT_EQ(m.resonance, " Resonance at 14.25 Mhz, Z = 73.10 +j 9.99");
    EXPECT_EQ(m.readout, "F = 14.250 Z = 73.10 +j 9.99");
    // |X| of exactly 10: labelled with its frequency only.
    m = at(73.1f, -10);
    EXPECT_EQ(m.label, "14.25");
    EXPECT_TRUE(m.resonance.empty());

    // Gain and F/B points are always drawn.
    SweepPlotSetup g = Band(SweepPlotKind::FrontToBack, 14, 15, 0.5f);
    PlotSample p;
    p.frequency = 14.5f, p.frontToBack = -80;
    EXPECT_TRUE(DescribeSample(g, p).drawn);
    EXPECT_EQ(DescribeSample(g, p).readout, "F = 14.500 F/B = -80.00");
}

TEST(SweepPlot, CurveOfBlueLinesAndBlackDots) {
    SweepPlotSetup s = Band(SweepPlotKind::Swr, 14, 15, 0.5f);
    s.swrLimit = 3;
    RecordingCanvas c(640, 480);
    SweepPlot plot(s);
    plot.DrawFrame(c);
    EXPECT_TRUE(HasText(c, "dipole.qlk"));
    EXPECT_TRUE(HasText(c, "F in MHz"));
    EXPECT_TRUE(HasText(c, "  SWR"));
    EXPECT_TRUE(HasText(c, "14.0") && HasText(c, "15.0"));
    EXPECT_FALSE(HasText(c, "14.5"));  // ten minor steps: only the major ticks are labelled
    EXPECT_TRUE(c.OpsOf(DrawKind::Line, kBlue).empty());
    const std::size_t framed = c.Ops().size();
    for (const auto& [f, v] : std::vector<std::pair<float, float>>{{14, 1.5f}, {14.5f, 9}, {15, 2}, {15.5f, 1.2f}}) {
        PlotSample p;
        p.frequency = f, p.swr = v;
        plot.Add(c, p);
    }
    // 14 and 15 and 15.5 drawn (9 is above the limit): two joins, blue.
    const auto lines = c.OpsOf(DrawKind::Line, kBlue);
    ASSERT_EQ(lines.size(), 2u);
    int dots = 0;
    for (std::size_t i = framed; i < c.Ops().size(); ++i)
        if (c.Ops()[i].kind == DrawKind::Point) {
            EXPECT_EQ(c.Ops()[i].pen.colour, kBlack);
            ++dots;
        }
    EXPECT_EQ(dots, 4);  // the first point twice (the pen's start, then its dot)
    // The join from 14 MHz, SWR 1.5 ends at 15 MHz, SWR 2, in pixels.
    const float xScale = 640 / (15.1f - 13.9f), yScale = 480 / (3.2f - 0.8f);
    EXPECT_NEAR(lines[0].x1, (14 - 13.9f) * xScale, 0.01);
    EXPECT_NEAR(lines[0].y1, (3.2f - 1.5f) * yScale, 0.01);
    EXPECT_NEAR(lines[0].x2, (15 - 13.9f) * xScale, 0.01);
    EXPECT_NEAR(lines[0].y2, (3.2f - 2) * yScale, 0.01);
}

TEST(SweepPlot, ImpedancePlotLabelsItsPoints) {
    SweepPlotSetup s = Band(SweepPlotKind::Impedance, 14, 15, 0.5f);
    s.RMin = 0, s.RMax = 100, s.XMin = -50, s.XMax = 50;
    RecordingCanvas c(600, 600);
    SweepPlot plot(s);
    plot.DrawFrame(c);
    EXPECT_TRUE(HasText(c, "Real") && HasText(c, "  Imag"));
    PlotSample p;
    p.frequency = 14, p.R = 60, p.X = -30;
    plot.Add(c, p);
    p.frequency = 14.5f, p.R = 70, p.X = 5;
    plot.Add(c, p);
    EXPECT_TRUE(HasText(c, "14.00"));
    EXPECT_TRUE(HasText(c, " Resonance @ F = 14.50 Mhz"));
}

TEST(SweepPlot, SmithChartMapping) {
    EXPECT_NEAR(std::abs(ReflectionOf(50, 0, 50)), 0, 1e-12);
    EXPECT_NEAR(ReflectionOf(0, 0, 50).real(), -1, 1e-12);
    EXPECT_NEAR(ReflectionOf(1e9, 0, 50).real(), 1, 1e-6);
    EXPECT_NEAR(ReflectionOf(0, 50, 50).imag(), 1, 1e-12);  // +j Z0 at the top
    EXPECT_NEAR(SwrCircleRadius(3), 0.5, 1e-12);
    // The SWR of a point equals the radius of its SWR circle.
    const auto g = ReflectionOf(100, 0, 50);
    EXPECT_NEAR(std::abs(g), SwrCircleRadius(2), 1e-12);

    SweepPlotSetup s = Band(SweepPlotKind::Smith, 14, 15, 0.5f);
    s.z0 = 50, s.swrLimit = 3;
    RecordingCanvas c(800, 600);
    SweepPlot plot(s);
    plot.DrawFrame(c);
    // The unit circle at the picture's centre, round in pixels; the SWR
    // circle red with half its radius.
    bool unit = false, swr = false;
    for (const DrawOp& op : c.Visible()) {
        if (op.kind != DrawKind::Circle) continue;
        if (op.pen.colour == kBlack && std::fabs(op.x1 - 400) < 0.01 && std::fabs(op.y1 - 300) < 0.01) {
            unit = true;
            EXPECT_NEAR(op.x2, 300 / 1.3, 0.01);
        }
        if (op.pen.colour == kRed) {
            swr = true;
            EXPECT_NEAR(op.x2, 150 / 1.3, 0.01);
        }
    }
    EXPECT_TRUE(unit && swr);
    EXPECT_TRUE(HasText(c, "Z0 = 50 ohms"));
    PlotSample p;
    p.frequency = 14, p.R = 50, p.X = 0;
    plot.Add(c, p);
    const auto points = c.OpsOf(DrawKind::Point, kBlack);
    ASSERT_FALSE(points.empty());
    EXPECT_NEAR(points.back().x1, 400, 0.01);
    EXPECT_NEAR(points.back().y1, 300, 0.01);
    // A negative resistance lies outside the chart: not drawn.
    p.R = -5;
    EXPECT_FALSE(DescribeSample(CleanPlotSetup(s), p).drawn);
}

}  // namespace
}  // namespace qw
