// The print-statement layout: items written one after the other on a line,
// 14-column print zones for the comma, Tab to a column.
#include "model/print_layout.h"

#include "model/number_str.h"

namespace qw {

PrintLine& PrintLine::Text(std::string_view text) {
    lines_.back() += text;
    return *this;
}

PrintLine& PrintLine::Num(float value) { return Text(Str(value) + " "); }

PrintLine& PrintLine::Num(double value) { return Text(Str(value) + " "); }

PrintLine& PrintLine::Num(int value) { return Text(Str(value) + " "); }

PrintLine& PrintLine::Zone() {
    // Zones start at columns 1, 15, 29, ...: the next start strictly to the
    // right of the current column.
    const int column = Column();
    const int next = ((column - 1) / kZoneWidth + 1) * kZoneWidth + 1;
    lines_.back().append(static_cast<std::size_t>(next - column), ' ');
    return *this;
}

PrintLine& PrintLine::Tab(int column) {
    if (column < 1) column = 1;
    if (Column() > column) lines_.emplace_back();
    lines_.back().append(static_cast<std::size_t>(column - Column()), ' ');
    return *this;
}

int PrintLine::Column() const { return static_cast<int>(lines_.back().size()) + 1; }

std::string PrintLine::Joined() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines_[i];
    }
    return text;
}

}  // namespace qw
