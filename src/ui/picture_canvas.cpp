#include "ui/picture_canvas.h"

#include <utility>

namespace qw {

PictureCanvas::PictureCanvas(int width, int height) : QtCanvas(width, height) {
    ops_.push_back({Kind::Clear, 0, 0, 0, 0, {}, kWhite, {}, false});
}

std::unique_ptr<PictureCanvas> PictureCanvas::Clone() const {
    return std::unique_ptr<PictureCanvas>(new PictureCanvas(*this));
}

void PictureCanvas::PastePicture(const QImage& picture) {
    Paste(picture);
    ops_.clear();
    replayable_ = false;
}

void PictureCanvas::DrawClear(Rgb background) {
    ops_.clear();
    replayable_ = true;
    ops_.push_back({Kind::Clear, 0, 0, 0, 0, {}, background, {}, false});
    QtCanvas::DrawClear(background);
}

void PictureCanvas::DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    Record({Kind::Line, x1, y1, x2, y2, pen, {}, {}, false});
    QtCanvas::DrawLine(x1, y1, x2, y2, pen);
}

void PictureCanvas::DrawPoint(double x, double y, Rgb colour) {
    Record({Kind::Point, x, y, 0, 0, {}, colour, {}, false});
    QtCanvas::DrawPoint(x, y, colour);
}

void PictureCanvas::DrawCircle(double x, double y, double radius, const Pen& pen) {
    Record({Kind::Circle, x, y, radius, 0, pen, {}, {}, false});
    QtCanvas::DrawCircle(x, y, radius, pen);
}

void PictureCanvas::DrawBox(double x1, double y1, double x2, double y2, Rgb fill) {
    Record({Kind::Box, x1, y1, x2, y2, {}, fill, {}, false});
    QtCanvas::DrawBox(x1, y1, x2, y2, fill);
}

void PictureCanvas::DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) {
    Record({Kind::Text, x, y, 0, 0, {}, colour, text, bold});
    QtCanvas::DrawText(x, y, text, colour, bold);
}

void PictureCanvas::Record(Op op) {
    if (replayable_) ops_.push_back(std::move(op));
}

}  // namespace qw
