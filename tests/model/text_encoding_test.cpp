#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace qw {
namespace {

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

TEST(TextEncodingTest, EveryByteRoundTripsAndTheUndefinedOnesKeepTheirValue) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += Byte(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp1252ToUtf8(Byte(0x80) + Byte(0x9F) + "2" + Byte(0xB5) + "H"), "€Ÿ2µH");
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const std::string expected{static_cast<char>(0xC2), static_cast<char>(b)};  // U+0081 and so on
        EXPECT_EQ(Cp1252ToUtf8(Byte(b)), expected) << b;
    }
}

TEST(TextEncodingTest, UnmappableAndMalformedBecomeQuestionMarks) {
    struct Case {
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"中a", "?a"},                 // outside Windows-1252
        {"\u0080", "?"},               // C1 control that 0x80 does not hold
        {"\x80x", "?x"},               // stray continuation byte
        {"\xE2\x82" "A", "?A"},        // truncated sequence
        {"\xC0\xAF", "??"},            // overlong form
        {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

}  // namespace
}  // namespace qw
