// The checks before a computation: the limits, the questions for what is
// missing, and the pulses rebuilt when the height changed.
#include <gtest/gtest.h>

#include "commands/checks.h"
#include "commands/project_dialogs.h"
#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw {
namespace {

struct Checked {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    Checked() {
        InstallSolver(ctx);
        NewProject(ctx);
        ctx.ProjectOpen = true;
        p.WireCount = 1;
        p.Wires[1] = Wire{5, 0, 0, 1, 0, 0, 2, 0.001f};
        p.GeometryDefined = p.FrequencyDefined = p.GroundDefined = p.SourcesDefined = true;
        p.Height = 5;
        p.Frequency = 14;
        EXPECT_TRUE(BuildPulseTable(ctx).completed());
    }
    const SolverState& St() { return Solver(ctx); }
    // The excitation and load tables stand for the document.
    bool TablesCurrent() {
        return St().built.sources == ctx.revisions.sources && St().built.loads == ctx.revisions.loads;
    }
};

// The limits that stop a computation, each with its message.
TEST(Checks, PulseWireAndFrequencyLimits) {
    struct Case {
        int pulses, wires;
        float frequency;
        const char* message;  // "": accepted
    };
    const Case cases[] = {
        {300, 1, 0.1001f, ""}, {301, 1, 14, "Too Many Pulses. Limit is 300"}, {0, 0, 14, "No wires defined"},
        {0, 1, 0.1f, "\r\nFrequency is Zero or too low"},
    };
    for (const auto& c : cases) {
        Checked k;
        k.p.PulseCount = c.pulses;
        k.p.WireCount = c.wires;
        k.p.Frequency = c.frequency;
        CheckProject(k.ctx);
        EXPECT_EQ(k.ctx.AbortFlag, *c.message != 0) << c.message;
        EXPECT_EQ(k.host.MessageTexts(), *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
}

TEST(Checks, ZeroHeightQuestion) {
    Checked c;
    c.p.Height = 0;
    c.host.messageAnswers = {MessageAnswer::No};
    CheckProject(c.ctx);
    EXPECT_TRUE(c.ctx.AbortFlag);
    ASSERT_EQ(c.host.messages.size(), 1u);
    EXPECT_EQ(c.host.messages[0].defaultButton, 2);
    // Asked until answered Yes; then not again.
    c.host.messageAnswers = {MessageAnswer::Yes};
    CheckProject(c.ctx);
    EXPECT_FALSE(c.ctx.AbortFlag);
    CheckProject(c.ctx);
    EXPECT_EQ(c.host.messages.size(), 2u);
    // In free space there is no question; no sources is a note only.
    Checked free;
    free.p.Height = 0;
    free.p.Env.GroundPresent = kFreeSpace;
    free.p.SourcesDefined = false;
    CheckProject(free.ctx);
    EXPECT_FALSE(free.ctx.AbortFlag);
    EXPECT_EQ(free.host.MessageTexts(), std::vector<std::string>{"No Sources defined"});
}

TEST(Checks, StaleHeightRebuildsThePulses) {
    Checked c;
    const unsigned builds = c.St().pulses.Generation;
    CheckProject(c.ctx);
    EXPECT_EQ(c.St().pulses.Generation, builds);  // the pulses stand for the geometry
    c.p.Height = 7;
    c.ctx.Changed(Change::Geometry);
    CheckProject(c.ctx);
    EXPECT_EQ(c.St().pulses.Generation, builds + 1);
    EXPECT_EQ(c.St().pulses.Ends[1][1][2], 8.0f);  // at the new height
    EXPECT_TRUE(PulsesCurrent(c.ctx) && c.TablesCurrent());
    // A failed rebuild stops the check, shows its fault and keeps the pulses stale.
    Checked bad;
    bad.p.Wires[1].Segments = 0;
    bad.ctx.Changed(Change::Geometry);
    CheckProject(bad.ctx);
    EXPECT_TRUE(bad.ctx.AbortFlag);
    EXPECT_EQ(bad.host.MessageTexts(),
              std::vector<std::string>{"Wire 1 has fewer than 1 segment.\r\nCheck your Geometry"});
    EXPECT_FALSE(PulsesCurrent(bad.ctx));
}

TEST(Checks, MissingFrequencyIsAskedFor) {
    Checked c;
    c.p.FrequencyDefined = false;
    c.host.frequencyAnswers = {0.05f, 7.1f};  // the first is refused, the dialog stays open
    CheckProject(c.ctx);
    EXPECT_FALSE(c.ctx.AbortFlag);
    EXPECT_EQ(c.p.Frequency, 7.1f);
    EXPECT_TRUE(c.p.FrequencyDefined && c.p.Modified);
    EXPECT_EQ(c.host.MessageTexts(), std::vector<std::string>{"\r\nFrequency is Zero or too low"});
    EXPECT_EQ(c.St().freq.Lambda, 299.8f / 7.1f);  // the constants and the loads follow it
    EXPECT_TRUE(c.St().built.frequency == c.ctx.revisions.frequency && c.St().built.loads == c.ctx.revisions.loads);
    // Cancel restores the frequency and stops.
    Checked cancel;
    cancel.p.FrequencyDefined = false;
    cancel.host.frequencyAnswers = {std::nullopt};
    CheckProject(cancel.ctx);
    EXPECT_TRUE(cancel.ctx.AbortFlag);
    EXPECT_EQ(cancel.p.Frequency, 14.0f);
}

TEST(Checks, MissingGroundIsAskedFor) {
    Checked c;
    c.p.GroundDefined = false;
    GroundInput bad;
    bad.perfect = false;
    bad.dielectric = 13;
    bad.conductivityMs = 5;
    bad.radialCount = 10;  // radials without length
    GroundInput good = bad;
    good.radialCount = 4;
    good.radialLength = 5;
    good.boundary = kLinearBoundary;
    c.host.groundAnswers = {bad, good};
    CheckProject(c.ctx);
    EXPECT_FALSE(c.ctx.AbortFlag);
    EXPECT_EQ(c.host.MessageTexts(), std::vector<std::string>{"Ground Parameters not initialized"});
    EXPECT_EQ(c.p.Env.Conductivity(), 0.005f);
    EXPECT_EQ(c.p.Env.Boundary, kCircularBoundary);  // radials force a circular boundary
    EXPECT_TRUE(c.p.GroundDefined);

    Checked cancel;
    cancel.p.GroundDefined = false;
    CheckProject(cancel.ctx);
    EXPECT_TRUE(cancel.ctx.AbortFlag);
    EXPECT_FALSE(cancel.p.GroundDefined);
}

}  // namespace
}  // namespace qw
