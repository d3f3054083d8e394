// The 3D view's projection and keys, its 3D pattern and data file, and its
// picture of solved antennas on a recording canvas.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "fields/far_field.h"
#include "platform/recording_canvas.h"
#include "plots/pattern3d.h"
#include "plots/view3d_plot.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using M3 = std::array<std::array<double, 3>, 3>;

M3 Mul(const M3& a, const M3& b) {
    M3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

// The view's turn as rotation matrices: about z by angle 2, about y by
// angle 0, about x by angle 1 (right-handed, angles in degrees).
M3 ViewMatrix(double a0, double a1, double a2) {
    const double d = 3.14159265358979323846 / 180;
    const double c0 = std::cos(a0 * d), s0 = std::sin(a0 * d), c1 = std::cos(a1 * d), s1 = std::sin(a1 * d),
                 c2 = std::cos(a2 * d), s2 = std::sin(a2 * d);
    const M3 rz{{{c2, -s2, 0}, {s2, c2, 0}, {0, 0, 1}}};
    const M3 ry{{{c0, 0, s0}, {0, 1, 0}, {-s0, 0, c0}}};
    const M3 rx{{{1, 0, 0}, {0, c1, -s1}, {0, s1, c1}}};
    return Mul(rx, Mul(ry, rz));
}

TEST(View3DProjection, ProjectPointIsThreeRotationsZoomedAndPanned) {
    const CosSinTable table;
    const float angles[][3] = {{0, -60, -60}, {30, 45, -120}, {-359, 359, 90}, {-90, -5, 185}};
    const float points[][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {2.5f, -1.25f, 3}};
    for (const auto& a : angles) {
        View3DState v;
        v.ViewAngle0 = a[0];
        v.ViewAngle1 = a[1];
        v.ViewAngle2 = a[2];
        v.Zoom = 40;
        v.PanX = 7;
        v.PanY = -3;
        v.PanZ = 2;
        const M3 m = ViewMatrix(a[0], a[1], a[2]);
        for (const auto& p : points) {
            const ScreenPoint s = ProjectPoint(v, table, p[0], p[1], p[2]);
            double want[3] = {};
            for (int i = 0; i < 3; ++i) want[i] = m[i][0] * p[0] + m[i][1] * p[1] + m[i][2] * p[2];
            EXPECT_NEAR(s.x, 7 + 40 * want[0], 1e-3) << a[0] << "," << a[1] << "," << a[2];
            EXPECT_NEAR(s.y, -3 + 40 * want[1], 1e-3);
            EXPECT_NEAR(s.depth, 2 + 40 * want[2], 1e-3);
        }
    }
    // The default view looks at the antenna obliquely from above: up is up
    // on the screen and tips toward the viewer.
    const View3DState def;
    EXPECT_EQ(def.ViewAngle0, 0);
    EXPECT_EQ(def.ViewAngle1, -60);
    EXPECT_EQ(def.ViewAngle2, -60);
    const ScreenPoint up = ProjectPoint(def, table, 0, 0, 1);
    EXPECT_NEAR(up.x, 0, 1e-6);
    EXPECT_NEAR(up.y, 2 * std::sqrt(3.0) / 2, 1e-5);
    EXPECT_NEAR(up.depth, 2 * 0.5, 1e-5);
}

TEST(View3DProjection, AnglesAreWholeDegreesReducedForTheTables) {
    EXPECT_EQ(TableDegree(-359), 1);
    EXPECT_EQ(TableDegree(359), 359);
    EXPECT_EQ(TableDegree(-360), 0);
    EXPECT_EQ(TableDegree(725), 5);
    EXPECT_EQ(WrapViewAngle(355 + 10), 5);
    EXPECT_EQ(WrapViewAngle(-355 - 10), -5);
    EXPECT_EQ(WrapViewAngle(-360), 0);
    const CosSinTable t;
    EXPECT_FLOAT_EQ(t.Sin(-359), t.Sin(1));
    EXPECT_FLOAT_EQ(t.Cos(-90), t.Cos(270));
}

// The turning keys are driven through the window's test; here the zoom's
// bounds and the zoom buttons' choices.
TEST(View3DKeys, ZoomStaysInBoundsAndTheButtonsScaleWhatIsChosen) {
    View3DState z;
    z.Zoom = 3000;
    for (int k = 0; k < 10; ++k) ApplyViewKey(z, ViewKey::Plus, true, false);
    EXPECT_LE(z.Zoom, kMaxZoom);
    EXPECT_FALSE(ApplyViewKey(z, ViewKey::Plus, true, false));  // at the top, nothing changes
    z.Zoom = 1.2f;
    ApplyViewKey(z, ViewKey::Minus, false, false);
    ApplyViewKey(z, ViewKey::Minus, false, false);
    ApplyViewKey(z, ViewKey::Minus, false, false);
    EXPECT_EQ(z.Zoom, 0);
    // The zoom buttons act on the pattern or the currents when chosen.
    View3DState p;
    p.ZoomPattern = true;
    ZoomView(p, true, 1);
    EXPECT_FLOAT_EQ(p.PatternSize, 15);
    p.ZoomPattern = false;
    p.ZoomCurrents = true;
    ZoomView(p, false, 0.8f);
    EXPECT_FLOAT_EQ(p.CurrentScale, 0.4f);
    EXPECT_EQ(p.Zoom, 2);
}

TEST(View3DScene, SizeCentreAndDefaultZoom) {
    test::SolvedAntenna a;
    a.Wire(4, 1, 1, 1, 1, 1, 1);  // a single point: no pulses, the wires as entered
    Scene3D s = SceneOf(a.ctx);
    EXPECT_EQ(s.extent.size, 0);
    EXPECT_EQ(DefaultZoom(s.extent.size), 2);
    a.p.WireCount = 0;
    a.Wire(4, -1, 0, 2, 3, 0.5f, 2);
    a.p.Height = 1;
    a.ctx.Changed(Change::Geometry);
    s = SceneOf(a.ctx);  // from the wires as entered, the height added
    ASSERT_EQ(s.wires.size(), 1u);
    EXPECT_FLOAT_EQ(s.extent.size, 4);
    EXPECT_FLOAT_EQ(s.extent.cx, 1);
    EXPECT_FLOAT_EQ(s.extent.cy, 0.25f);
    EXPECT_FLOAT_EQ(s.extent.cz, 3);
    EXPECT_FLOAT_EQ(DefaultZoom(s.extent.size), 25);
}

TEST(View3DCurrents, TheCurveRunsFromEndToEndAndOneRowIsOnePoint) {
    const std::array<Point3, 2> wire{Point3{0, 0, 0}, Point3{4, 0, 0}};
    std::vector<CurrentRow> rows(5);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        rows[k].magnitude = k == 0 || k == 4 ? 0 : 1;
        rows[k].phase = 90;
    }
    const auto curve = CurrentCurve(wire, rows, 0.5f, false);
    ASSERT_EQ(curve.size(), 5u);
    EXPECT_EQ(curve.front(), wire[0]);
    EXPECT_EQ(curve.back(), wire[1]);
    EXPECT_FLOAT_EQ(curve[2][0], 2);
    EXPECT_FLOAT_EQ(curve[2][2], 0.5f);  // a horizontal wire's current stands upward
    rows[2].phase = 30;
    EXPECT_FLOAT_EQ(CurrentCurve(wire, rows, 0.5f, true)[2][2], 0.25f);  // |I| sin(phase)
    const auto one = CurrentCurve(wire, {rows[1]}, 0.5f, false);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_FLOAT_EQ(one[0][0], 0);
    EXPECT_FLOAT_EQ(one[0][2], 0.5f);
}

