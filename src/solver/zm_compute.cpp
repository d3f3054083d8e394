#include "solver/zm_compute.h"

#include <cmath>
#include <string>

#include "model/log_output.h"
#include "model/print_layout.h"
#include "platform/host.h"
#include "solver/factorisation.h"
#include "solver/matrix_fill.h"
#include "solver/row_team.h"
#include "solver/solver.h"
#include "solver/source_report.h"

namespace qw {

namespace {

// A run-time fault of the computation.
struct ComputeFault {
    std::string text;
};

void Debug(Context& ctx, const char* line) { ctx.debug.Write(line); }

// 1/M at an ordinary pulse, 2/M at a ground pulse.
float PulseScale(const SolverState& st, int pulse) {
    return (st.pulses.IsGroundPulse(pulse) ? 2.0f : 1.0f) / st.freq.M;
}

bool ValidPulse(const SolverState& st, long pulse) { return pulse >= 1 && pulse <= st.pulses.N; }

// Fills the matrix; false when stopped.
bool Fill(Context& ctx, RowTeam* team) {
    Debug(ctx, "Begin Matrix Fill");
    ctx.host->SetStatusText(1, "Building Impedance Matrix");
    ShowProgress(ctx, 0);
    ClearMatrix(Solver(ctx));
    Debug(ctx, "Kernel Init/Matrix Row Col building");
    if (!FillMatrix(ctx, true, team)) return false;
    Debug(ctx, "End Matrix Fill");
    Debug(ctx, "Start Addition of Loads");
    return true;
}

// Adds the loads, and a 10000-ohm load for every current source, to the
// diagonal. The appended loads live only in this call's count.
void AddLoads(Context& ctx) {
    SolverState& st = Solver(ctx);
    const Project& p = ctx.project;
    int count = p.LoadCount;
    for (int s = 1; s <= p.SourceCount; ++s) {
        if (p.Sources[s].Kind != kCurrentSource) continue;
        if (count >= kMaxLoads)
            throw ComputeFault{"Too many loads: the " + std::to_string(p.LoadCount) + " loads and the " +
                               "current sources together need more than " + std::to_string(kMaxLoads) +
                               " load entries"};
        ++count;
        st.LoadPulse[count] = static_cast<std::int32_t>(st.E[s]);
        st.Rl[count] = 10000;
        st.Xl[count] = 0;
    }
    for (int l = 1; l <= count; ++l) {
        const int J = st.LoadPulse[l];
        if (!ValidPulse(st, J)) continue;
        const float F = PulseScale(st, J);
        st.ZR[J][J] = st.ZR[J][J] + F * st.Xl[l];
        st.ZI[J][J] = st.ZI[J][J] - F * st.Rl[l];
    }
}

void SetRightHandSide(Context& ctx) {
    SolverState& st = Solver(ctx);
    const Project& p = ctx.project;
    for (int i = 1; i <= st.pulses.N; ++i) st.CR[i] = st.CI[i] = 0;
    st.CurrentSourcePresent = false;
    for (int s = 1; s <= p.SourceCount; ++s)
        if (p.Sources[s].Kind == kCurrentSource) st.CurrentSourcePresent = true;
    for (int s = 1; s <= p.SourceCount; ++s) {
        const int pulse = static_cast<int>(st.E[s]);
        if (!ValidPulse(st, pulse)) continue;
        const float F = PulseScale(st, pulse);
        if (p.Sources[s].Kind == kCurrentSource) {
            // The source drives its 10000-ohm load with 10000 times its current.
            st.VR[s] = st.VR[s] * 10000;
            st.VI[s] = st.VI[s] * 10000;
        }
        st.CR[pulse] = F * st.VI[s];
        st.CI[pulse] = -F * st.VR[s];
    }
}

// Impedance, current and power of every source; the report unless in a
// batch, the log then put on disk (logNote: it could not be). False when
// stopped.
bool Results(Context& ctx, std::optional<Message>& logNote) {
    SolverState& st = Solver(ctx);
    const Project& p = ctx.project;
    st.Pin = 0;
    for (int s = 1; s <= p.SourceCount; ++s) {
        const int pulse = static_cast<int>(st.E[s]);
        if (pulse == 0) continue;
        if (!ValidPulse(st, pulse)) throw ComputeFault{"Dimension Exceeded"};
        const float ir = st.CR[pulse], ii = st.CI[pulse];
        const float d = ir * ir + ii * ii;
        if (d == 0) throw ComputeFault{"Division by Zero"};
        float zr = (st.VR[s] * ir + st.VI[s] * ii) / d;
        const float zx = (st.VI[s] * ir - st.VR[s] * ii) / d;
        const bool currentSource = p.Sources[s].Kind == kCurrentSource;
        if (currentSource) zr = zr - 10000;
        const float vr = currentSource ? zr * ir - zx * ii : st.VR[s];
        const float vi = currentSource ? zr * ii + zx * ir : st.VI[s];
        const float ps = (vr * ir + vi * ii) / 2;
        for (const float v : {zr, zx, ir, ii, ps})
            if (!std::isfinite(v)) throw ComputeFault{"Overflow in calculations"};
        st.ZinR = zr, st.ZinX = zx;
        st.IinR = ir, st.IinI = ii;
        st.Ps = ps;
        st.SourceResults[s] = SourceResult{zr, zx, vr, vi, ir, ii, ps};
        st.Pin = st.Pin + ps;
        if (StopRequested(ctx)) {
            st.MatrixState = 0;
            return false;
        }
        if (!ctx.BatchMode) ReportSource(ctx, s);
    }
    if (p.SourceCount > 1 && ctx.log.IsOn()) ctx.log.Write(PrintLine().Text("TOTAL POWER = ").Num(st.Pin).Text("WATTS"));
    if (!ctx.BatchMode) logNote = FlushLog(ctx);
    return true;
}

// Fill (when needed), loads, factorisation and solution. False when stopped.
bool Solve(Context& ctx) {
    SolverState& st = Solver(ctx);
    // One team of threads for the fill and the factorisation, started first
    // so that its helpers are awake when the rows are shared out; it is let
    // go before the solution, and waited for after it.
    std::unique_ptr<RowTeam> team;
    if (st.MatrixState == 0) {
        if (!st.referenceKernels) team = MakeRowTeam(st);
        if (!Fill(ctx, team.get())) return false;
        AddLoads(ctx);
        Debug(ctx, "Matrix Factorize");
        if (!FactoriseMatrix(ctx, team.get())) return false;
        if (team) team->Release();
        Debug(ctx, "End Factorize. Solving");
    }
    SetRightHandSide(ctx);
    SolveMatrix(ctx);
    st.MatrixState = 2;
    return true;
}

}  // namespace

Result ZMCompute(Context& ctx) {
    SolverState& st = Solver(ctx);
    ctx.host->SetBusy(true);
    st.ZinR = st.ZinX = st.IinR = st.IinI = st.Ps = st.Pin = 0;
    st.SourceResults.fill(SourceResult{});
    Result result;
    try {
        result = RefreshSolver(ctx);
        if (result.completed() && st.MatrixState != 2 && !Solve(ctx)) result = Result::Stopped();
        std::optional<Message> logNote;
        if (result.completed() && !Results(ctx, logNote)) result = Result::Stopped();
        result.Note(std::move(logNote));
    } catch (const ComputeFault& fault) {
        ctx.debug.Write("In ZMCompute " + fault.text);
        result = Result::Failed(FaultMessage(fault.text, "ZMCompute"));
        st.MatrixState = 0;
    }
    ctx.host->SetBusy(false);
    ctx.host->SetStatusText(1, "");
    return result;
}

}  // namespace qw
