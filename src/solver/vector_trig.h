// Sines and cosines of many single-precision arguments at once, in vector
// lanes, with for every argument the very values of the C library's sinf
// and cosf.
//
// The lanes take the library's own steps: the argument in double
// precision, reduced by pi/2 (quadrant n) with one fused multiply-add, then
// the same short polynomials of sine and cosine with fused multiply-adds,
// the sign and the swap of the quadrant, and one rounding to single
// precision; tiny arguments give x and 1. Arguments of 120 or more in size,
// infinities and NaNs go to the library itself.
//
// Lanes are used where the processor has AVX2 and FMA and where, at the
// first call, they agree with the library bit for bit on a set of probe
// arguments; elsewhere every argument goes to the library.
#pragma once

namespace qw {

// s[i] = sin(x[i]) and c[i] = cos(x[i]) for i = 0..n-1.
void SinCos(const float* x, float* s, float* c, int n);

// The kernel of the thin-wire integrals at n sample points, from the
// squared distances d3 and the squared radii a2 (0 for a thin wire):
// d = sqrt(d3 + a2), cosOverD = cos(k d) / d, sinOverD = sin(k d) / d,
// each rounded as the single operations would be.
void KernelTerms(const float* d3, const float* a2, float k, float* d, float* cosOverD, float* sinOverD, int n);

// The same from the distances d themselves (as KernelTerms leaves them).
void KernelTermsAt(const float* d, float k, float* cosOverD, float* sinOverD, int n);

// Whether the vector lanes are in use on this machine.
bool TrigLanesInUse();

}  // namespace qw
