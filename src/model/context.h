// The program-wide state, held in one object that the routines take by
// reference: the open project, the stop and batch flags, the options kept
// in the settings, and the Host through which the user is reached. A test,
// a command-line run and a sweep worker each own their own Context.
#pragma once

#include <functional>
#include <string>

#include "model/debug_file.h"
#include "model/log_file.h"
#include "model/project.h"

namespace qw {

class Host;
struct Context;

// Coordinate formats of the Format command.
inline constexpr const char* kFixedNumberFormat = " #0.000#;-#0.000#";
inline constexpr const char* kFloatNumberFormat = " 0.000E+00";

// Values the settings file provides; these are their built-in defaults.
struct ProgramOptions {
    float DefaultFrequency = 14.1f;  // MHz, for a new project
    float DefaultWireSize = 0.002f;  // diameter, metres
    int DefaultSegments = 10;
    // NEC compatibility: in mode 2 the solver's wire radii are scaled by
    // FrequencyOffsetFactor (at least 1).
    int NecMode = 1;
    float FrequencyOffsetFactor = 1;
    // True: the warning about a zero antenna height is switched off.
    bool HeightWarningOff = false;
};

// The solver's steps that the project routines call after a project was
// read or changed. The solver installs them (InstallSolverHooks); a step
// left empty is skipped, so the project model can be used on its own.
struct SolverHooks {
    std::function<void(Context&)> SetFrequencyConstants;  // also MatrixState = 0
    std::function<void(Context&)> SizeConnectionTables;   // after a read, WireCount entries
    std::function<void(Context&)> BuildPulseTable;
    std::function<void(Context&)> PrepareSources;
    std::function<void(Context&)> PrepareLoads;
    std::function<void(Context&)> ResetRequests;          // field and plot requests of NewProject
};

struct Context {
    explicit Context(Host& h) : host(&h) {}

    Host* host;
    Project project;
    bool ProjectOpen = false;
    bool AbortFlag = false;
    bool BatchMode = false;
    std::string NumberFormat = kFixedNumberFormat;
    ProgramOptions options;
    DebugFile debug;
    LogFile log;
    SolverHooks hooks;

    // Reader state: the symmetry plane of wire cards (0 none, 1 XZ, 2 YZ, 3 XY).
    int Symmetry = 0;
    // A file to read instead of showing the open dialog (command line, drop).
    std::string PendingFileName;

    // Shared constants, set by NewProject in single precision.
    float Pi = 0;
    float Rad = 0;  // pi / 180
};

// Sets the progress bar, lets pending events run, and turns a stop request
// into AbortFlag, as the Stop button does.
void ShowProgress(Context& ctx, double fraction);

}  // namespace qw
