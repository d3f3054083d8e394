// The limits dialog of the sweep plots ("PlotLimits"): R and X limits of
// the impedance plot, or band, step and value limits of the SWR, gain and
// F/B plots. Its title and labels follow the kind; OK stays open while the
// band cannot be swept.
#pragma once

#include <array>

#include "model/context.h"
#include "plots/sweep_plot.h"
#include "ui/window_placement.h"

namespace qw {

class NumberBox;

class PlotLimitsDialog : public PlacedDialog {
    Q_OBJECT
public:
    PlotLimitsDialog(Context& ctx, SweepPlotKind kind, QWidget* parent = nullptr);
    NumberBox* Box(int index) const { return boxes_[static_cast<std::size_t>(index)]; }

private:
    void Ok();
    SweepPlotKind kind_;
    std::array<NumberBox*, 5> boxes_{};
};

// Shows the dialog modally: true when OK stored the limits, false (and
// AbortFlag set) when it was cancelled.
bool RunPlotLimitsDialog(Context& ctx, SweepPlotKind kind, QWidget* parent);

}  // namespace qw
