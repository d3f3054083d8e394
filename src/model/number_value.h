// Val: the leading number of a text, "." as the decimal point in every
// locale. The boxes, the settings and the project files read their
// numbers through it.
#pragma once

#include <string_view>

namespace qw {

// The longest leading decimal number of a text: leading blanks and tabs
// skipped, an optional sign, digits with at most one decimal point (".5",
// "-.5" and "5." are numbers), an optional exponent ("E-03", "e+5", "E7")
// taken only when digits follow it. Anything after the number is ignored;
// a text without a leading number gives 0. Never uses the C locale.
// A number too large for a 64-bit value sets *overflow (when given) and
// returns +/-HUGE_VAL; one too small returns 0.
double Val(std::string_view text, bool* overflow = nullptr);

}  // namespace qw
