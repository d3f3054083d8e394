// Conversions of a value to the program's numeric types with the classic
// rules: CInt and CLng round half to even, IntPart drops the fraction,
// ToSingle narrows to 32 bits; each fails on overflow.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qw {

// Thrown when a number does not fit the type it is converted to
// (a Single beyond 3.4E+38, an Integer beyond -32768..32767, ...).
class NumberOverflow : public std::runtime_error {
public:
    explicit NumberOverflow(const std::string& what) : std::runtime_error(what) {}
};

// Each throws NumberOverflow when the value (or an infinite or NaN value)
// does not fit.
float ToSingle(double value);             // |value| <= FLT_MAX
std::int16_t CInt(double value);          // round half to even, 16-bit
std::int32_t CLng(double value);          // round half to even, 32-bit
std::int32_t IntPart(double value);       // toward zero (Fix), 32-bit

}  // namespace qw
