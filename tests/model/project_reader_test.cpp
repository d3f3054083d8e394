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
    EXPECT_EQ(p.Env.GroundKind, kRealGround);
    EXPECT_EQ(p.Env.Conductivity(), 0.005f);
    EXPECT_EQ(p.Frequency, 14.2f);
    EXPECT_EQ(p.Wires[1].Radius, 0.001f);
    ASSERT_EQ(p.LoadCount, 1);
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
    EXPECT_TRUE(r.host.messages.empty());
}

TEST(ProjectReader, TokenRulesAndSymmetryCards) {
    Reader r;
    r.Read(Lines({"CMtext without a blank", "gw 1 5 0 0 0 0 0 1 0.002", "GW,2,5,1,,0,1,0,1,0.002",
                  "\tGW 3 5 2 0 0 2 0 1 0.002garbage"}));
    ASSERT_EQ(r.p.WireCount, 3);
    EXPECT_EQ(Ends(r.p.Wires[1]), (std::vector<float>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Ends(r.p.Wires[2]), (std::vector<float>{1, 0, 0, 1, 0, 1}));  // empty field between two commas
    EXPECT_EQ(r.p.Wires[3].Radius, 0.001f);  // "0.002garbage" reads its leading number
    EXPECT_EQ(r.host.mainText[0], "CMtext without a blank");

    // Symmetry cards mirror end one of a three-number wire.
    Reader s;
    s.Read(Lines({"SYMXZ", "GW 1 5 1 2 3 0.002", "SYMYZ", "GW 2 5 1 2 3 0.002", "SYMETRY xy",
                  "GW 3 5 1 2 3 0.002", "SYMOFF", "GW 4 5 1 2 3 4 5 6 0.002"}));
    ASSERT_EQ(s.p.WireCount, 4);
    EXPECT_EQ(Ends(s.p.Wires[1]), (std::vector<float>{1, 2, 3, 1, -2, 3}));
    EXPECT_EQ((std::vector<float>{s.p.Wires[2].X2, s.p.Wires[3].Z2, s.p.Wires[4].Z2}), (std::vector<float>{-1, -3, 6}));
}

TEST(ProjectReader, SquareLoopCard) {
    Reader r;
    r.Read(Lines({"Q 1 4 0 2 0.001"}));
    ASSERT_EQ(r.p.WireCount, 4);
    const std::vector<float> ends[4] = {{0, 1, 0, 0, -1, 0}, {0, -1, 0, 0, -1, 2}, {0, -1, 2, 0, 1, 2}, {0, 1, 2, 0, 1, 0}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Ends(r.p.Wires[i + 1]), ends[i]) << "wire " << i + 1;
    EXPECT_EQ(r.p.Wires[4].Radius, 0.0005f);
    EXPECT_EQ(r.host.mainText[0], "Q   4  1  0.000  2.000  0.001");
}

TEST(ProjectReader, SourcesAndLoads) {
    Reader r;
    r.Read(Lines({"GW 1 10 0 0 0 0 0 1 0.002", "S 1 0 1 0", "S 2 0.5 1 0", "S 3 4 2 45 i", "S 4 6 0.5 -90 I",
                  "LC 1 5 10 100", "LI 2 6 1 2.2", "LX 3 7 50 -25", "LP 4 8 1 2 3", "L 5 9 7 8"}));
    ASSERT_EQ(r.p.SourceCount, 2);
    EXPECT_EQ(r.p.Sources[1].Kind, kVoltageSource);  // only "I" marks a current source
    EXPECT_EQ(r.p.Sources[1].Phase, 45.0f);
    EXPECT_EQ(r.p.Sources[2].Kind, kCurrentSource);
    EXPECT_EQ(r.host.mainText[3], "S   2   0   1   0     *** Ignored, Pulse is 0");
    EXPECT_EQ(r.host.mainText[4], "S   1   4   2   45   i");

    ASSERT_EQ(r.p.LoadCount, 5);
    EXPECT_EQ(r.p.Loads[1].Kind, kSeriesRLC);
    EXPECT_EQ(r.host.mainText[6], "LS   1   5   10   0   100");
    EXPECT_EQ(r.p.Loads[2].Reactance, 2.2f);
    EXPECT_EQ(r.host.mainText[8], "LX   3   7   50  -25");
    EXPECT_EQ((std::vector<int>{r.p.Loads[3].Kind, r.p.Loads[4].Kind, r.p.Loads[5].Kind}),
              (std::vector<int>{kParallelRX, kParallelRLC, kSeriesRX}));
}

TEST(ProjectReader, GroundAndEnvironmentCards) {
    struct Case {
        const char* card;
        int kind;
        float dielectric, conductivity;
    };
    const Case cases[] = {
        {"OVER GROUND 13 5", kRealGround, 13, 0.005f}, {"OVER whatever", kRealGround, 20, 0.03f},
        {"over poor ground", kRealGround, 12, 0.002f}, {"OVER PERFECT GROUND", kPerfectGround, 0, 0},
    };
    for (const auto& c : cases) {
        Reader r;
        r.Read(Lines({"FREE", c.card, "GW 1 5 0 0 0 0 0 1 0.002"}));
        EXPECT_EQ(r.p.Env.GroundPresent, kOverGround) << c.card;
        EXPECT_EQ((std::vector<float>{static_cast<float>(r.p.Env.GroundKind), r.p.Env.Dielectric(), r.p.Env.Conductivity()}),
                  (std::vector<float>{static_cast<float>(c.kind), c.dielectric, c.conductivity})) << c.card;
    }
    Reader bad;
    bad.Read(Lines({"OVER GROUND 13 0", "COAX 0", "GW 1 5 0 0 0 0 0 1 0.002"}));
    EXPECT_EQ(bad.p.Env.GroundKind, kPerfectGround);
    EXPECT_EQ(bad.p.CoaxImpedance, 50.0f);
    EXPECT_EQ(bad.host.MessageTexts(), std::vector<std::string>{"Ground Parameters are incorrect\r\nGround set to Perfect"});

    Reader r;
    r.Read(Lines({"RADIALS 16.5 5.28", "BOUNDARY rectangle", "COAX 75.9", "FREE", "GW 1 5 0 0 0 0 0 1 0.002",
                  "UNITS FURLONGS", "XYZ 1 2"}));
    EXPECT_EQ(r.p.Env.RadialCount, 16);  // halves round to even
    EXPECT_EQ(r.p.Env.Boundary, kLinearBoundary);
    EXPECT_EQ(r.p.CoaxImpedance, 75.0f);
    EXPECT_EQ(r.p.Env.GroundPresent, kFreeSpace);
    EXPECT_EQ(r.p.Units, kMeters);
    EXPECT_EQ(r.host.mainText.back(), "XYZ 1 2\t\tNot interpreted");
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
    for (const char* card : {"F", "F -3", "F abc"}) {
        Reader r;
        r.ctx.project.Frequency = 7.1f;
        r.Read(Lines({card, "GW 1 5 0 0 0 0 0 1 0.002"}));
        EXPECT_EQ(r.p.Frequency, 7.1f) << card;
        EXPECT_EQ(r.host.mainText[0], "Project Error: Missing Frequency Value") << card;
    }
}

TEST(ProjectReader, NoWiresFound) {
    for (const std::string& text : {std::string(), Lines({"GW 1 0 0 0 0 0 0 1 0.002"}),
                                    Lines({"GW 1 5 0 0 0 0 0 1e39 0.002"})}) {
        Reader r;
        r.Read(text);
        EXPECT_TRUE(r.ctx.AbortFlag);
        ASSERT_GE(r.host.messages.size(), 1u);
        EXPECT_EQ(r.host.messages.back().text, "No wires found");
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
    // A 51st wire refuses the whole file.
    Reader many;
    many.Read(ManyWires(51) + Lines({"COAX 75"}));
    EXPECT_TRUE(many.ctx.AbortFlag);
    EXPECT_EQ(many.p.WireCount, 0);
    EXPECT_EQ(many.p.CoaxImpedance, 50.0f);
    EXPECT_EQ(many.host.MessageTexts(), std::vector<std::string>{"Too many Wires"});

    // So does a square loop that does not fit whole.
    Reader loop;
    loop.Read(ManyWires(47) + Lines({"Q 1 4 0 2 0.001"}));
    EXPECT_TRUE(loop.ctx.AbortFlag);
    EXPECT_EQ(loop.p.WireCount, 0);

    // An 11th source and a 21st load are reported; the counts stay full.
    std::string cards = "GW 1 30 0 0 0 0 0 1 0.002\r\n";
    for (int i = 1; i <= 11; ++i) cards += "S " + std::to_string(i) + " " + std::to_string(i) + " 1 0\r\n";
    for (int i = 1; i <= 21; ++i) cards += "L " + std::to_string(i) + " " + std::to_string(i) + " 1 0\r\n";
    Reader full;
    full.Read(cards);
    EXPECT_EQ(full.p.SourceCount, 10);
    EXPECT_EQ(full.p.LoadCount, 20);
    EXPECT_EQ(full.host.MessageTexts(), (std::vector<std::string>{"Geometry File Error", "Geometry File Error"}));
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

TEST(ProjectReader, NecDeckIsReadWhole) {
    Reader r;
    r.Read(Lines({"CM NEC deck", "CE", "GW 1 9 0 0 -2.5 0 0 2.5 0.001", "GS 0 0 0.3048", "GE 0", "EX 0 1 5 0 1 0",
                  "FR 0 1 0 0 14.2", "EN"}),
           true);
    ASSERT_EQ(r.p.WireCount, 1);
    EXPECT_FLOAT_EQ(r.p.Wires[1].Z2, 2.5f * 0.3048f);  // GS applied
    EXPECT_TRUE(r.host.messages.empty());
    EXPECT_EQ(r.host.mainText.back(), "NEC deck read whole: 1 wire, 1 source, 0 loads");
}

// A cancelled dialog or a file that cannot be opened leaves the project as it was.
TEST(ProjectReader, ChoosingTheFile) {
    test::TempDir dir;
    Reader r;
    r.Read(kDipole);
    r.p.FileName = "kept.qlk";
    r.host.openAnswers = {std::nullopt, dir.File("missing.qlk")};
    for (int i = 0; i < 2; ++i) {
        ReadProjectFile(r.ctx);
        EXPECT_TRUE(r.ctx.AbortFlag);
        EXPECT_EQ(r.p.WireCount, 1);
        EXPECT_EQ(r.p.FileName, "kept.qlk");
    }
    EXPECT_EQ(r.host.dialogs[0].filter, "QLK Project (*.qlk)|*.qlk|NEC File (*.nec)|*.nec");
    ASSERT_EQ(r.host.messages.size(), 1u);
    EXPECT_NE(r.host.messages[0].text.find(dir.File("missing.qlk")), std::string::npos);
}

}  // namespace
}  // namespace qw
