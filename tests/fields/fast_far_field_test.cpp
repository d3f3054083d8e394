// The far field with the fast kernels (sines and cosines of all pulses in
// vector lanes) against the reference kernels (the C library, one pulse
// after the other), on the examples and on a structure over real ground:
// the very same gains.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "commands/project_loading.h"
#include "fields/far_field.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"
#include "solver/frequency_constants.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"
#include "support/solved_antenna.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

struct Solved {
    ScriptedHost host;
    Context ctx{host};
    explicit Solved(const std::string& path) {
        InstallSolver(ctx);
        NewProject(ctx);
        ctx.BatchMode = true;
        ReadProjectText(ctx, test::ReadBytes(path), false);
        PrepareReadProject(ctx, true);
        SetFrequencyConstants(ctx);
        ZMCompute(ctx);
    }
    // Vertical, horizontal and total gain over a 5-degree grid.
    std::vector<float> Gains(bool reference) {
        Solver(ctx).referenceKernels = reference;
        FarFieldSetup setup;
        EXPECT_TRUE(PrepareFarField(ctx, setup, true));
        std::vector<float> out;
        for (float az = 0; az <= 360; az += 5)
            for (float zen = -90; zen <= 90; zen += 5) {
                DirectionGains g;
                FieldAtDirection(ctx, setup, az, zen, &g);
                out.insert(out.end(), {g.vertical, g.horizontal, g.total});
            }
        return out;
    }
};

void CompareGains(Solved& s, const std::string& name) {
    ASSERT_FALSE(s.ctx.AbortFlag) << name;
    const std::vector<float> reference = s.Gains(true);
    ASSERT_GT(*std::max_element(reference.begin(), reference.end()), -100.0f) << name;
    EXPECT_EQ(s.Gains(false), reference) << name;
}

// A column of directions side by side in vector lanes gives the fields of
// the directions one by one, bit for bit, in free space, over perfect
// ground and over real ground, for columns that fill the lanes and columns that do not.
void CompareColumns(Solved& s, const std::string& name) {
    s.ctx.solver->referenceKernels = false;
    FarFieldSetup setup;
    ASSERT_TRUE(PrepareFarField(s.ctx, setup, true)) << name;
    for (const int count : {1, 8, 19}) {
        std::vector<float> zeniths(count);
        for (int z = 0; z < count; ++z) zeniths[z] = -90.0f + 180.0f * static_cast<float>(z) / static_cast<float>(count);
        for (const float azimuth : {0.0f, 37.0f, 270.0f}) {
            std::vector<FieldComponents> column(count);
            FarFieldColumn(s.ctx, setup, azimuth, zeniths.data(), count, column.data());
            for (int z = 0; z < count; ++z) {
                const FieldComponents one = FarFieldComponents(s.ctx, setup, azimuth, zeniths[z]);
                EXPECT_TRUE(std::memcmp(&one, &column[z], sizeof one) == 0) << name << " " << azimuth << " " << zeniths[z];
            }
        }
    }
}

TEST(FastFarField, GainsAgreeWithTheReferenceOnTheExamples) {
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(QW_EXAMPLES_DIR)) {
        if (e.path().extension() != ".qlk") continue;
        Solved s(e.path().string());
        CompareGains(s, e.path().filename().string());
        CompareColumns(s, e.path().filename().string());
        ++files;
    }
    EXPECT_GE(files, 3);
}

TEST(FastFarField, GainsAgreeOverRealGround) {
    Solved s(std::string(QW_EXAMPLES_DIR) + "/vertical.qlk");
    Project& p = s.ctx.project;
    p.Env.GroundPresent = kOverGround;
    p.Env.GroundKind = kRealGround;
    p.Env.SetRealGround(13, 0.005f);
    p.Height = 0.5f;
    PrepareReadProject(s.ctx, true);
    Solver(s.ctx).MatrixState = 0;
    ZMCompute(s.ctx);
    CompareGains(s, "vertical over real ground");
    CompareColumns(s, "vertical over real ground");
    // Over perfect ground the image pass runs in the lanes too, and the
    // ground pulse of the vertical standing on it takes its own path there.
    p.Env.GroundKind = kPerfectGround;
    p.Height = 0;
    PrepareReadProject(s.ctx, true);
    ASSERT_TRUE(Solver(s.ctx).pulses.IsGroundPulse(1));
    Solver(s.ctx).MatrixState = 0;
    ZMCompute(s.ctx);
    CompareGains(s, "vertical over perfect ground");
    CompareColumns(s, "vertical over perfect ground");
}


