// The resonance scan's lines, its refusals and Stop, the range dialog, and
// the SWR and impedance sweeps.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/resonance_command.h"
#include "support/solved_antenna.h"
#include "plots/sweep_axes.h"
#include "sweeps/frequency_sweep.h"
#include "sweeps/resonance.h"

namespace qw {
namespace {

// A half-wave dipole for 300 MHz in free space, prepared at 100 MHz.
struct Dipole : test::SolvedAntenna {
    Dipole() : SolvedAntenna(100) {
        ctx.ProjectOpen = true;
        p.GeometryDefined = true;
        Wire(10, 0, 0, -0.24f, 0, 0, 0.24f);
        Source(5);
        Build(false);
    }
};

TEST(Resonance, LinesMarksAndLog) {
    test::TempDir dir;
    Dipole d;
    ASSERT_TRUE(d.ctx.log.Open(dir.File("q.log")));
    std::vector<ResonancePoint> points;
    ASSERT_TRUE(ResonanceScan(d.ctx, 280, 320, 4, [&](const ResonancePoint& r) { points.push_back(r); }).completed());
    ASSERT_EQ(points.size(), 11u);
    // cli_sweeps.sh checks the layout of the lines.
    // Each point is the dipole solved on its own at that frequency, and the
    // marks sit next to where the reactance changes sign.
    int marked = 0;
    std::size_t crossing = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ResonancePoint& r = points[i];
        Dipole alone;
        alone.p.Frequency = r.frequency;
        alone.Build();
        EXPECT_TRUE(alone.St().SourceResults[1].zr == r.R && alone.St().SourceResults[1].zx == r.X) << r.frequency;
        EXPECT_EQ(r.line.ends_with("  Resonance"), r.resonance) << r.line;
        marked += r.resonance;
        if (i > 0 && (points[i - 1].X < 0) != (r.X < 0)) crossing = i;
    }
    ASSERT_GT(crossing, 0u);  // the dipole resonates near 300 MHz
    EXPECT_GE(marked, 1);
    for (std::size_t i = 0; i < points.size(); ++i)
        if (points[i].resonance) EXPECT_TRUE(i == crossing || i + 1 == crossing) << points[i].line;
    // The report box got the lines and an empty line; the frequency is back.
    EXPECT_EQ(d.host.mainText.size(), 12u);
    EXPECT_EQ(d.p.Frequency, 100.0f);
    EXPECT_NEAR(Solver(d.ctx).freq.Lambda, 2.998f, 1e-4);
    // The log got the lines, without the empty one.
    d.ctx.log.Close();
    std::string log = "QUILLWORK  v1.0 Log File\r\n\r\n";
    for (std::size_t i = 0; i < 11; ++i) log += d.host.mainText[i] + "\r\n";
    EXPECT_EQ(test::ReadBytes(dir.File("q.log")), log);
}

TEST(Resonance, RefusedBandsAndStop) {
    Dipole d;
    const Result zero = ResonanceScan(d.ctx, 0, 20, 1);
    const Result tiny = ResonanceScan(d.ctx, 1000, 2000, 1e-5f);  // cannot move the frequency
    ASSERT_TRUE(zero.failed() && tiny.failed());
    EXPECT_EQ(zero.fault->text, "The lower frequency must be greater than 0.");
    EXPECT_EQ(tiny.fault->text, "The frequency step is too small to move the frequency.");
    EXPECT_EQ(tiny.fault->title, "Frequency Range");
    EXPECT_TRUE(d.host.messages.empty() && d.host.mainText.empty());  // the engine shows nothing

    // A stop seen at the yield after the second point: one line is written.
    Dipole one;
    ASSERT_TRUE(ResonanceScan(one.ctx, 280, 280, 4).completed());
    const int callsPerPoint = static_cast<int>(one.host.progress.size());
    Dipole s;
    s.host.stopAfterProgressCalls = 2 * callsPerPoint;
    EXPECT_TRUE(ResonanceScan(s.ctx, 280, 320, 4).stopped());
    EXPECT_EQ(s.host.mainText.size(), 2u);  // one line, then the empty line
    EXPECT_TRUE(s.p.Frequency == 100.0f && Solver(s.ctx).MatrixState == 0);
}

TEST(Resonance, RangeDialog) {
    Dipole d;
    d.host.rangeAnswers = {SweepRange{20, 10, 0}, SweepRange{20, 10, 30}};
    RunFrequencyRangeDialog(d.ctx);
    EXPECT_FALSE(d.ctx.AbortFlag);
    EXPECT_EQ(d.host.MessageTexts(), std::vector<std::string>{"Zero Values not allowed"});
    EXPECT_EQ(d.ctx.options.ResonanceLow, 10.0f);
    EXPECT_EQ(d.ctx.options.ResonanceHi, 20.0f);
    EXPECT_EQ(d.ctx.options.ResonanceStep, 10.0f);  // a step above the upper limit is the band's width
    d.host.rangeAnswers = {std::nullopt};
    RunFrequencyRangeDialog(d.ctx);
    EXPECT_TRUE(d.ctx.AbortFlag);
}

TEST(Sweeps, TickSteps) {
    // Each band of ranges at its lower edge and just below it.
    EXPECT_EQ(TickStep(1000), 500);
    EXPECT_EQ(TickStep(999), 100);
    EXPECT_EQ(TickStep(25), 5);
    EXPECT_EQ(TickStep(24.9f), 1);
    EXPECT_EQ(MinorTickStep(5), 0.1f);  // fractional: a range of 5 or less still ends
}

TEST(Sweeps, SwrAndImpedanceSweeps) {
    Dipole d;
    SweepSettings set;
    set.kind = SweepKind::Swr;
    set.range = {310, 290, 10};  // reversed: exchanged
    set.swrLimit = 1;             // 1 or less: 5
    std::vector<SweepSample> got;
    ASSERT_TRUE(RunFrequencySweep(d.ctx, set, [&](const SweepSample& s) { got.push_back(s); }).completed());
    EXPECT_EQ(set.range.Lower, 290.0f);
    EXPECT_EQ(set.swrLimit, 5.0f);
    ASSERT_EQ(got.size(), 4u);  // 290, 300, 310 and upper + step
    EXPECT_EQ(got.back().frequency, 320.0f);
    EXPECT_EQ(got[1].readout.substr(0, 19), "F = 300.000 SWR = 1");
    for (const auto& s : got) EXPECT_EQ(s.drawn, s.swr > 0 && s.swr <= 5);
    EXPECT_EQ(d.p.Frequency, 100.0f);

    // The impedance sweep marks its resonances.
    set.kind = SweepKind::Impedance;
    set.range = {296, 304, 2};
    set.limits = {0, 200, -100, 100};
    got.clear();
    ASSERT_TRUE(RunFrequencySweep(d.ctx, set, [&](const SweepSample& s) { got.push_back(s); }).completed());
    EXPECT_EQ(got.size(), 6u);  // to upper + step
    int resonances = 0;
    for (const auto& s : got) {
        EXPECT_TRUE(s.drawn);
        if (std::fabs(s.z.X) < 10) {
            ++resonances;
            EXPECT_EQ(s.label.substr(0, 17), " Resonance @ F = ");
        }
    }
    EXPECT_EQ(static_cast<int>(d.host.mainText.size()), resonances);
    ASSERT_GE(resonances, 1);
    EXPECT_EQ(d.host.mainText[0].substr(0, 14), " Resonance at ");
}

}  // namespace
}  // namespace qw
