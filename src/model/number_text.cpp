// Number texts: Str, Format masks, Val and the integer conversions.
//
// Every text starts from one decimal representation of the value (a digit
// string and the position of the decimal point) taken from the exact binary
// value, and one rounding rule (half away from zero at a digit position).
// Str and Format differ only in how they lay those digits out.
#include "model/number_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace qw {
namespace {

// Significant digits kept by the Str form and by Format before the mask
// rounds again: 7 for a 32-bit value, 15 for a 64-bit value.
constexpr int kSingleDigits = 7;
constexpr int kDoubleDigits = 15;

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

void TrimTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) {
        d.point = 0;
        d.negative = false;
    }
}

// Keeps the first `keep` digits, rounding half away from zero on the digits
// that are dropped. `keep` may be zero or negative (the value then rounds
// to zero or to one unit of the kept position).
void RoundAt(Decimal& d, int keep) {
    const int size = static_cast<int>(d.digits.size());
    if (keep >= size) return;
    if (keep < 0) {
        d.digits.clear();
        TrimTrailingZeros(d);
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        while (!d.digits.empty() && d.digits.back() == '9') d.digits.pop_back();
        if (d.digits.empty()) {
            d.digits = "1";
            d.point += 1;
        } else {
            d.digits.back() = static_cast<char>(d.digits.back() + 1);
        }
    }
    TrimTrailingZeros(d);
}

// The decimal digits of a finite double, correctly rounded to `precision`
// significant digits (to_chars rounds the exact binary value).
Decimal DecimalDigits(double value, int precision) {
    char buffer[800];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, precision - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    Decimal d;
    d.negative = std::signbit(value);
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    int exponent = 0;
    const std::string_view exponentText = text.substr(e + 1);
    const char* first = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
    std::from_chars(first, exponentText.data() + exponentText.size(), exponent);
    d.point = exponent + 1;
    if (d.digits.front() == '0') d.digits.clear();  // only for zero
    TrimTrailingZeros(d);
    return d;
}

// A finite double rounded half away from zero to `keep` significant digits.
// The digits are first taken correctly rounded to a few digits beyond
// `keep`: they lie within half a unit of their last place of the exact
// value, so the rounding decision they give is the exact value's unless
// they show an exact half (a "5" and nothing after it), which may be a true
// tie or a value within that half unit of one. Only then is the whole
// expansion taken (a double's has at most 767 significant digits).
Decimal RoundedDecimal(double value, int keep) {
    const int precision = keep + 5;
    Decimal d = DecimalDigits(value, precision);
    if (static_cast<int>(d.digits.size()) == keep + 1 && d.digits.back() == '5')
        d = DecimalDigits(value, 770);
    RoundAt(d, keep);
    return d;
}

Decimal FromFloat(float value) { return RoundedDecimal(static_cast<double>(value), kSingleDigits); }

Decimal FromDouble(double value) { return RoundedDecimal(value, kDoubleDigits); }

Decimal FromInt(long long value) {
    Decimal d;
    d.negative = value < 0;
    unsigned long long magnitude = d.negative ? 0ULL - static_cast<unsigned long long>(value)
                                              : static_cast<unsigned long long>(value);
    d.digits = std::to_string(magnitude);
    d.point = static_cast<int>(d.digits.size());
    if (magnitude == 0) d.digits.clear();
    TrimTrailingZeros(d);
    return d;
}

// The text of a value that is not finite.
std::string NonFiniteText(double value, bool leadingBlank) {
    if (std::isnan(value)) return leadingBlank ? " NAN" : "NAN";
    if (value < 0) return "-INF";
    return leadingBlank ? " INF" : "INF";
}

std::string ExponentDigits(int exponent, std::size_t minDigits) {
    std::string text = std::to_string(std::abs(exponent));
    if (text.size() < minDigits) text.insert(0, minDigits - text.size(), '0');
    return text;
}

// The general number body (no sign): fixed notation for
// 1E-04 <= |x| < 1E+digits, exponent form otherwise. `leadingZero` writes
// "0.5" instead of ".5".
std::string GeneralBody(const Decimal& d, int maxDigits, bool leadingZero) {
    if (d.IsZero()) return "0";
    const int size = static_cast<int>(d.digits.size());
    const int exponent = d.point - 1;
    if (exponent < -4 || exponent >= maxDigits) {
        std::string text(1, d.digits[0]);
        if (size > 1) text += "." + d.digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        return text + ExponentDigits(exponent, 2);
    }
    if (d.point <= 0) {
        return (leadingZero ? "0." : ".") + std::string(static_cast<std::size_t>(-d.point), '0') +
               d.digits;
    }
    std::string text = d.digits.substr(0, static_cast<std::size_t>(std::min(size, d.point)));
    if (d.point > size) text.append(static_cast<std::size_t>(d.point - size), '0');
    if (size > d.point) text += "." + d.digits.substr(static_cast<std::size_t>(d.point));
    return text;
}

