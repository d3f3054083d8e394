// A canvas that writes an SVG picture: the core's picture files.
#pragma once

#include <string>

#include "platform/canvas.h"

namespace qw {

class SvgCanvas : public Canvas {
public:
    // The picture starts cleared to white.
    SvgCanvas(int width, int height);

    // The whole SVG document (UTF-8).
    std::string Document() const;
    // Writes the document through a temporary file; "" on success, else
    // the reason.
    std::string Save(const std::string& path) const;

protected:
    void DrawClear(Rgb background) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void DrawPoint(double x, double y, Rgb colour) override;
    void DrawCircle(double x, double y, double radius, const Pen& pen) override;
    void DrawBox(double x1, double y1, double x2, double y2, Rgb fill) override;
    void DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) override;
    double PixelTextWidth(const std::string& text, bool bold) const override;
    double PixelTextHeight(bool bold) const override;

private:
    std::string body_;
};

// Text for an SVG document: Windows-1252 to UTF-8, with &, <, >, " and '
// escaped and control characters dropped.
std::string SvgText(const std::string& cp1252Text);

}  // namespace qw
