// NEC decks: expressions, each geometry card against coordinates worked out
// by hand, the tag and segment rules, the mapping of EX, LD, GN and FR, the
// warning for cards that are not represented, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "model/nec_expression.h"
#include "model/nec_geometry.h"
#include "model/nec_writer.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "model/pulse_layout.h"
#include "platform/scripted_host.h"

namespace qw {
namespace {

struct Deck {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    Deck() { NewProject(ctx); }
    void Read(const std::string& text) { ReadProjectText(ctx, text, true); }
    bool MainTextHas(const std::string& line) const {
        for (const auto& l : host.mainText)
            if (l == line) return true;
        return false;
    }
};

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* l : lines) text += std::string(l) + "\r\n";
    return text;
}

void ExpectWire(const Wire& w, double x1, double y1, double z1, double x2, double y2, double z2, double tol = 1e-5) {
    EXPECT_NEAR(w.X1, x1, tol);
    EXPECT_NEAR(w.Y1, y1, tol);
    EXPECT_NEAR(w.Z1, z1, tol);
    EXPECT_NEAR(w.X2, x2, tol);
    EXPECT_NEAR(w.Y2, y2, tol);
    EXPECT_NEAR(w.Z2, z2, tol);
}

TEST(NecExpression, PrecedenceFunctionsAndErrors) {
    NecSymbols s;
    EXPECT_DOUBLE_EQ(s.Evaluate("1+2*3"), 7);
    EXPECT_DOUBLE_EQ(s.Evaluate("(1+2)*3"), 9);
    EXPECT_DOUBLE_EQ(s.Evaluate("2^3^2"), 512);  // right-associative
    EXPECT_DOUBLE_EQ(s.Evaluate("-2^2"), -4);
    EXPECT_DOUBLE_EQ(s.Evaluate("8/4/2"), 1);     // left-associative
    EXPECT_DOUBLE_EQ(s.Evaluate("1.5e-3*2"), 3e-3);
    EXPECT_NEAR(s.Evaluate("sin(30)"), 0.5, 1e-12);  // degrees
    EXPECT_NEAR(s.Evaluate("COS(60)+tan(45)"), 1.5, 1e-12);
    EXPECT_NEAR(s.Evaluate("atan(1)"), 45, 1e-12);
    EXPECT_NEAR(s.Evaluate("sqrt(2)^2 + exp(log(3)) + abs(-1) + log10(100)"), 8, 1e-12);
    EXPECT_NEAR(s.Evaluate("pi"), 3.14159265358979, 1e-12);
    EXPECT_DOUBLE_EQ(s.Evaluate(""), 0);

    s.Define("len = 10.5, half=len/2 , H_1=half*2");
    EXPECT_DOUBLE_EQ(s.Evaluate("-half"), -5.25);
    EXPECT_DOUBLE_EQ(s.Evaluate("h_1"), 10.5);  // names in any case

    for (const char* bad : {"x+1", "1/0", "2*(3", "sqrt(-1)", "foo(1)", "1 2", "log(0)"})
        EXPECT_THROW(s.Evaluate(bad), NecExpressionError) << bad;
    EXPECT_THROW(s.Define("a"), NecExpressionError);
    EXPECT_THROW(s.Define("1a=2"), NecExpressionError);
}

TEST(NecDeck, SymbolsCommasTabsCommentsAndLowerCase) {
    Deck d;
    d.Read(Lines({"CM dipole with symbols", "CE", "SY len=10, r=0.001 ' half a millimetre is too thin",
                  "gw\t1,11, 0,-len/2,0 ,0,len/2,0,r  ! a comment", "ge 0", "fr 0 1 0 0 14.2", "ex 0 1 6 0 1 0",
                  "en"}));
    ASSERT_FALSE(d.ctx.AbortFlag);
    ASSERT_EQ(d.p.WireCount, 1);
    ExpectWire(d.p.Wires[1], 0, -5, 0, 0, 5, 0);
    EXPECT_FLOAT_EQ(d.p.Wires[1].Radius, 0.001f);
    EXPECT_EQ(d.p.Wires[1].Segments, 11);
    EXPECT_FLOAT_EQ(d.p.Frequency, 14.2f);
    EXPECT_EQ(d.p.Env.GroundPresent, kFreeSpace);
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_TRUE(d.MainTextHas("NEC deck read whole: 1 wire, 1 source, 0 loads"));
}

