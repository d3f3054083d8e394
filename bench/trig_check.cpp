// Every single-precision argument below 120 in size, with both signs,
// through the vector sines and cosines against the C library: the count of
// arguments whose values differ in any bit (0 expected). About 2.2 billion
// arguments; some 20 seconds.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "solver/vector_trig.h"

int main() {
    std::printf("vector lanes in use: %s\n", qw::TrigLanesInUse() ? "yes" : "no (every argument to the library)");
    constexpr std::uint32_t kEnd = 0x42f00000;  // 120
    constexpr int kChunk = 1 << 20;
    std::vector<float> x(kChunk), s(kChunk), c(kChunk);
    long checked = 0, differing = 0;
    for (const std::uint32_t sign : {0u, 0x80000000u})
        for (std::uint32_t b = 0; b < kEnd;) {
            int m = 0;
            for (; m < kChunk && b < kEnd; ++m, ++b) {
                const std::uint32_t bits = b | sign;
                std::memcpy(&x[m], &bits, sizeof bits);
            }
            qw::SinCos(x.data(), s.data(), c.data(), m);
            for (int i = 0; i < m; ++i) {
                const float ls = std::sin(x[i]), lc = std::cos(x[i]);
                if (std::memcmp(&ls, &s[i], sizeof ls) != 0 || std::memcmp(&lc, &c[i], sizeof lc) != 0) {
                    if (++differing <= 10) std::printf("differs at %a\n", x[i]);
                }
            }
            checked += m;
        }
    std::printf("%ld arguments checked, %ld differ\n", checked, differing);
    return differing == 0 ? 0 : 1;
}
