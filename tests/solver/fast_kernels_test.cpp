// The fast kernels of the solver (remembered integrals, rows over threads)
// against the reference kernels, on the examples and on random structures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/new_project.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"
#include "solver/factorisation.h"
#include "solver/frequency_constants.h"
#include "solver/matrix_fill.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

struct Filled {
    int n = 0;
    std::vector<float> re, im;
};

struct Structure {
    ScriptedHost host;
    Context ctx{host};
    std::string name;

    Structure() {
        InstallSolver(ctx);
        NewProject(ctx);
        ctx.BatchMode = true;
    }
    // The matrix as it stands (and the pivots, when given).
    Filled Copy(bool pivots = false) {
        const SolverState& s = Solver(ctx);
        Filled f;
        f.n = s.pulses.N;
        for (int i = 1; i <= f.n; ++i)
            for (int j = 1; j <= f.n; ++j) {
                f.re.push_back(s.ZR[i][j]);
                f.im.push_back(s.ZI[i][j]);
            }
        if (pivots)
            for (int k = 1; k < f.n; ++k) f.re.push_back(static_cast<float>(s.Pivot[k]));
        return f;
    }
    Filled Fill(bool reference, int threads) {
        SolverState& s = Solver(ctx);
        s.referenceKernels = reference;
        s.threads = threads;
        ClearMatrix(s);
        EXPECT_TRUE(FillMatrix(ctx)) << name;
        return Copy();
    }
    // The factors of the reference fill.
    Filled Factorise(bool reference) {
        Fill(true, 1);
        Solver(ctx).referenceKernels = reference;
        EXPECT_TRUE(FactoriseMatrix(ctx)) << name;
        return Copy(true);
    }
    // The input impedance of the first source.
    std::pair<float, float> Impedance(bool reference) {
        SolverState& s = Solver(ctx);
        s.referenceKernels = reference;
        s.threads = 0;
        ctx.project.MatrixState = 0;
        ZMCompute(ctx);
        EXPECT_FALSE(ctx.AbortFlag) << name;
        return {s.SourceResults[1].zr, s.SourceResults[1].zx};
    }
};

std::vector<std::unique_ptr<Structure>> Examples() {
    std::vector<std::unique_ptr<Structure>> out;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(QW_EXAMPLES_DIR))
        if (e.path().extension() == ".qlk") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        auto s = std::make_unique<Structure>();
        s->name = path.filename().string();
        ReadProjectText(s->ctx, test::ReadBytes(path.string()), false);
        PrepareReadProject(s->ctx, true);
        SetFrequencyConstants(s->ctx);
        out.push_back(std::move(s));
    }
    return out;
}

// Wires at random, some touching the one before, thin and thick, in free
// space and over ground, with a source on the first pulse.
std::vector<std::unique_ptr<Structure>> RandomStructures() {
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<float> coord(-0.4f, 0.4f), height(0.05f, 0.6f);
    std::vector<std::unique_ptr<Structure>> out;
    for (int c = 0; c < 8; ++c) {
        auto s = std::make_unique<Structure>();
        s->name = "random structure " + std::to_string(c);
        Project& p = s->ctx.project;
        p.Frequency = 299.8f;
        p.FrequencyDefined = true;
        p.Env.GroundPresent = c % 2 ? kOverGround : kFreeSpace;
        float x = coord(rng), y = coord(rng), z = height(rng);
        const int wires = 2 + c % 4;
        for (int w = 1; w <= wires; ++w) {
            const float x2 = coord(rng), y2 = coord(rng), z2 = height(rng);
            const float radius = c % 3 == 0 ? 0.004f : 2e-5f;
            p.Wires[++p.WireCount] = Wire{5 + static_cast<int>(rng() % 30), x, y, z, x2, y2, z2, radius};
            // Every other wire starts where the last one ended.
            if (w % 2) x = x2, y = y2, z = z2;
            else x = coord(rng), y = coord(rng), z = height(rng);
        }
        p.Sources[++p.SourceCount] = Source{1, 0, 1, 0, kVoltageSource};
        p.SourcesDefined = true;
        PrepareReadProject(s->ctx, true);
        SetFrequencyConstants(s->ctx);
        out.push_back(std::move(s));
    }
    return out;
}

