// The plots of a frequency sweep: impedance in the resistance-reactance
// plane, SWR, gain and front-to-back ratio over the band, and the
// impedance on a Smith chart. The plot is drawn point by point as the
// sweep hands its points over: first the frame (file name, axes, ticks,
// captions), then each point, joined to the previous one by a blue line
// and marked with a black dot.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace qw {

enum class SweepPlotKind { Impedance = 0, Swr = 1, Gain = 2, FrontToBack = 3, Smith = 4 };

// What a plot is drawn for: its band (MHz), its limits and the project's
// feed-line impedance and file name.
struct SweepPlotSetup {
    SweepPlotKind kind = SweepPlotKind::Impedance;
    float lower = 0, upper = 0, step = 0;
    float swrLimit = 5;                                     // top of the SWR axis; the Smith chart's circle
    int RMin = 0, RMax = 2000, XMin = -2000, XMax = 2000;  // ohms, impedance plot
    float gainHi = 10, gainLow = 0;                         // dB, gain and F/B plots
    float z0 = 50;                                          // feed-line impedance, ohms
    std::string fileName;
};

// The setup as the plot draws it. SWR, gain, F/B and Smith: the limits in
// order, the upper one at least 0.1 MHz and the lower one at least 0.01;
// an SWR limit of 1 or less becomes 5; gain limits in order. Impedance:
// R max 0 becomes 10, R min below 0 becomes 0, X max 0 becomes 10, and a
// zero-width R or X span grows by 10 ohms.
SweepPlotSetup CleanPlotSetup(SweepPlotSetup setup);

// The last frequency the loop may reach: upper + step for the impedance,
// SWR and Smith plots, upper for gain and F/B.
float PlotLoopBound(const SweepPlotSetup& setup);
// The frequencies of the loop: from the lower limit in steps accumulated
// in single precision up to the bound (inclusive within a thousandth of a
// step). At most `limit` of them.
std::vector<float> PlotFrequencies(const SweepPlotSetup& cleaned, std::size_t limit = 100000);

// "Antenna Resonance", "Antenna SWR", "Antenna Gain", "Antenna F/B",
// "Antenna Resonance - Smith Chart".
std::string PlotCaption(SweepPlotKind kind);

// One solved point.
struct PlotSample {
    float frequency = 0;
    float R = 0, X = 0;       // input impedance, ohms
    float swr = 0;            // -1 infinite, -2 undefined
    float gain = 0;           // dB (0 at a point without input power)
    float frontToBack = 0;    // dB
};

// What the plot makes of a point: whether it is drawn, its label, the
// read-out line, and the resonance line for the main window ("" if none).
struct PlotMark {
    bool drawn = false;
    std::string label;
    std::string readout;
    std::string resonance;
};

// SWR: "F = 14.000 SWR = 1.23", drawn when 0 < SWR <= limit. Gain, F/B:
// "F = ... Gain = ..." / " F/B = ...", always drawn. Impedance: "F = ...
// Z = R +j X", drawn strictly inside the R and X limits; labelled with the
// frequency, or " Resonance @ F = ... Mhz" when |X| < 10 ohms, which also
// gives the resonance line " Resonance at F Mhz, Z = R +j X". Smith: the
// impedance's read-out and labels, drawn when R >= 0.
PlotMark DescribeSample(const SweepPlotSetup& cleaned, const PlotSample& sample);

// The user coordinates of a plot: (left, top) to (right, bottom).
struct PlotFrame {
    float left = 0, top = 0, right = 0, bottom = 0;
};
PlotFrame PlotFrameOf(const SweepPlotSetup& cleaned, int width, int height);

// The frame of a plot on one canvas and the pen between its points.
class SweepPlot {
public:
    explicit SweepPlot(const SweepPlotSetup& setup);  // the setup is cleaned
    const SweepPlotSetup& Setup() const { return setup_; }

    // Clears the canvas, sets its user coordinates and draws the file
    // name, the axes (or the Smith chart's grid) and the captions.
    void DrawFrame(Canvas& canvas);
    // Describes the point and draws it when it is drawn: the first as a
    // point, each later one joined by a blue line to the one before, then
    // a black dot, and the impedance plots' label at the point.
    PlotMark Add(Canvas& canvas, const PlotSample& sample);
    // The sweep has ended: later text is bold.
    void Finish(Canvas& canvas);

    // Where a sample goes in user coordinates (the impedance and Smith
    // plots put R and X, the others F and the value).
    void Position(const PlotSample& sample, float& x, float& y) const;

private:
    SweepPlotSetup setup_;
    PlotFrame frame_;
    bool first_ = true;
    float penX_ = 0, penY_ = 0;
};

}  // namespace qw
