// The Near Field command: the electric or the magnetic field on a grid of
// points near the antenna, from the solved pulse currents.
#pragma once

#include <array>
#include <functional>

#include "fields/near_field_point.h"
#include "fields/report_lines.h"
#include "model/context.h"
#include "platform/outcome.h"

namespace qw {

// One component of a point: real part, imaginary part and magnitude at the
// field scale, phase in degrees.
struct FieldRow {
    float re = 0, im = 0, magnitude = 0, phase = 0;
};

// One grid point as the table lists it.
struct NearFieldPoint {
    float x = 0, y = 0, z = 0;
    std::array<FieldRow, 3> rows{};  // the x, y and z components
    float peak = 0;                  // the largest field over one cycle, at the field scale
};

// Where a run's results go besides the log and the report box.
struct NearFieldOutput {
    LineEcho logEcho;                                  // every log line, as written
    std::function<void(const NearFieldPoint&)> point;  // every point listed (not the skipped ones)
};

// sqrt(powerLevel / input power); for the magnetic field further divided
// by 0.001 lambda, by 4 and by pi (the step of the curl and the 1/(4 pi) of
// the vector potential).
float NearFieldScale(const SolverState& s, bool electric, float powerLevel);

// The rows and the peak of an unscaled field vector: magnitudes and phases
// from the unscaled parts, then the values at the scale. The peak over one
// cycle is sqrt(C/2 + sqrt(A^2 + B^2)/2) with A = sum m^2 cos 2 phi,
// B = sum m^2 sin 2 phi, C = sum m^2.
NearFieldPoint NearFieldRows(const FieldVector& field, float scale);

// The near-field table: fails on a project without sources ("No Sources
// defined"), solves when the solution does not stand, fails on an input
// power of 0 or less ("Power is Zero"), asks for the request
// (ctx.nearField, its power preset to the input power; counts below 1
// become 1, a power of 0 or less the input power; Cancel: Cancelled), then
// writes the report-box title and, for every grid point, its block to the
// log. A point on a wire is listed as skipped in the log and named in the
// result's note. Progress and the stop test between grid lines (Stopped).
Result ComputeNearField(Context& ctx, const NearFieldOutput& output = {});

}  // namespace qw
