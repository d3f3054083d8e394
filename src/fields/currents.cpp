#include "fields/currents.h"

#include <fstream>
#include <memory>

#include "fields/magnitude_phase.h"
#include "model/format_mask.h"
#include "model/log_output.h"
#include "model/number_str.h"
#include "model/print_layout.h"
#include "platform/host.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"

namespace qw {

namespace {

const char* const kValueMask = " #0.00#;-#0.00#";

// Writes each row to the log, the data file and the output.
class RowWriter {
public:
    RowWriter(const SolverState& s, ReportLines& lines, std::ofstream* data, const CurrentsOutput& output)
        : s_(s), lines_(lines), data_(data), output_(output) {}

    void EndRow(int wire, const EndCurrent& e) {
        CurrentRow row = Row(wire, e.re, e.im);
        row.endRow = true;
        row.label = e.label;
        Write(row, PrintLine().Text(std::string(1, e.label)), std::string(1, e.label));
    }

    void PulseRow(int wire, int p) {
        CurrentRow row = Row(wire, s_.CR[p], s_.CI[p]);
        row.pulse = p;
        Write(row, PrintLine().Num(p), Str(p) + " ");
    }

private:
    static CurrentRow Row(int wire, float re, float im) {
        const MagPhase mp = MagnitudePhase(re, im);
        CurrentRow row;
        row.wire = wire;
        row.re = re;
        row.im = im;
        row.magnitude = mp.magnitude;
        row.phase = mp.phase;
        return row;
    }

    void Write(const CurrentRow& row, PrintLine logLine, const std::string& dataLabel) {
        lines_.Write(logLine.Zone().Text(Format(row.re, kValueMask)).Zone().Text(Format(row.im, kValueMask)).Zone()
                         .Text(Format(row.magnitude, kValueMask)).Zone().Text(Format(row.phase, kValueMask)));
        if (data_)
            *data_ << dataLabel << "," << Str(row.re) << "," << Str(row.im) << "," << Str(row.magnitude) << ","
                   << Str(row.phase) << "\r\n";
        if (output_.row) output_.row(row);
    }

    const SolverState& s_;
    ReportLines& lines_;
    std::ofstream* data_;
    const CurrentsOutput& output_;
};

Result Unwritable(const std::string& path) {
    return Result::Failed(
        FaultMessage("The currents data file " + path + " could not be written.", "Currents", MessageIcon::Exclamation));
}

}  // namespace

EndCurrent WireEndCurrent(const SolverState& s, int w, int e, int p, int r) {
    const PulseTable& t = s.pulses;
    EndCurrent end;
    if (r != 0 && r != w) {  // the end pulse continues into another wire
        end.label = 'J';
        end.re = s.CR[p];
        end.im = s.CI[p];
    }
    for (int j = 1; j <= t.NW; ++j) {
        const int a = t.Nw[j][1], b = t.Nw[j][2];
        // A wire without pulses has none to add: its first and last pulse
        // numbers belong to its neighbours.
        if (j == w || b < a) continue;
        // The junction pulses of j at this end of w: the half of j's end
        // pulse that lies on w runs against w (its current counts
        // negative) or along it.
        const int against = e == 1 ? a : b;
        const int along = e == 1 ? b : a;
        const int againstHalf = e == 1 ? 1 : 2, alongHalf = e == 1 ? 2 : 1;
        if (t.C[against][againstHalf] == -w) {
            end.re = end.re - s.CR[against];
            end.im = end.im - s.CI[against];
            end.label = 'J';
        }
        if (t.C[along][alongHalf] == w) {
            end.re = end.re + s.CR[along];
            end.im = end.im + s.CI[along];
            end.label = 'J';
        }
    }
    return end;
}

Result ListCurrents(Context& ctx, const std::string& dataFilePath, const CurrentsOutput& output) {
    if (!SolutionCurrent(ctx))
        if (Result solved = ZMCompute(ctx); !solved.completed()) return solved;
    const SolverState& s = Solver(ctx);
    const PulseTable& t = s.pulses;
    const bool ground = ctx.project.Env.GroundPresent == kOverGround;

    std::unique_ptr<std::ofstream> data;
    if (!dataFilePath.empty()) {
        data = std::make_unique<std::ofstream>(dataFilePath, std::ios::binary | std::ios::trunc);
        if (!*data) return Unwritable(dataFilePath);
    }

    ReportLines lines(ctx, output.logEcho);
    RowWriter rows(s, lines, data.get(), output);
    lines.Write("");
    lines.Write(" ------------ Currents ----------------- ");
    lines.Write(PrintLine().Text("Number of Wires : ").Zone().Num(t.NW).Zone().Text("Power : ").Zone().Num(s.Pin));

    for (int w = 1; w <= t.NW; ++w) {
        lines.Write("");
        lines.Write(PrintLine().Text("WIRE NO. ").Num(w).Text(":"));
        lines.Write(PrintLine().Text("PULSE").Zone().Text("REAL").Zone().Text("IMAGINARY").Zone().Text("MAGNITUDE")
                        .Zone().Text("PHASE"));
        lines.Write(PrintLine().Text(" NO.").Zone().Text("(AMPS)").Zone().Text("(AMPS)").Zone().Text("(AMPS)").Zone()
                        .Text("(DEGREES)"));

        const int first = t.Nw[w][1];
        int last = t.Nw[w][2];
        const bool hasPulses = last >= first;
        const bool end1OnGround = ground && t.J1[w] == -1;
        const bool end2OnGround = ground && t.J1[w] == 1;
        const int r1 = hasPulses ? t.C[first][1] : w;
        if (end1OnGround && first >= last) last = first;

        // End 1; a junction pulse shown by its "J" row is not listed again.
        int start = first;
        if (!end1OnGround) {
            const EndCurrent e1 = WireEndCurrent(s, w, 1, first, r1);
            rows.EndRow(w, e1);
            if (hasPulses && e1.label == 'J' && r1 != w) start = first + 1;
        }
        for (int p = start; p <= last - 1; ++p) rows.PulseRow(w, p);

        // End 2: on the ground it has no row of its own.
        if (end2OnGround) {
            if (hasPulses && last >= start) rows.PulseRow(w, last);
            continue;
        }
        const int r2 = hasPulses ? t.C[last][2] : w;
        const EndCurrent e2 = WireEndCurrent(s, w, 2, last, r2);
        // The last pulse is listed unless a "J" row shows it: the end-1 row
        // of a wire whose only pulse is its end-1 junction, or the end-2 row.
        const bool shownByEnd2 = e2.label == 'J' && r2 != w;
        if (hasPulses && last >= start && !shownByEnd2) rows.PulseRow(w, last);
        rows.EndRow(w, e2);
    }

    Result result;
    if (data) {
        data->close();
        if (!*data) result = Unwritable(dataFilePath);
    }
    result.Note(FlushLog(ctx));
    return result;
}

}  // namespace qw
