#include "fields/far_field_table.h"

#include <cmath>
#include <vector>

#include "fields/column_pipeline.h"
#include "model/format_mask.h"
#include "model/log_output.h"
#include "model/number_str.h"
#include "model/print_layout.h"
#include "platform/host.h"
#include "solver/solver.h"
#include "solver/source_report.h"
#include "solver/zm_compute.h"

namespace qw {

namespace {

constexpr const char* kDeg = "\xBA";  // the degree mark of Windows-1252
constexpr const char* kGainMask = " #0.00#;-#0.00#";
constexpr int kMaxSteps = 3600;

// A count of steps as typed: rounded to a whole number (halves to even)
// and kept within 0..3600, so that no count can hold the program in a loop.
int LimitedSteps(double steps) {
    if (!(steps > 0)) return 0;  // also NaN
    if (steps >= kMaxSteps) return kMaxSteps;
    return static_cast<int>(std::nearbyint(steps));
}

// The impedance the far field refuses: it would only give overflows.
bool AbnormalImpedance(float R, float X) { return std::fabs(R) < 0.5f || std::fabs(X) > 2000.0f; }

// The dialog's answer, with the rules applied when it closes.
void AcceptRequest(FarFieldRequest& r, float pin) {
    r.ZenithSteps = static_cast<float>(LimitedSteps(r.ZenithSteps));
    r.AzimuthSteps = LimitedSteps(r.AzimuthSteps);
    if (!r.ResultsInDb) {
        if (r.PowerLevel <= 0) r.PowerLevel = pin;
        r.FieldScale = std::sqrt(r.PowerLevel / pin);
        if (r.RadialDistance < 0) r.RadialDistance = 0;
    }
}

void WriteHeaders(Context& ctx, ReportLines* lines, const FarFieldRequest& r, float pin) {
    const std::string unit = r.ResultsInDb ? " Db " : " Volts/m ";
    const std::string title =
        "File : " + ctx.project.FileName + " FAR FIELD " + unit + " Power : " + Str(r.PowerLevel) + " Watts";
    const float zenithEnd = r.ZenithStart + r.ZenithStep * r.ZenithSteps;
    const float azimuthEnd = r.AzimuthStart + static_cast<float>(r.AzimuthSteps) * r.AzimuthStep;
    Host& host = *ctx.host;
    host.AppendMainText(title);
    host.AppendMainText("Zen : " + Str(r.ZenithStart) + kDeg + " to " + Str(zenithEnd) + kDeg);
    host.AppendMainText("Az  : " + Str(r.AzimuthStart) + kDeg + " to " + Str(azimuthEnd) + kDeg);
    host.AppendMainText("");
    if (!lines) return;

    lines->Write("=====================================");
    lines->Write(PrintLine()
                    .Text("File : " + ctx.project.FileName + " FAR FIELD ")
                    .Text(" in ").Zone().Text(unit).Zone().Text(" Power : ").Zone().Num(r.PowerLevel).Zone()
                    .Text(" Watts"));
    lines->Write(PrintLine().Text(" From Zenith : ").Num(r.ZenithStart).Text(kDeg).Zone().Text(" to ").Num(zenithEnd)
                    .Text(kDeg));
    lines->Write(PrintLine().Text(" in ").Num(r.ZenithStep).Zone().Text(kDeg).Text(" Increments"));
    lines->Write(PrintLine().Text(" From Azimuth : ").Num(r.AzimuthStart).Text(kDeg).Zone().Text(" to ")
                    .Num(azimuthEnd).Text(kDeg));
    lines->Write(PrintLine().Text(" in ").Num(r.AzimuthStep).Zone().Text(kDeg).Text(" Increments"));
    lines->Write("");
    lines->Write("Far Field Pattern DATA ");
    if (r.ResultsInDb) {
        lines->Write(PrintLine().Text("ZENITH").Zone().Text("AZIMUTH").Zone().Text("VERTICAL").Zone()
                        .Text("HORIZONTAL").Zone().Text("TOTAL"));
        lines->Write(PrintLine().Text("ANGLE").Zone().Text("ANGLE").Zone().Text("PATTERN (DB)").Zone()
                        .Text("PATTERN (DB)").Zone().Text("PATTERN (DB)"));
    } else {
        if (r.RadialDistance > 0)
            lines->Write(PrintLine().Tab(15).Text("RADIAL DISTANCE = ").Num(r.RadialDistance).Text(" METERS"));
        lines->Write(
            PrintLine().Tab(15).Text("POWER LEVEL = ").Num(pin * (r.FieldScale * r.FieldScale)).Text(" WATTS"));
        lines->Write(PrintLine().Text("ZENITH   AZIMUTH").Zone().Text("     E(THETA)     ").Zone().Text("     E(PHI)"));
        lines->Write(PrintLine().Text(" ANGLE    ANGLE").Zone().Text(" MAG(V/M)    PHASE(DEG)").Zone()
                        .Text(" MAG(V/M)    PHASE(DEG)"));
    }
}

// The values of one direction as the table shows them.
FarFieldRow RowOf(const FarFieldSetup& s, float azimuth, float zenith, const FieldComponents& E) {
    FarFieldRow row;
    row.zenith = zenith;
    row.azimuth = azimuth;
    if (s.resultsInDb) {
        row.gains = GainsInDbi(E, s.gainNormaliser);
        return row;
    }
    ComplexF theta = E.theta, phi = E.phi;
    if (s.radialDistance != 0) {
        const float d = s.radialDistance;
        theta = {theta.re / d, theta.im / d};
        phi = {phi.re / d, phi.im / d};
    }
    row.theta = MagnitudePhase(theta.re, theta.im);
    row.phi = MagnitudePhase(phi.re, phi.im);
    row.theta.magnitude = row.theta.magnitude * s.fieldScale;
    row.phi.magnitude = row.phi.magnitude * s.fieldScale;
    return row;
}

// The lines of a row of the table.
std::vector<std::string> RowLines(const FarFieldRow& row, bool resultsInDb) {
    PrintLine line;
    if (resultsInDb) {
        line.Num(row.zenith).Tab(15).Num(row.azimuth).Tab(29).Text(Format(row.gains.vertical, kGainMask)).Tab(43)
            .Text(Format(row.gains.horizontal, kGainMask)).Tab(57).Text(Format(row.gains.total, kGainMask));
    } else {
        line.Num(row.zenith).Zone().Num(row.azimuth).Zone().Text(Format(row.theta.magnitude, kGainMask)).Zone()
            .Text(Format(row.theta.phase, kGainMask)).Zone().Text(Format(row.phi.magnitude, kGainMask)).Zone()
            .Text(Format(row.phi.phase, kGainMask));
    }
    return line.Lines();
}

// Angles from `start` by repeated addition of `step`, in single precision.
void Accumulate(std::vector<float>& angles, float start, float step) {
    float angle = start;
    for (float& a : angles) {
        a = angle;
        angle = angle + step;
    }
}

// The end of a run, finished or stopped: what was written is on disk.
// The end of a table, completed or stopped: the log put on disk.
Result Finish(Context& ctx, Result result) {
    ctx.host->SetStatusText(1, "");
    ctx.host->SetBusy(false);
    result.Note(FlushLog(ctx));
    return result;
}

}  // namespace

Result ComputeFarField(Context& ctx, const FarFieldOutput& output) {
    Project& p = ctx.project;
    if (p.SourceCount == 0) return Result::Failed(FaultMessage("No Sources defined"));
    if (!SolutionCurrent(ctx))
        if (Result solved = ZMCompute(ctx); !solved.completed()) return solved;
    const SolverState& st = Solver(ctx);
    if (AbnormalImpedance(st.ZinR, st.ZinX))
        return Result::Failed(FaultMessage("Antenna Z = " + ComplexText(st.ZinR, st.ZinX) +
                                               "\r\nand will generate overflows",
                                           "Abnormal Impedance"));
    const float pin = st.Pin;
    if (!(pin > 0)) return Result::Failed(FaultMessage("Power is Zero"));

    FarFieldRequest shown = ctx.farField;
    shown.PowerLevel = pin;
    const auto answer = ctx.host->RequestFarField(shown);
    if (!answer) return Result::Cancelled();
    ctx.farField = *answer;
    FarFieldRequest& r = ctx.farField;
    AcceptRequest(r, pin);

    FarFieldSetup setup;
    PrepareFarField(ctx, setup, r.ResultsInDb);
    setup.gainInDbi = true;  // the table is always in dBi

    // The lines are formatted only when the log or the echo takes them.
    ReportLines lines(ctx, output.logLines);
    const bool writeLines = ctx.log.IsOn() || static_cast<bool>(output.logLines);
    WriteHeaders(ctx, writeLines ? &lines : nullptr, r, pin);
    ctx.host->SetStatusText(1, "Generating Data");
    ctx.host->SetBusy(true);
    ShowProgress(ctx, 0);

    // The zenith and azimuth angles, accumulated as the loops over them
    // would, and room for the rows of the columns being computed.
    const int zenithCount = static_cast<int>(r.ZenithSteps) + 1;
    const int azimuthCount = r.AzimuthSteps + 1;
    std::vector<float> zeniths(static_cast<std::size_t>(zenithCount));
    std::vector<float> azimuths(static_cast<std::size_t>(azimuthCount));
    Accumulate(zeniths, r.ZenithStart, r.ZenithStep);
    Accumulate(azimuths, r.AzimuthStart, r.AzimuthStep);
    const int workers = ColumnPipeline::WorkersFor(azimuthCount, zenithCount, setup.pulseCount);
    // The workers also format their columns' lines, when they are wanted.
    const std::size_t slots = static_cast<std::size_t>(ColumnPipeline::DepthFor(workers)) * zeniths.size();
    std::vector<FarFieldRow> rows(slots);
    std::vector<std::vector<std::string>> texts(writeLines ? slots : 0);
    ColumnPipeline columns(azimuthCount, workers, [&](int a, int slot) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(slot) * zenithCount;
        std::vector<FieldComponents> fields(zeniths.size());
        FarFieldColumn(ctx, setup, azimuths[a], zeniths.data(), zenithCount, fields.data());
        for (int z = 0; z < zenithCount; ++z) {
            rows[first + z] = RowOf(setup, azimuths[a], zeniths[z], fields[z]);
            if (writeLines) texts[first + z] = RowLines(rows[first + z], r.ResultsInDb);
        }
    });

    for (int a = 0; a < azimuthCount; ++a) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(columns.Take(a)) * zenithCount;
        for (int z = 0; z < zenithCount; ++z) {
            if (writeLines)
                for (const std::string& line : texts[first + z]) lines.Write(line);
            if (output.rows) output.rows(rows[first + z]);
        }
        columns.Release(a);
        ctx.host->SetStatusText(1, "Generating Data file");
        ShowProgress(ctx, static_cast<double>(a) / azimuthCount);
        if (StopRequested(ctx)) return Finish(ctx, Result::Stopped());
    }
    return Finish(ctx, {});
}

}  // namespace qw
