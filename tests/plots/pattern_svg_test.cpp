// A pattern drawn as SVG must be a picture that a renderer accepts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/svg_canvas.h"
#include "plots/pattern_plot.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

TEST(PatternSvg, RsvgConvertRendersTheZenithCut) {
    if (std::system("command -v rsvg-convert > /dev/null 2>&1") != 0) GTEST_SKIP() << "rsvg-convert is not installed";
    test::SolvedAntenna a;
    test::TempDir dir;
    a.p.FileName = dir.File("svg.qlk");
    a.Wire(10, -0.17f, 0, -0.17f, 0.17f, 0, 0.17f);
    a.Source(5);
    a.Build();
    a.ctx.options.Marker3dB = true;
    PatternView view;
    view.CutAngle = 0;
    SvgCanvas canvas(500, 560);
    ReportLines lines(a.ctx, nullptr);
    ASSERT_TRUE(PlotZenithCut(a.ctx, view, canvas, lines));
    ASSERT_EQ(canvas.Save(dir.File("cut.svg")), "");
    const std::string command = "rsvg-convert -o '" + dir.File("cut.png") + "' '" + dir.File("cut.svg") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string png = test::ReadBytes(dir.File("cut.png"));
    ASSERT_GT(png.size(), 1000u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    // Width and height of the IHDR chunk, big-endian.
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\xF4\0\0\x02\x30", 8));
}

}  // namespace
}  // namespace qw
