// Val: the leading number of a text, what ends it, and the numbers too
// large or too small for a 64-bit value.
#include "model/number_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace qw {
namespace {

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

}  // namespace
}  // namespace qw
