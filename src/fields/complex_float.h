// Complex values in single precision with the arithmetic written out, so
// that every field routine rounds the same way (std::complex<float> divides
// with scaling and special cases of its own).
#pragma once

namespace qw {

struct ComplexF {
    float re = 0;
    float im = 0;
};

inline ComplexF Add(ComplexF a, ComplexF b) { return {a.re + b.re, a.im + b.im}; }
inline ComplexF Sub(ComplexF a, ComplexF b) { return {a.re - b.re, a.im - b.im}; }
inline ComplexF Scale(ComplexF a, float s) { return {a.re * s, a.im * s}; }
inline ComplexF Mul(ComplexF a, ComplexF b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
// a / b = ((ac + bd) + j(bc - ad)) / (c^2 + d^2).
inline ComplexF Div(ComplexF a, ComplexF b) {
    const float d = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
}

// The principal square root of a + jb: m = sqrt(a^2 + b^2),
// t = sqrt((|a| + m) / 2), u = |b| / (2t); (t, u) when a >= 0, else (u, t);
// the imaginary part negated when b < 0. The root of 0 is 0.
ComplexF ComplexSqrt(float a, float b);

}  // namespace qw