// Without a radial screen the ground's reflection coefficients depend on the
// direction alone, so every pulse shares one set; giving each pulse its own,
// computed at its own point, changes no bit of the gains on a structure of
// many heights. With the screen each point keeps its own coefficients.
TEST(FastFarField, PulsesShareTheReflectionCoefficientsWithoutRadials) {
    Solved s(std::string(QW_EXAMPLES_DIR) + "/vertical.qlk");
    Project& p = s.ctx.project;
    p.Env.GroundPresent = kOverGround;
    p.Env.GroundKind = kRealGround;
    p.Env.SetRealGround(13, 0.005f);
    p.Env.RadialCount = 0;
    p.Height = 0.5f;
    p.Wires[++p.WireCount] = Wire{9, 1.0f, 0.0f, 0.2f, 2.0f, 0.5f, 3.5f, 0.002f};
    PrepareReadProject(s.ctx, true);
    Solver(s.ctx).MatrixState = 0;
    ZMCompute(s.ctx);
    auto gains = [&](const FarFieldSetup& setup) {
        std::vector<float> out;
        for (float az = 0; az <= 360; az += 15)
            for (float zen = -90; zen <= 90; zen += 5) {
                DirectionGains g;
                FieldAtDirection(s.ctx, setup, az, zen, &g);
                out.insert(out.end(), {g.vertical, g.horizontal, g.total});
            }
        return out;
    };
    FarFieldSetup shared;
    ASSERT_TRUE(PrepareFarField(s.ctx, shared, true));
    EXPECT_EQ(shared.reflectionClasses, 1);
    FarFieldSetup own = shared;
    const int n = Solver(s.ctx).pulses.N;
    ASSERT_GT(n, 15);
    for (int i = 1; i <= n; ++i) {
        own.pulses[i].reflectionClass = i;
        own.classPulse[i] = i;
    }
    own.reflectionClasses = n;
    const std::vector<float> reference = gains(own);
    ASSERT_GT(*std::max_element(reference.begin(), reference.end()), -100.0f);
    EXPECT_EQ(gains(shared), reference);
    CompareColumns(s, "sloping wire over real ground");

    p.Env.RadialCount = 16;
    p.Env.RadialLength = 5.28f;
    FarFieldSetup screened;
    ASSERT_TRUE(PrepareFarField(s.ctx, screened, true));
    EXPECT_GT(screened.reflectionClasses, 10);
    CompareColumns(s, "sloping wire over real ground with radials");
}

// Four hundred pulses of sloping wires over real ground, with and without a
// radial screen: the far field in vector lanes gives the reference kernels'
// gains, with the screen's four hundred sets of reflection coefficients.
TEST(LargeModel, FarFieldOverRealGroundBeyondThreeHundredPulsesEqualsTheReferenceKernels) {
    test::SolvedAntenna a(144);
    a.ctx.options.LargeModels = true;
    Project& p = a.p;
    p.Env.GroundPresent = kOverGround;
    p.Env.GroundKind = kRealGround;
    p.Env.SetRealGround(13, 0.005f);
    p.GroundDefined = true;
    for (int w = 0; w < 4; ++w) {
        const float f = static_cast<float>(w);
        a.Wire(101, 0.3f * f, -0.5f - 0.01f * f, 2.0f + 0.1f * f, 0.3f * f + 0.05f, 0.5f + 0.02f * f, 2.4f + 0.2f * f,
               0.001f + 0.0002f * f);
    }
    a.Source(50);
    p.PulseCount = 400;
    for (const int radials : {0, 16}) {
        p.Env.RadialCount = radials;
        p.Env.RadialLength = radials > 0 ? 5.28f : 0.0f;
        a.St().MatrixState = 0;
        a.Build(true);
        ASSERT_EQ(a.St().pulses.N, 400);
        auto gains = [&](bool reference) {
            a.St().referenceKernels = reference;
            FarFieldSetup setup;
            EXPECT_TRUE(PrepareFarField(a.ctx, setup, true));
            if (radials > 0) {
                EXPECT_GT(setup.reflectionClasses, 300);
            }
            std::vector<float> zeniths;
            for (float zen = -90; zen < 90; zen += 7.5f) zeniths.push_back(zen);
            std::vector<float> out;
            for (float az = 0; az < 360; az += 40) {
                std::vector<FieldComponents> column(zeniths.size());
                FarFieldColumn(a.ctx, setup, az, zeniths.data(), static_cast<int>(zeniths.size()), column.data());
                for (std::size_t z = 0; z < column.size(); ++z) {
                    const FieldComponents& c = column[z];
                    const FieldComponents one = FarFieldComponents(a.ctx, setup, az, zeniths[z]);
                    EXPECT_TRUE(std::memcmp(&one, &c, sizeof one) == 0) << az << " " << zeniths[z];
                    out.insert(out.end(), {c.theta.re, c.theta.im, c.phi.re, c.phi.im});
                }
            }
            return out;
        };
        const std::vector<float> reference = gains(true);
        EXPECT_GT(*std::max_element(reference.begin(), reference.end()), 0.0f) << radials;
        EXPECT_EQ(gains(false), reference) << radials << " radials";
    }
}

}  // namespace
}  // namespace qw
