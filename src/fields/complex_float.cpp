#include "fields/complex_float.h"

#include <cmath>

namespace qw {

ComplexF ComplexSqrt(float a, float b) {
    if (a == 0 && b == 0) return {0, 0};  // t would be 0 and u = 0/0
    const float m = std::sqrt(a * a + b * b);
    const float t = std::sqrt((std::fabs(a) + m) / 2);
    const float u = std::fabs(b) / (2 * t);
    ComplexF root = a >= 0 ? ComplexF{t, u} : ComplexF{u, t};
    if (b < 0) root.im = -root.im;
    return root;
}

}  // namespace qw
