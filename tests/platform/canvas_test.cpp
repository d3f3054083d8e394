// The canvases: user coordinates and pens on the recording canvas, and the
// elements of the SVG document.
#include <gtest/gtest.h>

#include <array>

#include "platform/recording_canvas.h"
#include "platform/svg_canvas.h"

namespace qw {
namespace {

TEST(Canvas, UserCoordinatesMapOntoPixelsAndThePenTravelsWithEachLine) {
    EXPECT_EQ(PaletteColour(8), (Rgb{128, 128, 128}));
    EXPECT_EQ(PaletteColour(16), kBlack);  // outside the sixteen colours
    RecordingCanvas c(200, 100);
    c.SetScale(-1, 1, 1, -1);  // x to the right, y upwards
    c.SetForeColour(kRed);
    c.SetPenWidth(3);
    c.SetLineStyle(LineStyle::Dotted);
    c.Line(-1, 1, 1, -1);
    c.SetPenWidth(0);  // refused: at least one pixel
    c.SetLineStyle(LineStyle::Solid);
    c.Circle(0, 0, 0.5f);
    c.ResetScale();
    c.FilledBox(3, 4, 5, 6, kBlue);
    const auto& ops = c.Ops();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ((std::array{ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2}), (std::array<double, 4>{0, 0, 200, 100}));
    EXPECT_EQ(ops[0].pen, (Pen{kRed, 3, LineStyle::Dotted}));
    EXPECT_EQ(ops[1].kind, DrawKind::Circle);
    EXPECT_EQ((std::array{ops[1].x1, ops[1].y1, ops[1].x2}), (std::array<double, 3>{100, 50, 50}));  // radius in x units
    EXPECT_EQ(ops[1].pen, (Pen{kRed, 1, LineStyle::Solid}));
    EXPECT_EQ((std::array{ops[2].x1, ops[2].y2}), (std::array<double, 2>{3, 6}));
    EXPECT_EQ(ops[2].pen.colour, kBlue);
}

TEST(SvgCanvas, DocumentHoldsEveryElement) {
    SvgCanvas c(320, 240);
    c.SetForeColour(kBlue);
    c.Line(1, 2, 3.5f, 4.25f);
    c.SetLineStyle(LineStyle::Dotted);
    c.SetForeColour(kBlack);
    c.Circle(160, 120, 50);
    c.FilledBox(10, 20, 5, 2, kRed);
    c.SetBold(true);
    c.PrintAt(5, 6, "F/B <3");
    const std::string d = c.Document();
    for (const char* element :
         {"width=\"320\" height=\"240\"", "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>",
          "<line x1=\"1\" y1=\"2\" x2=\"3.5\" y2=\"4.25\" stroke=\"#0000ff\" stroke-width=\"1\"/>",
          "<circle cx=\"160\" cy=\"120\" r=\"50\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" "
          "stroke-dasharray=\"1,2\"/>",
          "<rect x=\"5\" y=\"2\" width=\"5\" height=\"18\" fill=\"#ff0000\"/>",
          "<text x=\"5\" y=\"17\" fill=\"#000000\" font-weight=\"bold\" xml:space=\"preserve\">F/B &lt;3</text>"})
        EXPECT_NE(d.find(element), std::string::npos) << element << "\n" << d;
    c.Clear();
    EXPECT_EQ(c.Document().find("<line"), std::string::npos);
}

}  // namespace
}  // namespace qw
