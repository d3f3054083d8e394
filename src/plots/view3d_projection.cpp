#include "plots/view3d_projection.h"

#include <algorithm>
#include <cmath>

namespace qw {

AntennaExtent MeasureExtent(const std::vector<std::array<float, 3>>& points) {
    AntennaExtent e;
    if (points.empty()) return e;
    std::array<float, 3> lo{100000, 100000, 100000}, hi{-100000, -100000, -100000};
    for (const auto& p : points)
        for (std::size_t k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], p[k]);
            hi[k] = std::max(hi[k], p[k]);
        }
    e.cx = (lo[0] + hi[0]) / 2;
    e.cy = (lo[1] + hi[1]) / 2;
    e.cz = (lo[2] + hi[2]) / 2;
    e.size = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
    return e;
}

float DefaultZoom(float size) { return size > 0 ? std::min(100 / size, kMaxZoom - 1) : 2; }

int TableDegree(float angle) {
    if (!std::isfinite(angle)) return 0;
    int d = static_cast<int>(std::fmod(std::nearbyint(angle), 360.0f));
    if (d < 0) d += 360;
    return d;
}

float WrapViewAngle(float angle) {
    if (!std::isfinite(angle)) return 0;
    const float r = std::fmod(std::nearbyint(angle), 360.0f);
    return r == 0 ? 0.0f : r;  // no -0
}

CosSinTable::CosSinTable() {
    constexpr double kRad = 3.14159265358979323846 / 180;
    for (int d = 0; d <= 360; ++d) {
        cos_[static_cast<std::size_t>(d)] = static_cast<float>(std::cos(d * kRad));
        sin_[static_cast<std::size_t>(d)] = static_cast<float>(std::sin(d * kRad));
    }
}

ScreenPoint ProjectPoint(const View3DState& v, const CosSinTable& t, float x, float y, float z) {
    const float c0 = t.Cos(v.ViewAngle0), s0 = t.Sin(v.ViewAngle0);
    const float c1 = t.Cos(v.ViewAngle1), s1 = t.Sin(v.ViewAngle1);
    const float c2 = t.Cos(v.ViewAngle2), s2 = t.Sin(v.ViewAngle2);
    const float u = x * c2 - y * s2;
    const float w0 = x * s2 + y * c2;
    const float xp = u * c0 + z * s0;
    const float w = z * c0 - u * s0;
    const float yp = w0 * c1 - w * s1;
    const float zp = w0 * s1 + w * c1;
    return {v.PanX + v.Zoom * xp, v.PanY + v.Zoom * yp, v.PanZ + v.Zoom * zp};
}

namespace {

void Turn(float& angle, float by) { angle = WrapViewAngle(angle + by); }

bool ZoomGeometry(View3DState& v, bool in, bool doubling) {
    const float before = v.Zoom;
    if (doubling) {
        if (in && v.Zoom < kMaxZoom) v.Zoom = std::min(v.Zoom * 2, kMaxZoom);
        if (!in && v.Zoom > 0) v.Zoom /= 2;
    } else {
        v.Zoom = std::clamp(v.Zoom + (in ? 0.5f : -0.5f), 0.0f, kMaxZoom);
    }
    return v.Zoom != before;
}

}  // namespace

bool ApplyViewKey(View3DState& v, ViewKey key, bool alt, bool shift) {
    v.Step = alt ? 10.0f : 1.0f;
    const float turn = 5 * v.Step;
    if (shift) {
        switch (key) {
        case ViewKey::Up: v.PanY -= v.Step; return true;
        case ViewKey::Down: v.PanY += v.Step; return true;
        case ViewKey::Left: v.PanX += v.Step; return true;
        case ViewKey::Right: v.PanX -= v.Step; return true;
        default: break;
        }
    }
    switch (key) {
    case ViewKey::Up: Turn(v.ViewAngle1, -turn); return true;
    case ViewKey::Down: Turn(v.ViewAngle1, turn); return true;
    case ViewKey::Left: Turn(v.ViewAngle2, -turn); return true;
    case ViewKey::Right: Turn(v.ViewAngle2, turn); return true;
    case ViewKey::PageUp: Turn(v.ViewAngle0, -turn); return true;
    case ViewKey::End: Turn(v.ViewAngle0, turn); return true;
    case ViewKey::Plus: return ZoomGeometry(v, true, alt);
    case ViewKey::Minus: return ZoomGeometry(v, false, alt);
    }
    return false;
}

bool ZoomView(View3DState& v, bool in, float fittedCurrentScale) {
    if (v.ZoomPattern) {
        v.PatternSize = in ? v.PatternSize * 1.5f : v.PatternSize / 1.5f;
        return true;
    }
    if (v.ZoomCurrents) {
        if (v.CurrentScale <= 0) v.CurrentScale = fittedCurrentScale;
        v.CurrentScale = in ? v.CurrentScale * 2 : v.CurrentScale / 2;
        return true;
    }
    return ZoomGeometry(v, in, true);
}

bool DragView(View3DState& v, int dx, int dy, bool pan) {
    if (dx == 0 && dy == 0) return false;
    if (pan) {
        v.PanX += static_cast<float>(dx) * v.Step;
        v.PanY -= static_cast<float>(dy) * v.Step;  // the screen's y runs downward, the view's upward
        return true;
    }
    // Dragging to the right turns the antenna to the right, dragging down
    // tips its top toward the viewer.
    if (dx != 0) Turn(v.ViewAngle2, dx > 0 ? -5.0f : 5.0f);
    if (dy != 0) Turn(v.ViewAngle1, dy > 0 ? 5.0f : -5.0f);
    return true;
}

}  // namespace qw
