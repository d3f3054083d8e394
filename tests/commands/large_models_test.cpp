// The large-model option: 500 wires and 2000 pulses for project files,
// NEC decks, the editor's taper and the checks before computing; without
// it the limits of 50 wires and 300 pulses and their messages as always;
// its settings key and its toggle.
#include <gtest/gtest.h>

#include "commands/checks.h"
#include "commands/geometry_check.h"
#include "commands/geometry_taper.h"
#include "commands/main_commands.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

struct Session {
    ScriptedHost host;
    Context ctx{host};
    explicit Session(bool large) {
        InstallSolver(ctx);
        NewProject(ctx);
        ctx.options.LargeModels = large;
    }
};

// `wires` parallel wires of `segments` segments, as project file cards or
// as a NEC deck.
std::string Wires(int wires, int segments, bool nec) {
    std::string text = nec ? "CM many wires\r\nCE\r\n" : "";
    for (int i = 1; i <= wires; ++i) {
        const std::string x = std::to_string(0.1 * i);
        text += "GW " + (nec ? std::to_string(i) + " " + std::to_string(segments) : std::to_string(i) + " " +
                                                                                       std::to_string(segments)) +
                " " + x + " 0 0 " + x + " 0 1 " + (nec ? "0.001" : "0.002") + "\r\n";
    }
    if (nec) text += "GE 0\r\nFR 0 1 0 0 14.2 0\r\nEN\r\n";
    return text;
}

TEST(LargeModels, ProjectFilesAndNecDecksTake500WiresWithTheOptionAnd50Without) {
    struct Case {
        bool large, nec;
        int wires;
        const char* message;  // "": read
    };
    const Case cases[] = {
        {false, false, 50, ""},
        {false, false, 51, "Too many Wires"},
        {true, false, 51, ""},
        {true, false, 500, ""},
        {true, false, 501, "Too many Wires"},
        {false, true, 50, ""},
        {false, true, 51, "This NEC deck has 51 wires; the program takes at most 50.\r\nThe deck was not read."},
        {true, true, 500, ""},
        {true, true, 501, "This NEC deck has 501 wires; the program takes at most 500.\r\nThe deck was not read."},
    };
    for (const Case& c : cases) {
        Session s(c.large);
        ReadProjectText(s.ctx, Wires(c.wires, 3, c.nec), c.nec);
        const std::string what = std::to_string(c.wires) + (c.nec ? " wires of a deck" : " wires of a file") +
                                 (c.large ? ", large" : "");
        if (*c.message) {
            EXPECT_TRUE(s.ctx.AbortFlag) << what;
            EXPECT_EQ(s.ctx.project.WireCount, 0) << what;
            ASSERT_FALSE(s.host.messages.empty()) << what;
            EXPECT_EQ(s.host.messages.back().text, c.message) << what;
        } else {
            EXPECT_FALSE(s.ctx.AbortFlag) << what;
            EXPECT_EQ(s.ctx.project.WireCount, c.wires) << what;
        }
    }
}

