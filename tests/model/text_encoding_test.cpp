#include "model/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace qw {
namespace {

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

TEST(TextEncodingTest, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += Byte(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(Byte(b))), Byte(b)) << b;
}

TEST(TextEncodingTest, HighControlRangeIsWindows1252) {
    // 0x80-0x9F; the undefined bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D keep their value.
    const char* const expected[32] = {
        "€", "\u0081", "‚", "ƒ", "„", "…", "†", "‡", "ˆ", "‰", "Š", "‹", "Œ", "\u008D", "Ž", "\u008F",
        "\u0090", "‘", "’", "“", "”", "•", "–", "—", "˜", "™", "š", "›", "œ", "\u009D", "ž", "Ÿ",
    };
    for (int i = 0; i < 32; ++i) EXPECT_EQ(Cp1252ToUtf8(Byte(0x80 + i)), expected[i]) << 0x80 + i;
}

TEST(TextEncodingTest, LatinAndAsciiBytes) {
    EXPECT_EQ(Cp1252ToUtf8("Ant 1"), "Ant 1");
    EXPECT_EQ(Cp1252ToUtf8("2" + Byte(0xB5) + "H"), "2µH");
    EXPECT_EQ(Cp1252ToUtf8("45" + Byte(0xBA)), "45º");
    EXPECT_EQ(Cp1252ToUtf8(Byte(0xA0) + Byte(0xFF)), "\u00A0ÿ");
    EXPECT_EQ(Utf8ToCp1252("µº€"), Byte(0xB5) + Byte(0xBA) + Byte(0x80));
}

TEST(TextEncodingTest, UnmappableAndMalformedBecomeQuestionMarks) {
    struct Case {
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"中a", "?a"},                       // outside Windows-1252
        {"\U0001F600", "?"},                 // four-byte sequence
        {"\u0080", "?"},                     // C1 control that 0x80 does not hold
        {"\xFF", "?"},                       // invalid byte
        {"\x80x", "?x"},                     // stray continuation byte
        {"\xE2\x82" "A", "?A"},              // truncated sequence
        {"\xC0\xAF", "??"},                  // overlong form
        {"\xED\xA0\x80", "???"},             // surrogate
        {"\xF4\x90\x80\x80", "????"},        // beyond U+10FFFF
        {"\xE2\x82", "?"},                   // truncated at the end
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

}  // namespace
}  // namespace qw
