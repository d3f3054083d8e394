#include "ui/svg_replay.h"

namespace qw {

void SvgReplay::Play(const std::vector<PictureCanvas::Op>& ops) {
    using Kind = PictureCanvas::Kind;
    for (const auto& op : ops) {
        switch (op.kind) {
        case Kind::Clear: DrawClear(op.colour); break;
        case Kind::Line: DrawLine(op.x1, op.y1, op.x2, op.y2, op.pen); break;
        case Kind::Point: DrawPoint(op.x1, op.y1, op.colour); break;
        case Kind::Circle: DrawCircle(op.x1, op.y1, op.x2, op.pen); break;
        case Kind::Box: DrawBox(op.x1, op.y1, op.x2, op.y2, op.colour); break;
        case Kind::Text: DrawText(op.x1, op.y1, op.text, op.colour, op.bold); break;
        }
    }
}

}  // namespace qw
