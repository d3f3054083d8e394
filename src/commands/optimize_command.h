// The optimizer as the window and the command line run it: where its
// working project and its log go, and one run with the checks before
// computing.
#pragma once

#include <string>

#include "model/context.h"
#include "sweeps/optimizer.h"

namespace qw {

inline constexpr const char* kOptimizerProjectName = "workopt.qlk";
inline constexpr const char* kOptimizerLogName = "QUILLWORK.OPT";

// The folder of the optimizer's files: the project's folder when it can be
// written, else `fallback` (the user's documents folder).
std::string OptimizerFolder(const Project& project, const std::string& fallback);

// The target a project allows first: gain for more than one source (the
// resonance and SWR targets need a single feed point).
int FirstAllowedTarget(const Project& project);
bool TargetAllowed(const Project& project, int target);

// One run: the checks before computing (a failure shows its message and
// ends the run), then the optimizer. The working project's name is
// workopt.qlk in `folder`.
Result RunOptimizer(Context& ctx, Optimizer& optimizer, OptimizerRequest request, const std::string& folder,
                    const OptimizerSink& sink, OptimizerOutcome* outcome = nullptr);

}  // namespace qw
