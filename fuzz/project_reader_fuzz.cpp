// Fuzz target: any bytes, read as a project file and as a NEC deck, must
// neither crash nor hang the reader; the tables never overflow; and what the
// writer makes of the project reads back to the same tables.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "platform/scripted_host.h"

namespace {

// Equal, or both not numbers.
bool Same(float a, float b) { return a == b || (a != a && b != b); }

// The project of ctx written as cards and read back.
qw::Project WrittenAndRead(qw::Context& ctx) {
    std::ostringstream cards;
    qw::WriteProjectCards(ctx, cards);
    qw::ScriptedHost host;
    qw::Context again(host);
    qw::NewProject(again);
    qw::ReadProjectText(again, cards.str(), false);
    Require(!again.AbortFlag);
    return again.project;
}

void ReadWriteRead(std::string_view bytes, bool nec) {
    qw::ScriptedHost host;
    qw::Context ctx(host);
    qw::NewProject(ctx);
    qw::ReadProjectText(ctx, bytes, nec);
    const qw::Project& p = ctx.project;
    Require(p.WireCount >= 0 && p.WireCount <= qw::kMaxWires);
    Require(p.SourceCount >= 0 && p.SourceCount <= qw::kMaxSources);
    Require(p.LoadCount >= 0 && p.LoadCount <= qw::kMaxLoads);
    if (ctx.AbortFlag) return;

    // The writer rounds lengths to the number format: the project read
    // back keeps its counts, segments and pulses, and from then on a write
    // and a read change nothing.
    const qw::Project once = WrittenAndRead(ctx);
    Require(once.WireCount == p.WireCount && once.SourceCount == p.SourceCount && once.LoadCount == p.LoadCount);
    for (int i = 1; i <= p.WireCount; ++i) Require(once.Wires[i].Segments == p.Wires[i].Segments);
    for (int i = 1; i <= p.SourceCount; ++i) Require(once.Sources[i].Pulse == p.Sources[i].Pulse);
    for (int i = 1; i <= p.LoadCount; ++i) Require(once.Loads[i].Pulse == p.Loads[i].Pulse);
    ctx.project = once;
    const qw::Project twice = WrittenAndRead(ctx);
    for (int i = 1; i <= p.WireCount; ++i) {
        const qw::Wire &a = once.Wires[i], &b = twice.Wires[i];
        Require(Same(a.X1, b.X1) && Same(a.Y1, b.Y1) && Same(a.Z1, b.Z1) && Same(a.X2, b.X2) && Same(a.Y2, b.Y2) &&
                Same(a.Z2, b.Z2) && Same(a.Radius, b.Radius));
    }
    for (int i = 1; i <= p.SourceCount; ++i) {
        const qw::Source &a = once.Sources[i], &b = twice.Sources[i];
        Require(a.Pulse == b.Pulse && a.Kind == b.Kind && Same(a.Magnitude, b.Magnitude) && Same(a.Phase, b.Phase));
    }
    for (int i = 1; i <= p.LoadCount; ++i) {
        const qw::Load &a = once.Loads[i], &b = twice.Loads[i];
        Require(a.Pulse == b.Pulse && a.Kind == b.Kind && Same(a.Resistance, b.Resistance) &&
                Same(a.Reactance, b.Reactance) && Same(a.Capacitance, b.Capacitance));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadWriteRead(bytes, false);
    ReadWriteRead(bytes, true);
    return 0;
}
