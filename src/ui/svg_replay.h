// The pattern window's picture written as SVG: the primitives a
// PictureCanvas recorded, drawn again on an SVG canvas at the same pixel
// positions.
#pragma once

#include <vector>

#include "platform/svg_canvas.h"
#include "ui/picture_canvas.h"

namespace qw {

class SvgReplay : public SvgCanvas {
public:
    using SvgCanvas::SvgCanvas;

    void Play(const std::vector<PictureCanvas::Op>& ops);
};

}  // namespace qw
