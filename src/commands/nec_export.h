// File > Export NEC Deck...: the open project written as a NEC-2 deck.
#pragma once

#include <string>

#include "model/context.h"

namespace qw {

inline constexpr const char* kExportNecTitle = "Export NEC Deck";
inline constexpr const char* kNecFilter = "NEC File (*.nec)|*.nec";

// Writes the deck to path; "" on success, else the reason.
std::string ExportNecDeck(const Context& ctx, const std::string& path);

// The menu command: asks for the file in a save dialog (proposing the
// project's name with .nec), writes it and tells the user what failed.
// False when nothing was written (cancelled or failed).
bool ExportNecCommand(Context& ctx);

}  // namespace qw
