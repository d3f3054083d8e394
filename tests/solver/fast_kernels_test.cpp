// The fast kernels of the solver (remembered integrals, rows over threads)
// against the reference kernels, on the examples and on random structures.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "filled_matrix.h"
#include "model/project_reader.h"
#include "solver/factorisation.h"
#include "solver/matrix_fill.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using Filled = test::FilledMatrix;
using test::WorstRowDifference;

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
    Filled Factorise(bool reference) {
        Fill(true, 1);
        St().referenceKernels = reference;
        EXPECT_TRUE(FactoriseMatrix(ctx)) << name;
        return Filled(St(), true);
    }
    // The input impedance of the first source.
    std::complex<double> Impedance(bool reference) {
        St().referenceKernels = reference;
        St().threads = 0;
        p.MatrixState = 0;
        ZMCompute(ctx);
        EXPECT_FALSE(ctx.AbortFlag) << name;
        return {St().SourceResults[1].zr, St().SourceResults[1].zx};
    }
};

// A sweep worker's fills, which replay the geometry recorded at the
// frequencies before, give the very elements of fills without it, also
// where a wire turns from thick to thin between frequencies.
void CompareReplayedFills(Structure& s) {
    const float first = s.p.Frequency;
    for (const float f : {first, first * 0.5f, first * 0.5f, 5.0f, first}) {
        s.p.Frequency = f;
        SetFrequencyConstants(s.ctx);
        s.St().keepGeometry = false;
        const Filled plain = s.Fill(false, 1);
        s.St().keepGeometry = true;
        EXPECT_EQ(s.Fill(false, 1), plain) << s.name << " at " << f << " MHz";
        EXPECT_EQ(s.Fill(false, 1), plain) << s.name << " at " << f << " MHz, replayed again";
    }
    ASSERT_TRUE(s.St().tape);
    EXPECT_GT(s.St().tape->records.size(), 0u) << s.name;
}

void CompareAll(Structure& s) {
    PrepareReadProject(s.ctx, true);
    SetFrequencyConstants(s.ctx);
    const Filled reference = s.Fill(true, 1), one = s.Fill(false, 1);
    ASSERT_GT(reference.n, 0) << s.name;
    EXPECT_LT(WorstRowDifference(one, reference), 1e-5) << s.name;
    // Rows on other threads give the very same elements.
    EXPECT_EQ(s.Fill(false, 2), one) << s.name;
    EXPECT_EQ(s.Fill(false, 3), one) << s.name;
    // The vector lanes of the elimination give the very same factors and pivots.
    EXPECT_EQ(s.Factorise(false), s.Factorise(true)) << s.name;
    const auto zRef = s.Impedance(true);
    ASSERT_GT(std::abs(zRef), 0) << s.name;
    EXPECT_LT(std::abs(s.Impedance(false) - zRef) / std::abs(zRef), 1e-5) << s.name;
    CompareReplayedFills(s);  // last: it leaves the frequency changed
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

}  // namespace
}  // namespace qw
