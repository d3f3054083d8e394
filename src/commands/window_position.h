// Window positions: every window stores its left, top, width and height
// (in the screen's units) under its own key of the "Windows" section when
// it closes, and restores them when it opens.
//
// Keys: "Main", "Environ", "Freq", "FreqRange", "FFinfo", "NFInfo",
// "PlotOpt", "PlotScr", "Ant3D", "2DView", "Opti", "GeoGrid".
#pragma once

#include <string>

#include "model/context.h"

namespace qw {

enum class WindowPlacement {
    None,           // nothing stored: the window keeps its own place
    Moved,          // a fixed-size dialog: only left and top apply
    MovedAndSized,  // all four values apply
    Maximised,
};

struct WindowGeometry {
    WindowPlacement kind = WindowPlacement::None;
    float left = 0, top = 0, width = 0, height = 0;
};

// Where a window goes, from its stored text and the screen's size: a left
// or top below 0 or beyond the screen becomes 0; a width or height of 0 or
// less, or beyond the screen, becomes the screen's. A resizable window is
// maximised when its height reaches the screen's height.
WindowGeometry RestoreWindowPosition(const std::string& stored, float screenWidth, float screenHeight,
                                     bool resizable);

// The text a window stores when it closes: four numbers in Str form joined
// by ",".
std::string WindowPositionText(float left, float top, float width, float height);

// The stored text of a window ("" when none) and storing it.
std::string StoredWindowPosition(const Context& ctx, const std::string& window);
bool StoreWindowPosition(Context& ctx, const std::string& window, float left, float top, float width, float height);

}  // namespace qw
