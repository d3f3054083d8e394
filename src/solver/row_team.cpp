#include "solver/row_team.h"

#include <immintrin.h>
#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

#include <algorithm>

#include "solver/work_threads.h"

namespace qw {
namespace {

void Pause(int spins) {
    if (spins < 2048)
        _mm_pause();
    else
        std::this_thread::yield();
}

}  // namespace

namespace {

#if defined(__linux__)
// A new thread tends to be queued on its creator's processor and to wait
// there, while the creator computes, until the scheduler moves it, which
// can take milliseconds: the helpers of a team keep to the processors
// other than the one it was created on, when the process may use others.
void KeepApart(std::thread& t) {
    cpu_set_t others;
    if (sched_getaffinity(0, sizeof others, &others) != 0) return;
    const int here = sched_getcpu();
    if (here < 0 || here >= CPU_SETSIZE) return;
    CPU_CLR(here, &others);
    if (CPU_COUNT(&others) > 0) pthread_setaffinity_np(t.native_handle(), sizeof others, &others);
}
#else
void KeepApart(std::thread&) {}
#endif

}  // namespace

RowTeam::RowTeam(int helpers) {
    for (int h = 1; h <= helpers; ++h) {
        threads_.emplace_back([this, h] { Serve(h); });
        KeepApart(threads_.back());
    }
}

RowTeam::~RowTeam() {
    quit_.store(true, std::memory_order_release);
    for (std::thread& t : threads_) t.join();
}

// The counter word: the loop's serial (16 bits), its number of runs (16
// bits) and the next run (32 bits). A run is claimed by moving the word on;
// only then are the loop's other values read, and they stay as they are
// until that run is done.
constexpr std::uint64_t Word(std::uint32_t serial, int runs, int index) {
    return (static_cast<std::uint64_t>(serial & 0xffffu) << 48) | (static_cast<std::uint64_t>(runs) << 32) |
           static_cast<std::uint32_t>(index);
}

// Takes runs of loop `serial` until none is left or another loop has begun.
bool RowTeam::TakeRuns(std::uint32_t serial, int worker) {
    bool took = false;
    std::uint64_t v = next_.load(std::memory_order_acquire);
    for (;;) {
        if (static_cast<std::uint32_t>(v >> 48) != (serial & 0xffffu)) return took;
        const int runs = static_cast<int>((v >> 32) & 0xffffu);
        const int index = static_cast<int>(v & 0xffffffffu);
        if (index >= runs) return took;
        if (!next_.compare_exchange_weak(v, v + 1, std::memory_order_acq_rel)) continue;
        const int first = first_ + index * run_;
        (*body_)(worker, first, std::min(last_, first + run_ - 1));
        done_.fetch_add(1, std::memory_order_release);
        took = true;
        v = next_.load(std::memory_order_acquire);
    }
}

void RowTeam::Serve(int worker) {
    std::uint32_t seen = 0;
    for (int spins = 0; !quit_.load(std::memory_order_acquire); ++spins) {
        const std::uint32_t serial = published_.load(std::memory_order_acquire);
        if (serial == seen) {
            Pause(spins);
            continue;
        }
        seen = serial;
        TakeRuns(serial, worker);
        spins = 0;
    }
}

void RowTeam::Run(int first, int last, int run, const Body& body) {
    if (last < first) return;
    const std::uint32_t serial = ++serial_;
    first_ = first;
    last_ = last;
    const int count = last - first + 1;
    runs_ = std::min((count + run - 1) / run, 0xffff);  // the word holds up to 0xffff runs
    run_ = (count + runs_ - 1) / runs_;
    body_ = &body;
    done_.store(0, std::memory_order_relaxed);
    next_.store(Word(serial, runs_, 0), std::memory_order_release);
    published_.store(serial, std::memory_order_release);
    TakeRuns(serial, 0);
    for (int spins = 0; done_.load(std::memory_order_acquire) < runs_; ++spins) Pause(spins);
}

std::unique_ptr<RowTeam> MakeRowTeam(const SolverState& s) {
    const int threads = WorkThreads(s);
    if (threads <= 1) return nullptr;
    return std::make_unique<RowTeam>(threads - 1);
}

}  // namespace qw
