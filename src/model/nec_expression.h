// Numbers of NEC decks: plain numbers, or expressions over the symbols a
// deck defines with SY cards.
//
// An expression has + - * / ^ (power, right-associative, binding tighter
// than a leading minus: -2^2 is -4), parentheses, numbers such as 1.5e-3,
// symbols (letters, digits and '_', starting with a letter, in any case)
// and the functions sin, cos, tan (of degrees), atan and atn (in degrees),
// sqrt and sqr, exp, log (natural), log10, abs and int (towards zero).
// The constant pi is predefined. An unknown symbol, a division by zero or
// a result that is not a finite number is an error, never 0.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qw {

// What went wrong in an expression; the deck reader adds the line.
class NecExpressionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class NecSymbols {
public:
    NecSymbols();
    // Evaluates an expression; throws NecExpressionError.
    double Evaluate(std::string_view text) const;
    // Reads the definitions of an SY card's operands: "name=expr" items
    // separated by commas. Each definition can use those before it.
    void Define(std::string_view definitions);
    void Set(const std::string& name, double value);
    bool Has(const std::string& name) const;

private:
    std::map<std::string, double> values_;  // names upper-cased
};

}  // namespace qw
