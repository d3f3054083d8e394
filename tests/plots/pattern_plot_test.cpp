// The pattern window's commands on solved antennas, drawn onto a
// recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "support/solved_antenna.h"
#include "platform/recording_canvas.h"
#include "plots/pattern_compare.h"
#include "plots/pattern_plot.h"
#include "plots/pattern_store.h"
#include "plots/polar_plot.h"
#include "fields/far_field.h"
#include "model/number_text.h"
#include <filesystem>

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

TEST(PatternPlot, AzimuthCutOfAVerticalDipoleIsACircleWithItsCaptions) {
    Dipole a;
    PatternView view;
    RecordingCanvas c(640, 640);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines));
    const PatternCut& cut = view.cut;
    EXPECT_NEAR(cut.maxGain, 2.15f, 0.1f);
    for (int q = 0; q <= 360; q += 2) EXPECT_NEAR(cut.values[static_cast<std::size_t>(q)], cut.maxGain, 1e-3);

    const PolarGeometry g = PolarGeometryOf(c);
    const auto blue = c.OpsOf(DrawKind::Line, kBlue);
    ASSERT_FALSE(blue.empty());
    for (const auto& op : blue) EXPECT_NEAR(std::hypot(op.x2 - g.cx, op.y2 - g.cy), g.R, 1.5);
    EXPECT_TRUE(c.OpsOf(DrawKind::Line, kRed).empty());

    ASSERT_EQ(a.echoed.size(), 7u);
    EXPECT_EQ(a.echoed[0], "TEST.QLK Azimuth Total Field");
    EXPECT_EQ(a.echoed[1], " Frequency  =  299.800 Mhz");
    EXPECT_EQ(a.echoed[2], " Antenna in Free Space");
    EXPECT_EQ(a.echoed[3], " Zenith Angle =  0 deg.");
    EXPECT_EQ(a.echoed[4].substr(0, 10), " Max = 2.1");
    EXPECT_EQ(a.echoed[4].substr(11), " dBi");
    EXPECT_TRUE(a.echoed[5] == " F/B = 0.00 dB" || a.echoed[5] == " F/B = -0.00 dB") << a.echoed[5];
    EXPECT_EQ(a.echoed[6], " 0 dB = " + a.echoed[4].substr(7, 4) + " dBi");
    // The same lines on the picture, the last one bold at the top right.
    const auto texts = c.OpsOf(DrawKind::Text, kBlack);
    ASSERT_GE(texts.size(), 7u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(texts[texts.size() - 7 + i].text, a.echoed[i]);
    EXPECT_TRUE(texts.back().bold);
}

TEST(PatternPlot, ZenithCutWithMarkersAndLobes) {
    Dipole a;
    a.ctx.options.Marker3dB = true;
    PatternView view;
    view.CutAngle = 0;
    RecordingCanvas c(640, 640);
    ASSERT_TRUE(PlotZenithCut(a.ctx, view, c, a.lines));
    const PatternCut& cut = view.cut;
    EXPECT_EQ(cut.span, 360);  // free space: -90 .. 270
    EXPECT_EQ(cut.maxPosition, 0);  // the horizon at -90 comes first
    EXPECT_FLOAT_EQ(cut.takeOffAngle, 0);
    EXPECT_EQ(a.echoed[0], "TEST.QLK Zenith Total Field");
    EXPECT_EQ(a.echoed[3], " Azimuth Angle =  0 deg.");
    EXPECT_TRUE(std::none_of(a.echoed.begin(), a.echoed.end(),
                             [](const std::string& l) { return l.rfind(" F/B", 0) == 0; }));
    // A figure eight: four -3 dB crossings, lobes at the two horizons.
    EXPECT_EQ(c.OpsOf(DrawKind::Line, kRed).size(), 4u);
    Lines lobes;
    for (const auto& l : a.echoed)
        if (l.rfind(" Lobe at : ", 0) == 0) lobes.push_back(l);
    ASSERT_EQ(lobes.size(), 2u);
    // Zenith -90 is 180 degrees from the horizon at +90.
    EXPECT_EQ(lobes[0].substr(0, 17), " Lobe at : 180\xBA (");
    EXPECT_EQ(lobes[1].substr(0, 15), " Lobe at : 0\xBA (");
}

TEST(PatternPlot, ZenithCutOverGroundCoversTheUpperHalfOnly) {
    Dipole a;
    a.PerfectGround();
    a.p.Height = 1;
    for (int w = 1; w <= a.p.WireCount; ++w) {
        a.p.Wires[w].Z1 += 1;
        a.p.Wires[w].Z2 += 1;
    }
    a.Build();
    PatternView view;
    RecordingCanvas c(400, 400);
    ASSERT_TRUE(PlotZenithCut(a.ctx, view, c, a.lines));
    EXPECT_EQ(view.cut.span, 180);
    EXPECT_EQ(CutCurve(view.cut).size(), 91u);
    EXPECT_EQ(CutCurve(view.cut).back().angle, 90);
    EXPECT_EQ(a.echoed[2].substr(0, 28), " Antenna Height is :  1 m ( ");
    EXPECT_NE(a.echoed[2].find("ft) Perfect Ground"), std::string::npos);
}

