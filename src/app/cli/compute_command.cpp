// compute: the input impedance of a project, as Compute Impedance does.
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "model/format_mask.h"
#include "solver/solver.h"
#include "solver/source_report.h"

namespace qw::cli {

namespace {

std::string JsonNumber(float v) {
    // Finite values only reach here; General Number never uses the locale.
    std::string text = Format(v, "General Number");
    if (text.rfind("-.", 0) == 0) text.insert(1, "0");
    if (text.rfind('.', 0) == 0) text.insert(0, "0");
    return text;
}

std::string JsonComplex(const char* a, float x, const char* b, float y) {
    return std::string("{\"") + a + "\": " + JsonNumber(x) + ", \"" + b + "\": " + JsonNumber(y) + "}";
}

void PrintJson(Run& s, std::ostream& out) {
    const SolverState& st = Solver(s.ctx);
    const Project& p = s.ctx.project;
    out << "{\"frequency\": " << JsonNumber(p.Frequency) << ", \"coax_impedance\": " << JsonNumber(p.CoaxImpedance)
        << ", \"pulses\": " << st.pulses.N << ", \"sources\": [";
    for (int i = 1; i <= p.SourceCount; ++i) {
        const SourceResult& r = st.SourceResults[i];
        const float swr = SwrOf(r.zr, r.zx, p.CoaxImpedance);
        out << (i > 1 ? ", " : "") << "{\"number\": " << i << ", \"pulse\": " << p.Sources[i].Pulse
            << ", \"impedance\": " << JsonComplex("r", r.zr, "x", r.zx)
            << ", \"swr\": " << (swr > 0 ? JsonNumber(swr) : "null")
            << ", \"voltage\": " << JsonComplex("re", r.vr, "im", r.vi)
            << ", \"current\": " << JsonComplex("re", r.ir, "im", r.ii) << ", \"power\": " << JsonNumber(r.power)
            << "}";
    }
    out << "], \"total_power\": " << JsonNumber(st.Pin) << "}\n";
}

}  // namespace

const char* const kComputeUsage =
    "Usage: quillwork-cli compute FILE [--json] [--yes] [OPTIONS]\n\n"
    "Reads FILE (.qlk or .nec), runs the checks before computing and computes the input\n"
    "impedance, SWR, voltage, current and power of every source, printing the lines of the\n"
    "main window's report (the echo of the file is not printed).\n\n"
    "  --json                 print one JSON object instead of the report\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunCompute(Run& s, const std::vector<std::string>& args) {
    const Arguments a(args, ComputeValueOptions(), {"--json", "--yes"});
    if (!ExpectArguments(s, a, 1, kComputeUsage)) return 1;
    const bool json = a.Flag("--json");
    if (!LoadCheckAndSolve(s, a, !json)) return 1;
    if (json) PrintJson(s, s.out);
    return 0;
}

}  // namespace qw::cli
