// The optimizer's chart: the objective's line through every point at its
// place on the axes, the secondary dotted, the labels, and an empty chart.
#include "plots/optimizer_chart.h"

#include <gtest/gtest.h>

#include "platform/recording_canvas.h"

namespace qw {
namespace {

bool HasText(const RecordingCanvas& c, const std::string& t) {
    for (const auto& op : c.Ops())
        if (op.kind == DrawKind::Text && op.text == t) return true;
    return false;
}

TEST(OptimizerChart, LinesLabelsAndEmpty) {
    RecordingCanvas c(300, 200);
    DrawOptimizerChart(c, {{0, 1, 5}, {1, 2, 4}, {2, 4, NAN}, {3, 3, 2}}, "Gain (dB)", "F/B (dB)");
    const auto blue = c.OpsOf(DrawKind::Line, kBlue);
    ASSERT_EQ(blue.size(), 3u);
    // Each segment starts where the one before ended; the steps run left to right,
    // the highest value (4 at step 2) is the highest point.
    for (std::size_t i = 1; i < blue.size(); ++i) {
        EXPECT_DOUBLE_EQ(blue[i].x1, blue[i - 1].x2);
        EXPECT_DOUBLE_EQ(blue[i].y1, blue[i - 1].y2);
        EXPECT_GT(blue[i].x2, blue[i].x1);
    }
    EXPECT_LT(blue[1].y2, blue[0].y2);
    EXPECT_LT(blue[1].y2, blue[2].y2);
    // The secondary: dotted red, broken where it is missing (1 segment).
    const auto red = c.OpsOf(DrawKind::Line, kRed);
    ASSERT_EQ(red.size(), 1u);
    EXPECT_EQ(red[0].pen.style, LineStyle::Dotted);
    EXPECT_TRUE(HasText(c, "Gain (dB)"));
    EXPECT_TRUE(HasText(c, "F/B (dB)"));
    EXPECT_TRUE(HasText(c, "5.00"));  // the top of the range
    EXPECT_TRUE(HasText(c, "1.00"));
    EXPECT_TRUE(HasText(c, "3"));     // the last step

    RecordingCanvas empty(300, 200);
    DrawOptimizerChart(empty, {}, "SWR", "");
    EXPECT_TRUE(HasText(empty, "No steps yet"));
    EXPECT_TRUE(empty.OpsOf(DrawKind::Line, kBlue).empty());
}

}  // namespace
}  // namespace qw
