// A canvas that draws through a QPainter, anti-aliased: the 3D view paints
// its picture with it on the screen, on the printer and into the images
// of the clipboard and the picture files, each at its own resolution.
#pragma once

#include <QFont>

#include "platform/canvas.h"

class QPainter;

namespace qw {

class PainterCanvas : public Canvas {
public:
    // Draws on `painter` (already begun) over width x height pixels of its
    // device.
    PainterCanvas(QPainter& painter, int width, int height);

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
    QFont Font(bool bold) const;
    QPainter& painter_;
    QFont font_;
};

}  // namespace qw
