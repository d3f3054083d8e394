// The canvases: user coordinates, pens and text on the recording canvas,
// and the elements of the SVG document.
#include <gtest/gtest.h>

#include <array>

#include "platform/recording_canvas.h"
#include "platform/svg_canvas.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

TEST(Canvas, UserCoordinatesMapOntoPixels) {
    RecordingCanvas c(200, 100);
    c.SetScale(-1, 1, 1, -1);  // x to the right, y upwards
    c.Line(-1, 1, 1, -1);
    c.Circle(0, 0, 0.5f);
    c.ResetScale();
    c.Line(3, 4, 5, 6);
    const auto& ops = c.Ops();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ((std::array{ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2}), (std::array<double, 4>{0, 0, 200, 100}));
    EXPECT_EQ(ops[1].kind, DrawKind::Circle);
    EXPECT_EQ((std::array{ops[1].x1, ops[1].y1, ops[1].x2}), (std::array<double, 3>{100, 50, 50}));  // radius in x units
    EXPECT_EQ((std::array{ops[2].x1, ops[2].y2}), (std::array<double, 2>{3, 6}));
}

TEST(Canvas, PenColourWidthAndStyleTravelWithEachLine) {
    EXPECT_EQ(PaletteColour(8), (Rgb{128, 128, 128}));
    EXPECT_EQ(PaletteColour(16), kBlack);  // outside the sixteen colours
    EXPECT_EQ(PaletteColour(-1), kBlack);
    RecordingCanvas c(50, 50);
    c.SetForeColour(kRed);
    c.SetPenWidth(3);
    c.SetLineStyle(LineStyle::Dotted);
    c.Line(0, 0, 1, 1);
    c.SetPenWidth(0);  // refused: at least one pixel
    c.SetLineStyle(LineStyle::Solid);
    c.Line(0, 0, 1, 1);
    c.FilledBox(1, 2, 3, 4, kBlue);
    ASSERT_EQ(c.Ops().size(), 3u);
    EXPECT_EQ(c.Ops()[0].pen, (Pen{kRed, 3, LineStyle::Dotted}));
    EXPECT_EQ(c.Ops()[1].pen, (Pen{kRed, 1, LineStyle::Solid}));
    EXPECT_EQ(c.Ops()[2].pen.colour, kBlue);
}

TEST(Canvas, PrintMovesTheCursorToTheNextLineAndClearResetsIt) {
    RecordingCanvas c(300, 300);
    c.CurrentX = 40;
    c.CurrentY = 10;
    c.Print("one");
    EXPECT_FLOAT_EQ(c.CurrentX, 0);
    EXPECT_FLOAT_EQ(c.CurrentY, 10 + c.TextHeight());
    c.PrintAt(100, 200, "two");
    c.SetBold(true);
    c.Print("three");
    const auto& ops = c.Ops();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_DOUBLE_EQ(ops[0].x1, 40);
    EXPECT_DOUBLE_EQ(ops[2].x1, 0);
    EXPECT_DOUBLE_EQ(ops[2].y1, 200 + c.TextHeight());
    EXPECT_TRUE(ops[2].bold);
    c.Clear();
    EXPECT_FLOAT_EQ(c.CurrentY, 0);
    EXPECT_TRUE(c.Visible().empty());
}

TEST(SvgCanvas, TextIsConvertedFromWindows1252AndEscaped) {
    EXPECT_EQ(SvgText("Lobe at : 90\xBA"), "Lobe at : 90\xC2\xBA");
    EXPECT_EQ(SvgText("a<b & \"c\" 'd'>"), "a&lt;b &amp; &quot;c&quot; &apos;d&apos;&gt;");
    EXPECT_EQ(SvgText("x\r\ny\x81z"), "xyz");  // controls and undefined bytes dropped
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
    test::TempDir dir;
    ASSERT_EQ(c.Save(dir.File("p.svg")), "");
    EXPECT_EQ(test::ReadBytes(dir.File("p.svg")), c.Document());
}

}  // namespace
}  // namespace qw
