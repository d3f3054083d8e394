#include "commands/resonance_command.h"

#include <algorithm>

#include "commands/checks.h"
#include "platform/host.h"
#include "sweeps/resonance.h"
#include "sweeps/sweep_point.h"

namespace qw {

bool CheckFrequencyRange(Context& ctx, const SweepRange& range) {
    if (range.Lower == 0 || range.Upper == 0 || range.Step == 0) {
        ctx.host->ShowMessage({"Zero Values not allowed", "Error", MessageIcon::Critical, MessageButtons::Ok, 1});
        return false;
    }
    // A negative value, or a step that cannot move the frequency in single
    // precision, would give a sweep that never ends.
    if (range.Lower < 0 || range.Upper < 0 || range.Step < 0) {
        ctx.host->ShowMessage({"Negative values not allowed", "Error", MessageIcon::Critical, MessageButtons::Ok, 1});
        return false;
    }
    const float upper = std::max(range.Lower, range.Upper), lower = std::min(range.Lower, range.Upper);
    const Result band = CheckSweepBand(lower, upper + range.Step, range.Step, true);
    if (band.completed()) return true;
    ShowFault(*ctx.host, band);
    return false;
}

void RunFrequencyRangeDialog(Context& ctx) {
    ProgramOptions& o = ctx.options;
    ctx.AbortFlag = false;
    while (true) {
        const auto range = ctx.host->RequestFrequencyRange({o.ResonanceLow, o.ResonanceHi, o.ResonanceStep});
        if (!range) {
            ctx.AbortFlag = true;
            return;
        }
        if (!CheckFrequencyRange(ctx, *range)) continue;
        float upper = std::max(range->Lower, range->Upper);
        float lower = std::min(range->Lower, range->Upper);
        float step = range->Step;
        // A step above the upper limit spans the band; a band of no width
        // keeps its step (a step of 0 would never end).
        if (step > upper && upper > lower) step = upper - lower;
        o.ResonanceHi = upper;
        o.ResonanceLow = lower;
        o.ResonanceStep = step;
        return;
    }
}

void ResonanceSearch(Context& ctx) {
    CheckProject(ctx);
    if (ctx.AbortFlag) return;
    RunFrequencyRangeDialog(ctx);
    if (ctx.AbortFlag) return;
    Conclude(ctx, ResonanceScan(ctx, ctx.options.ResonanceLow, ctx.options.ResonanceHi, ctx.options.ResonanceStep));
}

}  // namespace qw