TEST(NecDeck, UnknownSymbolIsAnErrorNamingTheLine) {
    Deck d;
    d.Read(Lines({"CM", "CE", "SY len=10", "GW 1 11 0 0 0 0 0 lenn 0.001", "GE 0", "EN"}));
    EXPECT_TRUE(d.ctx.AbortFlag);
    EXPECT_EQ(d.p.WireCount, 0);
    ASSERT_EQ(d.host.messages.size(), 1u);
    EXPECT_EQ(d.host.messages[0].text,
              "Line 4 of the NEC deck cannot be read: unknown symbol \"lenn\"\r\nGW 1 11 0 0 0 0 0 lenn 0.001");
    EXPECT_EQ(d.host.messages[0].title, "NEC Deck");
}

TEST(NecGeometry, ArcAndHelixPoints) {
    // A quarter arc of radius 2 from 0 to 90 degrees in 3 segments.
    const auto arc = ArcPoints(3, 2, 0, 90);
    ASSERT_EQ(arc.size(), 4u);
    EXPECT_NEAR(arc[0].x, 2, 1e-12);
    EXPECT_NEAR(arc[0].z, 0, 1e-12);
    EXPECT_NEAR(arc[1].x, 2 * std::sqrt(3.0) / 2, 1e-12);  // 30 degrees
    EXPECT_NEAR(arc[1].z, 1, 1e-12);
    EXPECT_NEAR(arc[3].x, 0, 1e-12);
    EXPECT_NEAR(arc[3].z, 2, 1e-12);

    // Two turns of radius 0.1, spacing 0.05, 8 segments a turn.
    const auto helix = HelixPoints(16, 0.05, 0.1, 0.1, 0.1, 0.1, 0.1);
    ASSERT_EQ(helix.size(), 17u);
    for (std::size_t i = 0; i < helix.size(); ++i) {
        EXPECT_NEAR(std::hypot(helix[i].x, helix[i].y), 0.1, 1e-12);
        EXPECT_NEAR(helix[i].z, 0.1 * static_cast<double>(i) / 16, 1e-12);
    }
    EXPECT_NEAR(helix[2].x, 0, 1e-12);  // a quarter turn: on +y, right-handed
    EXPECT_NEAR(helix[2].y, 0.1, 1e-12);
    EXPECT_NEAR(helix[8].x, 0.1, 1e-12);  // one turn = one spacing up
    EXPECT_NEAR(helix[8].z, 0.05, 1e-12);
    const auto left = HelixPoints(16, 0.05, -0.1, 0.1, 0.1, 0.1, 0.1);
    EXPECT_NEAR(left[2].y, -0.1, 1e-12);
    EXPECT_NEAR(left[16].z, 0.1, 1e-12);
    // Tapered from radius 0.1 to 0.2 (a cone).
    const auto cone = HelixPoints(8, 0.05, 0.1, 0.1, 0.1, 0.2, 0.2);
    EXPECT_NEAR(std::hypot(cone[4].x, cone[4].y), 0.15, 1e-12);
    EXPECT_NEAR(std::hypot(cone[8].x, cone[8].y), 0.2, 1e-12);
    EXPECT_THROW(HelixPoints(8, 0, 1, 1, 1, 1, 1), NecGeometryError);
}

