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

    std::ostringstream cards;
    qw::WriteProjectCards(ctx, cards);
    qw::ScriptedHost host2;
    qw::Context again(host2);
    qw::NewProject(again);
    qw::ReadProjectText(again, cards.str(), false);
    Require(!again.AbortFlag);
    Require(again.project.WireCount == p.WireCount);
    Require(again.project.SourceCount == p.SourceCount);
    Require(again.project.LoadCount == p.LoadCount);
    for (int i = 1; i <= p.WireCount; ++i) Require(again.project.Wires[i].Segments == p.Wires[i].Segments);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadWriteRead(bytes, false);
    ReadWriteRead(bytes, true);
    return 0;
}
