// Fuzz target: NEC decks and the expressions of their numeric fields.
//
// An input whose first byte is odd is an expression test: the text up to
// the first line end defines symbols (as an SY card's operands), the rest
// is evaluated. Either may only fail with the expression error, and a value
// is always a finite number. Any other input is read as a NEC deck: the
// tables never overflow, and a deck that reads and can be written as a deck
// reads back with the same wires, segments, sources and loads.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "model/nec_expression.h"
#include "model/nec_writer.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"

namespace {

void Expressions(std::string_view text) {
    const std::size_t end = text.find('\n');
    const std::string_view definitions = text.substr(0, end);
    const std::string_view expression = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    qw::NecSymbols symbols;
    try {
        symbols.Define(definitions);
    } catch (const qw::NecExpressionError&) {
    }
    try {
        const double value = symbols.Evaluate(expression);
        Require(std::isfinite(value));
        // The same text gives the same value.
        Require(symbols.Evaluate(expression) == value);
    } catch (const qw::NecExpressionError&) {
    }
}

qw::Project Read(qw::Context& ctx, std::string_view bytes) {
    qw::NewProject(ctx);
    qw::ReadProjectText(ctx, bytes, true);
    return ctx.project;
}

void Deck(std::string_view bytes) {
    qw::ScriptedHost host;
    qw::Context ctx(host);
    const qw::Project p = Read(ctx, bytes);
    Require(p.WireCount >= 0 && p.WireCount <= qw::kMaxWires);
    Require(p.SourceCount >= 0 && p.SourceCount <= qw::kMaxSources);
    Require(p.LoadCount >= 0 && p.LoadCount <= qw::kMaxLoads);
    if (ctx.AbortFlag || !qw::NecExportProblem(p).empty()) return;

    const std::string deck = qw::NecDeckText(p, "FUZZ");
    qw::ScriptedHost host2;
    qw::Context again(host2);
    const qw::Project q = Read(again, deck);
    Require(!again.AbortFlag);
    Require(q.WireCount == p.WireCount && q.SourceCount == p.SourceCount && q.LoadCount == p.LoadCount);
    for (int i = 1; i <= p.WireCount; ++i) Require(q.Wires[i].Segments == p.Wires[i].Segments);
    for (int i = 1; i <= p.SourceCount; ++i) Require(q.Sources[i].Pulse == p.Sources[i].Pulse);
    for (int i = 1; i <= p.LoadCount; ++i) Require(q.Loads[i].Pulse == p.Loads[i].Pulse);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1)
        Expressions(bytes);
    else
        Deck(bytes);
    return 0;
}