TEST(LargeModels, ChecksBeforeComputingLimitThePulsesAndWires) {
    struct Case {
        bool large;
        int pulses, wires;
        const char* check;     // CheckProject's message ("": passed)
        const char* geometry;  // CheckPulseWireMax's message
    };
    const Case cases[] = {
        {false, 300, 50, "", ""},
        {false, 301, 50, "Too Many Pulses. Limit is 300", "Too many pulses! Reduce number of segments."},
        {false, 300, 51, "", "Too many wires! Reduce number of wires."},
        {true, 300, 51, "", ""},
        {true, 301, 51, "", ""},
        {true, 2000, 500, "", ""},
        {true, 2001, 500, "Too Many Pulses. Limit is 2000", "Too many pulses! Reduce number of segments."},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.pulses) + " pulses, " + std::to_string(c.wires) + " wires" +
                                 (c.large ? ", large" : "");
        Session s(c.large);
        Project& p = s.ctx.project;
        s.ctx.ProjectOpen = true;
        p.WireCount = c.wires;
        for (int w = 1; w <= c.wires; ++w) p.Wires[w] = Wire{1, 0, 0, 1, 0, 0, 2, 0.001f};
        p.Wires[1].Segments = c.pulses - c.wires + 1;
        p.PulseCount = c.pulses;
        // Only the pulse limit is of interest here: the rest passes.
        p.GeometryDefined = p.FrequencyDefined = p.GroundDefined = p.SourcesDefined = true;
        p.Height = 5;
        p.Frequency = 14;
        s.host.messageAnswers.assign(4, MessageAnswer::Yes);
        CheckProject(s.ctx);
        const auto texts = s.host.MessageTexts();
        const bool refused = std::find(texts.begin(), texts.end(), std::string(c.check)) != texts.end();
        EXPECT_EQ(refused, *c.check != 0) << what;
        if (!*c.check) {
            for (const auto& t : texts) EXPECT_EQ(t.find("Too Many Pulses"), std::string::npos) << what;
        }

        Session g(c.large);
        g.ctx.project = p;
        EXPECT_EQ(CheckPulseWireMax(g.ctx), *c.geometry != 0) << what;
        EXPECT_EQ(g.host.MessageTexts(), *c.geometry ? std::vector<std::string>{c.geometry} : std::vector<std::string>{})
            << what;
    }
}

TEST(LargeModels, TheTaperKeepsToTheLimitsItIsGiven) {
    const Wire w{20, 0, 0, 0, 0, 0, 10, 0.01f};
    const TaperRequest r{0.01, 0.002, 0.4, 0.1, false, TaperEnds::Both};
    EXPECT_EQ(PlanTaper(w, r, kMeters, 14, 49, 0).error, "Too many wires! Reduce number of wires.");
    EXPECT_EQ(PlanTaper(w, r, kMeters, 14, 49, 0, LimitsFor(true)).error, "");
    EXPECT_EQ(PlanTaper(w, r, kMeters, 14, 0, 299).error, "Too many pulses! Reduce number of segments.");
    EXPECT_EQ(PlanTaper(w, r, kMeters, 14, 0, 299, LimitsFor(true)).error, "");
}

TEST(LargeModels, TheSettingsKeyAndTheOptionsMenuToggle) {
    test::TempDir dir;
    Session s(false);
    s.ctx.files.settingsFile = dir.File("QUILLWORK.INI");
    test::WriteBytes(s.ctx.files.settingsFile, "[DEFAULTS]\r\nLarge models=-1\r\n");
    ReadSettings(s.ctx);
    EXPECT_TRUE(s.ctx.options.LargeModels);
    test::WriteBytes(s.ctx.files.settingsFile, "[DEFAULTS]\r\nUnits=1\r\n");
    ReadSettings(s.ctx);
    EXPECT_FALSE(s.ctx.options.LargeModels);  // missing: off

    // Save Defaults writes the file as it always has: without the key.
    s.ctx.options.LargeModels = true;
    ASSERT_TRUE(SaveSettings(s.ctx));
    EXPECT_EQ(GetSetting(s.ctx, kDefaultsSection, kLargeModelsKey), "");

    // The menu command toggles, shows its check mark and keeps the choice.
    ToggleLargeModels(s.ctx);
    EXPECT_FALSE(s.ctx.options.LargeModels);
    EXPECT_EQ(GetSettingInt(s.ctx, kDefaultsSection, kLargeModelsKey), 0);
    ToggleLargeModels(s.ctx);
    EXPECT_TRUE(s.ctx.options.LargeModels);
    EXPECT_EQ(GetSettingInt(s.ctx, kDefaultsSection, kLargeModelsKey), -1);
    EXPECT_TRUE(s.host.commandChecked.at(kLargeModelsCommand));
    Session fresh(false);
    fresh.ctx.files.settingsFile = s.ctx.files.settingsFile;
    ReadSettings(fresh.ctx);
    EXPECT_TRUE(fresh.ctx.options.LargeModels);
}

}  // namespace
}  // namespace qw
