// The source and load operations of `quillwork-cli edit`, done as the
// placement window does them: by wire and slot, with its refusals.
#pragma once

#include <string>
#include <vector>

#include "app/cli/cli.h"

// Their lines of the usage text.
#define EDIT_PLACEMENT_HELP \
    "  --add-source WIRE:SLOT[,MAGNITUDE,PHASE][,current]\n" \
    "                         a source at a slot of a wire: slot k is the junction k\n" \
    "                         segments from end 1, and only slots with a pulse can be\n" \
    "                         used (1 to SEG-1 on a wire with free ends, 0 and SEG too at\n" \
    "                         a joined or grounded end); 100 V at 0 degrees by default,\n" \
    "                         `current` for a current source (amperes); one source per\n" \
    "                         pulse, at most 10\n" \
    "  --add-load WIRE:SLOT,KIND,VALUES\n" \
    "                         a load at a slot (at most 20): KIND rx (series R+jX) or prx\n" \
    "                         (parallel R and jX) with VALUES R,X in ohms; rlc (series\n" \
    "                         R-L-C) or prlc (parallel R-L-C) with VALUES R,L,C in ohms,\n" \
    "                         microhenries and picofarads\n" \
    "  --move-source N:WIRE:SLOT, --move-load N:WIRE:SLOT\n" \
    "                         move source or load N to a slot\n" \
    "  --delete-source N, --delete-load N\n" \
    "                         delete source or load N; the ones after it are renumbered\n"

namespace qw::cli {

// The options, each taking one value.
extern const std::vector<std::string> kPlacementOptions;

// Applies one of the options to the project; false (the reason on stderr,
// the project unchanged) when it is refused.
bool ApplyPlacement(Run& s, const std::string& option, const std::string& value);

}  // namespace qw::cli
