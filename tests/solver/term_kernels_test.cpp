// The fill's two paths for the terms of the matrix side by side: every
// term the batched row answers equals, bit for bit, the reference kernels'
// integrals one by one, and the whole matrix filled by each path is the
// same, on random antennas of the kinds users build (arrays of unequal
// elements, ground planes with drooping radials, sloping loops; thin and
// thick wires), in free space and over ground.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "filled_matrix.h"
#include "solver/frequency_constants.h"
#include "solver/matrix_fill.h"
#include "solver/term_kernels.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

struct Antenna : test::SolvedAntenna {
    std::string name;
    bool ground = false;
    explicit Antenna(std::string n) : SolvedAntenna(144.0f), name(std::move(n)) { ctx.BatchMode = true; }
    void OverGround(float height) {
        PerfectGround();
        ground = true;
        p.Height = height;
    }
};

using Rng = std::mt19937;
float Uniform(Rng& rng, float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
// A radius: mostly thin, sometimes thick enough for the exact kernel.
float Radius(Rng& rng) { return rng() % 3 == 0 ? Uniform(rng, 0.003f, 0.008f) : Uniform(rng, 2e-5f, 0.002f); }

// Elements of unequal length at unequal spacings along x.
void UnequalArray(Antenna& a, Rng& rng) {
    float x = 0;
    const int elements = 3 + static_cast<int>(rng() % 3);
    for (int e = 0; e < elements; ++e) {
        const float half = Uniform(rng, 0.3f, 0.55f);
        a.Wire(7 + static_cast<int>(rng() % 9), x, -half, 0, x, half, Uniform(rng, -0.05f, 0.05f), Radius(rng));
        x += Uniform(rng, 0.15f, 0.5f);
    }
    a.Source(4);
}

// A vertical with radials drooping from its base at random azimuths.
void DroopingRadials(Antenna& a, Rng& rng) {
    a.Wire(9 + static_cast<int>(rng() % 6), 0, 0, 0, 0, 0, Uniform(rng, 0.4f, 0.6f), Radius(rng));
    const int radials = 3 + static_cast<int>(rng() % 4);
    for (int r = 0; r < radials; ++r) {
        const float az = Uniform(rng, 0, 6.2831853f), droop = Uniform(rng, 0.2f, 0.5f), len = Uniform(rng, 0.4f, 0.6f);
        a.Wire(6 + static_cast<int>(rng() % 6), 0, 0, 0, len * std::cos(droop) * std::cos(az),
               len * std::cos(droop) * std::sin(az), -len * std::sin(droop), Radius(rng));
    }
    a.Source(1);
}

// A square-ish loop of four wires leaning back from the vertical.
void SlopingLoop(Antenna& a, Rng& rng, float x0) {
    const float side = Uniform(rng, 0.45f, 0.6f), tilt = Uniform(rng, 0.1f, 0.6f), radius = Radius(rng);
    auto at = [&](float u, float v) { return std::array<float, 3>{x0 + v * std::sin(tilt), u, v * std::cos(tilt)}; };
    const std::array<std::array<float, 3>, 4> corners = {at(side / 2, 0), at(-side / 2, 0), at(-side / 2, side),
                                                         at(side / 2, side)};
    const int segments = 6 + static_cast<int>(rng() % 6);
    for (int c = 0; c < 4; ++c) {
        const auto& p1 = corners[c];
        const auto& p2 = corners[(c + 1) % 4];
        a.Wire(segments, p1[0], p1[1], p1[2], p2[0], p2[1], p2[2], radius);
    }
}

std::vector<Antenna*> RandomAntennas(std::vector<std::unique_ptr<Antenna>>& owned) {
    Rng rng(20261206);
    std::vector<Antenna*> out;
    for (int c = 0; c < 6; ++c) {
        const bool ground = c % 2 == 1;
        auto a = std::make_unique<Antenna>(std::string(c < 2 ? "unequal array" : c < 4 ? "drooping radials" : "sloping loops") +
                                           (ground ? " over ground" : " in free space"));
        if (ground) a->OverGround(Uniform(rng, 0.3f, 1.5f));
        if (c < 2) {
            UnequalArray(*a, rng);
        } else if (c < 4) {
            DroopingRadials(*a, rng);
        } else {
            SlopingLoop(*a, rng, 0);
            SlopingLoop(*a, rng, 0.4f);
            a->Source(3);
        }
        a->Build(false);
        out.push_back(a.get());
        owned.push_back(std::move(a));
    }
    return out;
}

bool SameBits(const TermIntegrals& a, const TermIntegrals& b) {
    return std::memcmp(a.t1.data(), b.t1.data(), sizeof a.t1) == 0 && std::memcmp(a.t2.data(), b.t2.data(), sizeof a.t2) == 0;
}

// Every term asked one by one, and every regular pulse asked through its
// wire as well: both give the reference integrals bit for bit. The rows
// run in order, then from the end back (so the segments seen from the
// midpoint before c(I) are taken over from the row before, and computed
// afresh).
TEST(TermKernels, BatchedRowsAnswerTheReferenceIntegralsBitForBit) {
    std::vector<std::unique_ptr<Antenna>> owned;
    for (Antenna* a : RandomAntennas(owned)) {
        SolverState& s = a->St();
        const PulseTable& t = s.pulses;
        ASSERT_GT(t.N, 20) << a->name;
        s.referenceKernels = false;
        BatchedRow row(s);
        Kernel k;
        k.FieldMode = 1;
        ScalarMemo plain(false, t.N + 2 * t.NW + 1);
        int compared = 0, differing = 0, throughWires = 0;
        std::vector<int> rows;
        for (int i = 1; i <= t.N; ++i) rows.push_back(i);
        for (int i = t.N; i >= 1; i -= 7) rows.push_back(i);
        for (const int i : rows) {
            row.Begin(i);
            std::vector<TermPulses> asked;
            for (int j = 1; j <= t.N; ++j)
                for (const int image : {1, -1}) {
                    if (image < 0 && (!a->ground || t.IsGroundPulse(j))) continue;
                    asked.push_back({i, j, image, std::abs(t.C[j][1]), std::abs(t.C[j][2])});
                    row.Ask(j, image, asked.back().j1, asked.back().j2);
                    if (row.Regular(j)) row.AskWire(t.W[j], image);
                }
            row.Answer();
            s.referenceKernels = true;
            for (std::size_t n = 0; n < asked.size(); ++n) {
                const TermPulses& p = asked[n];
                TermIntegrals reference;
                ReferenceTerm(s, p, k, plain, reference);
                std::vector<TermIntegrals> answers{row.Term(static_cast<int>(n))};
                if (row.Regular(p.j)) {
                    TermIntegrals wire;
                    for (int m = 0; m < 6; ++m) {
                        wire.t1[static_cast<std::size_t>(m)] = row.WireValues(p.image, m, 0, t.W[p.j])[p.j];
                        wire.t2[static_cast<std::size_t>(m)] = row.WireValues(p.image, m, 1, t.W[p.j])[p.j];
                    }
                    answers.push_back(wire);
                    ++throughWires;
                }
                for (const TermIntegrals& answer : answers) {
                    ++compared;
                    if (!SameBits(answer, reference) && ++differing <= 3)
                        ADD_FAILURE() << a->name << ": term (" << i << ", " << p.j << ", " << p.image << ") differs"
                                      << (&answer == &answers.front() ? "" : " through its wire");
                }
            }
            s.referenceKernels = false;
        }
        EXPECT_EQ(differing, 0) << a->name << " of " << compared << " answers";
        EXPECT_GT(throughWires, 0) << a->name;
    }
}

TEST(TermKernels, FastFillEqualsTheReferenceFillOnAntennasWithoutRepetition) {
    std::vector<std::unique_ptr<Antenna>> owned;
    for (Antenna* a : RandomAntennas(owned)) {
        SolverState& s = a->St();
        auto fill = [&](bool reference, int threads) {
            s.referenceKernels = reference;
            s.threads = threads;
            ClearMatrix(s);
            EXPECT_TRUE(FillMatrix(a->ctx)) << a->name;
            return test::FilledMatrix(s);
        };
        const test::FilledMatrix reference = fill(true, 1);
        ASSERT_GT(reference.RowMax(1), 0) << a->name;
        EXPECT_EQ(fill(false, 1), reference) << a->name;
        EXPECT_EQ(fill(false, 2), reference) << a->name << ", two threads";
    }
}

// A fill kept from one frequency and taken again at others (a sweep's
// worker) equals the fill made afresh at each of them, element by
// element, bit for bit.
struct KeptFill {
    Antenna& a;
    SolverState& s = a.St();
    bool ground = a.ground;
    test::FilledMatrix Fill(float mhz, bool keep) {
        SetFrequencyConstants(s, mhz);
        s.referenceKernels = false;
        s.threads = 1;
        s.keepFillAcrossFrequencies = keep;
        ClearMatrix(s);
        EXPECT_TRUE(FillMatrix(a.ctx)) << a.name;
        return test::FilledMatrix(s);
    }
    bool Kept() {
        const auto& r = s.fillCache.Recording();
        return r && r->Holds(s, ground, true);
    }
};

TEST(TermKernels, KeptFillAtOtherFrequenciesEqualsTheFreshFill) {
    std::vector<std::unique_ptr<Antenna>> owned;
    for (Antenna* a : RandomAntennas(owned)) {
        KeptFill f{*a};
        const test::FilledMatrix first = f.Fill(144.0f, true);
        ASSERT_GT(first.RowMax(1), 0) << a->name;
        EXPECT_GT(f.s.fillCache.Recording()->Samples(), 0u) << a->name;
        for (const float mhz : {139.7f, 150.3f, 144.0f, 147.1f}) {
            SetFrequencyConstants(f.s, mhz);
            // Radii chosen clear of the thin-wire limit: every wire stays on
            // its side, so the fill is taken again.
            ASSERT_TRUE(f.Kept()) << a->name << " at " << mhz;
            const test::FilledMatrix kept = f.Fill(mhz, true);
            EXPECT_TRUE(f.Kept()) << a->name << " at " << mhz << ": a row was asked differently";
            EXPECT_EQ(kept, f.Fill(mhz, false)) << a->name << " at " << mhz;
            f.s.keepFillAcrossFrequencies = true;
        }
        // The reference kernels agree with the kept fill as well.
        const test::FilledMatrix kept = f.Fill(150.3f, true);
        f.s.referenceKernels = true;
        ClearMatrix(f.s);
        ASSERT_TRUE(FillMatrix(a->ctx));
        EXPECT_EQ(kept, test::FilledMatrix(f.s)) << a->name << ", reference kernels";
    }
}

// Thin wires: the kept fill at another frequency is the fresh one. A wire
// that crosses the thin-wire limit between two frequencies (radius 0.0001
// wavelength at about 146 MHz) changes the rules: the kept fill is not
// taken, and the fill is the fresh one.
TEST(TermKernels, KeptFillIsNotTakenAcrossTheThinWireLimit) {
    for (const bool overGround : {false, true}) {
        Antenna a(overGround ? "over ground" : "in free space");
        if (overGround) a.OverGround(0.7f);
        // A bent thin V (its corner pulse's self terms in closed form) and
        // a thick wire beside it.
        a.Wire(11, 0, -0.5f, 0.1f, 0.02f, 0.5f, 0.13f, 2.05e-4f);
        a.Wire(7, 0.02f, 0.5f, 0.13f, 0.4f, 0.9f, 0.3f, 1e-4f);
        a.Wire(9, 0.4f, -0.45f, 0.1f, 0.35f, 0.46f, 0.2f, 0.001f);
        a.Source(5);
        a.Build(false);
        KeptFill f{a};
        f.Fill(140.0f, true);
        SetFrequencyConstants(f.s, 140.5f);
        ASSERT_TRUE(f.Kept()) << a.name;
        const test::FilledMatrix kept = f.Fill(140.5f, true);
        EXPECT_TRUE(f.Kept()) << a.name;
        EXPECT_EQ(kept, f.Fill(140.5f, false)) << a.name;
        f.Fill(140.0f, true);
        SetFrequencyConstants(f.s, 150.0f);
        EXPECT_FALSE(f.Kept()) << a.name << ": the thin wire is thick at 150 MHz";
        const test::FilledMatrix thick = f.Fill(150.0f, true);
        EXPECT_EQ(thick, f.Fill(150.0f, false)) << a.name;
        // Recorded afresh at 150 MHz, and back across the limit again.
        f.Fill(150.0f, true);
        SetFrequencyConstants(f.s, 140.0f);
        EXPECT_FALSE(f.Kept()) << a.name;
        const test::FilledMatrix thin = f.Fill(140.0f, true);
        EXPECT_EQ(thin, f.Fill(140.0f, false)) << a.name;
    }
}

// A row that asks other terms than the row recorded is answered afresh,
// with the reference kernels' integrals, and the recording is dropped.
TEST(TermKernels, ARowAskedDifferentlyIsAnsweredAfresh) {
    std::vector<std::unique_ptr<Antenna>> owned;
    for (Antenna* a : RandomAntennas(owned)) {
        SolverState& s = a->St();
        const PulseTable& t = s.pulses;
        s.referenceKernels = false;
        auto terms = [&](int i, int skip) {
            std::vector<TermPulses> asked;
            for (int j = 1; j <= t.N; ++j)
                if (j != skip) asked.push_back({i, j, 1, std::abs(t.C[j][1]), std::abs(t.C[j][2])});
            return asked;
        };
        FillRecording recording;
        recording.Start(s, false, true);
        {
            BatchedRow row(s);
            row.Use(&recording, false);
            for (int i = 1; i <= 3; ++i) {
                row.Begin(i);
                for (const TermPulses& p : terms(i, 0)) row.Ask(p.j, p.image, p.j1, p.j2);
                row.Answer();
            }
            recording.EndFill();
        }
        // Holds only for a whole fill's fingerprint; the rows are replayed
        // all the same.
        SetFrequencyConstants(s, 151.0f);
        BatchedRow row(s);
        row.Use(&recording, true);
        Kernel k;
        k.FieldMode = 1;
        ScalarMemo plain(false, t.N + 2 * t.NW + 1);
        for (int i = 1; i <= 3; ++i) {
            const std::vector<TermPulses> asked = terms(i, i == 2 ? 4 : 0);  // row 2 leaves out pulse 4
            row.Begin(i);
            for (const TermPulses& p : asked) row.Ask(p.j, p.image, p.j1, p.j2);
            row.Answer();
            s.referenceKernels = true;
            int differing = 0;
            for (std::size_t n = 0; n < asked.size(); ++n) {
                TermIntegrals reference;
                ReferenceTerm(s, asked[n], k, plain, reference);
                if (!SameBits(row.Term(static_cast<int>(n)), reference)) ++differing;
            }
            s.referenceKernels = false;
            EXPECT_EQ(differing, 0) << a->name << ", row " << i;
        }
        recording.EndFill();
        EXPECT_EQ(recording.Samples(), 0u) << a->name << ": the recording is dropped";
        SetFrequencyConstants(s, 144.0f);
    }
}

// A fill too large to keep is computed afresh at every frequency, and not
// recorded again for the same pulses.
TEST(TermKernels, AFillTooLargeToKeepIsNotKept) {
    std::vector<std::unique_ptr<Antenna>> owned;
    Antenna& a = *RandomAntennas(owned)[3];
    KeptFill f{a};
    struct Limit {
        std::size_t before = FillRecording::maxBytes;
        ~Limit() { FillRecording::maxBytes = before; }
    } restore;
    FillRecording::maxBytes = 4096;
    const test::FilledMatrix first = f.Fill(144.0f, true);
    const auto& kept = f.s.fillCache.Recording();
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->TooLargeFor(f.s, f.ground, true)) << a.name;
    EXPECT_FALSE(f.Kept()) << a.name;
    EXPECT_EQ(kept->Samples(), 0u) << a.name;
    EXPECT_EQ(first, f.Fill(144.0f, false)) << a.name;
    const test::FilledMatrix next = f.Fill(146.0f, true);
    EXPECT_EQ(kept->Samples(), 0u) << a.name << ": recorded again";
    EXPECT_EQ(next, f.Fill(146.0f, false)) << a.name;
}

}  // namespace
}  // namespace qw
