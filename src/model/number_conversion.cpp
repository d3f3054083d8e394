#include "model/number_conversion.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace qw {
namespace {

[[noreturn]] void ThrowOverflow() { throw NumberOverflow("Overflow"); }

// Rounds half to even; the value must be finite.
double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) return lower + 1.0;
    if (fraction < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

template <typename Int>
Int CheckedInteger(double value) {
    if (!std::isfinite(value) || value < static_cast<double>(std::numeric_limits<Int>::min()) ||
        value > static_cast<double>(std::numeric_limits<Int>::max()))
        ThrowOverflow();
    return static_cast<Int>(value);
}

}  // namespace

float ToSingle(double value) {
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(FLT_MAX)) ThrowOverflow();
    return static_cast<float>(value);
}

std::int16_t CInt(double value) {
    if (!std::isfinite(value)) ThrowOverflow();
    return CheckedInteger<std::int16_t>(RoundHalfEven(value));
}

std::int32_t CLng(double value) {
    if (!std::isfinite(value)) ThrowOverflow();
    return CheckedInteger<std::int32_t>(RoundHalfEven(value));
}

std::int32_t IntPart(double value) {
    if (!std::isfinite(value)) ThrowOverflow();
    return CheckedInteger<std::int32_t>(std::trunc(value));
}

}  // namespace qw
