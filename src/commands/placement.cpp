#include "commands/placement.h"

#include <algorithm>

#include "commands/placement_values.h"
#include "solver/excitation.h"
#include "solver/solver.h"

namespace qw {

namespace {
const char* const kSourceTitle = "Source placement";
const char* const kLoadTitle = "Load placement";
}  // namespace

Placement::Placement(const Project& project) : project_(project), layout_(PulseLayout(project)) {
    sourceCount_ = std::clamp(project.SourceCount, 0, kMaxSources);
    loadCount_ = std::clamp(project.LoadCount, 0, kMaxLoads);
    for (int i = 1; i <= sourceCount_; ++i) sources_[i] = project.Sources[i];
    for (int i = 1; i <= loadCount_; ++i) loads_[i] = project.Loads[i];
    slots_ = SlotsOfWire(project_, layout_, wire_);
}

PlacementRefusal Placement::SelectWire(int w) {
    if (w < 1 || w > project_.WireCount) return {"No Such Wire", ""};
    wire_ = w;
    slots_ = SlotsOfWire(project_, layout_, wire_);
    return {};
}

void Placement::NextWire() {
    if (project_.WireCount > 0) SelectWire(wire_ >= project_.WireCount ? 1 : wire_ + 1);
}

void Placement::PreviousWire() {
    if (project_.WireCount > 0) SelectWire(wire_ <= 1 ? project_.WireCount : wire_ - 1);
}

SlotPlace Placement::PlaceOfSource(int n) const { return PlaceOfPulse(project_, layout_, sources_[n].Pulse); }

SlotPlace Placement::PlaceOfLoad(int n) const { return PlaceOfPulse(project_, layout_, loads_[n].Pulse); }

std::vector<PlacedItem> Placement::ItemsOnWire() const {
    std::vector<PlacedItem> items;
    for (int i = 1; i <= sourceCount_; ++i)
        if (const SlotPlace at = PlaceOfSource(i); at.wire == wire_) items.push_back({true, i, at.slot});
    for (int i = 1; i <= loadCount_; ++i)
        if (const SlotPlace at = PlaceOfLoad(i); at.wire == wire_) items.push_back({false, i, at.slot});
    return items;
}

PlacementRefusal Placement::Target(int wire, int slot, int* pulse) const {
    if (wire < 1 || wire > project_.WireCount) return {"No Such Wire", ""};
    const WireSlots s = SlotsOf(wire);
    if (!s.Usable(slot)) {
        if (s.lastSlot < s.firstSlot)
            return {"Wire " + std::to_string(wire) + " has no pulse", ""};
        return {"Slot " + std::to_string(slot) + " of wire " + std::to_string(wire) + " has no pulse (slots " +
                    std::to_string(s.firstSlot) + " to " + std::to_string(s.lastSlot) + ")",
                ""};
    }
    *pulse = SlotPulse(s, slot);
    return {};
}

PlacementRefusal Placement::SourceFree(int pulse, int except) const {
    for (int i = 1; i <= sourceCount_; ++i)
        if (i != except && sources_[i].Pulse == pulse) return {"Only one source per Pulse", kSourceTitle};
    return {};
}

PlacementRefusal Placement::AddSource(int wire, int slot, int* number) {
    if (sourceCount_ >= kMaxSources)
        return {"No more than " + std::to_string(kMaxSources) + " sources can be placed", kSourceTitle};
    int pulse = 0;
    if (auto r = Target(wire, slot, &pulse)) return r;
    if (auto r = SourceFree(pulse, 0)) return r;
    Source& s = sources_[++sourceCount_];
    s = Source{};
    s.Pulse = pulse;
    s.PlacementData = PlacementCode(wire, slot);
    if (number) *number = sourceCount_;
    return {};
}

PlacementRefusal Placement::AddLoad(int wire, int slot, int* number) {
    if (loadCount_ >= kMaxLoads)
        return {"No more than " + std::to_string(kMaxLoads) + " loads can be placed", kLoadTitle};
    int pulse = 0;
    if (auto r = Target(wire, slot, &pulse)) return r;
    Load& l = loads_[++loadCount_];
    l = Load{};
    l.Pulse = pulse;
    l.PlacementData = PlacementCode(wire, slot);
    if (number) *number = loadCount_;
    return {};
}

PlacementRefusal Placement::MoveSource(int n, int wire, int slot) {
    if (n < 1 || n > sourceCount_) return {"There is no source " + std::to_string(n), kSourceTitle};
    int pulse = 0;
    if (auto r = Target(wire, slot, &pulse)) return r;
    if (auto r = SourceFree(pulse, n)) return r;
    sources_[n].Pulse = pulse;
    sources_[n].PlacementData = PlacementCode(wire, slot);
    return {};
}

PlacementRefusal Placement::MoveLoad(int n, int wire, int slot) {
    if (n < 1 || n > loadCount_) return {"There is no load " + std::to_string(n), kLoadTitle};
    int pulse = 0;
    if (auto r = Target(wire, slot, &pulse)) return r;
    loads_[n].Pulse = pulse;
    loads_[n].PlacementData = PlacementCode(wire, slot);
    return {};
}

PlacementRefusal Placement::DeleteSource(int n) {
    if (n < 1 || n > sourceCount_) return {"There is no source " + std::to_string(n), kSourceTitle};
    for (int i = n; i < sourceCount_; ++i) sources_[i] = sources_[i + 1];
    sources_[sourceCount_--] = Source{};
    return {};
}

PlacementRefusal Placement::DeleteLoad(int n) {
    if (n < 1 || n > loadCount_) return {"There is no load " + std::to_string(n), kLoadTitle};
    for (int i = n; i < loadCount_; ++i) loads_[i] = loads_[i + 1];
    loads_[loadCount_--] = Load{};
    return {};
}

bool Placement::Commit(Context& ctx) const {
    Project& p = ctx.project;
    const Project before = p;
    p.Sources.fill(Source{});
    p.Loads.fill(Load{});
    for (int i = 1; i <= sourceCount_; ++i) p.Sources[i] = sources_[i];
    for (int i = 1; i <= loadCount_; ++i) {
        p.Loads[i] = loads_[i];
        if (!IsRlcKind(p.Loads[i].Kind)) p.Loads[i].Capacitance = 0;
    }
    p.SourceCount = sourceCount_;
    p.LoadCount = loadCount_;
    p.Modified = true;
    p.SourcesDefined = true;
    p.LoadsDefined = true;
    ctx.Changed(Change::Sources);
    ctx.Changed(Change::Loads);
    ctx.locks.FitTo(p);
    if (!ctx.solver) return true;
    // Sources on pulses beyond the table are deleted when it is prepared, so
    // the excitation waits for a pulse table of these wires; the loads need
    // none, and one without an impedance is told now.
    if (PulsesCurrent(ctx)) PrepareSources(ctx);
    if (p.Frequency <= 0 || Conclude(ctx, PrepareLoads(ctx))) return true;
    // A load without an impedance: the project keeps its tables.
    p = before;
    ctx.Changed(Change::Sources);
    ctx.Changed(Change::Loads);
    ctx.locks.FitTo(p);
    if (PulsesCurrent(ctx)) PrepareSources(ctx);
    if (p.LoadsDefined) (void)PrepareLoads(ctx);
    return false;
}

}  // namespace qw
