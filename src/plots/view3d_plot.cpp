#include "plots/view3d_plot.h"

#include <algorithm>
#include <cmath>

#include "model/format_mask.h"

namespace qw {

namespace {

// One primitive of the picture with the depth it is sorted by.
struct Item {
    enum Kind { Line, Circle, Box, Text } kind = Line;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Circle: radius in x2; Box: half size in x2
    float depth = 0;
    Pen pen;
    std::string text;
};

class Scene {
public:
    Scene(const View3DState& view, const AntennaExtent& extent) : view_(view), extent_(extent) {}

    ScreenPoint Project(const Point3& p) const {
        return ProjectPoint(view_, table_, p[0] - extent_.cx, p[1] - extent_.cy, p[2] - extent_.cz);
    }
    void Line(const Point3& a, const Point3& b, Pen pen) {
        const ScreenPoint p = Project(a), q = Project(b);
        items_.push_back({Item::Line, p.x, p.y, q.x, q.y, (p.depth + q.depth) / 2, pen, {}});
    }
    // A line cut into pieces, so that each piece finds its own depth.
    void LongLine(const Point3& a, const Point3& b, Pen pen, int pieces) {
        for (int k = 0; k < pieces; ++k) Line(Along(a, b, float(k) / pieces), Along(a, b, float(k + 1) / pieces), pen);
    }
    void Circle(const Point3& at, float radius, Pen pen) {
        const ScreenPoint p = Project(at);
        items_.push_back({Item::Circle, p.x, p.y, radius, 0, p.depth + 0.01f, pen, {}});
    }
    void Box(const Point3& at, float half, Rgb fill) {
        const ScreenPoint p = Project(at);
        items_.push_back({Item::Box, p.x, p.y, half, 0, p.depth + 0.02f, Pen{fill}, {}});
    }
    void Text(const Point3& at, float dx, float dy, const std::string& text, Rgb colour) {
        const ScreenPoint p = Project(at);
        items_.push_back({Item::Text, p.x + dx, p.y + dy, 0, 0, p.depth + 0.03f, Pen{colour}, text});
    }

    void Draw(Canvas& canvas) {
        std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) { return a.depth < b.depth; });
        for (const Item& it : items_) {
            switch (it.kind) {
            case Item::Line:
                canvas.SetForeColour(it.pen.colour);
                canvas.SetPenWidth(it.pen.width);
                canvas.SetLineStyle(it.pen.style);
                canvas.Line(it.x1, it.y1, it.x2, it.y2);
                break;
            case Item::Circle:
                canvas.SetForeColour(it.pen.colour);
                canvas.SetPenWidth(it.pen.width);
                canvas.SetLineStyle(LineStyle::Solid);
                canvas.Circle(it.x1, it.y1, it.x2);
                break;
            case Item::Box:
                canvas.FilledBox(it.x1 - it.x2, it.y1 - it.x2, it.x1 + it.x2, it.y1 + it.x2, it.pen.colour);
                break;
            case Item::Text:
                canvas.SetForeColour(it.pen.colour);
                canvas.PrintAt(it.x1, it.y1, it.text);
                break;
            }
        }
        canvas.SetPenWidth(1);
        canvas.SetLineStyle(LineStyle::Solid);
    }

    static Point3 Along(const Point3& a, const Point3& b, float t) {
        return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
    }
    const AntennaExtent& Extent() const { return extent_; }

private:
    const View3DState& view_;
    AntennaExtent extent_;
    CosSinTable table_;
    std::vector<Item> items_;
};

// The unit vector across a wire along which its current curve is displaced:
// upward for a wire that is not vertical, along x for a vertical one.
Point3 Across(const std::array<Point3, 2>& wire) {
    float d[3] = {wire[1][0] - wire[0][0], wire[1][1] - wire[0][1], wire[1][2] - wire[0][2]};
    const float len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (len <= 0) return {0, 0, 1};
    for (float& c : d) c /= len;
    const float up[3] = {0, 0, 1}, east[3] = {1, 0, 0};
    const float* ref = std::fabs(d[2]) < 0.9f ? up : east;
    const float dot = ref[0] * d[0] + ref[1] * d[1] + ref[2] * d[2];
    Point3 n{ref[0] - dot * d[0], ref[1] - dot * d[1], ref[2] - dot * d[2]};
    const float nl = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (float& c : n) c /= nl;
    return n;
}

