// The geometry table without a window: cells in a display unit, the
// operations, the check and its messages, the taper's chain, undo, Cancel
// and the clipboard text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "commands/geometry_check.h"
#include "commands/geometry_print.h"
#include "commands/geometry_table.h"
#include "commands/geometry_taper.h"
#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw {
namespace {

struct Table {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    Table() {
        InstallSolver(ctx);
        NewProject(ctx);
        p.Frequency = 14.2f;
        p.Env.GroundPresent = kFreeSpace;
    }
    void AddWire(float x1, float y1, float z1, float x2, float y2, float z2, float radius, int segments) {
        p.Wires[++p.WireCount] = Wire{segments, x1, y1, z1, x2, y2, z2, radius};
    }
    std::string LastMessage() const { return host.messages.empty() ? "" : host.messages.back().text; }
};

bool SameBits(const Project& a, const GeometrySnapshot& b) {
    return std::memcmp(&a.Wires, &b.Wires, sizeof a.Wires) == 0 && a.WireCount == b.WireCount;
}

TEST(GeometryTable, CellsShowTheDisplayUnitAndKeepTheExactValues) {
    Table t;
    t.AddWire(0.123456f, -5, 0, 0, 5, 0, 0.00001f, 11);  // a thin wire: 0.00002 m shows as 0.000
    GeometryTable table(t.ctx);
    EXPECT_EQ(table.CellText(1, kColX1), " 0.1235");
    EXPECT_EQ(table.CellText(1, kColY1), "-5.000");
    EXPECT_EQ(table.CellText(1, kColDiam), " 0.000");
    EXPECT_EQ(table.CellText(1, kColSeg), "11");
    EXPECT_EQ(table.CellText(1, kColWire), "1");
    table.SetUnit(kMillimeters);
    EXPECT_EQ(table.CellText(1, kColDiam), " 0.020");
    table.SetUnit(kFeet);
    EXPECT_EQ(table.CellText(1, kColY2), " 16.4042");
    // Accepting without an edit leaves every value and the flag alone.
    const GeometrySnapshot before = GeometrySnapshot::Of(t.ctx);
    ASSERT_TRUE(table.Accept());
    EXPECT_TRUE(SameBits(t.p, before));
    EXPECT_FALSE(t.p.Modified);
    EXPECT_TRUE(t.p.GeometryDefined);
}

TEST(GeometryTable, TypedValuesAndTheirLimits) {
    Table t;
    t.AddWire(0, -5, 0, 0, 5, 0, 0.001f, 11);
    GeometryTable table(t.ctx);
    EXPECT_TRUE(table.SetCell(1, kColSeg, "50"));
    EXPECT_EQ(t.p.Wires[1].Segments, 50);
    EXPECT_FALSE(table.SetCell(1, kColSeg, "51"));
    EXPECT_EQ(t.host.messages.back().text, "Value is too large");
    EXPECT_EQ(t.host.messages.back().title, "Pulses");
    EXPECT_FALSE(table.SetCell(1, kColSeg, "0"));
    EXPECT_FALSE(table.SetCell(1, kColX1, "10000"));
    EXPECT_EQ(t.host.messages.back().title, "Coordinate");
    EXPECT_FALSE(table.SetCell(1, kColX1, "-10000"));
    EXPECT_FALSE(table.SetCell(1, kColDiam, "0"));
    EXPECT_FALSE(table.SetCell(1, kColX1, "abc"));
    EXPECT_FALSE(table.SetCell(1, kColX1, "nan"));
    EXPECT_TRUE(table.SetCell(1, kColX1, "1,25"));  // a decimal comma
    EXPECT_EQ(t.p.Wires[1].X1, 1.25f);
    table.SetUnit(kCentimeters);
    EXPECT_TRUE(table.SetCell(1, kColZ2, "250"));
    EXPECT_FLOAT_EQ(t.p.Wires[1].Z2, 2.5f);
    EXPECT_EQ(t.p.Wires[1].X2, 0.0f);  // untouched cells keep their value
    EXPECT_TRUE(t.p.Modified);
}

TEST(GeometryCheck, MessagesAndWhatIsNotAFault) {
    Table t;
    t.AddWire(0, 0, 1, 0, 0, 1, 0.001f, 5);
    EXPECT_EQ(CheckGeometry(t.ctx), GeometryCheck::Failed);
    EXPECT_EQ(t.host.messages.back().text, "Wire # 1 is zero length");
    EXPECT_EQ(t.host.messages.back().title, "Check your geometry");

    t.p.Wires[1] = Wire{5, 0, 0, 1, 0, 0, 3, 0.001f};
    t.AddWire(0, 0, 3, 0, 0, 1, 0.001f, 5);  // the same ends reversed: not identical
    EXPECT_EQ(CheckGeometry(t.ctx), GeometryCheck::Passed);
    t.AddWire(0, 0, 1, 0, 0, 3, 0.001f, 5);
    EXPECT_EQ(CheckGeometry(t.ctx), GeometryCheck::Failed);
    EXPECT_EQ(t.LastMessage(), "Wire # 1 and # 3 identical");

    t.p.WireCount = 1;
    t.p.Env.GroundPresent = kOverGround;
    t.p.Height = -2;
    int row = 0;
    EXPECT_EQ(CheckGeometry(t.ctx, &row), GeometryCheck::Failed);
    EXPECT_EQ(t.LastMessage(), "Wire # 1 is below ground");
    EXPECT_EQ(row, 1);
    t.p.Height = 0;
    t.p.Wires[1] = Wire{5, 0, 0, 0, 1, 0, 0, 0.001f};
    EXPECT_EQ(CheckGeometry(t.ctx), GeometryCheck::Failed);
    EXPECT_EQ(t.LastMessage(), "Wire # 1 is on the ground");
    // In free space the same wire is fine.
    t.p.Env.GroundPresent = kFreeSpace;
    EXPECT_EQ(CheckGeometry(t.ctx), GeometryCheck::Passed);

    t.p.WireCount = 0;
    t.host.messageAnswers = {MessageAnswer::No};
    EXPECT_EQ(CheckGeometry(t.ctx), GeometryCheck::Failed);
    EXPECT_EQ(t.LastMessage(), "No wires defined. Do you want to exit anyway?");
    EXPECT_EQ(t.host.messages.back().title, "Geometry Empty");
}

TEST(GeometryCheck, PulseAndWireLimits) {
    Table t;
    for (int i = 0; i < 6; ++i) t.AddWire(0, float(i), 0, 1, float(i), 0, 0.001f, 50);
    EXPECT_FALSE(CheckPulseWireMax(t.ctx));  // 300 exactly
    t.p.Wires[6].Segments = 51;
    t.ctx.AbortFlag = false;
    EXPECT_TRUE(CheckPulseWireMax(t.ctx));
    EXPECT_EQ(t.LastMessage(), "Too many pulses! Reduce number of segments.");
    EXPECT_EQ(t.host.messages.back().title, "ABORT !");
    EXPECT_TRUE(t.ctx.AbortFlag);
    GeometryTable table(t.ctx);
    EXPECT_FALSE(table.Accept());  // 301 in all is refused at OK
}

TEST(GeometryTable, AddInsertDeleteAndConnect) {
    Table t;
    t.AddWire(0, 0, 0, 1, 2, 3, 0.001f, 5);
    t.ctx.locks.FitTo(t.p);
    t.ctx.locks.Wire[1] = true;
    GeometryTable table(t.ctx);
    table.connectNewWires = true;
    EXPECT_EQ(table.AddWire(), 2);
    EXPECT_EQ(t.p.Wires[2].X1, 1.0f);
    EXPECT_EQ(t.p.Wires[2].Z1, 3.0f);
    EXPECT_EQ(t.p.Wires[2].X2, 0.0f);
    EXPECT_EQ(t.p.Wires[2].Radius, t.ctx.options.DefaultWireSize / 2);
    EXPECT_EQ(table.InsertWire(1), 1);  // nothing before it to connect to
    EXPECT_EQ(t.p.Wires[1].X1, 0.0f);
    EXPECT_EQ(t.p.Wires[2].X2, 1.0f);
    EXPECT_TRUE(t.ctx.locks.Wire[2]);  // the lock moved with its wire
    EXPECT_EQ(t.ctx.locks.WireCount, 3);
    table.DeleteRows(1, 2);
    EXPECT_EQ(t.p.WireCount, 1);
    EXPECT_EQ(t.p.Wires[1].X1, 1.0f);
    EXPECT_EQ(t.ctx.locks.WireCount, 1);
    EXPECT_FALSE(t.ctx.locks.Wire[1]);
    while (t.p.WireCount < kMaxWires) table.AddWire();
    EXPECT_EQ(table.AddWire(), 0);
    EXPECT_EQ(t.LastMessage(), "Too many Wires");
}

TEST(GeometryTable, RotationScaleAndShift) {
    Table t;
    t.AddWire(0, 0, -1, 0, 0, 1, 0.001f, 5);  // on the z axis
    t.AddWire(1, 0, 0, 2, 0, 0, 0.001f, 5);
    GeometryTable table(t.ctx);
    table.Rotate({1}, 3, 37);
    EXPECT_EQ(t.p.Wires[1].X1, 0.0f);
    EXPECT_EQ(t.p.Wires[1].Y1, 0.0f);
    EXPECT_EQ(t.p.Wires[1].Z2, 1.0f);
    table.Rotate({2}, 3, 90);  // clockwise seen from +z: x goes to -y
    EXPECT_NEAR(t.p.Wires[2].X2, 0, 1e-6);
    EXPECT_NEAR(t.p.Wires[2].Y2, -2, 1e-6);
    table.Rotate({2}, 3, -90);
    EXPECT_NEAR(t.p.Wires[2].X2, 2, 1e-6);

    // A block over X1..Diam ends at Z2; a lone Diam column is kept.
    EXPECT_EQ(ClipSelection({1, 1, 9, 8}, 2).right, kColZ2);
    EXPECT_EQ(ClipSelection({1, 1, 9, 8}, 2).bottom, 2);
    EXPECT_EQ(ClipSelection({1, 7, 1, 7}, 2).right, kColDiam);
    ASSERT_TRUE(table.Scale({2, 1, 2, 8}, 2));
    EXPECT_NEAR(t.p.Wires[2].X2, 4, 1e-6);
    EXPECT_EQ(t.p.Wires[2].Radius, 0.001f);  // the diameter was clipped off
    ASSERT_TRUE(table.Scale({2, kColDiam, 2, kColDiam}, 3));
    EXPECT_FLOAT_EQ(t.p.Wires[2].Radius, 0.003f);
    ASSERT_TRUE(table.Shift({1, kColZ1, 2, kColZ1}, 0.5));
    EXPECT_EQ(t.p.Wires[1].Z1, -0.5f);
    EXPECT_EQ(t.p.Wires[2].Z1, 0.5f);
    EXPECT_FALSE(table.Shift({2, kColDiam, 2, kColDiam}, -1));  // a diameter below 0
    EXPECT_FLOAT_EQ(t.p.Wires[2].Radius, 0.003f);
    EXPECT_FALSE(table.Scale({1, kColX1, 2, kColZ2}, 1e6));
    EXPECT_EQ(t.LastMessage(), "Value is too large");
    EXPECT_EQ(t.p.Wires[2].Z1, 0.5f);  // all or nothing
    EXPECT_DOUBLE_EQ(table.WireLength(1), 1.5);
    table.SetUnit(kCentimeters);
    EXPECT_EQ(table.WireLengthText(1), "150.000 cm");
}

TEST(GeometryTable, UndoRedoAndCancelRestoreEverything) {
    Table t;
    t.AddWire(0, -5, 0, 0, 5, 0, 0.001f, 11);
    t.AddWire(1, -5, 0, 1, 5, 0, 0.001f, 11);
    t.p.SourceCount = 1;
    t.p.Sources[1].Pulse = 6;
    const GeometrySnapshot opened = GeometrySnapshot::Of(t.ctx);
    GeometryTable table(t.ctx);
    table.SetCell(1, kColX1, "3");
    table.DeleteRows(2, 2);
    table.AddWire();
    ASSERT_TRUE(table.Paste(1, kColX1, "1\t2\t3\r\n"));
    EXPECT_EQ(t.p.Wires[1].Z1, 3.0f);
    table.Undo();
    EXPECT_EQ(t.p.Wires[1].X1, 3.0f);
    EXPECT_EQ(t.p.Wires[1].Z1, 0.0f);
    table.Redo();
    EXPECT_EQ(t.p.Wires[1].Z1, 3.0f);
    for (int i = 0; i < 4; ++i) table.Undo();
    EXPECT_FALSE(table.CanUndo());
    EXPECT_TRUE(SameBits(t.p, opened));
    EXPECT_FALSE(t.p.Modified);
    table.Redo();
    table.Redo();
    TaperRequest r{0.002, 0.001, 0.4, 0.1, false, TaperEnds::Both};
    const TaperPlan plan = PlanTaper(t.p.Wires[1], r, kMeters, 14.2f, 0, 0);
    ASSERT_TRUE(plan.error.empty()) << plan.error;
    ASSERT_TRUE(table.ReplaceByChain(1, plan.chain));
    table.Cancel();
    EXPECT_TRUE(SameBits(t.p, opened));
    EXPECT_EQ(t.p.Sources[1].Pulse, 6);
    EXPECT_FALSE(t.p.Modified);
    EXPECT_TRUE(t.ctx.AbortFlag);
}

TEST(GeometryTable, ClipboardRoundTripAndPasteLimits) {
    Table t;
    t.AddWire(0.1f, -5.123457f, 0, 1e-7f, 5, 2.5f, 0.00123f, 11);
    t.AddWire(1, 2, 3, 4, 5, 6, 0.002f, 7);
    GeometryTable table(t.ctx);
    const std::string text = table.CopyText({1, kColX1, 2, kColSrcLd});
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "0.1\t-5.123457\t0\t1e-07\t5\t2.5\t0.00246\t11\t");
    const GeometrySnapshot before = GeometrySnapshot::Of(t.ctx);
    table.DeleteRows(1, 2);
    ASSERT_TRUE(table.Paste(1, kColX1, text));
    EXPECT_TRUE(SameBits(t.p, before));  // bit for bit through the text
    EXPECT_FALSE(table.Paste(2, kColDiam, "1\t2\t3\t4"));
    EXPECT_EQ(t.LastMessage(), "Too many columns to insert");
    EXPECT_FALSE(table.Paste(50, kColX1, "1\r\n2\r\n"));
    EXPECT_EQ(t.LastMessage(), "Too many Wires");
    EXPECT_FALSE(table.Paste(1, kColSeg, "7\r\n60\r\n"));  // the second is refused: nothing pasted
    EXPECT_EQ(t.p.Wires[1].Segments, 11);
    EXPECT_TRUE(SameBits(t.p, before));
}

