// The pulse table: pulses per wire, ground contact, junctions, the limits
// and refusals, and the geometry listing in the log.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "support/solved_antenna.h"

namespace qw {
namespace {

// Over ground unless asked otherwise, at 14.2 MHz.
struct Build : test::SolvedAntenna {
    explicit Build(bool freeSpace = false) : SolvedAntenna(14.2f) {
        if (!freeSpace) p.Env.GroundPresent = kOverGround;
    }
    Build& AddWire(int segments, float x1, float y1, float z1, float x2, float y2, float z2, float radius = 0.001f) {
        Wire(segments, x1, y1, z1, x2, y2, z2, radius);
        return *this;
    }
    // The table, its fault shown through the scripted host as a command does.
    const PulseTable& Run() {
        Conclude(ctx, BuildPulseTable(ctx));
        return St().pulses;
    }
};

TEST(Pulses, GroundContact) {
    // A wire from the ground gets a pulse there; the point before the ground
    // is the mirror image of the first inner point.
    Build b;
    const PulseTable& t = b.AddWire(4, 0, 0, 0, 0, 0, 4).Run();
    EXPECT_EQ(t.N, 4);
    EXPECT_TRUE(t.IsGroundPulse(1));
    EXPECT_EQ(t.C[1][1], -1);
    EXPECT_EQ(t.Z[1], -1.0f);
    EXPECT_EQ(t.Z[2], 0.0f);
    // The antenna's height counts; at most 1e-5 m lies on the ground; in
    // free space there is none.
    for (const auto& [height, z1, freeSpace, pulses] : {std::tuple{2.0f, 0.0f, false, 3}, std::tuple{2.0f, -2.0f, false, 4},
                                                         std::tuple{0.0f, 1e-5f, false, 4}, std::tuple{0.0f, 0.0f, true, 3}}) {
        Build h(freeSpace);
        h.p.Height = height;
        EXPECT_EQ(h.AddWire(4, 0, 0, z1, 0, 0, 4).Run().N, pulses) << height << " " << z1;
    }
    // End 2 is not tested for ground when end 1 lies on it.
    Build both;
    EXPECT_EQ(both.AddWire(4, 0, 0, 0, 4, 0, 0).Run().RawC[4][2], 0);
}

TEST(Pulses, JoinedWiresShareAJunctionPulse) {
    Build b(true);
    b.AddWire(2, 0, 0, 1, 1, 0, 1);
    b.AddWire(2, 1, 0, 1, 1, 1, 1);   // end 1 on end 2 of wire 1
    b.AddWire(2, 0, 0, 1, 0, -1, 1);  // end 1 on end 1 of wire 1
    const PulseTable& t = b.Run();
    EXPECT_EQ(t.N, 1 + 2 + 2);
    EXPECT_EQ(t.C[2][1], 1);   // end 2 to end 1: +1
    EXPECT_EQ(t.C[4][1], -1);  // end 1 to end 1: -1
    EXPECT_EQ(t.WireEndTable[1][1], 3);
    EXPECT_EQ(t.WireEndTable[1][2], 2);
    // The junction pulse's first half lies one segment back along wire 1.
    const int B = 2 * (2 - 1) + t.Nw[2][1];
    EXPECT_FLOAT_EQ(t.X[B], 0.5f);
    // Ends closer than 1e-5 m join.
    for (const auto& [gap, joined] : {std::pair{0.000009f, true}, std::pair{0.00001f, false}}) {
        Build g(true);
        EXPECT_EQ(g.AddWire(2, 0, 0, 0, 1, 0, 0).AddWire(2, 1 + gap, 0, 0, 2, 0, 0).Run().N, joined ? 3 : 2) << gap;
    }
}

TEST(Pulses, WireWithoutPulse) {
    Build b(true);
    EXPECT_EQ(b.AddWire(1, 0, 0, 0, 1, 0, 0).Run().N, 0);
    EXPECT_EQ(b.host.mainText, std::vector<std::string>{"NUMBER OF PULSES IS ZERO....RE-ENTER GEOMETRY"});
}

TEST(Pulses, Limits) {
    // Six wires of 50 pulses are the most; one pulse more aborts.
    Build over(true);
    for (int w = 0; w < 6; ++w) over.AddWire(51, 0, 0.4f * w, 0, 1, 0.4f * w, 0);
    EXPECT_EQ(over.Run().N, 300);
    EXPECT_FALSE(over.ctx.AbortFlag);
    over.AddWire(2, 5, 0, 0, 6, 0, 0).Run();
    EXPECT_TRUE(over.ctx.AbortFlag);
    EXPECT_EQ(over.p.PulseCount, 301);
    ASSERT_EQ(over.host.messages.size(), 1u);
    EXPECT_EQ(over.host.messages[0].text, "PULSE NUMBER EXCEEDS LIMIT");
    EXPECT_EQ(over.host.messages[0].title, "ABORT !");
}

TEST(Pulses, BadWiresAreRefused) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<Wire, const char*> cases[] = {  // the wire, the start of the message
        {Wire{0, 0, 0, 0, 1, 0, 0, 0.001f}, "Wire 1 has fewer than 1 segment"},
        {Wire{3, 0, 0, 0, 1, 0, 0, 0}, "Wire 1 has a diameter of 0 or less"},
        {Wire{3, 0, 0, 0, inf, 0, 0, 0.001f}, "Wire 1 has a coordinate"},
        {Wire{3, 1, 1, 1, 1, 1, 1, 0.001f}, "Overflow in calculations, Check your Geometry"},
    };
    for (const auto& [wire, expected] : cases) {
        Build b;
        b.p.Wires[++b.p.WireCount] = wire;
        b.Run();
        EXPECT_TRUE(b.ctx.AbortFlag);
        ASSERT_EQ(b.host.messages.size(), 1u);
        EXPECT_EQ(b.host.messages[0].text.rfind(expected, 0), 0u) << b.host.messages[0].text;
    }
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
}

}  // namespace
}  // namespace qw
