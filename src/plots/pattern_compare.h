// The comparison of the current cut with a cut stored in another pattern
// file: both drawn on a common 0 dB reference, the current one in blue and
// the loaded one in red, with a text block in the same two colours.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "plots/pattern_file.h"
#include "plots/pattern_plot.h"

namespace qw {

// The largest stored value of a block (dBi); -999 for a block without data.
float BlockMaximum(const PatternBlock& block);

// Draws the comparison of two stored cuts onto the canvas: the grid (the
// picture cleared), both curves relative to the larger of the loaded
// block's maximum and `currentMaxDbi`, and the text block from the top
// left: title, environment and notes; "Frequency = "; "Angle = "; "Gain = "
// of the current cut in blue, an empty line, the same four of the loaded
// cut in red.
void DrawComparison(Canvas& canvas, const ProgramOptions& options, const PatternFileHeader& currentHeader,
                    const PatternBlock& currentBlock, float currentMaxDbi, const PatternFileHeader& loadedHeader,
                    const PatternBlock& loadedBlock);

// The Compare command: loads the block of the current plot plane from the
// chosen file (LoadPatternCut's outcomes), and the current project's own
// stored cut of the same plane, and draws the comparison. The current
// maximum is that of the last cut drawn (in dBi), else the stored one.
// Completed when the comparison was drawn.
Result ComparePatternFile(Context& ctx, const PatternView& view, Canvas& canvas, const std::string& chosenPath);

}  // namespace qw
