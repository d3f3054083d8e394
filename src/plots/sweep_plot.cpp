#include "plots/sweep_plot.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/format_mask.h"
#include "plots/smith_chart.h"
#include "plots/sweep_axes.h"

namespace qw {

namespace {

bool ImpedancePlane(SweepPlotKind k) { return k == SweepPlotKind::Impedance; }

std::string Fixed(float v) { return Format(v, "Fixed"); }

// dx of the frequency plots: a tenth of the band, 0.1 MHz for a band of
// no width.
float BandMargin(const SweepPlotSetup& s) {
    const float dx = (s.upper - s.lower) / 10;
    return dx == 0 ? 0.1f : dx;
}

float GainMargin(const SweepPlotSetup& s) { return std::max((s.gainHi - s.gainLow) / 10, 1.0f); }

// Where the frequency axis of the gain and F/B plots lies: at the lower
// limit when that is positive, else at 0, kept within the axis.
float GainAxisHeight(const SweepPlotSetup& s) {
    const float at = s.gainLow > 0 ? s.gainLow : 0.0f;
    return std::clamp(at, s.gainLow, s.gainHi);
}

}  // namespace

SweepPlotSetup CleanPlotSetup(SweepPlotSetup s) {
    if (s.upper < s.lower) std::swap(s.upper, s.lower);
    if (s.upper < 0.1f) s.upper = 0.1f;
    if (s.lower < 0.01f) s.lower = 0.01f;
    switch (s.kind) {
    case SweepPlotKind::Swr:
    case SweepPlotKind::Smith:
        if (s.swrLimit <= 1) s.swrLimit = 5;
        break;
    case SweepPlotKind::Gain:
    case SweepPlotKind::FrontToBack:
        if (s.gainHi < s.gainLow) std::swap(s.gainHi, s.gainLow);
        break;
    case SweepPlotKind::Impedance:
        if (s.RMax == 0) s.RMax = 10;
        if (s.RMin < 0) s.RMin = 0;
        if (s.XMax == 0) s.XMax = 10;
        if (s.RMin > s.RMax) std::swap(s.RMin, s.RMax);
        if (s.XMin > s.XMax) std::swap(s.XMin, s.XMax);
        if (s.RMin == s.RMax) s.RMax += 10;
        if (s.XMin == s.XMax) s.XMax += 10;
        break;
    }
    if (!(s.z0 > 0)) s.z0 = 50;
    return s;
}

float PlotLoopBound(const SweepPlotSetup& s) {
    if (s.kind == SweepPlotKind::Gain || s.kind == SweepPlotKind::FrontToBack) return s.upper;
    return s.upper + s.step;
}

std::vector<float> PlotFrequencies(const SweepPlotSetup& s, std::size_t limit) {
    std::vector<float> out;
    if (!(s.step > 0) || !std::isfinite(s.step) || !std::isfinite(s.lower)) return out;
    const float bound = PlotLoopBound(s);
    if (s.lower + s.step == s.lower) return out;  // the step cannot move the frequency
    // Single-precision accumulation as the sweep loop runs; a bound a whole
    // number of steps away is met within a thousandth of the step.
    for (float f = s.lower; f <= bound + s.step * 1e-3f && out.size() < limit; f = f + s.step) out.push_back(f);
    return out;
}

std::string PlotCaption(SweepPlotKind kind) {
    switch (kind) {
    case SweepPlotKind::Swr: return "Antenna SWR";
    case SweepPlotKind::Gain: return "Antenna Gain";
    case SweepPlotKind::FrontToBack: return "Antenna F/B";
    case SweepPlotKind::Smith: return "Antenna Resonance - Smith Chart";
    default: return "Antenna Resonance";
    }
}

PlotMark DescribeSample(const SweepPlotSetup& s, const PlotSample& p) {
    PlotMark m;
    const float F = p.frequency;
    const std::string f = "F = " + Format(F, "#0.000");
    switch (s.kind) {
    case SweepPlotKind::Swr:
        m.readout = f + " SWR = " + Fixed(p.swr);
        m.drawn = p.swr > 0 && p.swr <= s.swrLimit;
        return m;
    case SweepPlotKind::Gain:
        m.readout = f + " Gain = " + Fixed(p.gain);
        m.drawn = std::isfinite(p.gain);
        return m;
    case SweepPlotKind::FrontToBack:
        m.readout = f + " F/B = " + Fixed(p.frontToBack);
        m.drawn = std::isfinite(p.frontToBack);
        return m;
    case SweepPlotKind::Impedance:
    case SweepPlotKind::Smith:
        break;
    }
    const float R = p.R, X = p.X;
    m.readout = f + " Z = " + Fixed(R) + " +j " + Fixed(X);
    if (ImpedancePlane(s.kind))
        m.drawn = static_cast<float>(s.RMin) < R && R < static_cast<float>(s.RMax) &&
                  static_cast<float>(s.XMin) < X && X < static_cast<float>(s.XMax);
    else
        m.drawn = R >= 0 && std::isfinite(R) && std::isfinite(X);
    if (!m.drawn) return m;
    if (std::fabs(X) >= 10) {
        m.label = Fixed(F);
    } else {
        m.resonance = " Resonance at " + Fixed(F) + " Mhz, Z = " + Fixed(R) + " +j " + Fixed(X);
        m.label = " Resonance @ F = " + Fixed(F) + " Mhz";
    }
    return m;
}

PlotFrame PlotFrameOf(const SweepPlotSetup& s, int width, int height) {
    PlotFrame f;
    const float dx = BandMargin(s);
    f.left = s.lower - dx;
    f.right = s.upper + dx;
    switch (s.kind) {
    case SweepPlotKind::Swr: {
        const float dy = (s.swrLimit - 1) / 10;
        f.top = s.swrLimit + dy;
        f.bottom = 1 - dy;
        break;
    }
    case SweepPlotKind::Gain:
    case SweepPlotKind::FrontToBack: {
        const float dy = GainMargin(s);
        f.top = s.gainHi + dy;
        f.bottom = s.gainLow - dy;
        break;
    }
    case SweepPlotKind::Impedance: {
        const float dR = static_cast<float>(s.RMax - s.RMin) / 10, dX = static_cast<float>(s.XMax - s.XMin) / 10;
        f = {static_cast<float>(s.RMin) - dR, static_cast<float>(s.XMax) + dX, static_cast<float>(s.RMax) + dR,
             static_cast<float>(s.XMin) - dX};
        break;
    }
    case SweepPlotKind::Smith: {
        const float aspect = static_cast<float>(std::max(width, 1)) / static_cast<float>(std::max(height, 1));
        const float halfW = aspect >= 1 ? 1.3f * aspect : 1.3f, halfH = aspect >= 1 ? 1.3f : 1.3f / aspect;
        f = {-halfW, halfH, halfW, -halfH};
        break;
    }
    }
    return f;
}

SweepPlot::SweepPlot(const SweepPlotSetup& setup) : setup_(CleanPlotSetup(setup)) {}

void SweepPlot::DrawFrame(Canvas& canvas) {
    const SweepPlotSetup& s = setup_;
    canvas.SetBackColour(kWhite);
    canvas.SetBold(false);
    canvas.Clear();
    frame_ = PlotFrameOf(s, canvas.Width(), canvas.Height());
    canvas.SetScale(frame_.left, frame_.top, frame_.right, frame_.bottom);
    canvas.SetForeColour(kBlack);
    canvas.SetPenWidth(1);
    canvas.SetLineStyle(LineStyle::Solid);
    first_ = true;
    const float h = canvas.TextHeight();
    if (s.kind == SweepPlotKind::Smith) {
        DrawSmithGrid(canvas, s.z0, s.swrLimit);
    } else if (s.kind == SweepPlotKind::Impedance) {
        const float rMin = static_cast<float>(s.RMin), rMax = static_cast<float>(s.RMax);
        const float xMin = static_cast<float>(s.XMin), xMax = static_cast<float>(s.XMax);
        // The resistance axis at X = 0 (within the limits), the reactance
        // axis at R min.
        const float axisY = std::clamp(0.0f, xMin, xMax);
        const float halfR = (xMax - xMin) / 100;
        DrawFrequencyAxis(canvas, rMin, rMax, axisY, halfR, "");
        canvas.PrintAt(rMax + (rMax - rMin) / 100, axisY + h / 2, "Real");
        DrawValueAxis(canvas, xMin, xMax, rMin, (rMax - rMin) / 200);
        canvas.PrintAt(rMin, xMax + h / 2, "  Imag");
    } else {
        const bool swr = s.kind == SweepPlotKind::Swr;
        const float low = swr ? 1.0f : s.gainLow, high = swr ? s.swrLimit : s.gainHi;
        const float axisY = swr ? 1.0f : GainAxisHeight(s);
        const float half = (high - low) / 100;
        DrawFrequencyAxis(canvas, s.lower, s.upper, axisY, half, swr ? "#0.0#" : "#0.0");
        canvas.PrintAt((s.lower + s.upper) / 2 - canvas.TextWidth("F in MHz") / 2, axisY - half - h * 1.1f, "F in MHz");
        const float span = s.upper - s.lower;
        DrawValueAxis(canvas, low, high, s.lower, (span > 0 ? span : BandMargin(s)) / 200);
        const char* caption = swr ? "  SWR" : s.kind == SweepPlotKind::Gain ? "  Gain" : "  F/B";
        canvas.PrintAt(s.lower, high + h / 2, caption);
    }
    // The file name last, over the top left corner.
    canvas.SetForeColour(kBlack);
    canvas.PrintAt(frame_.left, frame_.top, s.fileName);
}

void SweepPlot::Position(const PlotSample& p, float& x, float& y) const {
    switch (setup_.kind) {
    case SweepPlotKind::Swr: x = p.frequency, y = p.swr; return;
    case SweepPlotKind::Gain: x = p.frequency, y = p.gain; return;
    case SweepPlotKind::FrontToBack: x = p.frequency, y = p.frontToBack; return;
    case SweepPlotKind::Impedance: x = p.R, y = p.X; return;
    case SweepPlotKind::Smith: {
        const std::complex<double> g = ReflectionOf(p.R, p.X, setup_.z0);
        x = static_cast<float>(g.real()), y = static_cast<float>(g.imag());
        return;
    }
    }
}

PlotMark SweepPlot::Add(Canvas& canvas, const PlotSample& sample) {
    PlotMark mark = DescribeSample(setup_, sample);
    if (!mark.drawn) return mark;
    float x = 0, y = 0;
    Position(sample, x, y);
    canvas.SetLineStyle(LineStyle::Solid);
    canvas.SetForeColour(kBlack);
    if (first_) {
        canvas.SetPenWidth(2);
        canvas.Point(x, y);
        first_ = false;
    } else {
        canvas.SetPenWidth(1);
        canvas.SetForeColour(kBlue);
        canvas.Line(penX_, penY_, x, y);
        canvas.SetForeColour(kBlack);
    }
    canvas.SetPenWidth(2);
    canvas.Point(x, y);
    canvas.SetPenWidth(1);
    penX_ = x, penY_ = y;
    if (!mark.label.empty()) canvas.PrintAt(x, y, mark.label);
    return mark;
}

void SweepPlot::Finish(Canvas& canvas) { canvas.SetBold(true); }

}  // namespace qw
