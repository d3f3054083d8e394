#include "sweeps/resonance.h"

#include <cmath>
#include <utility>

#include "model/format_mask.h"
#include "platform/host.h"
#include "solver/source_report.h"
#include "sweeps/sweep_point.h"

namespace qw {

Result ResonanceScan(Context& ctx, float lower, float upper, float step,
                     const std::function<void(const ResonancePoint&)>& onPoint) {
    Project& p = ctx.project;
    if (p.SourceCount == 0) return Result::Failed(FaultMessage("No Sources defined"));
    if (Result band = CheckSweepBand(lower, upper, step, true); !band.completed()) return band;
    const float saved = p.Frequency;
    ctx.BatchMode = true;
    ctx.host->SetBusy(true);
    auto finish = [&ctx, saved] {
        ctx.host->SetBusy(false);
        ctx.BatchMode = false;
        RestoreFrequency(ctx, saved);
        ctx.host->AppendMainText("");
    };
    for (float F = lower; WithinBound(F, upper, step); F = F + step) {
        PointImpedance z;
        Result solved = EvaluatePoint(ctx, F, z);
        ShowProgress(ctx, upper > lower ? std::min(1.0, static_cast<double>(F - lower) / (upper - lower)) : 1.0);
        if (solved.completed() && StopRequested(ctx)) solved = Result::Stopped();
        if (!solved.completed()) {
            finish();  // the frequency restored: the matrix is filled again next time
            return solved;
        }
        ResonancePoint r;
        r.frequency = F;
        r.R = z.R;
        r.X = z.X;
        r.swr = SwrOf(z.R, z.X, p.CoaxImpedance);
        r.line = "At " + Format(F, "###0.000") + " Mhz   Z = " + ComplexText(z.R, z.X) + " SWR =  " + SwrText(r.swr);
        r.resonance = std::fabs(z.X) < 10 && z.R != 0;
        if (r.resonance) r.line += "  Resonance";
        ctx.host->AppendMainText(r.line);
        if (ctx.log.IsOn()) ctx.log.Write(r.line);
        if (onPoint) onPoint(r);
    }
    finish();
    return {};
}

}  // namespace qw
