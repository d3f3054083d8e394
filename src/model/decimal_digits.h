// The decimal form of a number that Str and Format both lay out: a digit
// string and the position of the decimal point, taken from the exact binary
// value and rounded half away from zero. One rounding rule for every text
// the program writes; nothing here depends on the C locale or on printf
// rounding.
#pragma once

#include <cstddef>
#include <string>

namespace qw::decimal_digits {

// Significant digits kept by the Str form and by Format before the mask
// rounds again: 7 for a 32-bit value, 15 for a 64-bit value.
inline constexpr int kSingleDigits = 7;
inline constexpr int kDoubleDigits = 15;

// A decimal number: value = 0.digits x 10^point, with the digits free of
// leading and trailing zeros. Zero has no digits.
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 0;

    bool IsZero() const { return digits.empty(); }
    // The digit at `index` (0-based from the first significant digit);
    // positions outside the stored digits are zeros.
    char DigitAt(int index) const {
        if (index < 0 || index >= static_cast<int>(digits.size())) return '0';
        return digits[static_cast<std::size_t>(index)];
    }
};

// Keeps the first `keep` digits, rounding half away from zero on the digits
// that are dropped. `keep` may be zero or negative (the value then rounds
// to zero or to one unit of the kept position).
void RoundAt(Decimal& d, int keep);

// A finite value reduced to the significant digits of its type: 7 for a
// 32-bit value, 15 for a 64-bit value, all digits of an integer.
Decimal FromFloat(float value);
Decimal FromDouble(double value);
Decimal FromInt(long long value);

// The text of a value that is not finite: "NAN", "INF" or "-INF", with a
// leading blank in place of a plus sign when `leadingBlank`.
std::string NonFiniteText(double value, bool leadingBlank);

// The digits of an exponent without its sign, padded with zeros to at
// least `minDigits`.
std::string ExponentDigits(int exponent, std::size_t minDigits);

// The general number body (no sign): fixed notation for
// 1E-04 <= |x| < 1E+maxDigits, exponent form otherwise. `leadingZero`
// writes "0.5" instead of ".5".
std::string GeneralBody(const Decimal& d, int maxDigits, bool leadingZero);

}  // namespace qw::decimal_digits
