#include "sweeps/frequency_sweep.h"

#include <cmath>
#include <utility>

#include "model/format_mask.h"
#include "platform/host.h"
#include "solver/source_report.h"
#include "sweeps/gain_front_back.h"

namespace qw {

namespace {

// The SWR and gain plots: limits in order and above their floors.
void CleanBand(SweepRange& r) {
    if (r.Upper < r.Lower) std::swap(r.Upper, r.Lower);
    if (r.Upper < 0.1f) r.Upper = 0.1f;
    if (r.Lower < 0.01f) r.Lower = 0.01f;
}

void RepairLimits(ImpedanceLimits& l) {
    if (l.RMax == 0) l.RMax = 10;
    if (l.RMin < 0) l.RMin = 0;
    if (l.XMax == 0) l.XMax = 10;
    if (l.RMin == l.RMax) l.RMax += 10;
    if (l.XMin == l.XMax) l.XMax += 10;
}

std::string Fixed(float v) { return Format(v, "Fixed"); }

// Fills the kind-specific values of a solved point.
void Describe(Context& ctx, const SweepSettings& set, SweepSample& s) {
    const float F = s.frequency;
    const std::string f = "F = " + Format(F, "#0.000");
    switch (set.kind) {
    case SweepKind::Swr:
        s.swr = SwrOf(s.z.R, s.z.X, ctx.project.CoaxImpedance);
        s.drawn = s.swr > 0 && s.swr <= set.swrLimit;
        s.readout = f + " SWR = " + Fixed(s.swr);
        break;
    case SweepKind::Gain:
    case SweepKind::FrontToBack: {
        const auto gain = GainAndFrontToBack(ctx, 360 - set.direction.Azimuth, set.direction.Elevation, s.frontToBack);
        s.hasGain = gain.has_value();
        s.gain = gain.value_or(0.0f);
        if (!s.hasGain) s.note = NoPowerMessage();
        s.drawn = true;
        if (set.kind == SweepKind::Gain)
            s.readout = f + " Gain = " + Fixed(s.gain);
        else
            s.readout = f + " F/B = " + Fixed(s.frontToBack);
        break;
    }
    case SweepKind::Impedance: {
        const float R = s.z.R, X = s.z.X;
        s.readout = f + " Z = " + Fixed(R) + " +j " + Fixed(X);
        const ImpedanceLimits& l = set.limits;
        s.drawn = static_cast<float>(l.RMin) < R && R < static_cast<float>(l.RMax) &&
                  static_cast<float>(l.XMin) < X && X < static_cast<float>(l.XMax);
        if (!s.drawn) break;
        if (std::fabs(X) >= 10) {
            s.label = Fixed(F);
        } else {
            ctx.host->AppendMainText(" Resonance at " + Fixed(F) + " Mhz, Z = " + Fixed(R) + " +j " + Fixed(X));
            s.label = " Resonance @ F = " + Fixed(F) + " Mhz";
        }
        break;
    }
    }
}

}  // namespace

Result RunFrequencySweep(Context& ctx, SweepSettings& set, const SweepCallback& onPoint) {
    SweepRange& r = set.range;
    float bound;
    switch (set.kind) {
    case SweepKind::Swr:
        CleanBand(r);
        if (set.swrLimit <= 1) set.swrLimit = 5;
        bound = r.Upper + r.Step;
        break;
    case SweepKind::Gain:
    case SweepKind::FrontToBack:
        CleanBand(r);
        bound = r.Upper;
        break;
    default:
        RepairLimits(set.limits);
        bound = r.Upper + r.Step;
        break;
    }
    if (ctx.project.SourceCount == 0) return Result::Failed(FaultMessage("No Sources defined"));
    if (Result band = CheckSweepBand(r.Lower, bound, r.Step, set.kind == SweepKind::Impedance); !band.completed())
        return band;

    const float saved = ctx.project.Frequency;
    ctx.host->SetBusy(true);
    float frontToBack = 0;
    Result result;
    for (float F = r.Lower; WithinBound(F, bound, r.Step); F = F + r.Step) {
        SweepSample s;
        s.frequency = F;
        s.frontToBack = frontToBack;
        if (result = EvaluatePoint(ctx, F, s.z); !result.completed()) break;
        Describe(ctx, set, s);
        frontToBack = s.frontToBack;
        onPoint(s);
        const float span = bound - r.Lower;
        ShowProgress(ctx, span > 0 ? std::min(1.0, static_cast<double>(F - r.Lower) / span) : 1.0);
        if (StopRequested(ctx)) {
            result = Result::Stopped();
            break;
        }
    }
    ctx.host->SetBusy(false);
    RestoreFrequency(ctx, saved);
    return result;
}

}  // namespace qw
