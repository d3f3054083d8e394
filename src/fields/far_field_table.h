// The Far Field command: the field over a grid of directions, as a gain
// table in dB or a field table in V/m, in the main window and the log.
#pragma once

#include <functional>

#include "fields/far_field.h"
#include "fields/magnitude_phase.h"
#include "fields/report_lines.h"
#include "model/context.h"
#include "platform/outcome.h"

namespace qw {

// One direction of the table, as written.
struct FarFieldRow {
    float zenith = 0;  // degrees
    float azimuth = 0;
    DirectionGains gains;  // dB mode: dBi
    MagPhase theta;        // V/m mode: E_theta and E_phi, magnitudes scaled
    MagPhase phi;
};

// Where the table goes besides the log file. Each receiver is optional.
struct FarFieldOutput {
    // Every line written to the log, also when no log is open: the
    // command-line program prints them.
    LineEcho logLines;
    // Every direction, in table order.
    std::function<void(const FarFieldRow&)> rows;
};

// The far-field table of the open project: solves when the solution does
// not stand; fails on a project without sources ("No Sources defined"), an
// abnormal input impedance (|R| < 0.5 or |X| > 2000 ohms: "Abnormal
// Impedance") and an input power of 0 or less ("Power is Zero"); asks for
// the grid (the Host's far-field request, shown with the power level preset
// to the input power; Cancel: Cancelled); writes the title and the angle
// ranges to the main window and the table to the log (when logging) and to
// the output's receivers, with progress and the stop test once per azimuth
// (a stop ends the table where it is: Stopped).
Result ComputeFarField(Context& ctx, const FarFieldOutput& output = {});

}  // namespace qw
