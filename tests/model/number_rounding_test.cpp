// The rounding of the number texts against the whole decimal expansion of
// the value: random values of every size, and the values next to the
// halfway points between two 7-digit decimals, where the digits beyond the
// 7th must be read exactly.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "model/format_mask.h"

namespace qw {
namespace {

// value in the mask "0.000000E+00", from its exact expansion rounded half
// away from zero to 7 significant digits.
std::string Expected(float value) {
    char buffer[1000];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(static_cast<double>(value)),
                                   std::chars_format::scientific, 800).ptr;
    std::string text(buffer, end);
    const std::size_t e = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') digits += text[i];
    int exponent = std::stoi(text.substr(e + 1));
    const bool up = digits[7] >= '5';  // a half rounds away from zero
    std::string kept = digits.substr(0, 7);
    if (up) {
        int i = 6;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            kept = "1000000";
            ++exponent;
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    std::string out = value < 0 ? "-" : "";
    out += kept.substr(0, 1) + "." + kept.substr(1) + "E" + (exponent < 0 ? "-" : "+");
    const std::string e2 = std::to_string(std::abs(exponent));
    return out + (e2.size() < 2 ? "0" + e2 : e2);
}

TEST(NumberRounding, RandomValuesAndValuesNextToAHalfwayPoint) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> mantissa(1.0f, 10.0f);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int n = 0; n < 20000; ++n) {
        const float v = (n % 2 ? -1.0f : 1.0f) * mantissa(rng) * std::pow(10.0f, static_cast<float>(exponent(rng)));
        ASSERT_EQ(Format(v, "0.000000E+00"), Expected(v)) << v;
    }
    // The floats either side of a halfway point, and halves a float holds
    // exactly (x.5 for values up to 2^23).
    std::uniform_int_distribution<int> digits(1000000, 9999999);
    for (int n = 0; n < 5000; ++n) {
        const float half = static_cast<float>((digits(rng) + 0.5) * std::pow(10.0, exponent(rng) % 13 - 6));
        for (const float v : {std::nextafter(half, 0.0f), half, std::nextafter(half, 1e30f)})
            ASSERT_EQ(Format(v, "0.000000E+00"), Expected(v)) << v;
    }
    for (const float v : {1234567.5f, 8388607.5f}) EXPECT_EQ(Format(v, "0.000000E+00"), Expected(v)) << v;
}

}  // namespace
}  // namespace qw
