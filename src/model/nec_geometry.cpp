#include "model/nec_geometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/project.h"

namespace qw {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// A 3x3 rotation and a shift.
struct Transform {
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    NecPoint shift;

    NecPoint Apply(const NecPoint& p) const {
        return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + shift.x,
                m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + shift.y,
                m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + shift.z};
    }
};

// Rotation about x by rx, then about y by ry, then about z by rz (degrees).
Transform Rotation(double rx, double ry, double rz) {
    const double cx = std::cos(rx * kDegree), sx = std::sin(rx * kDegree);
    const double cy = std::cos(ry * kDegree), sy = std::sin(ry * kDegree);
    const double cz = std::cos(rz * kDegree), sz = std::sin(rz * kDegree);
    const double X[3][3] = {{1, 0, 0}, {0, cx, -sx}, {0, sx, cx}};
    const double Y[3][3] = {{cy, 0, sy}, {0, 1, 0}, {-sy, 0, cy}};
    const double Z[3][3] = {{cz, -sz, 0}, {sz, cz, 0}, {0, 0, 1}};
    double yx[3][3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) yx[i][j] += Y[i][k] * X[k][j];
    Transform t;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            t.m[i][j] = 0;
            for (int k = 0; k < 3; ++k) t.m[i][j] += Z[i][k] * yx[k][j];
        }
    return t;
}

int NewTag(int tag, int increment) { return tag == 0 ? 0 : tag + increment; }

// Twice the most wires the program computes, even with large models (arcs
// and helices make one per segment): a deck beyond it is refused anyway,
// and the bound keeps one that multiplies its wires card after card from
// taking the machine's time and memory first.
constexpr std::size_t kMostNecWires = 2 * kWireCapacity;

[[noreturn]] void TooManyWires() {
    throw NecGeometryError("the deck makes more than " + std::to_string(kMostNecWires) + " wires");
}

void RequireSegments(int segments) {
    if (segments < 1) throw NecGeometryError("the number of segments must be at least 1");
    if (static_cast<std::size_t>(segments) > kMostNecWires) TooManyWires();
}

// Room for `copies` more blocks of `block` wires after `count` wires.
void RequireRoom(std::size_t count, std::size_t block, std::size_t copies) {
    if (block != 0 && copies > (kMostNecWires - std::min(count, kMostNecWires)) / block) TooManyWires();
}

}  // namespace

std::vector<NecPoint> HelixPoints(int segments, double spacing, double length, double a1, double b1, double a2,
                                  double b2) {
    RequireSegments(segments);
    if (spacing == 0) throw NecGeometryError("the helix has no turn spacing");
    if (length == 0) throw NecGeometryError("the helix has no length");
    const double height = std::fabs(length);
    const double hand = length < 0 ? -1.0 : 1.0;
    std::vector<NecPoint> points;
    points.reserve(static_cast<std::size_t>(segments) + 1);
    for (int i = 0; i <= segments; ++i) {
        const double t = static_cast<double>(i) / segments;
        const double z = height * t;
        const double phi = 2 * kPi * z / spacing;
        const double ra = a1 + (a2 - a1) * t, rb = b1 + (b2 - b1) * t;
        points.push_back({ra * std::cos(phi), hand * rb * std::sin(phi), z});
    }
    return points;
}

std::vector<NecPoint> ArcPoints(int segments, double r, double angle1, double angle2) {
    RequireSegments(segments);
    if (r <= 0) throw NecGeometryError("the arc radius must be above 0");
    std::vector<NecPoint> points;
    for (int i = 0; i <= segments; ++i) {
        const double a = (angle1 + (angle2 - angle1) * i / segments) * kDegree;
        points.push_back({r * std::cos(a), 0, r * std::sin(a)});
    }
    return points;
}

int NecGeometry::SegmentCount() const {
    int n = 0;
    for (const auto& w : wires_) n += w.segments;
    return n;
}

void NecGeometry::AddWire(int tag, int segments, NecPoint a, NecPoint b, double radius) {
    RequireSegments(segments);
    if (a == b) throw NecGeometryError("the wire has no length");
    RequireRoom(wires_.size(), 1, 1);
    wires_.push_back({tag, segments, a, b, radius});
}

