#include "solver/pulses.h"

#include <cmath>
#include <string>

#include "model/print_layout.h"
#include "model/pulse_layout.h"
#include "model/units.h"
#include "platform/host.h"
#include "platform/outcome.h"
#include "solver/solver.h"

namespace qw {

namespace {

constexpr float kCoincidence = 1e-5f;

std::string L(const Context& ctx, float meters) { return FormatLength(ctx.project, meters); }

void Log(Context& ctx, const PrintLine& line) {
    if (Logging(ctx)) ctx.log.Write(line);
}

void Log(Context& ctx, const std::string& line) {
    if (Logging(ctx)) ctx.log.Write(line);
}

float RadiusScale(const Context& ctx) {
    if (ctx.options.NecMode <= 1) return 1.0f;
    return ctx.options.FrequencyOffsetFactor > 1 ? ctx.options.FrequencyOffsetFactor : 1.0f;
}

// A wire the solver cannot take: no segment, no thickness, or a coordinate
// that is not a number. Returns the reason, or "".
std::string WireFault(const Wire& w) {
    if (w.Segments < 1) return "has fewer than 1 segment";
    if (!(w.Radius > 0)) return "has a diameter of 0 or less";
    for (const float c : {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2})
        if (!std::isfinite(c)) return "has a coordinate that is not a finite number";
    return "";
}

// A fault that a division or an overflow would raise inside DirCosine.
Result DirCosineFault(Context& ctx, const std::string& text) {
    ctx.debug.Write("In Dir Cosine " + text);
    return Result::Failed(FaultMessage(text, "DirCosine"));
}

int Sign(int v) { return v < 0 ? -1 : 1; }

}  // namespace

bool PointsCoincide(const std::array<float, 3>& a, const std::array<float, 3>& b) {
    return std::fabs(a[0] - b[0]) < kCoincidence && std::fabs(a[1] - b[1]) < kCoincidence &&
           std::fabs(a[2] - b[2]) < kCoincidence;
}

bool OnGround(const std::array<float, 3>& end) { return std::fabs(end[2]) <= kCoincidence; }

Result BuildPulseTable(Context& ctx) {
    SolverState& st = Solver(ctx);
    PulseTable& t = st.pulses;
    const Project& p = ctx.project;
    ++t.Generation;
    st.built.geometry = BuiltRevisions::kNever;
    st.MatrixState = 0;
    t.NW = p.WireCount;
    if (t.NW == 0) return Result::FailedSilently();
    for (int w = 1; w <= t.NW; ++w) {
        const std::string fault = WireFault(p.Wires[w]);
        if (!fault.empty())
            return Result::Failed(FaultMessage("Wire " + std::to_string(w) + " " + fault + ".\r\nCheck your Geometry",
                                               "Geometry Error", MessageIcon::Critical));
    }
    t.N = 0;
    Log(ctx, " ");
    Log(ctx, "Project " + ProjectName(p));
    Log(ctx, "**** ANTENNA GEOMETRY ****");

    const std::vector<WirePulses> layout = PulseLayout(p);
    Result result;
    for (int w = 1; w <= t.NW && result.completed(); ++w) {
        ConnectWireEnds(ctx, w, layout[w]);
        result = DirCosine(ctx, w, layout[w]);
    }
    ctx.project.PulseCount = t.N;
    if (!result.completed()) return result;
    BuildWireEndTable(ctx);
    t.RawC = t.C;
    ListConnections(ctx);
    st.built.geometry = ctx.revisions.geometry;
    return result;
}

void RescaleRadii(Context& ctx) {
    PulseTable& t = Solver(ctx).pulses;
    const float scale = RadiusScale(ctx);
    for (int w = 1; w <= ctx.project.WireCount && w <= kWireCapacity; ++w)
        t.A[w] = ctx.project.Wires[w].Radius * scale;
}

void ConnectWireEnds(Context& ctx, int w, const WirePulses& layout) {
    PulseTable& t = Solver(ctx).pulses;
    const Project& p = ctx.project;
    const Wire& wire = p.Wires[w];
    t.A[w] = wire.Radius * RadiusScale(ctx);
    t.Ends[w][1] = {wire.X1, wire.Y1, wire.Z1 + p.Height};
    t.Ends[w][2] = {wire.X2, wire.Y2, wire.Z2 + p.Height};
    t.I1 = layout.joint1;
    t.I2 = layout.joint2;
    const int I1 = t.I1, I2 = t.I2;
    t.J1[w] = I1 == -w ? -1 : I2 == -w ? 1 : 0;
    t.J2[w][1] = -w;
    t.J2[w][2] = -w;
    // An end joined to wire v marks the contact on both wires.
    for (const int e : {1, 2}) {
        const int code = e == 1 ? I1 : I2;
        if (code == 0 || code == -w) continue;
        const int v = std::abs(code);
        const int ve = code < 0 ? e : 3 - e;
        t.J2[w][e] = v;
        if (t.J2[v][ve] == -v) t.J2[v][ve] = v;
    }

    if (Logging(ctx)) {
        const auto& e1 = t.Ends[w][1];
        const auto& e2 = t.Ends[w][2];
        Log(ctx, PrintLine().Tab(10).Text("COORDINATES").Tab(43).Text("END").Tab(52).Text("NO. OF"));
        Log(ctx, PrintLine().Tab(3).Text("X").Tab(12).Text("Y").Tab(23).Text("Z").Tab(31).Text(" DIAM.").Tab(40)
                     .Text("CONNECTION").Tab(52).Text("SEGMENTS"));
        Log(ctx, PrintLine().Text(L(ctx, e1[0])).Tab(10).Text(L(ctx, e1[1])).Tab(20).Text(L(ctx, e1[2])).Tab(43)
                     .Num(I1));
        Log(ctx, PrintLine().Text(L(ctx, e2[0])).Tab(10).Text(L(ctx, e2[1])).Tab(20).Text(L(ctx, e2[2])).Tab(30)
                     .Text(L(ctx, 2 * wire.Radius)).Tab(43).Num(I2).Tab(54).Num(wire.Segments));
    }
}

Result DirCosine(Context& ctx, int w, const WirePulses& layout) {
    PulseTable& t = Solver(ctx).pulses;
    const int I1 = t.I1;
    const int I2 = t.I2;
    const int S1 = ctx.project.Wires[w].Segments;
    const auto& e1 = t.Ends[w][1];
    const auto& e2 = t.Ends[w][2];

    const float X3 = e2[0] - e1[0], Y3 = e2[1] - e1[1], Z3 = e2[2] - e1[2];
    const float D = std::sqrt(X3 * X3 + Y3 * Y3 + Z3 * Z3);
    // A zero-length wire makes every direction cosine 0/0; coordinates too
    // large for their squares overflow.
    if (D == 0 || !std::isfinite(D)) return DirCosineFault(ctx, "Overflow in calculations, Check your Geometry");
    t.CA[w] = X3 / D;
    t.CB[w] = Y3 / D;
    t.CG[w] = Z3 / D;
    t.S[w] = D / static_cast<float>(S1);

    const int N1 = layout.first;
    t.Nw[w][1] = N1;
    const long n = layout.last;
    if (n > ctx.Limits().pulses) {
        if (ctx.log.IsOn()) ctx.log.Write("PULSE NUMBER EXCEEDS DIMENSION");
        t.N = static_cast<int>(n);
        return Result::Failed(FaultMessage("PULSE NUMBER EXCEEDS LIMIT", "ABORT !", MessageIcon::Exclamation));
    }
    t.N = static_cast<int>(n);
    const int N = t.N;
    t.Nw[w][2] = N;

    const int B = 2 * (w - 1) + N1;
    if (N < N1) {  // one segment, both ends free: no pulse, only its ends
        t.X[B] = e1[0], t.Y[B] = e1[1], t.Z[B] = e1[2];
        t.X[B + 1] = e2[0], t.Y[B + 1] = e2[1], t.Z[B + 1] = e2[2];
        return {};
    }
    for (int i = N1; i <= N; ++i) {
        t.C[i][1] = w;
        t.C[i][2] = w;
        t.W[i] = w;
    }
    t.C[N1][1] = I1;
    t.C[N][2] = I2;

    // Break points: the segment ends, and one segment further along the
    // connected wire (or mirrored in the ground) at a joined end.
    t.X[B] = e1[0], t.Y[B] = e1[1], t.Z[B] = e1[2];
    int I3 = B;
    if (t.C[N1][1] != 0) {
        const int u = std::abs(t.C[N1][1]);
        const float F = static_cast<float>(Sign(t.C[N1][1])) * t.S[u];
        const float Fz = t.C[N1][1] == -w ? -F : F;
        t.X[B] = e1[0] - F * t.CA[u];
        t.Y[B] = e1[1] - F * t.CB[u];
        t.Z[B] = e1[2] - Fz * t.CG[u];
        I3 = B + 1;
    }
    const int I6 = 2 * w + N;
    for (int q = B + 1; q <= I6; ++q) {
        const float k = static_cast<float>(q - I3);
        t.X[q] = e1[0] + k * X3 / static_cast<float>(S1);
        t.Y[q] = e1[1] + k * Y3 / static_cast<float>(S1);
        t.Z[q] = e1[2] + k * Z3 / static_cast<float>(S1);
    }
    if (t.C[N][2] != 0) {
        const int u = std::abs(t.C[N][2]);
        const float F = static_cast<float>(Sign(t.C[N][2])) * t.S[u];
        const float Fz = t.C[N][2] == -w ? -F : F;
        t.X[I6] = t.X[I6 - 1] + F * t.CA[u];
        t.Y[I6] = t.Y[I6 - 1] + F * t.CB[u];
        t.Z[I6] = t.Z[I6 - 1] + Fz * t.CG[u];
    }
    return {};
}

void BuildWireEndTable(Context& ctx) {
    PulseTable& t = Solver(ctx).pulses;
    for (auto& row : t.WireEndTable) row = {0, 0, 0};
    auto setIfFree = [&t](int end, int wire, int value) {
        if (t.WireEndTable[wire][end] == 0) t.WireEndTable[wire][end] = value;
    };
    for (int w = 1; w <= t.NW; ++w) {
        for (int v = 1; v <= t.NW; ++v) {
            if (v == w) continue;
            if (OnGround(t.Ends[w][1])) {
                t.WireEndTable[w][1] = -1;
            } else if (PointsCoincide(t.Ends[w][1], t.Ends[v][1])) {
                setIfFree(1, w, v);
                setIfFree(1, v, w);
            } else if (PointsCoincide(t.Ends[w][1], t.Ends[v][2])) {
                setIfFree(1, w, v);
                setIfFree(2, v, w);
            }
            if (OnGround(t.Ends[w][2])) {
                t.WireEndTable[w][2] = -1;
            } else if (PointsCoincide(t.Ends[w][2], t.Ends[v][1])) {
                setIfFree(2, w, v);
                setIfFree(1, v, w);
            } else if (PointsCoincide(t.Ends[w][2], t.Ends[v][2])) {
                setIfFree(2, w, v);
                setIfFree(2, v, w);
            }
        }
    }
}

void ListConnections(Context& ctx) {
    PulseTable& t = Solver(ctx).pulses;
    const Project& p = ctx.project;
    Log(ctx, " ");
    Log(ctx, "**** CONNECTIONS ****");
    if (t.N == 0) ctx.host->AppendMainText("NUMBER OF PULSES IS ZERO....RE-ENTER GEOMETRY");
    if (Logging(ctx) && t.N >= 1) {
        for (int k = 1; k <= t.NW; ++k) {
            Log(ctx, " ");
            Log(ctx, PrintLine().Text("WIRE NO. ").Num(k).Tab(14).Text("COORDINATES").Tab(39).Text("CONNECTION  PULSE"));
            Log(ctx, PrintLine().Tab(3).Text("X").Tab(12).Text("Y").Tab(23).Text("Z").Tab(31).Text(" DIAM.").Tab(40)
                         .Text("END1  END2  NO."));
            if (t.Nw[k][2] < t.Nw[k][1]) {
                Log(ctx, "---    - -    -    0");
                continue;
            }
            for (int i = t.Nw[k][1]; i <= t.Nw[k][2]; ++i) {
                const int c = t.Centre(i);
                PrintLine line;
                line.Text(L(ctx, t.X[c])).Tab(10).Text(L(ctx, t.Y[c])).Tab(20).Text(L(ctx, t.Z[c])).Tab(30)
                    .Text(L(ctx, 2 * p.Wires[t.W[i]].Radius)).Tab(40).Num(t.C[i][1]).Text("   ").Num(t.C[i][2])
                    .Text("   ").Num(i);
                for (int s = 1; s <= p.SourceCount; ++s)
                    if (p.Sources[s].Pulse == i) line.Text(" S").Num(s);
                for (int l = 1; l <= p.LoadCount; ++l)
                    if (p.Loads[l].Pulse == i) line.Text(" L").Num(l);
                Log(ctx, line);
            }
        }
    }
    for (int i = 1; i <= t.N; ++i) {
        if (t.C[i][1] == 0) t.C[i][1] = t.W[i];
        if (t.C[i][2] == 0) t.C[i][2] = t.W[i];
    }
}

}  // namespace qw
