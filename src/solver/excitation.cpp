#include "solver/excitation.h"

#include <cmath>
#include <string>

#include "platform/host.h"
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

bool LoadError(Context& ctx, int l, const std::string& why) {
    ctx.host->ShowMessage({"Load # " + std::to_string(l) + " " + why + ".\r\nNothing was computed.", "Load Error",
                           MessageIcon::Critical, MessageButtons::Ok, 1});
    ctx.AbortFlag = true;
    return false;
}

}  // namespace

void PrepareSources(Context& ctx) {
    SolverState& st = Solver(ctx);
    Project& p = ctx.project;
    const float pi = 4.0f * std::atan(1.0f);
    int s = 1;
    while (s <= p.SourceCount) {
        Source& src = p.Sources[s];
        if (src.Pulse > st.pulses.N) {
            src = p.Sources[p.SourceCount];
            --p.SourceCount;
            continue;
        }
        const float phase = src.Phase * pi / 180.0f;
        st.E[s] = static_cast<float>(src.Pulse);
        st.VR[s] = src.Magnitude * std::cos(phase);
        st.VI[s] = src.Magnitude * std::sin(phase);
        ++s;
    }
    if (p.MatrixState == 2) p.MatrixState = 1;
}

bool PrepareLoads(Context& ctx) {
    SolverState& st = Solver(ctx);
    Project& p = ctx.project;
    const float pi = 4.0f * std::atan(1.0f);
    const float omega = 2.0f * pi * p.Frequency;  // 10^6 rad/s
    p.MatrixState = 0;
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
                if (C == 0) return LoadError(ctx, l, "is a parallel R-L-C load without inductance and capacitance");
                X = -1e6f / (C * omega);
            } else if (C != 0) {
                const float d = 1.0f - C * XL * omega / 1e6f;
                if (d == 0) {
                    // L and C resonate: their admittances cancel and only
                    // the resistance is left.
                    if (R == 0) return LoadError(ctx, l, "is an open circuit at this frequency (L and C resonate)");
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
            return LoadError(ctx, l, "has an impedance too large to compute at this frequency");
        st.Rl[l] = R;
        st.Xl[l] = X;
    }
    return true;
}

}  // namespace qw