// The reach of the axes and of the pattern at PatternSize 10 (metres).
float Reach(const AntennaExtent& e) { return e.size > 0 ? e.size : 1; }

void DrawAxes(Scene& s, const ProgramOptions::ViewColours& c) {
    const float L = 0.6f * Reach(s.Extent());
    const AntennaExtent& e = s.Extent();
    const Point3 o{e.cx, e.cy, e.cz};
    const Rgb fore = PaletteColour(c.Fore);
    const char* labels[3] = {"X axis", "Y axis", "Z axis"};
    for (int k = 0; k < 3; ++k) {
        Point3 a = o, b = o, label = o;
        a[static_cast<std::size_t>(k)] -= L;
        b[static_cast<std::size_t>(k)] += L;
        label[static_cast<std::size_t>(k)] += 1.2f * L;
        s.LongLine(a, b, Pen{fore, 1, LineStyle::Dotted}, 4);
        s.Text(label, -20, 6, labels[k], fore);
    }
}

void DrawCurrents(Scene& s, const View3DState& v, const View3DInput& in, float scale, float largest) {
    const Scene3D& scene = *in.scene;
    const std::size_t wires = std::min(scene.wires.size(), in.currents->size());
    for (std::size_t w = 0; w < wires; ++w) {
        const auto& rows = (*in.currents)[w];
        if (rows.empty()) continue;
        const auto& wire = scene.wires[w];
        if (v.CurrentColours) {
            const int width = v.ShowWireInfo && static_cast<int>(w) + 1 == v.InfoWire ? 7 : 4;
            const std::vector<Point3> along = CurrentCurve(wire, rows, 0, false);
            if (along.size() == 1) s.Circle(along[0], 3, Pen{ScaleColour(largest > 0 ? rows[0].magnitude / largest : 0), 2});
            for (std::size_t k = 0; k + 1 < along.size(); ++k) {
                const float m = (rows[k].magnitude + rows[k + 1].magnitude) / 2;
                s.Line(along[k], along[k + 1], Pen{ScaleColour(largest > 0 ? m / largest : 0), width});
            }
            continue;
        }
        const std::vector<Point3> curve = CurrentCurve(wire, rows, scale, v.Marker);
        const Rgb pos = PaletteColour(in.colours.PosCurrent), neg = PaletteColour(in.colours.NegCurrent);
        if (curve.size() == 1) s.Circle(curve[0], 2, Pen{rows[0].re >= 0 ? pos : neg, 2});
        for (std::size_t k = 0; k + 1 < curve.size(); ++k) s.Line(curve[k], curve[k + 1], Pen{rows[k].re >= 0 ? pos : neg, 2});
    }
}

void DrawPattern(Scene& s, const View3DState& v, const View3DInput& in) {
    const Pattern3DGrid& g = *in.pattern;
    const float maximum = g.Maximum();
    const float R = Reach(s.Extent()) * v.PatternSize / 10;
    const AntennaExtent& e = s.Extent();
    constexpr double kRad = 3.14159265358979323846 / 180;
    Point3 p[kPattern3DAzimuths][kPattern3DElevations];
    float r[kPattern3DAzimuths][kPattern3DElevations];
    for (int a = 0; a < kPattern3DAzimuths; ++a)
        for (int el = 0; el < kPattern3DElevations; ++el) {
            const float rr = PatternRadius(g.gain[std::size_t(a)][std::size_t(el)], maximum, in.plotScale, in.minDb);
            const double phi = a * kPattern3DStep * kRad, elev = el * kPattern3DStep * kRad;
            r[a][el] = rr;
            p[a][el] = {e.cx + float(R * rr * std::cos(elev) * std::cos(phi)),
                        e.cy + float(R * rr * std::cos(elev) * std::sin(phi)), e.cz + float(R * rr * std::sin(elev))};
        }
    const Rgb field = PaletteColour(in.colours.Field);
    auto pen = [&](float t) { return Pen{v.PatternByGain ? ScaleColour(t) : field, 1}; };
    for (int a = 0; a + 1 < kPattern3DAzimuths; ++a)
        for (int el = 0; el < kPattern3DElevations; ++el) {
            if (el + 1 < kPattern3DElevations) s.Line(p[a][el], p[a][el + 1], pen((r[a][el] + r[a][el + 1]) / 2));
            if (el + 1 < kPattern3DElevations) s.Line(p[a][el], p[a + 1][el], pen((r[a][el] + r[a + 1][el]) / 2));
        }
}

