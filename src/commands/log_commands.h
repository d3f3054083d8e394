// The log-file and debug-file commands of the main window.
//
// The LogFile command (control "Ctl_Logfile") shows the log in force in its
// caption and is checked while logging is on; the Debug command (control
// "CtlDebug") shows "&Debug On" or "&Debug Off". The debug file is
// QUILLWORK.DBG in the log's folder.
#pragma once

#include <string>

#include "model/context.h"
#include "model/log_output.h"

namespace qw {

inline constexpr const char* kLogCommand = "Ctl_Logfile";
inline constexpr const char* kDebugCommand = "CtlDebug";

// Opens (and empties) the log at path and writes its header line and an
// empty line; the LogFile command shows the path and is checked. When the
// file cannot be opened the user is told, logging stays off and false is
// returned.
bool OpenLog(Context& ctx, const std::string& path);
// Closes the log; logging is off and the command reads "&LogFile" again.
void CloseLog(Context& ctx);
// Asks for a log file with the save dialog "Open LogFile" (which confirms
// before an existing file is replaced, since opening a log empties it);
// an empty answer or Cancel gives QUILLWORK.LOG in the log folder. Then
// OpenLog.
bool ChooseLog(Context& ctx);
// The LogFile command's caption and check mark as the log stands (a log
// that could not be flushed is off).
void ShowLogState(Context& ctx);
// Puts the log on disk (for the log viewer, after a pattern cut); when it
// cannot be opened again the user is told and logging is off.
void PutLogOnDisk(Context& ctx);
// The LogFile command: closes the log when logging is on, else ChooseLog.
void ToggleLog(Context& ctx);

// Opens (and empties) the debug file at path; the Debug command reads
// "&Debug On". When the file cannot be opened the user is told, debugging
// stays off and false is returned.
bool OpenDebug(Context& ctx, const std::string& path);
// The Debug command: switches the debug file on (QUILLWORK.DBG in the log's
// folder, through OpenDebug) or off.
void ToggleDebug(Context& ctx);

}  // namespace qw
