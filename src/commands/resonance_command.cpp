#include "commands/resonance_command.h"

#include <algorithm>

#include "commands/checks.h"
#include "platform/host.h"
#include "sweeps/resonance.h"

namespace qw {

bool CheckFrequencyRange(Context& ctx, const SweepRange& range) {
    if (range.Lower != 0 && range.Upper != 0 && range.Step != 0) return true;
    ctx.host->ShowMessage({"Zero Values not allowed", "Error", MessageIcon::Critical, MessageButtons::Ok, 1});
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
        if (step > upper) step = upper - lower;
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
