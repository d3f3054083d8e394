#include "commands/sweep_plot_command.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/format_mask.h"
#include "model/number_str.h"
#include "model/number_value.h"
#include "model/settings.h"
#include "platform/file_replace.h"
#include "platform/host.h"
#include "sweeps/parallel_sweep.h"

namespace qw {

namespace {

// A box's text as the box shows a number: its Str form without the blank.
std::string BoxNumber(float v) {
    std::string s = Str(v);
    if (!s.empty() && s[0] == ' ') s.erase(0, 1);
    return s;
}

// The whole text is one number (blanks around it allowed).
bool IsNumeric(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const auto last = text.find_last_not_of(" \t");
    const std::string t = text.substr(first, last - first + 1);
    std::size_t i = 0;
    if (t[i] == '+' || t[i] == '-') ++i;
    bool digits = false, point = false;
    for (; i < t.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(t[i]))) digits = true;
        else if (t[i] == '.' && !point) point = true;
        else break;
    }
    if (!digits) return false;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        if (i >= t.size()) return false;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    }
    return i == t.size();
}

float BoxValue(const std::string& text) { return IsNumeric(text) ? static_cast<float>(Val(text)) : 0.0f; }

int Rounded(float v) {
    const double r = std::nearbyint(static_cast<double>(v));  // half to even
    return static_cast<int>(std::clamp(r, -32768.0, 32767.0));
}

bool Refuse(Context& ctx, const std::string& why) {
    ctx.host->ShowMessage({why, "Error", MessageIcon::Critical, MessageButtons::Ok, 1});
    return false;
}

}  // namespace

PlotLimitsForm PlotLimitsFormOf(const Context& ctx, SweepPlotKind kind) {
    const ProgramOptions& o = ctx.options;
    PlotLimitsForm f;
    switch (kind) {
    case SweepPlotKind::Swr:
        f.title = "SWR Plot F, Step, SWR limits";
        f.labels = {"F Max", "F Min", "F Step", "Swr Max", ""};
        f.texts = {BoxNumber(o.ResonanceHi), BoxNumber(o.ResonanceLow), BoxNumber(o.ResonanceStep),
                   BoxNumber(o.SwrLimit > 0 ? o.SwrLimit : 5.0f), ""};
        break;
    case SweepPlotKind::Gain:
    case SweepPlotKind::FrontToBack: {
        const bool gain = kind == SweepPlotKind::Gain;
        f.title = gain ? "Gain Plot F, Step, limits" : "F/B Plot F, Step, limits";
        f.labels = {"F Max", "F Min", "F Step", gain ? "Gain Max" : "F/B Max", gain ? "Gain Min" : "F/B Min"};
        f.texts = {BoxNumber(o.ResonanceHi), BoxNumber(o.ResonanceLow), BoxNumber(o.ResonanceStep),
                   BoxNumber(o.GainHi), BoxNumber(o.GainLow)};
        f.fifthBox = true;
        break;
    }
    default:
        f.title = "Impedance Plot R, X Limits";
        f.labels = {"R Max", "R Min", "X Max", "X Min", ""};
        f.texts = {std::to_string(o.RMax), std::to_string(o.RMin), std::to_string(o.XMax), std::to_string(o.XMin), ""};
        break;
    }
    return f;
}

bool ApplyPlotLimits(Context& ctx, SweepPlotKind kind, const std::array<std::string, 5>& texts) {
    ProgramOptions& o = ctx.options;
    const float v0 = BoxValue(texts[0]), v1 = BoxValue(texts[1]), v2 = BoxValue(texts[2]), v3 = BoxValue(texts[3]);
    if (kind == SweepPlotKind::Impedance || kind == SweepPlotKind::Smith) {
        int rMax = Rounded(v0), rMin = Rounded(v1), xMax = Rounded(v2), xMin = Rounded(v3);
        if (rMin > rMax) std::swap(rMin, rMax);
        if (xMin > xMax) std::swap(xMin, xMax);
        o.RMax = rMax, o.RMin = rMin, o.XMax = xMax, o.XMin = xMin;
        return true;
    }
    // A band the sweep could not run: refused before anything is stored.
    if (v0 == 0 || v1 == 0 || v2 == 0) return Refuse(ctx, "Zero Values not allowed");
    if (v0 < 0 || v1 < 0) return Refuse(ctx, "The frequency limits must be greater than 0.");
    if (v2 < 0) return Refuse(ctx, "The frequency step must be greater than 0.");
    SweepPlotSetup probe;
    probe.kind = kind;
    probe.upper = v0, probe.lower = v1, probe.step = v2;
    if (const Result band = CheckPlotBand(CleanPlotSetup(probe)); !band.completed()) {
        if (band.fault) ctx.host->ShowMessage(*band.fault);
        return false;
    }
    o.ResonanceHi = v0, o.ResonanceLow = v1, o.ResonanceStep = v2;
    if (kind == SweepPlotKind::Swr) {
        o.SwrLimit = v3;
        return true;
    }
    o.GainHi = v3;
    o.GainLow = static_cast<float>(Val(texts[4]));
    SaveGainLimits(ctx);  // tells the user when the file cannot be written; the plot goes on
    return true;
}

