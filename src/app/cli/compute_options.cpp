#include "app/cli/compute_options.h"

#include <ostream>

#include "commands/checks.h"
#include "commands/log_commands.h"
#include "commands/project_dialogs.h"
#include "model/card_tokens.h"
#include "model/number_value.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"

namespace qw::cli {

namespace {

// Comma-separated numbers; false when a field is not a number.
bool Numbers(const std::string& text, std::vector<double>& values) {
    values.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string field = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        bool overflow = false;
        const double v = Val(field, &overflow);
        if (field.find_first_of("0123456789") == std::string::npos || overflow) return false;
        values.push_back(v);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}


bool ApplyGroundOption(Run& s, const std::string& text) {
    Project& p = s.ctx.project;
    const std::string word = UpperAscii(text);
    if (word == "FREE") {
        p.Env.GroundPresent = kFreeSpace;
        s.ctx.Changed(Change::Geometry);
        return true;
    }
    GroundInput g = GroundInputOf(p.Env);
    g.perfect = word == "PERFECT";
    if (!g.perfect) {
        const GroundClass* named = nullptr;
        for (const auto& c : kGroundClasses)
            if (UpperAscii(c.name) == word) named = &c;
        std::vector<double> v;
        if (named) {
            g.dielectric = named->dielectric;
            g.conductivityMs = static_cast<float>(static_cast<double>(named->conductivity) * 1000.0);
        } else if (Numbers(text, v) && v.size() == 2) {
            g.dielectric = static_cast<float>(v[0]);
            g.conductivityMs = static_cast<float>(v[1]);
        } else {
            return Fail(s, "--ground takes free, perfect, excellent, good, average, poor, bad or ER,MS");
        }
    }
    p.Env.GroundPresent = kOverGround;
    s.ctx.Changed(Change::Geometry);
    return ApplyGround(s.ctx, g) || Fail(s, "the ground parameters of --ground are not valid");
}

}  // namespace

std::vector<std::string> ComputeValueOptions() {
    return {"--frequency", "--height", "--ground", "--source", "--debug"};
}

bool ApplyComputeOptions(Run& s, const Arguments& a) {
    Context& ctx = s.ctx;
    Project& p = ctx.project;
    std::vector<double> v;
    if (const auto f = a.Value("--frequency")) {
        if (!Numbers(*f, v) || v.size() != 1 || !(v[0] > 0) || v[0] > 1e9)
            return Fail(s, "--frequency takes a frequency in MHz");
        p.Frequency = static_cast<float>(v[0]);
        p.FrequencyDefined = true;
        ctx.Changed(Change::Frequency);
        SetFrequencyConstants(ctx);
        if (!Conclude(ctx, PrepareLoads(ctx))) return false;
    }
    if (const auto h = a.Value("--height")) {
        if (!Numbers(*h, v) || v.size() != 1 || v[0] < 0 || v[0] > 1e9)
            return Fail(s, "--height takes a height of 0 or more metres");
        p.Height = static_cast<float>(v[0]);
        ctx.Changed(Change::Geometry);
    }
    if (const auto g = a.Value("--ground")) {
        if (!ApplyGroundOption(s, *g)) return false;
    }
    const std::vector<std::string> sources = a.Values("--source");
    if (static_cast<int>(sources.size()) > kMaxSources)
        return Fail(s, "--source may be given at most " + std::to_string(kMaxSources) + " times");
    if (!sources.empty()) {
        p.Sources.fill(Source{});
        p.SourceCount = 0;
        for (const auto& src : sources) {
            if (!Numbers(src, v) || v.size() > 3 || v[0] < 1 || v[0] > ctx.Limits().pulses ||
                v[0] != static_cast<int>(v[0]))
                return Fail(s, "--source takes PULSE[,VOLTS[,DEGREES]] with a pulse from 1 to " +
                                   std::to_string(ctx.Limits().pulses));
            const auto pulse = static_cast<std::int32_t>(v[0]);
            for (int k = 1; k <= p.SourceCount; ++k)
                if (p.Sources[k].Pulse == pulse) return Fail(s, "--source: pulse " + std::to_string(pulse) + " is fed twice");
            Source& one = p.Sources[++p.SourceCount];
            one.Pulse = pulse;
            one.Magnitude = v.size() > 1 ? static_cast<float>(v[1]) : 1.0f;
            one.Phase = v.size() > 2 ? static_cast<float>(v[2]) : 0.0f;
        }
        p.SourcesDefined = true;
        ctx.Changed(Change::Sources);
        const int pulses = Solver(ctx).pulses.N;
        for (int k = 1; k <= p.SourceCount; ++k)
            if (p.Sources[k].Pulse > pulses)
                return Fail(s, "--source: the project has no pulse " + std::to_string(p.Sources[k].Pulse));
        PrepareSources(ctx);
    }
    return true;
}

void PrepareConsole(Run& s, const Arguments& a) {
    if (a.Value("--source")) s.host.mootMessages.push_back("No Sources defined");
    if (!a.Flag("--yes")) s.host.noAnswerHint = "(answered No: nobody can answer on the console; --yes answers Yes)";
}

bool LoadAndCheck(Run& s, const Arguments& a) {
    PrepareConsole(s, a);
    s.host.echoMainText = false;
    if (!s.Load(a.Positional()[0])) return false;
    if (!ApplyComputeOptions(s, a)) return false;
    s.host.answerYes = a.Flag("--yes");
    CheckProject(s.ctx);
    s.host.echoMainText = true;
    return !s.ctx.AbortFlag;
}

bool LoadCheckAndSolve(Run& s, const Arguments& a, bool report) {
    if (const auto debug = a.Value("--debug"); debug && !OpenDebug(s.ctx, *debug)) return false;
    if (!LoadAndCheck(s, a)) return false;
    if (s.ctx.project.SourceCount == 0) {
        s.err << "quillwork-cli: the project has no source to compute (give one with --source PULSE)\n";
        return false;
    }
    s.host.echoMainText = report;
    const Result solved = ZMCompute(s.ctx);
    s.host.echoMainText = true;
    return Conclude(s.ctx, solved);
}

}  // namespace qw::cli
