// The pattern window's commands on solved antennas, drawn onto a
// recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "fields/far_field.h"
#include "model/format_mask.h"
#include "platform/recording_canvas.h"
#include "plots/pattern_compare.h"
#include "plots/pattern_plot.h"
#include "plots/pattern_store.h"
#include "plots/polar_plot.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using Lines = std::vector<std::string>;

enum Lie { kVertical, kAlongY, kTilted };

// A half-wave dipole (1 m wavelength) in free space: vertical, horizontal
// along y, or tilted by 45 degrees in the x-z plane; its project file in a
// folder of its own.
struct Dipole : test::SolvedAntenna {
    test::TempDir dir;
    Lines echoed;
    ReportLines lines{ctx, [this](const std::string& l) { echoed.push_back(l); }};

    explicit Dipole(Lie lie = kVertical) {
        p.FileName = dir.File("test.qlk");
        if (lie == kVertical)
            Wire(10, 0, 0, -0.24f, 0, 0, 0.24f);
        else if (lie == kAlongY)
            Wire(10, 0, -0.24f, 0, 0, 0.24f, 0);
        else
            Wire(10, -0.17f, 0, -0.17f, 0.17f, 0, 0.17f);
        Source(5);
        Build();
    }
};

// A pattern file on a full disk: the cut is drawn all the same, and the
// result's note says the file was not written and why.
TEST(PatternPlot, APatternFileOnAFullDiskLeavesTheCutDrawnAndSaysSo) {
    Dipole a;
    std::filesystem::create_symlink("/dev/full", a.dir.File("test.PF"));
    PatternView view;
    RecordingCanvas c(640, 640);
    const Result drawn = PlotAzimuthCut(a.ctx, view, c, a.lines);
    ASSERT_TRUE(drawn.completed());
    ASSERT_TRUE(drawn.fault.has_value());
    EXPECT_EQ(drawn.fault->title, "SavePatternCut");
    EXPECT_EQ(drawn.fault->text.rfind("The pattern file was not written: ", 0), 0u) << drawn.fault->text;
    EXPECT_NE(drawn.fault->text.find("No space left on device"), std::string::npos) << drawn.fault->text;
    EXPECT_FALSE(c.OpsOf(DrawKind::Line, kBlue).empty());
}

TEST(PatternPlot, AzimuthCutOfAVerticalDipoleIsACircleWithItsCaptionsAndAnOverlay) {
    Dipole a;
    PatternView view;
    RecordingCanvas c(640, 640);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines).completed());
    const PatternCut& cut = view.cut;
    EXPECT_NEAR(cut.maxGain, 2.15f, 0.1f);
    const PolarGeometry g = PolarGeometryOf(c);
    const auto blue = c.OpsOf(DrawKind::Line, kBlue);
    ASSERT_FALSE(blue.empty());
    for (const auto& op : blue) EXPECT_NEAR(std::hypot(op.x2 - g.cx, op.y2 - g.cy), g.R, 1.5);
    EXPECT_TRUE(c.OpsOf(DrawKind::Line, kRed).empty());

    // cli_pattern.sh checks the captions over ground; here in free space.
    ASSERT_EQ(a.echoed.size(), 7u);
    EXPECT_EQ(a.echoed[2], " Antenna in Free Space");
    EXPECT_EQ(a.echoed[4], " Max = " + Format(cut.maxGain, "0.00") + " dBi");
    // The same lines on the picture, the last one bold at the top right.
    const auto texts = c.OpsOf(DrawKind::Text, kBlack);
    ASSERT_GE(texts.size(), 7u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(texts[texts.size() - 7 + i].text, a.echoed[i]);
    EXPECT_TRUE(texts.back().bold);

    // An overlay keeps the picture and continues the captions, once.
    const float end = view.captionEnd;
    EXPECT_FLOAT_EQ(end, 6 * c.TextHeight());
    view.Overlay = true;
    const auto clears = [&c] {
        return std::count_if(c.Ops().begin(), c.Ops().end(), [](const DrawOp& op) { return op.kind == DrawKind::Clear; });
    };
    ASSERT_TRUE(PlotZenithCut(a.ctx, view, c, a.lines).completed());
    EXPECT_FALSE(view.Overlay);
    EXPECT_EQ(clears(), 1);
    const auto after = c.OpsOf(DrawKind::Text, kBlack);
    const auto zenithTitle = std::find_if(after.begin(), after.end(),
                                          [](const DrawOp& op) { return op.text == "TEST.QLK Zenith Total Field"; });
    ASSERT_NE(zenithTitle, after.end());
    EXPECT_DOUBLE_EQ(zenithTitle->y1, end);
    ASSERT_TRUE(PlotZenithCut(a.ctx, view, c, a.lines).completed());
    EXPECT_EQ(clears(), 2);
}

TEST(PatternPlot, FrontToBackTakesTheTotalGainBehind) {
    // Tilted: the horizontal component peaks where the vertical one is
    // strong too, so the two back values differ.
    Dipole a(kTilted);
    PatternView view;
    view.CutAngle = 30;
    view.FieldType = kHorizontalField;
    RecordingCanvas c(300, 300);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines).completed());
    const float phiMax = static_cast<float>(360 - view.cut.maxPosition);
    const float phiBack = phiMax < 180 ? phiMax + 180 : phiMax - 180;
    FarFieldSetup setup;
    ASSERT_TRUE(PrepareFarField(a.ctx, setup, true));
    DirectionGains back;
    const float totalBack = FieldAtDirection(a.ctx, setup, phiBack, 60, &back);
    ASSERT_GT(totalBack - back.horizontal, 1.0f);
    EXPECT_FLOAT_EQ(view.cut.frontToBack, view.cut.maxGain - totalBack);
}

