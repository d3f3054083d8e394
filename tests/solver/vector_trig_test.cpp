// The vector sines and cosines against the C library, bit for bit: every
// 997th single-precision number below 120 in size with both signs, the
// arguments the lanes hand to the library (120 and beyond, infinities,
// NaNs), tiny ones and zeros, and every length of the arrays' tails.
// (bench/trig_check runs all 1.1 billion arguments below 120.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "solver/vector_trig.h"

namespace qw {
namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(VectorTrig, SinesAndCosinesAreTheLibrarys) {
    std::vector<float> x;
    for (std::uint32_t b = 0; b < 0x42f00000u; b += 997) {
        float v;
        std::memcpy(&v, &b, sizeof v);
        x.push_back(v);
        x.push_back(-v);
    }
    const float inf = std::numeric_limits<float>::infinity();
    for (const float v : {120.0f, -120.0f, 119.99999f, 1e5f, -3e7f, 1e38f, inf, -inf, std::nanf(""), 0.0f, -0.0f,
                          1e-30f, -2.4414062e-4f, 2.4414064e-4f, 0.7853982f, 1.5707964f, 3.1415927f})
        x.push_back(v);
    std::vector<float> s(x.size()), c(x.size());
    SinCos(x.data(), s.data(), c.data(), static_cast<int>(x.size()));
    int wrong = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (!SameBits(s[i], std::sin(x[i])) || !SameBits(c[i], std::cos(x[i]))) {
            if (++wrong <= 5) ADD_FAILURE() << "argument " << std::hexfloat << x[i];
        }
    EXPECT_EQ(wrong, 0);
    // Arrays of every short length, so each tail path runs.
    for (int n = 0; n <= 9; ++n) {
        float ss[9], cc[9];
        SinCos(x.data() + 1000, ss, cc, n);
        for (int i = 0; i < n; ++i) EXPECT_TRUE(SameBits(ss[i], s[1000 + i]) && SameBits(cc[i], c[1000 + i])) << n;
    }
}

// The kernel terms are the single operations of the scalar kernel, on thin
// (a2 = 0) and thick wires, also where k d reaches 120.
TEST(VectorTrig, KernelTermsAreTheScalarOperations) {
    std::vector<float> d3, a2;
    for (int i = 0; i < 4003; ++i) {
        d3.push_back(1e-6f + 0.5f * static_cast<float>(i % 500) * static_cast<float>(i % 7 + 1));
        a2.push_back(i % 3 == 0 ? 0.0f : 1e-6f * static_cast<float>(i % 11));
    }
    const float k = 3.0191f;
    const int n = static_cast<int>(d3.size());
    std::vector<float> d(n), cd(n), sd(n);
    KernelTerms(d3.data(), a2.data(), k, d.data(), cd.data(), sd.data(), n);
    int wrong = 0, beyond = 0;
    for (int i = 0; i < n; ++i) {
        const float dist = std::sqrt(d3[i] + a2[i]);
        const float b1 = k * dist;
        beyond += b1 >= 120.0f;
        if (!SameBits(d[i], dist) || !SameBits(cd[i], std::cos(b1) / dist) || !SameBits(sd[i], std::sin(b1) / dist))
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(beyond, 0);
    // From the distances themselves, at another wave number (a sweep's next
    // point): the same as from the squared distances.
    const float k2 = 3.3107f;
    std::vector<float> d2(n), cd2(n), sd2(n), cdAt(n), sdAt(n);
    KernelTerms(d3.data(), a2.data(), k2, d2.data(), cd2.data(), sd2.data(), n);
    KernelTermsAt(d.data(), k2, cdAt.data(), sdAt.data(), n);
    int differing = 0;
    for (int i = 0; i < n; ++i) differing += !SameBits(cdAt[i], cd2[i]) || !SameBits(sdAt[i], sd2[i]);
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace qw
