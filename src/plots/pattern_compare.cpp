#include "plots/pattern_compare.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/format_mask.h"
#include "platform/host.h"
#include "plots/lobe_scan.h"
#include "plots/pattern_store.h"
#include "plots/polar_plot.h"

namespace qw {

namespace {

// The stored values as a curve; a block that goes once round the circle
// (N x step = 360) is closed by its first value again.
std::vector<CurvePoint> BlockCurve(const PatternBlock& b) {
    std::vector<CurvePoint> points;
    for (int i = 0; i < b.OfPoints && i < kPatternMaxPoints; ++i)
        points.push_back({b.StartAngle + static_cast<float>(i) * b.AngleInc, b.Data[static_cast<std::size_t>(i)]});
    if (!points.empty() && std::fabs(static_cast<float>(b.OfPoints) * b.AngleInc - 360) < 1e-3f)
        points.push_back({points.front().angle + 360, points.front().value});
    return points;
}

// Prints a text that may hold CR LF line breaks, one canvas line each.
void PrintLines(Canvas& canvas, const std::string& text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        canvas.Print(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return;
        start = end + 2;
    }
}

void TextBlock(Canvas& canvas, const PatternFileHeader& h, const PatternBlock& b, float gainDbi) {
    PrintLines(canvas, h.Title + " " + h.Environ + " " + h.Notes);
    canvas.Print("Frequency = " + Format(b.Frequency, "##0.000 Mhz"));
    canvas.Print("Angle = " + Format(ShownPlaneAngle(h, b), std::string("##0 ") + kCompareDegree));
    canvas.Print("Gain = " + Format(gainDbi, "##0.00 dBi"));
}

}  // namespace

float BlockMaximum(const PatternBlock& b) {
    float m = -999;
    for (int i = 0; i < b.OfPoints && i < kPatternMaxPoints; ++i) m = std::max(m, b.Data[static_cast<std::size_t>(i)]);
    return m;
}

void DrawComparison(Canvas& canvas, const ProgramOptions& options, const PatternFileHeader& currentHeader,
                    const PatternBlock& currentBlock, float currentMaxDbi, const PatternFileHeader& loadedHeader,
                    const PatternBlock& loadedBlock) {
    const float loadedMax = BlockMaximum(loadedBlock);
    const float reference = std::max(loadedMax, currentMaxDbi);
    const PolarGeometry g = PolarGeometryOf(canvas);
    DrawPolarGrid(canvas, g, options, false);
    DrawCurve(canvas, g, options, BlockCurve(currentBlock), reference, kBlue, false);
    DrawCurve(canvas, g, options, BlockCurve(loadedBlock), reference, kRed, false);
    canvas.SetBold(false);
    canvas.CurrentX = canvas.ScaleLeft();
    canvas.CurrentY = canvas.ScaleTop();
    canvas.SetForeColour(kBlue);
    TextBlock(canvas, currentHeader, currentBlock, currentMaxDbi);
    canvas.Print("");
    canvas.SetForeColour(kRed);
    TextBlock(canvas, loadedHeader, loadedBlock, loadedMax);
    canvas.SetForeColour(kPlotForeground);
}

Result ComparePatternFile(Context& ctx, const PatternView& view, Canvas& canvas, const std::string& chosenPath) {
    PatternFileHeader loadedHeader, currentHeader;
    PatternBlock loadedBlock, currentBlock;
    if (Result loaded = LoadPatternCut(ctx, chosenPath, view.PlotPlane, loadedHeader, loadedBlock); !loaded.completed())
        return loaded;
    if (!FindPatternBlock(ctx, PatternFileName(ctx.project.FileName), loadedBlock.Plane + 1, currentHeader,
                          currentBlock))
        return Result::Failed(FaultMessage("Pattern not found in file"));
    float currentMax = BlockMaximum(currentBlock);
    if (view.hasCut && view.cut.plane == loadedBlock.Plane + 1)
        currentMax = view.cut.maxGain + (view.cut.gainInDbi ? 0.0f : 2.15f);
    DrawComparison(canvas, ctx.options, currentHeader, currentBlock, currentMax, loadedHeader, loadedBlock);
    return {};
}

}  // namespace qw
