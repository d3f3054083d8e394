#include "plots/pattern_plot.h"

#include <memory>

#include "fields/far_field.h"
#include "platform/host.h"
#include "plots/cut_captions.h"
#include "plots/cut_compute.h"
#include "plots/lobe_scan.h"
#include "plots/pattern_store.h"
#include "plots/polar_plot.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"

namespace qw {

namespace {

bool PlotCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines, int plane) {
    view.PlotPlane = plane;
    ctx.AbortFlag = false;
    auto setup = std::make_unique<FarFieldSetup>();
    // A height entered since the pulses were built moves every pulse: the
    // table is built again and the antenna solved anew, so that the cut is
    // the one of the height its captions show.
    if (!PulsesCurrent(ctx) && !Conclude(ctx, RefreshSolver(ctx))) return false;
    if (ctx.project.SourceCount > 0 && !SolutionCurrent(ctx) && !Conclude(ctx, ZMCompute(ctx))) return false;
    if (ctx.project.SourceCount == 0 || !PrepareFarField(ctx, *setup, true)) {
        ctx.host->Notify("Power is Zero");
        return false;
    }
    const int step = ctx.options.PlotStep >= 1 ? ctx.options.PlotStep : 1;
    PatternCut cut = plane == kAzimuthPlane ? ComputeAzimuthCut(ctx, *setup, view.FieldType, view.CutAngle, step)
                                            : ComputeZenithCut(ctx, *setup, view.FieldType, view.CutAngle, step);
    view.cut = cut;
    view.hasCut = true;

    const std::string stored =
        SavePatternCut(ctx, cut, cut.span, static_cast<float>(cut.firstAngle), static_cast<float>(cut.step));
    if (!stored.empty()) ctx.host->Notify("The pattern file was not written: " + stored, "SavePatternCut");

    const PolarGeometry g = PolarGeometryOf(canvas);
    DrawPolarGrid(canvas, g, ctx.options, view.Overlay);
    DrawCurve(canvas, g, ctx.options, CutCurve(cut), cut.maxGain, kBlue, true);

    canvas.SetForeColour(kPlotForeground);
    canvas.SetBold(false);
    canvas.CurrentX = canvas.ScaleLeft();
    canvas.CurrentY = view.Overlay ? view.captionEnd : canvas.ScaleTop();
    view.Overlay = false;
    const CutCaptions captions = MakeCutCaptions(ctx.project, cut, ScanLobes(cut));
    for (const std::string& line : captions.lines) {
        canvas.Print(line);
        lines.Write(line);
    }
    view.captionEnd = canvas.CurrentY;
    canvas.SetBold(true);
    canvas.PrintAt(g.cx + g.R / 2, canvas.ScaleTop(), captions.zeroDb);
    canvas.SetBold(false);
    lines.Write(captions.zeroDb);
    return true;
}

}  // namespace

bool PlotAzimuthCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines) {
    return PlotCut(ctx, view, canvas, lines, kAzimuthPlane);
}

bool PlotZenithCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines) {
    return PlotCut(ctx, view, canvas, lines, kZenithPlane);
}

}  // namespace qw
