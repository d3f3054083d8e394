// The sweep plots' dialog rules and the sweep that feeds them.
#include <gtest/gtest.h>

#include "commands/resonance_command.h"
#include "commands/sweep_plot_command.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using test::SolvedAntenna;

TEST(SweepPlotCommand, LimitsDialogOfEachKind) {
    SolvedAntenna a;
    a.ctx.options.SwrLimit = 0;
    PlotLimitsForm f = PlotLimitsFormOf(a.ctx, SweepPlotKind::Swr);
    EXPECT_EQ(f.title, "SWR Plot F, Step, SWR limits");
    EXPECT_EQ(f.labels[3], "Swr Max");
    EXPECT_EQ(f.texts[3], "5");  // an SWR limit of 0 or less is shown as 5
    EXPECT_FALSE(f.fifthBox);
    f = PlotLimitsFormOf(a.ctx, SweepPlotKind::FrontToBack);
    EXPECT_EQ(f.title, "F/B Plot F, Step, limits");
    EXPECT_EQ(f.labels[4], "F/B Min");
    EXPECT_TRUE(f.fifthBox);
    EXPECT_EQ(PlotLimitsFormOf(a.ctx, SweepPlotKind::Impedance).title, "Impedance Plot R, X Limits");

    // Impedance: rounded, each pair in order; a text that is not a number
    // counts as 0.
    ASSERT_TRUE(ApplyPlotLimits(a.ctx, SweepPlotKind::Impedance, {"10.5", "300", "-40", "x40", ""}));
    EXPECT_EQ(a.ctx.options.RMin, 10);
    EXPECT_EQ(a.ctx.options.RMax, 300);
    EXPECT_EQ(a.ctx.options.XMin, -40);
    EXPECT_EQ(a.ctx.options.XMax, 0);
}

TEST(SweepPlotCommand, BandsThatCannotBeSweptAreRefused) {
    SolvedAntenna a;
    a.ctx.options.ResonanceHi = 30;
    const std::array<std::string, 5> zero = {"15", "14", "0", "3", ""};
    EXPECT_FALSE(ApplyPlotLimits(a.ctx, SweepPlotKind::Swr, zero));
    ASSERT_EQ(a.host.messages.size(), 1u);
    EXPECT_EQ(a.host.messages[0].text, "Zero Values not allowed");
    EXPECT_FALSE(ApplyPlotLimits(a.ctx, SweepPlotKind::Gain, {"15", "14", "-0.1", "10", "0"}));
    EXPECT_EQ(a.host.messages.back().text, "The frequency step must be greater than 0.");
    EXPECT_FALSE(ApplyPlotLimits(a.ctx, SweepPlotKind::Gain, {"15", "-14", "0.1", "10", "0"}));
    EXPECT_EQ(a.host.messages.back().text, "The frequency limits must be greater than 0.");
    EXPECT_FALSE(ApplyPlotLimits(a.ctx, SweepPlotKind::Swr, {"100000", "99999", "0.0001", "3", ""}));
    EXPECT_EQ(a.host.messages.back().text, "The frequency step is too small to move the frequency.");
    EXPECT_EQ(a.ctx.options.ResonanceHi, 30.0f);  // nothing stored

    // The band dialog refuses the same, after its own zero rule.
    EXPECT_FALSE(CheckFrequencyRange(a.ctx, {14, 15, -1}));
    EXPECT_EQ(a.host.messages.back().text, "Negative values not allowed");
    EXPECT_FALSE(CheckFrequencyRange(a.ctx, {99999, 100000, 0.0001f}));
    EXPECT_EQ(a.host.messages.back().text, "The frequency step is too small to move the frequency.");
    EXPECT_TRUE(CheckFrequencyRange(a.ctx, {15, 14, 0.5f}));

    ASSERT_TRUE(ApplyPlotLimits(a.ctx, SweepPlotKind::Swr, {"15", "14", "0.5", "2.5", ""}));
    EXPECT_EQ(a.ctx.options.SwrLimit, 2.5f);
    EXPECT_EQ(a.ctx.options.ResonanceLow, 14.0f);
}

// A half-wave dipole near 300 MHz.
struct Dipole : SolvedAntenna {
    Dipole() : SolvedAntenna(299.8f) {
        Wire(11, 0, -0.24f, 0, 0, 0.24f, 0);
        Source(6);
        Build();
    }
};

TEST(SweepPlotCommand, SweepKeepsTheProjectFrequencyAndItsDigits) {
    Dipole d;
    SweepPlotSetup s = PlotSetupOf(d.ctx, SweepPlotKind::Impedance);
    s.lower = 280, s.upper = 320, s.step = 10;
    s.RMin = 0, s.RMax = 200, s.XMin = -200, s.XMax = 200;
    std::vector<PlotSample> one, three;
    ASSERT_TRUE(RunSweepPlot(d.ctx, s, 1, [&](const PlotSample& p) { one.push_back(p); }).completed());
    ASSERT_TRUE(RunSweepPlot(d.ctx, s, 3, [&](const PlotSample& p) { three.push_back(p); }).completed());
    ASSERT_EQ(one.size(), 6u);  // 280 ... 320 and upper + step
    ASSERT_EQ(three.size(), one.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(one[i].frequency, 280.0f + 10.0f * static_cast<float>(i));
        EXPECT_EQ(DescribeSample(CleanPlotSetup(s), one[i]).readout, DescribeSample(CleanPlotSetup(s), three[i]).readout);
        EXPECT_EQ(one[i].gain, three[i].gain);
    }
    EXPECT_EQ(d.p.Frequency, 299.8f);
    // The CSV has the sweep command's columns.
    const std::string csv = SweepCsv(one);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "frequency_mhz,r_ohm,x_ohm,swr,gain_db,fb_db");
    EXPECT_EQ(csv.substr(csv.find('\n') + 1, 4), "280,");

    // A stop during a long sweep: fewer points, Stopped, the frequency kept.
    s.step = 0.02f;
    std::vector<PlotSample> part;
    const Result r = RunSweepPlot(d.ctx, s, 1, [&](const PlotSample& p) {
        part.push_back(p);
        if (part.size() == 2) d.ctx.stop.Request();
    });
    // (The points already begun when the stop reached the worker still end.)
    EXPECT_TRUE(r.stopped());
    EXPECT_LT(part.size(), 100u);  // of 2 002
    EXPECT_EQ(d.p.Frequency, 299.8f);
}

}  // namespace
}  // namespace qw