// A half-wave dipole along y (1 m wavelength), its project in a folder of
// its own.
struct Dipole : test::SolvedAntenna {
    test::TempDir dir;
    Dipole() {
        p.FileName = dir.File("dip.qlk");
        Wire(10, 0, -0.24f, 0, 0, 0.24f, 0);
        Source(5);
        Build();
    }
};

float FloatAt(const std::string& bytes, std::size_t index) {
    float v = 0;
    std::memcpy(&v, bytes.data() + 4 * index, 4);
    return v;
}

TEST(Pattern3D, TheFileHoldsTheFieldAtEveryDirectionAndReadsBack) {
    Dipole d;
    for (int field : {kTotalField, kHorizontalField, kVerticalField}) {
        Pattern3DGrid grid;
        const Result r = ComputePattern3D(d.ctx, field, grid);
        ASSERT_TRUE(r.completed());
        EXPECT_FALSE(r.fault.has_value());
        const std::string path = d.dir.File("dip.PLT");
        const std::string bytes = test::ReadBytes(path);
        ASSERT_EQ(bytes.size(), 73u * 20 * 4);
        FarFieldSetup setup;
        ASSERT_TRUE(PrepareFarField(d.ctx, setup, true));
        for (std::size_t a = 0; a < 73; ++a) {
            EXPECT_EQ(FloatAt(bytes, a * 20), static_cast<float>(5 * a));
            for (std::size_t e = 0; e < 19; ++e) {
                DirectionGains g;
                const float total = FieldAtDirection(d.ctx, setup, 5.0f * a, 90.0f - 5.0f * e, &g);
                const float want = field == kHorizontalField ? g.horizontal : field == kVerticalField ? g.vertical : total;
                ASSERT_EQ(FloatAt(bytes, a * 20 + 1 + e), want) << a << " " << e;
                ASSERT_EQ(grid.gain[a][e], want);
            }
        }
    }
    // A dipole along y radiates most along x at the horizon: 2.1 dBi.
    Pattern3DGrid total;
    ASSERT_TRUE(ComputePattern3D(d.ctx, kTotalField, total).completed());
    EXPECT_NEAR(total.gain[0][0], 2.15f, 0.1f);
    EXPECT_LT(total.gain[18][0], -20.0f);  // along the wire
}

