#include "commands/checks.h"

#include "commands/project_dialogs.h"
#include "commands/project_loading.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw {

void CheckFrequency(Context& ctx) {
    if (ctx.project.Frequency <= 0.1f) {
        ctx.host->ShowMessage({"\r\nFrequency is Zero or too low", "Frequency Value too small", MessageIcon::Critical,
                               MessageButtons::Ok, 1});
        ctx.AbortFlag = true;
    }
}

void AskFrequency(Context& ctx) {
    RunFrequencyDialog(ctx);
    if (ctx.AbortFlag) return;
    SetFrequencyConstants(ctx);
    Conclude(ctx, PrepareLoads(ctx));
}

void RebuildPulses(Context& ctx) {
    if (!Conclude(ctx, BuildPulseTable(ctx))) return;
    PrepareSources(ctx);
    Conclude(ctx, PrepareLoads(ctx));
}

MessageAnswer ZeroHeightWarning(Context& ctx) {
    Message m;
    m.text =
        "Unless your antenna is a Ground plane\r\nZero Height could mean that some elements\r\n"
        "of your antenna are grounded and cause\r\noverflows in Impedance calculation.\r\nDo you want to continue ?";
    m.title = "Warning";
    m.icon = MessageIcon::Critical;
    m.buttons = MessageButtons::YesNo;
    m.defaultButton = 2;
    return ctx.host->ShowMessage(m);
}

void CheckProject(Context& ctx) {
    Project& p = ctx.project;
    const int maxPulses = ctx.Limits().pulses;
    if (ctx.ProjectOpen && p.PulseCount > maxPulses) {
        ctx.host->Notify("Too Many Pulses. Limit is " + std::to_string(maxPulses));
        ctx.AbortFlag = true;
        return;
    }
    if (ctx.ProjectOpen && p.WireCount == 0) {
        ctx.host->Notify("No wires defined");
        ctx.AbortFlag = true;
        return;
    }
    if (ctx.ProjectOpen && p.Env.GroundPresent == kOverGround) {
        // A wire below the ground, or lying on it, cannot be computed over
        // it: the images would cross the wires themselves.
        for (int w = 1; w <= p.WireCount; ++w) {
            const Wire& wire = p.Wires[w];
            const float z1 = wire.Z1 + p.Height, z2 = wire.Z2 + p.Height;
            std::string fault;
            if (z1 < 0 || z2 < 0) fault = " is below ground";
            else if (z1 == 0 && z2 == 0) fault = " is on the ground";
            if (fault.empty()) continue;
            ctx.host->ShowMessage({"Wire # " + std::to_string(w) + fault, "Check your geometry",
                                   MessageIcon::Critical, MessageButtons::Ok, 1});
            ctx.AbortFlag = true;
            return;
        }
    }
    if (p.Height == 0 && p.Env.GroundPresent == kOverGround && !ctx.options.HeightWarningOff && ctx.ProjectOpen) {
        if (ZeroHeightWarning(ctx) != MessageAnswer::Yes) {
            ctx.AbortFlag = true;
            return;
        }
        ctx.options.HeightWarningOff = true;
    }
    ctx.AbortFlag = false;
    if (p.WireCount > 0 && !PulsesCurrent(ctx)) {
        RebuildPulses(ctx);
        if (ctx.AbortFlag) return;  // the pulses stay stale and are built again next time
    }
    if (!p.GeometryDefined) {
        OpenProjectFile(ctx);
        if (ctx.AbortFlag) return;
    }
    if (!p.FrequencyDefined) {
        AskFrequency(ctx);
        if (ctx.AbortFlag) return;
    }
    if (p.GeometryDefined && p.FrequencyDefined) {
        CheckFrequency(ctx);
        if (ctx.AbortFlag) return;
    }
    if (p.Env.GroundPresent == kOverGround && !p.GroundDefined) {
        RunGroundDialog(ctx);
        if (ctx.AbortFlag) return;
    }
    if (!p.SourcesDefined) ctx.host->Notify("No Sources defined");
}

}  // namespace qw
