// Saving projects: the dipole example byte for byte, every example through
// two saves, the card formats, the header comments, Save As, a failed save
// that keeps the old file and the save-changes question.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "model/new_project.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

struct Session {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    test::TempDir dir;

    Session() { NewProject(ctx); }

    // Reads a file written into the session's folder, as Open Project does.
    void Open(const std::string& name, const std::string& bytes) {
        test::WriteBytes(dir.File(name), bytes);
        ctx.PendingFileName = dir.File(name);
        LoadProject(ctx);
        ASSERT_FALSE(ctx.AbortFlag);
    }
    std::string Cards() {
        std::ostringstream out;
        WriteProjectCards(ctx, out);
        return out.str();
    }
};

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string ExampleDipole() { return test::ReadBytes(std::string(QW_EXAMPLES_DIR) + "/dipole.qlk"); }

TEST(ProjectWriter, TheDipoleExampleRoundTripsByteForByte) {
    const std::string bytes = ExampleDipole();
    ASSERT_EQ(bytes.substr(bytes.size() - 8), "50\r\n\r\n\r\n");
    Session s;
    s.Open("dipole.qlk", bytes);
    ASSERT_TRUE(SaveProject(s.ctx, s.dir.File("copy.qlk")));
    EXPECT_EQ(test::ReadBytes(s.dir.File("copy.qlk")), bytes);
    EXPECT_EQ(s.p.FileName, s.dir.File("copy.qlk"));
    EXPECT_EQ(s.host.status[2], "copy.qlk");
    EXPECT_TRUE(s.host.inputs.empty());  // a header of its own: no comment asked
}

TEST(ProjectWriter, EveryExampleSurvivesTwoSaves) {
    for (const auto& entry : std::filesystem::directory_iterator(QW_EXAMPLES_DIR)) {
        Session s;
        s.Open("in.qlk", test::ReadBytes(entry.path().string()));
        ASSERT_TRUE(SaveProject(s.ctx, s.dir.File("one.qlk")));
        Session again;
        again.Open("one.qlk", test::ReadBytes(s.dir.File("one.qlk")));
        ASSERT_TRUE(SaveProject(again.ctx, again.dir.File("two.qlk")));
        EXPECT_EQ(test::ReadBytes(s.dir.File("one.qlk")), test::ReadBytes(again.dir.File("two.qlk")))
            << entry.path();
    }
}

TEST(ProjectWriter, CardFormats) {
    Session s;
    Project& p = s.p;
    p.ProjectText = "CE\r\n";
    p.Env.GroundKind = kRealGround;
    p.Env.SetRealGround(10, 0.004f);
    p.Env.RadialCount = 8;
    p.Env.RadialLength = 2.5f;
    p.Env.Boundary = 7;
    p.Units = kCentimeters;
    p.Height = 0.5f;
    p.Frequency = 3.5f;
    p.WireCount = 1;
    p.Wires[1] = Wire{3, -1.5f, 0, 0.25f, 1.5f, 0.0000001f, 0, 0.0005f};
    p.SourceCount = 2;
    p.Sources[1] = Source{12, 0, 2.5f, -90, kCurrentSource};
    p.Sources[2] = Source{3, 0, 100, 0, kVoltageSource};
    p.LoadCount = 2;
    p.Loads[1] = Load{7, 0, kParallelRX, 50, -25.5f, 0};
    p.Loads[2] = Load{8, 0, kParallelRLC, 1, 0.5f, -3};
    p.CoaxImpedance = 75;
    EXPECT_EQ(s.Cards(),
              "CE\r\n"
              "GND Reference\r\n"
              "UNITS cm\r\n"
              "Height  50.000\r\n"
              "Over Ground  10  4\r\n"
              "Radials  8  2.5\r\n"
              "CM Undefined boundary\r\n"
              "F  3.500\r\n"
              "GW  1   3  -150.000   0.000   25.000   150.000   1E-05   0.000     0.100\r\n"
              "S   1 12    2.5   -90   I\r\n"
              "S   2 3    100    0   \r\n"
              "LX   1 7 50 -25.5\r\n"
              "LP   2 8 1 .5 -3\r\n"
              "Coax  75\r\n"
              "\r\n"
              "\r\n");
    EXPECT_EQ(p.ProjectText, "CE\r\n\r\nCE");
}

