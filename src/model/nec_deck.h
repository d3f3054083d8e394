// Reading a NEC input deck into the project.
//
// The geometry cards (GW with GC, GA, GH, GM, GR, GS, GX, GE) are applied
// in order with NEC's tag and segment rules; SY symbols and expressions may
// stand in any numeric field. Voltage sources (EX 0), loads (LD 0, 1, 4),
// the frequency (FR) and the ground (GE, GN) are mapped onto the project;
// a source or load lands on the pulse that best stands for its segment's
// centre. Every card the program cannot represent is named, with its line,
// in one warning; a deck read whole says so. A deck beyond the program's
// limits, or with a line that cannot be read (an unknown symbol, a segment
// that does not exist), is refused: the project is left empty and
// AbortFlag set.
#pragma once

#include <string_view>

#include "model/context.h"

namespace qw {

// The message title of the deck reader's warnings and refusals.
inline constexpr const char* kNecDeckTitle = "NEC Deck";

// Reads the deck's bytes into a project whose counts were just reset.
void ReadNecDeck(Context& ctx, std::string_view bytes);

}  // namespace qw
