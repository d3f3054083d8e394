// The parallel sweep: the same results from several workers as from the
// program's own context (cli_sweeps.sh compares -j 1 with -j 3), and Stop.
#include <gtest/gtest.h>

#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "sweeps/parallel_sweep.h"
#include "sweeps/sweep_point.h"

namespace qw {
namespace {

// Two parallel elements over perfect ground: a driven one and a reflector.
struct TwoElements {
    ScriptedHost host;
    Context ctx{host};
    TwoElements() {
        InstallSolver(ctx);
        NewProject(ctx);
        Project& p = ctx.project;
        p.Frequency = 300;
        p.Height = 1;
        p.GroundDefined = true;
        p.Wires[++p.WireCount] = Wire{10, 0, -0.24f, 0, 0, 0.24f, 0, 0.001f};
        p.Wires[++p.WireCount] = Wire{10, -0.15f, -0.26f, 0, -0.15f, 0.26f, 0, 0.001f};
        p.Sources[++p.SourceCount] = Source{5, 0, 1, 0, kVoltageSource};
        SetFrequencyConstants(ctx);
        BuildPulseTable(ctx);
        PrepareSources(ctx);
        PrepareLoads(ctx);
    }
};

TEST(ParallelSweep, SameResultsAsTheProgramsOwnContext) {
    TwoElements a;
    ParallelSweepRequest request;
    request.frequencies = {280, 290, 300, 310, 320};
    request.workers = 3;
    std::vector<ParallelPoint> handed;
    request.onPoint = [&](const ParallelPoint& p) { handed.push_back(p); };
    const auto points = RunParallelSweep(a.ctx, request);
    ASSERT_EQ(points.size(), 5u);
    ASSERT_EQ(handed.size(), 5u);  // every point, in frequency order, as the table holds it
    for (std::size_t i = 0; i < points.size(); ++i) {
        PointImpedance z;
        ASSERT_TRUE(EvaluatePoint(a.ctx, request.frequencies[i], z).completed());
        EXPECT_TRUE(points[i].done && z.R == points[i].z.R && z.X == points[i].z.X) << i;
        EXPECT_TRUE(handed[i].frequency == request.frequencies[i] && handed[i].z.R == points[i].z.R) << i;
    }
    // The parent's project is untouched by the workers.
    EXPECT_EQ(a.ctx.project.WireCount, 2);
}

TEST(ParallelSweep, StopLeavesTheRestUndone) {
    TwoElements a;
    std::vector<ParallelPoint> handed;
    ParallelSweepRequest request;
    for (int k = 0; k < 400; ++k) request.frequencies.push_back(200.0f + 0.5f * k);
    request.workers = 2;
    request.onPoint = [&](const ParallelPoint& p) { handed.push_back(p); };

    // A stop asked for before the sweep: no worker begins a point.
    a.ctx.stop.Request();
    auto points = RunParallelSweep(a.ctx, request);
    ASSERT_EQ(points.size(), 400u);
    for (const auto& p : points) EXPECT_FALSE(p.done) << p.frequency;
    EXPECT_TRUE(handed.empty());
    EXPECT_TRUE(a.ctx.AbortFlag);

    // A stop asked for once the third point was handed over: the workers
    // end after their current point. The points are taken in order, so the
    // ones handed over are every point begun, in frequency order, and none
    // after them was solved.
    a.ctx.stop.Reset();
    a.ctx.AbortFlag = false;
    request.onPoint = [&](const ParallelPoint& p) {
        handed.push_back(p);
        if (handed.size() == 3) a.ctx.stop.Request();
    };
    points = RunParallelSweep(a.ctx, request);
    ASSERT_GE(handed.size(), 3u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i < handed.size())
            EXPECT_TRUE(handed[i].frequency == request.frequencies[i] && handed[i].done == points[i].done) << i;
        else
            EXPECT_FALSE(points[i].done) << i;
    }
    EXPECT_TRUE(handed[0].done && handed[1].done && handed[2].done);
    // Points left over mean the stop reached the workers, and the command
    // is stopped (with every point done first, it may not be).
    if (handed.size() < points.size()) EXPECT_TRUE(a.ctx.AbortFlag);
    EXPECT_TRUE(a.ctx.stop.Requested());
}

// Antennas without repetition, in free space and over ground: every point
// of a sweep whose workers keep their fill from point to point equals the
// same point solved afresh in the program's own context, bit for bit.
TEST(ParallelSweep, PointsFromAKeptFillEqualFreshPoints) {
    for (const bool overGround : {false, true}) {
        TwoElements a;
        Project& p = a.ctx.project;
        p.WireCount = 0;
        if (overGround) {
            // A vertical with three drooping radials of unequal length.
            p.Height = 0.6f;
            p.Wires[++p.WireCount] = Wire{11, 0, 0, 0, 0, 0, 0.25f, 0.0015f};
            p.Wires[++p.WireCount] = Wire{9, 0, 0, 0, 0.22f, 0.03f, -0.09f, 0.001f};
            p.Wires[++p.WireCount] = Wire{10, 0, 0, 0, -0.12f, 0.2f, -0.11f, 0.0008f};
            p.Wires[++p.WireCount] = Wire{8, 0, 0, 0, -0.09f, -0.21f, -0.07f, 0.002f};
            p.Sources[1] = Source{1, 0, 1, 0, kVoltageSource};
        } else {
            // Three unequal elements at unequal spacings, one sloping.
            p.Env.GroundPresent = kFreeSpace;
            p.Wires[++p.WireCount] = Wire{11, 0, -0.24f, 0, 0, 0.24f, 0.01f, 0.001f};
            p.Wires[++p.WireCount] = Wire{13, -0.17f, -0.26f, 0, -0.16f, 0.26f, 0, 0.0012f};
            p.Wires[++p.WireCount] = Wire{9, 0.11f, -0.21f, -0.02f, 0.12f, 0.2f, 0.04f, 0.004f};
            p.Sources[1] = Source{6, 0, 1, 0, kVoltageSource};
        }
        SetFrequencyConstants(a.ctx);
        BuildPulseTable(a.ctx);
        PrepareSources(a.ctx);
        PrepareLoads(a.ctx);
        ParallelSweepRequest request;
        request.frequencies = {285, 291.5f, 297, 300, 304.5f, 311, 318};
        request.withGain = true;
        for (const int workers : {1, 2}) {
            request.workers = workers;
            const auto points = RunParallelSweep(a.ctx, request);
            ASSERT_EQ(points.size(), request.frequencies.size());
            for (std::size_t i = 0; i < points.size(); ++i) {
                PointImpedance z;
                ASSERT_TRUE(EvaluatePoint(a.ctx, request.frequencies[i], z).completed());
                EXPECT_TRUE(points[i].done && z.R == points[i].z.R && z.X == points[i].z.X)
                    << (overGround ? "over ground" : "free space") << ", " << workers << " workers, point " << i
                    << ": " << points[i].z.R << " " << points[i].z.X << " against " << z.R << " " << z.X;
            }
        }
        EXPECT_FALSE(Solver(a.ctx).keepFillAcrossFrequencies);  // the program's own context fills afresh
    }
}

}  // namespace
}  // namespace qw
