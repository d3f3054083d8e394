#include "fields/gain_unit.h"

#include "platform/host.h"

namespace qw {

void ToggleGainUnit(Context& ctx) {
    ctx.options.GainInDbi = !ctx.options.GainInDbi;
    ctx.host->SetCommandCaption("CtdB", ctx.options.GainInDbi ? "dBi" : "dBd");
}

}  // namespace qw
