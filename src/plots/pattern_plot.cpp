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

Result PlotCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines, int plane) {
    view.PlotPlane = plane;
    auto setup = std::make_unique<FarFieldSetup>();
    // A height entered since the pulses were built moves every pulse: the
    // table is built again and the antenna solved anew, so that the cut is
    // the one of the height its captions show.
    if (!PulsesCurrent(ctx))
        if (Result built = RefreshSolver(ctx); !built.completed()) return built;
    if (ctx.project.SourceCount > 0 && !SolutionCurrent(ctx))
        if (Result solved = ZMCompute(ctx); !solved.completed()) return solved;
    if (ctx.project.SourceCount == 0 || !PrepareFarField(ctx, *setup, true))
        return Result::Failed(FaultMessage("Power is Zero"));
    const int step = ctx.options.PlotStep >= 1 ? ctx.options.PlotStep : 1;
    PatternCut cut = plane == kAzimuthPlane ? ComputeAzimuthCut(ctx, *setup, view.FieldType, view.CutAngle, step)
                                            : ComputeZenithCut(ctx, *setup, view.FieldType, view.CutAngle, step);
    view.cut = cut;
    view.hasCut = true;

    // A pattern file that cannot be written leaves the plot standing.
    const std::string stored =
        SavePatternCut(ctx, cut, cut.span, static_cast<float>(cut.firstAngle), static_cast<float>(cut.step));
    Result result;
    if (!stored.empty())
        result = Result::CompletedWith(FaultMessage("The pattern file was not written: " + stored, "SavePatternCut"));

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
    return result;
}

}  // namespace

Result PlotAzimuthCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines) {
    return PlotCut(ctx, view, canvas, lines, kAzimuthPlane);
}

Result PlotZenithCut(Context& ctx, PatternView& view, Canvas& canvas, ReportLines& lines) {
    return PlotCut(ctx, view, canvas, lines, kZenithPlane);
}

}  // namespace qw
