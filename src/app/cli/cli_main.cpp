// quillwork-cli: the batch front end over the engine.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/cli.h"
#include "version.h"

namespace qw::cli {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"show", "read a project or NEC file and print what the main window shows", kShowUsage, RunShow},
        {"save", "read a project or NEC file and write it as a project file", kSaveUsage, RunSave},
        {"edit", "edit wires, sources and loads and write the project", kEditUsage, RunEdit},
        {"compute", "compute the input impedance of every source", kComputeUsage, RunCompute},
        {"nearfield", "compute the near electric or magnetic field on a grid of points", kNearFieldUsage, RunNearField},
        {"currents", "list the current of every pulse and wire end", kCurrentsUsage, RunCurrents},
        {"farfield", "compute the far-field gains or field strengths over a grid of directions", kFarFieldUsage, RunFarField},
        {"resonance", "step through a band and mark the resonances", kResonanceUsage, RunResonance},
        {"sweep", "impedance, SWR, gain and F/B over a band, on every core", kSweepUsage, RunSweep},
        {"plot", "impedance, SWR, gain, F/B or Smith chart plot of a band, as SVG", kPlotUsage, RunPlot},
        {"pattern", "draw an azimuth or zenith cut as SVG and store it in the pattern file", kPatternUsage, RunPattern},
        {"view", "draw the 2D view of the wires in the XY, YZ or XZ plane as SVG", kViewUsage, RunView},
        {"view3d", "draw the 3D view of the wires, their currents and the 3D pattern as SVG", kView3DUsage, RunView3D},
        {"pattern3d", "compute the 3D pattern, write its .PLT file and print its grid", kPattern3DUsage, RunPattern3D},
        {"export-nec", "read a project or NEC file and write it as a NEC-2 deck", kExportNecUsage, RunExportNec},
        {"check", "list the segment, radius and joint problems of a model", kCheckUsage, RunCheck},
        {"optimize", "tune dimensions, loads or sources toward resonance, SWR, gain or F/B", kOptimizeUsage, RunOptimize},
    };
    return commands;
}

}  // namespace qw::cli

namespace {

void OnInterrupt(int) { qw::ConsoleHost::RequestStop(); }

void PrintHelp(std::ostream& out) {
    out << "QUILLWORK " << qw::kVersionText << " - thin-wire antenna simulator, command-line program\n\n"
        << "Usage: quillwork-cli COMMAND [ARGUMENTS]\n"
        << "       quillwork-cli COMMAND --help\n"
        << "       quillwork-cli --version\n\n"
        << "Commands:\n";
    for (const auto& c : qw::cli::Commands()) {
        std::string name = c.name;
        name.resize(12, ' ');
        out << "  " << name << c.summary << "\n";
    }
    out << "\nEvery command also takes --settings PATH (the settings file to read instead of\n"
        << "QUILLWORK.INI), --log PATH (write the log there; without it no log is written)\n"
        << "and --large (models of up to 500 wires and 2000 pulses instead of 50 and 300; the\n"
        << "settings file's \"Large models\" key turns it on for every run).\n"
        << "\nReports go to standard output, messages to standard error. The exit status is 0 on\n"
        << "success and 1 when the command failed. Ctrl+C stops a running computation.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, OnInterrupt);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return 1;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "QUILLWORK " << qw::kVersionText << "\n";
        return 0;
    }
    for (const auto& c : qw::cli::Commands()) {
        if (args[0] != c.name) continue;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        for (const auto& a : rest) {
            if (a == "--help" || a == "-h") {
                std::cout << c.usage;
                return 0;
            }
        }
        qw::cli::Run run(std::cout, std::cerr);
        const int status = c.run(run, rest);
        std::cout.flush();
        // A log asked for that could not be written in full (it was turned
        // off and the user told) fails the run: what it should hold is lost.
        return status == 0 && run.LogLost() ? 1 : status;
    }
    std::cerr << "quillwork-cli: unknown command \"" << args[0] << "\" (see quillwork-cli --help)\n";
    return 1;
}
