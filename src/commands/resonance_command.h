// The Resonance command: the checks, the "Frequency Range" dialog, then
// the scan over the band.
#pragma once

#include "model/context.h"
#include "platform/field_requests.h"

namespace qw {

// The "Frequency Range" dialog: asks until the three values are not zero
// ("Zero Values not allowed" otherwise) or it is cancelled (AbortFlag).
// The limits are put in order; a step above the upper limit becomes the
// band's width. The band is kept in the options.
void RunFrequencyRangeDialog(Context& ctx);

// The check of the dialog's OK: false, with "Zero Values not allowed"
// ("Error") shown, when a limit or the step is 0.
bool CheckFrequencyRange(Context& ctx, const SweepRange& range);

// The resonance command: the checks, the range dialog, then the scan.
void ResonanceSearch(Context& ctx);

}  // namespace qw
