// Print lines as the log and the printed report lay them out: numbers,
// zones of 14 columns and tabs.
#include "model/print_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace qw {
namespace {

std::string Blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

TEST(PrintLineTest, ZonesMoveStrictlyToTheNextZoneStart) {
    struct Case {
        int startColumn;
        int zoneColumn;
    };
    const Case cases[] = {{1, 15}, {14, 15}, {15, 29}, {57, 71}};
    for (const auto& c : cases) {
        PrintLine line;
        line.Text(Blanks(c.startColumn - 1)).Zone();
        EXPECT_EQ(line.Column(), c.zoneColumn) << c.startColumn;
        EXPECT_EQ(line.Lines().size(), 1u);
    }
}

// Numbers get a leading (or minus) and a trailing blank.
TEST(PrintLineTest, NumbersAndZonedLogLine) {
    PrintLine line;
    line.Num(1.0f).Zone().Num(-2.5f).Zone().Text("ohm");
    EXPECT_EQ(line.Joined(), " 1 " + Blanks(11) + "-2.5 " + Blanks(9) + "ohm");
}

TEST(PrintLineTest, TabMovesToColumnOrWrapsToNextLine) {
    PrintLine line;
    line.Tab(10).Text("a");
    EXPECT_EQ(line.Lines().back(), Blanks(9) + "a");
    line.Tab(11).Text("b");  // already at column 11: stays
    EXPECT_EQ(line.Lines().back(), Blanks(9) + "ab");
    line.Tab(3).Text("c");  // past column 3: new line
    EXPECT_EQ(line.Column(), 4);
    EXPECT_EQ(line.Joined(), Blanks(9) + "ab\r\n  c");

    PrintLine low;  // a column below 1 counts as 1
    low.Tab(0).Text("x").Tab(-5).Text("y");
    EXPECT_EQ(low.Joined(), "x\r\ny");
}

}  // namespace
}  // namespace qw
