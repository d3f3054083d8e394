// The fast kernels of the solver (remembered integrals, rows over threads)
// against the reference kernels, on the examples and on random structures.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "commands/project_loading.h"
#include "filled_matrix.h"
#include "model/project_reader.h"
#include "solver/factorisation.h"
#include "solver/matrix_fill.h"
#include "solver/repeated_blocks.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using Filled = test::FilledMatrix;

struct Structure : test::SolvedAntenna {
    std::string name;

    explicit Structure(std::string n) : name(std::move(n)) { ctx.BatchMode = true; }
    Filled Fill(bool reference, int threads) {
        St().referenceKernels = reference;
        St().threads = threads;
        ClearMatrix(St());
        EXPECT_TRUE(FillMatrix(ctx)) << name;
        return Filled(St());
    }
    // The factors of the reference fill.
    Filled Factorise(bool reference, int threads = 1) {
        Fill(true, 1);
        St().referenceKernels = reference;
        St().threads = threads;
        EXPECT_TRUE(FactoriseMatrix(ctx)) << name;
        return Filled(St(), true);
    }
    // The input impedance of the first source.
    std::complex<double> Impedance(bool reference) {
        St().referenceKernels = reference;
        St().threads = 0;
        St().MatrixState = 0;
        EXPECT_TRUE(ZMCompute(ctx).completed()) << name;
        return {St().SourceResults[1].zr, St().SourceResults[1].zx};
    }
};

void CompareAll(Structure& s) {
    PrepareReadProject(s.ctx, true);
    SetFrequencyConstants(s.ctx);
    const Filled reference = s.Fill(true, 1), one = s.Fill(false, 1);
    ASSERT_GT(reference.n, 0) << s.name;
    EXPECT_EQ(one, reference) << s.name;
    // Copying the repeated blocks gives the very elements of filling them.
    s.St().copyRepeatedBlocks = false;
    EXPECT_EQ(s.Fill(false, 1), one) << s.name << ", every block filled";
    s.St().copyRepeatedBlocks = true;
    // Rows on other threads give the very same elements.
    EXPECT_EQ(s.Fill(false, 2), one) << s.name;
    EXPECT_EQ(s.Fill(false, 3), one) << s.name;
    // The vector lanes of the elimination give the very same factors and pivots.
    const Filled factors = s.Factorise(true);
    EXPECT_EQ(s.Factorise(false), factors) << s.name;
    EXPECT_EQ(s.Factorise(false, 3), factors) << s.name << ", rows shared by three threads";
    const auto zRef = s.Impedance(true);
    ASSERT_GT(std::abs(zRef), 0) << s.name;
    EXPECT_LT(std::abs(s.Impedance(false) - zRef) / std::abs(zRef), 1e-5) << s.name;
}

TEST(FastKernels, FillAgreesWithTheReferenceOnTheExamples) {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(QW_EXAMPLES_DIR))
        if (e.path().extension() == ".qlk") files.push_back(e.path());
    ASSERT_GE(files.size(), 3u);
    for (const auto& path : files) {
        Structure s(path.filename().string());
        ReadProjectText(s.ctx, test::ReadBytes(path.string()), false);
        CompareAll(s);
    }
}

// Wires at random, every other one starting where the last one ended, thin
// and thick, in free space and over ground, with a source on the first pulse.
TEST(FastKernels, FillAgreesWithTheReferenceOnRandomStructures) {
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<float> coord(-0.4f, 0.4f), height(0.05f, 0.6f);
    for (int c = 0; c < 4; ++c) {
        Structure s("random structure " + std::to_string(c));
        if (c % 2) s.PerfectGround();
        float x = coord(rng), y = coord(rng), z = height(rng);
        for (int w = 1; w <= 2 + c; ++w) {
            const float x2 = coord(rng), y2 = coord(rng), z2 = height(rng);
            s.Wire(5 + static_cast<int>(rng() % 30), x, y, z, x2, y2, z2, c % 3 == 0 ? 0.004f : 2e-5f);
            if (w % 2) x = x2, y = y2, z = z2;
            else x = coord(rng), y = coord(rng), z = height(rng);
        }
        s.Source(1);
        CompareAll(s);
    }
}

// Arrays of parallel wires of equal make at random spacings (so that some
// coordinate differences repeat bit for bit and others do not), some
// lengthwise and some across, in free space and over ground; in one of them
// two wires are joined, which leaves them out of the copied blocks.
TEST(FastKernels, RepeatedBlocksAreTheBlocksTheFillWouldMake) {
    std::mt19937 rng(61206);
    std::uniform_int_distribution<int> step(1, 4);
    for (int c = 0; c < 4; ++c) {
        Structure s("array " + std::to_string(c));
        if (c % 2) s.PerfectGround();
        float x = 0.0f;
        for (int w = 1; w <= 5; ++w) {
            x += 0.05f * static_cast<float>(step(rng));
            if (c < 2)
                s.Wire(9, x, -0.25f, 0.3f, x, 0.25f, 0.3f, c == 0 ? 0.004f : 2e-5f);
            else
                s.Wire(9, 0.1f, x, 0.2f + 0.1f * static_cast<float>(w % 2), 0.6f, x, 0.2f + 0.1f * static_cast<float>(w % 2));
        }
        if (c == 3) s.Wire(3, 0.6f, 0.25f, 0.3f, 0.6f, 0.25f, 0.6f);  // joined to the last wire's end
        s.Source(1);
        CompareAll(s);
        EXPECT_GT(RepeatedBlocks(s.St().pulses, c % 2 == 1, true).Count(), 0) << s.name;
    }
}

// The bench structure: six parallel wires in free space; of its 36 blocks
// ten are filled.
TEST(FastKernels, SixParallelWiresFillTenBlocks) {
    Structure s("six_wires.qlk");
    ReadProjectText(s.ctx, test::ReadBytes(std::string(QW_BENCH_DIR) + "/six_wires.qlk"), false);
    PrepareReadProject(s.ctx, true);
    SetFrequencyConstants(s.ctx);
    EXPECT_EQ(RepeatedBlocks(s.St().pulses, false, true).Count(), 26);
    CompareAll(s);
}

}  // namespace
}  // namespace qw
