// The number texts: Str's 7 (or 15) digits and their rounding, the masks of
// Format with their sections and the minus sign, Val's leading number, and
// the conversions CInt (half to even), CLng, IntPart and ToSingle.
#include "model/format_mask.h"
#include "model/number_conversion.h"
#include "model/number_str.h"
#include "model/number_value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace qw {
namespace {

struct FloatText {
    float value;
    const char* text;
};

struct DoubleText {
    double value;
    const char* text;
};

TEST(StrTest, SingleValues) {
    const FloatText cases[] = {
        {-0.0f, " 0"}, {-0.25f, "-.25"}, {0.1f, " .1"}, {2.0f / 3.0f, " .6666667"},
        // fixed range, decided after rounding: 0.0001f is 9.99999975E-05
        {0.0001f, " .0001"}, {0.00001f, " 1E-05"}, {9999999.0f, " 9999999"}, {12345678.0f, " 1.234568E+07"},
        {-2.5e10f, "-2.5E+10"}, {std::numeric_limits<float>::denorm_min(), " 1.401298E-45"},
        // exact ties at the 8th digit round away from zero, not to even
        {1234568.5f, " 1234569"}, {-1234568.5f, "-1234569"},
    };
    for (const auto& c : cases) EXPECT_EQ(Str(c.value), c.text) << c.text;
}

TEST(StrTest, DoubleIntegerAndNonFiniteValues) {
    const DoubleText cases[] = {
        {0.1 + 0.2, " .3"}, {1.0 / 3.0, " .333333333333333"}, {123456789012345.0, " 123456789012345"},
        {1234567890123456.0, " 1.23456789012346E+15"}, {999999999999999.9, " 1E+15"},
        {100000000000000.5, " 100000000000001"},  // tie away from zero
        {1e100, " 1E+100"}, {-1e-300, "-1E-300"},
    };
    for (const auto& c : cases) EXPECT_EQ(Str(c.value), c.text) << c.text;
    EXPECT_EQ(Str(12), " 12");
    EXPECT_EQ(Str(INT_MIN), "-2147483648");
    EXPECT_EQ(Str(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(Str(std::numeric_limits<float>::quiet_NaN()), " NAN");
    EXPECT_EQ(Format(std::numeric_limits<double>::infinity(), "0.00"), "INF");
}

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

TEST(ValTest, LeadingNumberAndOverflow) {
    struct ValCase {
        std::string text;
        double value;
    };
    const std::string zeros(100000, '0');
    const ValCase cases[] = {
        {"12abc", 12.0}, {"-.5", -0.5}, {"1.5.3", 1.5}, {"1e+", 1.0}, {"--3", 0.0}, {"inf", 0.0}, {"", 0.0},
        {" \t42", 42.0}, {"1.5E-03xyz", 0.0015}, {".", 0.0}, {"1,5", 1.0}, {"1e-999", 0.0}, {"0e99999", 0.0},
        {zeros + "12.5", 12.5}, {"0." + zeros + "1", 0.0},
    };
    for (const auto& c : cases) {
        bool overflow = true;
        EXPECT_EQ(Val(c.text, &overflow), c.value) << '"' << c.text.substr(0, 20) << '"';
        EXPECT_FALSE(overflow) << c.text.substr(0, 20);
    }
    EXPECT_DOUBLE_EQ(Val("." + std::string(100000, '3')), 1.0 / 3.0);
    for (const std::string& huge : {std::string("1e999"), std::string("-1e999"), "1" + zeros}) {
        bool overflow = false;
        EXPECT_EQ(Val(huge, &overflow), huge[0] == '-' ? -HUGE_VAL : HUGE_VAL) << huge.substr(0, 20);
        EXPECT_TRUE(overflow);
    }
    EXPECT_EQ(Val("1e999"), HUGE_VAL);  // no flag given
}

TEST(ConversionTest, CIntRoundsHalfToEven) {
    const DoubleText cases[] = {{2.5, "2"}, {-3.5, "-4"}, {2.4999, "2"}, {32767.4, "32767"}, {-32768.5, "-32768"}};
    for (const auto& c : cases) EXPECT_EQ(std::to_string(CInt(c.value)), c.text) << c.value;
    for (double bad : {32767.5, -32768.6, std::nan(""), HUGE_VAL})
        EXPECT_THROW(CInt(bad), NumberOverflow) << bad;
}

TEST(ConversionTest, CLngIntPartAndToSingle) {
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_EQ(CLng(-2147483648.5), INT32_MIN);
    EXPECT_EQ(CLng(6.5), 6);
    EXPECT_THROW(CLng(2147483647.5), NumberOverflow);
    EXPECT_EQ(IntPart(-2.9), -2);
    EXPECT_EQ(IntPart(-2147483648.9), INT32_MIN);
    for (double bad : {2147483648.0, -2147483649.0, -HUGE_VAL}) EXPECT_THROW(IntPart(bad), NumberOverflow) << bad;
    EXPECT_EQ(ToSingle(static_cast<double>(FLT_MAX)), FLT_MAX);
    EXPECT_EQ(ToSingle(1e-50), 0.0f);
    for (double bad : {3.5e38, -3.5e38, HUGE_VAL, std::nan("")}) EXPECT_THROW(ToSingle(bad), NumberOverflow) << bad;
}

}  // namespace
}  // namespace qw