std::string StrText(const Decimal& d, int maxDigits) {
    return (d.negative ? "-" : " ") + GeneralBody(d, maxDigits, false);
}

std::string GeneralNumberText(const Decimal& d, int maxDigits) {
    return (d.negative ? "-" : "") + GeneralBody(d, maxDigits, true);
}

// ---------------------------------------------------------------------------
// Format masks

enum class Region { Integer, Fraction, Exponent };

struct MaskToken {
    enum class Kind { Literal, Digit, Point, ExponentMark } kind;
    Region region = Region::Integer;
    char ch = 0;        // '0' or '#' for a digit, 'E' or 'e' for the mark
    char sign = 0;      // '+' or '-' for the exponent mark
    std::string text;   // for a literal
};

// One section of a mask, split into tokens, with the counts the layout needs.
struct MaskSection {
    std::vector<MaskToken> tokens;
    std::vector<char> integerPlaceholders;  // '0'/'#' from left to right
    int fractionPlaceholders = 0;
    int fractionRequired = 0;  // fraction places up to the last "0"
    int exponentZeros = 0;
    bool hasExponent = false;
    bool grouping = false;
    bool percent = false;
    bool leadingBlank = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

// Splits a mask at the ";" that are not quoted or escaped.
std::vector<std::string_view> SplitSections(std::string_view mask) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '\\') {
            ++i;
        } else if (!quoted && c == ';') {
            sections.push_back(mask.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(mask.substr(start));
    return sections;
}

void AddLiteral(MaskSection& section, Region region, std::string_view text) {
    if (text.empty()) return;
    if (!section.tokens.empty() && section.tokens.back().kind == MaskToken::Kind::Literal) {
        section.tokens.back().text += text;
        return;
    }
    MaskToken token{MaskToken::Kind::Literal, region, 0, 0, std::string(text)};
    section.tokens.push_back(std::move(token));
}

void AddDigit(MaskSection& section, Region region, char c) {
    section.tokens.push_back({MaskToken::Kind::Digit, region, c, 0, {}});
    if (region == Region::Integer) {
        section.integerPlaceholders.push_back(c);
    } else if (region == Region::Fraction) {
        ++section.fractionPlaceholders;
        if (c == '0') section.fractionRequired = section.fractionPlaceholders;
    } else if (c == '0') {
        ++section.exponentZeros;
    }
}

MaskSection ParseSection(std::string_view text) {
    MaskSection section;
    section.leadingBlank = !text.empty() && text.front() == ' ';
    Region region = Region::Integer;
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            const std::size_t end = std::min(text.find('"', i + 1), text.size());
            AddLiteral(section, region, text.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '\\') {
            if (i + 1 < text.size()) AddLiteral(section, region, text.substr(++i, 1));
        } else if (IsPlaceholder(c)) {
            AddDigit(section, region, c);
        } else if (c == '.' && region == Region::Integer) {
            section.tokens.push_back({MaskToken::Kind::Point, region, c, 0, {}});
            region = Region::Fraction;
        } else if (c == ',' && region == Region::Integer && !section.integerPlaceholders.empty() &&
                   IsPlaceholder(at(i + 1))) {
            section.grouping = true;
        } else if ((c == 'E' || c == 'e') && region != Region::Exponent &&
                   (at(i + 1) == '+' || at(i + 1) == '-') && IsPlaceholder(at(i + 2))) {
            section.tokens.push_back({MaskToken::Kind::ExponentMark, region, c, at(i + 1), {}});
            section.hasExponent = true;
            region = Region::Exponent;
            ++i;
        } else {
            if (c == '%') section.percent = true;
            AddLiteral(section, region, text.substr(i, 1));
        }
    }
    return section;
}

// The digits a section writes: the integer digits (no leading zeros, empty
// for a zero integer part), the fraction digits (one per placeholder) and
// the exponent of the exponent form.
struct LaidOutDigits {
    std::string integer;
    std::string fraction;
    int exponent = 0;
};

