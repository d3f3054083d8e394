// Windows-1252 <-> UTF-8.
//
// Bytes below 0x80 are ASCII and 0xA0-0xFF are Latin-1, equal to their
// code points. Only 0x80-0x9F need a table; the five bytes Windows-1252
// leaves undefined keep their own value (C1 control characters), so every
// byte survives a round trip.
#include "platform/text_encoding.h"

#include <algorithm>

#include <array>
#include <cstdint>

namespace qw {
namespace {

constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char kReplacement = '?';

char32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

void AppendUtf8(std::string& out, char32_t c) {
    auto put = [&out](std::uint32_t value) { out += static_cast<char>(value); };
    const auto v = static_cast<std::uint32_t>(c);
    if (v < 0x80) {
        put(v);
    } else if (v < 0x800) {
        put(0xC0 | (v >> 6));
        put(0x80 | (v & 0x3F));
    } else {
        put(0xE0 | (v >> 12));
        put(0x80 | ((v >> 6) & 0x3F));
        put(0x80 | (v & 0x3F));
    }
}

// The Windows-1252 byte of a code point, or '?' when there is none.
char ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    return kReplacement;
}

// Decodes one UTF-8 sequence at text[i], advancing i past it. A malformed
// sequence yields no code point and advances past its longest valid start
// (at least one byte), so the caller writes one '?' for it.
bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        c = lead;
        return true;
    }
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;         // no overlong forms
        if (lead == 0xED) high = 0x9F;        // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;        // nothing beyond U+10FFFF
    } else {
        return false;
    }
    char32_t value = lead & (0xFF >> (length + 1));
    for (int k = 1; k < length; ++k) {
        if (i >= text.size()) return false;
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF)) return false;
        value = (value << 6) | (byte & 0x3F);
        ++i;
    }
    c = value;
    return true;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    // ASCII (every table line of numbers) is the same in both.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char byte : text) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(byte)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = 0;
        out += DecodeUtf8(text, i, c) ? ByteOf(c) : kReplacement;
    }
    return out;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace qw
