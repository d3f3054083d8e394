// Threads for one solution: how many, and a team that runs the steps of
// one computation on them.
#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "solver/solver_state.h"

namespace qw {

// One for the reference kernels, else the solver's setting, else every
// core (one below 48 pulses).
int WorkThreads(const SolverState& s);

// Helpers that wait for steps: Run calls part(0) on the calling thread and
// part(1) .. part(parts - 1) on the helpers, and returns when all are done.
// The helpers spin briefly between steps, then yield.
class StepTeam {
public:
    StepTeam(int parts, std::function<void(int)> part);
    ~StepTeam();
    StepTeam(const StepTeam&) = delete;
    StepTeam& operator=(const StepTeam&) = delete;

    int Parts() const { return parts_; }
    void Run();

private:
    void Help(int part);

    int parts_;
    std::function<void(int)> part_;
    std::atomic<int> step_{0};
    std::atomic<int> pending_{0};
    std::atomic<bool> quit_{false};
    std::vector<std::thread> helpers_;
};

}  // namespace qw
