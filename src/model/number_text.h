// Number texts used by every report, listing and file of the program.
//
// One implementation of each rule, shared by the whole program:
//  - Str: the invariant general number text written into project files,
//    settings and log lines (" 1.5", "-.25", " 1E-05", " 1.677722E+07").
//  - Format: digit-placeholder masks ("###0.000", " #0.000#;-#0.000#",
//    " 0.000E+00", "##0.000 Mhz") and the named formats "Fixed",
//    "Scientific" and "General Number".
//  - Val: the leading number of a text, "." as decimal point in every locale.
//  - Integer conversions with the classic rules: CInt/CLng round half to
//    even and fail on overflow, Int rounds down.
//
// Nothing here depends on the C locale or on printf rounding.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qw {

// Thrown when a number does not fit the type it is converted to
// (a Single beyond 3.4E+38, an Integer beyond -32768..32767, ...).
class NumberOverflow : public std::runtime_error {
public:
    explicit NumberOverflow(const std::string& what) : std::runtime_error(what) {}
};

// Str form of a 32-bit value: a leading blank when not negative (a minus
// sign otherwise), at most 7 significant digits (rounded half away from
// zero on the exact decimal value), no trailing zeros, no zero before the
// decimal point (" .5"), fixed notation when 1E-04 <= |x| < 1E+07 or x = 0
// (decided after rounding), exponent form otherwise: mantissa without
// trailing zeros, "E", the exponent's sign, at least two digits
// (" 1E-05", " 1.677722E+07", "-2.5E+10").
std::string Str(float value);
// The same for a 64-bit value, with at most 15 significant digits and fixed
// notation for 1E-04 <= |x| < 1E+15.
std::string Str(double value);
// Integers: " 12", "-3".
std::string Str(int value);

// Formats a value with a mask or a named format.
//
// Masks: "0" a required digit, "#" an optional digit, the first "." the
// decimal point (always written when the mask has one), "," between
// integer digit placeholders groups thousands, "E+"/"E-"/"e+"/"e-" followed
// by digit placeholders an exponent ("E+" always writes the exponent's sign,
// "E-" only a minus), "%" multiplies by 100 and is written, "\x" writes x,
// text in double quotes is written as it stands, every other character is
// literal. Up to three sections separated by ";": positive, negative (written
// without a minus sign of its own), zero. With one section a negative value
// gets its minus sign in front, in place of a leading blank of the mask when
// the mask begins with one (" 0.000E+00" of -5 gives "-5.000E+00").
// Rounding is half away from zero on the decimal value of the number: for a
// 32-bit value its 7-significant-digit decimal form, for a 64-bit value its
// 15-significant-digit form (so 2.675f with "0.00" gives "2.68").
//
// Named formats: "Fixed" (at least one integer digit, exactly two
// decimals), "Scientific" ("0.00E+00"), "General Number" (the Str form
// without the leading blank and with a zero before the decimal point:
// "0.002", "1E-05"), "Standard" ("#,##0.00").
std::string Format(float value, std::string_view mask);
std::string Format(double value, std::string_view mask);
std::string Format(int value, std::string_view mask);

// The longest leading decimal number of a text: leading blanks and tabs
// skipped, an optional sign, digits with at most one decimal point (".5",
// "-.5" and "5." are numbers), an optional exponent ("E-03", "e+5", "E7")
// taken only when digits follow it. Anything after the number is ignored;
// a text without a leading number gives 0. Never uses the C locale.
// A number too large for a 64-bit value sets *overflow (when given) and
// returns +/-HUGE_VAL; one too small returns 0.
double Val(std::string_view text, bool* overflow = nullptr);

// Conversions of a value to the program's numeric types. Each throws
// NumberOverflow when the value (or an infinite or NaN value) does not fit.
float ToSingle(double value);             // |value| <= FLT_MAX
std::int16_t CInt(double value);          // round half to even, 16-bit
std::int32_t CLng(double value);          // round half to even, 32-bit
std::int32_t IntPart(double value);       // toward zero (Fix), 32-bit

}  // namespace qw
