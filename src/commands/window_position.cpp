#include "commands/window_position.h"

#include "model/number_str.h"
#include "model/settings.h"

namespace qw {

WindowGeometry RestoreWindowPosition(const std::string& stored, float screenWidth, float screenHeight,
                                     bool resizable) {
    WindowGeometry g;
    if (stored.empty()) return g;
    const auto n = FourNumbers(stored);
    // Compared in double: a stored number too large for a Single is simply
    // beyond the screen.
    g.left = n[0] < 0 || n[0] > screenWidth ? 0 : static_cast<float>(n[0]);
    g.top = n[1] < 0 || n[1] > screenHeight ? 0 : static_cast<float>(n[1]);
    g.width = n[2] <= 0 || n[2] > screenWidth ? screenWidth : static_cast<float>(n[2]);
    g.height = n[3] <= 0 || n[3] > screenHeight ? screenHeight : static_cast<float>(n[3]);
    if (!resizable)
        g.kind = WindowPlacement::Moved;
    else
        g.kind = g.height >= screenHeight ? WindowPlacement::Maximised : WindowPlacement::MovedAndSized;
    return g;
}

std::string WindowPositionText(float left, float top, float width, float height) {
    return Str(left) + "," + Str(top) + "," + Str(width) + "," + Str(height);
}

std::string StoredWindowPosition(const Context& ctx, const std::string& window) {
    return GetSetting(ctx, kWindowsSection, window);
}

bool StoreWindowPosition(Context& ctx, const std::string& window, float left, float top, float width, float height) {
    return PutSetting(ctx, kWindowsSection, window, WindowPositionText(left, top, width, height));
}

}  // namespace qw