TEST(ProjectWriter, FloatFormatWithNegativeCoordinatesRoundTrips) {
    Session s;
    s.Open("d.qlk", ExampleDipole());
    s.ctx.NumberFormat = kFloatNumberFormat;
    s.p.Wires[1].X1 = -0.000123f;
    ASSERT_TRUE(SaveProject(s.ctx, s.dir.File("float.qlk")));
    const std::string text = test::ReadBytes(s.dir.File("float.qlk"));
    EXPECT_NE(text.find("GW  1   10  -1.230E-04  -5.000E+00   0.000E+00   0.000E+00   5.000E+00   0.000E+00     0.002"),
              std::string::npos)
        << text;
    Session back;
    back.Open("float.qlk", text);
    EXPECT_EQ(back.p.Wires[1].X1, -0.000123f);
}

TEST(ProjectWriter, ThinWiresSmallLengthsAndNegativeLoadsSurvive) {
    Session s;
    s.Open("d.qlk", ExampleDipole());
    s.p.Wires[1].Radius = 0.00001f;  // a 0.02 mm wire
    s.p.Wires[1].Z2 = 0.0002f;
    s.p.Loads[1] = Load{5, 0, kSeriesRLC, -1.5f, -2, -0.25f};
    ASSERT_TRUE(SaveProject(s.ctx, s.dir.File("thin.qlk")));
    EXPECT_NE(test::ReadBytes(s.dir.File("thin.qlk")).find("\r\nLS   1 5 -1.5 -2 -.25\r\n"), std::string::npos);
    Session back;
    back.Open("thin.qlk", test::ReadBytes(s.dir.File("thin.qlk")));
    EXPECT_EQ(back.p.Wires[1].Radius, 0.00001f);
    EXPECT_EQ(back.p.Wires[1].Z2, 0.0002f);
    const Load& l = back.p.Loads[1];
    EXPECT_EQ((std::vector<float>{l.Resistance, l.Reactance, l.Capacitance}), (std::vector<float>{-1.5f, -2, -0.25f}));

    // In wavelengths a wire's diameter is far below a thousandth.
    s.p.Units = kWavelengths;
    ASSERT_TRUE(SaveProject(s.ctx, s.dir.File("wl.qlk")));
    Session wl;
    wl.Open("wl.qlk", test::ReadBytes(s.dir.File("wl.qlk")));
    EXPECT_EQ(wl.p.Units, kWavelengths);
    EXPECT_NEAR(wl.p.Wires[1].Radius, 0.00001f, 1e-9);
    EXPECT_NEAR(wl.p.Height, 10.0f, 1.06e-3);  // four decimals of a 21.1 m wavelength
}

TEST(ProjectWriter, HeaderComments) {
    // A new project asks for its comment on the first save and keeps the
    // header on the next ones.
    Session s;
    s.p.WireCount = 1;
    s.p.Wires[1] = Wire{5, 0, 0, 0, 0, 0, 1, 0.001f};
    s.host.inputAnswers.push_back("my antenna");
    ASSERT_TRUE(SaveProject(s.ctx, s.dir.File("new.qlk")));
    ASSERT_EQ(s.host.inputs.size(), 1u);
    EXPECT_EQ(s.host.inputs[0].prompt, "Enter comments");
    const std::string first = test::ReadBytes(s.dir.File("new.qlk"));
    EXPECT_TRUE(StartsWith(first, "CM\r\nCM  QUILLWORK File\r\nCM  my antenna\r\nCE\r\nGND Reference\r\n"));
    ASSERT_TRUE(SaveProject(s.ctx, s.dir.File("new.qlk")));
    EXPECT_EQ(s.host.inputs.size(), 1u);
    EXPECT_EQ(test::ReadBytes(s.dir.File("new.qlk")), first);

    // The header ends at the first line beginning with "CE", not at a "CE"
    // inside a comment; without a "CE" line the leading comments are kept.
    Session c;
    c.p.ProjectText = "CM CENTER FED\r\nCM second\r\nCE end\r\nGW ...\r\n";
    EXPECT_TRUE(StartsWith(c.Cards(), "CM CENTER FED\r\nCM second\r\nCE\r\nGND"));
    c.p.ProjectText = "CM one\r\nGW 1 5\r\nCM late\r\n";
    EXPECT_TRUE(StartsWith(c.Cards(), "CM one\r\nCE\r\nGND"));
    // Cards before the "CE" line are written once, from the project.
    c.p.ProjectText = "CM a\r\nQ   4  1  0.000  2.000  0.001\r\n- W   4  0 ...\r\ncm b\r\nCE\r\n";
    EXPECT_TRUE(StartsWith(c.Cards(), "CM a\r\ncm b\r\nCE\r\nGND"));
}

