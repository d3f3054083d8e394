#include <gtest/gtest.h>

#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

struct Build {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;

    Build() {
        InstallSolver(ctx);
        NewProject(ctx);
        p.Frequency = 14.2f;
    }
    void AddWire(int segments, float x1, float y1, float z1, float x2, float y2, float z2, float radius = 0.001f) {
        p.Wires[++p.WireCount] = Wire{segments, x1, y1, z1, x2, y2, z2, radius};
    }
    const PulseTable& Run() {
        BuildPulseTable(ctx);
        return Solver(ctx).pulses;
    }
};

TEST(Pulses, FreeWireGetsSegmentsMinusOnePulses) {
    Build b;
    b.p.Env.GroundPresent = kFreeSpace;
    b.AddWire(4, 0, 0, 1, 0, 0, 5);
    const PulseTable& t = b.Run();
    EXPECT_FALSE(b.ctx.AbortFlag);
    EXPECT_EQ(t.N, 3);
    EXPECT_EQ(b.p.PulseCount, 3);
    EXPECT_EQ(t.Nw[1][1], 1);
    EXPECT_EQ(t.Nw[1][2], 3);
    EXPECT_EQ(t.RawC[1][1], 0);  // free end before the listing completes it
    EXPECT_EQ(t.C[1][1], 1);
    EXPECT_EQ(t.CG[1], 1.0f);
    EXPECT_EQ(t.S[1], 1.0f);
    // Break points: the five segment ends, 1 m apart.
    for (int q = 1; q <= 5; ++q) EXPECT_EQ(t.Z[q], static_cast<float>(q)) << q;
    EXPECT_EQ(t.Centre(2), 3);
}

TEST(Pulses, GroundedVerticalGetsAPulseAtTheGround) {
    Build b;
    b.AddWire(4, 0, 0, 0, 0, 0, 4);
    const PulseTable& t = b.Run();
    EXPECT_EQ(t.N, 4);
    EXPECT_EQ(t.C[1][1], -1);
    EXPECT_EQ(t.C[1][2], 1);
    EXPECT_TRUE(t.IsGroundPulse(1));
    EXPECT_EQ(t.J1[1], -1);
    // The point before the ground is the mirror image of the first inner point.
    EXPECT_EQ(t.Z[1], -1.0f);
    EXPECT_EQ(t.Z[2], 0.0f);
    // In free space the same wire has no ground pulse.
    Build f;
    f.p.Env.GroundPresent = kFreeSpace;
    f.AddWire(4, 0, 0, 0, 0, 0, 4);
    EXPECT_EQ(f.Run().N, 3);
    EXPECT_EQ(Solver(f.ctx).pulses.RawC[1][1], 0);
}

TEST(Pulses, HeightDecidesGroundContact) {
    Build lifted;
    lifted.p.Height = 2;
    lifted.AddWire(4, 0, 0, 0, 0, 0, 4);
    EXPECT_EQ(lifted.Run().N, 3);
    Build sunk;
    sunk.p.Height = 2;
    sunk.AddWire(4, 0, 0, -2, 0, 0, 4);
    EXPECT_EQ(sunk.Run().N, 4);
    Build edge;
    edge.AddWire(4, 0, 0, 0.00001f, 0, 0, 4);  // at most 1e-5 m lies on the ground
    EXPECT_EQ(edge.Run().N, 4);
    // End 2 is not tested for ground when end 1 lies on it.
    Build both;
    both.AddWire(4, 0, 0, 0, 4, 0, 0);
    const PulseTable& t = both.Run();
    EXPECT_EQ(t.N, 4);
    EXPECT_EQ(t.RawC[4][2], 0);
}

TEST(Pulses, JoinedWiresShareAJunctionPulse) {
    Build b;
    b.p.Env.GroundPresent = kFreeSpace;
    b.AddWire(2, 0, 0, 1, 1, 0, 1);
    b.AddWire(2, 1, 0, 1, 1, 1, 1);   // end 1 on end 2 of wire 1
    b.AddWire(2, 0, 0, 1, 0, -1, 1);  // end 1 on end 1 of wire 1
    const PulseTable& t = b.Run();
    EXPECT_EQ(t.N, 1 + 2 + 2);
    EXPECT_EQ(t.Nw[2][1], 2);
    EXPECT_EQ(t.C[2][1], 1);   // end 2 to end 1: +1
    EXPECT_EQ(t.C[4][1], -1);  // end 1 to end 1: -1
    EXPECT_EQ(t.J2[1][1], 1);
    EXPECT_EQ(t.J2[1][2], 1);
    EXPECT_EQ(t.WireEndTable[1][1], 3);
    EXPECT_EQ(t.WireEndTable[1][2], 2);
    EXPECT_EQ(t.WireEndTable[2][1], 1);
    // The junction pulse's first half lies one segment back along wire 1.
    const int B = 2 * (2 - 1) + t.Nw[2][1];
    EXPECT_FLOAT_EQ(t.X[B], 0.5f);
    EXPECT_FLOAT_EQ(t.Y[B], 0.0f);
}

TEST(Pulses, CoincidenceThreshold) {
    for (const auto& [gap, joined] : {std::pair{0.000009f, true}, std::pair{0.00001f, false}}) {
        Build b;
        b.p.Env.GroundPresent = kFreeSpace;
        b.AddWire(2, 0, 0, 0, 1, 0, 0);
        b.AddWire(2, 1 + gap, 0, 0, 2, 0, 0);
        EXPECT_EQ(b.Run().N, joined ? 3 : 2) << gap;
    }
}

