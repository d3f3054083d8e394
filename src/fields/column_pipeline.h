// The columns of a field grid computed ahead by worker threads while the
// calling thread writes the finished ones in order.
//
// Columns 0..count-1 are computed into a ring of `depth` slots: a worker
// takes the next column, waits until its slot is free, computes it and
// marks it ready; the caller takes the columns in order, writes them and
// releases their slots. The threads and the slots exist for one table, so
// nothing is started or allocated per column. Without workers the caller
// computes each column itself when it takes it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace qw {

class ColumnPipeline {
public:
    // compute(column, slot) fills the slot with the column's results.
    ColumnPipeline(int columns, int workers, std::function<void(int column, int slot)> compute);
    // Stops the workers (a column being computed is finished) and joins them.
    ~ColumnPipeline();
    ColumnPipeline(const ColumnPipeline&) = delete;
    ColumnPipeline& operator=(const ColumnPipeline&) = delete;

    // The number of slots the results need room for, with this many
    // workers; the room must exist before the pipeline starts.
    static int DepthFor(int workers) { return workers > 0 ? 2 * workers : 1; }

    // Waits until `column` (taken in order from 0) is computed and returns
    // its slot.
    int Take(int column);
    // The caller is done with the slot of `column`.
    void Release(int column);

    // How many workers are worth it for columns of `directions` directions
    // over `pulses` pulses, and `columns` columns, on this machine (0 for
    // small tables).
    static int WorkersFor(int columns, int directions, int pulses);

private:
    void Work();

    int columns_;
    int depth_;
    std::function<void(int, int)> compute_;
    std::atomic<int> next_{0};      // the next column a worker takes
    std::atomic<int> released_{0};  // columns the caller is done with
    std::atomic<bool> quit_{false};
    std::unique_ptr<std::atomic<int>[]> ready_;  // per slot: the column it holds when computed, else -1
    std::vector<std::thread> threads_;
};

}  // namespace qw