TEST(NecGeometry, MoveRotateReflectScaleAndTags) {
    NecGeometry g;
    g.AddWire(1, 5, {1, 0, 0}, {1, 0, 1}, 0.001);
    g.RotateRepeat(10, 4);  // GR: about z in quarter turns
    ASSERT_EQ(g.Wires().size(), 4u);
    const int tags[] = {1, 11, 21, 31};
    const NecPoint starts[] = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g.Wires()[i].tag, tags[i]);
        EXPECT_NEAR(g.Wires()[i].a.x, starts[i].x, 1e-12);
        EXPECT_NEAR(g.Wires()[i].a.y, starts[i].y, 1e-12);
        EXPECT_NEAR(g.Wires()[i].b.z, 1, 1e-12);
    }

    NecGeometry m;
    m.AddWire(1, 3, {0, 0, 0}, {1, 0, 0}, 0.001);
    m.AddWire(2, 3, {0, 0, 1}, {1, 0, 1}, 0.001);
    // GM from tag 2: two copies, each 90 degrees about x and 1 m up from the one before.
    m.Move(5, 2, 90, 0, 0, {0, 0, 1}, 2);
    ASSERT_EQ(m.Wires().size(), 4u);
    EXPECT_EQ(m.Wires()[2].tag, 7);
    EXPECT_EQ(m.Wires()[3].tag, 12);
    // (0,0,1) turned 90 degrees about x is (0,-1,0), then up 1 m.
    EXPECT_NEAR(m.Wires()[2].a.y, -1, 1e-12);
    EXPECT_NEAR(m.Wires()[2].a.z, 1, 1e-12);
    // The second copy turns the first: (0,-1,1) -> (0,-1,-1), then up 1 m.
    EXPECT_NEAR(m.Wires()[3].a.y, -1, 1e-12);
    EXPECT_NEAR(m.Wires()[3].a.z, 0, 1e-12);
    // Rotation order x, then y, then z: (1,0,0) by 90 about y -> (0,0,-1), then about z stays.
    NecGeometry order;
    order.AddWire(0, 1, {1, 0, 0}, {2, 0, 0}, 0.001);
    order.Move(0, 0, 0, 90, 90, {}, 0);
    EXPECT_NEAR(order.Wires()[0].a.z, -1, 1e-12);
    EXPECT_NEAR(order.Wires()[0].b.z, -2, 1e-12);
    EXPECT_EQ(order.Wires()[0].tag, 0);  // tag 0 stays 0
    EXPECT_THROW(m.Move(1, 1, 0, 0, 0, {}, 99), NecGeometryError);

    NecGeometry x;
    x.AddWire(1, 2, {1, 2, 3}, {2, 3, 4}, 0.002);
    x.Reflect(10, 11);  // x-y plane, then x-z plane
    ASSERT_EQ(x.Wires().size(), 4u);
    EXPECT_EQ(x.Wires()[1].tag, 11);
    EXPECT_NEAR(x.Wires()[1].a.z, -3, 1e-12);
    EXPECT_EQ(x.Wires()[2].tag, 21);
    EXPECT_NEAR(x.Wires()[2].a.y, -2, 1e-12);
    EXPECT_EQ(x.Wires()[3].tag, 31);
    EXPECT_NEAR(x.Wires()[3].b.y, -3, 1e-12);
    EXPECT_NEAR(x.Wires()[3].b.z, -4, 1e-12);
    x.Scale(0.5);
    EXPECT_NEAR(x.Wires()[0].b.x, 1, 1e-12);
    EXPECT_NEAR(x.Wires()[0].radius, 0.001, 1e-15);

    // Segment numbers: by tag, and absolute with tag 0.
    std::size_t wire;
    int seg;
    ASSERT_TRUE(x.Locate(21, 2, wire, seg));
    EXPECT_EQ(wire, 2u);
    EXPECT_EQ(seg, 2);
    ASSERT_TRUE(x.Locate(0, 5, wire, seg));
    EXPECT_EQ(wire, 2u);
    EXPECT_EQ(seg, 1);
    EXPECT_FALSE(x.Locate(21, 3, wire, seg));
}

TEST(NecDeck, ADeckThatMultipliesItsWiresIsRefusedAtOnce) {
    // Each GR copies every wire 66 times: the second one passes the bound,
    // and without it the fourth would make 19 million wires.
    Deck d;
    d.Read(Lines({"GW 1 1 0 1 0 0 2 0 0.001", "GR 1 66", "GR 1 66", "GR 1 66", "GR 1 66", "GE 0", "EN"}));
    EXPECT_TRUE(d.ctx.AbortFlag);
    EXPECT_EQ(d.p.WireCount, 0);
    ASSERT_FALSE(d.host.messages.empty());
    EXPECT_EQ(d.host.messages.back().text.rfind("Line 3 of the NEC deck cannot be read: the deck makes more than 1000 wires", 0), 0u)
        << d.host.messages.back().text;
    // A helix of more segments than that is refused before its points are made.
    Deck h;
    h.Read(Lines({"GH 1 2000000000 0.1 1 0.1 0.1 0.1 0.1 0.001", "GE 0", "EN"}));
    EXPECT_TRUE(h.ctx.AbortFlag);
}

