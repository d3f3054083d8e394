// Text extents of a 12-pixel monospace font, for the canvases that have no
// font engine of their own (the recording canvas and the SVG writer, whose
// text is set in a monospace family of that size).
#pragma once

#include <string>

namespace qw {

inline constexpr double kMonospaceFontSize = 12;     // pixels
inline constexpr double kMonospaceAdvance = 7.2;     // pixels per character (0.6 em)
inline constexpr double kMonospaceLineHeight = 15;   // pixels per printed line
inline constexpr double kMonospaceAscent = 11;       // baseline below the text's top

inline double MonospaceTextWidth(const std::string& cp1252Text) {
    return kMonospaceAdvance * static_cast<double>(cp1252Text.size());
}

}  // namespace qw
