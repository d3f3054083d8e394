#include "model/nec_expression.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "model/card_tokens.h"
#include "model/number_value.h"

namespace qw {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// A recursive-descent parser over one expression text.
class Parser {
public:
    Parser(std::string_view text, const std::map<std::string, double>& symbols) : s_(text), symbols_(symbols) {}

    double Parse() {
        const double v = Sum();
        Skip();
        if (pos_ < s_.size()) throw NecExpressionError("unexpected \"" + std::string(s_.substr(pos_)) + "\"");
        return v;
    }

private:
    void Skip() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    }
    bool Take(char c) {
        Skip();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    double Sum() {
        double v = Product();
        while (true) {
            if (Take('+')) v += Product();
            else if (Take('-')) v -= Product();
            else return v;
        }
    }
    double Product() {
        double v = Unary();
        while (true) {
            if (Take('*')) {
                v *= Unary();
            } else if (Take('/')) {
                const double d = Unary();
                if (d == 0) throw NecExpressionError("division by zero");
                v /= d;
            } else {
                return v;
            }
        }
    }
    double Unary() {
        if (Take('-')) return -Unary();
        if (Take('+')) return Unary();
        return Power();
    }
    double Power() {
        const double base = Primary();
        if (Take('^')) {
            const double exponent = Unary();  // right-associative: 2^3^2 = 2^9
            const double v = std::pow(base, exponent);
            if (!std::isfinite(v)) throw NecExpressionError("power out of range");
            return v;
        }
        return base;
    }
    double Primary() {
        Skip();
        if (pos_ >= s_.size()) throw NecExpressionError("missing number");
        const char c = s_[pos_];
        if (c == '(') {
            ++pos_;
            const double v = Sum();
            if (!Take(')')) throw NecExpressionError("missing \")\"");
            return v;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return Number();
        if (std::isalpha(static_cast<unsigned char>(c))) return Name();
        throw NecExpressionError("unexpected \"" + std::string(s_.substr(pos_)) + "\"");
    }
    double Number() {
        const std::size_t start = pos_;
        auto digits = [this] {
            std::size_t n = 0;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_, ++n;
            return n;
        };
        std::size_t n = digits();
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            n += digits();
        }
        if (n == 0) throw NecExpressionError("a lone \".\"");
        // An exponent only when digits follow: "2e" followed by a name is not one.
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            std::size_t q = pos_ + 1;
            if (q < s_.size() && (s_[q] == '+' || s_[q] == '-')) ++q;
            if (q < s_.size() && std::isdigit(static_cast<unsigned char>(s_[q]))) {
                pos_ = q;
                digits();
            }
        }
        const std::string text(s_.substr(start, pos_ - start));
        bool overflow = false;
        const double v = Val(text, &overflow);
        if (overflow || !std::isfinite(v)) throw NecExpressionError("number out of range: " + text);
        return v;
    }
    double Name() {
        const std::size_t start = pos_;
        while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_')) ++pos_;
        const std::string name = UpperAscii(std::string(s_.substr(start, pos_ - start)));
        Skip();
        if (pos_ < s_.size() && s_[pos_] == '(') {
            ++pos_;
            const double x = Sum();
            if (!Take(')')) throw NecExpressionError("missing \")\" after " + name);
            return Function(name, x);
        }
        const auto it = symbols_.find(name);
        if (it == symbols_.end()) throw NecExpressionError("unknown symbol \"" + std::string(s_.substr(start, pos_ - start)) + "\"");
        return it->second;
    }
    static double Function(const std::string& f, double x) {
        double v;
        if (f == "SIN") v = std::sin(x * kDegree);
        else if (f == "COS") v = std::cos(x * kDegree);
        else if (f == "TAN") v = std::tan(x * kDegree);
        else if (f == "ATAN" || f == "ATN") v = std::atan(x) / kDegree;
        else if (f == "SQRT" || f == "SQR") {
            if (x < 0) throw NecExpressionError("square root of a negative number");
            v = std::sqrt(x);
        } else if (f == "EXP") v = std::exp(x);
        else if (f == "LOG" || f == "LOG10") {
            if (x <= 0) throw NecExpressionError("logarithm of a number not above 0");
            v = f == "LOG" ? std::log(x) : std::log10(x);
        } else if (f == "ABS") v = std::fabs(x);
        else if (f == "INT") v = std::trunc(x);
        else throw NecExpressionError("unknown function \"" + f + "\"");
        if (!std::isfinite(v)) throw NecExpressionError(f + " out of range");
        return v;
    }

    std::string_view s_;
    const std::map<std::string, double>& symbols_;
    std::size_t pos_ = 0;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

NecSymbols::NecSymbols() { values_["PI"] = 3.14159265358979323846; }

double NecSymbols::Evaluate(std::string_view text) const {
    const std::string_view t = Trim(text);
    if (t.empty()) return 0;  // an empty field reads as 0, as in every NEC deck
    const double v = Parser(t, values_).Parse();
    if (!std::isfinite(v)) throw NecExpressionError("result out of range");
    return v;
}

void NecSymbols::Define(std::string_view definitions) {
    std::size_t start = 0;
    while (start <= definitions.size()) {
        std::size_t comma = definitions.find(',', start);
        if (comma == std::string_view::npos) comma = definitions.size();
        const std::string_view item = Trim(definitions.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) continue;
        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos) throw NecExpressionError("\"" + std::string(item) + "\" is not name=value");
        const std::string name(Trim(item.substr(0, eq)));
        bool valid = !name.empty() && std::isalpha(static_cast<unsigned char>(name[0]));
        for (char c : name) valid = valid && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
        if (!valid) throw NecExpressionError("\"" + name + "\" is not a symbol name");
        Set(name, Evaluate(item.substr(eq + 1)));
    }
}

void NecSymbols::Set(const std::string& name, double value) { values_[UpperAscii(name)] = value; }

bool NecSymbols::Has(const std::string& name) const { return values_.count(UpperAscii(name)) > 0; }

}  // namespace qw