std::string Degrees(float angle) { return std::to_string(static_cast<int>(std::lround(angle))); }

std::string FieldName(int fieldType) {
    if (fieldType == kHorizontalField) return "Horizontal";
    if (fieldType == kVerticalField) return "Vertical";
    return "Total";
}

void DrawColourScale(Canvas& canvas, float top, const std::string& high, const std::string& low, Rgb fore) {
    const float x = static_cast<float>(canvas.Width()) - 30, h = 160;
    constexpr int kBands = 32;
    for (int k = 0; k < kBands; ++k) {
        const float y0 = top + h - h * float(k + 1) / kBands, y1 = top + h - h * float(k) / kBands;
        canvas.FilledBox(x, y0, x + 14, y1 + 1, ScaleColour(float(k) / (kBands - 1)));
    }
    canvas.SetForeColour(fore);
    canvas.PrintAt(x + 7 - canvas.TextWidth(high), top - canvas.TextHeight() - 2, high);
    canvas.PrintAt(x + 7 - canvas.TextWidth(low), top + h + 2, low);
}

}  // namespace

Rgb ScaleColour(float t) {
    if (!std::isfinite(t)) t = 0;
    t = std::clamp(t, 0.0f, 1.0f) * 4;
    const int band = std::min(static_cast<int>(t), 3);
    const float f = t - static_cast<float>(band);
    auto c = [](float x) { return static_cast<std::uint8_t>(std::lround(std::clamp(x, 0.0f, 1.0f) * 255)); };
    switch (band) {
    case 0: return {0, c(0.25f + 0.75f * f), 255};  // blue to cyan
    case 1: return {0, 255, c(1 - f)};        // cyan to green
    case 2: return {c(f), 255, 0};            // green to yellow
    default: return {255, c(1 - f), 0};       // yellow to red
    }
}

std::vector<Point3> CurrentCurve(const std::array<Point3, 2>& wire, const std::vector<CurrentRow>& rows, float scale,
                                 bool marker) {
    std::vector<Point3> points;
    if (rows.empty()) return points;
    const Point3 n = Across(wire);
    const std::size_t count = rows.size();
    constexpr double kRad = 3.14159265358979323846 / 180;
    for (std::size_t k = 0; k < count; ++k) {
        // With one row there is no step: its point is end 1.
        const float t = count > 1 ? static_cast<float>(k) / static_cast<float>(count - 1) : 0;
        Point3 p = Scene::Along(wire[0], wire[1], t);
        float d = rows[k].magnitude * scale;
        if (marker) d *= static_cast<float>(std::sin(rows[k].phase * kRad));
        if (!std::isfinite(d)) d = 0;
        for (std::size_t c = 0; c < 3; ++c) p[c] += n[c] * d;
        points.push_back(p);
    }
    return points;
}

float PatternRadius(float gain, float maximum, int plotScale, int minDb) {
    if (!std::isfinite(gain) || gain <= -999 || !std::isfinite(maximum)) return 0;
    const float below = gain - maximum;
    if (plotScale == 2) return std::clamp(std::pow(10.0f, below / 20), 0.0f, 1.0f);
    const float range = minDb < 0 ? static_cast<float>(-minDb) : 50.0f;
    return std::clamp((below + range) / range, 0.0f, 1.0f);
}

