#include "plots/lobe_scan.h"

#include <cstdlib>

#include "model/format_mask.h"

namespace qw {

std::vector<std::string> ScanLobes(const PatternCut& cut) {
    std::vector<std::string> lines;
    const int step = cut.step >= 1 ? cut.step : 1;
    float prev = -999;
    bool rising = false;
    int lobe = 0;
    int bwStart = 0;
    bool bwFromZero = false;
    std::string pending;
    const auto shown = [&cut](int q) {
        if (cut.plane == kZenithPlane) return std::abs(cut.DisplayAngle(q) - 90);
        return cut.DisplayAngle(q);
    };
    for (int q = 0; q <= cut.span && q <= 360; q += step) {
        const float v = cut.values[static_cast<std::size_t>(q)];
        if (v > prev) {
            rising = true;
            prev = v;
            lobe = q;
            // A beam opens where the curve first rises to -3 dB. Only a beam
            // open at the first position wraps around it; its later rising
            // points belong to the same beam.
            if (v - cut.maxGain >= -3 && bwStart == 0 && !bwFromZero) {
                if (q == 0)
                    bwFromZero = true;
                else
                    bwStart = q;
            }
        } else if (v == prev) {
            lobe = q;
        } else if (rising) {
            rising = false;
            pending = " Lobe at : " + Format(shown(lobe), "##0") + kCaptionDegree + " ";
        } else {
            prev = v;
            if (v - cut.maxGain <= -3) {
                if (bwStart != 0) {
                    pending += "(BW:" + Format(q - bwStart, "##0") + kCaptionDegree + ")";
                    bwStart = 0;
                } else if (bwFromZero) {
                    pending += "(BW:" + Format(2 * q, "##0") + kCaptionDegree + ")";
                    bwFromZero = false;
                }
                if (!pending.empty()) lines.push_back(pending);
                pending.clear();
            }
        }
    }
    return lines;
}

}  // namespace qw
