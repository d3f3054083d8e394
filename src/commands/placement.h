// The source and load placement window's working copies: the project's
// source and load tables, edited by wire and slot and written back only
// on OK. The desktop window and `quillwork-cli edit` both place through
// this class, so they refuse the same things with the same messages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/placement_slots.h"
#include "model/context.h"

namespace qw {

// Why a placement was refused: the message and its title.
struct PlacementRefusal {
    std::string text;
    std::string title;
    explicit operator bool() const { return !text.empty(); }
};

// A source or load drawn on the selected wire.
struct PlacedItem {
    bool isSource = true;
    int number = 0;  // source 1..10 or load 1..20
    int slot = 0;
};

class Placement {
public:
    // Copies the project's tables; wire 1 is selected.
    explicit Placement(const Project& project);

    const Project& Original() const { return project_; }
    int WireCount() const { return project_.WireCount; }

    // The selected wire and its slots.
    int Wire() const { return wire_; }
    const WireSlots& Slots() const { return slots_; }
    // Selects wire w; "No Such Wire" when it does not exist (the selection
    // stays).
    PlacementRefusal SelectWire(int w);
    void NextWire();      // after the last comes wire 1
    void PreviousWire();  // before wire 1 comes the last

    WireSlots SlotsOf(int wire) const { return SlotsOfWire(project_, layout_, wire); }
    // The sources and loads on the selected wire.
    std::vector<PlacedItem> ItemsOnWire() const;
    // Where a source's or a load's pulse lies (wire 0 when on none).
    SlotPlace PlaceOfSource(int n) const;
    SlotPlace PlaceOfLoad(int n) const;

    int SourceCount() const { return sourceCount_; }
    int LoadCount() const { return loadCount_; }
    Source& SourceAt(int n) { return sources_[n]; }
    Load& LoadAt(int n) { return loads_[n]; }
    const Source& SourceAt(int n) const { return sources_[n]; }
    const Load& LoadAt(int n) const { return loads_[n]; }

    // A new voltage source of 100 V at 0 degrees, or a new series load of
    // 0 ohms, at a slot of a wire; its number in *number.
    PlacementRefusal AddSource(int wire, int slot, int* number = nullptr);
    PlacementRefusal AddLoad(int wire, int slot, int* number = nullptr);
    PlacementRefusal MoveSource(int n, int wire, int slot);
    PlacementRefusal MoveLoad(int n, int wire, int slot);
    // Removes the entry; the ones after it move down by one.
    PlacementRefusal DeleteSource(int n);
    PlacementRefusal DeleteLoad(int n);

    // OK: the working tables become the project's; the project is modified,
    // its sources and loads count as defined, and the solver's load table
    // is prepared again, its excitation table too when its pulses are those
    // of the project's wires (otherwise whoever builds them prepares it).
    // A load without an impedance is told and refused: the project keeps
    // its tables and the result is false.
    bool Commit(Context& ctx) const;

private:
    PlacementRefusal Target(int wire, int slot, int* pulse) const;
    PlacementRefusal SourceFree(int pulse, int except) const;

    Project project_;
    std::vector<WirePulses> layout_;
    int wire_ = 1;
    WireSlots slots_;
    std::array<Source, kMaxSources + 1> sources_{};
    int sourceCount_ = 0;
    std::array<Load, kMaxLoads + 1> loads_{};
    int loadCount_ = 0;
};

// The value kept in PlacementData: the wire and slot an icon was put on.
inline std::int32_t PlacementCode(int wire, int slot) { return wire * 1000 + slot; }

}  // namespace qw
