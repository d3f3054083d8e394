// The benchmark structure: six parallel wires about 1 m long with 51
// segments each (300 pulses), 2.5 mm thick, 0.4 m apart, at 144 MHz, in
// free space, 2 m over perfect ground or 2 m over average real ground;
// the pulses built and the sources and loads prepared.
#pragma once

#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw::bench {

enum class Ground { FreeSpace, Perfect, Real };

struct SixWires {
    ScriptedHost host;
    Context ctx{host};

    explicit SixWires(Ground ground) {
        InstallSolver(ctx);
        NewProject(ctx);
        Project& p = ctx.project;
        p.Frequency = 144;
        p.FrequencyDefined = true;
        p.Env.GroundPresent = ground == Ground::FreeSpace ? kFreeSpace : kOverGround;
        if (ground == Ground::Real) {
            p.Env.GroundKind = kRealGround;
            p.Env.SetRealGround(13, 0.005f);
        }
        p.Height = ground == Ground::FreeSpace ? 0.0f : 2.0f;
        for (int w = 1; w <= 6; ++w)
            p.Wires[++p.WireCount] = Wire{51, 0, 0.4f * (w - 1), -0.5f, 0, 0.4f * (w - 1), 0.5f, 0.00125f};
        p.Sources[++p.SourceCount] = Source{25, 0, 1, 0, kVoltageSource};
        SetFrequencyConstants(ctx);
        BuildPulseTable(ctx);
        PrepareSources(ctx);
        PrepareLoads(ctx);
    }
};

}  // namespace qw::bench
