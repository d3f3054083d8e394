// The axes of the sweep plots: tick steps, and the frequency (horizontal)
// and value (vertical) axes drawn with their major and minor ticks and
// labels in the canvas's user coordinates (y grows upward).
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace qw {

// The major step of an axis spanning `range`: 500 from 1000, 100 from 500,
// 50 from 100, 10 from 50, 5 from 25, otherwise 1.
int TickStep(float range);
// The minor step: major / 10 for a range of 5 or less, otherwise the
// major step of the major step.
float MinorTickStep(float range);

// One tick of an axis: where it stands, whether it is a major one, and its
// label ("" for an unlabelled minor tick).
struct AxisTick {
    float at = 0;
    bool major = false;
    std::string label;
};

// The ticks of an axis from `low` to `high`. Major ticks start at `low`
// and advance by the major step; a major tick whose magnitude is below one
// step is taken as 0 before the next step is added, so that later ticks
// fall on multiples of the step. Minor ticks lie between them; they carry
// labels when the range holds fewer than 10 minor steps. `roundLabels`
// writes each label's value rounded down to a multiple of the minor step
// (the value axes). Labels use `mask`, or the shortest text when empty.
std::vector<AxisTick> AxisTicks(float low, float high, const std::string& mask, bool roundLabels);

// The frequency axis at height y from `low` to `high`: vertical major
// ticks of half-length `halfTick` with their labels under them, minor
// ticks as points.
void DrawFrequencyAxis(Canvas& canvas, float low, float high, float y, float halfTick, const std::string& mask);
// The value axis at x from `low` to `high`: horizontal major ticks of
// half-length `halfTick`, labels right-aligned to the left of the axis.
void DrawValueAxis(Canvas& canvas, float low, float high, float x, float halfTick);

// A value as an axis label: whole numbers without decimals, others with
// up to three.
std::string AxisNumber(float value);

}  // namespace qw