TEST(Pulses, WireWithoutPulse) {
    Build b;
    b.p.Env.GroundPresent = kFreeSpace;
    b.AddWire(1, 0, 0, 0, 1, 0, 0);
    const PulseTable& t = b.Run();
    EXPECT_EQ(t.N, 0);
    EXPECT_EQ(t.Nw[1][1], 1);
    EXPECT_EQ(t.Nw[1][2], 0);
    EXPECT_EQ(t.X[1], 0.0f);
    EXPECT_EQ(t.X[2], 1.0f);
    EXPECT_EQ(b.host.mainText, std::vector<std::string>{"NUMBER OF PULSES IS ZERO....RE-ENTER GEOMETRY"});
}

TEST(Pulses, Limits) {
    Build ok;
    ok.p.Env.GroundPresent = kFreeSpace;
    for (int w = 0; w < 6; ++w) ok.AddWire(51, 0, 0.4f * w, 0, 1, 0.4f * w, 0);
    EXPECT_EQ(ok.Run().N, 300);
    EXPECT_FALSE(ok.ctx.AbortFlag);

    Build over = Build();
    over.p.Env.GroundPresent = kFreeSpace;
    for (int w = 0; w < 6; ++w) over.AddWire(51, 0, 0.4f * w, 0, 1, 0.4f * w, 0);
    over.AddWire(2, 5, 0, 0, 6, 0, 0);
    over.Run();
    EXPECT_TRUE(over.ctx.AbortFlag);
    EXPECT_EQ(over.p.PulseCount, 301);
    ASSERT_EQ(over.host.messages.size(), 1u);
    EXPECT_EQ(over.host.messages[0].text, "PULSE NUMBER EXCEEDS LIMIT");
    EXPECT_EQ(over.host.messages[0].title, "ABORT !");
}

TEST(Pulses, BadWiresAreRefused) {
    struct Case {
        Wire wire;
        const char* expected;  // start of the message
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {Wire{0, 0, 0, 0, 1, 0, 0, 0.001f}, "Wire 1 has fewer than 1 segment"},
        {Wire{3, 0, 0, 0, 1, 0, 0, 0}, "Wire 1 has a diameter of 0 or less"},
        {Wire{3, 0, 0, 0, inf, 0, 0, 0.001f}, "Wire 1 has a coordinate"},
        {Wire{3, 1, 1, 1, 1, 1, 1, 0.001f}, "Overflow in calculations, Check your Geometry"},
    };
    for (const auto& c : cases) {
        Build b;
        b.p.Wires[++b.p.WireCount] = c.wire;
        b.Run();
        EXPECT_TRUE(b.ctx.AbortFlag);
        ASSERT_EQ(b.host.messages.size(), 1u);
        EXPECT_EQ(b.host.messages[0].text.rfind(c.expected, 0), 0u) << b.host.messages[0].text;
    }
}

TEST(Pulses, NecModeScalesTheSolverRadius) {
    Build b;
    b.ctx.options.NecMode = 2;
    b.ctx.options.FrequencyOffsetFactor = 1.5f;
    b.AddWire(4, 0, 0, 1, 0, 0, 5, 0.002f);
    EXPECT_EQ(b.Run().A[1], 0.003f);
    b.ctx.options.NecMode = 1;
    RescaleRadii(b.ctx);
    EXPECT_EQ(Solver(b.ctx).pulses.A[1], 0.002f);
}

TEST(Pulses, Listings) {
    test::TempDir dir;
    Build b;
    ASSERT_TRUE(b.ctx.log.Open(dir.File("q.log")));
    b.p.FileName = "/x/dipole.qlk";
    b.AddWire(2, 0, 0, 0, 0, 0, 2);
    b.p.SourceCount = 1;
    b.p.Sources[1].Pulse = 2;
    b.Run();
    b.ctx.log.Close();
    const std::string expected =
        "QUILLWORK  v1.0 Log File\r\n\r\n"
        " \r\nProject DIPOLE.QLK\r\n**** ANTENNA GEOMETRY ****\r\n"
        "         COORDINATES                      END      NO. OF\r\n"
        "  X        Y          Z        DIAM.   CONNECTION  SEGMENTS\r\n"
        " 0.00     0.00      0.00                  -1 \r\n"
        " 0.00     0.00      2.00      0.002        0          2 \r\n"
        " \r\n**** CONNECTIONS ****\r\n"
        " \r\nWIRE NO.  1  COORDINATES              CONNECTION  PULSE\r\n"
        "  X        Y          Z        DIAM.   END1  END2  NO.\r\n"
        " 0.00     0.00      0.00      0.002    -1     1     1 \r\n"
        " 0.00     0.00      1.00      0.002     1     0     2  S 1 \r\n";
    EXPECT_EQ(test::ReadBytes(dir.File("q.log")), expected);

    // In a batch nothing is listed.
    ASSERT_TRUE(b.ctx.log.Open(dir.File("batch.log")));
    b.ctx.BatchMode = true;
    b.Run();
    b.ctx.log.Close();
    EXPECT_EQ(test::ReadBytes(dir.File("batch.log")), "QUILLWORK  v1.0 Log File\r\n\r\n");
}

}  // namespace
}  // namespace qw
