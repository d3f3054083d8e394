#include "solver/work_threads.h"

#include <algorithm>

namespace qw {

namespace {

// Waits until done() holds: a short spin, then yielding the core.
template <typename Done>
void WaitUntil(Done done) {
    for (int n = 0; !done(); ++n)
        if (n > 200) std::this_thread::yield();
}

}  // namespace

int WorkThreads(const SolverState& s) {
    if (s.referenceKernels) return 1;
    if (s.threads > 0) return std::min(s.threads, 16);
    if (s.pulses.N < 48) return 1;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
}

StepTeam::StepTeam(int parts, std::function<void(int)> part) : parts_(std::max(1, parts)), part_(std::move(part)) {
    for (int p = 1; p < parts_; ++p) helpers_.emplace_back([this, p] { Help(p); });
}

StepTeam::~StepTeam() {
    quit_ = true;
    step_.fetch_add(1);
    for (std::thread& h : helpers_) h.join();
}

void StepTeam::Run() {
    pending_.store(parts_ - 1);
    step_.fetch_add(1);
    part_(0);
    WaitUntil([this] { return pending_.load() == 0; });
}

void StepTeam::Help(int part) {
    int seen = 0;
    for (;;) {
        WaitUntil([&] { return step_.load() != seen; });
        seen = step_.load();
        if (quit_.load()) return;
        part_(part);
        pending_.fetch_sub(1);
    }
}

}  // namespace qw
