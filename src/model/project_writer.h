// Writing the project as a project file, and the save flows around it.
#pragma once

#include <ostream>
#include <string>

#include "model/context.h"

namespace qw {

// Writes the cards of the project in their fixed order and formats, each
// line ended by CR LF, two empty lines at the end. Keeps the header
// comments of the project text (asking for one when there is no text) and
// appends "CE" to the project text.
void WriteProjectCards(Context& ctx, std::ostream& out);

// Saves the project to path; "" shows the "Save Project" dialog. A name
// ending in .nec is saved under the same name with .qlk, with a note.
// The file is written beside the target and renamed over it, so a failed
// save leaves the old file, FileName and Modified as they were. Returns
// true when saved; a cancel or a failure sets AbortFlag.
bool SaveProject(Context& ctx, const std::string& path);

// Asks whether to save a modified project. Yes saves it; AbortFlag is True
// afterwards when the user cancelled or the save did not complete.
void AskSaveChanges(Context& ctx);

inline constexpr const char* kSaveProjectTitle = "Save Project";
inline constexpr const char* kSaveProjectFilter = "QLK Project (*.qlk)|*.qlk";

// True when the project text holds header comment lines to keep.
bool HasHeaderComments(const std::string& projectText);

// The same path with its extension ".nec" (any case) replaced by ".qlk".
std::string ProjectFileNameFor(const std::string& path);

}  // namespace qw
