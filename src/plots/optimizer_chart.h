// The optimizer's progress chart: the objective (and the secondary value)
// against the step count, redrawn after every evaluation.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace qw {

struct OptimizerChartPoint {
    int step = 0;
    float objective = 0;
    float secondary = NAN;  // NaN: none
};

// The objective as a blue line with dots, the secondary as a red dotted
// line, on one value axis that spans both, with the names, the first and
// last step and the value range written on the chart. An empty list draws
// the frame and "No steps yet".
void DrawOptimizerChart(Canvas& canvas, const std::vector<OptimizerChartPoint>& points,
                        const std::string& objectiveName, const std::string& secondaryName);

}  // namespace qw
