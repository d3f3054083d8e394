#include "fields/near_field.h"

#include <cmath>
#include <string>

#include "fields/magnitude_phase.h"
#include "model/format_mask.h"
#include "model/log_output.h"
#include "model/print_layout.h"
#include "platform/host.h"
#include "platform/numeric_constants.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"

namespace qw {

namespace {

const char* const kRowMask = " 0.000E+00;-0.000E+00";
const char* const kTitle = "Near Field";

// The texts of one kind of field.
struct FieldTexts {
    const char* title;  // follows the file name in the report-box title
    const char* kind;   // the log's heading
    const char* unit;
};

const FieldTexts kElectricTexts = {" NEAR ELECTRIC FIELDS  ", "  NEAR ELECTRIC FIELDS", " V/M "};
const FieldTexts kMagneticTexts = {" NEAR MAGNETIC FIELDS ", "  NEAR MAGNETIC FIELDS", " AMPS/M "};

// A number joined into a message.
std::string Joined(float v) { return Format(v, "General Number"); }

std::string PointText(float x, float y, float z) {
    return "X = " + Joined(x) + " Y = " + Joined(y) + " Z = " + Joined(z);
}

PrintLine FieldPointLine(float x, float y, float z) {
    PrintLine line;
    line.Text("FIELD POINT: ").Text("X = ").Num(x).Text(" Y = ").Num(y).Text(" Z = ").Num(z);
    return line;
}

void WriteBlock(ReportLines& lines, const NearFieldPoint& p, const char* unit) {
    static const char* const kLabels[3] = {"   X  ", "   Y  ", "   Z  "};
    lines.Write("");
    lines.Write(FieldPointLine(p.x, p.y, p.z));
    lines.Write(PrintLine().Text("  VECTOR").Zone().Text("REAL").Zone().Text("IMAGINARY").Zone().Text("MAGNITUDE")
                    .Zone().Text("PHASE"));
    lines.Write(PrintLine().Text(" COMPONENT  ").Zone().Text(unit).Zone().Text(unit).Zone().Text(unit).Zone()
                    .Text(" DEG"));
    for (int c = 0; c < 3; ++c) {
        const FieldRow& r = p.rows[c];
        lines.Write(PrintLine().Text(kLabels[c]).Zone().Text(Format(r.re, kRowMask)).Zone()
                        .Text(Format(r.im, kRowMask)).Zone().Text(Format(r.magnitude, kRowMask)).Zone()
                        .Text(Format(r.phase, kRowMask)));
    }
    lines.Write(PrintLine().Text("MAXIMUM OR PEAK FIELD = ").Zone().Text(Format(p.peak, kRowMask)).Zone().Text(unit));
}

bool Finite(const NearFieldPoint& p) {
    bool finite = std::isfinite(p.peak);
    for (const FieldRow& r : p.rows)
        finite = finite && std::isfinite(r.re) && std::isfinite(r.im) && std::isfinite(r.magnitude) &&
                 std::isfinite(r.phase);
    return finite;
}

// The points left out of a run, for the message after it.
struct SkippedPoints {
    int onWire = 0;
    float x = 0, y = 0, z = 0;  // the first point on a wire
    int wire = 0;
    int notFinite = 0;

