// The large-model benchmark structure: an array of parallel wires of
// unequal length (no two alike, so no block of the matrix repeats
// another), 1 mm thick, 0.3 m apart, at 144 MHz in free space, each wire of
// 51 segments (50 pulses): 6, 20 and 40 wires for 300, 1000 and 2000
// pulses. scripts/bench.sh writes the same structure as a project file and
// as a NEC deck of 50 segments a wire (the same unknowns) for nec2c.
#pragma once

#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw::bench {

// Wire w = 0..wires-1: x = 0.3 w, from z = -(0.45 + 0.0065 w) to
// +(0.45 + 0.0065 w) + 0.002 w.
struct LargeArray {
    ScriptedHost host;
    Context ctx{host};

    explicit LargeArray(int pulses) {
        InstallSolver(ctx);
        NewProject(ctx);
        ctx.options.LargeModels = true;
        Project& p = ctx.project;
        p.Frequency = 144;
        p.FrequencyDefined = true;
        p.Env.GroundPresent = kFreeSpace;
        const int wires = pulses / 50;
        for (int w = 0; w < wires; ++w) {
            const float half = 0.45f + 0.0065f * static_cast<float>(w);
            const float x = 0.3f * static_cast<float>(w);
            p.Wires[++p.WireCount] = Wire{51, x, 0, -half, x, 0, half + 0.002f * static_cast<float>(w), 0.001f};
        }
        p.Sources[++p.SourceCount] = Source{25, 0, 1, 0, kVoltageSource};
        SetFrequencyConstants(ctx);
        BuildPulseTable(ctx);
        PrepareSources(ctx);
        PrepareLoads(ctx);
    }
};

}  // namespace qw::bench
