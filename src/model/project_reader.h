// Reading a project file (.qlk) or the geometry of a NEC input file (.nec).
//
// The reader makes two passes over the lines: the first counts the wire
// cards, the second interprets every card, rebuilds the project text with
// echo lines, and shows each line in the main window as it goes.
#pragma once

#include <string>
#include <string_view>

#include "model/context.h"

namespace qw {

// Chooses the file (the pending name, else the "Read Geometry File" open
// dialog) and reads it into the project. A cancelled dialog or a file that
// cannot be opened leaves the open project as it was and sets AbortFlag.
// fileText: when given, receives the bytes of the file read (the
// project-file window shows them).
void ReadProjectFile(Context& ctx, std::string* fileText = nullptr);

// Reads the bytes of a file already chosen: resets the project's counts
// and unit, then runs both passes. nec: the bytes are a NEC deck, read by
// ReadNecDeck (nec_deck.h). Sets AbortFlag when no wires are found or the
// file has more wires than the project holds (the project is left empty).
void ReadProjectText(Context& ctx, std::string_view bytes, bool nec);

// True for a name ending in ".nec", in any case.
bool IsNecFileName(const std::string& path);

// Reads the project (ReadProjectFile); unless the read aborted the project
// is open and its geometry defined. Nothing is built from it here: the
// commands layer does that (OpenProjectFile).
void LoadProject(Context& ctx);

// The open dialog's title and filter.
inline constexpr const char* kReadProjectTitle = "Read Geometry File";
inline constexpr const char* kProjectFilter = "QLK Project (*.qlk)|*.qlk|NEC File (*.nec)|*.nec";

// The largest file the reader accepts; project files are a few kilobytes.
inline constexpr std::size_t kMaxProjectFileBytes = 16u << 20;

}  // namespace qw
