#include "solver/source_report.h"

#include <cmath>

#include "model/format_mask.h"
#include "model/print_layout.h"
#include "model/units.h"
#include "platform/host.h"
#include "solver/solver.h"

namespace qw {

namespace {

// A number joined into a text: no leading blank.
std::string Joined(float value) { return Format(value, "General Number"); }

}  // namespace

float SwrOf(float R, float X, float z0) {
    const float num = (R - z0) * (R - z0) + X * X;
    const float den = (R + z0) * (R + z0) + X * X;
    const float rho = den == 0 ? -1.0f : std::sqrt(num / den);
    if (rho == 1) return -1;
    const float swr = (1 + rho) / (1 - rho);
    if (swr <= 0) return -2;
    if (swr > 10000) return -1;
    return swr;
}

std::string ComplexText(float a, float b) {
    return Format(a, "###0.00") + (b < 0 ? " - " : " + ") + " j " + Format(std::fabs(b), "###0.00");
}

std::string SwrText(float swr) {
    if (swr == -1) return "Infinite";
    if (swr == -2) return "Undefined";
    return Format(swr, "Fixed");
}

void ReportSource(Context& ctx, int s) {
    const SolverState& st = Solver(ctx);
    const Project& p = ctx.project;
    const Environment& env = p.Env;
    const int N = st.pulses.N;
    const int pulse = static_cast<int>(st.E[s]);
    const float f = p.Frequency;
    const float h = p.Height;
    const SourceResult& r = st.SourceResults[s];
    const float swr = SwrOf(r.zr, r.zx, p.CoaxImpedance);
    const bool freeSpace = env.GroundPresent == kFreeSpace;
    const bool perfect = env.GroundKind == kPerfectGround;
    const float er = env.GroundMedia[1].Dielectric, sigma = env.GroundMedia[1].Conductivity;
    const std::string name = ProjectName(p);
    const std::string freqText = Format(f, "###0.000");
    const std::string waveText = Format(299.8f / f, "###0.000");
    const std::string waveFeetText = Format(983.595832f / f, "###0.000");
    const std::string zText = ComplexText(r.zr, r.zx);
    const std::string vText = ComplexText(r.vr, r.vi);
    const std::string iText = ComplexText(r.ir, r.ii);
    const std::string powerText = Format(r.power, "###0.##");
    const std::string heightText =
        "Antenna Height is : " + Joined(FloorHundredths(h)) + " m  (" + Joined(FloorHundredths(3.28084f * h)) + "ft)";

    if (ctx.log.IsOn()) {
        LogFile& log = ctx.log;
        log.Write("");
        log.Write(name);
        PrintLine line;
        if (freeSpace) {
            line.Text("Antenna in Free Space");  // the frequency line follows on this line
        } else {
            line.Text(heightText);
            if (perfect) {
                line.Text("Over Perfect Ground");
            } else {
                line.Text("Ground Diel. = ").Zone().Num(FloorHundredths(er)).Zone().Text("Cond. = ").Zone()
                    .Num(FloorHundredths(1000.0f * sigma)).Zone().Text("\xB5" "Siemens");
            }
            if (env.RadialCount != 0) {
                line.Num(env.RadialCount).Zone().Text(" Radials of ").Zone().Num(env.RadialLength).Zone()
                    .Text(" m  (").Zone().Num(3.28084f * env.RadialLength).Zone().Text(" ft)");
            }
            log.Write(line);
            line = PrintLine();
        }
        log.Write(line.Text(" ").Zone().Text("Frequency  =  ").Zone().Text(freqText + " Mhz"));
        log.Write(PrintLine().Text(" ").Zone().Text("Wave Length = ").Zone().Text(waveText).Zone().Text(" m (").Zone()
                      .Text(waveFeetText).Zone().Text(" ft)"));
        if (s == 1) {
            for (int l = 1; l <= p.LoadCount; ++l) {
                PrintLine load;
                load.Text(" ").Text("Load # ").Zone().Num(l).Zone().Text(" = ").Zone()
                    .Text(Format(st.Rl[l], "0.000E+00")).Zone().Text(" +j ").Zone().Text(Format(st.Xl[l], "0.000E+00"))
                    .Zone().Text(" at Pulse ").Num(static_cast<int>(st.LoadPulse[l]));
                if (st.LoadPulse[l] > N || st.LoadPulse[l] < 1) load.Text(" **** Ignored. Pulse out of range");
                log.Write(load);
            }
        }
        log.Write("");
        log.Write(PrintLine().Text(" ").Zone().Text("Impedance  =  " + zText).Zone().Text(" Ohms").Zone()
                      .Text(" at Source ").Num(s));
        log.Write(" SWR        =  " + SwrText(swr));
        log.Write(PrintLine().Text(" ").Zone().Text("Voltage    =  " + vText + " at Pulse ").Zone().Num(st.E[s]));
        log.Write(PrintLine().Text(" ").Zone().Text("Current    =  " + iText + " Amps"));
        log.Write(PrintLine().Text(" ").Zone().Text("Power      =  " + powerText + " WATTS"));
        log.Write(" ");
    }

    Host& host = *ctx.host;
    host.AppendMainText(name);
    if (freeSpace) {
        host.AppendMainText("  Antenna in Free Space");
    } else {
        std::string line = "  " + heightText;
        if (perfect)
            line += "  Perfect Ground";
        else
            line += "  Ground Diel. = " + Joined(FloorHundredths(er)) + "  Cond. = " +
                    Joined(FloorHundredths(1000.0f * sigma));
        if (env.RadialCount != 0)
            line += "  " + std::to_string(env.RadialCount) + " Radials of " + Joined(env.RadialLength) + " m  (" +
                    Joined(3.28084f * env.RadialLength) + " ft)";
        host.AppendMainText(line);
    }
    host.AppendMainText("  Frequency   : " + freqText + " Mhz");
    host.AppendMainText("  Wave Length : " + waveText + " m  (" + waveFeetText + " ft)");
    if (s == 1) {
        for (int l = 1; l <= p.LoadCount; ++l) {
            std::string line = "  Load # " + std::to_string(l) + " = " + Format(st.Rl[l], "0.000E+00") + " +j " +
                               Format(st.Xl[l], "0.000E+00") + " at Pulse " + std::to_string(st.LoadPulse[l]);
            if (st.LoadPulse[l] > N || st.LoadPulse[l] < 1) line += " *** Ignored. Pulse out of range";
            host.AppendMainText(line);
        }
    }
    host.AppendMainText("  IMPEDANCE  =  " + zText + " Ohms at Source " + std::to_string(s));
    host.AppendMainText("  SWR        =  " + SwrText(swr));
    host.AppendMainText("  Voltage    =  " + vText + " at Pulse " + std::to_string(pulse));
    host.AppendMainText("  Current    =  " + iText + " Amps");
    host.AppendMainText("  Power      =  " + powerText + " WATTS");
    host.AppendMainText(" ");
}

}  // namespace qw
