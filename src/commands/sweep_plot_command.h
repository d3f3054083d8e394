// The sweep plots' commands without the window: the plot kinds' limits
// dialog ("PlotLimits"), the setup a plot is drawn for, and the sweep that
// hands its points to the plot in frequency order.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/context.h"
#include "platform/outcome.h"
#include "plots/sweep_plot.h"

namespace qw {

// The "PlotLimits" dialog of a kind: its title, the labels of its boxes
// (box 4 only for gain and F/B) and their texts from the settings. For the
// SWR plot an SWR limit of 0 or less is shown as 5. The Smith chart uses
// the impedance plot's dialog.
struct PlotLimitsForm {
    std::string title;
    std::array<std::string, 5> labels;
    std::array<std::string, 5> texts;
    bool fifthBox = false;
};
PlotLimitsForm PlotLimitsFormOf(const Context& ctx, SweepPlotKind kind);

// The dialog's OK with the texts of its boxes. A box 0-3 that is not a
// number counts as 0. Impedance: the values rounded into R max, R min,
// X max, X min, each pair put in order. SWR, gain, F/B: the upper and lower
// frequency and the step; the SWR limit, or the gain limits (written to the
// settings file at once). A frequency limit or step of 0 or less, or a step
// too small to move the frequency, is refused with a message: false, and
// nothing is stored.
bool ApplyPlotLimits(Context& ctx, SweepPlotKind kind, const std::array<std::string, 5>& texts);

// The plot of a kind as the settings give it, for the project.
SweepPlotSetup PlotSetupOf(const Context& ctx, SweepPlotKind kind);

// Checks the band of a cleaned setup before its sweep runs: the sweep's
// band rules and at most `limit` points.
Result CheckPlotBand(const SweepPlotSetup& cleaned, std::size_t limit = 100000);

// Solves the points of the plot on `workers` threads (the parent context
// is only read: its frequency stays) and hands each solved point over in
// frequency order. "Power is Zero" is shown once for the gain and F/B
// plots. Fails when the project has no sources or the band is refused;
// Stopped on a stop request.
Result RunSweepPlot(Context& ctx, const SweepPlotSetup& setup, int workers,
                    const std::function<void(const PlotSample&)>& onPoint);

// The points as CSV, with the columns of the sweep command's --csv:
// frequency_mhz,r_ohm,x_ohm,swr,gain_db,fb_db (SWR "Infinite" or
// "Undefined" where it has no value).
std::string SweepCsv(const std::vector<PlotSample>& points);

// "Save Points as CSV": asks for the file and writes the points; the user
// is told when it could not be written.
void SaveSweepCsv(Context& ctx, const std::vector<PlotSample>& points);

}  // namespace qw
