// The ground dialog's checks, and a ground applied unchanged keeping the
// solution.
#include "commands/project_dialogs.h"

#include <gtest/gtest.h>

#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

struct GroundFixture {
    test::TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    GroundFixture() {
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        NewProject(ctx);
    }
};

GroundInput Average() {
    GroundInput g;
    g.perfect = false;
    g.dielectric = 13;
    g.conductivityMs = 5;
    return g;
}

TEST(GroundInputCheck, ZeroAndNegativeValuesAreRefused) {
    GroundFixture f;
    EXPECT_TRUE(CheckGroundInput(f.ctx, Average()));
    EXPECT_TRUE(CheckGroundInput(f.ctx, GroundInput{}));  // a perfect ground needs no values
    EXPECT_TRUE(f.host.messages.empty());

    // Radials without a length, then a negative value.
    const auto radials = [](GroundInput& g) { g.radialCount = 10; };
    const auto conductivity = [](GroundInput& g) { g.conductivityMs = -5; };
    const auto length = [](GroundInput& g) { g.radialCount = 4, g.radialLength = -5; };
    for (void (*change)(GroundInput&) : {+radials, +conductivity, +length}) {
        GroundInput g = Average();
        change(g);
        f.p.GroundDefined = true;
        const std::size_t before = f.host.messages.size();
        EXPECT_FALSE(CheckGroundInput(f.ctx, g));
        EXPECT_FALSE(f.p.GroundDefined);
        EXPECT_EQ(f.host.messages.size(), before + 1);
    }
    EXPECT_EQ(f.host.messages.back().text, "Ground Parameters not initialized");
    EXPECT_EQ(f.host.messages.back().title, "Bad Ground");
}

TEST(GroundInputCheck, UnchangedRealGroundKeepsTheSolution) {
    GroundFixture f;
    const std::uint64_t ground = f.ctx.revisions.ground;
    ASSERT_TRUE(ApplyGround(f.ctx, Average()));  // perfect to real: a change
    EXPECT_TRUE(f.p.Modified);
    EXPECT_EQ(f.ctx.revisions.ground, ground + 1);
    EXPECT_EQ(f.p.Env.Conductivity(), 0.005f);

    f.p.Modified = false;
    f.p.GroundDefined = false;
    const Revisions solvedFor = f.ctx.revisions;
    GroundInput same = GroundInputOf(f.p.Env);
    same.changed = false;
    ASSERT_TRUE(ApplyGround(f.ctx, same));
    EXPECT_TRUE(f.p.GroundDefined);
    EXPECT_FALSE(f.p.Modified);
    EXPECT_EQ(f.ctx.revisions, solvedFor);  // the solution stands
}

}  // namespace
}  // namespace qw