TEST(ProjectWriter, SaveDialogAndNecNames) {
    Session s;
    s.Open("deck.NEC", "CM\r\nCE\r\nGW 1 9 0 0 -2.5 0 0 2.5 0.001\r\nGE\r\n");
    // Save As proposes the project name of the deck.
    s.host.saveAnswers.push_back(std::nullopt);
    EXPECT_FALSE(SaveProject(s.ctx, ""));
    ASSERT_EQ(s.host.dialogs.size(), 1u);
    EXPECT_EQ(s.host.dialogs[0].filter, "QLK Project (*.qlk)|*.qlk");
    EXPECT_EQ(s.host.dialogs[0].proposed, s.dir.File("deck.qlk"));
    // Save under the deck's own name writes the project file beside it.
    const std::string deck = test::ReadBytes(s.dir.File("deck.NEC"));
    ASSERT_TRUE(SaveProject(s.ctx, s.p.FileName));
    EXPECT_EQ(test::ReadBytes(s.dir.File("deck.NEC")), deck);
    EXPECT_EQ(s.p.FileName, s.dir.File("deck.qlk"));
}

TEST(ProjectWriter, FailedSaveKeepsEverything) {
    Session s;
    s.Open("d.qlk", ExampleDipole());
    s.p.Modified = true;
    const std::string before = s.p.ProjectText;
    const std::string nowhere = s.dir.File("no/such/folder/x.qlk");
    EXPECT_FALSE(SaveProject(s.ctx, nowhere));
    EXPECT_TRUE(s.ctx.AbortFlag);
    EXPECT_NE(s.host.messages.at(0).text.find(nowhere), std::string::npos);
    EXPECT_EQ(s.p.FileName, s.dir.File("d.qlk"));
    EXPECT_TRUE(s.p.Modified);
    EXPECT_EQ(s.p.ProjectText, before);
    // Over something that cannot be replaced: a folder with a file in it.
    std::filesystem::create_directory(s.dir.File("busy.qlk"));
    test::WriteBytes(s.dir.File("busy.qlk/inside"), "keep");
    EXPECT_FALSE(SaveProject(s.ctx, s.dir.File("busy.qlk")));
    EXPECT_EQ(test::ReadBytes(s.dir.File("busy.qlk/inside")), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(s.dir.Path()), {}), 2);  // no temporary left
}

TEST(ProjectWriter, AskSaveChanges) {
    Session s;
    s.Open("d.qlk", ExampleDipole());
    s.p.Modified = true;
    s.host.messageAnswers = {MessageAnswer::Cancel};
    AskSaveChanges(s.ctx);
    EXPECT_TRUE(s.ctx.AbortFlag);
    const Message& m = s.host.messages.back();
    EXPECT_EQ(m.text, "Save changes to " + s.dir.File("d.qlk") + " ?");
    EXPECT_EQ(m.buttons, MessageButtons::YesNoCancel);

    s.host.messageAnswers = {MessageAnswer::Yes};
    AskSaveChanges(s.ctx);
    EXPECT_TRUE(!s.ctx.AbortFlag && !s.p.Modified);

    // A new project: Yes shows the save dialog; cancelling it keeps the work.
    Session fresh;
    fresh.p.Modified = true;
    fresh.host.messageAnswers = {MessageAnswer::Yes};
    AskSaveChanges(fresh.ctx);
    EXPECT_EQ(fresh.host.messages[0].text, "Save to New Project ?");
    EXPECT_TRUE(fresh.ctx.AbortFlag && fresh.p.Modified);
}

}  // namespace
}  // namespace qw
