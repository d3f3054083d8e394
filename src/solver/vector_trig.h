// Sines and cosines of many single-precision arguments at once, in vector
// lanes (AVX2 where the processor has it, else SSE2).
//
// Each lane reduces its argument by pi/2 in double precision and evaluates
// the Taylor polynomials of sine and cosine on [-pi/4, pi/4] to about
// 1e-15, so the results are the correctly rounded single-precision values
// (wrong only when the exact value lies within about 1e-15 of a rounding
// boundary). The C library's sinf and cosf are within 0.56 units in the
// last place and round about one argument in a hundred the other way; there
// the two differ by one unit. Arguments beyond 1e5 in size, and infinities
// and NaNs, go to the C library. The value of a lane depends on its
// argument alone, never on its neighbours.
#pragma once

namespace qw {

// s[i] = sin(x[i]) and c[i] = cos(x[i]) for i = 0..n-1.
void SinCos(const float* x, float* s, float* c, int n);

}  // namespace qw
