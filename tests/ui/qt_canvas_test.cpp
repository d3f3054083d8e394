// QtCanvas on the offscreen platform: what is drawn lands in the image. The
// picture files are checked through the pattern window's Save and Load.
#include <gtest/gtest.h>

#include "ui/qt_canvas.h"

namespace qw {
namespace {

QRgb Pixel(const QtCanvas& c, int x, int y) { return c.Image().pixel(x, y) & 0xFFFFFF; }

int CountColour(const QtCanvas& c, QRgb colour) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) n += Pixel(c, x, y) == colour;
    return n;
}

TEST(QtCanvas, LinesBoxesAndCirclesLandInTheImage) {
    QtCanvas c(100, 80);
    c.SetForeColour(kRed);
    c.Line(10, 10, 90, 10);
    EXPECT_EQ(Pixel(c, 50, 10), 0xFF0000u);
    c.FilledBox(20, 30, 40, 50, kBlue);
    EXPECT_EQ(Pixel(c, 30, 40), 0x0000FFu);
    EXPECT_EQ(Pixel(c, 45, 40), 0xFFFFFFu);
    c.SetForeColour(PaletteColour(2));
    c.Circle(70, 50, 10);
    EXPECT_EQ(Pixel(c, 80, 50), 0x008000u);
    EXPECT_EQ(Pixel(c, 70, 50), 0xFFFFFFu);  // not filled
    c.SetScale(0, 0, 10, 8);  // user units of 10 pixels
    c.SetForeColour(kBlack);
    c.Point(1, 7);
    EXPECT_EQ(Pixel(c, 10, 70), 0x000000u);
    c.Clear();
    EXPECT_EQ(CountColour(c, 0xFFFFFFu), 100 * 80);
}

TEST(QtCanvas, DottedLinesLeaveGapsAndTextMovesTheCursor) {
    QtCanvas c(200, 60);
    c.SetLineStyle(LineStyle::Dotted);
    c.Line(0, 5, 200, 5);
    int black = 0;
    for (int x = 0; x < 200; ++x) black += Pixel(c, x, 5) == 0;
    EXPECT_GT(black, 20);
    EXPECT_LT(black, 180);
    c.Clear();
    c.PrintAt(5, 5, "F/B = 12.36 dB");
    EXPECT_FLOAT_EQ(c.CurrentY, 5 + c.TextHeight());
    EXPECT_LT(CountColour(c, 0xFFFFFFu), 200 * 60);
}

}  // namespace
}  // namespace qw
