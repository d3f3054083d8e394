// The settings file QUILLWORK.INI: defaults of new projects and wires,
// display and plot options, colours, fonts, the limits of the sweep tools
// (sections "DEFAULTS", "PlotOptions", "LIMITS") and window positions
// ("Windows", window_position.h).
//
// Numbers are written in Str form and read by their leading number; an
// empty or non-numeric text reads as 0. A value that is invalid, or that
// does not fit its type, is replaced by its default without a word.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/context.h"

namespace qw {

inline constexpr const char* kDefaultsSection = "DEFAULTS";
inline constexpr const char* kPlotOptionsSection = "PlotOptions";
inline constexpr const char* kLimitsSection = "LIMITS";
inline constexpr const char* kWindowsSection = "Windows";

// The numbers of a value "a,b,c,d" (window positions, impedance plot
// limits), each by its leading number; missing ones are 0.
std::array<double, 4> FourNumbers(std::string_view text);

// The settings file of this context (ctx.files.settingsFile).
std::string SettingsPath(const Context& ctx);
bool SettingsFileExists(const Context& ctx);

// A stored value (at most 255 characters); "" when the file, the section or
// the key is missing.
std::string GetSetting(const Context& ctx, const std::string& section, const std::string& key);
// The leading integer of a stored value; 0 when it is missing, is no
// integer or is beyond the 32-bit range.
int GetSettingInt(const Context& ctx, const std::string& section, const std::string& key);
// Writes one key, creating the file and the section when needed. When the
// file cannot be written the user is told why and false is returned; the
// program goes on.
bool PutSetting(Context& ctx, const std::string& section, const std::string& key, const std::string& value);

// The values written the moment they change, each with its key and form:
// the Zero Height Warning toggle ("Height warning", -1 or 0), the Max Delta
// command ("MaxDelta") and the limits of the gain and F/B plots ("GainHi",
// "GainLow"). False, after telling the user why, when the file cannot be
// written.
bool SaveHeightWarning(Context& ctx);
// The large-model option ("Large models", -1 or 0 in "DEFAULTS"): written
// the moment it is toggled and only then, so a file saved by Save Defaults
// is the same with the option as without it. Missing reads as off.
inline constexpr const char* kLargeModelsKey = "Large models";
bool SaveLargeModels(Context& ctx);
bool SaveMaxDelta(Context& ctx);
bool SaveGainLimits(Context& ctx);
// The four keys of "PlotOptions" ("Log plot", "3dB Marker", "Grid Step",
// "Min dB down"), written when the plot options dialog closes with OK.
bool SavePlotOptions(Context& ctx);

// Reads every key of "DEFAULTS", "PlotOptions" and "LIMITS" into the
// options, the project's unit and feed-line impedance and the number
// format, applying the read rules; sets the caption of the dBi/dBd command
// and the check mark of the NEC command. Without a file every DEFAULTS and
// LIMITS rule gives its default and the plot options stay as they are.
void ReadSettings(Context& ctx);
// Writes every key of the three sections (the printer's font only when a
// printer is present) in one rewrite of the file. False, after telling the
// user why, when the file cannot be written.
bool SaveSettings(Context& ctx);

// The Load Defaults command: ReadSettings when the file exists, otherwise
// the message "INI File not found, Set defaults first" and nothing is read.
void LoadDefaults(Context& ctx);

}  // namespace qw
