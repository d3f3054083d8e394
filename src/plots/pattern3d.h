// The 3D pattern: the gain over the upper half space in steps of 5 degrees,
// written to the data file beside the project (".PLT") and read back into
// a grid of 73 azimuths by 19 elevations.
//
// The file holds 73 records of 20 little-endian 32-bit floats: the azimuth
// (0, 5, ... 360 degrees), then the gain at the elevations 0, 5, ... 90.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "model/context.h"
#include "platform/outcome.h"
#include "plots/pattern_cut.h"

namespace qw {

inline constexpr int kPattern3DAzimuths = 73;    // 0, 5, ... 360
inline constexpr int kPattern3DElevations = 19;  // 0, 5, ... 90
inline constexpr int kPattern3DStep = 5;         // degrees
inline constexpr std::size_t kPattern3DFileSize = kPattern3DAzimuths * 20 * 4;

struct Pattern3DGrid {
    // gain[a][e]: azimuth 5a, elevation 5e, in dBi (dBd when gainInDbi is
    // false); -999 where there is no field.
    std::array<std::array<float, kPattern3DElevations>, kPattern3DAzimuths> gain{};
    int fieldType = kTotalField;
    bool gainInDbi = true;

    float Maximum() const;
};

// The data file beside a project file: its name up to the first "." with
// ".PLT" (DIPOLE.QLK gives DIPOLE.PLT), in the project file's folder.
std::string Pattern3DFileName(const std::string& projectPath);

// The file's bytes for a grid.
std::string Pattern3DBytes(const Pattern3DGrid& grid);

// Reads a data file into the grid's gains; false when it is missing, not a
// regular file, or shorter than 73 records (the grid is then untouched).
bool ReadPattern3DFile(const std::string& path, Pattern3DGrid& grid);

// Computes the 3D pattern of the solved antenna (solving it first when the
// solution does not stand) for the field type (1 total, 2 horizontal,
// 3 vertical) in the gain unit in force, writes the data file beside the
// project and reads it back into `grid`; the values also go to the log,
// one line per azimuth. Progress is shown after each azimuth (and handed
// to `progress` when given) and a stop request ends the work (Stopped).
// Fails with "Power is Zero" without sources or input power, and with
// "Error reading pattern file" when the written file does not read back.
// A file that cannot be written leaves the computed grid in place, with a
// note saying so.
Result ComputePattern3D(Context& ctx, int fieldType, Pattern3DGrid& grid,
                        const std::function<void(double)>& progress = {});

}  // namespace qw
