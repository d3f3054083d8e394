#include "model/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace qw::decimal_digits {
namespace {

void TrimTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) {
        d.point = 0;
        d.negative = false;
    }
}

// The decimal digits of a finite double, correctly rounded to `precision`
// significant digits (to_chars rounds the exact binary value).
Decimal DecimalDigits(double value, int precision) {
    char buffer[800];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, precision - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    Decimal d;
    d.negative = std::signbit(value);
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    int exponent = 0;
    const std::string_view exponentText = text.substr(e + 1);
    const char* first = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
    std::from_chars(first, exponentText.data() + exponentText.size(), exponent);
    d.point = exponent + 1;
    if (d.digits.front() == '0') d.digits.clear();  // only for zero
    TrimTrailingZeros(d);
    return d;
}

// A finite double rounded half away from zero to `keep` significant digits.
// The digits are first taken correctly rounded to a few digits beyond
// `keep`: they lie within half a unit of their last place of the exact
// value, so the rounding decision they give is the exact value's unless
// they show an exact half (a "5" and nothing after it), which may be a true
// tie or a value within that half unit of one. Only then is the whole
// expansion taken (a double's has at most 767 significant digits).
Decimal RoundedDecimal(double value, int keep) {
    const int precision = keep + 5;
    Decimal d = DecimalDigits(value, precision);
    if (static_cast<int>(d.digits.size()) == keep + 1 && d.digits.back() == '5')
        d = DecimalDigits(value, 770);
    RoundAt(d, keep);
    return d;
}

}  // namespace

void RoundAt(Decimal& d, int keep) {
    const int size = static_cast<int>(d.digits.size());
    if (keep >= size) return;
    if (keep < 0) {
        d.digits.clear();
        TrimTrailingZeros(d);
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        while (!d.digits.empty() && d.digits.back() == '9') d.digits.pop_back();
        if (d.digits.empty()) {
            d.digits = "1";
            d.point += 1;
        } else {
            d.digits.back() = static_cast<char>(d.digits.back() + 1);
        }
    }
    TrimTrailingZeros(d);
}

Decimal FromFloat(float value) { return RoundedDecimal(static_cast<double>(value), kSingleDigits); }

Decimal FromDouble(double value) { return RoundedDecimal(value, kDoubleDigits); }

Decimal FromInt(long long value) {
    Decimal d;
    d.negative = value < 0;
    unsigned long long magnitude = d.negative ? 0ULL - static_cast<unsigned long long>(value)
                                              : static_cast<unsigned long long>(value);
    d.digits = std::to_string(magnitude);
    d.point = static_cast<int>(d.digits.size());
    if (magnitude == 0) d.digits.clear();
    TrimTrailingZeros(d);
    return d;
}

std::string NonFiniteText(double value, bool leadingBlank) {
    if (std::isnan(value)) return leadingBlank ? " NAN" : "NAN";
    if (value < 0) return "-INF";
    return leadingBlank ? " INF" : "INF";
}

std::string ExponentDigits(int exponent, std::size_t minDigits) {
    std::string text = std::to_string(std::abs(exponent));
    if (text.size() < minDigits) text.insert(0, minDigits - text.size(), '0');
    return text;
}

std::string GeneralBody(const Decimal& d, int maxDigits, bool leadingZero) {
    if (d.IsZero()) return "0";
    const int size = static_cast<int>(d.digits.size());
    const int exponent = d.point - 1;
    if (exponent < -4 || exponent >= maxDigits) {
        std::string text(1, d.digits[0]);
        if (size > 1) text += "." + d.digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        return text + ExponentDigits(exponent, 2);
    }
    if (d.point <= 0) {
        return (leadingZero ? "0." : ".") + std::string(static_cast<std::size_t>(-d.point), '0') +
               d.digits;
    }
    std::string text = d.digits.substr(0, static_cast<std::size_t>(std::min(size, d.point)));
    if (d.point > size) text.append(static_cast<std::size_t>(d.point - size), '0');
    if (size > d.point) text += "." + d.digits.substr(static_cast<std::size_t>(d.point));
    return text;
}

}  // namespace qw::decimal_digits
