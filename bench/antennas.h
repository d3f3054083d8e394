// The benchmark antennas, read from their project files: bench/antennas
// (six unequal elements, a log-periodic-like array of ten elements, a
// ground plane with eight drooping radials over real ground, a sloping
// quad) and the six identical parallel wires of bench/six_wires.qlk; 300
// pulses each, the pulses built and the sources and loads prepared as for
// a computation.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "commands/project_loading.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"
#include "solver/excitation.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace qw::bench {

inline constexpr const char* kAntennas[] = {"yagi6", "logperiodic10", "groundplane8", "quad3", "six_wires"};
inline constexpr int kAntennaCount = 5;

struct BenchAntenna {
    ScriptedHost host;
    Context ctx{host};
    std::string name;

    explicit BenchAntenna(int index) : name(kAntennas[index]) {
        const std::string path =
            std::string(QW_BENCH_DIR) + (name == "six_wires" ? "/" : "/antennas/") + name + ".qlk";
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + path);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        ctx.BatchMode = true;
        InstallSolver(ctx);
        ReadProjectText(ctx, bytes.str(), false);
        PrepareReadProject(ctx, true);
        // The height read from the file, applied as the checks before a
        // computation apply it.
        ctx.HeightCardRead = false;
        if (!BuildPulseTable(ctx).completed()) throw std::runtime_error("no pulses in " + path);
        PrepareSources(ctx);
        PrepareLoads(ctx);
        ctx.BatchMode = false;
    }
    std::string Label() { return name + ", " + std::to_string(Solver(ctx).pulses.N) + " pulses"; }
};

}  // namespace qw::bench
