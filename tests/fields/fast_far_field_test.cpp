// The far field with the fast kernels (sines and cosines of all pulses in
// vector lanes) against the reference kernels (the C library, one pulse
// after the other), on the examples and on a structure over real ground:
// the very same gains.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fields/far_field.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"
#include "solver/frequency_constants.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"
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

TEST(FastFarField, GainsAgreeWithTheReferenceOnTheExamples) {
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(QW_EXAMPLES_DIR)) {
        if (e.path().extension() != ".qlk") continue;
        Solved s(e.path().string());
        CompareGains(s, e.path().filename().string());
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
    p.MatrixState = 0;
    ZMCompute(s.ctx);
    CompareGains(s, "vertical over real ground");
}

}  // namespace
}  // namespace qw
