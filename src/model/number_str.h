// Str: the invariant general number text the program writes into project
// files, settings and log lines (" 1.5", "-.25", " 1E-05",
// " 1.677722E+07"), the same in every locale.
#pragma once

#include <string>

namespace qw {

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

}  // namespace qw
