#include "solver/vector_trig.h"

#include <immintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace qw {
namespace {

double FromBits(std::uint64_t b) {
    double d;
    std::memcpy(&d, &b, sizeof d);
    return d;
}

// The library's constants: 2/pi scaled by 2^24 (the quadrant is rounded
// by adding 2^23 to the truncated product and shifting by 24), pi/2, and
// the coefficients of sin r = r + s1 r^3 + s2 r^5 + s3 r^7 and
// cos r = c0 + c1 r^2 + c2 r^4 + c3 r^6 + c4 r^8.
const double kInvHalfPi24 = FromBits(0x41645f306dc9c883);
const double kHalfPi = FromBits(0x3ff921fb54442d18);
const double kC0 = 1.0;
const double kC1 = FromBits(0xbfdffffffd0c621c);
const double kC2 = FromBits(0x3fa55553e1068f19);
const double kC3 = FromBits(0xbf56c087e89a359d);
const double kC4 = FromBits(0x3ef99343027bf8c3);
const double kS1 = FromBits(0xbfc555545995a603);
const double kS2 = FromBits(0x3f81107605230bc4);
const double kS3 = FromBits(0xbf2994eb3774cf24);

constexpr std::int32_t kTinyBits = 0x39800000;   // 2^-12
constexpr std::int32_t kLargeBits = 0x42f00000;  // 120

// Four arguments: their sines and cosines; false (nothing written) when a
// lane holds an argument the lanes do not take.
__attribute__((target("avx2,fma"))) inline bool SinCos4(__m128 xf, __m128& sf, __m128& cf) {
    const __m128i magnitude = _mm_and_si128(_mm_castps_si128(xf), _mm_set1_epi32(0x7fffffff));
    if (_mm_movemask_epi8(_mm_cmpgt_epi32(magnitude, _mm_set1_epi32(kLargeBits - 1))) != 0) return false;
    const __m256d x = _mm256_cvtps_pd(xf);
    __m128i n = _mm256_cvttpd_epi32(_mm256_mul_pd(x, _mm256_set1_pd(kInvHalfPi24)));
    n = _mm_srai_epi32(_mm_add_epi32(n, _mm_set1_epi32(0x800000)), 24);
    const __m256d r = _mm256_fnmadd_pd(_mm256_cvtepi32_pd(n), _mm256_set1_pd(kHalfPi), x);

    // Quadrant n: the sine's argument changes sign in quadrants 1 and 2,
    // the cosine polynomial's in quadrants 2 and 3, and odd quadrants swap
    // the two.
    const __m256i n64 = _mm256_cvtepi32_epi64(n);
    const __m256i one = _mm256_set1_epi64x(1), two = _mm256_set1_epi64x(2);
    const __m256d negZero = _mm256_set1_pd(-0.0);
    const __m256d flipR = _mm256_castsi256_pd(_mm256_cmpeq_epi64(_mm256_and_si256(_mm256_add_epi64(n64, one), two), two));
    const __m256d flipC = _mm256_castsi256_pd(_mm256_cmpeq_epi64(_mm256_and_si256(n64, two), two));
    const __m256d odd = _mm256_castsi256_pd(_mm256_cmpeq_epi64(_mm256_and_si256(n64, one), one));

    const __m256d xs = _mm256_xor_pd(r, _mm256_and_pd(flipR, negZero));
    const __m256d x2 = _mm256_mul_pd(r, r);
    const __m256d x3 = _mm256_mul_pd(x2, xs);
    const __m256d x4 = _mm256_mul_pd(x2, x2);
    const __m256d x5 = _mm256_mul_pd(x2, x3);
    const __m256d x6 = _mm256_mul_pd(x2, x4);
    const __m256d s = _mm256_fmadd_pd(_mm256_fmadd_pd(x2, _mm256_set1_pd(kS3), _mm256_set1_pd(kS2)), x5,
                                      _mm256_fmadd_pd(x3, _mm256_set1_pd(kS1), xs));
    const __m256d c1 = _mm256_fmadd_pd(x2, _mm256_set1_pd(kC1), _mm256_set1_pd(kC0));
    __m256d c = _mm256_fmadd_pd(_mm256_fmadd_pd(x2, _mm256_set1_pd(kC4), _mm256_set1_pd(kC3)), x6,
                                _mm256_fmadd_pd(x4, _mm256_set1_pd(kC2), c1));
    c = _mm256_xor_pd(c, _mm256_and_pd(flipC, negZero));
    const __m128 sinF = _mm256_cvtpd_ps(_mm256_blendv_pd(s, c, odd));
    const __m128 cosF = _mm256_cvtpd_ps(_mm256_blendv_pd(c, s, odd));

    // Tiny arguments: sin x = x, cos x = 1.
    const __m128 tiny = _mm_castsi128_ps(_mm_cmplt_epi32(magnitude, _mm_set1_epi32(kTinyBits)));
    sf = _mm_blendv_ps(sinF, xf, tiny);
    cf = _mm_blendv_ps(cosF, _mm_set1_ps(1.0f), tiny);
    return true;
}

void LibrarySinCos(const float* x, float* s, float* c, int n) {
    for (int i = 0; i < n; ++i) {
        s[i] = std::sin(x[i]);
        c[i] = std::cos(x[i]);
    }
}

__attribute__((target("avx2,fma"))) void LaneSinCos(const float* x, float* s, float* c, int n) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128 sf, cf;
        if (SinCos4(_mm_loadu_ps(x + i), sf, cf)) {
            _mm_storeu_ps(s + i, sf);
            _mm_storeu_ps(c + i, cf);
        } else {
            LibrarySinCos(x + i, s + i, c + i, 4);
        }
    }
    LibrarySinCos(x + i, s + i, c + i, n - i);
}