LaidOutDigits LayOutDigits(Decimal d, const MaskSection& section) {
    LaidOutDigits out;
    if (section.percent && !d.IsZero()) d.point += 2;
    int integerDigits = 0;
    if (section.hasExponent) {
        const auto zeros = std::count(section.integerPlaceholders.begin(),
                                      section.integerPlaceholders.end(), '0');
        integerDigits = std::max(1, static_cast<int>(zeros));
        RoundAt(d, integerDigits + section.fractionPlaceholders);
        if (!d.IsZero()) {
            out.exponent = d.point - integerDigits;
            d.point = integerDigits;
        }
    } else {
        RoundAt(d, d.point + section.fractionPlaceholders);
    }
    if (!d.IsZero()) {
        for (int i = 0; i < d.point; ++i) out.integer += d.DigitAt(i);
    }
    for (int i = 0; i < section.fractionPlaceholders; ++i) out.fraction += d.DigitAt(d.point + i);
    return out;
}

// Writes the tokens of a section with the given digits.
class SectionWriter {
public:
    SectionWriter(const MaskSection& section, const LaidOutDigits& digits)
        : section_(section), digits_(digits) {
        const int placeholders = static_cast<int>(section.integerPlaceholders.size());
        const int length = static_cast<int>(digits.integer.size());
        shift_ = length - placeholders;
        integerTotal_ = length;
        for (int i = 0; i < placeholders; ++i)
            if (i + shift_ < 0 && section.integerPlaceholders[static_cast<std::size_t>(i)] == '0')
                ++integerTotal_;
        const std::size_t lastNonZero = digits.fraction.find_last_not_of('0');
        fractionShown_ = lastNonZero == std::string::npos ? 0 : static_cast<int>(lastNonZero) + 1;
        fractionShown_ = std::max(fractionShown_, section.fractionRequired);
    }

    std::string Write() {
        for (const MaskToken& token : section_.tokens) {
            switch (token.kind) {
            case MaskToken::Kind::Literal: out_ += token.text; break;
            case MaskToken::Kind::Point: WritePoint(); break;
            case MaskToken::Kind::ExponentMark: WriteExponentMark(token); break;
            case MaskToken::Kind::Digit: WriteDigit(token); break;
            }
        }
        return out_;
    }

private:
    // Writes one integer digit, with a thousands separator after it when
    // grouping and a multiple of three digits still follows.
    void PutIntegerDigit(char c) {
        out_ += c;
        const int remaining = integerTotal_ - ++integerWritten_;
        if (section_.grouping && remaining > 0 && remaining % 3 == 0) out_ += ',';
    }

    void PutIntegerDigits(int from, int to) {
        for (int i = from; i < to; ++i) PutIntegerDigit(digits_.integer[static_cast<std::size_t>(i)]);
    }

    void WriteDigit(const MaskToken& token) {
        if (token.region == Region::Fraction) {
            if (fractionIndex_ < fractionShown_)
                out_ += digits_.fraction[static_cast<std::size_t>(fractionIndex_)];
            ++fractionIndex_;
        } else if (token.region == Region::Exponent) {
            if (!exponentWritten_) {
                const auto minDigits = static_cast<std::size_t>(std::max(1, section_.exponentZeros));
                out_ += ExponentDigits(digits_.exponent, minDigits);
                exponentWritten_ = true;
            }
        } else {
            WriteIntegerPlaceholder(token.ch);
        }
    }

    // The integer digits are right-aligned on the placeholders; digits
    // beyond the placeholders all go to the first one, and a placeholder
    // without a digit writes "0" for "0" and nothing for "#".
    void WriteIntegerPlaceholder(char placeholder) {
        const int index = integerIndex_++ + shift_;
        if (index < 0) {
            if (placeholder == '0') PutIntegerDigit('0');
        } else if (integerIndex_ == 1) {
            PutIntegerDigits(0, index + 1);
        } else {
            PutIntegerDigits(index, index + 1);
        }
    }

    void WritePoint() {
        if (section_.integerPlaceholders.empty())
            PutIntegerDigits(0, static_cast<int>(digits_.integer.size()));
        out_ += '.';
    }

    void WriteExponentMark(const MaskToken& token) {
        out_ += token.ch;
        if (digits_.exponent < 0)
            out_ += '-';
        else if (token.sign == '+')
            out_ += '+';
    }

    const MaskSection& section_;
    const LaidOutDigits& digits_;
    std::string out_;
    int shift_ = 0;
    int integerTotal_ = 0;
    int integerWritten_ = 0;
    int integerIndex_ = 0;
    int fractionIndex_ = 0;
    int fractionShown_ = 0;
    bool exponentWritten_ = false;
};

std::string WriteSection(const MaskSection& section, const Decimal& magnitude) {
    const LaidOutDigits digits = LayOutDigits(magnitude, section);
    return SectionWriter(section, digits).Write();
}

// A mask split into its sections and parsed.
struct ParsedMask {
    std::vector<std::string> texts;
    std::vector<MaskSection> sections;
};

