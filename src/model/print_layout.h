// The print-statement layout of the program's listings and log lines.
//
// Items are written one after the other:
//  - Text(s) writes a string as it stands;
//  - Num(x) writes a number in Str form followed by one blank
//    (so a non-negative number has a leading and a trailing blank);
//  - Zone() is the comma of a print statement: it moves to the start of
//    the next 14-column print zone (columns 1, 15, 29, 43, ...), always
//    strictly to the right of the current position;
//  - Tab(n) moves to column n (1-based; n < 1 counts as 1); when the line is
//    already past column n, output goes on at column n of the next line.
// Lines() returns the finished lines without line ends; a Tab that wraps
// starts a new line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qw {

class PrintLine {
public:
    static constexpr int kZoneWidth = 14;

    PrintLine& Text(std::string_view text);
    PrintLine& Num(float value);
    PrintLine& Num(double value);
    PrintLine& Num(int value);
    PrintLine& Zone();
    PrintLine& Tab(int column);

    // Current column, 1-based, of the line being written.
    int Column() const;
    // The lines written so far; the last one is the line in progress.
    const std::vector<std::string>& Lines() const { return lines_; }
    // All lines joined with CR LF, without a final line end.
    std::string Joined() const;

private:
    std::vector<std::string> lines_{std::string()};
};

}  // namespace qw
