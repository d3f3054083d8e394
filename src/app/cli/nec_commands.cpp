// export-nec and check: a project written as a NEC deck, and the model
// quality report.
#include <cstdlib>
#include <ostream>

#include "app/cli/cli.h"
#include "commands/nec_export.h"
#include "model/model_quality.h"

namespace qw::cli {

const char* const kExportNecUsage =
    "Usage: quillwork-cli export-nec FILE OUT\n\n"
    "Reads FILE (.qlk or .nec) and writes it to OUT as a NEC-2 input deck: a GW card per\n"
    "wire (tag = wire number, radius, the antenna height added to z), GE with the ground\n"
    "flag, GN for the ground, EX 0 for every source and LD for every load, FR, an RP card\n"
    "for the default far-field grid, and EN. QUILLWORK feeds a pulse at the joint of two\n"
    "segments, NEC the centre of a segment: each source and load goes on a segment next\n"
    "to its pulse (the deck's comment cards say so). The old OUT is replaced only once the\n"
    "new file is complete.\n\n" GLOBAL_OPTIONS_HELP;

const char* const kCheckUsage =
    "Usage: quillwork-cli check FILE\n\n"
    "Reads FILE (.qlk or .nec) and lists what may make its results untrustworthy at its\n"
    "frequency: segments longer than a tenth or shorter than a thousandth of the\n"
    "wavelength, segments shorter than 4 wire radii, joined wires whose segment lengths\n"
    "or diameters differ more than 5 times, and wires that cross or touch without a\n"
    "joint. The report goes to standard output; the exit status is 0 once the file was\n"
    "read, whatever it finds.\n\n"
    "  --frequency MHZ        check at this frequency instead of the file's\n" GLOBAL_OPTIONS_HELP;

int RunExportNec(Run& s, const std::vector<std::string>& args) {
    const Arguments a(args, {}, {});
    if (!ExpectArguments(s, a, 2, kExportNecUsage)) return 1;
    s.host.echoMainText = false;
    if (!s.Load(a.Positional()[0])) return 1;
    const std::string why = ExportNecDeck(s.ctx, a.Positional()[1]);
    if (!why.empty()) {
        s.err << "quillwork-cli: the NEC deck was not written to " << a.Positional()[1] << ": " << why << "\n";
        return 1;
    }
    return 0;
}

int RunCheck(Run& s, const std::vector<std::string>& args) {
    const Arguments a(args, {"--frequency"}, {});
    if (!ExpectArguments(s, a, 1, kCheckUsage)) return 1;
    s.host.echoMainText = false;
    if (!s.Load(a.Positional()[0])) return 1;
    if (const auto f = a.Value("--frequency")) {
        char* end = nullptr;
        const double v = std::strtod(f->c_str(), &end);
        if (end == f->c_str() || *end != '\0' || !(v > 0) || v > 1e9) {
            s.err << "quillwork-cli: --frequency takes a frequency in MHz\n";
            return 1;
        }
        s.ctx.project.Frequency = static_cast<float>(v);
    }
    for (const auto& line : ModelQualityReport(s.ctx.project)) s.out << line << "\n";
    return 0;
}

}  // namespace qw::cli
