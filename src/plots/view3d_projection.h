// The 3D view's state and its projection: three whole-degree view angles,
// a pan in pixels and a zoom in pixels per metre, turned into screen
// coordinates through sine and cosine tables of whole degrees.
#pragma once

#include <array>
#include <vector>

namespace qw {

// What the 3D view keeps while it is open.
struct View3DState {
    float ViewAngle0 = 0, ViewAngle1 = -60, ViewAngle2 = -60;  // whole degrees, within (-360, 360)
    float PanX = 0, PanY = 0, PanZ = 0;                        // pixels
    float Zoom = 2;                                            // pixels per metre, 0 .. 16000
    float CurrentScale = 0;   // metres per ampere of the current curve; 0: fitted to the antenna
    float PatternSize = 10;   // scale of the 3D pattern (10: the pattern's largest radius is the antenna size)
    bool ShowCurrents = false, ShowPulses = false, ShowPulseNumbers = false, ShowWireInfo = false,
         ShowPattern = false;
    bool ZoomCurrents = false, ZoomPattern = false;  // what the zoom buttons act on
    bool Marker = false;           // the current curve is displaced by |I| sin(phase) instead of |I|
    bool CurrentColours = false;   // the wires are coloured by current magnitude instead of the curve
    bool PatternByGain = true;     // the pattern mesh is coloured by gain (false: the field colour)
    int InfoWire = 1;              // the wire described by the wire information
    float Step = 1;                // multiplier of keyboard steps: 1, or 10 while Alt is held
};

inline constexpr float kMaxZoom = 16000;

// The extents of the wire end points: the centre of each extent, and the
// largest extent as the antenna's size.
struct AntennaExtent {
    float cx = 0, cy = 0, cz = 0;
    float size = 0;  // metres
};

// The extent of a set of points (x, y, z); no points give size 0.
AntennaExtent MeasureExtent(const std::vector<std::array<float, 3>>& points);

// 100 pixels over the antenna's size, or 2 for an antenna without extent.
float DefaultZoom(float size);

// An angle in whole degrees brought into 0..359 (a table index).
int TableDegree(float angle);
// An angle in whole degrees brought into (-360, 360), its sign kept.
float WrapViewAngle(float angle);

// Sine and cosine of the whole degrees 0..360.
class CosSinTable {
public:
    CosSinTable();  // MakeCosSin
    float Cos(float angle) const { return cos_[static_cast<std::size_t>(TableDegree(angle))]; }
    float Sin(float angle) const { return sin_[static_cast<std::size_t>(TableDegree(angle))]; }

private:
    std::array<float, 361> cos_{}, sin_{};
};

// A point on the screen: x to the right and y upward from the picture's
// centre, in pixels; depth grows toward the viewer.
struct ScreenPoint {
    float x = 0, y = 0, depth = 0;
};

// The projection of (x, y, z), metres relative to the antenna's centre:
// turned about z by ViewAngle2, about the new y by ViewAngle0 and about the
// new x by ViewAngle1, then zoomed and panned.
ScreenPoint ProjectPoint(const View3DState& view, const CosSinTable& table, float x, float y, float z);

// The keys of the view. Turning keys change an angle by 5 x Step; with
// Shift the arrows pan by Step instead.
enum class ViewKey { Up, Down, Left, Right, PageUp, End, Plus, Minus };

// Applies a key; alt makes the steps 10 times larger (and the zoom keys
// double or halve). True when the view changed.
bool ApplyViewKey(View3DState& view, ViewKey key, bool alt, bool shift);

// The zoom buttons: the pattern's size times or over 1.5, the current
// scale doubled or halved, or the geometry's zoom doubled or halved,
// after what the toggles select. `fittedCurrentScale` stands for a current
// scale still 0. True when the view changed.
bool ZoomView(View3DState& view, bool in, float fittedCurrentScale);

// A drag of the mouse by (dx, dy) pixels (y downward): the left button
// turns the view by 5 degrees per step, the right one pans by Step per
// step. True when the view changed.
bool DragView(View3DState& view, int dx, int dy, bool pan);

}  // namespace qw
