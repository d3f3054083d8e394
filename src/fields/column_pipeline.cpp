#include "fields/column_pipeline.h"

#include <algorithm>
#include <climits>

namespace qw {

ColumnPipeline::ColumnPipeline(int columns, int workers, std::function<void(int, int)> compute)
    : columns_(columns), depth_(DepthFor(workers)), compute_(std::move(compute)),
      ready_(std::make_unique<std::atomic<int>[]>(static_cast<std::size_t>(depth_))) {
    for (int s = 0; s < depth_; ++s) ready_[s].store(-1);
    threads_.reserve(static_cast<std::size_t>(std::max(workers, 0)));
    for (int w = 0; w < workers; ++w) threads_.emplace_back([this] { Work(); });
}

ColumnPipeline::~ColumnPipeline() {
    quit_.store(true);
    released_.store(INT_MAX);  // wakes the workers waiting for a slot
    released_.notify_all();
    for (auto& t : threads_) t.join();
}

int ColumnPipeline::Take(int column) {
    const int slot = column % depth_;
    if (threads_.empty()) {
        compute_(column, slot);
        return slot;
    }
    for (int held = ready_[slot].load(); held != column; held = ready_[slot].load()) ready_[slot].wait(held);
    return slot;
}

void ColumnPipeline::Release(int column) {
    if (threads_.empty()) return;
    released_.store(column + 1);
    released_.notify_all();
}

void ColumnPipeline::Work() {
    while (!quit_.load()) {
        const int column = next_.fetch_add(1);
        if (column >= columns_) return;
        // The slot is free once the column `depth` before this one is released.
        for (int done = released_.load(); done <= column - depth_; done = released_.load()) released_.wait(done);
        if (quit_.load()) return;
        const int slot = column % depth_;
        compute_(column, slot);
        ready_[slot].store(column);
        ready_[slot].notify_all();
    }
}

int ColumnPipeline::WorkersFor(int columns, int directions, int pulses) {
    // A worker pays off from a few hundred thousand pulse terms in all
    // (some milliseconds of work); each takes whole columns.
    constexpr long kTermsPerWorker = 200000;
    const long terms = static_cast<long>(columns) * directions * std::max(pulses, 1);
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const long workers = std::min<long>({cores, 16, columns, terms / kTermsPerWorker});
    return workers >= 2 ? static_cast<int>(workers) : 0;
}

}  // namespace qw
