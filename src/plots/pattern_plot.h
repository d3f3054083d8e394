// The pattern window's drawing commands without the window: a cut is
// computed, stored in the project's pattern file, drawn on a polar grid
// onto a canvas, and captioned.
#pragma once

#include <string>

#include "fields/report_lines.h"
#include "platform/canvas.h"
#include "platform/outcome.h"
#include "plots/pattern_cut.h"

namespace qw {

// What the pattern window keeps between its commands.
struct PatternView {
    int FieldType = kTotalField;  // 1 total, 2 horizontal, 3 vertical
    int PlotPlane = 0;            // 0 none, 1 azimuth cut, 2 zenith cut
    float CutAngle = 0;           // elevation (azimuth cut) or azimuth (zenith cut), degrees
    bool Overlay = false;         // the next cut is drawn over the picture; then switched off
    float captionEnd = 0;         // where the last captions ended (canvas units)
    bool hasCut = false;
    PatternCut cut;               // the last cut and its results
};

// Draws the azimuth cut at view.CutAngle degrees of elevation with the
// step ctx.options.PlotStep, or the zenith cut at view.CutAngle degrees of
// azimuth. A project whose height changed gets its pulses built again;
// then it is solved when it is not solved. A project without
// sources or with an input power of 0 or less fails with "Power is Zero"
// and nothing is drawn. The captions are written on the picture and,
// through `lines`, to the log and the echo. The cut is stored in the
// project's pattern file; a failure to write it is the completed result's
// note and the plot stays. Completed when the cut was drawn.
Result PlotAzimuthCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines);
Result PlotZenithCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines);

}  // namespace qw
