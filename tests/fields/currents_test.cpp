// The currents table: which rows each wire's ends get (free ends, junctions,
// wires of one or no pulses), its exact pulse lines and data file.
#include "fields/currents.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fields/magnitude_phase.h"
#include "model/format_mask.h"
#include "model/number_str.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

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
    Conclude(a.ctx, ListCurrents(a.ctx, dataFile, out));
    return rows;
}

Listed PulseRow(SolvedAntenna& a, int wire, int pulse) {
    return {wire, std::to_string(pulse), a.St().CR[pulse], a.St().CI[pulse]};
}
Listed Free(int wire) { return {wire, "E", 0, 0}; }
Listed Junction(SolvedAntenna& a, int wire, int pulse) { return {wire, "J", a.St().CR[pulse], a.St().CI[pulse]}; }

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
    std::vector<Listed> listed;
    for (const auto& r : List(a))
        if (r.wire == 2) listed.push_back(r);
    EXPECT_EQ(listed, (std::vector<Listed>{Junction(a, 2, 5), Junction(a, 2, 6)}));
}

TEST(ListCurrents, PulseLinesAndDataFile) {
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

    // cli_fields.sh checks the heading, the end rows and the log; here the
    // power line and the pulse rows in full.
    const SolverState& s = a.St();
    auto v = [](float x) { return Format(x, " #0.00#;-#0.00#"); };
    ASSERT_EQ(echoed.size(), 11u);
    EXPECT_EQ(echoed[2], "Number of Wires :            1            " + Padded("Power : ", 14) + Str(s.Pin) + " ");
    std::string bytes = "E, 0, 0, 0, 0\r\n";
    for (int p = 1; p <= 2; ++p) {
        const float re = s.CR[p], im = s.CI[p];
        const MagPhase mp = MagnitudePhase(re, im);
        EXPECT_EQ(echoed[static_cast<std::size_t>(7 + p)], Padded(Str(p) + " ", 14) + Padded(v(re), 14) +
                                                               Padded(v(im), 14) + Padded(v(mp.magnitude), 14) +
                                                               v(mp.phase));
        bytes += Str(p) + " ," + Str(re) + "," + Str(im) + "," + Str(mp.magnitude) + "," + Str(mp.phase) + "\r\n";
    }
    // The data file: the rows only, CR LF ended, the old file replaced.
    EXPECT_EQ(test::ReadBytes(data), bytes + "E, 0, 0, 0, 0\r\n");
}
}  // namespace
}  // namespace qw
