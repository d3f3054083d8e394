#include "platform/recording_canvas.h"

#include "platform/monospace_metrics.h"

namespace qw {

std::vector<DrawOp> RecordingCanvas::Visible() const {
    std::size_t start = 0;
    for (std::size_t i = 0; i < ops_.size(); ++i)
        if (ops_[i].kind == DrawKind::Clear) start = i + 1;
    return {ops_.begin() + static_cast<std::ptrdiff_t>(start), ops_.end()};
}

std::vector<DrawOp> RecordingCanvas::OpsOf(DrawKind kind, Rgb colour) const {
    std::vector<DrawOp> out;
    for (const DrawOp& op : ops_)
        if (op.kind == kind && op.pen.colour == colour) out.push_back(op);
    return out;
}

void RecordingCanvas::DrawClear(Rgb background) {
    DrawOp op;
    op.pen.colour = background;
    ops_.push_back(op);
}

void RecordingCanvas::DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    ops_.push_back({DrawKind::Line, x1, y1, x2, y2, pen, {}, false});
}

void RecordingCanvas::DrawPoint(double x, double y, Rgb colour) {
    ops_.push_back({DrawKind::Point, x, y, x, y, Pen{colour, 1, LineStyle::Solid}, {}, false});
}

void RecordingCanvas::DrawCircle(double x, double y, double radius, const Pen& pen) {
    ops_.push_back({DrawKind::Circle, x, y, radius, 0, pen, {}, false});
}

void RecordingCanvas::DrawBox(double x1, double y1, double x2, double y2, Rgb fill) {
    ops_.push_back({DrawKind::Box, x1, y1, x2, y2, Pen{fill, 1, LineStyle::Solid}, {}, false});
}

void RecordingCanvas::DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) {
    ops_.push_back({DrawKind::Text, x, y, x, y, Pen{colour, 1, LineStyle::Solid}, text, bold});
}

double RecordingCanvas::PixelTextWidth(const std::string& text, bool) const { return MonospaceTextWidth(text); }

double RecordingCanvas::PixelTextHeight(bool) const { return kMonospaceLineHeight; }

}  // namespace qw
