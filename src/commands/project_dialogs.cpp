#include "commands/project_dialogs.h"

#include "commands/checks.h"

namespace qw {

void RunFrequencyDialog(Context& ctx) {
    Project& p = ctx.project;
    const float before = p.Frequency;
    while (true) {
        const auto typed = ctx.host->RequestFrequency(p.Frequency);
        if (!typed) {
            p.Frequency = before;
            ctx.AbortFlag = true;
            return;
        }
        p.Frequency = *typed;
        ctx.AbortFlag = false;
        CheckFrequency(ctx);
        if (!ctx.AbortFlag) break;
    }
    p.FrequencyDefined = true;
    p.Modified = true;
    ctx.Changed(Change::Frequency);
}

GroundInput GroundInputOf(const Environment& env) {
    GroundInput g;
    g.perfect = env.GroundKind == kPerfectGround;
    g.dielectric = env.Dielectric();
    g.conductivityMs = static_cast<float>(static_cast<double>(env.Conductivity()) * 1000.0);
    g.boundary = env.Boundary;
    g.radialCount = env.RadialCount;
    g.radialLength = env.RadialLength;
    return g;
}

bool CheckGroundInput(Context& ctx, const GroundInput& input) {
    if (input.perfect) return true;
    const bool zero = input.dielectric == 0 || input.conductivityMs == 0 ||
                      (input.radialLength == 0 && input.radialCount != 0);
    const bool negative =
        input.dielectric < 0 || input.conductivityMs < 0 || input.radialCount < 0 || input.radialLength < 0;
    if (!zero && !negative) return true;
    ctx.project.GroundDefined = false;
    ctx.host->ShowMessage(
        {"Ground Parameters not initialized", "Bad Ground", MessageIcon::Critical, MessageButtons::Ok, 1});
    return false;
}

bool ApplyGround(Context& ctx, const GroundInput& input) {
    Project& p = ctx.project;
    Environment& env = p.Env;
    if (input.perfect) {
        if (env.GroundKind == kRealGround) {
            env.GroundKind = kPerfectGround;
            ctx.Changed(Change::Ground);
        }
        p.GroundDefined = true;
        return true;
    }
    if (!CheckGroundInput(ctx, input)) return false;
    const bool changed = input.changed || env.GroundKind != kRealGround;
    env.GroundKind = kRealGround;
    env.Boundary = input.radialCount != 0 ? kCircularBoundary : input.boundary;
    env.RadialCount = input.radialCount;
    env.RadialLength = input.radialLength;
    env.SetRealGround(input.dielectric, static_cast<float>(static_cast<double>(input.conductivityMs) * 0.001));
    p.GroundDefined = true;
    if (changed) {
        p.Modified = true;
        ctx.Changed(Change::Ground);
    }
    return true;
}

void RunGroundDialog(Context& ctx) {
    while (true) {
        const auto input = ctx.host->RequestGround(GroundInputOf(ctx.project.Env));
        if (!input) {
            ctx.AbortFlag = true;
            return;
        }
        if (ApplyGround(ctx, *input)) break;
    }
    ctx.AbortFlag = false;
}

}  // namespace qw