void DrawView3D(Canvas& canvas, const View3DState& v, const View3DInput& in) {
    const float w = static_cast<float>(canvas.Width()), h = static_cast<float>(canvas.Height());
    const Rgb fore = PaletteColour(in.colours.Fore);
    canvas.ResetScale();
    canvas.SetBackColour(PaletteColour(in.colours.Back));
    canvas.Clear();
    if (!in.scene) return;
    // Upward y, origin at the centre: the projection's own coordinates.
    canvas.SetScale(-w / 2, h / 2, w / 2, -h / 2);
    canvas.SetBold(false);

    const Scene3D& sc = *in.scene;
    Scene s(v, sc.extent);
    DrawAxes(s, in.colours);

    const bool currents = v.ShowCurrents && in.currents;
    const float largest = currents ? LargestCurrent(*in.currents) : 0;
    const float scale = v.CurrentScale > 0 ? v.CurrentScale : FittedCurrentScale(sc.extent, currents ? *in.currents : WireCurrentRows{});
    const bool colouredWires = currents && v.CurrentColours;
    const Rgb wireColour = PaletteColour(in.colours.Wire);
    for (std::size_t k = 0; k < sc.wires.size(); ++k) {
        const bool info = v.ShowWireInfo && static_cast<int>(k) + 1 == v.InfoWire;
        if (colouredWires && k < in.currents->size() && !(*in.currents)[k].empty()) continue;
        s.LongLine(sc.wires[k][0], sc.wires[k][1], Pen{wireColour, info ? 4 : 2}, 8);
    }
    if (currents) DrawCurrents(s, v, in, scale, largest);

    const Rgb pulseColour = PaletteColour(in.colours.Pulse);
    for (std::size_t i = 0; i < sc.pulses.size(); ++i) {
        if (v.ShowPulses) s.Circle(sc.pulses[i], 3, Pen{pulseColour, 1});
        if (v.ShowPulseNumbers) s.Text(sc.pulses[i], 4, 16, std::to_string(i + 1), pulseColour);
    }
    for (int pulse : sc.sourcePulses) s.Box(sc.pulses[static_cast<std::size_t>(pulse - 1)], 4, PaletteColour(in.colours.Source));
    for (int pulse : sc.loadPulses) s.Circle(sc.pulses[static_cast<std::size_t>(pulse - 1)], 6, Pen{PaletteColour(in.colours.Load), 2});
    const bool pattern = v.ShowPattern && in.pattern;
    if (pattern) DrawPattern(s, v, in);
    s.Draw(canvas);

    // The captions, in pixels from the top left, on the background colour
    // so that no line of the picture crosses them.
    canvas.ResetScale();
    std::vector<std::string> captions{"View " + Degrees(v.ViewAngle0) + " / " + Degrees(v.ViewAngle1) + " / " +
                                      Degrees(v.ViewAngle2) + "   Zoom " + Format(v.Zoom, "0.00")};
    if (currents)
        captions.push_back("Current : max " + Format(largest, "0.000E+00") + " A" +
                           (v.CurrentColours ? ", wires coloured by magnitude" : v.Marker ? ", |I| sin(phase)" : ""));
    const float maximum = pattern ? in.pattern->Maximum() : 0;
    const std::string unit = pattern && !in.pattern->gainInDbi ? " dBd" : " dBi";
    if (pattern)
        captions.push_back("3D pattern : " + FieldName(in.pattern->fieldType) + " gain, max " + Format(maximum, "0.00") +
                           unit);
    float captionWidth = 0;
    for (const std::string& l : captions) captionWidth = std::max(captionWidth, canvas.TextWidth(l));
    canvas.FilledBox(2, 2, 10 + captionWidth, 6 + canvas.TextHeight() * static_cast<float>(captions.size()),
                     PaletteColour(in.colours.Back));
    canvas.SetForeColour(fore);
    canvas.CurrentY = 4;
    for (const std::string& l : captions) {
        canvas.CurrentX = 6;
        canvas.Print(l);
    }
    if (pattern) {
        if (v.PatternByGain) {
            const std::string low = in.plotScale == 2 ? "0 (linear)"
                                                      : Format(maximum + static_cast<float>(in.minDb < 0 ? in.minDb : -50), "0.0");
            DrawColourScale(canvas, 40, Format(maximum, "0.0") + unit, low, fore);
        }
    } else if (colouredWires) {
        DrawColourScale(canvas, 40, Format(largest, "0.000E+00") + " A", "0 A", fore);
    }
    if (v.ShowWireInfo && !in.wireInfo.empty()) {
        const float lineH = canvas.TextHeight();
        float width = 0;
        for (const std::string& l : in.wireInfo) width = std::max(width, canvas.TextWidth(l));
        const float top = h - 8 - lineH * static_cast<float>(in.wireInfo.size()) - 8;
        canvas.FilledBox(4, top, 16 + width, h - 4, PaletteColour(in.colours.Back));
        canvas.SetForeColour(fore);
        canvas.Line(4, top, 16 + width, top);
        canvas.Line(16 + width, top, 16 + width, h - 4);
        canvas.Line(16 + width, h - 4, 4, h - 4);
        canvas.Line(4, h - 4, 4, top);
        canvas.CurrentY = top + 4;
        for (const std::string& l : in.wireInfo) {
            canvas.CurrentX = 10;
            canvas.Print(l);
        }
    }
}

}  // namespace qw
