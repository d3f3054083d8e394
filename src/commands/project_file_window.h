// What the project-file window does, without the window: it reads a
// project file, shows the file's own text for editing, and on OK either
// accepts the project read or saves the edited text as a new file, which
// must then be opened again.
#pragma once

#include <string>

#include "model/context.h"

namespace qw {

struct ProjectFileView {
    std::string caption;         // "Project " + file name, or "New Project"
    std::string text;            // the file's text, at most kMaxShownText bytes
    std::string wireCountLabel;  // Str form of the wire count
    bool loaded = false;         // false when the read aborted
    bool truncated = false;      // the file is longer than the text shown
};

inline constexpr std::size_t kMaxShownText = 65000;
inline constexpr const char* kSaveGeometryTitle = "Save Geometry File";
// Shown when an edited text was cut to kMaxShownText: saving it would lose
// the rest of the file.
inline constexpr const char* kTextTooLongMessage =
    "The file is too long to be edited here; the edited text was not saved.";

// Reads a project file (open dialog) into the project and returns what the
// window shows. The window shows the file's own lines, not the reader's
// echo lines: the text it saves must read back as the same cards.
ProjectFileView OpenProjectFileWindow(Context& ctx);

// OK (ok = true) or Cancel of the window; false when the window is to stay
// open. OK with a changed text of a file that was cut to fit the window
// (truncated) saves nothing: the message kTextTooLongMessage is shown and
// the window stays open, so that nothing of the file is lost; Cancel still
// closes it. OK with a changed text saves it
// as it stands to a new file chosen in the "Save Geometry File" dialog;
// GeometryDefined becomes False and AbortFlag True (the edited project is
// to be opened again). OK without changes accepts the project read
// (GeometryDefined True, AbortFlag False). Cancel sets AbortFlag and clears
// GeometryDefined. Unless AbortFlag ends up set, the project is prepared
// for computing (frequency constants, pulses, sources).
bool CloseProjectFileWindow(Context& ctx, bool ok, bool textChanged, const std::string& text,
                            bool truncated = false);

}  // namespace qw
