// Format: the masks with their digit placeholders, grouping, percent,
// literals and exponents, the named formats, the sections and the minus
// sign, and the precision of each source type.
#include "model/format_mask.h"

#include <gtest/gtest.h>

#include <limits>

namespace qw {
namespace {

struct MaskCase {
    float value;
    const char* mask;
    const char* text;
};

TEST(FormatTest, Masks) {
    const MaskCase cases[] = {
        {2.675f, "0.00", "2.68"}, {0.5f, "#.##", ".5"}, {100.0f, "###0.##", "100."},
        {1.23456f, " #0.000#", " 1.2346"}, {9.9995f, "0.000", "10.000"}, {0.0f, "#", ""}, {0.4f, "##0", "0"},
        {2.5f, "0", "3"}, {1.5f, "####0.00##", "1.50"}, {14.2f, "##0.000 Mhz", "14.200 Mhz"},
        {1.25f, "0.0\" dB\"", "1.3 dB"}, {5.0f, "\\#0", "#5"}, {0.125f, "0.0%", "12.5%"},
        {1234567.0f, "#,##0", "1,234,567"}, {5.0f, "0,000", "0,005"},
        // exponents
        {123456.0f, "0.000E+00", "1.235E+05"}, {9.9996f, "0.000E+00", "1.000E+01"}, {12345.0f, "0.0E-00", "1.2E04"},
        {0.00012f, "0.0E-00", "1.2E-04"}, {5.0f, "00.0E+00", "50.0E-01"},
        // named formats
        {-1.5f, "Fixed", "-1.50"}, {0.000123f, "Scientific", "1.23E-04"},
        {1234567.5f, "Standard", "1,234,568.00"},  // 7 digits first
        {0.002f, "General Number", "0.002"}, {16777215.0f, "General Number", "1.677722E+07"}, {-0.25f, "", "-0.25"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.value, c.mask), c.text) << c.mask << " " << c.text;
    EXPECT_EQ(Format(1e100, "0.000E+00"), "1.000E+100");
    EXPECT_EQ(Format(std::numeric_limits<double>::infinity(), "0.00"), "INF");
}

TEST(FormatTest, NegativeValuesAndSections) {
    const MaskCase cases[] = {
        // one section: minus in front, replacing a leading blank
        {-5.0f, " 0.000E+00", "-5.000E+00"}, {-0.001f, "0.00", "-0.00"}, {-3.456f, "##0.00 dBi", "-3.46 dBi"},
        {-5.0f, "   ###0.000#", "  -5.000"},
        // two sections: the second one for every negative value, no minus of its own
        {-0.5f, " 0.000E+00;-0.000E+00", "-5.000E-01"}, {10.0f, " #0.000#;-#0.000#", " 10.000"},
        {-0.0001f, " #0.00#;-#0.00#", "-0.00"}, {-1.5f, "0.0;(0.0)", "(1.5)"},
        // three sections: the third one for zero; an empty section falls back
        {0.0f, "0.0;(0.0);\"zero\"", "zero"}, {2.0f, "0.0;(0.0);\"zero\"", "2.0"}, {-1.5f, "0.0;;zero", "-1.5"},
        {0.0f, "0.0;-0.0;", "0.0"}, {-1.5f, ";", "-"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.value, c.mask), c.text) << c.mask << " " << c.text;
}

TEST(FormatTest, DoubleAndIntegerValuesUseTheirOwnPrecision) {
    EXPECT_EQ(Format(123456789.125, "0.00"), "123456789.13");
    EXPECT_EQ(Format(123456789.125f, "0.00"), "123456800.00");
    EXPECT_EQ(Format(1.0 / 3.0, "General Number"), "0.333333333333333");
    EXPECT_EQ(Format(12, "000"), "012");
    EXPECT_EQ(Format(-7, "#0.0"), "-7.0");
    EXPECT_EQ(Format(1234567, "Standard"), "1,234,567.00");
}

}  // namespace
}  // namespace qw
