// Str: 7 digits for a 32-bit value and 15 for a 64-bit one, rounded half
// away from zero, the fixed range decided after rounding, integers and the
// values that are not finite.
#include "model/number_str.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

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
}

}  // namespace
}  // namespace qw
