// The pattern window's picture: a QtCanvas that also keeps every primitive
// drawn since it was last cleared, so that the same picture can be written
// as SVG (see SvgReplay). A pasted bitmap cannot be replayed: such a
// picture stays a bitmap until the next drawing clears it.
#pragma once

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "ui/qt_canvas.h"

namespace qw {

class PictureCanvas : public QtCanvas {
public:
    enum class Kind { Clear, Line, Point, Circle, Box, Text };
    // One primitive as it was drawn. A circle keeps its radius in x2; the
    // colour is the background, point, box or text colour.
    struct Op {
        Kind kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        Pen pen;
        Rgb colour;
        std::string text;
        bool bold = false;
    };

    // A new canvas starts white (its base cleared it before this class
    // was there to record it).
    PictureCanvas(int width, int height);

    // A canvas of its own with this one's pixels, recording and drawing
    // state: an overlaid cut draws on it while this one is shown.
    std::unique_ptr<PictureCanvas> Clone() const;

    // Paints a loaded picture over the canvas; from then on nothing is
    // recorded until the next clear.
    void PastePicture(const QImage& picture);
    bool Replayable() const { return replayable_; }
    const std::vector<Op>& Ops() const { return ops_; }

protected:
    void DrawClear(Rgb background) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void DrawPoint(double x, double y, Rgb colour) override;
    void DrawCircle(double x, double y, double radius, const Pen& pen) override;
    void DrawBox(double x1, double y1, double x2, double y2, Rgb fill) override;
    void DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) override;

private:
    PictureCanvas(const PictureCanvas&) = default;
    void Record(Op op);

    std::vector<Op> ops_;
    bool replayable_ = true;
};

}  // namespace qw
