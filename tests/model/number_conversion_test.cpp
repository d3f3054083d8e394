// The conversions CInt (half to even), CLng, IntPart and ToSingle, and the
// values that do not fit.
#include "model/number_conversion.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>

namespace qw {
namespace {

struct DoubleInteger {
    double value;
    const char* integer;
};

TEST(ConversionTest, CIntRoundsHalfToEven) {
    const DoubleInteger cases[] = {{2.5, "2"}, {-3.5, "-4"}, {2.4999, "2"}, {32767.4, "32767"}, {-32768.5, "-32768"}};
    for (const auto& c : cases) EXPECT_EQ(std::to_string(CInt(c.value)), c.integer) << c.value;
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
