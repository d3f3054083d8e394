// Where sources and loads can sit on one wire of the placement window:
// the usable slots (the wire's junctions that carry a pulse), the labels
// of its ticks, the drop rule and the pulse and position of a slot.
//
// The wire is drawn in twips from (kSlotWireLeft, kSlotWireY) to
// (kSlotWireRight, kSlotWireY); slot s of a wire of n segments lies at
// x = kSlotWireLeft + s * (kSlotWireRight - kSlotWireLeft) / n.
#pragma once

#include <vector>

#include "model/project.h"
#include "model/pulse_layout.h"

namespace qw {

inline constexpr double kSlotWireLeft = 340;
inline constexpr double kSlotWireRight = 8000;
inline constexpr double kSlotWireY = 3180;

struct WireSlots {
    int wire = 0;
    int segments = 0;
    int firstSlot = 1;   // 0 when end 1 is joined, else 1
    int lastSlot = 0;    // segments when end 2 is joined, else segments - 1
    int firstPulse = 0;  // the pulse of firstSlot

    bool Usable(int slot) const { return slot >= firstSlot && slot <= lastSlot; }
    // Twips between two slots.
    double Spacing() const;
    double SlotX(int slot) const;
};

// The slots of wire w (1..WireCount) in this layout. A wire without a pulse
// has no usable slot (lastSlot < firstSlot).
WireSlots SlotsOfWire(const Project& p, const std::vector<WirePulses>& layout, int w);

// The slots that carry a number under their tick: every usable slot of a
// wire of up to 20 segments, else every 5th counted from the first usable.
std::vector<int> TickLabels(const WireSlots& ws);

// The usable slot a drop at (x, y) lands on: the first one within half a
// spacing of x, when y is nearer the wire than twice the icon's height;
// -1 when the drop lands on none.
int DropSlot(const WireSlots& ws, double x, double y, double iconHeight);

// The absolute pulse of a usable slot; 0 for a slot without a pulse.
int SlotPulse(const WireSlots& ws, int slot);

// The pulse's number within its wire, counted from 1.
inline int PulseInWire(const WireSlots& ws, int slot) { return slot - ws.firstSlot + 1; }

// The position of the slot along the wire, in per cent of its length.
double SlotPercent(const WireSlots& ws, int slot);

// The wire and slot of an absolute pulse; wire 0 when no wire holds it.
struct SlotPlace {
    int wire = 0;
    int slot = 0;
};
SlotPlace PlaceOfPulse(const Project& p, const std::vector<WirePulses>& layout, int pulse);

}  // namespace qw
