#include "model/number_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace qw {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

// The decimal magnitude of a number text that from_chars found out of
// range: the power of ten of its first significant digit, roughly. Positive
// means too large, otherwise too small.
long long DecimalMagnitude(std::string_view mantissa, std::string_view exponent) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return std::numeric_limits<long long>::min();
    // Integer digits from the first significant one, or minus the zeros
    // between the point and the first significant fraction digit.
    const long long magnitude = first < point ? static_cast<long long>(point - first)
                                              : -static_cast<long long>(first - point - 1);
    long long power = 0;
    bool negative = false;
    for (char c : exponent) {
        if (c == '-') negative = true;
        if (IsDigit(c)) power = std::min(power * 10 + (c - '0'), 1000000000LL);
    }
    return magnitude + (negative ? -power : power);
}

}  // namespace

double Val(std::string_view text, bool* overflow) {
    if (overflow) *overflow = false;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    i = SkipDigits(text, i);
    std::size_t digitCount = i - start;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = i + 1;
        i = SkipDigits(text, fractionStart);
        digitCount += i - fractionStart;
    }
    if (digitCount == 0) return 0.0;
    const std::size_t mantissaEnd = i;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) i = SkipDigits(text, j);
    }
    const std::string_view number = text.substr(start, i - start);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view mantissa = text.substr(start, mantissaEnd - start);
        const std::string_view exponent = text.substr(mantissaEnd, i - mantissaEnd);
        if (DecimalMagnitude(mantissa, exponent) > 0) {
            if (overflow) *overflow = true;
            value = HUGE_VAL;
        } else {
            value = 0.0;
        }
    }
    return negative ? -value : value;
}

}  // namespace qw
