#include "solver/matrix_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <vector>

#include "platform/scripted_host.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw {
namespace {

using cf = std::complex<float>;
using cd = std::complex<double>;

// A copy of the filled matrix, 1-based.
struct Matrix {
    int n = 0;
    std::vector<cf> z;
    cf operator()(int i, int j) const { return z[(i - 1) * n + (j - 1)]; }
    float RowMax(int i) const {
        float m = 0;
        for (int j = 1; j <= n; ++j) m = std::max(m, std::abs((*this)(i, j)));
        return m;
    }
};

// A project built in code, its pulse table and its matrix. At 299.8 MHz the
// wavelength is 1 m, so lengths read as wavelengths; the thin-wire limit
// is a radius of 1e-4.
class Structure {
public:
    explicit Structure(bool overGround = false) : ctx(host) {
        InstallSolver(ctx);
        ctx.project.Frequency = 299.8f;
        ctx.project.Env.GroundPresent = overGround ? kOverGround : kFreeSpace;
    }
    Structure& Wire(float x1, float y1, float z1, float x2, float y2, float z2, float radius, int segments) {
        qw::Wire& w = ctx.project.Wires[++ctx.project.WireCount];
        w = {segments, x1, y1, z1, x2, y2, z2, radius};
        return *this;
    }
    // Builds the pulse table and the frequency constants.
    void Build() {
        BuildPulseTable(ctx);
        ASSERT_FALSE(ctx.AbortFlag);
        SetFrequencyConstants(ctx);
    }
    Matrix Fill(bool reuse) {
        SolverState& s = Solver(ctx);
        ClearMatrix(s);
        EXPECT_TRUE(FillMatrix(ctx, reuse));
        return Current();
    }
    Matrix Current() const {
        const SolverState& s = *ctx.solver;
        Matrix m;
        m.n = s.pulses.N;
        for (int i = 1; i <= m.n; ++i)
            for (int j = 1; j <= m.n; ++j) m.z.push_back({s.ZR[i][j], s.ZI[i][j]});
        return m;
    }
    int N() const { return ctx.solver->pulses.N; }
    const PulseTable& Pulses() const { return ctx.solver->pulses; }

