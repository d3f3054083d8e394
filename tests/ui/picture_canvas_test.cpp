// The pattern window's picture and its SVG: what a PictureCanvas records,
// replayed by SvgReplay, gives the same SVG document as drawing the same
// picture on an SvgCanvas directly; a pasted bitmap stops the recording
// until the next clear.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/svg_canvas.h"
#include "ui/picture_canvas.h"
#include "ui/svg_replay.h"

namespace qw {
namespace {

// One picture with every primitive, in scaled user coordinates, drawn on
// any canvas. Text goes through PrintAt only: its position does not depend
// on the canvas's font.
void DrawSample(Canvas& c) {
    c.SetScale(-10, 10, 10, -10);
    c.SetBackColour(PaletteColour(15));
    c.Clear();
    c.SetForeColour(kRed);
    c.SetPenWidth(2);
    c.Line(-9, -9, 9, 9);
    c.SetLineStyle(LineStyle::Dotted);
    c.SetForeColour(PaletteColour(2));
    c.Circle(0, 0, 5);
    c.Point(1.5f, -2.25f);
    c.FilledBox(-8, 8, -6, 6, kBlue);
    c.SetBold(true);
    c.PrintAt(-9, 9, "YAGI3.QLK Azimuth <Total> & \"Field\"");
}

TEST(PictureCanvas, ReplayedSvgEqualsTheSameDrawingOnAnSvgCanvas) {
    PictureCanvas picture(320, 240);
    DrawSample(picture);
    ASSERT_TRUE(picture.Replayable());
    ASSERT_EQ(picture.Ops().size(), 6u);  // the clear and five primitives
    EXPECT_EQ(picture.Ops().front().kind, PictureCanvas::Kind::Clear);
    EXPECT_EQ(picture.Ops().front().colour, PaletteColour(15));
    EXPECT_EQ(picture.Ops().back().kind, PictureCanvas::Kind::Text);

    SvgCanvas direct(320, 240);
    DrawSample(direct);
    SvgReplay replay(picture.Width(), picture.Height());
    replay.Play(picture.Ops());
    EXPECT_EQ(replay.Document(), direct.Document());
    EXPECT_NE(replay.Document().find("&lt;Total&gt; &amp;"), std::string::npos);
}

TEST(PictureCanvas, ANewCanvasIsAWhiteClearAndAPastedBitmapIsNotReplayable) {
    PictureCanvas fresh(50, 40);
    ASSERT_EQ(fresh.Ops().size(), 1u);
    EXPECT_EQ(fresh.Ops()[0].kind, PictureCanvas::Kind::Clear);
    EXPECT_EQ(fresh.Ops()[0].colour, kWhite);
    SvgReplay blank(50, 40);
    blank.Play(fresh.Ops());
    EXPECT_EQ(blank.Document(), SvgCanvas(50, 40).Document());

    QImage bitmap(20, 10, QImage::Format_RGB32);
    bitmap.fill(Qt::green);
    fresh.PastePicture(bitmap);
    EXPECT_FALSE(fresh.Replayable());
    EXPECT_TRUE(fresh.Ops().empty());
    EXPECT_EQ(fresh.Image().pixel(5, 5) & 0xFFFFFF, 0x00FF00u);
    fresh.Line(0, 0, 49, 39);  // drawn onto the bitmap, not recorded
    EXPECT_TRUE(fresh.Ops().empty());

    fresh.Clear();
    EXPECT_TRUE(fresh.Replayable());
    fresh.Point(3, 4);
    ASSERT_EQ(fresh.Ops().size(), 2u);
    EXPECT_EQ(fresh.Ops()[1].kind, PictureCanvas::Kind::Point);
    EXPECT_DOUBLE_EQ(fresh.Ops()[1].x1, 3);
    EXPECT_DOUBLE_EQ(fresh.Ops()[1].y1, 4);
}

}  // namespace
}  // namespace qw
