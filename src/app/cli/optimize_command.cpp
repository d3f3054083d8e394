// optimize: the optimizer window's run on the command line.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "commands/log_commands.h"
#include "commands/optimize_command.h"
#include "model/file_locations.h"
#include "model/line_file.h"
#include "model/project_writer.h"

namespace qw::cli {

const char* const kOptimizeUsage =
    "Usage: quillwork-cli optimize FILE --target resonance|swr|gain|fb --vary LIST [OPTIONS]\n\n"
    "Runs the optimizer once, as the Optimizer window's Go does: the chosen variables are\n"
    "stepped, the antenna solved again after every step, until the target is reached, a\n"
    "step changes nothing, a trigger fires or Ctrl+C stops it. Every line of the optimizer\n"
    "log is printed as it is written, then the closing status lines (\"No change\", \"Gain\n"
    "trigger\", \"Maximum Delta\", \"Stopped!\", ...). The project reached is written to OUT,\n"
    "also after Ctrl+C.\n\n"
    "  --target T             resonance (|X| <= limit), swr (SWR <= limit), gain (gain >=\n"
    "                         limit) or fb (F/B >= limit); a project with more than one\n"
    "                         source takes only gain and fb\n"
    "  --vary LIST            what to vary, comma-separated: x, y, z (the wire coordinates,\n"
    "                         scaled about the origin), r, l, c (the load components; c\n"
    "                         lowers X of an R+jX load), magnitude, phase (the sources)\n"
    "  --lock LIST            leave these alone: wire:N, load:N, source:N (comma-separated);\n"
    "                         wire ends touching a locked wire stay too\n"
    "  --limit V              the target's limit (defaults 0.1 ohm, SWR 1, 10 dB, 10 dB)\n"
    "  --secondary V          gain and fb targets: the limit of the other value (F/B for\n"
    "                         gain, gain for fb; default 10); the run ends when it falls\n"
    "  --elevation E          the direction of gain and F/B: elevation in degrees (default\n"
    "                         the settings' elevation, 30 when that is 0)\n"
    "  --azimuth A            azimuth in degrees (default the settings' azimuth)\n"
    "  --max-delta D          the largest change of the coordinates' total factor, |f - 1|\n"
    "                         (default the settings' MaxDelta, 0.1; at most 1)\n"
    "  --delta D              the starting relative step of the coordinates (default 0.0001)\n"
    "  --out OUT              the project written (default workopt.qlk beside FILE, or in the\n"
    "                         home folder when that folder cannot be written)\n"
    "  --log-opt PATH         also write the optimizer log (QUILLWORK.OPT) to PATH\n" YES_OPTION_HELP
        COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

namespace {

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text + ",") {
        if (c == ',') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else if (c != ' ') {
            part += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return parts;
}

std::optional<float> Number(const std::string& text) {
    std::string t = text;
    if (!t.empty() && t.front() == '+') t.erase(0, 1);
    double v = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || error != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return static_cast<float>(v);
}

bool ReadNumber(Run& s, const Arguments& a, const char* option, float& value) {
    const auto text = a.Value(option);
    if (!text) return true;
    const auto v = Number(*text);
    if (!v) {
        s.err << "quillwork-cli: " << option << " takes a number, not \"" << *text << "\"\n";
        return false;
    }
    value = *v;
    return true;
}

bool ReadVariables(Run& s, const std::string& text, OptimizerRequest& r) {
    for (const std::string& item : Split(text)) {
        if (item == "x") r.dimensions |= kVaryX;
        else if (item == "y") r.dimensions |= kVaryY;
        else if (item == "z") r.dimensions |= kVaryZ;
        else if (item == "r") r.loads |= kVaryR;
        else if (item == "l") r.loads |= kVaryL;
        else if (item == "c") r.loads |= kVaryC;
        else if (item == "magnitude") r.sources |= kVaryMagnitude;
        else if (item == "phase") r.sources |= kVaryPhase;
        else {
            s.err << "quillwork-cli: --vary: unknown variable \"" << item
                  << "\" (x, y, z, r, l, c, magnitude, phase)\n";
            return false;
        }
    }
    return true;
}

bool ReadLocks(Run& s, const std::string& text) {
    const Project& p = s.ctx.project;
    OptimizerLocks& locks = s.ctx.locks;
    locks.FitTo(p);
    for (const std::string& item : Split(text)) {
        const auto colon = item.find(':');
        const std::string kind = item.substr(0, colon);
        int n = 0;
        const std::string number = colon == std::string::npos ? "" : item.substr(colon + 1);
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
        const bool isNumber = !number.empty() && error == std::errc() && end == number.data() + number.size();
        int count = -1;
        bool* flag = nullptr;
        if (kind == "wire") count = p.WireCount;
        else if (kind == "load") count = p.LoadCount;
        else if (kind == "source") count = p.SourceCount;
        if (count < 0 || !isNumber) {
            s.err << "quillwork-cli: --lock: \"" << item << "\" is not wire:N, load:N or source:N\n";
            return false;
        }
        if (n < 1 || n > count) {
            s.err << "quillwork-cli: --lock: the project has no " << kind << " " << n << "\n";
            return false;
        }
        flag = kind == "wire" ? &locks.Wire[n] : kind == "load" ? &locks.Load[n] : &locks.Source[n];
        *flag = true;
    }
    return true;
}

}  // namespace

int RunOptimize(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> values = ComputeValueOptions();
    values.insert(values.end(), {"--target", "--vary", "--lock", "--limit", "--secondary", "--elevation", "--azimuth",
                                 "--max-delta", "--delta", "--out", "--log-opt"});
    const Arguments a(args, values, {"--yes"});
    if (!ExpectArguments(s, a, 1, kOptimizeUsage)) return 1;

    OptimizerRequest request;
    const std::string target = a.Value("--target").value_or("");
    if (target == "resonance") request.target = kTargetResonance;
    else if (target == "swr") request.target = kTargetSwr;
    else if (target == "gain") request.target = kTargetGain;
    else if (target == "fb") request.target = kTargetFrontToBack;
    else {
        s.err << "quillwork-cli: optimize needs --target resonance, swr, gain or fb\n";
        return 1;
    }
    if (!a.Value("--vary")) {
        s.err << "quillwork-cli: optimize needs --vary (x, y, z, r, l, c, magnitude, phase)\n";
        return 1;
    }
    if (!ReadVariables(s, *a.Value("--vary"), request)) return 1;

    if (const auto debug = a.Value("--debug"); debug && !OpenDebug(s.ctx, *debug)) return 1;
    s.host.echoMainText = false;
    const std::string file = a.Positional()[0];
    if (!s.Load(file)) return 1;
    if (!ApplyComputeOptions(s, a)) return 1;
    s.host.answerYes = a.Flag("--yes");
    Context& ctx = s.ctx;
    if (!TargetAllowed(ctx.project, request.target)) {
        s.err << "quillwork-cli: a project with more than one source takes only the gain and fb targets\n";
        return 1;
    }
    if (const auto locks = a.Value("--lock"); locks && !ReadLocks(s, *locks)) return 1;

    request.limit = DefaultLimit(request.target);
    request.secondary = DefaultSecondary(request.target);
    request.elevation = ctx.patternDirection.Elevation == 0 ? 30 : ctx.patternDirection.Elevation;
    request.azimuth = ctx.patternDirection.Azimuth;
    float maxDelta = ctx.options.MaxDelta;
    if (!ReadNumber(s, a, "--limit", request.limit) || !ReadNumber(s, a, "--secondary", request.secondary) ||
        !ReadNumber(s, a, "--elevation", request.elevation) || !ReadNumber(s, a, "--azimuth", request.azimuth) ||
        !ReadNumber(s, a, "--max-delta", maxDelta) || !ReadNumber(s, a, "--delta", request.startDelta))
        return 1;
    if (maxDelta > 1) maxDelta = 1;
    ctx.options.MaxDelta = maxDelta;
    if (request.startDelta == 0) {
        s.err << "quillwork-cli: --delta must not be 0\n";
        return 1;
    }

    const char* home = std::getenv("HOME");
    const std::string folder = OptimizerFolder(ctx.project, home ? home : "");
    const std::string out = a.Value("--out").value_or(PathInFolder(folder, kOptimizerProjectName));

    LineFile optLog;
    if (const auto path = a.Value("--log-opt"); path && !optLog.Open(*path)) {
        s.err << "quillwork-cli: cannot write the optimizer log " << *path << "\n";
        return 1;
    }

    // The status lines added after the last step's text are what the window
    // shows under it when the run has ended.
    std::vector<std::string> closing;
    OptimizerSink sink;
    sink.status = [&closing](const std::string& text, bool clear) {
        if (clear)
            closing.clear();
        else
            closing.push_back(text);
    };
    sink.log = [&](const std::string& line) {
        s.out << line << "\n" << std::flush;
        optLog.Write(line);
    };
    Optimizer optimizer;
    OptimizerOutcome outcome;
    const Result result = RunOptimizer(ctx, optimizer, request, folder, sink, &outcome);
    for (const std::string& line : closing) s.out << line << "\n";
    s.out << std::flush;
    if (optLog.IsOn() && !optLog.Close()) s.err << "quillwork-cli: the optimizer log could not be written\n";
    ShowFault(s.host, result);
    if (result.cancelled() || result.failed()) return 1;

    // The project reached, also after a stop.
    ctx.BatchMode = false;
    ctx.AbortFlag = false;
    if (!HasHeaderComments(ctx.project.ProjectText)) {
        ctx.project.ProjectText.clear();
        s.host.inputAnswers.push_back("");
    }
    if (!SaveProject(ctx, out)) return 1;
    return result.completed() && !result.fault ? 0 : 1;
}

}  // namespace qw::cli