TEST(Pattern3D, AShortFileIsAReadErrorAndAFileThatDoesNotReadBackFails) {
    test::TempDir dir;
    Pattern3DGrid grid;
    grid.gain[3][4] = 7;
    std::string bytes = Pattern3DBytes(grid);
    ASSERT_EQ(bytes.size(), kPattern3DFileSize);
    const std::string path = dir.File("x.PLT");
    { std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() - 1); }
    Pattern3DGrid read;
    EXPECT_FALSE(ReadPattern3DFile(path, read));
    EXPECT_EQ(read.gain[3][4], 0);
    { std::ofstream(path, std::ios::binary) << bytes; }
    ASSERT_TRUE(ReadPattern3DFile(path, read));
    EXPECT_EQ(read.gain[3][4], 7);
    EXPECT_EQ(Pattern3DFileName("/a/b.c/DIPOLE.QLK"), "/a/b.c/DIPOLE.PLT");

    // Written into a device, the file cannot be read back.
    Dipole d;
    std::filesystem::create_symlink("/dev/null", d.dir.File("dip.PLT"));
    const Result r = ComputePattern3D(d.ctx, kTotalField, read);
    ASSERT_TRUE(r.failed());
    EXPECT_EQ(r.fault->text, "Error reading pattern file");
}

TEST(Pattern3D, AStopEndsTheWorkAndNoFileIsWritten) {
    Dipole d;
    Pattern3DGrid grid;
    int calls = 0;
    const Result r = ComputePattern3D(d.ctx, kTotalField, grid, [&](double) {
        if (++calls == 3) d.ctx.stop.Request();
    });
    EXPECT_TRUE(r.stopped());
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(std::filesystem::exists(d.dir.File("dip.PLT")));
}

// The Yagi of the examples' kind: three wires in free space, a load on the
// director.
struct Yagi : test::SolvedAntenna {
    test::TempDir dir;
    Yagi() : SolvedAntenna(14.2f) {
        p.FileName = dir.File("yagi.qlk");
        Wire(10, -2.6f, -5.3f, 0, -2.6f, 5.3f, 0, 0.006f);
        Wire(10, 0, -5.05f, 0, 0, 5.05f, 0, 0.006f);
        Wire(10, 2.1f, -4.8f, 0, 2.1f, 4.8f, 0, 0.006f);
        Source(14);
        Load(23, 5, 0);
        Build();
    }
};

