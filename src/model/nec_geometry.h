// The geometry of a NEC deck, built card by card as NEC builds it: wires
// with tags and segment counts, arcs and helices cut into one straight wire
// per segment, and the cards that move, rotate, copy, scale and reflect
// what was built before them.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace qw {

// A card that cannot be applied (no wire with the tag asked for, a helix
// without length, ...); the deck reader adds the line.
class NecGeometryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NecPoint {
    double x = 0, y = 0, z = 0;
    bool operator==(const NecPoint&) const = default;
};

struct NecWire {
    int tag = 0;
    int segments = 1;
    NecPoint a, b;  // end 1, end 2 (metres)
    double radius = 0;
};

// The points of a helix (GH): segments + 1 points from z = 0 to z = |length|,
// turning once every `spacing` metres along z, starting on the +x axis.
// Radii a1 (along x) and b1 (along y) at z = 0 change linearly to a2, b2 at
// the top. A negative length winds the helix left-handed (y mirrored).
std::vector<NecPoint> HelixPoints(int segments, double spacing, double length, double a1, double b1, double a2,
                                  double b2);

// The points of an arc (GA) in the x-z plane about the origin: radius r,
// from angle1 to angle2 (degrees from +x towards +z), segments + 1 points.
std::vector<NecPoint> ArcPoints(int segments, double r, double angle1, double angle2);

class NecGeometry {
public:
    const std::vector<NecWire>& Wires() const { return wires_; }
    int SegmentCount() const;

    // GW: a straight wire.
    void AddWire(int tag, int segments, NecPoint a, NecPoint b, double radius);
    // GW with radius 0 followed by GC: segment lengths in the ratio `ratio`
    // from one to the next, radii from radius1 (first) to radius2 (last)
    // in a geometric progression; one wire per segment.
    void AddTaperedWire(int tag, int segments, NecPoint a, NecPoint b, double ratio, double radius1,
                        double radius2);
    // GA and GH: one straight wire per segment between consecutive points.
    void AddPolyline(int tag, const std::vector<NecPoint>& points, double radius);
    // GM: rotates about x, then y, then z (degrees), then shifts, the wires
    // from the first wire with tag `fromTag` (0: all) to the end. copies 0
    // moves them; otherwise each copy is made from the one before, and the
    // tags of the moved or copied wires grow by tagIncrement (tag 0 stays 0).
    void Move(int tagIncrement, int copies, double rx, double ry, double rz, NecPoint shift, int fromTag);
    // GR: count - 1 copies, each rotated about z by 360/count degrees.
    void RotateRepeat(int tagIncrement, int count);
    // GS: every coordinate and radius times factor.
    void Scale(double factor);
    // GX: planes is a three-digit flag: 1xx reflects in the y-z plane, x1x
    // in the x-z plane, xx1 in the x-y plane. Reflections are made in the
    // order x-y, x-z, y-z, each of everything built so far; the copies of
    // the first get tags + increment, of the second + 2 x increment, of the
    // third + 4 x increment, so every tag stays unique.
    void Reflect(int tagIncrement, int planes);

    // The wire (0-based index) and the segment within it (1-based) of
    // segment `segment` of tag `tag`; tag 0 counts segments over the whole
    // structure. False when there is no such segment.
    bool Locate(int tag, int segment, std::size_t& wire, int& segmentInWire) const;

private:
    std::vector<NecWire> wires_;
};

}  // namespace qw