// The parsed form of a mask, kept for the masks this thread used last: a
// table writes thousands of numbers with the same few masks.
const ParsedMask& ParsedMaskOf(std::string_view mask) {
    thread_local std::vector<std::pair<std::string, ParsedMask>> recent;
    for (const auto& entry : recent)
        if (entry.first == mask) return entry.second;
    if (recent.size() >= 16) recent.clear();
    ParsedMask parsed;
    for (const std::string_view text : SplitSections(mask)) {
        parsed.texts.emplace_back(text);
        parsed.sections.push_back(ParseSection(text));
    }
    recent.emplace_back(std::string(mask), std::move(parsed));
    return recent.back().second;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// The mask a named format stands for; the mask itself otherwise.
std::string_view NamedMask(std::string_view mask) {
    if (EqualsNoCase(mask, "Fixed")) return "0.00";
    if (EqualsNoCase(mask, "Standard")) return "#,##0.00";
    if (EqualsNoCase(mask, "Scientific")) return "0.00E+00";
    return mask;
}

// Formats a decimal value (already reduced to its significant digits).
// `maxDigits` is the significant-digit count of the source type, used by
// "General Number".
std::string FormatDecimal(const Decimal& value, std::string_view mask, int maxDigits) {
    if (mask.empty() || EqualsNoCase(mask, "General Number")) return GeneralNumberText(value, maxDigits);
    const ParsedMask& parsed = ParsedMaskOf(NamedMask(mask));
    const std::vector<std::string>& sections = parsed.texts;
    Decimal magnitude = value;
    magnitude.negative = false;
    if (value.IsZero() && sections.size() >= 3 && !sections[2].empty())
        return WriteSection(parsed.sections[2], magnitude);
    if (value.negative && sections.size() >= 2 && !sections[1].empty())
        return WriteSection(parsed.sections[1], magnitude);
    std::string text = WriteSection(parsed.sections[0], magnitude);
    if (value.negative) {
        // The minus takes the place of the last leading blank of the mask,
        // so that it stays next to the digits: " 0.000E+00" of -5 gives
        // "-5.000E+00", "   ###0.000#" of -5 gives "  -5.000".
        const std::size_t blanks = sections[0].find_first_not_of(' ');
        const std::size_t leading = blanks == std::string::npos ? sections[0].size() : blanks;
        if (leading > 0 && leading <= text.size())
            text[leading - 1] = '-';
        else
            text.insert(0, 1, '-');
    }
    return text;
}

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

// ---------------------------------------------------------------------------
// Val

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

// The decimal magnitude of a number text that from_chars found out of
// range: the power of ten of its first significant digit, roughly. Positive
// means too large, otherwise too small.
long long DecimalMagnitude(std::string_view mantissa, std::string_view exponent) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return std::numeric_limits<long long>::min();
    // Integer digits from the first significant one, or minus the zeros
    // between the point and the first significant fraction digit.
    const long long magnitude = first < point ? static_cast<long long>(point - first)
                                              : -static_cast<long long>(first - point - 1);
    long long power = 0;
    bool negative = false;
    for (char c : exponent) {
        if (c == '-') negative = true;
        if (IsDigit(c)) power = std::min(power * 10 + (c - '0'), 1000000000LL);
    }
    return magnitude + (negative ? -power : power);
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

std::string Format(float value, std::string_view mask) {
    if (!std::isfinite(value)) return NonFiniteText(value, false);
    return FormatDecimal(FromFloat(value), mask, kSingleDigits);
}

std::string Format(double value, std::string_view mask) {
    if (!std::isfinite(value)) return NonFiniteText(value, false);
    return FormatDecimal(FromDouble(value), mask, kDoubleDigits);
}

std::string Format(int value, std::string_view mask) {
    return FormatDecimal(FromInt(value), mask, kDoubleDigits);
}

double Val(std::string_view text, bool* overflow) {
    if (overflow) *overflow = false;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    i = SkipDigits(text, i);
    std::size_t digitCount = i - start;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = i + 1;
        i = SkipDigits(text, fractionStart);
        digitCount += i - fractionStart;
    }
    if (digitCount == 0) return 0.0;
    const std::size_t mantissaEnd = i;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) i = SkipDigits(text, j);
    }
    const std::string_view number = text.substr(start, i - start);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view mantissa = text.substr(start, mantissaEnd - start);
        const std::string_view exponent = text.substr(mantissaEnd, i - mantissaEnd);
        if (DecimalMagnitude(mantissa, exponent) > 0) {
            if (overflow) *overflow = true;
            value = HUGE_VAL;
        } else {
            value = 0.0;
        }
    }
    return negative ? -value : value;
}

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
