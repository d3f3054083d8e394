#include "commands/checks.h"

#include "commands/project_state.h"

#include "commands/project_dialogs.h"
#include "model/project_reader.h"

namespace qw {

namespace {
void Run(Context& ctx, const std::function<void(Context&)>& step) {
    if (step) step(ctx);
}
// A step that can fail: its fault is shown and AbortFlag set.
void Run(Context& ctx, const std::function<Result(Context&)>& step) {
    if (step) Conclude(ctx, step(ctx));
}
}  // namespace

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
    Run(ctx, ctx.hooks.SetFrequencyConstants);
    Run(ctx, ctx.hooks.PrepareLoads);
}

void RebuildPulses(Context& ctx) {
    Run(ctx, ctx.hooks.BuildPulseTable);
    if (ctx.AbortFlag) return;
    Run(ctx, ctx.hooks.PrepareSources);
    Run(ctx, ctx.hooks.PrepareLoads);
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
    if (ctx.ProjectOpen && p.PulseCount > kMaxPulses) {
        ctx.host->Notify("Too Many Pulses. Limit is " + std::to_string(kMaxPulses));
        ctx.AbortFlag = true;
        return;
    }
    if (ctx.ProjectOpen && p.WireCount == 0) {
        ctx.host->Notify("No wires defined");
        ctx.AbortFlag = true;
        return;
    }
    if (p.Height == 0 && p.Env.GroundPresent == kOverGround && !ctx.options.HeightWarningOff && ctx.ProjectOpen) {
        if (ZeroHeightWarning(ctx) != MessageAnswer::Yes) {
            ctx.AbortFlag = true;
            return;
        }
        ctx.options.HeightWarningOff = true;
    }
    ctx.AbortFlag = false;
    if (p.WireCount > 0 && ctx.hooks.PulsesCurrent && !ctx.hooks.PulsesCurrent(ctx)) {
        RebuildPulses(ctx);
        if (ctx.AbortFlag) return;  // the pulses stay stale and are built again next time
    }
    if (!p.GeometryDefined) {
        LoadProject(ctx);
        ShowReadProject(ctx);
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
