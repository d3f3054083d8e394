// A project built in code and solved, for the solver and field tests.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"
#include "support/temp_dir.h"

namespace qw::test {

// At the default 299.8 MHz the wavelength is 1 m.
struct SolvedAntenna {
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;

    explicit SolvedAntenna(float frequency = 299.8f) {
        InstallSolver(ctx);
        NewProject(ctx);
        p.Frequency = frequency;
        p.FrequencyDefined = true;
        p.Env.GroundPresent = kFreeSpace;
        p.FileName = "test.qlk";
    }
    void PerfectGround() {
        p.Env.GroundPresent = kOverGround;
        p.Env.GroundKind = kPerfectGround;
        p.GroundDefined = true;
    }
    void Wire(int segments, float x1, float y1, float z1, float x2, float y2, float z2, float radius = 0.001f) {
        p.Wires[++p.WireCount] = qw::Wire{segments, x1, y1, z1, x2, y2, z2, radius};
    }
    void Source(int pulse, float magnitude = 1, float phase = 0, int kind = kVoltageSource) {
        p.Sources[++p.SourceCount] = qw::Source{pulse, 0, magnitude, phase, kind};
        p.SourcesDefined = true;
    }
    void Load(int pulse, float r, float x) {
        p.Loads[++p.LoadCount] = qw::Load{pulse, 0, kSeriesRX, r, x, 0};
        p.LoadsDefined = true;
    }
    // Builds the pulses and the tables; solves unless `solve` is false.
    void Build(bool solve = true) {
        SetFrequencyConstants(ctx);
        ASSERT_TRUE(BuildPulseTable(ctx).completed());
        PrepareSources(ctx);
        ASSERT_TRUE(PrepareLoads(ctx).completed());
        if (!solve) return;
        ASSERT_TRUE(ZMCompute(ctx).completed());
    }
    // Takes the currents and results set by hand as the solution of the
    // document as it stands.
    void MarkSolved() {
        SolverState& st = St();
        st.MatrixState = 2;
        st.built = {ctx.revisions.geometry, ctx.revisions.ground, ctx.revisions.frequency, ctx.revisions.sources,
                    ctx.revisions.loads};
    }
    SolverState& St() { return Solver(ctx); }
};

// The lines of a file written with CR LF line ends.
inline std::vector<std::string> FileLines(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// `text` padded with blanks to `width` characters.
inline std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

}  // namespace qw::test
