// A copy of the solver's matrix, and the difference of two such copies.
#pragma once

#include <algorithm>
#include <complex>
#include <vector>

#include "solver/solver_state.h"

namespace qw::test {

// ZR + jZI over rows and columns 1..N, 1-based, and the pivots when asked.
struct FilledMatrix {
    int n = 0;
    std::vector<std::complex<float>> z;
    std::vector<int> pivots;

    explicit FilledMatrix(const SolverState& s, bool withPivots = false) : n(s.pulses.N) {
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) z.push_back({s.ZR[i][j], s.ZI[i][j]});
        for (int k = 1; withPivots && k < n; ++k) pivots.push_back(s.Pivot[k]);
    }
    std::complex<float> operator()(int i, int j) const { return z[(i - 1) * n + (j - 1)]; }
    float RowMax(int i) const {
        float m = 0;
        for (int j = 1; j <= n; ++j) m = std::max(m, std::abs((*this)(i, j)));
        return m;
    }
    bool operator==(const FilledMatrix&) const = default;
};

// Largest difference in each row, relative to the row's largest element of
// the reference.
inline double WorstRowDifference(const FilledMatrix& a, const FilledMatrix& ref) {
    double worst = 0;
    for (int i = 1; i <= ref.n; ++i) {
        const double rowMax = ref.RowMax(i);
        for (int j = 1; j <= ref.n; ++j) worst = std::max(worst, double(std::abs(a(i, j) - ref(i, j))) / rowMax);
    }
    return worst;
}

}  // namespace qw::test
