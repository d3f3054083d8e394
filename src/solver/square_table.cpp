#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "solver/solver_state.h"

namespace qw {

namespace {
constexpr std::size_t kLineFloats = 16;  // one 64-byte cache line
}  // namespace

void SquareTable::Free::operator()(float* p) const {
    // The block as calloc gave it lies `offset` bytes before the aligned rows.
    if (p) std::free(reinterpret_cast<char*>(p) - offset);
}

bool SquareTable::Resize(int n) {
    if (n == n_) return false;
    if (n < 0) {
        *this = SquareTable();
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(n) + 1;
    const std::size_t stride = (count + kLineFloats - 1) / kLineFloats * kLineFloats;
    const std::size_t bytes = count * stride * sizeof(float);
    // calloc, not aligned_alloc and memset: a large block comes straight
    // from the system as pages of zeros, so nothing is written twice and
    // each page is first touched by the thread that fills its rows.
    constexpr std::size_t kAlign = 64;
    void* block = std::calloc(bytes + kAlign, 1);
    if (!block) throw std::bad_alloc();
    const std::size_t offset = kAlign - reinterpret_cast<std::uintptr_t>(block) % kAlign;
    store_ = std::unique_ptr<float[], Free>(reinterpret_cast<float*>(static_cast<char*>(block) + offset), Free{offset});
    rows_.assign(count, nullptr);
    for (std::size_t i = 0; i < count; ++i) rows_[i] = store_.get() + i * stride;
    stride_ = stride;
    n_ = n;
    return true;
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
