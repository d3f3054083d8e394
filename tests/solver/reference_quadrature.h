// Double-precision quadrature for reference values in the solver tests,
// independent of the solver's own single-precision table.
#pragma once

#include <complex>
#include <functional>
#include <vector>

namespace qw::test {

struct QuadratureRule {
    std::vector<double> x;  // nodes on [0, 1]
    std::vector<double> w;  // weights, summing to 1
};

// The n-point Gauss-Legendre rule on [0, 1], nodes found by Newton's method
// on the Legendre polynomial.
QuadratureRule GaussLegendre(int n);

using ComplexFunction = std::function<std::complex<double>(double)>;

// Integral of f over [a, b] by the rule applied on each of `panels` equal
// panels.
std::complex<double> Integrate(const ComplexFunction& f, double a, double b, const QuadratureRule& rule,
                               int panels = 1);

// Integral of f over [0, h] for f with an integrable singularity at 0: the
// panels halve towards 0 ([h/2, h], [h/4, h/2], ...), down to h 2^-levels.
std::complex<double> IntegrateFromSingularity(const ComplexFunction& f, double h, int levels = 60);

}  // namespace qw::test
