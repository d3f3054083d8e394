#include "platform/canvas.h"

#include <array>
#include <cmath>

namespace qw {

Rgb PaletteColour(int index) {
    static constexpr std::array<Rgb, 16> palette = {{
        {0, 0, 0}, {0, 0, 128}, {0, 128, 0}, {0, 128, 128},
        {128, 0, 0}, {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255}, {0, 255, 0}, {0, 255, 255},
        {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    }};
    if (index < 0 || index > 15) return kBlack;
    return palette[static_cast<std::size_t>(index)];
}

void Canvas::SetScale(float left, float top, float right, float bottom) {
    if (right == left || bottom == top) return;
    left_ = left;
    top_ = top;
    scaleX_ = static_cast<float>(width_) / (right - left);
    scaleY_ = static_cast<float>(height_) / (bottom - top);
}

void Canvas::ResetScale() {
    left_ = top_ = 0;
    scaleX_ = scaleY_ = 1;
}

double Canvas::PixelX(float x) const { return (static_cast<double>(x) - left_) * scaleX_; }
double Canvas::PixelY(float y) const { return (static_cast<double>(y) - top_) * scaleY_; }

void Canvas::Clear() {
    DrawClear(back_);
    CurrentX = left_;
    CurrentY = top_;
}

void Canvas::Line(float x1, float y1, float x2, float y2) {
    DrawLine(PixelX(x1), PixelY(y1), PixelX(x2), PixelY(y2), pen_);
}

void Canvas::Point(float x, float y) { DrawPoint(PixelX(x), PixelY(y), pen_.colour); }

void Canvas::Circle(float x, float y, float radius) {
    DrawCircle(PixelX(x), PixelY(y), std::fabs(static_cast<double>(radius) * scaleX_), pen_);
}

void Canvas::FilledBox(float x1, float y1, float x2, float y2, Rgb fill) {
    DrawBox(PixelX(x1), PixelY(y1), PixelX(x2), PixelY(y2), fill);
}

void Canvas::Print(const std::string& text) {
    DrawText(PixelX(CurrentX), PixelY(CurrentY), text, pen_.colour, bold_);
    CurrentX = left_;
    CurrentY += TextHeight();
}

void Canvas::PrintAt(float x, float y, const std::string& text) {
    CurrentX = x;
    CurrentY = y;
    Print(text);
}

float Canvas::TextWidth(const std::string& text) const {
    return static_cast<float>(PixelTextWidth(text, bold_) / scaleX_);
}

float Canvas::TextHeight() const { return static_cast<float>(PixelTextHeight(bold_) / std::fabs(scaleY_)); }

}  // namespace qw
