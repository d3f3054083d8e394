// Format: the masks with their digit placeholders, grouping, percent,
// literals and exponents, the named formats, the sections and the minus
// sign, and the precision of each source type.
#include "model/format_mask.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

namespace qw {
namespace {

// The short cut for the tables' mask writes what the mask engine writes:
// on random values over the whole range it covers and beyond, on the
// halfway cases of both roundings and their neighbours, near the powers of
// ten, and on the values outside it (which take the engine itself).
TEST(FormatMask, TableMaskShortCutEqualsTheMaskEngine) {
    constexpr const char* kMask = " #0.00#;-#0.00#";
    std::vector<float> values = {0.0f, -0.0f, 0.001f, -0.001f, 0.0009999f, 9999.999f, 9999.9995f, 10000.0f,
                                 -999.0f, 2.675f, 0.0005f, 1.2345f, -1.2345f, 0.1235f, 99.9995f, 999.9995f};
    for (int k = -3; k <= 4; ++k) {
        const float power = static_cast<float>(std::pow(10.0, k));
        float below = power, above = power;
        for (int n = 0; n < 4; ++n) {
            below = std::nextafter(below, 0.0f);
            above = std::nextafter(above, 1e30f);
            values.insert(values.end(), {below, above, -below, -above});
        }
    }
    // Halfway at the third decimal (x.xxx5) and at the seventh digit, with
    // their neighbouring floats.
    for (int n = 0; n < 20000; ++n) {
        const float tie3 = (static_cast<float>(n) + 0.5f) / 1000.0f;
        const float tie7 = static_cast<float>(n * 37 % 9000 + 1000) + 0.0005f;
        for (float v : {tie3, tie7, n * 0.0123f}) {
            values.insert(values.end(), {v, std::nextafter(v, 0.0f), std::nextafter(v, 1e30f), -v});
        }
    }
    std::mt19937 rng(61206);
    std::uniform_real_distribution<float> exponent(-4.5f, 4.5f);
    for (int n = 0; n < 200000; ++n) {
        const float v = std::pow(10.0f, exponent(rng));
        values.push_back(rng() % 2 ? v : -v);
    }
    int differing = 0;
    for (const float v : values) {
        const std::string fast = Format(v, kMask), engine = FormatThroughMask(v, kMask);
        if (fast != engine && ++differing <= 5) ADD_FAILURE() << v << ": \"" << fast << "\" against \"" << engine << "\"";
    }
    EXPECT_EQ(differing, 0) << "of " << values.size() << " values";
}

}  // namespace
}  // namespace qw
