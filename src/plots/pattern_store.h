// Storing the drawn cut in the project's pattern file, and finding a stored
// cut for the comparison.
#pragma once

#include <string>

#include "model/context.h"
#include "platform/outcome.h"
#include "plots/pattern_cut.h"
#include "plots/pattern_file.h"

namespace qw {

// The pattern file beside a project file: the project file's name up to its
// first "." with ".PF" (DIPOLE.QLK gives DIPOLE.PF, a name without "." gets
// ".PF" appended), in the project file's folder. Only the file-name part is
// cut at its "." (a folder such as ".config" is left alone).
std::string PatternFileName(const std::string& projectPath);

// The version byte of this program: major x 10 + minor.
std::uint8_t PatternFileVersion();

// A value truncated toward zero to two decimals (2.679 -> 2.67, -1.239 -> -1.23).
float TruncateTwoDecimals(float value);

// The header of a file started anew: the program's identification, the
// project file's name, the height and the ground (with the cut angle for
// real ground); lengths set.
PatternFileHeader MakePatternHeader(const Project& project, float cutAngle);

// The block of a cut: N = span / step rounded, value i from the position
// nearest to i x step, in dBi (plus 2.15 when the cut is in dBd).
PatternBlock MakePatternBlock(const PatternCut& cut, int span, float startAngle, float step);

// Stores the cut: in the existing file of an unchanged project, in place of
// the block of the same plane (the blocks after it kept), or appended; a
// changed project, a missing file, another version or a file whose lengths
// disagree start the file anew. Written through a temporary file and a
// rename. "" on success, else the reason.
std::string SavePatternCut(Context& ctx, const PatternCut& cut, int span, float startAngle, float step);

// The first block of a plot plane (1 azimuth, 2 zenith; 0 any plane) in a
// pattern file. False when the file cannot be read, its header is not
// sound, or no sound block of that plane comes before the end or before a
// block that is not sound.
bool FindPatternBlock(Context& ctx, const std::string& path, int plotPlane, PatternFileHeader& header,
                      PatternBlock& block);

// The comparison's loader: an empty name does nothing (Cancelled); the
// project's own pattern file fails with "This is your current antenna"; a
// file without a block of the plane with "Pattern not found in file".
Result LoadPatternCut(Context& ctx, const std::string& chosenPath, int plotPlane, PatternFileHeader& header,
                      PatternBlock& block);

// The cut angle a stored block stands for: files whose Source begins with
// "AO" keep a zenith angle in their azimuth cuts, shown as 90 - PlaneAngle.
float ShownPlaneAngle(const PatternFileHeader& header, const PatternBlock& block);

}  // namespace qw
