#include "commands/project_state.h"

#include "platform/host.h"

namespace qw {

void ShowReadProject(Context& ctx) {
    const Project& p = ctx.project;
    if (p.ProjectTextLines > 0)
        ctx.host->SetCommandCaption("CtlFree", p.Env.GroundPresent == kFreeSpace ? " Free Space " : " Ground Plane ");
    if (!p.ProjectText.empty()) {
        ctx.host->EnableCommand("CtlSources", true);
        ctx.host->EnableCommand("CtlLoads", true);
    }
    if (ctx.ProjectOpen) {
        ctx.host->EnableCommand("CtlOpt", true);
        ctx.host->EnableCommand("btnoptimiz", true);
    }
}

void ShowNewProject(Context& ctx) {
    ctx.host->EnableCommand("CtlSources", false);
    ctx.host->EnableCommand("CtlLoads", false);
}

}  // namespace qw
