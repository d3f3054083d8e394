// show and save: reading and writing project files.
#include <cstdio>
#include <ostream>

#include "app/cli/cli.h"
#include "model/project_writer.h"
#include "solver/solver.h"

namespace qw::cli {

const char* const kShowUsage =
    "Usage: quillwork-cli show FILE [--pulses]\n\n"
    "Reads a project file (.qlk) or a NEC-2 input deck (.nec) and prints\n"
    "the lines the main window shows while reading it; messages go to standard error.\n"
    "In a .nec file the last operand of a wire card is the wire radius.\n\n"
    "  --pulses               then list every pulse: its number, its wire and where it lies\n"
    "                         (x, y, z in metres, with the height added), to find the pulse\n"
    "                         that --source feeds\n" GLOBAL_OPTIONS_HELP;

const char* const kSaveUsage =
    "Usage: quillwork-cli save IN OUT [--comment TEXT]\n\n"
    "Reads IN (.qlk or .nec) and writes it as a project file to OUT. A project without\n"
    "header comment lines gets the header \"QUILLWORK File\" with TEXT (default empty).\n"
    "A name OUT ending in .nec is written with .qlk instead. The old OUT is replaced\n"
    "only once the new file is complete. The settings supply the feed-line impedance and\n"
    "the frequency of a project whose file does not give them.\n\n"
    "  --comment TEXT         the comment of the new header\n" GLOBAL_OPTIONS_HELP;

int RunShow(Run& s, const std::vector<std::string>& args) {
    const Arguments a(args, {}, {"--pulses"});
    if (!ExpectArguments(s, a, 1, kShowUsage)) return 1;
    if (!s.Load(a.Positional()[0])) return 1;
    if (a.Flag("--pulses")) {
        const PulseTable& t = Solver(s.ctx).pulses;
        s.out << "Pulses: " << t.N << "\n";
        if (t.N > 0) s.out << "Pulse  Wire           X           Y           Z\n";
        for (int i = 1; i <= t.N; ++i) {
            const int c = t.Centre(i);
            char line[96];
            std::snprintf(line, sizeof line, "%5d %5d %11.4f %11.4f %11.4f", i, t.W[i], static_cast<double>(t.X[c]),
                          static_cast<double>(t.Y[c]), static_cast<double>(t.Z[c]));
            s.out << line << "\n";
        }
    }
    return 0;
}

int RunSave(Run& s, const std::vector<std::string>& args) {
    const Arguments a(args, {"--comment"}, {});
    if (!ExpectArguments(s, a, 2, kSaveUsage)) return 1;
    s.host.echoMainText = false;
    if (!s.Load(a.Positional()[0])) return 1;
    Project& p = s.ctx.project;
    if (!HasHeaderComments(p.ProjectText)) {
        p.ProjectText.clear();
        s.host.inputAnswers.push_back(a.Value("--comment").value_or(""));
    }
    return SaveProject(s.ctx, a.Positional()[1]) ? 0 : 1;
}

}  // namespace qw::cli