// The library's own values on probe arguments across the range the lanes
// take: every quadrant boundary region, tiny and small arguments, both signs.
bool LanesAgreeWithLibrary() {
    constexpr int kProbes = 1024;
    static float x[kProbes], s[kProbes], c[kProbes];
    std::uint32_t state = 12345;
    for (int i = 0; i < kProbes; ++i) {
        state = state * 1664525u + 1013904223u;
        const float u = static_cast<float>(state >> 8) / 16777216.0f;  // [0, 1)
        float v;
        switch (i % 4) {
            case 0: v = 119.9f * u; break;
            case 1: v = 0.7853982f * static_cast<float>(i % 150) + (u - 0.5f) * 1e-3f; break;
            case 2: v = std::ldexp(u + 0.5f, -static_cast<int>(i % 20)); break;
            default: v = 4.0f * u; break;
        }
        x[i] = (i & 8) ? -v : v;
    }
    LaneSinCos(x, s, c, kProbes);
    for (int i = 0; i < kProbes; ++i) {
        const float ls = std::sin(x[i]), lc = std::cos(x[i]);
        if (std::memcmp(&ls, &s[i], sizeof ls) != 0 || std::memcmp(&lc, &c[i], sizeof lc) != 0) return false;
    }
    return true;
}

bool UseLanes() {
    static const bool use = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && LanesAgreeWithLibrary();
    return use;
}

void LibraryKernelTerms(const float* d3, const float* a2, float k, float* d, float* cosOverD, float* sinOverD,
                        int n) {
    for (int i = 0; i < n; ++i) {
        d[i] = std::sqrt(d3[i] + a2[i]);
        const float b1 = k * d[i];
        cosOverD[i] = std::cos(b1) / d[i];
        sinOverD[i] = std::sin(b1) / d[i];
    }
}

__attribute__((target("avx2,fma"))) void LaneKernelTerms(const float* d3, const float* a2, float k, float* d,
                                                        float* cosOverD, float* sinOverD, int n) {
    int i = 0;
    const __m128 wave = _mm_set1_ps(k);
    for (; i + 4 <= n; i += 4) {
        const __m128 dist = _mm_sqrt_ps(_mm_add_ps(_mm_loadu_ps(d3 + i), _mm_loadu_ps(a2 + i)));
        __m128 sf, cf;
        if (!SinCos4(_mm_mul_ps(wave, dist), sf, cf)) break;
        _mm_storeu_ps(d + i, dist);
        _mm_storeu_ps(cosOverD + i, _mm_div_ps(cf, dist));
        _mm_storeu_ps(sinOverD + i, _mm_div_ps(sf, dist));
    }
    LibraryKernelTerms(d3 + i, a2 + i, k, d + i, cosOverD + i, sinOverD + i, n - i);
}

void LibraryKernelTermsAt(const float* d, float k, float* cosOverD, float* sinOverD, int n) {
    for (int i = 0; i < n; ++i) {
        const float b1 = k * d[i];
        cosOverD[i] = std::cos(b1) / d[i];
        sinOverD[i] = std::sin(b1) / d[i];
    }
}

__attribute__((target("avx2,fma"))) void LaneKernelTermsAt(const float* d, float k, float* cosOverD,
                                                          float* sinOverD, int n) {
    int i = 0;
    const __m128 wave = _mm_set1_ps(k);
    for (; i + 4 <= n; i += 4) {
        const __m128 dist = _mm_loadu_ps(d + i);
        __m128 sf, cf;
        if (!SinCos4(_mm_mul_ps(wave, dist), sf, cf)) break;
        _mm_storeu_ps(cosOverD + i, _mm_div_ps(cf, dist));
        _mm_storeu_ps(sinOverD + i, _mm_div_ps(sf, dist));
    }
    LibraryKernelTermsAt(d + i, k, cosOverD + i, sinOverD + i, n - i);
}

}  // namespace

void KernelTermsAt(const float* d, float k, float* cosOverD, float* sinOverD, int n) {
    if (UseLanes())
        LaneKernelTermsAt(d, k, cosOverD, sinOverD, n);
    else
        LibraryKernelTermsAt(d, k, cosOverD, sinOverD, n);
}

void SinCos(const float* x, float* s, float* c, int n) {
    if (UseLanes())
        LaneSinCos(x, s, c, n);
    else
        LibrarySinCos(x, s, c, n);
}

void KernelTerms(const float* d3, const float* a2, float k, float* d, float* cosOverD, float* sinOverD, int n) {
    if (UseLanes())
        LaneKernelTerms(d3, a2, k, d, cosOverD, sinOverD, n);
    else
        LibraryKernelTerms(d3, a2, k, d, cosOverD, sinOverD, n);
}

bool TrigLanesInUse() { return UseLanes(); }

}  // namespace qw
