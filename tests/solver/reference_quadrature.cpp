#include "reference_quadrature.h"

#include <cmath>
#include <numbers>

namespace qw::test {

// Nodes by Newton's method on the Legendre polynomial P_n (three-term
// recurrence); weights 2/((1-t^2)P_n'^2), halved for [0, 1].
QuadratureRule GaussLegendre(int n) {
    QuadratureRule rule;
    for (int i = 1; i <= n; ++i) {
        double t = std::cos(std::numbers::pi * (i - 0.25) / (n + 0.5)), dp = 0, step = 1;
        for (int iteration = 0; iteration < 100 && std::fabs(step) >= 1e-16; ++iteration) {
            double p0 = 1, p1 = t;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2.0 * k - 1) * t * p1 - (k - 1.0) * p0) / k;
                p0 = p1, p1 = p2;
            }
            dp = n * (t * p1 - p0) / (t * t - 1);
            step = p1 / dp;
            t -= step;
        }
        rule.x.push_back((1 - t) / 2);
        rule.w.push_back(1 / ((1 - t * t) * dp * dp));
    }
    return rule;
}

std::complex<double> Integrate(const ComplexFunction& f, double a, double b, const QuadratureRule& rule,
                               int panels) {
    std::complex<double> sum = 0;
    const double h = (b - a) / panels;
    for (int p = 0; p < panels; ++p)
        for (std::size_t i = 0; i < rule.x.size(); ++i) sum += rule.w[i] * f(a + h * (p + rule.x[i]));
    return sum * h;
}

std::complex<double> IntegrateFromSingularity(const ComplexFunction& f, double h) {
    const QuadratureRule rule = GaussLegendre(16);
    std::complex<double> sum = 0;
    for (int level = 0; level < 60; ++level, h /= 2) sum += Integrate(f, h / 2, h, rule);
    return sum;
}

}  // namespace qw::test
