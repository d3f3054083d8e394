// The Currents command: the solved current of every pulse, wire by wire,
// with the current at each wire end, to the log and to the data file that
// the 3D view reads back.
#pragma once

#include <functional>
#include <string>

#include "fields/report_lines.h"
#include "model/context.h"
#include "platform/outcome.h"
#include "solver/solver_state.h"

namespace qw {

// The data file's name; the desktop program keeps it in the log's folder.
inline constexpr const char* kCurrentsDataFileName = "$$Current.$$$";

// The current at one wire end: "E" a free end, "J" a junction.
struct EndCurrent {
    char label = 'E';
    float re = 0, im = 0;
};

// One row of the table: an end row (label "E" or "J") or a pulse row.
struct CurrentRow {
    int wire = 0;
    bool endRow = false;
    char label = 'E';  // end rows
    int pulse = 0;     // pulse rows
    float re = 0, im = 0, magnitude = 0, phase = 0;
};

// Where the rows go besides the log and the data file.
struct CurrentsOutput {
    LineEcho logEcho;                             // every log line, as written
    std::function<void(const CurrentRow&)> row;   // every row, in order
};

// The current at end e (1 or 2) of wire w, from its end pulse p with the
// signed wire r of that pulse's outer half: "J" with I(p) when r names
// another wire, and the currents of the other wires' end pulses that
// continue into this end added (or subtracted when they run against it);
// wires without pulses take no part.
EndCurrent WireEndCurrent(const SolverState& s, int w, int e, int p, int r);

// The currents table: solves when the solution does not stand, then writes
// the table to the log and its rows to the data file at dataFilePath ("":
// no data file; an old file is replaced). Fails when the data file cannot
// be written.
Result ListCurrents(Context& ctx, const std::string& dataFilePath, const CurrentsOutput& output = {});

}  // namespace qw
