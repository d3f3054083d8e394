#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

#include "solver/solver_state.h"

namespace qw {

namespace {
constexpr std::size_t kLineFloats = 16;  // one 64-byte cache line
constexpr std::size_t kMappedBytes = 64 * 1024;
}  // namespace

void SquareTable::Free::operator()(float* p) const {
    if (!p) return;
#if defined(MAP_POPULATE)
    if (mapped > 0) {
        munmap(p, mapped);
        return;
    }
#endif
    // The block as calloc gave it lies `offset` bytes before the aligned rows.
    std::free(reinterpret_cast<char*>(p) - offset);
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
    float* rows = nullptr;
    Free free;
#if defined(MAP_POPULATE)
    // A table of many pages is mapped with all its pages at once, zeros
    // already: one call instead of a fault at the first touch of each page
    // (page-aligned, so its rows start on cache lines).
    if (bytes >= kMappedBytes) {
        void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (block == MAP_FAILED) throw std::bad_alloc();
        rows = static_cast<float*>(block);
        free = Free(0, bytes);
    }
#endif
    if (!rows) {
        // calloc, not aligned_alloc and memset: nothing is written twice.
        constexpr std::size_t kAlign = 64;
        void* block = std::calloc(bytes + kAlign, 1);
        if (!block) throw std::bad_alloc();
        const std::size_t offset = kAlign - reinterpret_cast<std::uintptr_t>(block) % kAlign;
        rows = reinterpret_cast<float*>(static_cast<char*>(block) + offset);
        free = Free(offset, 0);
    }
    store_ = std::unique_ptr<float[], Free>(rows, free);
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
