// Helper threads that share the rows of a loop with the calling thread.
//
// The rows are handed out in runs from one counter: whoever is free takes
// the next run, so a helper that is slow to wake (the machine busy with
// other work) leaves its share to the others, and the caller waits only
// for runs already begun. Between loops the helpers spin briefly, then
// yield the processor. Which thread takes a row never changes what is
// computed for it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "solver/solver_state.h"

namespace qw {

class RowTeam {
public:
    explicit RowTeam(int helpers);
    ~RowTeam();
    RowTeam(const RowTeam&) = delete;
    RowTeam& operator=(const RowTeam&) = delete;

    // Threads of the team: the caller (worker 0) and its helpers (1..).
    int Workers() const { return static_cast<int>(threads_.size()) + 1; }

    // Lets the helpers go (the destructor then only waits for them): for a
    // caller that has more work of its own before the team is destroyed.
    // Run is not called after it.
    void Release() { quit_.store(true, std::memory_order_release); }

    using Body = std::function<void(int worker, int first, int last)>;
    // body(worker, first, last) over runs of `run` rows that cover
    // first..last; returns when every run is done.
    void Run(int first, int last, int run, const Body& body);

private:
    void Serve(int worker);
    bool TakeRuns(std::uint32_t serial, int worker);

    std::vector<std::thread> threads_;
    // The loop in hand, written before its serial is published.
    int first_ = 0, last_ = 0, run_ = 1, runs_ = 0;
    const Body* body_ = nullptr;
    std::atomic<std::uint32_t> published_{0};  // serial of the loop in hand
    std::atomic<std::uint64_t> next_{0};       // the loop's serial, runs and next run
    std::atomic<int> done_{0};                 // runs finished of the loop in hand
    std::atomic<bool> quit_{false};
    std::uint32_t serial_ = 0;
};

// A team for the solver's threads (started when a computation begins, so
// that its helpers are awake by the time the rows are shared out), or none
// when the solver works on one thread.
std::unique_ptr<RowTeam> MakeRowTeam(const SolverState& s);

}  // namespace qw
