// The 2D views of the Yagi example on a recording canvas: the fit of the
// wires into the picture, the wires, pulses, lengths, source circle and
// axis captions of each plane, the read-outs of clicked points, the unit
// cycle and the colour keys.
#include "plots/antenna_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "commands/checks.h"
#include "commands/main_commands.h"
#include "model/new_project.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_host.h"
#include "solver/pulse_points.h"
#include "solver/solver.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;

struct YagiView : ::testing::Test {
    test::TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    ProgramOptions::ViewColours colours;

    YagiView() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        NewProject(ctx);
        EXPECT_TRUE(OpenNamedProject(ctx, kExamples + "/yagi3.qlk"));
        RebuildPulses(ctx);  // at the height the file gives
        EXPECT_FALSE(ctx.AbortFlag);
    }
    RecordingCanvas Draw(const AntennaViewState& state, int width = 640, int height = 640) {
        RecordingCanvas canvas(width, height);
        DrawAntennaView(canvas, p, PulsePoints(ctx), state, colours);
        return canvas;
    }
    static std::vector<std::string> Texts(const RecordingCanvas& c) {
        std::vector<std::string> texts;
        for (const DrawOp& op : c.Visible())
            if (op.kind == DrawKind::Text) texts.push_back(op.text);
        return texts;
    }
    static bool Has(const std::vector<std::string>& texts, const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

TEST_F(YagiView, PulsePointsFollowTheTableWithoutTheHeight) {
    ASSERT_FLOAT_EQ(p.Height, 15);
    const auto points = PulsePoints(ctx);
    ASSERT_EQ(points.size(), 28u);  // three wires of 10 segments: 9 pulses each
    EXPECT_EQ(points[14].wire, 2);  // the source's pulse, the middle of the driven element
    EXPECT_NEAR(points[14].x, 0, 1e-6);
    EXPECT_NEAR(points[14].y, 0, 1e-5);
    EXPECT_NEAR(points[14].z, 0, 1e-5);
    EXPECT_EQ(points[1].wire, 1);
    EXPECT_NEAR(points[1].y, -5.3 + 1.06, 1e-5);
    // An edit leaves the table stale: no marks rather than marks in the wrong place.
    p.Wires[1].X1 = -3;
    ctx.Changed(Change::Geometry);
    EXPECT_TRUE(PulsePoints(ctx).empty());
}

TEST_F(YagiView, XYViewDrawsWiresSourceCaptionsAndLengths) {
    const RecordingCanvas c = Draw({});
    ASSERT_FALSE(c.Ops().empty());
    EXPECT_EQ(c.Ops().front().kind, DrawKind::Clear);
    EXPECT_EQ(c.Ops().front().pen.colour, PaletteColour(15));

    // The frame: x -2600..2100 mm, y -5300..5300 mm, the height fitted into
    // the square picture and a quarter of it added on each side.
    const ViewFrame f = FitView(p, kPlaneXY, 640, 640);
    EXPECT_FLOAT_EQ(f.left, -8200);
    EXPECT_FLOAT_EQ(f.right, 7700);
    EXPECT_FLOAT_EQ(f.top, 7950);
    EXPECT_FLOAT_EQ(f.bottom, -7950);
    EXPECT_FLOAT_EQ(f.unit, 26.5f);
    const double scale = 640.0 / 15900;  // pixels per mm
    auto px = [&](double mm) { return (mm - f.left) * scale; };
    auto py = [&](double mm) { return (f.top - mm) * scale; };

    const auto wires = c.OpsOf(DrawKind::Line, PaletteColour(9));
    ASSERT_EQ(wires.size(), 3u);
    const double xs[] = {-2600, 0, 2100}, halves[] = {5300, 5050, 4800};
    for (int w = 0; w < 3; ++w) {
        EXPECT_NEAR(wires[w].x1, px(xs[w]), 1e-3);
        EXPECT_NEAR(wires[w].x2, px(xs[w]), 1e-3);
        EXPECT_NEAR(wires[w].y1, py(-halves[w]), 1e-3);
        EXPECT_NEAR(wires[w].y2, py(halves[w]), 1e-3);
    }
    // The axes through the origin, dotted, in the foreground colour.
    const auto axes = c.OpsOf(DrawKind::Line, PaletteColour(8));
    ASSERT_EQ(axes.size(), 2u);
    for (const DrawOp& a : axes) EXPECT_EQ(a.pen.style, LineStyle::Dotted);
    EXPECT_NEAR(axes[0].y1, py(0), 1e-3);
    EXPECT_NEAR(axes[1].x1, px(0), 1e-3);

    // The source: a filled circle of radius 3u at the middle of wire 2.
    const auto source = c.OpsOf(DrawKind::Circle, PaletteColour(12));
    ASSERT_FALSE(source.empty());
    EXPECT_NEAR(source.front().x1, px(0), 0.01);
    EXPECT_NEAR(source.front().y1, py(0), 0.01);
    EXPECT_NEAR(source.front().x2, 3 * 26.5 * scale, 1e-3);
    for (const DrawOp& ring : source) EXPECT_LE(ring.x2, source.front().x2 + 1e-9);
    EXPECT_TRUE(c.OpsOf(DrawKind::Box, PaletteColour(11)).empty());  // no pulse marks
    EXPECT_TRUE(c.OpsOf(DrawKind::Box, PaletteColour(5)).empty());   // no loads

    const auto texts = Texts(c);
    EXPECT_TRUE(Has(texts, p.FileName + " units :Meters"));
    EXPECT_TRUE(Has(texts, "X axis"));
    EXPECT_TRUE(Has(texts, "Y axis"));
    EXPECT_TRUE(Has(texts, "10.60"));
    EXPECT_TRUE(Has(texts, "10.10"));
    EXPECT_TRUE(Has(texts, "9.60"));
}

TEST_F(YagiView, LengthsInEveryUnit) {
    struct Case {
        int unit;
        const char* name;
        const char* driven;  // the 10.1 m driven element
        const char* reflector;  // 10.6 m
    };
    // At 14.2 MHz a wavelength is 299.8 / 14.2 = 21.113 m.
    const Case cases[] = {
        {kMeters, "Meters", "10.10", "10.60"},   {kFeet, "Feet", "33.14", "34.78"},
        {kInches, "Inches", "398", "417"},       {kCentimeters, "cm", "1010.0", "1060.0"},
        {kMillimeters, "mm", "10100", "10600"}, {kWavelengths, "wlngth", "0.478", "0.502"},
    };
    for (const Case& k : cases) {
        p.Units = k.unit;
        const auto texts = Texts(Draw({}));
        EXPECT_TRUE(Has(texts, k.driven)) << k.name;
        EXPECT_TRUE(Has(texts, k.reflector)) << k.name;
        EXPECT_TRUE(Has(texts, p.FileName + " units :" + k.name)) << k.name;
    }
    // Without a frequency nothing can be a wavelength: the view shows metres.
    p.Frequency = 0;
    EXPECT_EQ(ShownUnit(p), kMeters);
    EXPECT_EQ(LengthLabel(p, 10.6), "10.60");
    EXPECT_TRUE(Has(Texts(Draw({})), p.FileName + " units :Meters"));
}

TEST_F(YagiView, SidePlanesUseTheWiresOwnZ) {
    for (const int plane : {kPlaneYZ, kPlaneXZ}) {
        AntennaViewState s;
        s.plane = plane;
        const RecordingCanvas c = Draw(s);
        const ViewFrame f = FitView(p, plane, 640, 640);
        const double zPixel = (f.top - 0.0) * 640 / (f.top - f.bottom);
        const auto source = c.OpsOf(DrawKind::Circle, PaletteColour(12));
        ASSERT_FALSE(source.empty());
        EXPECT_NEAR(source.front().y1, zPixel, 0.01);  // at z = 0, not at the 15 m height
        const auto texts = Texts(c);
        EXPECT_TRUE(Has(texts, plane == kPlaneYZ ? "Y axis" : "X axis"));
        EXPECT_TRUE(Has(texts, "Z axis"));
        EXPECT_EQ(c.OpsOf(DrawKind::Line, PaletteColour(9)).size(), 3u);
    }
    EXPECT_EQ(ViewCaption(kPlaneXY), "Antenna View XY Plane ");
    EXPECT_EQ(ViewCaption(kPlaneYZ), "Antenna View YZ Plane ");
    EXPECT_EQ(ViewCaption(kPlaneXZ), "Antenna View XZ Plane ");
    EXPECT_EQ(NextPlane(kPlaneXY), kPlaneYZ);
    EXPECT_EQ(NextPlane(kPlaneYZ), kPlaneXZ);
    EXPECT_EQ(NextPlane(kPlaneXZ), kPlaneXY);
}

TEST_F(YagiView, PulsesAndTheirNumbersReplaceTheLengths) {
    AntennaViewState s;
    s.pulses = true;
    const RecordingCanvas marks = Draw(s);
    EXPECT_EQ(marks.OpsOf(DrawKind::Box, PaletteColour(11)).size(), 27u);
    EXPECT_TRUE(Has(Texts(marks), "10.60"));
    s.pulseNumbers = true;
    s.pulseNumberColour = 4;
    const RecordingCanvas numbered = Draw(s);
    const auto numbers = numbered.OpsOf(DrawKind::Text, PaletteColour(4));
    ASSERT_EQ(numbers.size(), 27u);
    EXPECT_EQ(numbers.front().text, "1");
    EXPECT_EQ(numbers.back().text, "27");
    EXPECT_FALSE(Has(Texts(numbered), "10.60"));
    // Numbers without marks count as off.
    s.pulses = false;
    const RecordingCanvas plain = Draw(s);
    EXPECT_TRUE(plain.OpsOf(DrawKind::Text, PaletteColour(4)).empty());
    EXPECT_TRUE(Has(Texts(plain), "10.60"));
}

TEST_F(YagiView, LoadsAreSquaresOnTheirPulse) {
    p.Loads[1] = Load{5, 0, kSeriesRX, 10, 0, 0};
    p.LoadCount = 1;
    const RecordingCanvas c = Draw({});
    const auto loads = c.OpsOf(DrawKind::Box, PaletteColour(5));
    ASSERT_EQ(loads.size(), 1u);
    const ViewFrame f = FitView(p, kPlaneXY, 640, 640);
    const double scale = 640.0 / (f.right - f.left);
    EXPECT_NEAR(std::fabs(loads[0].x2 - loads[0].x1), 6 * f.unit * scale, 1e-3);
    EXPECT_NEAR((loads[0].x1 + loads[0].x2) / 2, (-2600 - f.left) * scale, 1e-3);  // on wire 1
}

TEST_F(YagiView, ClickReadOutsInTheShownUnit) {
    const ViewFrame f = FitView(p, kPlaneXY, 640, 640);
    auto pixelX = [&](double mm) { return (mm - f.left) * 640 / (f.right - f.left); };
    auto pixelY = [&](double mm) { return (f.top - mm) * 640 / (f.top - f.bottom); };
    const double x = pixelX(2100), y = pixelY(4800);
    EXPECT_EQ(PointText(p, kPlaneXY, f, 640, 640, x, y), "X = 2.10, Y = 4.80");
    p.Units = kFeet;
    EXPECT_EQ(PointText(p, kPlaneXY, f, 640, 640, x, y), "X = 6.89, Y = 15.75");
    p.Units = kInches;
    EXPECT_EQ(PointText(p, kPlaneXY, f, 640, 640, x, y), "X = 83, Y = 189");
    p.Units = kWavelengths;
    EXPECT_EQ(PointText(p, kPlaneXY, f, 640, 640, x, y), "X = 0.10, Y = 0.23");
    p.Units = kMeters;
    EXPECT_EQ(PointText(p, kPlaneYZ, f, 640, 640, x, y), "Y = 2.10, Z = 4.80");
    EXPECT_EQ(PointText(p, kPlaneXZ, f, 640, 640, pixelX(-2600), pixelY(-1000)), "X = -2.60, Z = -1.00");
}

TEST(AntennaViewFit, ShortExtentsAreRaisedAndCentred) {
    Project p;
    // Nothing to show: a 10 mm square around the origin with its margins.
    ViewFrame f = FitView(p, kPlaneXY, 400, 400);
    EXPECT_FLOAT_EQ(f.left, -7.5f);
    EXPECT_FLOAT_EQ(f.right, 7.5f);
    EXPECT_FLOAT_EQ(f.top, 7.5f);
    EXPECT_FLOAT_EQ(f.bottom, -7.5f);

    // A 1 m wire along x in a picture twice as wide as high: the width
    // fits, the height (raised to 10 mm) grows to keep the aspect ratio.
    p.Wires[1] = Wire{5, 0, 0, 0, 1, 0, 0, 0.001f};
    p.WireCount = 1;
    f = FitView(p, kPlaneXY, 800, 400);
    EXPECT_FLOAT_EQ(f.left, -250);
    EXPECT_FLOAT_EQ(f.right, 1250);
    EXPECT_FLOAT_EQ(f.top, 375);
    EXPECT_FLOAT_EQ(f.bottom, -375);
    EXPECT_FLOAT_EQ(f.unit, 2.5f);

    // Seen end-on in the YZ plane the wire is a point: 10 mm each way.
    f = FitView(p, kPlaneYZ, 800, 400);
    EXPECT_FLOAT_EQ(f.right - f.left, 30);
    EXPECT_FLOAT_EQ(f.top - f.bottom, 15);
    EXPECT_FLOAT_EQ((f.left + f.right) / 2, 0);

    // A tall picture: the height fits and the width is centred.
    p.Wires[1] = Wire{5, 0.5f, 0, 0, 0.5f, 0, 2, 0.001f};
    f = FitView(p, kPlaneXZ, 300, 600);
    EXPECT_FLOAT_EQ(f.top, 2500);
    EXPECT_FLOAT_EQ(f.bottom, -500);
    EXPECT_FLOAT_EQ(f.left, -250);
    EXPECT_FLOAT_EQ(f.right, 1250);
}

TEST(AntennaViewUnits, TheCycleSkipsWavelengthsWithoutAFrequency) {
    std::vector<std::string> names;
    int unit = kMeters;
    for (int i = 0; i < 7; ++i) {
        names.push_back(UnitButtonCaption(unit));
        unit = NextDisplayUnit(unit, 14.2f);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Meters", "Feet", "Inches", "cm", "mm", "wlngth", "Meters"}));
    EXPECT_EQ(NextDisplayUnit(kMillimeters, 0), kMeters);
    EXPECT_EQ(NextDisplayUnit(kMillimeters, -3), kMeters);
    EXPECT_EQ(NextDisplayUnit(kWavelengths, 0), kMeters);
    EXPECT_EQ(NextDisplayUnit(0, 14.2f), kMeters);
}

TEST(AntennaViewColours, EachKeyAdvancesItsOwnColourModulo16) {
    ProgramOptions::ViewColours c;
    AntennaViewState s;
    for (const char key : std::string("BFWSLPN")) EXPECT_TRUE(AdvanceViewColour(key, c, s));
    EXPECT_EQ(c.Back, 0);  // 15 wraps
    EXPECT_EQ(c.Fore, 9);
    EXPECT_EQ(c.Wire, 10);
    EXPECT_EQ(c.Source, 13);
    EXPECT_EQ(c.Load, 6);
    EXPECT_EQ(c.Pulse, 12);
    EXPECT_EQ(s.pulseNumberColour, 1);
    // The colours of the 3D view are left alone; other keys change nothing.
    EXPECT_EQ(c.PosCurrent, 12);
    EXPECT_FALSE(AdvanceViewColour('X', c, s));
    EXPECT_FALSE(AdvanceViewColour('c', c, s));
    EXPECT_EQ(c.Back, 0);
}

}  // namespace
}  // namespace qw
