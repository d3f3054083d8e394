// Format: a value written with a digit-placeholder mask ("###0.000",
// " #0.000#;-#0.000#", " 0.000E+00", "##0.000 Mhz") or one of the named
// formats "Fixed", "Scientific", "General Number" and "Standard". Every
// report, listing and table of the program lays its numbers out here, the
// same in every locale.
#pragma once

#include <string>
#include <string_view>

namespace qw {

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

// Format of a 32-bit value always through the mask engine, without the
// short cut that Format takes for " #0.00#;-#0.00#" (the gains and lengths
// of the tables) on values from 0.001 to 10000 in size; the tests compare
// the two.
std::string FormatThroughMask(float value, std::string_view mask);
std::string Format(int value, std::string_view mask);

}  // namespace qw