SweepPlotSetup PlotSetupOf(const Context& ctx, SweepPlotKind kind) {
    const ProgramOptions& o = ctx.options;
    SweepPlotSetup s;
    s.kind = kind;
    s.lower = o.ResonanceLow, s.upper = o.ResonanceHi, s.step = o.ResonanceStep;
    s.swrLimit = o.SwrLimit;
    s.RMin = o.RMin, s.RMax = o.RMax, s.XMin = o.XMin, s.XMax = o.XMax;
    s.gainHi = o.GainHi, s.gainLow = o.GainLow;
    s.z0 = ctx.project.CoaxImpedance;
    s.fileName = ctx.project.FileName;
    return s;
}

Result CheckPlotBand(const SweepPlotSetup& s, std::size_t limit) {
    std::string why;
    const float bound = PlotLoopBound(s);
    if (!(s.step > 0))
        why = "The frequency step must be greater than 0.";
    else if (!(s.lower > 0))
        why = "The lower frequency must be greater than 0.";
    else if (!std::isfinite(s.lower) || !std::isfinite(bound))
        why = "The frequency range is not valid.";
    else if (s.lower + s.step == s.lower || bound + s.step == bound)
        why = "The frequency step is too small to move the frequency.";
    else if ((static_cast<double>(bound) - s.lower) / s.step > static_cast<double>(limit))
        why = "The band has more than " + std::to_string(limit) + " points.";
    if (why.empty()) return {};
    return Result::Failed(FaultMessage(why, "Frequency Range", MessageIcon::Critical));
}

Result RunSweepPlot(Context& ctx, const SweepPlotSetup& setup, int workers,
                    const std::function<void(const PlotSample&)>& onPoint) {
    const SweepPlotSetup s = CleanPlotSetup(setup);
    if (ctx.project.SourceCount == 0) return Result::Failed(FaultMessage("No Sources defined"));
    if (Result band = CheckPlotBand(s); !band.completed()) return band;
    ParallelSweepRequest request;
    request.frequencies = PlotFrequencies(s);
    request.withGain = true;  // every plot's points carry the whole CSV row
    request.direction = ctx.document().patternDirection;
    request.workers = workers;
    const bool gainPlot = s.kind == SweepPlotKind::Gain || s.kind == SweepPlotKind::FrontToBack;
    bool told = false;
    std::optional<Message> fault;
    std::size_t solved = 0;
    request.onPoint = [&](const ParallelPoint& p) {
        if (fault) return;
        if (!p.done) {
            // A point that failed (not one a stop left out) ends the plot.
            if (!p.messages.empty()) fault = FaultMessage(p.messages.front());
            return;
        }
        if (gainPlot && !p.hasGain && !told) {
            told = true;
            ctx.host->ShowMessage(NoPowerMessage());
        }
        ++solved;
        PlotSample sample;
        sample.frequency = p.frequency;
        sample.R = p.z.R, sample.X = p.z.X;
        sample.swr = p.swr;
        sample.gain = p.gain;
        sample.frontToBack = p.frontToBack;
        if (onPoint) onPoint(sample);
        ShowProgress(ctx, request.frequencies.empty() ? 1.0 : static_cast<double>(solved) / request.frequencies.size());
    };
    ctx.host->SetBusy(true);
    const std::size_t count = RunParallelSweep(ctx, request).size();
    ctx.host->SetBusy(false);
    if (fault) return Result::Failed(*fault);
    if (solved < count) return Result::Stopped();
    return {};
}

std::string SweepCsv(const std::vector<PlotSample>& points) {
    auto plain = [](float v) { return Format(v, "General Number"); };
    std::string out = "frequency_mhz,r_ohm,x_ohm,swr,gain_db,fb_db\n";
    for (const PlotSample& p : points) {
        const std::string swr = p.swr == -1 ? "Infinite" : p.swr == -2 ? "Undefined" : plain(p.swr);
        out += plain(p.frequency) + ',' + plain(p.R) + ',' + plain(p.X) + ',' + swr + ',' + plain(p.gain) + ',' +
               plain(p.frontToBack) + '\n';
    }
    return out;
}

void SaveSweepCsv(Context& ctx, const std::vector<PlotSample>& points) {
    const auto path = ctx.host->SaveFileDialog("Save Points as CSV", "CSV File (*.csv)|*.csv", "");
    if (!path) return;
    const std::string why = WriteFileReplacing(*path, SweepCsv(points));
    if (!why.empty()) ctx.host->Notify("Cannot write " + *path + ": " + why, "Save Points as CSV", MessageIcon::Exclamation);
}

}  // namespace qw
