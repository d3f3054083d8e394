// Where the program keeps its settings, its log and its working files.
//
// In the program's own folder when the program can write there (a developer
// build, a copy in the user's own folders). Otherwise in the user's folders:
// QUILLWORK.INI in $XDG_CONFIG_HOME/quillwork (default ~/.config/quillwork),
// the log, the debug file and the working files in $XDG_STATE_HOME/quillwork
// (default ~/.local/state/quillwork).
#pragma once

#include <functional>
#include <string>

namespace qw {

inline constexpr const char* kSettingsFileName = "QUILLWORK.INI";
inline constexpr const char* kLogFileName = "QUILLWORK.LOG";
inline constexpr const char* kDebugFileName = "QUILLWORK.DBG";

struct FileLocations {
    std::string settingsFile;  // "": no settings file (reads give defaults, writes fail)
    std::string logFolder;     // the log, the debug file, working files; "": the current folder
};

// What the choice depends on; injected so that it can be tested.
struct LocationInputs {
    std::string programFolder;                                   // "": unknown
    std::function<bool(const std::string& folder)> folderWritable;
    std::function<std::string(const std::string& name)> environment;  // "": not set
};

FileLocations LocateFiles(const LocationInputs& inputs);

// The running program's folder, the file system's answer on writing, and
// the process environment.
LocationInputs SystemLocationInputs();

// Creates the settings file's folder and the log folder when missing;
// "" on success, else the reason.
std::string CreateFileFolders(const FileLocations& files);

// folder/name; just name when the folder is "".
std::string PathInFolder(const std::string& folder, const std::string& name);
// The folder part of a path; "" when it has none.
std::string FolderOf(const std::string& path);

}  // namespace qw
