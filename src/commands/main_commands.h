// The commands of the main window, without the window: what each menu
// entry and toolbar button does to the project, the options and the files.
// The desktop program calls these and then brings its menus up to date;
// everything they ask or show goes through the Host.
#pragma once

#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "model/context.h"

namespace qw {

// Names of the main window's commands, as Host::EnableCommand and
// CheckCommand know them.
inline constexpr const char* kSaveProjectCommand = "CtlSaveProject";
inline constexpr const char* kSaveProjectAsCommand = "CtlSaveProjectAs";
inline constexpr const char* kFreeSpaceCommand = "CtlFree";
inline constexpr const char* kGainUnitCommand = "CtdB";
inline constexpr const char* kFormatCommand = "Ctl_Format";
inline constexpr const char* kNecCommand = "CtlNEC";
inline constexpr const char* kZeroHeightCommand = "mnuZH";
inline constexpr const char* kLargeModelsCommand = "CtlLargeModels";
// The unit entries 0..5: "Ctl_Units(0)" .. "Ctl_Units(5)".
std::string UnitCommand(int entry);

// The name of a new project created at `when`: month, day and year
// ("mmmdyy") and the minutes ("nn"), e.g. "Dec52607.qlk" for 5 December
// 2026 at 05:07.
std::string NewProjectName(const std::tm& when);
// A path in folder for name that names no existing file: name itself, else
// "Dec52607-2.qlk", "Dec52607-3.qlk", ...
std::string FreeFileName(const std::string& folder, const std::string& name);

// The start-up: built-in defaults, a new project, the settings (when the
// file exists), the command captions, Save and Save As disabled, the status
// panels emptied, the log opened (QUILLWORK.LOG in the log folder), and the
// file named on the command line read (made absolute by the caller).
void StartUp(Context& ctx, const std::string& commandLineFile);

// Brings every caption and check mark that shows an option up to date: the
// units, dBi/dBd, the number format, NEC, the zero-height warning, the
// free-space toggle.
void ShowOptionStates(Context& ctx);

// New Project: the save-changes question (Cancel ends it), then a new,
// empty project named after the moment, in folder. False when cancelled.
bool NewProjectCommand(Context& ctx, const std::string& folder, const std::tm& now);

// Open Project: the save-changes question, then the open dialog; only a
// chosen file resets the project and the text area and is read. False when
// cancelled or the read failed.
bool OpenProjectCommand(Context& ctx);

// A file named without the open dialog (dropped on the text area, chosen
// from the recent projects): taken when its name ends in QLK or NEC (any
// case); the save-changes question, a new project, then the read. False
// when the file is not taken, the question was cancelled or the read
// failed.
bool IsProjectFileName(const std::string& path);
bool OpenNamedProject(Context& ctx, const std::string& path);

// Save Project (false: "Save Project As") and Save Project As.
bool SaveProjectCommand(Context& ctx, bool askName);

// What the File menu enables when it opens.
void FileMenuOpening(Context& ctx);

// Exit: the save-changes question with AbortFlag cleared first. True when
// the program may end; nothing has changed otherwise.
bool ConfirmExit(Context& ctx);
// What the program keeps when it ends: the settings; the log closed.
void ShutDown(Context& ctx);

// Compute Impedance: the checks, then the solution and its report when
// there are sources; status panel 1 shows "run time: " and the minutes and
// seconds it took, read from `now` before and after (the steady clock when
// none is given).
void ComputeImpedanceCommand(Context& ctx);
void ComputeImpedanceCommand(Context& ctx, const std::function<std::chrono::steady_clock::time_point()>& now);
// "nn:ss" of a duration.
std::string RunTimeText(std::chrono::steady_clock::duration elapsed);

// Far Field, Near Field and Currents of the Compute menu: a log file is
// chosen first when logging is off; then the checks and the report.
// The currents' data file goes into the log folder.
void FarFieldCommand(Context& ctx);
void NearFieldCommand(Context& ctx);
void CurrentsCommand(Context& ctx);

// The free-space toggle; the pulses are built again (a wire touching the
// ground is joined to it only over ground).
void ToggleFreeSpace(Context& ctx);

// Unit entries 0..4 select metres..millimetres; entry 5 (wavelengths)
// leaves the unit unchanged.
void SelectUnit(Context& ctx, int entry);

// The input-box options. Cancel changes nothing.
void CoaxImpedanceCommand(Context& ctx);
void PlotStepCommand(Context& ctx);
void MaxDeltaCommand(Context& ctx);
void DefaultWireSizeCommand(Context& ctx);

// The toggles of the Options menu.
void ToggleGainUnit(Context& ctx);
void ToggleNumberFormat(Context& ctx);
void ToggleNecMode(Context& ctx);
void ToggleZeroHeightWarning(Context& ctx);
// Large models: 500 wires and 2000 pulses instead of 50 and 300 for the
// files read and the projects computed from now on; kept in the settings.
void ToggleLargeModels(Context& ctx);

// Load Defaults and Save Defaults.
void LoadDefaultsCommand(Context& ctx);
void SaveDefaultsCommand(Context& ctx);

// The toolbar's layout as stored in the settings: its button keys in order,
// joined by ","; at most 255 characters (keys that do not fit are left
// out). Reading keeps the known keys, in the stored order, once each.
inline constexpr const char* kToolbarKey = "Toolbar";
std::string ToolbarLayoutText(const std::vector<std::string>& keys);
std::vector<std::string> ParseToolbarLayout(const std::string& text, const std::vector<std::string>& known);

// The recent projects of the File menu, newest first, at most
// kMaxRecentProjects, kept in the settings section "Recent Files".
inline constexpr int kMaxRecentProjects = 6;
std::vector<std::string> RecentProjects(const Context& ctx);
void RememberRecentProject(Context& ctx, const std::string& path);

}  // namespace qw
