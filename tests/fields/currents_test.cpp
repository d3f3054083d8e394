// The currents table: which rows each wire's ends get (free ends, junctions,
// ground, wires of one or no pulses), its exact log lines and data file.
#include "fields/currents.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fields/magnitude_phase.h"
#include "support/solved_antenna.h"
#include "model/number_text.h"

namespace qw {
namespace {

using test::FileLines;
using test::Padded;
using test::SolvedAntenna;

// A row in a form easy to compare: "E", "J" or the pulse number, and the
// current.
struct Listed {
    int wire;
    std::string label;
    float re, im;
    bool operator==(const Listed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Listed& l) {
    return out << "{" << l.wire << " " << l.label << " " << l.re << " " << l.im << "}";
}

std::vector<Listed> List(SolvedAntenna& a, const std::string& dataFile = "", LineEcho echo = nullptr) {
    std::vector<Listed> rows;
    CurrentsOutput out;
    out.logEcho = std::move(echo);
    out.row = [&](const CurrentRow& r) {
        rows.push_back({r.wire, r.endRow ? std::string(1, r.label) : std::to_string(r.pulse), r.re, r.im});
    };
    ListCurrents(a.ctx, dataFile, out);
    return rows;
}

Listed PulseRow(SolvedAntenna& a, int wire, int pulse) {
    return {wire, std::to_string(pulse), a.St().CR[pulse], a.St().CI[pulse]};
}
Listed Free(int wire) { return {wire, "E", 0, 0}; }
Listed Junction(SolvedAntenna& a, int wire, int pulse) { return {wire, "J", a.St().CR[pulse], a.St().CI[pulse]}; }

TEST(ListCurrents, JunctionCurrentsRunAgainstTheWire) {
    // Wire 2 starts at wire 1's start (end 1 to end 1): its junction pulse
    // runs against wire 1, so wire 1's end current is its negative.
    SolvedAntenna a;
    a.Wire(4, 0, 0, 0, 0, 0, -0.25f);
    a.Wire(4, 0, 0, 0, 0, 0, 0.25f);
    a.Source(4);
    a.Build();
    ASSERT_EQ(a.St().pulses.C[4][1], -1);
    const auto rows = List(a);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), (Listed{1, "J", -a.St().CR[4], -a.St().CI[4]}));
}

TEST(ListCurrents, GroundedVerticalHasNoEndOneRow) {
    SolvedAntenna a;
    a.PerfectGround();
    a.Wire(5, 0, 0, 0, 0, 0, 0.25f);
    a.Wire(1, 1, 0, 0, 1, 0, 0.25f);  // one segment on the ground: its only pulse is the ground pulse
    a.Source(1);
    a.Build();
    std::vector<Listed> expected;
    for (int p = 1; p <= 5; ++p) expected.push_back(PulseRow(a, 1, p));
    expected.push_back(Free(1));
    expected.push_back(PulseRow(a, 2, 6));
    expected.push_back(Free(2));
    EXPECT_EQ(List(a), expected);
}

TEST(ListCurrents, WiresWithOneOrNoPulses) {
    // Wire 1 ends where wire 3 starts; wire 2 (one segment, free) has no
    // pulse, so its pulse numbers point at wires 1 and 3 and must not count
    // towards their end currents; wire 4 (two segments, free) has one pulse.
    SolvedAntenna a;
    a.Wire(5, 0, 0, 0, 0, 0, 0.25f);
    a.Wire(1, 1, 0, 0, 1, 0, 0.25f);
    a.Wire(5, 0, 0, 0.25f, 0, 0, 0.5f);
    a.Wire(2, 0.5f, 0, 0, 0.5f, 0, 0.25f);
    a.Source(5);
    a.Source(10);
    a.Build();
    const PulseTable& t = a.St().pulses;
    ASSERT_EQ(t.Nw[2][1], 5);
    ASSERT_EQ(t.Nw[2][2], 4);
    ASSERT_EQ(t.Nw[4][1], 10);
    ASSERT_EQ(t.Nw[4][2], 10);
    const std::vector<Listed> expected = {
        Free(1), PulseRow(a, 1, 1), PulseRow(a, 1, 2), PulseRow(a, 1, 3), PulseRow(a, 1, 4), Junction(a, 1, 5),
        Free(2), Free(2),
        Junction(a, 3, 5), PulseRow(a, 3, 6), PulseRow(a, 3, 7), PulseRow(a, 3, 8), PulseRow(a, 3, 9), Free(3),
        Free(4), PulseRow(a, 4, 10), Free(4),
    };
    EXPECT_EQ(List(a), expected);
}

TEST(ListCurrents, OneSegmentFeedWireBetweenTwoWires) {
    // The feed wire's only pulse is its end-1 junction: shown by the "J"
    // row, not listed again; its end 2 continues into wire 3's first pulse.
    SolvedAntenna a;
    a.Wire(5, 0, 0, -0.25f, 0, 0, -0.02f);
    a.Wire(1, 0, 0, -0.02f, 0, 0, 0.02f);
    a.Wire(5, 0, 0, 0.02f, 0, 0, 0.25f);
    a.Source(5);
    a.Build();
    ASSERT_EQ(a.St().pulses.Nw[2][1], 5);
    ASSERT_EQ(a.St().pulses.Nw[2][2], 5);
    const auto rows = List(a);
    const std::vector<Listed> wire2 = {Junction(a, 2, 5), Junction(a, 2, 6)};
    std::vector<Listed> listed;
    for (const auto& r : rows)
        if (r.wire == 2) listed.push_back(r);
    EXPECT_EQ(listed, wire2);
}

TEST(ListCurrents, LogTableAndDataFile) {
    test::TempDir dir;
    SolvedAntenna a;
    a.Wire(3, 0, 0, -0.25f, 0, 0, 0.25f);
    a.Source(1);
    a.Build();
    ASSERT_TRUE(a.ctx.log.Open(dir.File("q.log")));
    const std::string data = dir.File("$$Current.$$$");
    test::WriteBytes(data, "an old file that is replaced\r\n");
    std::vector<std::string> echoed;
    List(a, data, [&](const std::string& l) { echoed.push_back(l); });
    ASSERT_FALSE(a.ctx.AbortFlag);

    const SolverState& s = a.St();
    auto v = [](float x) { return Format(x, " #0.00#;-#0.00#"); };
    auto logRow = [&](const std::string& label, float re, float im, float mag, float phase) {
        return Padded(label, 14) + Padded(v(re), 14) + Padded(v(im), 14) + Padded(v(mag), 14) + v(phase);
    };
    std::vector<std::string> expected = {
        "",
        " ------------ Currents ----------------- ",
        "Number of Wires :            1            " + Padded("Power : ", 14) + Str(s.Pin) + " ",
        "",
        "WIRE NO.  1 :",
        "PULSE         REAL          IMAGINARY     MAGNITUDE     PHASE",
        " NO.          (AMPS)        (AMPS)        (AMPS)        (DEGREES)",
        "E              0.00          0.00          0.00          0.00",
    };
    std::vector<std::string> dataRows = {"E, 0, 0, 0, 0"};
    for (int p = 1; p <= 2; ++p) {
        const float re = s.CR[p], im = s.CI[p];
        const MagPhase mp = MagnitudePhase(re, im);
        expected.push_back(logRow(Str(p) + " ", re, im, mp.magnitude, mp.phase));
        dataRows.push_back(Str(p) + " ," + Str(re) + "," + Str(im) + "," + Str(mp.magnitude) + "," + Str(mp.phase));
    }
    expected.push_back(expected[7]);
    dataRows.push_back(dataRows[0]);
    EXPECT_EQ(echoed, expected);
    const auto log = FileLines(dir.File("q.log"));
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.end() - expected.size(), log.end()), expected);
    // The data file: the rows only, CR LF ended, the old file replaced.
    std::string bytes;
    for (const auto& row : dataRows) bytes += row + "\r\n";
    EXPECT_EQ(test::ReadBytes(data), bytes);
}
}  // namespace
}  // namespace qw
