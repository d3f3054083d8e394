// The filled matrix against its structure: straight-wire symmetry and
// Toeplitz form, image theory over ground, reuse against computing every
// element, and stopping during the fill.
#include "solver/matrix_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "filled_matrix.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using cf = std::complex<float>;
using Matrix = test::FilledMatrix;
using test::WorstRowDifference;

// A structure built in code and its matrix; the wavelength is 1 m, so
// lengths read as wavelengths and the thin-wire limit is a radius of 1e-4.
struct Structure : test::SolvedAntenna {
    explicit Structure(bool overGround = false) { if (overGround) PerfectGround(); }
    Structure& Wire(float x1, float y1, float z1, float x2, float y2, float z2, float radius, int segments) {
        SolvedAntenna::Wire(segments, x1, y1, z1, x2, y2, z2, radius);
        return *this;
    }
    void Build() { SolvedAntenna::Build(false); }
    Matrix Fill(bool reuse) {
        ClearMatrix(St());
        EXPECT_TRUE(FillMatrix(ctx, reuse));
        return Matrix(St());
    }
};

TEST(FillMatrix, ReuseAgreesWithComputingEveryElement) {
    // A thick junction, thick wires close together; over ground thin junctions, thick wires.
    const std::vector<std::array<float, 8>> cases[] = {  // per wire: ends, radius, segments
        {{0, 0, 0, 0, 0, 0.3f, 0.004f, 6}, {0, 0, 0.3f, 0.2f, 0, 0.45f, 0.004f, 5}},
        {{0, 0, 0, 0, 0, 0.5f, 0.002f, 10}, {0.02f, 0, 0, 0.02f, 0, 0.5f, 0.002f, 10}},
        {{0, 0, 0, 0, 0, 0.25f, 1e-5f, 5}, {0, 0, 0.25f, 0.3f, 0, 0.25f, 1e-5f, 6}, {0, 0.1f, 0.3f, 0.3f, 0.1f, 0.3f, 1e-5f, 6}},
        {{0, 0, 0, 0, 0, 0.25f, 0.003f, 6}, {0.1f, 0.1f, 0.05f, 0.3f, 0.2f, 0.35f, 0.003f, 7}},
    };
    for (int c = 0; c < 4; ++c) {
        Structure s(c >= 2);
        for (const auto& w : cases[c]) s.Wire(w[0], w[1], w[2], w[3], w[4], w[5], w[6], static_cast<int>(w[7]));
        s.Build();
        const Matrix every = s.Fill(false);
        EXPECT_LT(WorstRowDifference(s.Fill(true), every), 1e-4) << "case " << c;
    }
}

TEST(FillMatrix, TurningAGroundedWireAboutTheVerticalChangesNothing) {
    // A wire rising from the ground along (1, 1, 1) and the same wire turned
    // by 90 degrees, along (1, -1, 1): the ground pulse bends into its image
    // in both, and neither is taken for a straight pulse.
    Structure a(true), b(true);
    a.Wire(0, 0, 0, 0.2f, 0.2f, 0.2f, 1e-5f, 8).Build();
    b.Wire(0, 0, 0, 0.2f, -0.2f, 0.2f, 1e-5f, 8).Build();
    const Matrix every = a.Fill(false);
    EXPECT_LT(WorstRowDifference(b.Fill(true), every), 1e-5);
    EXPECT_LT(WorstRowDifference(b.Fill(false), every), 1e-5);
}

TEST(FillMatrix, StraightWireMatrixIsSymmetricAndToeplitz) {
    // Computing every element (thin closed forms, exact kernel) gives it to rounding.
    for (const float radius : {1e-5f, 0.004f}) {
        Structure s;
        s.Wire(-0.1f, -0.2f, -0.1f, 0.1f, 0.2f, 0.15f, radius, 15).Build();
        const Matrix z = s.Fill(false);
        ASSERT_EQ(z.n, 14);
        const double tolerance = 1e-6 * z.RowMax(1);
        for (int i = 1; i <= z.n; ++i)
            for (int j = 1; j <= z.n; ++j) {
                EXPECT_LE(std::abs(z(i, j) - z(j, i)), tolerance) << i << ", " << j;
                if (i < z.n && j < z.n) {
                    EXPECT_LE(std::abs(z(i + 1, j + 1) - z(i, j)), tolerance) << i << ", " << j;
                }
            }
        // The diagonal dominates and the elements fall off with distance.
        EXPECT_GT(std::abs(z(1, 1)), std::abs(z(1, 2)));
        EXPECT_GT(std::abs(z(1, 3)), std::abs(z(1, 14)));
    }
}

TEST(FillMatrix, GroundSubtractsTheMirroredWire) {
    // Over ground each element loses the interaction with the wire's mirror
    // image in z = 0: the same as a second wire, mirrored, in free space.
    const float x1 = 0.05f, y1 = 0.02f, z1 = 0.12f, x2 = 0.3f, y2 = 0.15f, z2 = 0.4f;
    for (const float radius : {1e-5f, 0.003f}) {
        Structure ground(true), pair;
        ground.Wire(x1, y1, z1, x2, y2, z2, radius, 8).Build();
        pair.Wire(x1, y1, z1, x2, y2, z2, radius, 8).Wire(x1, y1, -z1, x2, y2, -z2, radius, 8).Build();
        const Matrix zg = ground.Fill(false), zp = pair.Fill(false);
        const int n = zg.n;
        ASSERT_EQ(zp.n, 2 * n);
        double worst = 0, smallestImage = 1;
        for (int i = 1; i <= n; ++i) {
            const double scale = zg.RowMax(i);
            for (int j = 1; j <= n; ++j) {
                const cf image = zp(i, j) - zg(i, j);
                worst = std::max(worst, std::abs(image - zp(i, j + n)) / scale);
                smallestImage = std::min(smallestImage, std::abs(zp(i, j + n)) / scale);
            }
        }
        EXPECT_LT(worst, 1e-6) << "radius " << radius;
        EXPECT_GT(smallestImage, 1e-4) << "radius " << radius;
    }
}

TEST(FillMatrix, StopEndsTheFillAfterTheRow) {
    Structure s;
    s.Wire(0, 0, -0.25f, 0, 0, 0.25f, 1e-5f, 10).Build();
    const Matrix whole = s.Fill(false);
    EXPECT_EQ(s.host.progress.size(), 9u);
    s.host.progress.clear();
    s.host.stopAfterProgressCalls = 2;
    ClearMatrix(s.St());
    EXPECT_FALSE(FillMatrix(s.ctx, false));
    EXPECT_TRUE(s.ctx.stop.Requested());
    EXPECT_EQ(s.host.progress, (std::vector<double>{1.0 / 9, 2.0 / 9}));
    const Matrix part(s.St());
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) EXPECT_EQ(part(i, j), i <= 2 ? whole(i, j) : cf(0)) << i << ", " << j;
}

}  // namespace
}  // namespace qw
