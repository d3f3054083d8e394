#include "plots/cut_captions.h"

#include "model/format_mask.h"
#include "model/number_str.h"
#include "plots/pattern_store.h"

namespace qw {

namespace {

constexpr float kFeetPerMetre = 3.28084f;

const char* FieldName(int fieldType) {
    if (fieldType == kHorizontalField) return " Horizontal Field";
    if (fieldType == kVerticalField) return " Vertical Field";
    return " Total Field";
}

}  // namespace

CutCaptions MakeCutCaptions(const Project& p, const PatternCut& cut, const std::vector<std::string>& lobeLines) {
    const bool azimuth = cut.plane == kAzimuthPlane;
    const char* unit = cut.gainInDbi ? " dBi" : " dBd";
    CutCaptions c;
    c.lines.push_back(ProjectName(p) + (azimuth ? " Azimuth" : " Zenith") + FieldName(cut.fieldType));
    c.lines.push_back(" Frequency  =  " + Format(p.Frequency, "###0.000") + " Mhz");
    const Environment& e = p.Env;
    if (e.GroundPresent == kFreeSpace) {
        c.lines.push_back(" Antenna in Free Space");
    } else {
        std::string line = " Antenna Height is : " + Str(TruncateTwoDecimals(p.Height)) + (azimuth ? " m  (" : " m (") +
                           Str(p.Height * kFeetPerMetre) + "ft)";
        if (e.GroundKind == kPerfectGround)
            line += " Perfect Ground";
        else
            line += " Ground Diel. = " + Str(e.Dielectric()) + "  Cond. = " + Str(e.Conductivity() * 1000.0f);
        c.lines.push_back(line);
        if (e.RadialCount > 0)
            c.lines.push_back(" " + std::to_string(e.RadialCount) + " Radials of " + Str(e.RadialLength) + " m  (" +
                              Str(e.RadialLength * kFeetPerMetre) + " ft)");
    }
    c.lines.push_back((azimuth ? " Zenith Angle = " : " Azimuth Angle = ") + Str(cut.cutAngle) + " deg.");
    c.lines.push_back(" Max = " + Format(cut.maxGain, "#0.00") + unit);
    if (azimuth) c.lines.push_back(" F/B = " + Format(cut.frontToBack, "#0.00") + " dB");
    c.lines.insert(c.lines.end(), lobeLines.begin(), lobeLines.end());
    c.zeroDb = " 0 dB = " + Format(cut.maxGain, "##0.00") + unit;
    return c;
}

}  // namespace qw
