#include "sweeps/gain_front_back.h"

#include "fields/far_field.h"
#include "platform/host.h"

namespace qw {

std::optional<float> GainAndFrontToBack(Context& ctx, float azimuth, float elevation, float& frontToBack) {
    ctx.host->SetBusy(true);
    FarFieldSetup setup;
    if (!PrepareFarField(ctx, setup, true)) {
        ctx.host->SetBusy(false);
        return std::nullopt;
    }
    const float zenith = 90 - elevation;
    const float front = FieldAtDirection(ctx, setup, azimuth, zenith);
    const float back = FieldAtDirection(ctx, setup, azimuth + 180, zenith);
    frontToBack = front - back;
    ctx.host->SetBusy(false);
    return front;
}

}  // namespace qw
