#include "solver/excitation.h"

#include <cmath>
#include <string>

#include "platform/host.h"
#include "platform/numeric_constants.h"
#include "solver/solver.h"

namespace qw {

namespace {

// Replaces a parallel R and jX by the series impedance of the same value.
void ParallelToSeries(float& R, float& X) {
    if (R == 0 || X == 0) return;
    const float d = R * R + X * X;
    const float r = R * (X * X) / d;
    X = (R * R) * X / d;
    R = r;
}

Result LoadError(int l, const std::string& why) {
    return Result::Failed(FaultMessage("Load # " + std::to_string(l) + " " + why + ".\r\nNothing was computed.",
                                       "Load Error", MessageIcon::Critical));
}

}  // namespace

void PrepareSources(Context& ctx) {
    SolverState& st = Solver(ctx);
    Project& p = ctx.project;
    int s = 1;
    while (s <= p.SourceCount) {
        Source& src = p.Sources[s];
        if (src.Pulse > st.pulses.N) {
            src = p.Sources[p.SourceCount];
            --p.SourceCount;
            continue;
        }
        const float phase = src.Phase * kPi / 180.0f;
        st.E[s] = static_cast<float>(src.Pulse);
        st.VR[s] = src.Magnitude * std::cos(phase);
        st.VI[s] = src.Magnitude * std::sin(phase);
        ++s;
    }
    st.built.sources = ctx.revisions.sources;
    if (st.MatrixState == 2) st.MatrixState = 1;
}

Result PrepareLoads(Context& ctx) {
    SolverState& st = Solver(ctx);
    Project& p = ctx.project;
    const float omega = 2.0f * kPi * p.Frequency;  // 10^6 rad/s
    st.MatrixState = 0;
    st.built.loads = BuiltRevisions::kNever;
    for (int l = 1; l <= p.LoadCount; ++l) {
        const Load& load = p.Loads[l];
        st.LoadPulse[l] = load.Pulse;
        float R = load.Resistance;
        float X = 0;
        const float C = load.Capacitance;
        switch (load.Kind) {
        case kSeriesRX:
            X = load.Reactance;
            break;
        case kParallelRX:
            X = load.Reactance;
            ParallelToSeries(R, X);
            break;
        case kSeriesRLC:
            X = omega * load.Reactance;
            if (C != 0) X = X - 1e6f / (C * omega);
            break;
        case kParallelRLC: {
            const float XL = omega * load.Reactance;
            if (XL == 0) {
                if (C == 0) return LoadError(l, "is a parallel R-L-C load without inductance and capacitance");
                X = -1e6f / (C * omega);
            } else if (C != 0) {
                const float d = 1.0f - C * XL * omega / 1e6f;
                if (d == 0) {
                    // L and C resonate: their admittances cancel and only
                    // the resistance is left.
                    if (R == 0) return LoadError(l, "is an open circuit at this frequency (L and C resonate)");
                    X = 0;
                } else {
                    X = XL / d;
                }
            } else {
                X = XL;
            }
            if (R != 0) ParallelToSeries(R, X);
            break;
        }
        default:
            X = load.Reactance;
            break;
        }
        if (!std::isfinite(R) || !std::isfinite(X))
            return LoadError(l, "has an impedance too large to compute at this frequency");
        st.Rl[l] = R;
        st.Xl[l] = X;
    }
    st.built.loads = ctx.revisions.loads;
    return {};
}

void PrepareCurrentSources(Context& ctx) {
    if (!Solver(ctx).CurrentSourcePresent) return;
    PrepareSources(ctx);
    Solver(ctx).MatrixState = 0;
}

}  // namespace qw