TEST(NecGeometry, TaperedWire) {
    NecGeometry g;
    g.AddTaperedWire(3, 3, {0, 0, 0}, {7, 0, 0}, 2, 0.001, 0.004);  // lengths 1, 2, 4
    ASSERT_EQ(g.Wires().size(), 3u);
    EXPECT_NEAR(g.Wires()[0].b.x, 1, 1e-12);
    EXPECT_NEAR(g.Wires()[1].b.x, 3, 1e-12);
    EXPECT_NEAR(g.Wires()[2].b.x, 7, 1e-12);
    EXPECT_NEAR(g.Wires()[1].radius, 0.002, 1e-15);
    EXPECT_NEAR(g.Wires()[2].radius, 0.004, 1e-15);
    for (const auto& w : g.Wires()) EXPECT_EQ(w.tag, 3);
}

// One deck with every geometry card, against wires worked out by hand.
TEST(NecDeck, EveryGeometryCardAtOnce) {
    std::ifstream in(QW_TEST_DATA_DIR "/nec/every_card.nec", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    Deck d;
    d.Read(text.str());
    ASSERT_FALSE(d.ctx.AbortFlag) << (d.host.messages.empty() ? "" : d.host.messages[0].text);
    // GW tag 1 (radial), GR 4 copies -> tags 1, 2, 3, 4 at 0, 90, 180, 270 degrees;
    // GA tag 10: 2 wires; GH tag 20: 4 wires; GW 30 with GC: 2 wires;
    // GM copies tag 30 upwards; GX mirrors everything in x-z; GS doubles it all.
    ASSERT_EQ(d.p.WireCount, 2 * (4 + 2 + 4 + 2 + 2));
    const double s = 2;  // GS
    ExpectWire(d.p.Wires[1], 0, 0, s * 1, s * 1, 0, s * 1);
    ExpectWire(d.p.Wires[2], 0, 0, s * 1, 0, s * 1, s * 1);
    ExpectWire(d.p.Wires[4], 0, 0, s * 1, 0, -s * 1, s * 1);
    // The arc: radius 0.5 from 0 to 180 degrees in two wires.
    ExpectWire(d.p.Wires[5], s * 0.5, 0, 0, 0, 0, s * 0.5);
    ExpectWire(d.p.Wires[6], 0, 0, s * 0.5, -s * 0.5, 0, 0);
    // The helix: one turn of radius 0.2 over 0.4 m in 4 wires, shifted by nothing.
    ExpectWire(d.p.Wires[7], s * 0.2, 0, 0, 0, s * 0.2, s * 0.1);
    ExpectWire(d.p.Wires[10], 0, -s * 0.2, s * 0.3, s * 0.2, 0, s * 0.4);
    // GW 30 from (0,0,2) to (0,0,5) tapered 1:2 -> 1 m then 2 m; GM copies it 3 m up as tag 31.
    ExpectWire(d.p.Wires[11], 0, 0, s * 2, 0, 0, s * 3);
    ExpectWire(d.p.Wires[12], 0, 0, s * 3, 0, 0, s * 5);
    ExpectWire(d.p.Wires[13], 0, 0, s * 5, 0, 0, s * 6);
    ExpectWire(d.p.Wires[14], 0, 0, s * 6, 0, 0, s * 8);
    EXPECT_FLOAT_EQ(d.p.Wires[14].Radius, 0.004f);  // the taper's last radius, doubled
    // GX 100 001: every wire mirrored in the x-y plane, the copies in order.
    ExpectWire(d.p.Wires[16], 0, 0, -s * 1, 0, s * 1, -s * 1);
    ExpectWire(d.p.Wires[21], s * 0.2, 0, 0, 0, s * 0.2, -s * 0.1);
    ExpectWire(d.p.Wires[28], 0, 0, -s * 6, 0, 0, -s * 8);
    EXPECT_EQ(d.p.Env.GroundPresent, kFreeSpace);
    // Tag 31 segment 2 is wire 14, joined at its lower end; tag 131 (its
    // mirror copy, tags + 100) segment 1 is wire 27.
    ASSERT_EQ(d.p.SourceCount, 2);
    const auto layout = PulseLayout(d.p);
    EXPECT_EQ(d.p.Sources[1].Pulse, layout[14].first);
    EXPECT_TRUE(layout[14].joined1);
    EXPECT_EQ(d.p.Sources[2].Pulse, layout[27].first);
    EXPECT_EQ(d.host.messages.size(), 0u);
}

TEST(NecDeck, SourcesLoadsGroundAndFrequency) {
    Deck d;
    d.Read(Lines({"CM vertical with a trap", "CE", "GW 1 10 0 0 0 0 0 5 0.001", "GW 2 5 0 0 5 0 0 6 0.001",
                  "GE 1", "GN 2 16 0 0 13 0.005 5 0.001", "EX 0 1 1 0 3 4", "EX 0 0 14 0 0 -2",
                  "LD 0 1 5 5 10 2e-6 100e-12", "LD 1 2 2 3 0 1e-6 0", "LD 4 0 4 4 50 -25", "LD 5 1 0 0 5.8e7",
                  "FR 0 3 0 0 7.0 0.1", "EK", "EN"}));
    ASSERT_FALSE(d.ctx.AbortFlag);
    const Environment& e = d.p.Env;
    EXPECT_EQ(e.GroundPresent, kOverGround);
    EXPECT_EQ(e.GroundKind, kRealGround);
    EXPECT_FLOAT_EQ(e.Dielectric(), 13);
    EXPECT_FLOAT_EQ(e.Conductivity(), 0.005f);
    EXPECT_EQ(e.RadialCount, 16);
    EXPECT_FLOAT_EQ(e.RadialLength, 5);
    EXPECT_FLOAT_EQ(d.p.Frequency, 7.0f);
    // Wire 1 stands on the ground: pulse 1 at its base, 2..10 at its junctions;
    // wire 2 joins its top: pulse 11 at the joint, 12..15 above.
    ASSERT_EQ(d.p.SourceCount, 2);
    EXPECT_EQ(d.p.Sources[1].Pulse, 1);  // segment 1 of a grounded wire: its base
    EXPECT_FLOAT_EQ(d.p.Sources[1].Magnitude, 5);
    EXPECT_NEAR(d.p.Sources[1].Phase, 53.1301, 1e-3);
    // Absolute segment 14 = segment 4 of wire 2: junctions 3 and 4, the lower one
    // nearer its middle (2.5).
    EXPECT_EQ(d.p.Sources[2].Pulse, 14);
    EXPECT_FLOAT_EQ(d.p.Sources[2].Phase, -90);
    ASSERT_EQ(d.p.LoadCount, 4);
    EXPECT_EQ(d.p.Loads[1].Kind, kSeriesRLC);
    EXPECT_EQ(d.p.Loads[1].Pulse, 6);  // segment 5 of 10: junctions 4 and 5, 5 is the middle
    EXPECT_FLOAT_EQ(d.p.Loads[1].Resistance, 10);
    EXPECT_FLOAT_EQ(d.p.Loads[1].Reactance, 2);       // microhenries
    EXPECT_FLOAT_EQ(d.p.Loads[1].Capacitance, 100);   // picofarads
    EXPECT_EQ(d.p.Loads[2].Kind, kParallelRLC);
    EXPECT_EQ(d.p.Loads[2].Pulse, 13);  // tag 2 segment 2: junctions 1 and 2 -> 2 (nearer 2.5)
    EXPECT_EQ(d.p.Loads[3].Pulse, 13);  // tag 2 segment 3: junctions 2 and 3 -> 2 (a tie: towards end 1)
    EXPECT_EQ(d.p.Loads[4].Pulse, 5);   // absolute segment 4: junctions 3 and 4 -> 4
    EXPECT_EQ(d.p.Loads[4].Kind, kSeriesRX);
    EXPECT_FLOAT_EQ(d.p.Loads[4].Reactance, -25);
    ASSERT_EQ(d.host.messages.size(), 1u);
    EXPECT_EQ(d.host.messages[0].text,
              "Cards of this NEC deck that the program cannot represent were not read: LD 5 (line 12).\r\n"
              "The rest of the deck was read.");
    EXPECT_TRUE(d.MainTextHas("Note: EK on line 14 is ignored: the program uses its own thin-wire kernel"));
    EXPECT_TRUE(d.MainTextHas("Note: FR on line 13 steps through 3 frequencies from 7 to 7.2 MHz: the project "
                              "computes at 7 MHz; a frequency sweep covers the band"));
}

TEST(NecDeck, UnrepresentedCardsListedAndRestRead) {
    Deck d;
    d.Read(Lines({"CM", "CE", "GW 1 9 0 0 -2.5 0 0 2.5 0.001", "GW 2 9 1 0 -2.5 1 0 2.5 0.001", "GE 0",
                  "TL 1 5 2 5 50 1", "NT 1 5 2 5 0 0 0 0 0 0", "EX 1 1 5 0 1 0", "EX 0 1 5 0 1 0", "PT 0 0 0 0",
                  "RP 0 37 73 1000 0 0 5 5", "XQ", "EN"}));
    ASSERT_FALSE(d.ctx.AbortFlag);
    EXPECT_EQ(d.p.WireCount, 2);
    EXPECT_EQ(d.p.SourceCount, 1);
    ASSERT_EQ(d.host.messages.size(), 1u);
    EXPECT_EQ(d.host.messages[0].text,
              "Cards of this NEC deck that the program cannot represent were not read: TL (line 6), NT (line 7), "
              "EX 1 (line 8), PT (line 10), RP (line 11).\r\nThe rest of the deck was read.");
    EXPECT_TRUE(d.MainTextHas("TL 1 5 2 5 50 1\t\tNot interpreted"));
    for (const auto& l : d.host.mainText) EXPECT_EQ(l.rfind("NEC deck read whole", 0), std::string::npos);
}

TEST(NecDeck, DecksBeyondTheLimitsAreRefused) {
    Deck wires;
    wires.Read(Lines({"GW 1 3 1 0 0 2 0 0 0.001", "GR 1 51", "GE 0", "EN"}));
    EXPECT_TRUE(wires.ctx.AbortFlag);
    EXPECT_EQ(wires.p.WireCount, 0);
    ASSERT_EQ(wires.host.messages.size(), 1u);
    EXPECT_EQ(wires.host.messages[0].text, "This NEC deck has 51 wires; the program takes at most 50.\r\n"
                                           "The deck was not read.");

    Deck loads;
    loads.Read(Lines({"GW 1 30 0 0 0 0 0 5 0.001", "GE 0", "LD 4 1 0 0 1 0", "EN"}));
    EXPECT_TRUE(loads.ctx.AbortFlag);
    EXPECT_EQ(loads.p.LoadCount, 0);

    Deck missing;
    missing.Read(Lines({"GW 1 5 0 0 0 0 0 5 0.001", "GE 0", "EX 0 1 6 0 1 0", "EN"}));
    EXPECT_TRUE(missing.ctx.AbortFlag);
    EXPECT_EQ(missing.host.messages[0].text,
              "Line 3 of the NEC deck feeds segment 6 of tag 1, which the deck does not have");
}

TEST(NecDeck, ProjectFileWithTooManyWiresIsRefused) {
    std::string text;
    for (int i = 0; i < 51; ++i) text += "GW " + std::to_string(i + 1) + " 3 " + std::to_string(i) + " 0 0 " +
                                         std::to_string(i) + " 0 1 0.002\r\n";
    Deck d;
    ReadProjectText(d.ctx, text, false);
    EXPECT_TRUE(d.ctx.AbortFlag);
    EXPECT_EQ(d.p.WireCount, 0);
    EXPECT_EQ(d.host.MessageTexts(), std::vector<std::string>{"Too many Wires"});
}

TEST(NecWriter, ExportReadsBackToTheSameProject) {
    Deck a;
    ReadProjectText(a.ctx,
                    Lines({"GND Reference", "UNITS Meters", "Height 2", "Over Ground 13 5", "F 14.2",
                           "GW 1 10 0 -5 0 0 5 0 0.002", "GW 2 4 0 5 0 0 5 -2 0.004", "S 1 5 1 30",
                           "S 2 12 2 0", "L 1 3 10 20", "LX 2 7 100 50", "LS 3 5 1 2.5 100", "LP 4 12 0 1 47", "L 5 11 5 0",
                           "Coax 50"}),
                    false);
    ASSERT_FALSE(a.ctx.AbortFlag);
    const std::string deck = NecDeckText(a.p, "test.qlk");
    EXPECT_NE(deck.find("GN 2 0 0 0 13 0.005\r\n"), std::string::npos) << deck;
    EXPECT_NE(deck.find("GW 1 10 0 -5 2 0 5 2 0.001\r\n"), std::string::npos) << deck;
    Deck b;
    b.Read(deck);
    ASSERT_FALSE(b.ctx.AbortFlag);
    ASSERT_EQ(b.p.WireCount, 2);
    ExpectWire(b.p.Wires[2], 0, 5, 2, 0, 5, 0);
    EXPECT_FLOAT_EQ(b.p.Wires[2].Radius, 0.002f);
    ASSERT_EQ(b.p.SourceCount, 2);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(b.p.Sources[i].Pulse, a.p.Sources[i].Pulse);
        EXPECT_NEAR(b.p.Sources[i].Magnitude, a.p.Sources[i].Magnitude, 1e-5);
        EXPECT_NEAR(b.p.Sources[i].Phase, a.p.Sources[i].Phase, 1e-4);
    }
    ASSERT_EQ(b.p.LoadCount, 5);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(b.p.Loads[i].Pulse, a.p.Loads[i].Pulse) << i;
    // Wire 2 is joined at both ends: 5 pulses on 4 segments. Pulse 11 has no
    // segment of its own; the deck says where it went.
    EXPECT_EQ(b.p.Loads[5].Pulse, 10);
    EXPECT_NE(deck.find("CM Load 5 on pulse 11 goes on segment 1 of wire 2, nearer another pulse.\r\n"),
              std::string::npos);
    EXPECT_EQ(b.p.Loads[3].Kind, kSeriesRLC);
    EXPECT_NEAR(b.p.Loads[3].Reactance, 2.5, 1e-5);
    EXPECT_NEAR(b.p.Loads[3].Capacitance, 100, 1e-3);
    EXPECT_EQ(b.p.Loads[4].Kind, kParallelRLC);
    EXPECT_NEAR(b.p.Loads[4].Capacitance, 47, 1e-3);
    // R parallel jX written as its series equivalent: 100 || j50 = 20 + j40.
    EXPECT_NEAR(b.p.Loads[2].Resistance, 20, 1e-4);
    EXPECT_NEAR(b.p.Loads[2].Reactance, 40, 1e-4);
    EXPECT_EQ(b.p.Env.GroundKind, kRealGround);
    EXPECT_FLOAT_EQ(b.p.Env.Dielectric(), 13);
    EXPECT_FLOAT_EQ(b.p.Frequency, 14.2f);
}

