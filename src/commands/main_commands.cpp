#include "commands/main_commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "commands/checks.h"
#include "commands/log_commands.h"
#include "commands/project_loading.h"
#include "fields/currents.h"
#include "fields/far_field_table.h"
#include "fields/near_field.h"
#include "model/format_mask.h"
#include "model/new_project.h"
#include "model/number_conversion.h"
#include "model/number_str.h"
#include "model/number_value.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/settings.h"
#include "model/units.h"
#include "platform/host.h"
#include "solver/excitation.h"
#include "solver/solver.h"
#include "solver/solver_state.h"
#include "solver/zm_compute.h"

namespace qw {

namespace {

constexpr const char* kRecentSection = "Recent Files";

void ShowFreeSpaceCaption(Context& ctx) {
    const bool free = ctx.project.Env.GroundPresent != kOverGround;
    ctx.host->SetCommandCaption(kFreeSpaceCommand, free ? "Use Ground" : "In Free Space");
}

// The project and the text area of a new project, once the user has
// answered every question.
void ResetProject(Context& ctx) {
    NewProject(ctx);
    ShowNewProject(ctx);
    ctx.host->ClearMainText();
}

bool ReadChosenFile(Context& ctx, const std::string& path) {
    ResetProject(ctx);
    ctx.PendingFileName = path;
    OpenProjectFile(ctx);
    if (ctx.AbortFlag) return false;
    ctx.project.Modified = false;
    ctx.host->EnableCommand(kSaveProjectAsCommand, true);
    RememberRecentProject(ctx, path);
    return true;
}

// After a change the pulses depend on: built again when there are wires. A
// failure has been reported and leaves the project as the user made it.
void RebuildWirePulses(Context& ctx) {
    if (ctx.project.WireCount == 0) return;
    RebuildPulses(ctx);
    ctx.AbortFlag = false;
}

// The computing commands whose reports always go to a log file.
template <typename Report>
void LoggedReport(Context& ctx, Report report) {
    ctx.AbortFlag = false;
    if (!ctx.log.IsOn()) ChooseLog(ctx);
    CheckProject(ctx);
    if (ctx.AbortFlag) return;
    report();
}

}  // namespace

std::string UnitCommand(int entry) { return "Ctl_Units(" + std::to_string(entry) + ")"; }

std::string NewProjectName(const std::tm& when) {
    static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = std::clamp(when.tm_mon, 0, 11);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d%02d%02d", when.tm_mday, (when.tm_year + 1900) % 100, when.tm_min);
    return std::string(kMonths[static_cast<std::size_t>(month)]) + digits + ".qlk";
}

std::string FreeFileName(const std::string& folder, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path base = folder.empty() ? fs::path(name) : fs::path(folder) / name;
    std::error_code error;
    if (!fs::exists(base, error)) return base.string();
    const std::string stem = base.stem().string(), extension = base.extension().string();
    for (int n = 2;; ++n) {
        const fs::path candidate = base.parent_path() / (stem + "-" + std::to_string(n) + extension);
        if (!fs::exists(candidate, error)) return candidate.string();
    }
}

void ShowOptionStates(Context& ctx) {
    Host& h = *ctx.host;
    for (int entry = 0; entry <= 5; ++entry) h.CheckCommand(UnitCommand(entry), ctx.project.Units == entry + 1);
    h.SetCommandCaption(kGainUnitCommand, ctx.options.GainInDbi ? "dBi" : "dBd");
    const bool fixed = ctx.NumberFormat == kFixedNumberFormat;
    h.SetCommandCaption(kFormatCommand, fixed ? "&Format Fixed" : "&Format Float");
    h.CheckCommand(kNecCommand, ctx.options.NecMode == 2);
    h.CheckCommand(kZeroHeightCommand, !ctx.options.HeightWarningOff);
    h.CheckCommand(kLargeModelsCommand, ctx.options.LargeModels);
    ShowFreeSpaceCaption(ctx);
}

void StartUp(Context& ctx, const std::string& commandLineFile) {
    const bool printer = ctx.options.PrinterPresent;
    ctx.options = ProgramOptions{};
    ctx.options.PrinterPresent = printer;
    ctx.NumberFormat = kFixedNumberFormat;
    ctx.project.Units = kMeters;
    ctx.project.CoaxImpedance = 50;
    ctx.project.Frequency = 0;  // the new project takes the default frequency
    NewProject(ctx);
    ShowNewProject(ctx);
    if (SettingsFileExists(ctx)) ReadSettings(ctx);
    if (ctx.project.Frequency == 0) ctx.project.Frequency = ctx.options.DefaultFrequency;
    ShowOptionStates(ctx);
    ctx.project.Modified = false;
    ctx.ProjectOpen = false;
    ctx.host->EnableCommand(kSaveProjectCommand, false);
    ctx.host->EnableCommand(kSaveProjectAsCommand, false);
    ctx.host->SetStatusText(1, "");
    ctx.host->SetStatusText(2, "");
    OpenLog(ctx, PathInFolder(ctx.files.logFolder, kLogFileName));
    if (!commandLineFile.empty()) ReadChosenFile(ctx, commandLineFile);
}

bool NewProjectCommand(Context& ctx, const std::string& folder, const std::tm& now) {
    ctx.AbortFlag = false;
    AskSaveChanges(ctx);
    if (ctx.AbortFlag) return false;
    ResetProject(ctx);
    ctx.host->AppendMainText("New Project");
    ctx.project.Modified = false;
    ctx.ProjectOpen = true;
    ctx.project.FileName = FreeFileName(folder, NewProjectName(now));
    ctx.host->SetStatusText(2, std::filesystem::path(ctx.project.FileName).filename().string());
    return true;
}

bool OpenProjectCommand(Context& ctx) {
    ctx.AbortFlag = false;
    AskSaveChanges(ctx);
    if (ctx.AbortFlag) return false;
    const auto chosen = ctx.host->OpenFileDialog(kReadProjectTitle, kProjectFilter, ctx.project.FileName);
    if (!chosen || chosen->empty()) {
        ctx.AbortFlag = true;
        return false;
    }
    ctx.project.Modified = false;
    ctx.host->EnableCommand(kSaveProjectCommand, false);
    return ReadChosenFile(ctx, *chosen);
}

bool IsProjectFileName(const std::string& path) {
    if (path.size() < 3) return false;
    std::string tail = path.substr(path.size() - 3);
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail == "QLK" || tail == "NEC";
}

bool OpenNamedProject(Context& ctx, const std::string& path) {
    if (!IsProjectFileName(path)) return false;
    ctx.AbortFlag = false;
    AskSaveChanges(ctx);
    if (ctx.AbortFlag) return false;
    return ReadChosenFile(ctx, path);
}

bool SaveProjectCommand(Context& ctx, bool askName) {
    const bool saved = SaveProject(ctx, askName ? "" : ctx.project.FileName);
    if (saved) {
        ctx.ProjectOpen = true;
        ctx.host->EnableCommand(kSaveProjectCommand, true);
        RememberRecentProject(ctx, ctx.project.FileName);
    }
    return saved;
}

void FileMenuOpening(Context& ctx) {
    if (!ctx.project.Modified) return;
    ctx.host->EnableCommand(kSaveProjectAsCommand, true);
    if (ctx.ProjectOpen) ctx.host->EnableCommand(kSaveProjectCommand, true);
}

bool ConfirmExit(Context& ctx) {
    ctx.AbortFlag = false;
    AskSaveChanges(ctx);
    const bool leave = !ctx.AbortFlag;
    ctx.AbortFlag = false;
    return leave;
}

void ShutDown(Context& ctx) {
    SaveSettings(ctx);
    if (ctx.debug.IsOn()) ToggleDebug(ctx);
    CloseLog(ctx);
}

std::string RunTimeText(std::chrono::steady_clock::duration elapsed) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

void ComputeImpedanceCommand(Context& ctx) { ComputeImpedanceCommand(ctx, std::chrono::steady_clock::now); }

void ComputeImpedanceCommand(Context& ctx, const std::function<std::chrono::steady_clock::time_point()>& now) {
    const auto start = now();
    ctx.AbortFlag = false;
    CheckProject(ctx);
    if (ctx.project.SourceCount == 0 || ctx.AbortFlag) return;
    PrepareCurrentSources(ctx);
    if (!Conclude(ctx, ZMCompute(ctx))) return;
    ctx.host->SetStatusText(1, "run time: " + RunTimeText(now() - start));
}

void FarFieldCommand(Context& ctx) {
    LoggedReport(ctx, [&] { Conclude(ctx, ComputeFarField(ctx)); });
}

void NearFieldCommand(Context& ctx) {
    LoggedReport(ctx, [&] { Conclude(ctx, ComputeNearField(ctx)); });
}

void CurrentsCommand(Context& ctx) {
    LoggedReport(ctx, [&] { Conclude(ctx, ListCurrents(ctx, PathInFolder(LogFolder(ctx), kCurrentsDataFileName))); });
}

void ToggleFreeSpace(Context& ctx) {
    Project& p = ctx.project;
    p.Env.GroundPresent = p.Env.GroundPresent == kOverGround ? kFreeSpace : kOverGround;
    ShowFreeSpaceCaption(ctx);
    p.Modified = true;
    ctx.Changed(Change::Geometry);
    RebuildWirePulses(ctx);
}

void SelectUnit(Context& ctx, int entry) {
    if (entry < 0 || entry > 4) return;
    ctx.host->CheckCommand(UnitCommand(ctx.project.Units - 1), false);
    ctx.project.Units = entry + 1;
    ctx.host->CheckCommand(UnitCommand(entry), true);
}

void CoaxImpedanceCommand(Context& ctx) {
    const auto answer =
        ctx.host->InputBox("Enter new Coax Impedance", "Coax. Impedance for SWR", Str(ctx.project.CoaxImpedance));
    if (!answer) return;
    const double value = Val(*answer);
    // Rounded as the program rounds (half to even); an impedance must be
    // positive, and anything beyond the 16-bit range is no impedance.
    if (!(value > 0) || value >= 32767.5) return;
    const int ohms = CInt(value);
    if (ohms <= 0) return;
    if (ctx.project.CoaxImpedance != static_cast<float>(ohms)) ctx.project.Modified = true;
    ctx.project.CoaxImpedance = static_cast<float>(ohms);
}

void PlotStepCommand(Context& ctx) {
    const auto answer = ctx.host->InputBox("Enter Plot Step", "Step angle for plot", Str(ctx.options.PlotStep));
    if (!answer) return;
    const double value = std::clamp(Val(*answer), -32768.0, 32767.0);
    const int step = CInt(value);
    ctx.options.PlotStep = step < 1 ? 1 : step;
}

void MaxDeltaCommand(Context& ctx) {
    const auto answer = ctx.host->InputBox("\r\nMaximum Delta for Optimizer", "Max Delta", Str(ctx.options.MaxDelta));
    if (!answer || answer->empty()) return;
    const double value = Val(*answer);
    ctx.options.MaxDelta = value > 1 ? 1.0f : static_cast<float>(std::max(value, -1.0));
    SaveMaxDelta(ctx);
}

void DefaultWireSizeCommand(Context& ctx) {
    const float size = AskWireSize(ctx);
    if (size != 0) ctx.options.DefaultWireSize = size;
}

void ToggleGainUnit(Context& ctx) {
    ctx.options.GainInDbi = !ctx.options.GainInDbi;
    ctx.host->SetCommandCaption(kGainUnitCommand, ctx.options.GainInDbi ? "dBi" : "dBd");
}

void ToggleNumberFormat(Context& ctx) {
    const bool fixed = ctx.NumberFormat != kFixedNumberFormat;
    ctx.NumberFormat = fixed ? kFixedNumberFormat : kFloatNumberFormat;
    ctx.host->SetCommandCaption(kFormatCommand, fixed ? "&Format Fixed" : "&Format Float");
}

void ToggleNecMode(Context& ctx) {
    ctx.options.NecMode = ctx.options.NecMode == 2 ? 1 : 2;
    ctx.host->CheckCommand(kNecCommand, ctx.options.NecMode == 2);
    // The solver's radii follow the mode when the pulses are built.
    ctx.Changed(Change::Geometry);
    RebuildWirePulses(ctx);
}

void ToggleZeroHeightWarning(Context& ctx) {
    ctx.options.HeightWarningOff = !ctx.options.HeightWarningOff;
    ctx.host->CheckCommand(kZeroHeightCommand, !ctx.options.HeightWarningOff);
    SaveHeightWarning(ctx);
}

void ToggleLargeModels(Context& ctx) {
    ctx.options.LargeModels = !ctx.options.LargeModels;
    ctx.host->CheckCommand(kLargeModelsCommand, ctx.options.LargeModels);
    SaveLargeModels(ctx);
}

void LoadDefaultsCommand(Context& ctx) {
    LoadDefaults(ctx);
    ShowOptionStates(ctx);
}

void SaveDefaultsCommand(Context& ctx) { SaveSettings(ctx); }

std::string ToolbarLayoutText(const std::vector<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys) {
        const std::size_t grown = text.size() + (text.empty() ? 0 : 1) + key.size();
        if (key.empty() || key.find(',') != std::string::npos || grown > 255) continue;
        if (!text.empty()) text += ',';
        text += key;
    }
    return text;
}

