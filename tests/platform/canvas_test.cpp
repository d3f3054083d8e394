#include <gtest/gtest.h>

#include "platform/recording_canvas.h"
#include "platform/svg_canvas.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

TEST(Palette, SixteenColoursAndBlackOutside) {
    EXPECT_EQ(PaletteColour(0), kBlack);
    EXPECT_EQ(PaletteColour(9), kBlue);
    EXPECT_EQ(PaletteColour(12), kRed);
    EXPECT_EQ(PaletteColour(15), kWhite);
    EXPECT_EQ(PaletteColour(8), (Rgb{128, 128, 128}));
    EXPECT_EQ(PaletteColour(16), kBlack);
    EXPECT_EQ(PaletteColour(-1), kBlack);
}

TEST(Canvas, UserCoordinatesMapOntoPixels) {
    RecordingCanvas c(200, 100);
    c.SetScale(-1, 1, 1, -1);  // x to the right, y upwards
    c.Line(-1, 1, 1, -1);
    c.Circle(0, 0, 0.5f);
    c.ResetScale();
    c.Line(3, 4, 5, 6);
    const auto& ops = c.Ops();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_DOUBLE_EQ(ops[0].x1, 0);
    EXPECT_DOUBLE_EQ(ops[0].y1, 0);
    EXPECT_DOUBLE_EQ(ops[0].x2, 200);
    EXPECT_DOUBLE_EQ(ops[0].y2, 100);
    EXPECT_EQ(ops[1].kind, DrawKind::Circle);
    EXPECT_DOUBLE_EQ(ops[1].x1, 100);
    EXPECT_DOUBLE_EQ(ops[1].y1, 50);
    EXPECT_DOUBLE_EQ(ops[1].x2, 50);  // radius in x units
    EXPECT_DOUBLE_EQ(ops[2].x1, 3);
    EXPECT_DOUBLE_EQ(ops[2].y2, 6);
}

TEST(Canvas, PenColourWidthAndStyleTravelWithEachLine) {
    RecordingCanvas c(50, 50);
    c.SetForeColour(kRed);
    c.SetPenWidth(3);
    c.SetLineStyle(LineStyle::Dotted);
    c.Line(0, 0, 1, 1);
    c.SetPenWidth(0);  // refused: at least one pixel
    c.SetLineStyle(LineStyle::Solid);
    c.Line(0, 0, 1, 1);
    c.FilledBox(1, 2, 3, 4, kBlue);
    c.Point(7, 8);
    ASSERT_EQ(c.Ops().size(), 4u);
    EXPECT_EQ(c.Ops()[0].pen, (Pen{kRed, 3, LineStyle::Dotted}));
    EXPECT_EQ(c.Ops()[1].pen, (Pen{kRed, 1, LineStyle::Solid}));
    EXPECT_EQ(c.Ops()[2].pen.colour, kBlue);
    EXPECT_EQ(c.Ops()[3].kind, DrawKind::Point);
    EXPECT_EQ(c.Ops()[3].pen.colour, kRed);
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
    EXPECT_DOUBLE_EQ(ops[0].y1, 10);
    EXPECT_DOUBLE_EQ(ops[1].x1, 100);
    EXPECT_DOUBLE_EQ(ops[2].x1, 0);
    EXPECT_DOUBLE_EQ(ops[2].y1, 200 + c.TextHeight());
    EXPECT_TRUE(ops[2].bold);
    EXPECT_FLOAT_EQ(c.TextWidth("abcd"), 4 * c.TextWidth("a"));
    c.Clear();
    EXPECT_FLOAT_EQ(c.CurrentY, 0);
    EXPECT_TRUE(c.Visible().empty());
    EXPECT_EQ(c.Ops().size(), 4u);
}

TEST(SvgCanvas, TextIsConvertedFromWindows1252AndEscaped) {
    EXPECT_EQ(SvgText("Lobe at : 90\xBA"), "Lobe at : 90\xC2\xBA");
    EXPECT_EQ(SvgText("a<b & \"c\" 'd'>"), "a&lt;b &amp; &quot;c&quot; &apos;d&apos;&gt;");
    EXPECT_EQ(SvgText("x\r\ny\x81z"), "xyz");  // controls and undefined bytes dropped
    EXPECT_EQ(SvgText("45 \xB0"), "45 \xC2\xB0");
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
    EXPECT_NE(d.find("width=\"320\" height=\"240\""), std::string::npos);
    EXPECT_NE(d.find("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>"), std::string::npos);
    EXPECT_NE(d.find("<line x1=\"1\" y1=\"2\" x2=\"3.5\" y2=\"4.25\" stroke=\"#0000ff\" stroke-width=\"1\"/>"),
              std::string::npos);
    EXPECT_NE(d.find("<circle cx=\"160\" cy=\"120\" r=\"50\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" "
                     "stroke-dasharray=\"1,2\"/>"),
              std::string::npos);
    EXPECT_NE(d.find("<rect x=\"5\" y=\"2\" width=\"5\" height=\"18\" fill=\"#ff0000\"/>"), std::string::npos);
    EXPECT_NE(d.find("<text x=\"5\" y=\"17\" fill=\"#000000\" font-weight=\"bold\" xml:space=\"preserve\">F/B "
                     "&lt;3</text>"),
              std::string::npos);
    c.Clear();
    EXPECT_EQ(c.Document().find("<line"), std::string::npos);

    test::TempDir dir;
    ASSERT_EQ(c.Save(dir.File("p.svg")), "");
    EXPECT_EQ(test::ReadBytes(dir.File("p.svg")), c.Document());
}

}  // namespace
}  // namespace qw