TEST(NecWriter, CoordinatesReadBackToTheSameSingles) {
    // Short wires near a joint: written in 7 digits their ends would move
    // onto each other's and the pulses would change (found by fuzzing).
    Deck a;
    a.Read(Lines({"GW 1 1 1 6 -60.000015 1 6 -60.000008 0.0005", "GW 2 1 1 6 -60.000008 1 6 -60 0.0005",
                  "GW 3 4 1 6 -60 1 6 -66 0.001", "GE 0", "EX 0 3 2 0 1 0", "FR 0 1 0 0 30 0", "EN"}));
    ASSERT_EQ(a.p.WireCount, 3);
    const std::string deck = NecDeckText(a.p, "short.qlk");
    EXPECT_NE(deck.find("GW 1 1 1 6 -60.000015 1 6 -60.000008 0.0005\r\n"), std::string::npos) << deck;
    Deck b;
    b.Read(deck);
    ASSERT_EQ(b.p.WireCount, 3);
    for (int w = 1; w <= 3; ++w) {
        EXPECT_EQ(b.p.Wires[w].Z1, a.p.Wires[w].Z1) << w;
        EXPECT_EQ(b.p.Wires[w].Z2, a.p.Wires[w].Z2) << w;
    }
    ASSERT_EQ(b.p.SourceCount, 1);
    EXPECT_EQ(b.p.Sources[1].Pulse, a.p.Sources[1].Pulse);
}

TEST(NecWriter, ZeroLengthWireIsNotExported) {
    // A tapered wire whose first segments round to points reads (the fault
    // shows when pulses are built) but cannot be written as a deck.
    Deck a;
    a.Read(Lines({"GW 1 10 0 -5 0 0 5 0 0.001", "GE 0", "FR 0 1 0 0 30 0", "EN"}));
    ASSERT_EQ(a.p.WireCount, 1);
    EXPECT_EQ(NecExportProblem(a.p), "");
    a.p.WireCount = 2;
    a.p.Wires[2] = a.p.Wires[1];
    a.p.Wires[2].X2 = a.p.Wires[2].X1, a.p.Wires[2].Y2 = a.p.Wires[2].Y1, a.p.Wires[2].Z2 = a.p.Wires[2].Z1;
    EXPECT_EQ(NecExportProblem(a.p), "Wire # 2 is zero length");
}

}  // namespace
}  // namespace qw
