// currents: the pulse and wire-end currents, as the Currents command lists
// them.
#include <filesystem>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "app/cli/field_output.h"
#include "fields/currents.h"
#include "model/file_locations.h"

namespace qw::cli {

namespace {

// The data file named by --data-file: the file itself, or "$$Current.$$$"
// in a folder named.
std::string DataFilePath(const Arguments& a) {
    const auto path = a.Value("--data-file");
    if (!path) return "";
    std::error_code error;
    if (std::filesystem::is_directory(*path, error)) return PathInFolder(*path, kCurrentsDataFileName);
    return *path;
}

void PrintCsvRow(std::ostream& out, const CurrentRow& r) {
    out << r.wire << ',' << (r.endRow ? std::string(1, r.label) : std::to_string(r.pulse)) << ','
        << CsvNumber(r.re) << ',' << CsvNumber(r.im) << ',' << CsvNumber(r.magnitude) << ',' << CsvNumber(r.phase)
        << '\n';
}

}  // namespace

const char* const kCurrentsUsage =
    "Usage: quillwork-cli currents FILE [--csv] [--data-file PATH] [--yes] [OPTIONS]\n\n"
    "Reads FILE (.qlk or .nec), runs the checks before computing, solves, and lists the\n"
    "current of every pulse, wire by wire, with the current at each wire end (\"E\" a free\n"
    "end, \"J\" a junction), printing the lines written to the log.\n\n"
    "  --csv                  print wire,label,re,im,mag,phase and one row per line of the\n"
    "                         table instead of the report (label: E, J or the pulse number)\n"
    "  --data-file PATH       also write the rows to the data file the 3D view reads: PATH\n"
    "                         itself, or $$Current.$$$ in PATH when it is a folder (without\n"
    "                         this option no data file is written)\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunCurrents(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> values = ComputeValueOptions();
    values.push_back("--data-file");
    const Arguments a(args, values, {"--csv", "--yes"});
    if (!ExpectArguments(s, a, 1, kCurrentsUsage)) return 1;
    if (!LoadCheckAndSolve(s, a, false)) return 1;

    const bool csv = a.Flag("--csv");
    CurrentsOutput output;
    bool header = false;
    auto printHeader = [&] {
        if (csv && !header) s.out << "wire,label,re,im,mag,phase\n";
        header = true;
    };
    if (csv) {
        output.row = [&](const CurrentRow& r) {
            printHeader();
            PrintCsvRow(s.out, r);
        };
    } else {
        output.logEcho = PrintedLines(s);
    }
    Conclude(s.ctx, ListCurrents(s.ctx, DataFilePath(a), output));
    if (s.ctx.AbortFlag) return 1;
    printHeader();
    return 0;
}

}  // namespace qw::cli
