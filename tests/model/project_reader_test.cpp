// Reading project files: the echo lines, the card and token rules, the
// table limits and every failure the reader reports.
#include <gtest/gtest.h>

#include <string>

#include "model/new_project.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

// A context on a scripted host, reading project text from memory.
struct Reader {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;

    Reader() { NewProject(ctx); }

    // Reads lines joined by CR LF as a .qlk (or .nec) file.
    void Read(const std::string& text, bool nec = false) { ReadProjectText(ctx, text, nec); }
};

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* l : lines) text += std::string(l) + "\r\n";
    return text;
}

std::vector<float> Ends(const Wire& w) { return {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2}; }

const std::string kDipole = Lines({"CM", "CM  QUILLWORK File", "CM  20 m dipole", "CE", "GND Reference",
                                   "UNITS Meters", "Height  10.000", "Over Average Ground", "Boundary Circular",
                                   "F  14.200",
                                   "GW  1   10   0.000  -5.000   0.000   0.000   5.000   0.000     0.002",
                                   "S   1 5    1    0   ", "LS   1 5 0 2.5 0", "Coax  50", "", ""});

TEST(ProjectReader, ReadsTheDipoleExample) {
    Reader r;
    r.Read(kDipole);
    EXPECT_FALSE(r.ctx.AbortFlag);
    const Project& p = r.p;
    EXPECT_EQ(p.Height, 10.0f);
    EXPECT_TRUE(p.HeightChanged);
    EXPECT_EQ(p.Env.GroundKind, kRealGround);
    EXPECT_EQ(p.Env.Dielectric(), 13.0f);
    EXPECT_EQ(p.Env.Conductivity(), 0.005f);
    EXPECT_EQ(p.Env.GroundMedia[1].Extent, 1000000.0f);
    EXPECT_EQ(p.Frequency, 14.2f);
    EXPECT_TRUE(p.FrequencyDefined && p.GroundDefined);
    ASSERT_EQ(p.WireCount, 1);
    EXPECT_EQ(Ends(p.Wires[1]), (std::vector<float>{0, -5, 0, 0, 5, 0}));
    EXPECT_EQ(p.Wires[1].Radius, 0.001f);
    ASSERT_EQ(p.SourceCount, 1);
    EXPECT_EQ(p.Sources[1].Pulse, 5);
    ASSERT_EQ(p.LoadCount, 1);
    EXPECT_EQ(p.Loads[1].Kind, kSeriesRLC);
    EXPECT_EQ(p.Loads[1].Reactance, 2.5f);

    const std::vector<std::string> expected = {
        "CM", "CM  QUILLWORK File", "CM  20 m dipole", "CE", "GND Reference", "UNITS Meters", "Height  10.000",
        "Over Average Ground", "Boundary Circular", "F  14.200",
        "GW   10  1  0.000  -5.000  0.000  0.002",
        "- W   10  0  0.000  -5.000  0.000  0.000  5.000  0.000  0.002",
        "S   1   5   1   0    ",
        "LS   1   5   0   2.5   0",
        "Coax  50"};
    EXPECT_EQ(r.host.mainText, expected);
    EXPECT_EQ(r.p.ProjectTextLines, 15);
    EXPECT_EQ(r.host.commandCaption["CtlFree"], " Ground Plane ");
    EXPECT_TRUE(r.host.commandEnabled["CtlSources"]);
    EXPECT_TRUE(r.host.messages.empty());
}

