#include "commands/optimize_command.h"

#include <unistd.h>

#include "commands/checks.h"
#include "model/file_locations.h"

namespace qw {

std::string OptimizerFolder(const Project& project, const std::string& fallback) {
    const std::string folder = FolderOf(project.FileName);
    const std::string probe = folder.empty() ? "." : folder;
    if (!project.FileName.empty() && access(probe.c_str(), W_OK) == 0) return folder;
    return fallback;
}

int FirstAllowedTarget(const Project& project) { return project.SourceCount > 1 ? kTargetGain : kTargetResonance; }

bool TargetAllowed(const Project& project, int target) {
    return target == kTargetGain || target == kTargetFrontToBack || project.SourceCount <= 1;
}

Result RunOptimizer(Context& ctx, Optimizer& optimizer, OptimizerRequest request, const std::string& folder,
                    const OptimizerSink& sink, OptimizerOutcome* outcome) {
    request.workFileName = PathInFolder(folder, kOptimizerProjectName);
    return optimizer.Run(
        ctx, request, sink,
        [](Context& c) {
            CheckProject(c);
            return !c.AbortFlag;
        },
        outcome);
}

}  // namespace qw