TEST(PatternPlot, AStepThatDoesNotDivide360FillsEveryDrawnPosition) {
    Dipole a(kAlongY);
    a.ctx.options.PlotStep = 7;
    PatternView view;
    view.CutAngle = 20;
    RecordingCanvas c(300, 300);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines).completed());
    FarFieldSetup setup;
    ASSERT_TRUE(PrepareFarField(a.ctx, setup, true));
    for (int q = 0; q <= 357; q += 7)
        EXPECT_FLOAT_EQ(view.cut.values[static_cast<std::size_t>(q)],
                        FieldAtDirection(a.ctx, setup, static_cast<float>(360 - q), 70))
            << q;
    EXPECT_EQ(CutCurve(view.cut).size(), 52u);
}

TEST(PatternPlot, ComparisonScalesBothCutsToTheLoadedOne) {
    // cli_pattern.sh checks the text blocks and the refusals.
    Dipole a(kAlongY);
    PatternView view;
    RecordingCanvas c(640, 640);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines).completed());
    // The other antenna: the same dipole, its stored cut 3 dB higher.
    PatternFileHeader h;
    PatternBlock b;
    ASSERT_TRUE(FindPatternBlock(a.ctx, a.dir.File("test.PF"), kAzimuthPlane, h, b));
    for (int i = 0; i < b.OfPoints; ++i) b.Data[static_cast<std::size_t>(i)] += 3;
    h.Title = "OTHER.QLK";
    SetHeaderLengths(h);
    std::string bytes;
    WritePatternHeader(bytes, h);
    WritePatternBlock(bytes, b);
    test::WriteBytes(a.dir.File("OTHER.PF"), bytes);
    RecordingCanvas cmp(640, 640);
    ASSERT_TRUE(ComparePatternFile(a.ctx, view, cmp, a.dir.File("OTHER.PF")).completed());
    const auto redText = cmp.OpsOf(DrawKind::Text, kRed);
    ASSERT_EQ(redText.size(), 4u);
    EXPECT_EQ(redText[3].text, "Gain = " + Format(BlockMaximum(b), "##0.00") + " dBi");
    // The loaded cut is the reference: its maximum on the outer circle,
    // the current one 3 dB inside.
    const PolarGeometry g = PolarGeometryOf(cmp);
    const auto redLines = cmp.OpsOf(DrawKind::Line, kRed);
    const auto blueLines = cmp.OpsOf(DrawKind::Line, kBlue);
    ASSERT_FALSE(redLines.empty());
    ASSERT_FALSE(blueLines.empty());
    double redMax = 0, blueMax = 0;
    for (const auto& op : redLines) redMax = std::max(redMax, std::hypot(op.x2 - g.cx, op.y2 - g.cy));
    for (const auto& op : blueLines) blueMax = std::max(blueMax, std::hypot(op.x2 - g.cx, op.y2 - g.cy));
    EXPECT_NEAR(redMax, g.R, 1.5);
    // A full circle of stored values is closed: the last line ends at the first value.
    const PixelPoint first = PolarPoint(g, PlotRadius(b.Data[0] - BlockMaximum(b), g.R, a.ctx.options), 0);
    EXPECT_EQ((PixelPoint{static_cast<float>(redLines.back().x2), static_cast<float>(redLines.back().y2)}), first);
    EXPECT_NEAR(blueMax, PlotRadius(-3, g.R, a.ctx.options), 1.5);
}

TEST(PatternPlot, AHeightEnteredSinceTheLastSolutionIsTheOneComputed) {
    // A horizontal dipole over perfect ground, solved at a quarter wave.
    auto overGround = [](float height) {
        auto d = std::make_unique<Dipole>(kAlongY);
        d->PerfectGround();
        d->p.Height = height;
        d->Build();
        return d;
    };
    auto changed = overGround(0.25f);
    PatternView view;
    view.CutAngle = 90;
    RecordingCanvas c(300, 300);
    ASSERT_TRUE(PlotZenithCut(changed->ctx, view, c, changed->lines).completed());
    const PatternCut atQuarterWave = view.cut;
    // The height entered afterwards, as the pattern window's box does it.
    changed->p.Height = 0.5f;
    changed->ctx.Changed(Change::Geometry);
    ASSERT_TRUE(PlotZenithCut(changed->ctx, view, c, changed->lines).completed());
    EXPECT_TRUE(PulsesCurrent(changed->ctx));

    auto fresh = overGround(0.5f);
    PatternView freshView = view;
    ASSERT_TRUE(PlotZenithCut(fresh->ctx, freshView, c, fresh->lines).completed());
    EXPECT_FLOAT_EQ(view.cut.maxGain, freshView.cut.maxGain);
    EXPECT_FLOAT_EQ(view.cut.takeOffAngle, freshView.cut.takeOffAngle);
    // Half a wave up the zenith is a null; a quarter wave up it is the maximum.
    EXPECT_EQ(atQuarterWave.takeOffAngle, 90);
    EXPECT_LT(view.cut.values[90], view.cut.maxGain - 20);
}

}  // namespace
}  // namespace qw
