// The command-line program: one function per command, sharing the
// conventions of cli_main.cpp (reports on stdout, messages on stderr,
// exit status 0 on success and 1 with the message otherwise).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "model/context.h"
#include "platform/console_host.h"

// The options every command takes besides its own (Arguments accepts
// them; ExpectArguments applies them).
#define GLOBAL_OPTIONS_HELP                                                                   \
    "  --settings PATH        read the settings from PATH instead of QUILLWORK.INI\n"         \
    "  --log PATH             write the log file to PATH (without it no log is written)\n"        \
    "  --large                large models: up to 500 wires and 2000 pulses (else 50 and 300)\n"

namespace qw::cli {

inline const std::vector<std::string> kGlobalValueOptions = {"--settings", "--log"};
inline const std::vector<std::string> kGlobalFlagOptions = {"--large"};

// A command's arguments after its name: positional ones in order, and
// options "--name value" or "--flag". The global value options are
// accepted by every command.
class Arguments {
public:
    Arguments(std::vector<std::string> args, std::vector<std::string> valueOptions,
              std::vector<std::string> flagOptions);

    // An error text when the arguments do not fit, else "".
    const std::string& Error() const { return error_; }
    const std::vector<std::string>& Positional() const { return positional_; }
    std::optional<std::string> Value(const std::string& option) const;
    // Every value of an option that may be repeated, in order.
    std::vector<std::string> Values(const std::string& option) const;
    bool Flag(const std::string& option) const;

private:
    std::string error_;
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
};

// One run of a command: the console, a fresh project and its context, as
// every command starts.
struct Run {
    Run(std::ostream& out, std::ostream& err);
    ConsoleHost host;
    Context ctx;
    std::ostream& out;
    std::ostream& err;

    // Reads a project file as Open Project does. False (the reason already
    // on stderr) when the read aborted.
    bool Load(const std::string& path);

    // Starts the run as the program starts: reads the settings (the file of
    // --settings, else QUILLWORK.INI where the program keeps it, when it
    // exists), renews the project with the defaults read, and opens the log
    // of --log. False (the reason on stderr) when the log cannot be opened.
    bool ApplyGlobalOptions(const Arguments& args);

    // A log was opened for the run and is off now (it could not be written).
    bool LogLost() const { return logOpened && !ctx.log.IsOn(); }
    bool logOpened = false;
};

// True when the arguments parsed and there are `count` positional ones,
// after ApplyGlobalOptions; otherwise prints the error (and the usage for
// wrong arguments) on stderr.
bool ExpectArguments(Run& run, const Arguments& args, std::size_t count, const char* usage);

struct Command {
    const char* name;
    const char* summary;
    const char* usage;  // the whole help text of the command
    int (*run)(Run& run, const std::vector<std::string>& args);
};

const std::vector<Command>& Commands();

extern const char* const kShowUsage;
int RunShow(Run& run, const std::vector<std::string>& args);
extern const char* const kSaveUsage;
int RunSave(Run& run, const std::vector<std::string>& args);
extern const char* const kEditUsage;
int RunEdit(Run& run, const std::vector<std::string>& args);
extern const char* const kComputeUsage;
int RunCompute(Run& run, const std::vector<std::string>& args);
extern const char* const kNearFieldUsage;
int RunNearField(Run& run, const std::vector<std::string>& args);
extern const char* const kCurrentsUsage;
int RunCurrents(Run& run, const std::vector<std::string>& args);
extern const char* const kFarFieldUsage;
int RunFarField(Run& run, const std::vector<std::string>& args);
extern const char* const kResonanceUsage;
int RunResonance(Run& run, const std::vector<std::string>& args);
extern const char* const kSweepUsage;
int RunSweep(Run& run, const std::vector<std::string>& args);
extern const char* const kPlotUsage;
int RunPlot(Run& run, const std::vector<std::string>& args);
extern const char* const kPatternUsage;
int RunPattern(Run& run, const std::vector<std::string>& args);
extern const char* const kViewUsage;
int RunView(Run& run, const std::vector<std::string>& args);
extern const char* const kView3DUsage;
int RunView3D(Run& run, const std::vector<std::string>& args);
extern const char* const kPattern3DUsage;
int RunPattern3D(Run& run, const std::vector<std::string>& args);
extern const char* const kExportNecUsage;
int RunExportNec(Run& run, const std::vector<std::string>& args);
extern const char* const kCheckUsage;
int RunCheck(Run& run, const std::vector<std::string>& args);
extern const char* const kOptimizeUsage;
int RunOptimize(Run& run, const std::vector<std::string>& args);

// Prints "quillwork-cli: " and why on standard error; returns false.
bool Fail(Run& s, const std::string& why);
// A whole number from low to high.
bool WholeNumber(const std::string& text, int low, int high, int& value);
// --size WxH, each 100 to 10000 pixels, into width and height (unchanged
// without the option); false, told, when it is malformed.
bool SizeOption(Run& s, const Arguments& a, int& width, int& height);

}  // namespace qw::cli
