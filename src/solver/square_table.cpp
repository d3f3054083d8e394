#include <cstdlib>
#include <cstring>
#include <new>

#include "solver/solver_state.h"

namespace qw {

namespace {
constexpr std::size_t kLineFloats = 16;  // one 64-byte cache line
}  // namespace

void SquareTable::Free::operator()(float* p) const { std::free(p); }

void SquareTable::Resize(int n) {
    if (n == n_) return;
    if (n < 0) {
        *this = SquareTable();
        return;
    }
    const std::size_t count = static_cast<std::size_t>(n) + 1;
    const std::size_t stride = (count + kLineFloats - 1) / kLineFloats * kLineFloats;
    const std::size_t bytes = count * stride * sizeof(float);
    void* p = std::aligned_alloc(64, bytes);
    if (!p) throw std::bad_alloc();
    std::memset(p, 0, bytes);
    store_.reset(static_cast<float*>(p));
    rows_.assign(count, nullptr);
    for (std::size_t i = 0; i < count; ++i) rows_[i] = store_.get() + i * stride;
    stride_ = stride;
    n_ = n;
}

SquareTable& SquareTable::operator=(const SquareTable& other) {
    if (this == &other) return *this;
    // A fresh table in row order, whatever order the rows of the other one
    // were exchanged into.
    *this = SquareTable();
    Resize(other.n_);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        std::memcpy(rows_[i], other.rows_[i], sizeof(float) * (static_cast<std::size_t>(n_) + 1));
    return *this;
}

}  // namespace qw