TEST(PatternPlot, FrontToBackTakesTheTotalGainBehind) {
    // Tilted: the horizontal component peaks where the vertical one is
    // strong too, so the two back values differ.
    Dipole a(kTilted);
    PatternView view;
    view.CutAngle = 30;
    view.FieldType = kHorizontalField;
    RecordingCanvas c(300, 300);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines));
    EXPECT_EQ(a.echoed[0], "TEST.QLK Azimuth Horizontal Field");
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
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines));
    FarFieldSetup setup;
    ASSERT_TRUE(PrepareFarField(a.ctx, setup, true));
    for (int q = 0; q <= 357; q += 7)
        EXPECT_FLOAT_EQ(view.cut.values[static_cast<std::size_t>(q)],
                        FieldAtDirection(a.ctx, setup, static_cast<float>(360 - q), 70))
            << q;
    EXPECT_EQ(CutCurve(view.cut).size(), 52u);
}

TEST(PatternPlot, NoSourceDrawsNothing) {
    Dipole a;
    a.p.SourceCount = 0;
    PatternView view;
    RecordingCanvas c(300, 300);
    EXPECT_FALSE(PlotAzimuthCut(a.ctx, view, c, a.lines));
    EXPECT_EQ(a.host.MessageTexts(), (Lines{"Power is Zero"}));
    EXPECT_TRUE(c.Ops().empty());
    EXPECT_TRUE(a.echoed.empty());
    EXPECT_FALSE(std::filesystem::exists(a.dir.File("test.PF")));
}

TEST(PatternPlot, OverlayKeepsThePictureAndContinuesTheCaptionsOnce) {
    Dipole a;
    PatternView view;
    RecordingCanvas c(640, 640);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines));
    const float end = view.captionEnd;
    EXPECT_FLOAT_EQ(end, 6 * c.TextHeight());
    view.Overlay = true;
    ASSERT_TRUE(PlotZenithCut(a.ctx, view, c, a.lines));
    EXPECT_FALSE(view.Overlay);
    const auto clears = std::count_if(c.Ops().begin(), c.Ops().end(),
                                      [](const DrawOp& op) { return op.kind == DrawKind::Clear; });
    EXPECT_EQ(clears, 1);
    const auto texts = c.OpsOf(DrawKind::Text, kBlack);
    const auto zenithTitle = std::find_if(texts.begin(), texts.end(),
                                          [](const DrawOp& op) { return op.text == "TEST.QLK Zenith Total Field"; });
    ASSERT_NE(zenithTitle, texts.end());
    EXPECT_DOUBLE_EQ(zenithTitle->y1, end);
    ASSERT_TRUE(PlotZenithCut(a.ctx, view, c, a.lines));
    EXPECT_EQ(std::count_if(c.Ops().begin(), c.Ops().end(), [](const DrawOp& op) { return op.kind == DrawKind::Clear; }),
              2);
}

TEST(PatternPlot, ComparisonDrawsBothCutsWithTheirTextBlocks) {
    Dipole a(kAlongY);
    PatternView view;
    RecordingCanvas c(640, 640);
    ASSERT_TRUE(PlotAzimuthCut(a.ctx, view, c, a.lines));
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

    EXPECT_FALSE(ComparePatternFile(a.ctx, view, c, a.dir.File("TEST.pf")));
    EXPECT_EQ(a.host.MessageTexts(), (Lines{"This is your current antenna"}));
    RecordingCanvas cmp(640, 640);
    ASSERT_TRUE(ComparePatternFile(a.ctx, view, cmp, a.dir.File("OTHER.PF")));
    const auto blueText = cmp.OpsOf(DrawKind::Text, kBlue);
    const auto redText = cmp.OpsOf(DrawKind::Text, kRed);
    const std::string gain = Format(view.cut.maxGain, "##0.00");
    EXPECT_EQ(blueText.size(), 5u);  // title, environment and notes; frequency; angle; gain; the empty line
    ASSERT_EQ(redText.size(), 4u);
    EXPECT_EQ(blueText[0].text, "test.qlk Height =  0m Free Space");
    EXPECT_EQ(blueText[3].text, "Gain = " + gain + " dBi");
    EXPECT_EQ(redText[0].text, "OTHER.QLK Height =  0m Free Space");
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

    PatternView zenith = view;
    zenith.PlotPlane = kZenithPlane;
    EXPECT_FALSE(ComparePatternFile(a.ctx, zenith, cmp, a.dir.File("OTHER.PF")));
    EXPECT_EQ(a.host.MessageTexts().back(), "Pattern not found in file");
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
    ASSERT_TRUE(PlotZenithCut(changed->ctx, view, c, changed->lines));
    const PatternCut atQuarterWave = view.cut;
    // The height entered afterwards, as the pattern window's box does it.
    changed->p.Height = 0.5f;
    changed->p.HeightChanged = true;
    ASSERT_TRUE(PlotZenithCut(changed->ctx, view, c, changed->lines));
    EXPECT_FALSE(changed->p.HeightChanged);

    auto fresh = overGround(0.5f);
    PatternView freshView = view;
    ASSERT_TRUE(PlotZenithCut(fresh->ctx, freshView, c, fresh->lines));
    EXPECT_FLOAT_EQ(view.cut.maxGain, freshView.cut.maxGain);
    EXPECT_FLOAT_EQ(view.cut.takeOffAngle, freshView.cut.takeOffAngle);
    // Half a wave up the zenith is a null; a quarter wave up it is the maximum.
    EXPECT_EQ(atQuarterWave.takeOffAngle, 90);
    EXPECT_LT(view.cut.values[90], view.cut.maxGain - 20);
}

}  // namespace
}  // namespace qw