std::vector<std::string> ParseToolbarLayout(const std::string& text, const std::vector<std::string>& known) {
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string key = text.substr(start, comma - start);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        while (!key.empty() && key.front() == ' ') key.erase(key.begin());
        const bool isKnown = std::find(known.begin(), known.end(), key) != known.end();
        if (isKnown && std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
        start = comma + 1;
    }
    return keys;
}

std::vector<std::string> RecentProjects(const Context& ctx) {
    std::vector<std::string> paths;
    for (int i = 1; i <= kMaxRecentProjects; ++i) {
        const std::string path = GetSetting(ctx, kRecentSection, "File" + std::to_string(i));
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
    }
    return paths;
}

void RememberRecentProject(Context& ctx, const std::string& path) {
    // A settings value holds at most 255 characters: a longer path is not
    // worth a broken entry.
    if (path.empty() || path.size() > 255 || ctx.files.settingsFile.empty()) return;
    std::vector<std::string> paths = RecentProjects(ctx);
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
    paths.insert(paths.begin(), path);
    if (paths.size() > static_cast<std::size_t>(kMaxRecentProjects)) paths.resize(kMaxRecentProjects);
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (!PutSetting(ctx, kRecentSection, "File" + std::to_string(i + 1), paths[i])) return;
}

}  // namespace qw
