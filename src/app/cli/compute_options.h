// The options every computing command takes: they supply what a dialog
// would ask for, and override the project file.
#pragma once

#include <string>
#include <vector>

#include "app/cli/cli.h"

#define COMPUTE_OPTIONS_HELP                                                                  \
    "  --frequency MHZ        the operating frequency\n"                                      \
    "  --height M             the antenna height in metres\n"                                 \
    "  --ground G             free, perfect, excellent, good, average, poor, bad, or ER,MS\n" \
    "                         (dielectric constant and conductivity in mS/m)\n"               \
    "  --source P[,V,DEG]     a voltage source on pulse P (V volts, default 1; DEG degrees,\n" \
    "                         default 0) instead of the file's sources; repeat it for up\n"  \
    "                         to 10 sources (quillwork-cli show FILE --pulses lists them)\n" \
    "  --debug PATH           write the debug file to PATH (the solver's steps, one line\n"   \
    "                         each); without it no debug file is written\n"

// The --yes flag of every computing command.
#define YES_OPTION_HELP                                                                \
    "  --yes                  answer Yes to the checks' questions (an antenna at height 0\n" \
    "                         over ground); without it they are answered No\n"

namespace qw::cli {

// The value options above.
std::vector<std::string> ComputeValueOptions();

// Readies the console for the options before the file is read: with
// --source the file's lack of sources is not worth a message, and a
// question answered No says that --yes answers it.
void PrepareConsole(Run& run, const Arguments& args);

// Applies the options to the project read; false (with the reason on
// stderr) for a value that cannot be used.
bool ApplyComputeOptions(Run& run, const Arguments& args);

// What every computing command does first: opens the debug file of --debug
// (before the read, whose parse failures it records), reads the file named
// by the one positional argument (without printing its echo), applies the
// options, runs the checks (--yes answers their questions), refuses a
// project without sources, and solves. The source report is printed when `report`
// is true. False, with the reason on stderr, when the command must stop.
bool LoadCheckAndSolve(Run& run, const Arguments& args, bool report);
// The same without solving and without needing a source (a view of the
// wires alone): false, told, when the command must stop.
bool LoadAndCheck(Run& run, const Arguments& args);

}  // namespace qw::cli
