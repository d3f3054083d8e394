#include "plots/cut_compute.h"

namespace qw {

namespace {

PatternCut NewCut(const Context& ctx, int plane, int fieldType, float cutAngle, int step) {
    PatternCut cut;
    cut.plane = plane;
    cut.fieldType = fieldType;
    cut.cutAngle = cutAngle;
    cut.step = step >= 1 ? step : 1;
    cut.gainInDbi = ctx.options.GainInDbi;
    cut.frequency = ctx.project.Frequency;
    cut.values.fill(-999);
    return cut;
}

// The plotted component; the total gain is returned too.
float Component(const Context& ctx, const FarFieldSetup& setup, int fieldType, float phi, float theta,
                float* total = nullptr) {
    DirectionGains g;
    const float t = FieldAtDirection(ctx, setup, phi, theta, &g);
    if (total) *total = t;
    if (fieldType == kHorizontalField) return g.horizontal;
    if (fieldType == kVerticalField) return g.vertical;
    return t;
}

// Keeps the first occurrence of the largest value; a later position of the
// same direction (0 and 360) raises the value but keeps the position.
void TakeMaximum(PatternCut& cut, int q, float v, bool& have) {
    if (have && !(v > cut.maxGain)) return;
    if (!have || q % 360 != cut.maxPosition % 360) cut.maxPosition = q;
    cut.maxGain = v;
    have = true;
}

}  // namespace

PatternCut ComputeAzimuthCut(const Context& ctx, const FarFieldSetup& setup, int fieldType, float elevation,
                             int step) {
    PatternCut cut = NewCut(ctx, kAzimuthPlane, fieldType, elevation, step);
    cut.firstAngle = 0;
    cut.span = 360;
    const float theta = 90 - elevation;
    bool have = false;
    for (int q = cut.LastPosition(); q >= 0; q -= cut.step) {
        const float phi = static_cast<float>(360 - q);
        const float v = Component(ctx, setup, fieldType, phi, theta);
        cut.values[static_cast<std::size_t>(q)] = v;
        TakeMaximum(cut, q, v, have);
    }
    const float phiMax = static_cast<float>(360 - cut.maxPosition);
    const int lobe = cut.maxPosition % 360;
    cut.lobeAngle = static_cast<float>(lobe != 0 ? lobe - 1 : 0);
    const float phiBack = phiMax < 180 ? phiMax + 180 : phiMax - 180;
    const float back = FieldAtDirection(ctx, setup, phiBack, theta);
    cut.frontToBack = cut.maxGain - back;
    return cut;
}

PatternCut ComputeZenithCut(const Context& ctx, const FarFieldSetup& setup, int fieldType, float azimuth, int step) {
    PatternCut cut = NewCut(ctx, kZenithPlane, fieldType, azimuth, step);
    cut.firstAngle = -90;
    cut.span = ctx.project.Env.GroundPresent == kFreeSpace ? 360 : 180;
    const float phi = -azimuth;
    bool have = false;
    for (int q = 0; q <= cut.span; q += cut.step) {
        const float theta = static_cast<float>(q - 90);
        const float v = Component(ctx, setup, fieldType, phi, theta);
        cut.values[static_cast<std::size_t>(q)] = v;
        TakeMaximum(cut, q, v, have);
    }
    cut.takeOffAngle = 90 - std::abs(static_cast<float>(cut.maxPosition - 90));
    return cut;
}

}  // namespace qw
