#include "app/cli/field_output.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "model/format_mask.h"
#include "platform/text_encoding.h"

namespace qw::cli {

LineEcho PrintedLines(Run& run) {
    std::ostream& out = run.out;
    return [&out](const std::string& line) { out << Cp1252ToUtf8(line) << '\n'; };
}

std::string CsvNumber(float value) { return Format(value, "General Number"); }

bool NumberList(const std::string& text, std::size_t count, std::vector<double>& values) {
    values.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::size_t stop = comma == std::string::npos ? text.size() : comma;
        const char* first = text.data() + start;
        const char* last = text.data() + stop;
        if (first != last && *first == '+') ++first;
        // The whole field is the number, "." its decimal point in every locale.
        double v = 0;
        const auto [end, error] = std::from_chars(first, last, v);
        if (first == last || error != std::errc() || end != last || !std::isfinite(v)) return false;
        values.push_back(v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values.size() == count;
}

}  // namespace qw::cli
