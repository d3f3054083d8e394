#include "model/file_locations.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace qw {

namespace {

// An XDG base folder: the variable when it holds an absolute path (others
// are to be ignored), else the default below the home folder.
std::string BaseFolder(const LocationInputs& in, const char* variable, const char* homeDefault) {
    const std::string value = in.environment ? in.environment(variable) : "";
    if (!value.empty() && value.front() == '/') return value;
    const std::string home = in.environment ? in.environment("HOME") : "";
    return PathInFolder(home, homeDefault);
}

std::string CreateFolder(const std::string& folder) {
    if (folder.empty()) return "";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return folder + ": " + ec.message();
    return "";
}

}  // namespace

std::string PathInFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string FolderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

FileLocations LocateFiles(const LocationInputs& in) {
    if (!in.programFolder.empty() && in.folderWritable && in.folderWritable(in.programFolder))
        return {PathInFolder(in.programFolder, kSettingsFileName), in.programFolder};
    const std::string config = PathInFolder(BaseFolder(in, "XDG_CONFIG_HOME", ".config"), "quillwork");
    const std::string state = PathInFolder(BaseFolder(in, "XDG_STATE_HOME", ".local/state"), "quillwork");
    return {PathInFolder(config, kSettingsFileName), state};
}

LocationInputs SystemLocationInputs() {
    LocationInputs in;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) in.programFolder = exe.parent_path().string();
    in.folderWritable = [](const std::string& folder) {
        std::error_code e;
        return std::filesystem::is_directory(folder, e) && access(folder.c_str(), W_OK) == 0;
    };
    in.environment = [](const std::string& name) {
        const char* value = std::getenv(name.c_str());
        return std::string(value ? value : "");
    };
    return in;
}

std::string CreateFileFolders(const FileLocations& files) {
    std::string why = CreateFolder(FolderOf(files.settingsFile));
    if (why.empty()) why = CreateFolder(files.logFolder);
    return why;
}

}  // namespace qw