TEST(GeometryTaper, ChainLengthsSegmentsAndDiameters) {
    const Wire w{10, 0, 0, 0, 10, 0, 0, 0.005f};
    // Ratio 4: N = 2; both ends of s, 2s; the middle wire 10 - 2*0.3.
    TaperPlan plan = PlanTaper(w, {0.01, 0.002, 0.4, 0.1, false, TaperEnds::Both}, kMeters, 14, 0, 0);
    ASSERT_TRUE(plan.error.empty());
    EXPECT_EQ(plan.steps, 2);
    ASSERT_EQ(plan.chain.size(), 5u);
    const float lengths[] = {0.1f, 0.2f, 9.4f, 0.2f, 0.1f};
    const float diameters[] = {0.002f, 0.006f, 0.01f, 0.006f, 0.002f};
    float x = 0;
    for (int k = 0; k < 5; ++k) {
        const Wire& c = plan.chain[k];
        EXPECT_NEAR(c.X1, x, 1e-5) << k;
        EXPECT_NEAR(c.X2 - c.X1, lengths[k], 1e-5) << k;
        EXPECT_NEAR(2 * c.Radius, diameters[k], 1e-7) << k;
        x = c.X2;
    }
    EXPECT_EQ(plan.chain.back().X2, 10.0f);
    EXPECT_EQ(plan.chain[2].Segments, 24);  // Int(9.4 / 0.4) = 23, made even
    for (int k : {0, 1, 3, 4}) EXPECT_EQ(plan.chain[k].Segments, 1);

    // A ratio below 2 gives N = 5; End2 alone has the diameters of Both.
    plan = PlanTaper(w, {0.001, 0.003, 0.01, 0.015, false, TaperEnds::End2}, kMeters, 14, 0, 0);
    ASSERT_TRUE(plan.error.empty());
    EXPECT_EQ(plan.steps, 5);
    ASSERT_EQ(plan.chain.size(), 6u);
    EXPECT_NEAR(2 * plan.chain.back().Radius, 0.001, 1e-8);
    EXPECT_NEAR(plan.chain.back().X2 - plan.chain.back().X1, 0.01, 1e-6);
    const TaperPlan both = PlanTaper(w, {0.001, 0.003, 0.01, 0.015, false, TaperEnds::Both}, kMeters, 14, 0, 0);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(plan.chain[k].Radius, both.chain[k + 5].Radius);
    EXPECT_EQ(plan.chain[0].Segments % 2, 0);

    // Refusals.
    EXPECT_EQ(PlanTaper(w, {0.01, 0.002, 0.4, 0, false, TaperEnds::Both}, kMeters, 14, 0, 0).error,
              "The smaller segment must be longer than 0");
    plan = PlanTaper(w, {0.01, 0.002, 8, 1, false, TaperEnds::Both}, kMeters, 14, 0, 0);
    EXPECT_EQ(plan.error, "Error. Taper to drastic");
    EXPECT_EQ(plan.errorTitle, "Error in taper");
    EXPECT_EQ(PlanTaper(w, {0.01, 0.002, 0.4, 0.1, false, TaperEnds::Both}, kMeters, 14, 46, 0).error,
              "Too many wires! Reduce number of wires.");
    EXPECT_EQ(PlanTaper(w, {0.01, 0.002, 0.4, 0.1, false, TaperEnds::Both}, kMeters, 14, 0, 280).error,
              "Too many pulses! Reduce number of segments.");
    // In wavelengths: 0.01 wavelength at 299.8 MHz is 1 cm.
    plan = PlanTaper(w, {0.01, 0.002, 0.04, 0.01, true, TaperEnds::End1}, kMeters, 299.8f, 0, 0);
    ASSERT_TRUE(plan.error.empty()) << plan.error;
    EXPECT_NEAR(plan.chain[0].X2, 0.01, 1e-6);
}

