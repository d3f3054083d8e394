// The optimizer: its step rules on scripted values, locks, ground ends,
// the MaxDelta bound, the load and source steps, and whole runs on small
// antennas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "commands/optimize_command.h"
#include "solver/source_report.h"
#include "support/solved_antenna.h"
#include "sweeps/gain_front_back.h"
#include "sweeps/optimizer.h"

namespace qw {
namespace {

TEST(OptimizerRules, GainGrowShrinkReverse) {
    // A better step that improved faster grows, a slower one shrinks, a worse one reverses.
    EXPECT_FLOAT_EQ(GainStep(1e-4f, 0.5f, 0.2f, kShrinkDivisor), 1.54321f * 1e-4f);
    EXPECT_FLOAT_EQ(GainStep(1e-4f, 0.1f, 0.2f, kShrinkDivisor), 1e-4f / 1.9543f);
    EXPECT_FLOAT_EQ(GainStep(2.0f, 0.1f, 0.2f, kLoadShrinkDivisor), 2.0f / 1.95431f);
    EXPECT_FLOAT_EQ(GainStep(1e-4f, -0.1f, 0.2f, kShrinkDivisor), -0.666f * 1e-4f);
    // Scripted: gains 1, 1.5, 1.7, 1.6 from a start of 0.
    float step = 1, prev = 0, prevChange = 1e-6f;
    std::vector<float> steps;
    for (float g : {1.0f, 1.5f, 1.7f, 1.6f}) {
        step = GainStep(step, g - prev, prevChange, kShrinkDivisor);
        prevChange = g - prev;
        prev = g;
        steps.push_back(step);
    }
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_FLOAT_EQ(steps[0], 1.54321f);
    EXPECT_FLOAT_EQ(steps[1], 1.54321f / 1.9543f);
    EXPECT_FLOAT_EQ(steps[2], 1.54321f / 1.9543f / 1.9543f);
    EXPECT_FLOAT_EQ(steps[3], -0.666f * steps[2]);
}

TEST(OptimizerRules, ResonanceAndSwr) {
    // X crosses zero: halve and reverse.
    EXPECT_FLOAT_EQ(ResonanceStep(4, 2, -3, 5, 1), -2);
    // X nearer zero, and faster than before: grow, keep the direction.
    EXPECT_FLOAT_EQ(ResonanceStep(4, -10, -20, 10, 1), 6);
    // X nearer zero but slower: keep.
    EXPECT_FLOAT_EQ(ResonanceStep(4, -10, -20, 10, 30), 4);
    // X away from zero: reverse.
    EXPECT_FLOAT_EQ(ResonanceStep(4, 30, 20, 10, 30), -4);
    // SWR falling faster with X keeping its sign: grow; rising: reverse.
    EXPECT_FLOAT_EQ(SwrStep(2, 5, 6, -0.5f, -0.1f, 3), 3);
    EXPECT_FLOAT_EQ(SwrStep(2, 5, 6, 0.5f, 0.1f, 3), -3);
    // The SWR turns round, or X changes sign: halve and reverse.
    EXPECT_FLOAT_EQ(SwrStep(2, 5, 6, 0.5f, -0.1f, 3), -1);
    EXPECT_FLOAT_EQ(SwrStep(2, -5, 6, -0.5f, -0.1f, 3), -1);
    // No change: below 0.0001 after a change; two zeros in a row as well.
    EXPECT_TRUE(NoChange(0.00005f, 0.3f));
    EXPECT_FALSE(NoChange(0.00005f, 0));
    EXPECT_TRUE(NoChange(0, 0));
    EXPECT_FALSE(NoChange(0.001f, 0.3f));
}

TEST(OptimizerSteps, LoadIncrementsKeepValidNegatives) {
    Load rx{1, 0, kSeriesRX, 5, -20, 0};
    Optimizer::LoadRInc(rx, -10);
    EXPECT_EQ(rx.Resistance, 0);  // a resistance cannot be negative
    Optimizer::LoadLInc(rx, -5);
    EXPECT_EQ(rx.Reactance, -25);  // a capacitive reactance is kept
    Optimizer::LoadCInc(rx, 5);
    EXPECT_EQ(rx.Reactance, -30);  // "C" lowers X of an R+jX load
    Load rlc{1, 0, kSeriesRLC, 5, 2, 3};
    Optimizer::LoadLInc(rlc, -5);
    EXPECT_EQ(rlc.Reactance, 0);  // an inductance cannot
    Optimizer::LoadCInc(rlc, -5);
    EXPECT_EQ(rlc.Capacitance, 0);
}

// Three wires: 1 and 2 joined at (0, 0, 0) in free space, 3 apart; a source on wire 3.
struct ThreeWires : test::SolvedAntenna {
    ThreeWires() : SolvedAntenna(299.8f) {
        ctx.ProjectOpen = true;
        p.GeometryDefined = true;
        Wire(5, 0, -0.25f, 0, 0, 0, 0);
        Wire(5, 0, 0, 0, 0, 0.25f, 0);
        Wire(9, 0.3f, -0.24f, 0.1f, 0.3f, 0.24f, 0.1f);
        Source(15);
        Build(false);
        ctx.locks.FitTo(p);
    }
};

TEST(OptimizerSteps, LocksJointsAndGroundEnds) {
    ThreeWires a;
    a.ctx.locks.Wire[1] = true;
    Optimizer o;
    ASSERT_TRUE(o.DimensionStep(a.ctx, kVaryX | kVaryY | kVaryZ, 0.01f));
    const Project& p = a.p;
    EXPECT_EQ(p.Wires[1].Y1, -0.25f);  // locked
    // The joint with the locked wire stays, even at z = 0 in free space.
    EXPECT_EQ(p.Wires[2].Y1, 0);
    EXPECT_FLOAT_EQ(p.Wires[2].Y2, 0.25f * 1.01f);
    EXPECT_FLOAT_EQ(p.Wires[3].X1, 0.3f * 1.01f);
    EXPECT_FLOAT_EQ(p.Wires[3].Z2, 0.1f * 1.01f);

    // Over ground a ground end moves along the ground and keeps its height.
    test::SolvedAntenna v;
    v.PerfectGround();
    v.p.Height = 0;
    v.Wire(10, 0.2f, 0, 0, 0.2f, 0, 0.25f);
    v.Wire(10, 0.2f, 0, 0.25f, 0.4f, 0, 0.25f);
    v.ctx.locks.FitTo(v.p);
    v.ctx.locks.Wire[2] = true;
    EXPECT_TRUE(Optimizer::FreeExtremity(v.ctx, 1, 1));
    EXPECT_FALSE(Optimizer::FreeExtremity(v.ctx, 1, 2));  // touches the locked wire
    Optimizer g;
    g.DimensionStep(v.ctx, kVaryX | kVaryZ, 0.05f);
    EXPECT_FLOAT_EQ(v.p.Wires[1].X1, 0.2f * 1.05f);
    EXPECT_EQ(v.p.Wires[1].Z1, 0);
    EXPECT_EQ(v.p.Wires[1].Z2, 0.25f);
}

TEST(OptimizerSteps, MaxDeltaStopsTheDimensions) {
    ThreeWires a;
    a.ctx.options.MaxDelta = 0.1f;
    Optimizer o;
    float delta = 0.0001f, largest = 0;
    int changes = 0, refusals = 0;
    for (int i = 0; i < 40; ++i) {
        const float before = a.p.Wires[3].Y2;
        if (o.DimensionStep(a.ctx, kVaryY, delta)) ++changes;
        else ++refusals;
        if (a.p.Wires[3].Y2 != before) EXPECT_LE(std::fabs(o.TotalFactor() - 1), 0.1f);
        largest = std::max(largest, a.p.Wires[3].Y2);
        delta *= kGrowFactor;
    }
    EXPECT_GT(changes, 5);
    EXPECT_GT(refusals, 0);
    EXPECT_GT(std::fabs(o.TotalFactor() - 1), 0.1f);
    EXPECT_LE(largest, 0.24f * 1.1f);
}

struct Recorder {
    std::vector<std::string> log, status;
    std::vector<float> objective;
    OptimizerSink Sink() {
        OptimizerSink s;
        s.log = [this](const std::string& l) { log.push_back(l); };
        s.status = [this](const std::string& t, bool clear) {
            if (clear) status.clear();
            status.push_back(t);
        };
        s.point = [this](int, float o, float) { objective.push_back(o); };
        return s;
    }
};

Result RunOn(test::SolvedAntenna& a, Optimizer& o, OptimizerRequest r, Recorder& rec) {
    return o.Run(a.ctx, r, rec.Sink(), {});
}

TEST(OptimizerRun, ResonanceByDimensionsReachesTheLimit) {
    // A dipole a little long for 299.8 MHz: shrinking it brings X to the limit.
    test::SolvedAntenna a;
    a.Wire(11, 0, -0.26f, 0, 0, 0.26f, 0);
    a.Source(6);
    a.Build(false);
    Optimizer o;
    Recorder rec;
    OptimizerRequest r;
    r.target = kTargetResonance;
    r.dimensions = kVaryY;
    r.limit = 1;
    r.startDelta = 0.002f;
    const Result res = RunOn(a, o, r, rec);
    ASSERT_TRUE(res.completed()) << (res.fault ? res.fault->text : "");
    ASSERT_GE(rec.log.size(), 3u);
    EXPECT_EQ(rec.log[0], "Optimizing test.qlk");
    EXPECT_EQ(rec.log[1], "Resonance Y (element size)");
    EXPECT_EQ(rec.log[2].rfind("Step : 0 Delta = ", 0), 0u);
    EXPECT_EQ(a.p.FileName, "workopt.qlk");
    EXPECT_TRUE(a.p.Modified);
    EXPECT_EQ(rec.status.back(), "Stopped!");
    // The project reached, solved afresh, is within the limit.
    a.Build();
    EXPECT_LE(std::fabs(a.St().ZinX), 1.0f);
    EXPECT_LT(a.p.Wires[1].Y2, 0.26f);
}

TEST(OptimizerRun, RefusalsAndZeroLoad) {
    test::SolvedAntenna a;
    a.Wire(11, 0, -0.25f, 0, 0, 0.25f, 0);
    a.Source(6);
    a.Load(3, 0, 0);
    a.Build(false);
    Optimizer o;
    {
        Recorder rec;
        ASSERT_TRUE(RunOn(a, o, {}, rec).completed());
        EXPECT_EQ(rec.status.back(), "Stopped! No variables");
    }
    {
        // The load's R is 0: its step is 0 and the climb stops at once.
        Recorder rec;
        OptimizerRequest r;
        r.loads = kVaryR;
        ASSERT_TRUE(RunOn(a, o, r, rec).completed());
        ASSERT_GE(rec.status.size(), 3u);
        EXPECT_EQ(rec.status[rec.status.size() - 2], "No change");
        EXPECT_EQ(a.p.Loads[1].Resistance, 0);
        EXPECT_EQ(rec.objective.size(), 2u);  // the start and one step
    }
    {
        Recorder rec;
        OptimizerRequest r;
        r.sources = kVaryPhase;
        const Result res = RunOn(a, o, r, rec);
        ASSERT_TRUE(res.fault.has_value());
        EXPECT_EQ(res.fault->text, "Optimizing source for Z or SWR has no meaning");
    }
    {
        // A locked load is never changed, and a pass without a step ends the run.
        a.ctx.locks.FitTo(a.p);
        a.ctx.locks.Load[1] = true;
        a.p.Loads[1].Resistance = 10;
        Recorder rec;
        OptimizerRequest r;
        r.loads = kVaryR;
        ASSERT_TRUE(RunOn(a, o, r, rec).completed());
        EXPECT_EQ(a.p.Loads[1].Resistance, 10);
    }
    a.p.SourceCount = 0;
    Recorder rec;
    OptimizerRequest r;
    r.dimensions = kVaryX;
    const Result none = RunOn(a, o, r, rec);
    ASSERT_TRUE(none.failed());
    EXPECT_EQ(none.fault->text, "No Sources defined");
}

TEST(OptimizerRun, PhaseStepsOfAtMostOneDegreeAndTheWrap) {
    // Two quarter-wave-spaced dipoles fed in phase: the phase of the second
    // source is climbed for the forward gain along +x.
    test::SolvedAntenna a;
    a.Wire(11, 0, -0.24f, 0, 0, 0.24f, 0);
    a.Wire(11, 0.25f, -0.24f, 0, 0.25f, 0.24f, 0);
    a.Source(6);
    a.Source(16, 1, 358.5f);
    a.Build(false);
    a.ctx.locks.FitTo(a.p);
    a.ctx.locks.Source[1] = true;
    Optimizer o;
    Recorder rec;
    OptimizerRequest r;
    r.target = kTargetGain;
    r.sources = kVaryPhase;
    r.limit = 30;
    r.secondary = -100;
    r.elevation = 0;
    r.azimuth = 180;  // the gain is taken at azimuth -180: along -x
    std::vector<float> phases;
    OptimizerSink sink = rec.Sink();
    sink.log = [&](const std::string& l) {
        if (l.rfind(" Phase = ", 0) == 0) phases.push_back(std::stof(l.substr(9)));
    };
    ASSERT_TRUE(o.Run(a.ctx, r, sink, {}).completed());
    ASSERT_GE(phases.size(), 3u);
    EXPECT_FLOAT_EQ(phases[0], 359.5f);
    EXPECT_EQ(phases[1], 0);  // 360.5 wraps to 0
    for (std::size_t i = 1; i < phases.size(); ++i) {
        float d = std::fabs(phases[i] - phases[i - 1]);
        if (d > 180) d = 360 - d;
        EXPECT_LE(d, 1.0001f) << i;
    }
    EXPECT_EQ(a.p.Sources[1].Phase, 0);  // locked
    EXPECT_GT(rec.objective.back(), rec.objective.front());
}

TEST(OptimizerRun, TwoSourcesOfferOnlyGainAndFrontToBack) {
    test::SolvedAntenna a;
    a.Wire(11, 0, -0.24f, 0, 0, 0.24f, 0);
    a.Source(6);
    EXPECT_EQ(FirstAllowedTarget(a.p), kTargetResonance);
    a.Source(8);
    EXPECT_EQ(FirstAllowedTarget(a.p), kTargetGain);
    EXPECT_FALSE(TargetAllowed(a.p, kTargetResonance));
    EXPECT_FALSE(TargetAllowed(a.p, kTargetSwr));
    EXPECT_TRUE(TargetAllowed(a.p, kTargetFrontToBack));
    // The working files go beside the project, or elsewhere when that folder is not writable.
    test::TempDir dir;
    a.p.FileName = dir.File("x.qlk");
    EXPECT_EQ(OptimizerFolder(a.p, "/fallback"), FolderOf(dir.File("x.qlk")));
    a.p.FileName = "/proc/none/x.qlk";
    EXPECT_EQ(OptimizerFolder(a.p, "/fallback"), "/fallback");
}

}  // namespace
}  // namespace qw
