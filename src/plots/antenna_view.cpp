#include "plots/antenna_view.h"

#include <algorithm>
#include <cmath>

#include "model/format_mask.h"
#include "model/units.h"

namespace qw {

namespace {

// The two displayed coordinates of a point (metres in, millimetres out).
struct Flat {
    float h = 0, v = 0;
};

Flat Project2D(int plane, float x, float y, float z) {
    switch (plane) {
    case kPlaneYZ: return {y * 1000, z * 1000};
    case kPlaneXZ: return {x * 1000, z * 1000};
    default: return {x * 1000, y * 1000};
    }
}

const char* AxisName(int plane, bool vertical) {
    if (!vertical) return plane == kPlaneYZ ? "Y axis" : "X axis";
    return plane == kPlaneXY ? "Y axis" : "Z axis";
}

int ValidPlane(int plane) { return plane == kPlaneYZ || plane == kPlaneXZ ? plane : kPlaneXY; }

// A filled disc in the current colour: concentric circles a pixel apart
// (the canvas has outlines only), so that it fills at any size.
void Disc(Canvas& canvas, float x, float y, float radius, float pixel) {
    canvas.SetPenWidth(2);
    for (float r = radius; r > 0; r -= pixel) canvas.Circle(x, y, r);
    canvas.Point(x, y);
    canvas.SetPenWidth(1);
}

}  // namespace

int NextPlane(int plane) {
    switch (ValidPlane(plane)) {
    case kPlaneXY: return kPlaneYZ;
    case kPlaneYZ: return kPlaneXZ;
    default: return kPlaneXY;
    }
}

std::string ViewCaption(int plane) {
    switch (ValidPlane(plane)) {
    case kPlaneYZ: return "Antenna View YZ Plane ";
    case kPlaneXZ: return "Antenna View XZ Plane ";
    default: return "Antenna View XY Plane ";
    }
}

int ShownUnit(const Project& project) {
    const int unit = project.Units >= kMeters && project.Units <= kWavelengths ? project.Units : kMeters;
    if (unit == kWavelengths && !(project.Frequency > 0)) return kMeters;
    return unit;
}

std::string LengthLabel(const Project& project, double meters) {
    const int unit = ShownUnit(project);
    switch (unit) {
    case kFeet: return Format(meters * 3.28084, "####0.00");
    case kInches: return Format(meters * 39.37008, "####0");
    case kCentimeters: return Format(meters * 100, "####0.0");
    case kMillimeters: return Format(meters * 1000, "#####0");
    case kWavelengths: return Format(meters / WavelengthMeters(project.Frequency), "##0.000");
    default: return Format(meters, "###0.00");
    }
}

ViewFrame FitView(const Project& project, int plane, int width, int height) {
    plane = ValidPlane(plane);
    float hMin = 100000, vMin = 100000, hMax = -100000, vMax = -100000;
    for (int w = 1; w <= project.WireCount && w <= kWireCapacity; ++w) {
        const Wire& wire = project.Wires[w];
        for (const Flat f : {Project2D(plane, wire.X1, wire.Y1, wire.Z1), Project2D(plane, wire.X2, wire.Y2, wire.Z2)}) {
            hMin = std::min(hMin, f.h), hMax = std::max(hMax, f.h);
            vMin = std::min(vMin, f.v), vMax = std::max(vMax, f.v);
        }
    }
    const bool any = hMax >= hMin;
    const double hc = any ? (static_cast<double>(hMin) + hMax) / 2 : 0;
    const double vc = any ? (static_cast<double>(vMin) + vMax) / 2 : 0;
    double hExtent = any ? static_cast<double>(hMax) - hMin : 0;
    double vExtent = any ? static_cast<double>(vMax) - vMin : 0;
    hExtent = std::max(hExtent, 10.0);
    vExtent = std::max(vExtent, 10.0);
    const double aspect = static_cast<double>(std::max(width, 1)) / std::max(height, 1);
    if (hExtent / vExtent >= aspect)
        vExtent = hExtent / aspect;  // the width fits; the height is centred
    else
        hExtent = vExtent * aspect;
    const double hMargin = std::max(hExtent / 4, 1.0), vMargin = std::max(vExtent / 4, 1.0);
    ViewFrame f;
    f.left = static_cast<float>(hc - hExtent / 2 - hMargin);
    f.right = static_cast<float>(hc + hExtent / 2 + hMargin);
    f.top = static_cast<float>(vc + vExtent / 2 + vMargin);
    f.bottom = static_cast<float>(vc - vExtent / 2 - vMargin);
    f.unit = static_cast<float>(std::max(hExtent, vExtent) / 400);
    return f;
}

std::string PointText(const Project& project, int plane, const ViewFrame& frame, int width, int height, double px,
                      double py) {
    plane = ValidPlane(plane);
    const double h = frame.left + px * (static_cast<double>(frame.right) - frame.left) / std::max(width, 1);
    const double v = frame.top + py * (static_cast<double>(frame.bottom) - frame.top) / std::max(height, 1);
    const int unit = ShownUnit(project);
    const char* mask = unit == kInches ? "####0" : "Fixed";
    auto shown = [&](double mm) { return Format(FromMeters(unit, project.Frequency, static_cast<float>(mm / 1000)), mask); };
    const char* hName = plane == kPlaneYZ ? "Y = " : "X = ";
    const char* vName = plane == kPlaneXY ? ", Y = " : ", Z = ";
    return hName + shown(h) + vName + shown(v);
}

bool AdvanceViewColour(char key, ProgramOptions::ViewColours& colours, AntennaViewState& state) {
    int* index = nullptr;
    switch (key) {
    case 'B': case 'b': index = &colours.Back; break;
    case 'F': case 'f': index = &colours.Fore; break;
    case 'W': case 'w': index = &colours.Wire; break;
    case 'S': case 's': index = &colours.Source; break;
    case 'L': case 'l': index = &colours.Load; break;
    case 'P': case 'p': index = &colours.Pulse; break;
    case 'N': case 'n': index = &state.pulseNumberColour; break;
    default: return false;
    }
    *index = ((*index + 1) % 16 + 16) % 16;
    return true;
}

ViewFrame DrawAntennaView(Canvas& canvas, const Project& project, const std::vector<PulsePoint>& pulses,
                          const AntennaViewState& state, const ProgramOptions::ViewColours& colours) {
    const int plane = ValidPlane(state.plane);
    const ViewFrame f = FitView(project, plane, canvas.Width(), canvas.Height());
    const float u = f.unit;
    const float pixel = (f.right - f.left) / static_cast<float>(canvas.Width());
    const Rgb fore = PaletteColour(colours.Fore);

    canvas.SetScale(f.left, f.top, f.right, f.bottom);
    canvas.SetBackColour(PaletteColour(colours.Back));
    canvas.SetLineStyle(LineStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.Clear();
    canvas.SetForeColour(fore);
    canvas.PrintAt(f.left, f.top, project.FileName + " units :" + UnitButtonCaption(ShownUnit(project)));

    // The axes through the origin, captioned at their far ends.
    canvas.SetLineStyle(LineStyle::Dotted);
    canvas.Line(f.left, 0, f.right, 0);
    canvas.Line(0, f.bottom, 0, f.top);
    canvas.SetLineStyle(LineStyle::Solid);
    const std::string hCaption = AxisName(plane, false), vCaption = AxisName(plane, true);
    canvas.PrintAt(f.right - canvas.TextWidth(hCaption + " "), canvas.TextHeight(), hCaption);
    canvas.PrintAt(4 * pixel, f.top - canvas.TextHeight(), vCaption);

    const int wires = std::min(project.WireCount, kWireCapacity);
    std::vector<Flat> ends1(static_cast<std::size_t>(wires) + 1), ends2(static_cast<std::size_t>(wires) + 1);
    canvas.SetForeColour(PaletteColour(colours.Wire));
    for (int w = 1; w <= wires; ++w) {
        const Wire& wire = project.Wires[w];
        ends1[w] = Project2D(plane, wire.X1, wire.Y1, wire.Z1);
        ends2[w] = Project2D(plane, wire.X2, wire.Y2, wire.Z2);
        canvas.Line(ends1[w].h, ends1[w].v, ends2[w].h, ends2[w].v);
    }

    const bool numbers = state.pulses && state.pulseNumbers;
    auto pulseAt = [&](int pulse, int w) -> const PulsePoint* {
        if (pulse < 1 || static_cast<std::size_t>(pulse) >= pulses.size()) return nullptr;
        const PulsePoint& p = pulses[static_cast<std::size_t>(pulse)];
        return p.wire == w ? &p : nullptr;
    };
    for (int w = 1; w <= wires; ++w) {
        if (state.pulses) {
            for (std::size_t i = 1; i < pulses.size(); ++i) {
                if (pulses[i].wire != w) continue;
                const Flat at = Project2D(plane, pulses[i].x, pulses[i].y, pulses[i].z);
                // A dot two pixels wide.
                canvas.FilledBox(at.h - pixel, at.v - pixel, at.h + pixel, at.v + pixel, PaletteColour(colours.Pulse));
                if (numbers) {
                    canvas.SetForeColour(PaletteColour(state.pulseNumberColour));
                    canvas.PrintAt(at.h + 2 * u, at.v, std::to_string(i));
                }
            }
        }
        if (!numbers) {
            const Wire& wire = project.Wires[w];
            const double dx = static_cast<double>(wire.X2) - wire.X1, dy = static_cast<double>(wire.Y2) - wire.Y1,
                         dz = static_cast<double>(wire.Z2) - wire.Z1;
            canvas.SetForeColour(fore);
            // Just right of the midpoint, clear of the line through it.
            canvas.PrintAt((ends1[w].h + ends2[w].h) / 2 + 4 * pixel, (ends1[w].v + ends2[w].v) / 2,
                           LengthLabel(project, std::sqrt(dx * dx + dy * dy + dz * dz)));
        }
        for (int s = 1; s <= std::min(project.SourceCount, kMaxSources); ++s) {
            if (const PulsePoint* p = pulseAt(project.Sources[s].Pulse, w)) {
                const Flat at = Project2D(plane, p->x, p->y, p->z);
                canvas.SetForeColour(PaletteColour(colours.Source));
                Disc(canvas, at.h, at.v, 3 * u, pixel);
            }
        }
        for (int l = 1; l <= std::min(project.LoadCount, kMaxLoads); ++l) {
            if (const PulsePoint* p = pulseAt(project.Loads[l].Pulse, w)) {
                const Flat at = Project2D(plane, p->x, p->y, p->z);
                canvas.FilledBox(at.h - 3 * u, at.v - 3 * u, at.h + 3 * u, at.v + 3 * u, PaletteColour(colours.Load));
            }
        }
    }
    canvas.SetForeColour(fore);
    return f;
}

}  // namespace qw
