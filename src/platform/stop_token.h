// A request to stop the running computation. Any thread may make it (the
// Stop button on the window's thread, Ctrl+C in a signal handler); the
// computation polls it between its steps and returns "stopped". A stop is
// not a failure: the caller decides what a stopped computation leaves.
#pragma once

#include <atomic>

namespace qw {

class StopToken {
public:
    void Request() { requested_.store(true, std::memory_order_relaxed); }
    bool Requested() const { return requested_.load(std::memory_order_relaxed); }
    // A new computation starts without the last one's request.
    void Reset() { requested_.store(false, std::memory_order_relaxed); }

private:
    std::atomic<bool> requested_{false};
};
static_assert(std::atomic<bool>::is_always_lock_free, "the console's signal handler sets the token");

}  // namespace qw
