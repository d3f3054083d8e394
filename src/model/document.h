// The document: everything a computation reads, as one copyable value. The
// open project, a sweep worker, an optimizer trial and an undo snapshot are
// each a Document; copying one copies the antenna, the number format, the
// requests and the options, and nothing is shared.
#pragma once

#include <cstdint>
#include <string>

#include "model/optimizer_locks.h"
#include "model/program_options.h"
#include "model/project.h"
#include "platform/field_requests.h"

namespace qw {

// What an edit of the document changed, and so what it makes stale.
enum class Change {
    Geometry,   // wires, height, ground presence, NEC radius mode: the pulses and all after them
    Ground,     // the ground's parameters: the matrix
    Frequency,  // the frequency constants, the loads' values and the matrix
    Sources,    // the excitation
    Loads,      // the load table and the matrix
};

// Counters of the edits, one per kind of change; the solver keeps the
// counters its tables were built for and rebuilds what is behind.
struct Revisions {
    std::uint64_t all = 0;  // every edit
    std::uint64_t geometry = 0, ground = 0, frequency = 0, sources = 0, loads = 0;
    bool operator==(const Revisions&) const = default;
};

struct Document {
    Project project;
    // A project has been read (or created by New Project): its wires count.
    bool ProjectOpen = false;
    std::string NumberFormat = kFixedNumberFormat;
    ProgramOptions options;

    // The requests of the field tables and the single-direction gain.
    FarFieldRequest farField;
    NearFieldRequest nearField;
    PatternDirection patternDirection;

    // The optimizer's locked variables, kept sized to the project.
    OptimizerLocks locks;

    // Reader state: the symmetry plane of wire cards (0 none, 1 XZ, 2 YZ, 3 XY).
    int Symmetry = 0;

    // A HEIGHT card was read: after the file's pulses are built, the height
    // counts as changed once more, so the checks before the first
    // computation build (and list) the pulses again, as they always have.
    bool HeightCardRead = false;

    Revisions revisions;
    // Records an edit: every edit of what the solver reads calls this.
    void Changed(Change what);
    // Records edits of every kind (a project read or reset).
    void ChangedAll();

    // The wires and pulses this document's options allow.
    ModelLimits Limits() const { return LimitsFor(options.LargeModels); }
};

}  // namespace qw