    ScriptedHost host;
    Context ctx;
};

// Largest difference of two matrices in each row, relative to the row's
// largest element of the reference.
double WorstRowDifference(const Matrix& a, const Matrix& ref) {
    double worst = 0;
    for (int i = 1; i <= ref.n; ++i)
        for (int j = 1; j <= ref.n; ++j)
            worst = std::max(worst, double(std::abs(a(i, j) - ref(i, j))) / ref.RowMax(i));
    return worst;
}

TEST(FillMatrix, ReuseAgreesWithComputingEveryElement) {
    struct Case {
        const char* name;
        std::unique_ptr<Structure> structure;
    };
    std::vector<Case> cases;
    auto add = [&](const char* name, bool ground) {
        cases.push_back({name, std::make_unique<Structure>(ground)});
        return cases.back().structure.get();
    };
    add("thin straight wire", false)->Wire(-0.1f, -0.2f, -0.1f, 0.1f, 0.2f, 0.15f, 1e-5f, 15);
    add("thick straight wire", false)->Wire(0, 0, -0.25f, 0, 0, 0.25f, 0.005f, 12);
    add("wire along (1, -1, 0)", false)->Wire(0, 0, 0, 0.3f, -0.3f, 0, 1e-3f, 9);
    add("bent wire", false)
        ->Wire(0, 0, 0, 0.3f, 0, 0, 1e-5f, 6)
        .Wire(0.3f, 0, 0, 0.3f, 0.25f, 0.1f, 1e-5f, 5);
    add("thick bent wire", false)
        ->Wire(0, 0, 0, 0, 0, 0.3f, 0.004f, 6)
        .Wire(0, 0, 0.3f, 0.2f, 0, 0.45f, 0.004f, 5);
    add("two parallel wires", false)
        ->Wire(0, 0, 0, 0, 0, 0.5f, 0.002f, 10)
        .Wire(0.02f, 0, 0, 0.02f, 0, 0.5f, 0.002f, 10);
    add("inverted L and a wire over ground", true)
        ->Wire(0, 0, 0, 0, 0, 0.25f, 1e-5f, 5)
        .Wire(0, 0, 0.25f, 0.3f, 0, 0.25f, 1e-5f, 6)
        .Wire(0, 0.1f, 0.3f, 0.3f, 0.1f, 0.3f, 1e-5f, 6);
    add("grounded wire sloping along (1, -1, 1)", true)->Wire(0, 0, 0, 0.2f, -0.2f, 0.2f, 1e-5f, 8);
    add("thick grounded vertical and sloping wire", true)
        ->Wire(0, 0, 0, 0, 0, 0.25f, 0.003f, 6)
        .Wire(0.1f, 0.1f, 0.05f, 0.3f, 0.2f, 0.35f, 0.003f, 7);
    for (Case& c : cases) {
        c.structure->Build();
        const Matrix every = c.structure->Fill(false);
        const Matrix reused = c.structure->Fill(true);
        EXPECT_LT(WorstRowDifference(reused, every), 1e-4) << c.name;
    }
}

TEST(FillMatrix, TurningAGroundedWireAboutTheVerticalChangesNothing) {
    // A wire rising from the ground along (1, 1, 1) and the same wire turned
    // by 90 degrees, along (1, -1, 1): the ground pulse bends into its image
    // in both, and neither is taken for a straight pulse.
    Structure a(true), b(true);
    a.Wire(0, 0, 0, 0.2f, 0.2f, 0.2f, 1e-5f, 8).Build();
    b.Wire(0, 0, 0, 0.2f, -0.2f, 0.2f, 1e-5f, 8).Build();
    EXPECT_LT(WorstRowDifference(b.Fill(true), a.Fill(true)), 1e-5);
}

TEST(FillMatrix, ReuseCopiesAlongAStraightWire) {
    // In free space the elements of a straight wire are copied, not
    // computed again: the matrix is exactly symmetric and Toeplitz.
    Structure s;
    s.Wire(-0.1f, -0.2f, -0.1f, 0.1f, 0.2f, 0.15f, 1e-5f, 15).Build();
    const Matrix z = s.Fill(true);
    for (int i = 1; i <= z.n; ++i)
        for (int j = 1; j <= z.n; ++j) {
            EXPECT_EQ(z(i, j), z(j, i)) << i << ", " << j;
            if (i < z.n && j < z.n) {
                EXPECT_EQ(z(i + 1, j + 1), z(i, j)) << i << ", " << j;
            }
        }
}

TEST(FillMatrix, StraightWireMatrixIsSymmetricAndToeplitz) {
    for (const float radius : {1e-5f, 0.004f}) {  // thin closed forms, exact kernel
        Structure s;
        s.Wire(-0.1f, -0.2f, -0.1f, 0.1f, 0.2f, 0.15f, radius, 15).Build();
        const Matrix z = s.Fill(false);
        ASSERT_EQ(z.n, 14);
        const double scale = z.RowMax(1);
        for (int i = 1; i <= z.n; ++i)
            for (int j = 1; j <= z.n; ++j) {
                EXPECT_LT(std::abs(z(i, j) - z(j, i)), 1e-6 * scale) << i << ", " << j;
                if (i < z.n && j < z.n) {
                    EXPECT_LT(std::abs(z(i + 1, j + 1) - z(i, j)), 1e-6 * scale) << i << ", " << j;
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
        Structure ground(true);
        ground.Wire(x1, y1, z1, x2, y2, z2, radius, 8).Build();
        const Matrix zg = ground.Fill(false);

        Structure pair;
        pair.Wire(x1, y1, z1, x2, y2, z2, radius, 8).Wire(x1, y1, -z1, x2, y2, -z2, radius, 8).Build();
        const Matrix zp = pair.Fill(false);
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

TEST(FillMatrix, MonopoleOverGroundIsHalfADipole) {
    // A vertical from the ground with 5 segments and the dipole of 10 in free
    // space: the monopole's pulse m is the dipole's pulse 4 + m, its image
    // the dipole's pulse 6 - m (with the same vertical current), and the
    // ground pulse 1 is the dipole's centre pulse 5 with its own image half.
    for (const float radius : {1e-5f, 0.003f}) {
        Structure mono(true);
        mono.Wire(0, 0, 0, 0, 0, 0.25f, radius, 5).Build();
        ASSERT_EQ(mono.N(), 5);
        ASSERT_TRUE(mono.Pulses().IsGroundPulse(1));
        const Matrix zm = mono.Fill(false);
        Structure dipole;
        dipole.Wire(0, 0, -0.25f, 0, 0, 0.25f, radius, 10).Build();
        const Matrix zd = dipole.Fill(false);
        for (int i = 1; i <= 5; ++i) {
            const double scale = zm.RowMax(i);
            for (int j = 1; j <= 5; ++j) {
                cf expected = zd(4 + i, 4 + j);
                if (j > 1) expected += zd(4 + i, 6 - j);
                EXPECT_LT(std::abs(zm(i, j) - expected), 1e-6 * scale) << i << ", " << j;
            }
        }
    }
}

TEST(FillMatrix, GroundPulseHasNoImageTerm) {
    Structure s(true);
    s.Wire(0, 0, 0, 0, 0, 0.2f, 1e-5f, 4).Wire(0.1f, 0, 0.3f, 0.4f, 0, 0.3f, 1e-5f, 6).Build();
    ASSERT_TRUE(s.Pulses().IsGroundPulse(1));
    const Matrix zg = s.Fill(false);
    // The same pulses in free space: only the direct terms.
    s.ctx.project.Env.GroundPresent = kFreeSpace;
    const Matrix zf = s.Fill(false);
    for (int j = 1; j <= zg.n; ++j) {
        float largest = 0;
        for (int i = 1; i <= zg.n; ++i) largest = std::max(largest, std::abs(zg(i, j) - zf(i, j)) / zf.RowMax(i));
        if (j == 1)
            EXPECT_EQ(largest, 0.0f);
        else
            EXPECT_GT(largest, 1e-5f) << "column " << j;
    }
}

TEST(FillMatrix, StopEndsTheFillAfterTheRow) {
    Structure s;
    s.Wire(0, 0, -0.25f, 0, 0, 0.25f, 1e-5f, 10).Build();
    const Matrix whole = s.Fill(false);
    EXPECT_EQ(s.host.progress.size(), 9u);
    EXPECT_EQ(s.host.progress.back(), 1.0);

    s.host.progress.clear();
    s.host.stopAfterProgressCalls = 2;
    ClearMatrix(Solver(s.ctx));
    EXPECT_FALSE(FillMatrix(s.ctx, false));
    EXPECT_TRUE(s.ctx.AbortFlag);
    EXPECT_EQ(s.host.progress, (std::vector<double>{1.0 / 9, 2.0 / 9}));
    const Matrix part = s.Current();
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) EXPECT_EQ(part(i, j), i <= 2 ? whole(i, j) : cf(0)) << i << ", " << j;
}

TEST(ClearMatrix, ZeroesTheUsedRowsAndColumns) {
    Structure s;
    s.Wire(0, 0, -0.25f, 0, 0, 0.25f, 1e-5f, 6).Build();
    s.Fill(true);
    ClearMatrix(Solver(s.ctx));
    const Matrix z = s.Current();
    EXPECT_TRUE(std::all_of(z.z.begin(), z.z.end(), [](cf v) { return v == cf(0); }));
}

// Input impedance at pulse p for 1 V: the matrix holds -jZ/M, so the
// right-hand side of a voltage source V is -jV/M, or -2jV/M at a ground
// pulse (whose gap spans the image half as well). Solved in double.
cd InputImpedance(const Matrix& z, float m, int p, bool groundPulse = false) {
    const int n = z.n;
    std::vector<cd> a(n * n), b(n, 0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) a[i * n + j] = cd(z(i + 1, j + 1));
    b[p - 1] = cd(0, (groundPulse ? -2.0 : -1.0) / m);
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int i = k + 1; i < n; ++i)
            if (std::abs(a[i * n + k]) > std::abs(a[pivot * n + k])) pivot = i;
        for (int j = 0; j < n; ++j) std::swap(a[k * n + j], a[pivot * n + j]);
        std::swap(b[k], b[pivot]);
        for (int i = k + 1; i < n; ++i) {
            const cd f = a[i * n + k] / a[k * n + k];
            for (int j = k; j < n; ++j) a[i * n + j] -= f * a[k * n + j];
            b[i] -= f * b[k];
        }
    }
    std::vector<cd> x(n);
    for (int i = n - 1; i >= 0; --i) {
        cd sum = b[i];
        for (int j = i + 1; j < n; ++j) sum -= a[i * n + j] * x[j];
        x[i] = sum / a[i * n + i];
    }
    return 1.0 / x[p - 1];
}

TEST(FillMatrix, HalfWaveDipoleAndQuarterWaveMonopole) {
    // A thin half-wave dipole has about 73 ohms of resistance and an
    // inductive reactance; a quarter-wave monopole on a perfect ground half
    // of that.
    Structure dipole;
    dipole.Wire(0, 0, -0.25f, 0, 0, 0.25f, 1e-5f, 20).Build();
    const cd zd = InputImpedance(dipole.Fill(true), Solver(dipole.ctx).freq.M, 10);
    EXPECT_NEAR(zd.real(), 73, 8) << zd;
    EXPECT_NEAR(zd.imag(), 42, 15) << zd;

    Structure mono(true);
    mono.Wire(0, 0, 0, 0, 0, 0.25f, 1e-5f, 10).Build();
    const cd zm = InputImpedance(mono.Fill(true), Solver(mono.ctx).freq.M, 1, true);
    EXPECT_LT(std::abs(zm - zd / 2.0), 1e-3 * std::abs(zd)) << zm << " vs " << zd;
}

}  // namespace
}  // namespace qw
