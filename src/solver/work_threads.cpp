#include "solver/work_threads.h"

#include <algorithm>
#include <thread>

namespace qw {

int WorkThreads(const SolverState& s) {
    if (s.referenceKernels) return 1;
    if (s.threads > 0) return std::min(s.threads, 16);
    if (s.pulses.N < 48) return 1;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
}

}  // namespace qw
