#include <algorithm>
#include <cmath>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/field_output.h"
#include "commands/log_commands.h"
#include "commands/project_loading.h"
#include "model/file_locations.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "model/settings.h"
#include "solver/solver.h"

namespace qw::cli {

Arguments::Arguments(std::vector<std::string> args, std::vector<std::string> valueOptions,
                     std::vector<std::string> flagOptions) {
    auto has = [](const std::vector<std::string>& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    valueOptions.insert(valueOptions.end(), kGlobalValueOptions.begin(), kGlobalValueOptions.end());
    flagOptions.insert(flagOptions.end(), kGlobalFlagOptions.begin(), kGlobalFlagOptions.end());
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.rfind("--", 0) == 0) {
            if (has(flagOptions, a)) {
                flags_.push_back(a);
            } else if (has(valueOptions, a)) {
                if (i + 1 >= args.size()) {
                    error_ = "option " + a + " needs a value";
                    return;
                }
                values_.emplace_back(a, args[++i]);
            } else {
                error_ = "unknown option " + a;
                return;
            }
        } else {
            positional_.push_back(a);
        }
    }
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
    for (auto it = values_.rbegin(); it != values_.rend(); ++it)
        if (it->first == option) return it->second;
    return std::nullopt;
}

std::vector<std::string> Arguments::Values(const std::string& option) const {
    std::vector<std::string> values;
    for (const auto& [name, value] : values_)
        if (name == option) values.push_back(value);
    return values;
}

bool Arguments::Flag(const std::string& option) const {
    return std::find(flags_.begin(), flags_.end(), option) != flags_.end();
}

bool ExpectArguments(Run& s, const Arguments& a, std::size_t count, const char* usage) {
    if (a.Error().empty() && a.Positional().size() == count) return s.ApplyGlobalOptions(a);
    s.err << "quillwork-cli: " << (a.Error().empty() ? "wrong number of arguments" : a.Error()) << "\n" << usage;
    return false;
}

Run::Run(std::ostream& outStream, std::ostream& errStream)
    : host(outStream, errStream), ctx(host), out(outStream), err(errStream) {
    InstallSolver(ctx);
    NewProject(ctx);
}

bool Run::ApplyGlobalOptions(const Arguments& a) {
    ctx.files = LocateFiles(SystemLocationInputs());
    const auto settings = a.Value("--settings");
    if (settings) ctx.files.settingsFile = *settings;
    // A settings file named on the command line that is missing is worth a
    // word; the program's own may simply not exist yet.
    if (settings || SettingsFileExists(ctx)) LoadDefaults(ctx);
    if (a.Flag("--large")) ctx.options.LargeModels = true;
    ctx.project.Frequency = 0;  // a new project takes the default frequency read
    NewProject(ctx);
    const auto log = a.Value("--log");
    if (!log) return true;
    logOpened = OpenLog(ctx, *log);
    return logOpened;
}

bool Run::Load(const std::string& path) {
    ctx.PendingFileName = path;
    OpenProjectFile(ctx);
    return !ctx.AbortFlag;
}

bool Fail(Run& s, const std::string& why) {
    s.err << "quillwork-cli: " << why << "\n";
    return false;
}

bool WholeNumber(const std::string& text, int low, int high, int& value) {
    std::vector<double> v;
    if (!NumberList(text, 1, v) || v[0] != std::floor(v[0]) || v[0] < low || v[0] > high) return false;
    value = static_cast<int>(v[0]);
    return true;
}

bool SizeOption(Run& s, const Arguments& a, int& width, int& height) {
    const auto size = a.Value("--size");
    if (!size) return true;
    const auto x = size->find('x');
    if (x == std::string::npos || !WholeNumber(size->substr(0, x), 100, 10000, width) ||
        !WholeNumber(size->substr(x + 1), 100, 10000, height))
        return Fail(s, "--size takes WIDTHxHEIGHT in pixels, each 100 to 10000");
    return true;
}

}  // namespace qw::cli