void NecGeometry::AddTaperedWire(int tag, int segments, NecPoint a, NecPoint b, double ratio, double radius1,
                                 double radius2) {
    RequireSegments(segments);
    if (!(ratio > 0)) throw NecGeometryError("the segment length ratio must be above 0");
    if (!(radius1 > 0) || !(radius2 > 0)) throw NecGeometryError("the taper radii must be above 0");
    if (a == b) throw NecGeometryError("the wire has no length");
    RequireRoom(wires_.size(), static_cast<std::size_t>(segments), 1);
    // Lengths L1, L1 r, L1 r^2, ... adding up to the wire.
    double sum = 0;
    for (int i = 0; i < segments; ++i) sum += std::pow(ratio, i);
    const double radiusRatio = segments > 1 ? std::pow(radius2 / radius1, 1.0 / (segments - 1)) : 1.0;
    double along = 0;
    NecPoint start = a;
    for (int i = 0; i < segments; ++i) {
        along += std::pow(ratio, i) / sum;
        const NecPoint end = i + 1 == segments
                                 ? b
                                 : NecPoint{a.x + (b.x - a.x) * along, a.y + (b.y - a.y) * along,
                                            a.z + (b.z - a.z) * along};
        wires_.push_back({tag, 1, start, end, radius1 * std::pow(radiusRatio, i)});
        start = end;
    }
}

void NecGeometry::AddPolyline(int tag, const std::vector<NecPoint>& points, double radius) {
    RequireRoom(wires_.size(), points.size(), 1);
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points[i - 1] == points[i]) throw NecGeometryError("a segment has no length");
        wires_.push_back({tag, 1, points[i - 1], points[i], radius});
    }
}

void NecGeometry::Move(int tagIncrement, int copies, double rx, double ry, double rz, NecPoint shift, int fromTag) {
    if (copies < 0) throw NecGeometryError("the number of copies cannot be negative");
    std::size_t first = 0;
    if (fromTag != 0) {
        first = wires_.size();
        for (std::size_t i = 0; i < wires_.size(); ++i)
            if (wires_[i].tag == fromTag) {
                first = i;
                break;
            }
        if (first == wires_.size()) throw NecGeometryError("no wire has tag " + std::to_string(fromTag));
    }
    Transform t = Rotation(rx, ry, rz);
    t.shift = shift;
    auto moved = [&](const NecWire& w) {
        NecWire m = w;
        m.a = t.Apply(w.a);
        m.b = t.Apply(w.b);
        m.tag = NewTag(w.tag, tagIncrement);
        return m;
    };
    if (copies == 0) {
        for (std::size_t i = first; i < wires_.size(); ++i) wires_[i] = moved(wires_[i]);
        return;
    }
    std::size_t blockStart = first, blockEnd = wires_.size();
    if (blockEnd == blockStart) return;  // nothing to copy
    RequireRoom(wires_.size(), blockEnd - blockStart, static_cast<std::size_t>(copies));
    for (int c = 0; c < copies; ++c) {
        for (std::size_t i = blockStart; i < blockEnd; ++i) wires_.push_back(moved(wires_[i]));
        blockStart = blockEnd;
        blockEnd = wires_.size();
    }
}

void NecGeometry::RotateRepeat(int tagIncrement, int count) {
    if (count < 1) throw NecGeometryError("the number of copies must be at least 1");
    if (count == 1) return;
    Move(tagIncrement, count - 1, 0, 0, 360.0 / count, {}, 0);
}

void NecGeometry::Scale(double factor) {
    if (!(factor > 0)) throw NecGeometryError("the scale factor must be above 0");
    for (auto& w : wires_) {
        w.a = {w.a.x * factor, w.a.y * factor, w.a.z * factor};
        w.b = {w.b.x * factor, w.b.y * factor, w.b.z * factor};
        w.radius *= factor;
    }
}

void NecGeometry::Reflect(int tagIncrement, int planes) {
    if (planes < 0 || planes > 111 || planes % 10 > 1 || planes / 10 % 10 > 1)
        throw NecGeometryError("the reflection planes are given as three digits 0 or 1");
    const bool mirror[3] = {planes % 10 == 1, planes / 10 % 10 == 1, planes / 100 == 1};  // z, y, x
    int increment = tagIncrement;
    for (int axis = 0; axis < 3; ++axis) {
        if (!mirror[axis]) continue;
        const std::size_t n = wires_.size();
        RequireRoom(n, n, 1);
        for (std::size_t i = 0; i < n; ++i) {
            NecWire w = wires_[i];
            for (NecPoint* p : {&w.a, &w.b}) {
                if (axis == 0) p->z = -p->z;
                if (axis == 1) p->y = -p->y;
                if (axis == 2) p->x = -p->x;
            }
            w.tag = NewTag(w.tag, increment);
            wires_.push_back(w);
        }
        increment *= 2;
    }
}

bool NecGeometry::Locate(int tag, int segment, std::size_t& wire, int& segmentInWire) const {
    if (segment < 1) return false;
    int remaining = segment;
    for (std::size_t i = 0; i < wires_.size(); ++i) {
        if (tag != 0 && wires_[i].tag != tag) continue;
        if (remaining <= wires_[i].segments) {
            wire = i;
            segmentInWire = remaining;
            return true;
        }
        remaining -= wires_[i].segments;
    }
    return false;
}

}  // namespace qw
