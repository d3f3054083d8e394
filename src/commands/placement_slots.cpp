#include "commands/placement_slots.h"

#include <cmath>

namespace qw {

double WireSlots::Spacing() const { return segments > 0 ? (kSlotWireRight - kSlotWireLeft) / segments : 0; }

double WireSlots::SlotX(int slot) const { return kSlotWireLeft + slot * Spacing(); }

WireSlots SlotsOfWire(const Project& p, const std::vector<WirePulses>& layout, int w) {
    WireSlots s;
    if (w < 1 || w >= static_cast<int>(layout.size()) || w > p.WireCount) return s;
    const WirePulses& l = layout[w];
    s.wire = w;
    s.segments = p.Wires[w].Segments;
    s.firstSlot = l.joined1 ? 0 : 1;
    s.lastSlot = l.joined2 ? s.segments : s.segments - 1;
    // A wire without pulses reads nothing of its neighbours' pulses.
    if (l.last < l.first) s.lastSlot = s.firstSlot - 1;
    s.firstPulse = l.first;
    return s;
}

std::vector<int> TickLabels(const WireSlots& ws) {
    std::vector<int> labels;
    const int step = ws.segments <= 20 ? 1 : 5;
    for (int s = ws.firstSlot; s <= ws.lastSlot; s += step) labels.push_back(s);
    return labels;
}

int DropSlot(const WireSlots& ws, double x, double y, double iconHeight) {
    if (std::fabs(y - kSlotWireY) >= 2 * iconHeight) return -1;
    const double half = ws.Spacing() / 2;
    for (int s = ws.firstSlot; s <= ws.lastSlot; ++s)
        if (std::fabs(ws.SlotX(s) - x) <= half) return s;
    return -1;
}

int SlotPulse(const WireSlots& ws, int slot) {
    return ws.Usable(slot) ? ws.firstPulse + slot - ws.firstSlot : 0;
}

double SlotPercent(const WireSlots& ws, int slot) {
    return ws.segments > 0 ? 100.0 * slot / ws.segments : 0;
}

SlotPlace PlaceOfPulse(const Project& p, const std::vector<WirePulses>& layout, int pulse) {
    for (int w = 1; w < static_cast<int>(layout.size()) && w <= p.WireCount; ++w) {
        if (pulse < layout[w].first || pulse > layout[w].last) continue;
        const WireSlots s = SlotsOfWire(p, layout, w);
        return {w, pulse - s.firstPulse + s.firstSlot};
    }
    return {};
}

}  // namespace qw