// Largest difference relative to the largest element of its row.
void ExpectSame(const Filled& a, const Filled& b, const std::string& what) {
    EXPECT_EQ(a.re, b.re) << what;
    EXPECT_EQ(a.im, b.im) << what;
}

double WorstRowDifference(const Filled& a, const Filled& ref) {
    double worst = 0;
    for (int i = 0; i < ref.n; ++i) {
        double rowMax = 0;
        for (int j = 0; j < ref.n; ++j) rowMax = std::max(rowMax, double(std::hypot(ref.re[i * ref.n + j], ref.im[i * ref.n + j])));
        for (int j = 0; j < ref.n; ++j) {
            const int e = i * ref.n + j;
            worst = std::max(worst, double(std::hypot(a.re[e] - ref.re[e], a.im[e] - ref.im[e])) / rowMax);
        }
    }
    return worst;
}

void CompareFills(Structure& s) {
    const Filled reference = s.Fill(true, 1);
    const Filled one = s.Fill(false, 1);
    const Filled two = s.Fill(false, 2);
    const Filled three = s.Fill(false, 3);
    ASSERT_GT(reference.n, 0) << s.name;
    // Rows on other threads give the very same elements.
    ExpectSame(two, one, s.name);
    ExpectSame(three, one, s.name);
    EXPECT_LT(WorstRowDifference(one, reference), 1e-5) << s.name;
}

void CompareImpedances(Structure& s) {
    const auto [rr, rx] = s.Impedance(true);
    const auto [fr, fx] = s.Impedance(false);
    const double scale = std::hypot(rr, rx);
    ASSERT_GT(scale, 0) << s.name;
    EXPECT_LT(std::hypot(fr - rr, fx - rx) / scale, 1e-5) << s.name;
}

// The vector lanes of the elimination give the very same factors and
// pivots.
void CompareFactors(Structure& s) {
    const Filled reference = s.Factorise(true);
    const Filled fast = s.Factorise(false);
    ExpectSame(fast, reference, s.name);
}

// A sweep worker's fills, which replay the geometry recorded at the
// frequencies before, give the very elements of fills without it, also
// where a wire turns from thick to thin between frequencies.
void CompareReplayedFills(Structure& s) {
    Project& p = s.ctx.project;
    const float first = p.Frequency;
    for (const float f : {first, first * 0.5f, first * 0.5f, 5.0f, first, first * 1.03f}) {
        p.Frequency = f;
        SetFrequencyConstants(s.ctx);
        Solver(s.ctx).keepGeometry = false;
        const Filled plain = s.Fill(false, 1);
        Solver(s.ctx).keepGeometry = true;
        const Filled replayed = s.Fill(false, 1);
        const Filled again = s.Fill(false, 1);
        Solver(s.ctx).keepGeometry = false;
        const std::string at = s.name + " at " + std::to_string(f) + " MHz";
        ExpectSame(replayed, plain, at);
        ExpectSame(again, plain, at);
    }
    ASSERT_TRUE(Solver(s.ctx).tape);
    EXPECT_GT(Solver(s.ctx).tape->records.size(), 0u) << s.name;
    p.Frequency = first;
    SetFrequencyConstants(s.ctx);
}

void CompareAll(Structure& s) {
    CompareFills(s);
    CompareFactors(s);
    CompareImpedances(s);
    CompareReplayedFills(s);
}

TEST(FastKernels, FillAgreesWithTheReferenceOnTheExamples) {
    const auto examples = Examples();
    ASSERT_GE(examples.size(), 3u);
    for (const auto& s : examples) CompareAll(*s);
}

TEST(FastKernels, FillAgreesWithTheReferenceOnRandomStructures) {
    for (const auto& s : RandomStructures()) CompareAll(*s);
}

}  // namespace
}  // namespace qw
