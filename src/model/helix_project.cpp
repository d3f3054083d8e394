#include "model/helix_project.h"

#include <cmath>
#include <sstream>

#include "model/context.h"
#include "model/format_mask.h"
#include "model/nec_geometry.h"
#include "model/project_writer.h"
#include "model/pulse_layout.h"
#include "model/units.h"
#include "platform/silent_host.h"

namespace qw {

namespace {

constexpr double kPi = 3.14159265358979323846;

int HelixSegments(const HelixDesign& d) {
    const double n = d.turns * d.segmentsPerTurn;
    return n < 1e6 ? static_cast<int>(std::lround(n)) : 1000000;
}

int WireCountOf(const HelixDesign& d) {
    int n = HelixSegments(d);
    if (d.base != HelixBase::kNone) ++n;                          // the feed wire
    if (d.base == HelixBase::kRadials) n += d.radialCount + 1;    // the first radial in two
    return n;
}

void AddWire(Project& p, const NecPoint& a, const NecPoint& b, int segments, double radius) {
    Wire& w = p.Wires[++p.WireCount];
    w.X1 = static_cast<float>(a.x), w.Y1 = static_cast<float>(a.y), w.Z1 = static_cast<float>(a.z);
    w.X2 = static_cast<float>(b.x), w.Y2 = static_cast<float>(b.y), w.Z2 = static_cast<float>(b.z);
    w.Segments = segments;
    w.Radius = static_cast<float>(radius);
}

bool Positive(double v) { return std::isfinite(v) && v > 0; }

}  // namespace

double HelixNaturalFrequency(const HelixDesign& d) {
    const double circumference = kPi * d.diameter;
    return circumference > 0 ? WavelengthMeters(1.0f) / circumference : 0;
}

std::string HelixDesignProblem(const HelixDesign& d) {
    if (!Positive(d.turns)) return "The number of turns must be above 0.";
    if (!Positive(d.diameter)) return "The helix diameter must be above 0.";
    if (!Positive(d.spacing)) return "The turn spacing must be above 0.";
    if (d.segmentsPerTurn < 3) return "A turn needs at least 3 segments.";
    if (!Positive(d.wireDiameter)) return "The wire diameter must be above 0.";
    if (d.wireDiameter >= d.diameter) return "The wire is thicker than the helix.";
    if (HelixSegments(d) < 1) return "The helix has no segment: give more turns or more segments per turn.";
    if (d.base == HelixBase::kRadials) {
        if (d.radialCount < 1) return "A reflector needs at least 1 radial.";
        if (!(d.radialLength > d.diameter / 2) || !std::isfinite(d.radialLength))
            return "The radials must reach past the helix (longer than its radius).";
    }
    if (!(d.frequency >= 0) || !std::isfinite(d.frequency)) return "The frequency must be 0 or above.";
    const int wires = WireCountOf(d);
    if (wires > kMaxWires)
        return "The helix needs " + std::to_string(wires) + " wires (one per segment); the program takes at most " +
               std::to_string(kMaxWires) + ". Give fewer turns, segments per turn or radials.";
    const Project p = HelixProject(d);
    if (p.PulseCount > kMaxPulses)
        return "The helix has " + std::to_string(p.PulseCount) + " pulses; the program takes at most " +
               std::to_string(kMaxPulses) + ".";
    return "";
}

Project HelixProject(const HelixDesign& d) {
    Project p;
    p.Units = d.units;
    p.Frequency = static_cast<float>(d.frequency > 0 ? d.frequency : HelixNaturalFrequency(d));
    p.FrequencyDefined = p.GeometryDefined = p.SourcesDefined = p.GroundDefined = true;
    p.Env.GroundPresent = d.base == HelixBase::kGroundPlane ? kOverGround : kFreeSpace;
    p.Env.GroundKind = kPerfectGround;
    p.Env.GroundMedia[1].Extent = kGroundMediumExtent;

    const double r = d.diameter / 2, a = d.wireDiameter / 2;
    const double feed = d.base == HelixBase::kNone ? 0 : d.spacing / 2;
    const int segments = HelixSegments(d);
    const double length = segments * d.spacing / d.segmentsPerTurn;
    int feedWire = 0;
    if (d.base == HelixBase::kRadials) {
        for (int k = 0; k < d.radialCount; ++k) {
            const double phi = 2 * kPi * k / d.radialCount;
            const NecPoint tip{d.radialLength * std::cos(phi), d.radialLength * std::sin(phi), 0};
            if (k == 0) {
                AddWire(p, {0, 0, 0}, {r, 0, 0}, 1, a);
                AddWire(p, {r, 0, 0}, tip, 1, a);
            } else {
                AddWire(p, {0, 0, 0}, tip, 1, a);
            }
        }
    }
    if (d.base != HelixBase::kNone) {
        AddWire(p, {r, 0, 0}, {r, 0, feed}, 1, a);
        feedWire = p.WireCount;
    }
    const auto points = HelixPoints(segments, d.spacing, d.leftHanded ? -length : length, r, r, r, r);
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        NecPoint u = points[i], v = points[i + 1];
        u.z += feed;
        v.z += feed;
        AddWire(p, u, v, 1, a);
    }
    const auto layout = PulseLayout(p);
    p.PulseCount = p.WireCount > 0 ? layout[static_cast<std::size_t>(p.WireCount)].last : 0;
    Source& s = p.Sources[p.SourceCount = 1];
    s.Pulse = feedWire ? layout[static_cast<std::size_t>(feedWire)].first : 1;
    s.Magnitude = 1;
    s.Phase = 0;
    return p;
}

std::string HelixProjectText(const HelixDesign& d) {
    SilentHost host;
    Context ctx(host);
    ctx.project = HelixProject(d);
    // Enough digits that the turns of a small helix keep their shape.
    ctx.NumberFormat = " #0.000000;-#0.000000";
    const double turns = static_cast<double>(HelixSegments(d)) / d.segmentsPerTurn;
    const char* base = d.base == HelixBase::kGroundPlane ? "over a ground plane"
                       : d.base == HelixBase::kRadials  ? "over a reflector of radials"
                                                        : "in free space";
    std::ostringstream header;
    header << "CM QUILLWORK helix generator\r\n"
           << "CM " << Format(turns, "0.0##") << " turns " << (d.leftHanded ? "left" : "right") << "-handed, diameter "
           << Format(d.diameter, "0.000###") << " m, spacing " << Format(d.spacing, "0.000###") << " m, "
           << d.segmentsPerTurn << " segments per turn, " << base;
    ctx.project.ProjectText = header.str();
    std::ostringstream out;
    WriteProjectCards(ctx, out);
    return out.str();
}

}  // namespace qw
