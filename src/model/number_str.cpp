#include "model/number_str.h"

#include <cmath>

#include "model/decimal_digits.h"

namespace qw {
namespace {

// The decimal form both Str and Format lay out.
using namespace decimal_digits;

std::string StrText(const Decimal& d, int maxDigits) {
    return (d.negative ? "-" : " ") + GeneralBody(d, maxDigits, false);
}

}  // namespace

std::string Str(float value) {
    if (!std::isfinite(value)) return NonFiniteText(value, true);
    return StrText(FromFloat(value), kSingleDigits);
}

std::string Str(double value) {
    if (!std::isfinite(value)) return NonFiniteText(value, true);
    return StrText(FromDouble(value), kDoubleDigits);
}

std::string Str(int value) { return StrText(FromInt(value), kDoubleDigits); }

}  // namespace qw