    // The message that names them; none when nothing was skipped.
    std::optional<Message> Note() const {
        std::string text;
        if (onWire == 1) {
            text = "The field point " + PointText(x, y, z) + " lies on wire " + std::to_string(wire) +
                   ", where the fields are not defined; it was skipped.";
        } else if (onWire > 1) {
            text = std::to_string(onWire) + " field points lie on a wire, where the fields are not defined, and " +
                   "were skipped (the first: " + PointText(x, y, z) + " on wire " + std::to_string(wire) + ").";
        }
        if (notFinite > 0) {
            if (!text.empty()) text += "\r\n";
            text += "The fields at " + std::to_string(notFinite) +
                    (notFinite == 1 ? " point" : " points") + " overflowed and were skipped.";
        }
        if (text.empty()) return std::nullopt;
        return FaultMessage(text, kTitle, MessageIcon::Exclamation);
    }
};

// The request as the dialog hands it back, completed: counts below 1 are 1,
// a power of 0 or less is the input power.
NearFieldRequest Completed(NearFieldRequest r, float inputPower) {
    if (r.CountX < 1) r.CountX = 1;
    if (r.CountY < 1) r.CountY = 1;
    if (r.CountZ < 1) r.CountZ = 1;
    if (!(r.PowerLevel > 0)) r.PowerLevel = inputPower;
    return r;
}

}  // namespace

float NearFieldScale(const SolverState& s, bool electric, float powerLevel) {
    float scale = std::sqrt(powerLevel / s.Pin);
    if (!electric) scale = scale / s.freq.S0 / 4.0f / kPi;
    return scale;
}

NearFieldPoint NearFieldRows(const FieldVector& field, float scale) {
    NearFieldPoint p;
    float a = 0.0f, b = 0.0f, c = 0.0f;
    for (int k = 0; k < 3; ++k) {
        const MagPhase mp = MagnitudePhase(field.re[k], field.im[k]);
        p.rows[k] = {field.re[k] * scale, field.im[k] * scale, mp.magnitude * scale, mp.phase};
        const float m2 = mp.magnitude * mp.magnitude;
        const float twice = 2.0f * mp.phase * kPi / 180.0f;
        a = a + m2 * std::cos(twice);
        b = b + m2 * std::sin(twice);
        c = c + m2;
    }
    p.peak = std::sqrt(c / 2.0f + std::sqrt(a * a + b * b) / 2.0f) * scale;
    return p;
}

Result ComputeNearField(Context& ctx, const NearFieldOutput& output) {
    Host& host = *ctx.host;
    if (ctx.project.SourceCount == 0) return Result::Failed(FaultMessage("No Sources defined"));
    if (!SolutionCurrent(ctx))
        if (Result solved = ZMCompute(ctx); !solved.completed()) return solved;
    const SolverState& s = Solver(ctx);
    const float inputPower = s.Pin;
    if (!(inputPower > 0)) return Result::Failed(FaultMessage("Power is Zero"));  // also a power that is not a number

    ctx.nearField.PowerLevel = inputPower;
    const auto answer = host.RequestNearField(ctx.nearField);
    if (!answer) return Result::Cancelled();
    const NearFieldRequest r = Completed(*answer, inputPower);
    ctx.nearField = r;

    const bool electric = r.ElectricField;
    const bool ground = ctx.project.Env.GroundPresent == kOverGround;
    const FieldTexts& texts = electric ? kElectricTexts : kMagneticTexts;
    const float scale = NearFieldScale(s, electric, r.PowerLevel);
    ReportLines lines(ctx, output.logEcho);

    const std::string title = "File : " + ctx.project.FileName + texts.title;
    host.AppendMainText(title);
    lines.Write("======================================");
    lines.Write(title);
    lines.Write(texts.kind);
    host.SetStatusText(1, "Generating Data");
    ShowProgress(ctx, 0);

    SkippedPoints skipped;
    const double gridLines = static_cast<double>(r.CountY) * r.CountZ;
    double linesDone = 0;
    for (int k = 1; k <= r.CountZ && !StopRequested(ctx); ++k) {
        const float z = r.StartZ + static_cast<float>(k - 1) * r.StepZ;
        for (int j = 1; j <= r.CountY && !StopRequested(ctx); ++j) {
            const float y = r.StartY + static_cast<float>(j - 1) * r.StepY;
            for (int i = 1; i <= r.CountX; ++i) {
                const float x = r.StartX + static_cast<float>(i - 1) * r.StepX;
                ctx.debug.Write(PrintLine().Text("Field Point X = ").Num(x).Text(" Y = ").Num(y).Text("Z = ").Num(z)
                                    .Lines()[0]);
                const int wire = WireAtPoint(s, ground, x, y, z);
                if (wire != 0) {
                    if (skipped.onWire++ == 0) {
                        skipped.x = x;
                        skipped.y = y;
                        skipped.z = z;
                        skipped.wire = wire;
                    }
                    lines.Write("");
                    lines.Write(FieldPointLine(x, y, z));
                    lines.Write(PrintLine().Text("POINT LIES ON WIRE").Num(wire).Text("- SKIPPED"));
                    continue;
                }
                const FieldVector field =
                    electric ? ElectricFieldAt(s, ground, x, y, z) : MagneticCurlAt(s, ground, x, y, z);
                NearFieldPoint p = NearFieldRows(field, scale);
                p.x = x;
                p.y = y;
                p.z = z;
                if (!Finite(p)) {
                    ++skipped.notFinite;
                    lines.Write("");
                    lines.Write(FieldPointLine(x, y, z));
                    lines.Write("FIELD OVERFLOW - SKIPPED");
                    continue;
                }
                WriteBlock(lines, p, texts.unit);
                if (output.point) output.point(p);
            }
            linesDone = linesDone + 1;
            host.SetStatusText(1, "Generating Data file");
            ShowProgress(ctx, linesDone / gridLines);
        }
    }

    host.SetStatusText(1, "");
    Result result{StopRequested(ctx) ? Outcome::Stopped : Outcome::Completed, skipped.Note()};
    result.Note(FlushLog(ctx));
    return result;
}

}  // namespace qw
