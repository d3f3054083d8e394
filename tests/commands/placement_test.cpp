// Placing sources and loads by wire and slot without a window: the usable
// slots against the solver's own connection table, the tick labels, the
// drop rule, the excitation conversions, the refusals and OK.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/placement.h"
#include "commands/placement_values.h"
#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw {
namespace {

struct Bench {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    Bench() {
        InstallSolver(ctx);
        NewProject(ctx);
        p.Frequency = 14.2f;
        p.Env.GroundPresent = kFreeSpace;
    }
    void AddWire(float x1, float y1, float z1, float x2, float y2, float z2, int segments) {
        p.Wires[++p.WireCount] = Wire{segments, x1, y1, z1, x2, y2, z2, 0.001f};
        ctx.Changed(Change::Geometry);
    }
};

TEST(PlacementSlots, FreeWireOfThirtySegmentsIsLabelledEveryFifthSlotFromSlotOne) {
    Bench b;
    b.AddWire(0, -5, 0, 0, 5, 0, 30);
    b.AddWire(1, -5, 0, 1, 5, 0, 20);
    const auto layout = PulseLayout(b.p);
    const WireSlots s = SlotsOfWire(b.p, layout, 1);
    EXPECT_EQ(s.firstSlot, 1);
    EXPECT_EQ(s.lastSlot, 29);
    EXPECT_EQ(TickLabels(s), (std::vector<int>{1, 6, 11, 16, 21, 26}));
    const WireSlots t = SlotsOfWire(b.p, layout, 2);
    EXPECT_EQ(TickLabels(t).size(), 19u);  // every slot up to 20 segments
    EXPECT_EQ(SlotPulse(t, 1), 30);        // after wire 1's 29 pulses
    EXPECT_EQ(SlotPulse(t, 0), 0);
    EXPECT_EQ(SlotPulse(t, 20), 0);
    EXPECT_DOUBLE_EQ(SlotPercent(s, 15), 50.0);
    EXPECT_EQ(PulseInWire(s, 15), 15);
}

// Joined, grounded, free and pulse-less wires: the slots agree with the
// raw connections of the pulse table the solver builds, and every slot maps
// back to its pulse.
TEST(PlacementSlots, UsableSlotsFollowThePulseTablesRawConnections) {
    Bench b;
    b.p.Env.GroundPresent = kOverGround;
    b.AddWire(0, 0, 0, 0, 0, 4, 8);     // end 1 on the ground
    b.AddWire(0, 0, 4, 3, 0, 4, 6);     // end 1 joins wire 1's end 2
    b.AddWire(5, 0, 1, 5, 0, 2, 1);     // one segment, both ends free: no pulse
    b.AddWire(3, 0, 4, 3, 0, 1, 5);     // end 1 joins wire 2's end 2
    b.AddWire(9, 0, 2, 3, 0, 1, 4);     // end 2 joins wire 4's end 2
    ASSERT_TRUE(Conclude(b.ctx, BuildPulseTable(b.ctx)));
    const PulseTable& t = Solver(b.ctx).pulses;
    const auto layout = PulseLayout(b.p);
    for (int w = 1; w <= b.p.WireCount; ++w) {
        const WireSlots s = SlotsOfWire(b.p, layout, w);
        const int first = t.Nw[w][1], last = t.Nw[w][2];
        if (last < first) {
            EXPECT_LT(s.lastSlot, s.firstSlot) << "wire " << w;
            continue;
        }
        EXPECT_EQ(s.firstSlot, t.RawC[first][1] != 0 ? 0 : 1) << "wire " << w;
        EXPECT_EQ(s.lastSlot, t.RawC[last][2] != 0 ? s.segments : s.segments - 1) << "wire " << w;
        EXPECT_EQ(SlotPulse(s, s.firstSlot), first) << "wire " << w;
        EXPECT_EQ(SlotPulse(s, s.lastSlot), last) << "wire " << w;
        for (int slot = s.firstSlot; slot <= s.lastSlot; ++slot) {
            const SlotPlace at = PlaceOfPulse(b.p, layout, SlotPulse(s, slot));
            EXPECT_EQ(at.wire, w);
            EXPECT_EQ(at.slot, slot);
        }
    }
    EXPECT_EQ(SlotsOfWire(b.p, layout, 2).firstSlot, 0);
    EXPECT_EQ(SlotsOfWire(b.p, layout, 5).lastSlot, 4);
}

TEST(PlacementSlots, DropLandsOnTheNearestUsableSlotNearTheWire) {
    Bench b;
    b.AddWire(0, -5, 0, 0, 5, 0, 10);
    const WireSlots s = SlotsOfWire(b.p, PulseLayout(b.p), 1);
    EXPECT_DOUBLE_EQ(s.Spacing(), 766);
    EXPECT_EQ(DropSlot(s, 340 + 3 * 766, 3180, 480), 3);
    EXPECT_EQ(DropSlot(s, 340 + 3 * 766 + 383, 3180 + 959, 480), 3);  // half a spacing: the first slot wins
    EXPECT_EQ(DropSlot(s, 340 + 3 * 766 + 384, 3180, 480), 4);
    EXPECT_EQ(DropSlot(s, 340 + 3 * 766, 3180 + 960, 480), -1);  // too far from the wire
    EXPECT_EQ(DropSlot(s, 340, 3180, 480), -1);                   // slot 0 has no pulse
    EXPECT_EQ(DropSlot(s, 8000, 3180, 480), -1);
}

TEST(PlacementValues, ConversionsBothWaysInAllFourQuadrants) {
    struct Case {
        double re, im, magnitude, degrees;
    };
    const double r2 = std::sqrt(2.0);
    for (const Case c : {Case{1, 1, r2, 45}, Case{-1, 1, r2, 135}, Case{-1, -1, r2, -135}, Case{1, -1, r2, -45},
                         Case{0, 2, 2, 90}, Case{0, -2, 2, -90}, Case{-3, 0, 3, 180}, Case{3, 0, 3, 0},
                         Case{0, 0, 0, 0}}) {
        const Polar p = ToPolar(c.re, c.im);
        EXPECT_NEAR(p.magnitude, c.magnitude, 1e-12) << c.re << "," << c.im;
        EXPECT_NEAR(p.degrees, c.degrees, 1e-12) << c.re << "," << c.im;
        const Rectangular r = ToRectangular(c.magnitude, c.degrees);
        EXPECT_NEAR(r.re, c.re, 1e-12);
        EXPECT_NEAR(r.im, c.im, 1e-12);
    }
    EXPECT_NEAR(ToPolar(-1, -0.0).degrees, 180, 1e-12);
    EXPECT_EQ(LoadKindOf(false, false), kSeriesRX);
    EXPECT_EQ(LoadKindOf(false, true), kParallelRX);
    EXPECT_EQ(LoadKindOf(true, false), kSeriesRLC);
    EXPECT_EQ(LoadKindOf(true, true), kParallelRLC);
}

TEST(Placement, RefusalsLeaveTheWorkingTablesAlone) {
    Bench b;
    b.AddWire(0, -5, 0, 0, 5, 0, 10);
    b.AddWire(0, 5, 0, 0, 5, 3, 4);  // end 1 joins wire 1
    Placement pl(b.p);
    int n = 0;
    EXPECT_FALSE(pl.AddSource(1, 5, &n));
    EXPECT_EQ(n, 1);
    EXPECT_EQ(pl.SourceAt(1).Pulse, 5);
    EXPECT_EQ(pl.SourceAt(1).Magnitude, 100);
    EXPECT_EQ(pl.SourceAt(1).Kind, kVoltageSource);
    const PlacementRefusal twice = pl.AddSource(1, 5);
    EXPECT_EQ(twice.text, "Only one source per Pulse");
    EXPECT_EQ(twice.title, "Source placement");
    EXPECT_EQ(pl.AddSource(3, 1).text, "No Such Wire");
    EXPECT_TRUE(pl.AddSource(1, 10));
    EXPECT_EQ(pl.SourceCount(), 1);
    EXPECT_FALSE(pl.AddSource(2, 0, &n));  // the junction pulse of wire 2
    EXPECT_EQ(pl.SourceAt(2).Pulse, 10);
    EXPECT_EQ(pl.MoveSource(2, 1, 5).text, "Only one source per Pulse");
    EXPECT_FALSE(pl.MoveSource(2, 1, 6));
    EXPECT_EQ(pl.SourceAt(2).Pulse, 6);
    // Loads may share a pulse; the tables stop at 10 sources and 20 loads.
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(pl.AddLoad(1, 1 + i % 9));
    EXPECT_TRUE(pl.AddLoad(1, 1));
    EXPECT_EQ(pl.LoadCount(), 20);
    for (int slot = 1; slot <= 8; ++slot)
        if (slot != 5 && slot != 6) EXPECT_FALSE(pl.AddSource(1, slot));
    EXPECT_EQ(pl.SourceCount(), 8);
    EXPECT_FALSE(pl.AddSource(2, 1));
    EXPECT_FALSE(pl.AddSource(2, 2));
    const PlacementRefusal full = pl.AddSource(2, 3);
    EXPECT_TRUE(full);
    EXPECT_EQ(full.title, "Source placement");
    EXPECT_EQ(pl.SourceCount(), 10);
    // Deleting renumbers the ones after.
    const int third = pl.SourceAt(3).Pulse;
    EXPECT_FALSE(pl.DeleteSource(2));
    EXPECT_EQ(pl.SourceAt(2).Pulse, third);
    EXPECT_TRUE(pl.DeleteSource(10));
    EXPECT_EQ(b.p.SourceCount, 0);  // the project is untouched until OK
}

TEST(Placement, WireSelectionWrapsBothWays) {
    Bench b;
    for (int w = 0; w < 3; ++w) b.AddWire(w, -5, 0, w, 5, 0, 10);
    Placement pl(b.p);
    EXPECT_EQ(pl.Wire(), 1);
    pl.PreviousWire();
    EXPECT_EQ(pl.Wire(), 3);
    pl.NextWire();
    EXPECT_EQ(pl.Wire(), 1);
    EXPECT_EQ(pl.SelectWire(4).text, "No Such Wire");
    EXPECT_EQ(pl.Wire(), 1);
}

TEST(Placement, OkWithoutChangesMarksTheProjectAndPreparesTheTables) {
    Bench b;
    b.AddWire(0, -5, 0, 0, 5, 0, 10);
    b.p.Sources[1].Pulse = 4;
    b.p.SourceCount = 1;
    b.p.Loads[1] = Load{7, 0, kSeriesRX, 50, 25, 0};
    b.p.LoadCount = 1;
    ASSERT_TRUE(Conclude(b.ctx, BuildPulseTable(b.ctx)));
    Placement pl(b.p);
    ASSERT_TRUE(pl.Commit(b.ctx));
    EXPECT_TRUE(b.p.Modified);
    EXPECT_TRUE(b.p.SourcesDefined);
    EXPECT_TRUE(b.p.LoadsDefined);
    const SolverState& st = Solver(b.ctx);
    EXPECT_EQ(st.E[1], 4.0f);
    EXPECT_EQ(st.VR[1], 100.0f);
    EXPECT_EQ(st.LoadPulse[1], 7);
    EXPECT_EQ(st.built.sources, b.ctx.revisions.sources);
}

TEST(Placement, OkWithALoadWithoutImpedanceKeepsTheProjectsTables) {
    Bench b;
    b.AddWire(0, -5, 0, 0, 5, 0, 10);
    ASSERT_TRUE(Conclude(b.ctx, BuildPulseTable(b.ctx)));
    Placement pl(b.p);
    int n = 0;
    ASSERT_FALSE(pl.AddLoad(1, 3, &n));
    pl.LoadAt(n).Kind = kParallelRLC;  // no L, no C: no impedance
    EXPECT_FALSE(pl.Commit(b.ctx));
    EXPECT_FALSE(b.host.messages.empty());
    EXPECT_EQ(b.p.LoadCount, 0);
    EXPECT_FALSE(b.p.Modified);
}

}  // namespace
}  // namespace qw
