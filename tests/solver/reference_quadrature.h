// Double-precision quadrature for reference values in the solver tests,
// independent of the solver's own single-precision table.
#pragma once

#include <complex>
#include <functional>
#include <vector>

namespace qw::test {

struct QuadratureRule {
    std::vector<double> x, w;  // nodes on [0, 1], weights summing to 1
};

// The n-point Gauss-Legendre rule on [0, 1].
QuadratureRule GaussLegendre(int n);

using ComplexFunction = std::function<std::complex<double>(double)>;

// Integral of f over [a, b] by the rule on each of `panels` equal panels.
std::complex<double> Integrate(const ComplexFunction& f, double a, double b, const QuadratureRule& rule,
                               int panels = 1);

// Integral of f over [0, h], f with an integrable singularity at 0: 16-point
// panels [h/2, h], [h/4, h/2], ... down to h 2^-60.
std::complex<double> IntegrateFromSingularity(const ComplexFunction& f, double h);

}  // namespace qw::test