TEST(View3DPlot, TheYagiWithWiresMarksCaptionsCurrentsAndPattern) {
    Yagi y;
    const Scene3D scene = SceneOf(y.ctx);
    ASSERT_EQ(scene.wires.size(), 3u);
    ASSERT_EQ(scene.pulses.size(), 27u);
    View3DState v;
    v.Zoom = DefaultZoom(scene.extent.size);
    View3DInput in;
    in.scene = &scene;
    const auto& c = in.colours;
    const Rgb wire = PaletteColour(c.Wire), pulse = PaletteColour(c.Pulse);

    RecordingCanvas plain(800, 600);
    DrawView3D(plain, v, in);
    EXPECT_EQ(plain.OpsOf(DrawKind::Clear, PaletteColour(c.Back)).size(), 1u);
    EXPECT_EQ(plain.OpsOf(DrawKind::Line, wire).size(), 3u * 8);
    std::vector<std::string> texts;
    for (const DrawOp& op : plain.Visible())
        if (op.kind == DrawKind::Text) texts.push_back(op.text);
    for (const char* label : {"X axis", "Y axis", "Z axis", "View 0 / -60 / -60   Zoom 9.43"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    // The source's mark sits on its pulse, projected about the centre of the
    // picture (400, 300) with y upward.
    const auto boxes = plain.OpsOf(DrawKind::Box, PaletteColour(c.Source));
    ASSERT_EQ(boxes.size(), 1u);
    const CosSinTable t;
    const Point3 p14 = scene.pulses[13];
    const ScreenPoint s = ProjectPoint(v, t, p14[0] - scene.extent.cx, p14[1] - scene.extent.cy, p14[2] - scene.extent.cz);
    EXPECT_NEAR((boxes[0].x1 + boxes[0].x2) / 2, 400 + s.x, 0.01);
    EXPECT_NEAR((boxes[0].y1 + boxes[0].y2) / 2, 300 - s.y, 0.01);
    EXPECT_EQ(plain.OpsOf(DrawKind::Circle, PaletteColour(c.Load)).size(), 1u);
    // The wire ends stand where the projection puts them.
    const auto lines = plain.OpsOf(DrawKind::Line, wire);
    const Point3 e1 = scene.wires[0][0];
    const ScreenPoint se = ProjectPoint(v, t, e1[0] - scene.extent.cx, e1[1] - scene.extent.cy, e1[2] - scene.extent.cz);
    bool found = false;
    for (const DrawOp& op : lines) found |= std::fabs(op.x1 - (400 + se.x)) < 0.01 && std::fabs(op.y1 - (300 - se.y)) < 0.01;
    EXPECT_TRUE(found);

    // Pulses and their numbers.
    v.ShowPulses = v.ShowPulseNumbers = true;
    RecordingCanvas pulses(800, 600);
    DrawView3D(pulses, v, in);
    EXPECT_EQ(pulses.OpsOf(DrawKind::Circle, pulse).size(), 27u);
    EXPECT_EQ(pulses.OpsOf(DrawKind::Text, pulse).size(), 27u);

    // Currents: each wire's curve starts and ends on the wire's free ends.
    WireCurrentRows rows;
    ASSERT_TRUE(GatherCurrentRows(y.ctx, "", rows).completed());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].size(), 11u);  // E, pulses 10..18, E
    in.currents = &rows;
    v.ShowPulses = v.ShowPulseNumbers = false;
    v.ShowCurrents = true;
    RecordingCanvas cur(800, 600);
    DrawView3D(cur, v, in);
    const auto pos = cur.OpsOf(DrawKind::Line, PaletteColour(c.PosCurrent));
    const auto neg = cur.OpsOf(DrawKind::Line, PaletteColour(c.NegCurrent));
    EXPECT_EQ(pos.size() + neg.size(), 3u * 10);
    const auto curve = CurrentCurve(scene.wires[1], rows[1], FittedCurrentScale(scene.extent, rows), false);
    EXPECT_EQ(curve.front(), scene.wires[1][0]);
    EXPECT_EQ(curve.back(), scene.wires[1][1]);
    // Coloured by magnitude instead: no curve, the wires in scale colours.
    v.CurrentColours = true;
    RecordingCanvas coloured(800, 600);
    DrawView3D(coloured, v, in);
    EXPECT_TRUE(coloured.OpsOf(DrawKind::Line, PaletteColour(c.PosCurrent)).empty());
    bool hot = false;  // the driven element's centre in the scale's top colours
    for (const DrawOp& op : coloured.Visible()) hot |= op.kind == DrawKind::Line && op.pen.width == 4 && op.pen.colour.r == 255 && op.pen.colour.g < 64;
    EXPECT_TRUE(hot);

    // The pattern: a mesh of 72 x 18 meridian and ring pieces, and its caption.
    Pattern3DGrid grid;
    ASSERT_TRUE(ComputePattern3D(y.ctx, kTotalField, grid).completed());
    v = View3DState{};
    v.Zoom = DefaultZoom(scene.extent.size);
    v.ShowPattern = true;
    in.currents = nullptr;
    in.pattern = &grid;
    RecordingCanvas pat(800, 600);
    DrawView3D(pat, v, in);
    int mesh = 0;
    for (const DrawOp& op : pat.Visible())
        if (op.kind == DrawKind::Line && op.pen.colour != wire && op.pen.colour != PaletteColour(c.Fore)) ++mesh;
    EXPECT_EQ(mesh, 72 * 18 * 2);
    bool caption = false;
    for (const DrawOp& op : pat.Visible())
        caption |= op.kind == DrawKind::Text && op.text.rfind("3D pattern : Total gain, max ", 0) == 0;
    EXPECT_TRUE(caption);
}

}  // namespace
}  // namespace qw
