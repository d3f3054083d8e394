// One cut of the radiation pattern as the polar plot draws it, and its
// results.
#pragma once

#include <array>

namespace qw {

inline constexpr int kAzimuthPlane = 1;
inline constexpr int kZenithPlane = 2;

inline constexpr int kTotalField = 1;
inline constexpr int kHorizontalField = 2;
inline constexpr int kVerticalField = 3;

struct PatternCut {
    int plane = kAzimuthPlane;   // 1 azimuth cut, 2 zenith cut
    int fieldType = kTotalField; // 1 total, 2 horizontal, 3 vertical
    float cutAngle = 0;          // elevation of an azimuth cut, azimuth of a zenith cut
    int step = 2;                // degrees between plotted positions, at least 1
    int firstAngle = 0;          // display angle of position 0: 0, or -90 for a zenith cut
    int span = 360;              // degrees: 360, or 180 for a zenith cut over ground
    bool gainInDbi = true;       // the unit of the values: dBi, or dBd
    float frequency = 0;         // MHz

    // The plotted value of position q (display angle firstAngle + q) for
    // q = 0, step, 2 step, ... up to span.
    std::array<float, 361> values{};

    float maxGain = -999;     // the largest value, its first occurrence
    int maxPosition = 0;      // where it is
    float frontToBack = 0;    // azimuth cut: max minus the total gain opposite
    float takeOffAngle = 0;   // zenith cut: 90 - |zenith| at the maximum
    float lobeAngle = 0;      // azimuth cut

    int LastPosition() const { return span - span % step; }
    int DisplayAngle(int position) const { return firstAngle + position; }
};

}  // namespace qw
