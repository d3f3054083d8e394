#include "commands/project_loading.h"

#include "model/model_quality.h"
#include "model/project_reader.h"
#include "platform/host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw {

void OpenProjectFile(Context& ctx) {
    LoadProject(ctx);
    if (!ctx.AbortFlag) {
        ctx.host->AppendMainText(ModelQualitySummary(ctx.project));
        PrepareReadProject(ctx, true);
    }
    ShowReadProject(ctx);
}

void PrepareReadProject(Context& ctx, bool withLoads) {
    Project& p = ctx.project;
    if (!ctx.solver) InstallSolver(ctx);
    if (p.Frequency > 0) SetFrequencyConstants(ctx);
    if (!Conclude(ctx, BuildPulseTable(ctx))) return;
    if (ctx.HeightCardRead) {
        ctx.HeightCardRead = false;
        ctx.Changed(Change::Geometry);
    }
    if (p.SourcesDefined)
        PrepareSources(ctx);
    else
        ctx.host->Notify("No Sources defined");
    if (withLoads && p.LoadsDefined) Conclude(ctx, PrepareLoads(ctx));
}

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