TEST(ProjectReader, TokenRulesAndSymmetryCards) {
    Reader r;
    r.Read(Lines({"CMtext without a blank", "gw 1 5 0 0 0 0 0 1 0.002", "GW,2,5,1,,0,1,0,1,0.002",
                  "\tGW 3 5 2 0 0 2 0 1 0.002garbage"}));
    ASSERT_EQ(r.p.WireCount, 3);
    EXPECT_EQ(Ends(r.p.Wires[1]), (std::vector<float>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Ends(r.p.Wires[2]), (std::vector<float>{1, 0, 0, 1, 0, 1}));  // empty field between two commas
    EXPECT_EQ(r.p.Wires[3].X2, 2.0f);
    EXPECT_EQ(r.p.Wires[3].Radius, 0.001f);  // "0.002garbage" reads its leading number
    EXPECT_EQ(r.host.mainText[0], "CMtext without a blank");

    // Symmetry cards mirror end one of a three-number wire.
    Reader s;
    s.Read(Lines({"SYMXZ", "GW 1 5 1 2 3 0.002", "SYMYZ", "GW 2 5 1 2 3 0.002", "SYMETRY xy",
                  "GW 3 5 1 2 3 0.002", "SYMOFF", "GW 4 5 1 2 3 4 5 6 0.002"}));
    ASSERT_EQ(s.p.WireCount, 4);
    EXPECT_EQ(Ends(s.p.Wires[1]), (std::vector<float>{1, 2, 3, 1, -2, 3}));
    EXPECT_EQ(s.p.Wires[1].Radius, 0.001f);
    EXPECT_EQ(s.p.Wires[2].X2, -1.0f);
    EXPECT_EQ(s.p.Wires[3].Z2, -3.0f);
    EXPECT_EQ(s.p.Wires[4].Z2, 6.0f);
    EXPECT_EQ(s.ctx.Symmetry, 0);
}

TEST(ProjectReader, SquareLoopCard) {
    Reader r;
    r.Read(Lines({"Q 1 4 0 2 0.001"}));
    ASSERT_EQ(r.p.WireCount, 4);
    const std::vector<float> ends[4] = {{0, 1, 0, 0, -1, 0}, {0, -1, 0, 0, -1, 2}, {0, -1, 2, 0, 1, 2}, {0, 1, 2, 0, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Ends(r.p.Wires[i + 1]), ends[i]) << "wire " << i + 1;
        EXPECT_EQ(r.p.Wires[i + 1].Segments, 4);
        EXPECT_EQ(r.p.Wires[i + 1].Radius, 0.0005f);
    }
    EXPECT_EQ(r.host.mainText[0], "Q   4  1  0.000  2.000  0.001");
    EXPECT_EQ(r.host.mainText[4], "- W   4  3  0.000  1.000  2.000  0.000  1.000  0.000  0.001");
}

TEST(ProjectReader, SourcesAndLoads) {
    Reader r;
    r.Read(Lines({"GW 1 10 0 0 0 0 0 1 0.002", "S 1 0 1 0", "S 2 0.5 1 0", "S 3 4 2 45 i", "S 4 6 0.5 -90 I",
                  "LC 1 5 10 100", "LI 2 6 1 2.2", "LX 3 7 50 -25", "LP 4 8 1 2 3", "L 5 9 7 8"}));
    ASSERT_EQ(r.p.SourceCount, 2);
    EXPECT_EQ(r.p.Sources[1].Pulse, 4);
    EXPECT_EQ(r.p.Sources[1].Kind, kVoltageSource);  // only "I" marks a current source
    EXPECT_EQ(r.p.Sources[1].Phase, 45.0f);
    EXPECT_EQ(r.p.Sources[2].Kind, kCurrentSource);
    EXPECT_EQ(r.p.Sources[2].Magnitude, 0.5f);
    EXPECT_EQ(r.host.mainText[2], "S   1   0   1   0     *** Ignored, Pulse is 0");
    EXPECT_EQ(r.host.mainText[3], "S   2   0   1   0     *** Ignored, Pulse is 0");
    EXPECT_EQ(r.host.mainText[4], "S   1   4   2   45   i");

    ASSERT_EQ(r.p.LoadCount, 5);
    const Load& lc = r.p.Loads[1];
    EXPECT_EQ((std::vector<float>{lc.Resistance, lc.Reactance, lc.Capacitance}), (std::vector<float>{10, 0, 100}));
    EXPECT_EQ(lc.Kind, kSeriesRLC);
    EXPECT_EQ(r.host.mainText[6], "LS   1   5   10   0   100");
    EXPECT_EQ(r.p.Loads[2].Reactance, 2.2f);
    EXPECT_EQ(r.p.Loads[3].Kind, kParallelRX);
    EXPECT_EQ(r.host.mainText[8], "LX   3   7   50  -25");
    EXPECT_EQ(r.p.Loads[4].Kind, kParallelRLC);
    EXPECT_EQ(r.p.Loads[4].Capacitance, 3.0f);
    EXPECT_EQ(r.p.Loads[5].Kind, kSeriesRX);
    EXPECT_TRUE(r.p.SourcesDefined && r.p.LoadsDefined);
}

TEST(ProjectReader, GroundAndEnvironmentCards) {
    struct Case {
        const char* card;
        int kind;
        float dielectric, conductivity;
    };
    const Case cases[] = {
        {"OVER GROUND 13 5", kRealGround, 13, 0.005f},  {"OVER Excellent", kRealGround, 20, 0.03f},
        {"OVER whatever", kRealGround, 20, 0.03f},       {"over good ground", kRealGround, 14, 0.006f},
        {"OVER POOR", kRealGround, 12, 0.002f},          {"OVER BAD", kRealGround, 4, 0.001f},
        {"OVER PERFECT GROUND", kPerfectGround, 0, 0},
    };
    for (const auto& c : cases) {
        Reader r;
        r.Read(Lines({"FREE", c.card, "GW 1 5 0 0 0 0 0 1 0.002"}));
        EXPECT_EQ(r.p.Env.GroundPresent, kOverGround) << c.card;
        EXPECT_EQ(r.p.Env.GroundKind, c.kind) << c.card;
        EXPECT_EQ(r.p.Env.Dielectric(), c.dielectric) << c.card;
        EXPECT_EQ(r.p.Env.Conductivity(), c.conductivity) << c.card;
    }
    Reader bad;
    bad.Read(Lines({"OVER GROUND 13 0", "COAX 0", "GW 1 5 0 0 0 0 0 1 0.002"}));
    EXPECT_EQ(bad.p.Env.GroundKind, kPerfectGround);
    EXPECT_EQ(bad.p.CoaxImpedance, 50.0f);
    ASSERT_EQ(bad.host.messages.size(), 1u);
    EXPECT_EQ(bad.host.messages[0].text, "Ground Parameters are incorrect\r\nGround set to Perfect");
    EXPECT_EQ(bad.host.messages[0].title, "Geometry File");
    EXPECT_EQ(bad.host.messages[0].icon, MessageIcon::Critical);

    Reader r;
    r.Read(Lines({"RADIALS 16.5 5.28", "BOUNDARY rectangle", "COAX 75.9", "FREE", "GW 1 5 0 0 0 0 0 1 0.002",
                  "UNITS FURLONGS", "XYZ 1 2"}));
    EXPECT_EQ(r.p.Env.RadialCount, 16);  // halves round to even
    EXPECT_EQ(r.p.Env.RadialLength, 5.28f);
    EXPECT_EQ(r.p.Env.Boundary, kLinearBoundary);
    EXPECT_EQ(r.p.CoaxImpedance, 75.0f);
    EXPECT_EQ(r.p.Env.GroundPresent, kFreeSpace);
    EXPECT_EQ(r.p.Units, kMeters);
    EXPECT_EQ(r.host.mainText.back(), "XYZ 1 2\t\tNot interpreted");
    EXPECT_EQ(r.host.commandCaption["CtlFree"], " Free Space ");
}

TEST(ProjectReader, UnitsAndHeight) {
    Reader feet;
    feet.Read(Lines({"UNITS FEET", "HEIGHT 10", "GW 1 5 0 0 0 0 0 10 0"}));
    EXPECT_EQ(feet.p.Height, static_cast<float>(10 * 0.3048006));  // the height card's own factor
    EXPECT_EQ(feet.p.Wires[1].Z2, static_cast<float>(10 * 0.3048));
    EXPECT_EQ(feet.p.Wires[1].Radius, static_cast<float>(static_cast<double>(0.001f) * 0.3048) / 2);  // diameter 0 is 0.001 feet

    // In wavelengths the height is converted with the file's own frequency,
    // even though the height card comes first.
    Reader wl;
    wl.ctx.project.Frequency = 7.0f;
    wl.Read(Lines({"UNITS WLENGTH", "HEIGHT 0.5", "F 14.2", "GW 1 5 0 0 0 0 0 0.25 0.001"}));
    EXPECT_EQ(wl.p.Height, static_cast<float>(0.5 * 299.8 / static_cast<double>(14.2f)));
    EXPECT_EQ(wl.p.Wires[1].Z2, static_cast<float>(0.25 * 299.8 / static_cast<double>(14.2f)));
}

TEST(ProjectReader, MissingOrInvalidFrequency) {
    for (const char* card : {"F", "F 0", "F -3", "F abc", "F 1e-60"}) {
        Reader r;
        r.ctx.project.Frequency = 7.1f;
        r.Read(Lines({card, "GW 1 5 0 0 0 0 0 1 0.002"}));
        EXPECT_EQ(r.p.Frequency, 7.1f) << card;
        EXPECT_FALSE(r.p.FrequencyDefined);
        EXPECT_EQ(r.host.mainText[0], "Project Error: Missing Frequency Value") << card;
        EXPECT_EQ(r.host.mainText[1], card);
    }
}

TEST(ProjectReader, NoWiresFound) {
    for (const std::string& text : std::vector<std::string>{std::string(), Lines({"CM only a comment", "F 14"}), std::string(",,,,\r\n,,"),
                                   Lines({"GW 1 0 0 0 0 0 0 1 0.002"}), Lines({"GW 1 5 0 0 0 0 0 1e39 0.002"}),
                                   Lines({"GW 1 0 0 0 0 0 0 1 0.002", "GW 2 3 0 0 0 0 0 1e39 0.002"})}) {
        Reader r;
        r.Read(text);
        EXPECT_TRUE(r.ctx.AbortFlag);
        ASSERT_GE(r.host.messages.size(), 1u);
        EXPECT_EQ(r.host.messages.back().text, "No wires found");
        EXPECT_EQ(r.host.messages.back().title, "Bad File");
        EXPECT_EQ(r.p.WireCount, 0);
        EXPECT_TRUE(r.p.ProjectText.empty());
    }
}

std::string ManyWires(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "GW " + std::to_string(i) + " 3 " + std::to_string(i) + " 0 0 " +
                                             std::to_string(i) + " 0 1 0.002\r\n";
    return text;
}

TEST(ProjectReader, TableLimits) {
    // Fifty wires fit, and the cards after them are still read.
    Reader fifty;
    fifty.Read(ManyWires(50) + Lines({"S 1 3 1 0", "COAX 75"}));
    EXPECT_EQ(fifty.p.WireCount, 50);
    EXPECT_EQ(fifty.p.CoaxImpedance, 75.0f);
    EXPECT_TRUE(fifty.host.messages.empty());

    // A 51st wire stops the read.
    Reader many;
    many.Read(ManyWires(51) + Lines({"COAX 75"}));
    EXPECT_EQ(many.p.WireCount, 50);
    EXPECT_EQ(many.p.CoaxImpedance, 50.0f);
    ASSERT_EQ(many.host.messages.size(), 1u);
    EXPECT_EQ(many.host.messages[0].text, "Too many Wires");
    EXPECT_EQ(many.host.messages[0].title, "");

    // A square loop that does not fit whole is refused.
    Reader loop;
    loop.Read(ManyWires(47) + Lines({"Q 1 4 0 2 0.001"}));
    EXPECT_EQ(loop.p.WireCount, 47);
    EXPECT_EQ(loop.host.MessageTexts(), std::vector<std::string>{"Too many Wires"});

    // An 11th source and a 21st load are reported; the counts stay full.
    std::string cards = "GW 1 30 0 0 0 0 0 1 0.002\r\n";
    for (int i = 1; i <= 11; ++i) cards += "S " + std::to_string(i) + " " + std::to_string(i) + " 1 0\r\n";
    for (int i = 1; i <= 21; ++i) cards += "L " + std::to_string(i) + " " + std::to_string(i) + " 1 0\r\n";
    Reader full;
    full.Read(cards);
    EXPECT_EQ(full.p.SourceCount, 10);
    EXPECT_EQ(full.p.LoadCount, 20);
    EXPECT_EQ(full.host.MessageTexts(), (std::vector<std::string>{"Geometry File Error", "Geometry File Error"}));
    EXPECT_EQ(full.host.messages[0].title, "Geometry Error");
}

TEST(ProjectReader, ParseFailuresWithDebuggingOn) {
    test::TempDir dir;
    Reader r;
    ASSERT_TRUE(r.ctx.debug.Open(dir.File("QUILLWORK.DBG")));
    r.Read(Lines({"GW 1 5 0 0 0 0 0 1e999 0.002", "GW 2 5 0 0 0 0 0 1 0.002", "GW 3 99999 0 0 0 0 0 1 0.002"}));
    r.ctx.debug.Close();
    EXPECT_EQ(r.p.WireCount, 1);
    EXPECT_EQ(r.host.MessageTexts(),
              (std::vector<std::string>{"File parsing stopped at: 1e999", "File parsing stopped at: 99999"}));
    EXPECT_EQ(test::ReadBytes(dir.File("QUILLWORK.DBG")),
              "In ReadGeometry File parsing stopped at: 1e999\r\n"
              "In ReadGeometry File parsing stopped at: 99999\r\n");
}

TEST(ProjectReader, NecDeckWarnsOfUnreadGeometry) {
    Reader r;
    r.Read(Lines({"CM NEC deck", "CE", "GW 1 9 0 0 -2.5 0 0 2.5 0.001", "GS 0 0 0.3048", "GE 0", "EX 0 1 5 0 1 0",
                  "FR 0 1 0 0 14.2", "EN"}),
           true);
    ASSERT_EQ(r.p.WireCount, 1);
    ASSERT_EQ(r.host.messages.size(), 1u);
    EXPECT_NE(r.host.messages[0].text.find("(GS)"), std::string::npos);
    EXPECT_NE(r.host.messages[0].text.find("incomplete"), std::string::npos);
    EXPECT_EQ(r.host.mainText.back(), "EN");
}

TEST(ProjectReader, ChoosingTheFile) {
    test::TempDir dir;
    // A cancelled dialog leaves the open project as it was.
    Reader r;
    r.Read(kDipole);
    r.p.FileName = "kept.qlk";
    ReadProjectFile(r.ctx);
    EXPECT_TRUE(r.ctx.AbortFlag);
    EXPECT_EQ(r.p.WireCount, 1);
    EXPECT_EQ(r.p.FileName, "kept.qlk");
    ASSERT_EQ(r.host.dialogs.size(), 1u);
    EXPECT_EQ(r.host.dialogs[0].title, "Read Geometry File");
    EXPECT_EQ(r.host.dialogs[0].filter, "QLK Project (*.qlk)|*.qlk|NEC File (*.nec)|*.nec");

    // A file that cannot be opened is named in a message; nothing changes.
    r.host.openAnswers.push_back(dir.File("missing.qlk"));
    ReadProjectFile(r.ctx);
    EXPECT_TRUE(r.ctx.AbortFlag);
    EXPECT_EQ(r.p.WireCount, 1);
    ASSERT_EQ(r.host.messages.size(), 1u);
    EXPECT_NE(r.host.messages[0].text.find(dir.File("missing.qlk")), std::string::npos);

    // A pending name is read without a dialog and shown in the status bar.
    test::WriteBytes(dir.File("d.qlk"), kDipole);
    r.ctx.PendingFileName = dir.File("d.qlk");
    LoadProject(r.ctx);
    EXPECT_FALSE(r.ctx.AbortFlag);
    EXPECT_EQ(r.host.dialogs.size(), 2u);
    EXPECT_EQ(r.host.status[2], "d.qlk");
    EXPECT_TRUE(r.ctx.ProjectOpen && r.p.GeometryDefined);
    EXPECT_TRUE(r.host.commandEnabled["btnoptimiz"]);
}

TEST(ProjectReader, LoadProjectRunsTheSolverSteps) {
    test::TempDir dir;
    test::WriteBytes(dir.File("nosrc.qlk"), Lines({"GW 1 5 0 0 0 0 0 1 0.002", "L 1 2 50 0"}));
    Reader r;
    std::vector<std::string> steps;
    r.ctx.hooks.BuildPulseTable = [&](Context&) { steps.push_back("pulses"); };
    r.ctx.hooks.PrepareSources = [&](Context&) { steps.push_back("sources"); };
    r.ctx.hooks.PrepareLoads = [&](Context& c) {
        steps.push_back("loads");
        c.project.MatrixState = 2;
    };
    r.ctx.PendingFileName = dir.File("nosrc.qlk");
    LoadProject(r.ctx);
    EXPECT_EQ(steps, (std::vector<std::string>{"pulses", "loads"}));
    EXPECT_EQ(r.host.MessageTexts(), std::vector<std::string>{"No Sources defined"});
    EXPECT_EQ(r.p.MatrixState, 0);
}

TEST(ProjectReader, MalformedInputNeverCrashes) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xff);
    const std::string longLine = "GW 1 5 " + std::string(100000, '9') + " 0 0 0 0 1 0.002\r\n";
    for (const std::string& text : std::vector<std::string>{garbage, longLine, std::string(100000, ','),
                                    Lines({"GW 1 nan inf -inf 0 0 0 1 0.002", "S 1 1e300 1 0", "HEIGHT 1e39"})}) {
        Reader r;
        r.Read(text);
        EXPECT_LE(r.p.WireCount, kMaxWires);
    }
}

}  // namespace
}  // namespace qw
