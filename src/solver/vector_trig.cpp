#include "solver/vector_trig.h"

#pragma GCC diagnostic ignored "-Wpsabi"  // the lane types stay inside this file

#include <cmath>
#include <cstring>

namespace qw {

namespace {

typedef double D4 __attribute__((vector_size(32)));
typedef long long I4 __attribute__((vector_size(32)));
typedef float F4 __attribute__((vector_size(16)));
typedef int I4F __attribute__((vector_size(16)));

[[gnu::always_inline]] inline D4 Splat(double v) { return D4{v, v, v, v}; }

// pi/2 in two parts: the first with 33 significant bits, so that n times it
// is exact for every quadrant n below 2^20.
constexpr double kHalfPiHigh = 1.5707963267341256141662597656;
constexpr double kHalfPiLow = 6.0771005065061922e-11;
constexpr double kTwoOverPi = 0.63661977236758134308;
constexpr double kRoundShift = 6755399441055744.0;  // 1.5 * 2^52: adding it rounds to an integer
constexpr int kLargestBits = 0x47c35000;  // the bits of 1e5f

// Taylor coefficients (-1)^k / (2k + 1)! of the sine and (-1)^k / (2k)! of
// the cosine.
constexpr double S1 = -1.0 / 6, S2 = 1.0 / 120, S3 = -1.0 / 5040, S4 = 1.0 / 362880, S5 = -1.0 / 39916800,
                 S6 = 1.0 / 6227020800.0, S7 = -1.0 / 1307674368000.0;
constexpr double C1 = -1.0 / 2, C2 = 1.0 / 24, C3 = -1.0 / 720, C4 = 1.0 / 40320, C5 = -1.0 / 3628800,
                 C6 = 1.0 / 479001600, C7 = -1.0 / 87178291200.0, C8 = 1.0 / 20922789888000.0;

[[gnu::always_inline]] inline void SinCos4(F4 xf, F4& sf, F4& cf) {
    const D4 x = __builtin_convertvector(xf, D4);
    const D4 t = x * Splat(kTwoOverPi) + Splat(kRoundShift);
    const D4 n = t - Splat(kRoundShift);
    const I4 q = ((I4)t) & 3;  // quadrant: the low bits of n
    const D4 r = (x - n * Splat(kHalfPiHigh)) - n * Splat(kHalfPiLow);
    const D4 r2 = r * r;
    // Estrin's scheme: short chains of dependent operations.
    const D4 r4 = r2 * r2, r8 = r4 * r4;
    const D4 s01 = Splat(S1) + r2 * Splat(S2), s23 = Splat(S3) + r2 * Splat(S4), s45 = Splat(S5) + r2 * Splat(S6);
    const D4 ps = (s01 + r4 * s23) + r8 * (s45 + r4 * Splat(S7));
    const D4 sr = r + (r * r2) * ps;
    const D4 c12 = Splat(C1) + r2 * Splat(C2), c34 = Splat(C3) + r2 * Splat(C4), c56 = Splat(C5) + r2 * Splat(C6),
             c78 = Splat(C7) + r2 * Splat(C8);
    const D4 pc = (c12 + r4 * c34) + r8 * (c56 + r4 * c78);
    const D4 cr = Splat(1.0) + r2 * pc;
    // Quadrant q: sin x = sin r, cos r, -sin r, -cos r; cos x = cos r,
    // -sin r, -cos r, sin r.
    const I4 odd = (q & 1) != 0;
    D4 s = odd ? cr : sr;
    D4 c = odd ? sr : cr;
    s = (q & 2) != 0 ? -s : s;
    c = ((q + 1) & 2) != 0 ? -c : c;
    s = x == 0 ? x : s;  // the sine of -0 is -0
    sf = __builtin_convertvector(s, F4);
    cf = __builtin_convertvector(c, F4);
}

}  // namespace

__attribute__((target_clones("avx2", "default"))) void SinCos(const float* x, float* s, float* c, int n) {
    for (int i = 0; i < n; i += 4) {
        const int lanes = n - i < 4 ? n - i : 4;
        F4 xf = {0, 0, 0, 0};
        if (lanes == 4)
            std::memcpy(&xf, x + i, sizeof xf);
        else
            for (int l = 0; l < lanes; ++l) xf[l] = x[i + l];
        F4 sf, cf;
        SinCos4(xf, sf, cf);
        const I4F magnitude = ((I4F)xf) & 0x7fffffff;
        const I4F large = magnitude > kLargestBits;  // also infinities and NaNs
        if (lanes == 4 && !(large[0] | large[1] | large[2] | large[3])) {
            std::memcpy(s + i, &sf, sizeof sf);
            std::memcpy(c + i, &cf, sizeof cf);
            continue;
        }
        for (int l = 0; l < lanes; ++l) {
            s[i + l] = large[l] ? std::sin(x[i + l]) : sf[l];
            c[i + l] = large[l] ? std::cos(x[i + l]) : cf[l];
        }
    }
}

}  // namespace qw