TEST(GeometryTable, SourceLoadTextsAndPrintedList) {
    Table t;
    t.AddWire(0, -5, 0, 0, 5, 0, 0.001f, 10);
    t.AddWire(1, -5, 0, 1, 5, 0, 0.001f, 4);
    t.p.SourceCount = 2;
    t.p.Sources[1].Pulse = 5;
    t.p.Sources[2].Pulse = 11;
    t.p.LoadCount = 1;
    t.p.Loads[1].Pulse = 12;
    t.p.FileName = "/tmp/two.qlk";
    GeometryTable table(t.ctx);
    ASSERT_TRUE(table.BuildPulses());
    t.ctx.locks.Source[2] = true;
    EXPECT_EQ(SourceLoadText(t.ctx, 1), "S5 ");
    EXPECT_EQ(SourceLoadText(t.ctx, 2), "S2* L3 ");
    const std::vector<std::string> lines = GeometryPrintLines(table);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Geometry File : /tmp/two.qlk  Units : Meters, Height = 0.000");
    EXPECT_EQ(lines[2], " Wire          X1          Y1          Z1          X2          Y2          Z2       Diam.  Seg.  Src/Ld");
    EXPECT_EQ(lines[4], "    2       1.000      -5.000       0.000       1.000       5.000       0.000       0.002     4  S2* L3");
    EXPECT_EQ(*ParseWireList("2,4-6, 1", 6), (std::vector<int>{2, 4, 5, 6, 1}));
    EXPECT_FALSE(ParseWireList("0", 6));
    EXPECT_FALSE(ParseWireList("5-7", 6));
    EXPECT_FALSE(ParseWireList("a", 6));
}

TEST(DisplayUnit, CycleSkipsWavelengthsWithoutFrequency) {
    EXPECT_EQ(NextDisplayUnit(kMillimeters, 14), kWavelengths);
    EXPECT_EQ(NextDisplayUnit(kWavelengths, 14), kMeters);
    EXPECT_EQ(NextDisplayUnit(kMillimeters, 0), kMeters);
    EXPECT_EQ(UnitButtonCaption(kWavelengths), "wlngth");
}

}  // namespace
}  // namespace qw
