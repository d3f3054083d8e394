// QtCanvas on the offscreen platform: what is drawn lands in the image. The
// picture files are checked through the pattern window's Save and Load.
#include <gtest/gtest.h>

#include "ui/qt_canvas.h"

namespace qw {
namespace {

TEST(QtCanvas, LinesBoxesCirclesDotsAndTextLandInTheImage) {
    QtCanvas c(200, 80);
    auto pixel = [&](int x, int y) { return c.Image().pixel(x, y) & 0xFFFFFF; };
    c.SetForeColour(kRed);
    c.Line(10, 10, 90, 10);
    EXPECT_EQ(pixel(50, 10), 0xFF0000u);
    c.FilledBox(20, 30, 40, 50, kBlue);
    EXPECT_EQ(pixel(30, 40), 0x0000FFu);
    EXPECT_EQ(pixel(45, 40), 0xFFFFFFu);
    c.SetForeColour(PaletteColour(2));
    c.Circle(70, 50, 10);
    EXPECT_EQ(pixel(80, 50), 0x008000u);
    EXPECT_EQ(pixel(70, 50), 0xFFFFFFu);  // not filled
    c.Point(10, 70);
    EXPECT_EQ(pixel(10, 70), 0x008000u);

    c.Clear();
    c.SetForeColour(kBlack);
    c.SetLineStyle(LineStyle::Dotted);
    c.Line(0, 5, 200, 5);
    int black = 0;
    for (int x = 0; x < 200; ++x) black += pixel(x, 5) == 0;
    EXPECT_GT(black, 20);
    EXPECT_LT(black, 180);
    c.PrintAt(100, 20, "F/B = 12.36 dB");
    EXPECT_FLOAT_EQ(c.CurrentY, 20 + c.TextHeight());
    int inked = 0;
    for (int y = 20; y < 20 + c.TextHeight(); ++y)
        for (int x = 100; x < 200; ++x) inked += pixel(x, y) != 0xFFFFFFu;
    EXPECT_GT(inked, 20);
}

}  // namespace
}  // namespace qw
