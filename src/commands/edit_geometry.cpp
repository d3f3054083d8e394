#include "commands/edit_geometry.h"

#include "commands/project_loading.h"
#include "model/project_reader.h"
#include "platform/host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw {

void EditGeometry(Context& ctx, const std::function<bool()>& edit) {
    ctx.AbortFlag = false;
    if (!edit()) {
        ctx.AbortFlag = true;
        return;
    }
    Project& p = ctx.project;
    if (p.WireCount == 0) return;
    if (!ctx.solver) InstallSolver(ctx);
    if (p.Frequency > 0) SetFrequencyConstants(ctx);
    if (!Conclude(ctx, BuildPulseTable(ctx))) return;
    if (p.SourcesDefined)
        PrepareSources(ctx);
    else
        ctx.host->Notify("No Sources defined");
    if (p.LoadsDefined) Conclude(ctx, PrepareLoads(ctx));
    ctx.solver->MatrixState = 0;
}

void GeometryCommand(Context& ctx, const std::function<bool()>& edit) {
    ctx.AbortFlag = false;
    if (!ctx.project.GeometryDefined) {
        LoadProject(ctx);
        ShowReadProject(ctx);
        if (ctx.AbortFlag) return;
    }
    EditGeometry(ctx, edit);
}

}  // namespace qw
