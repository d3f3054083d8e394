// A canvas that keeps every drawing operation in pixels, for tests.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace qw {

enum class DrawKind { Clear, Line, Point, Circle, Box, Text };

struct DrawOp {
    DrawKind kind = DrawKind::Clear;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Circle: centre in x1, y1 and the radius in x2
    Pen pen;                                // Box, Point, Text, Clear: the colour in pen.colour
    std::string text;                       // Text only
    bool bold = false;                      // Text only
};

class RecordingCanvas : public Canvas {
public:
    using Canvas::Canvas;

    // Every operation since the picture was made; Clear is recorded too
    // and empties nothing.
    const std::vector<DrawOp>& Ops() const { return ops_; }
    // The operations drawn after the last Clear.
    std::vector<DrawOp> Visible() const;
    // The operations of one kind drawn in one colour, in order.
    std::vector<DrawOp> OpsOf(DrawKind kind, Rgb colour) const;

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
    std::vector<DrawOp> ops_;
};

}  // namespace qw
