#include "commands/geometry_check.h"

#include "platform/host.h"

namespace qw {

namespace {

constexpr const char* kCheckTitle = "Check your geometry";

void Fault(Context& ctx, const std::string& text) { ctx.host->Notify(text, kCheckTitle, MessageIcon::Critical); }

}  // namespace

GeometryCheck CheckGeometry(Context& ctx, int* faultRow) {
    const Project& p = ctx.project;
    if (p.WireCount <= 0) {
        const MessageAnswer answer = ctx.host->ShowMessage(
            {"No wires defined. Do you want to exit anyway?", "Geometry Empty", MessageIcon::Question,
             MessageButtons::YesNo, 1});
        return answer == MessageAnswer::Yes ? GeometryCheck::EmptyAccepted : GeometryCheck::Failed;
    }
    for (int n = 1; n <= p.WireCount; ++n) {
        const Wire& w = p.Wires[n];
        if (w.X1 == w.X2 && w.Y1 == w.Y2 && w.Z1 == w.Z2) {
            Fault(ctx, "Wire # " + std::to_string(n) + " is zero length");
            return GeometryCheck::Failed;
        }
    }
    // In free space there is no ground for a wire to be under.
    if (p.Env.GroundPresent == kOverGround) {
        for (int n = 1; n <= p.WireCount; ++n) {
            const Wire& w = p.Wires[n];
            const float z1 = w.Z1 + p.Height, z2 = w.Z2 + p.Height;
            std::string fault;
            if (z1 < 0 || z2 < 0)
                fault = "Wire # " + std::to_string(n) + " is below ground";
            else if (z1 == 0 && z2 == 0)
                fault = "Wire # " + std::to_string(n) + " is on the ground";
            if (!fault.empty()) {
                if (faultRow) *faultRow = n;
                Fault(ctx, fault);
                return GeometryCheck::Failed;
            }
        }
    }
    for (int i = 1; i <= p.WireCount; ++i)
        for (int j = 1; j <= p.WireCount; ++j) {
            if (i == j) continue;
            const Wire& a = p.Wires[i];
            const Wire& b = p.Wires[j];
            if (a.X1 == b.X1 && a.Y1 == b.Y1 && a.Z1 == b.Z1 && a.X2 == b.X2 && a.Y2 == b.Y2 && a.Z2 == b.Z2) {
                Fault(ctx, "Wire # " + std::to_string(i) + " and # " + std::to_string(j) + " identical");
                return GeometryCheck::Failed;
            }
        }
    return GeometryCheck::Passed;
}

bool CheckPulseWireMax(Context& ctx) {
    const Project& p = ctx.project;
    long total = 0;
    for (int n = 1; n <= p.WireCount; ++n) total += p.Wires[n].Segments;
    const char* fault = nullptr;
    if (total > ctx.Limits().pulses)
        fault = "Too many pulses! Reduce number of segments.";
    else if (p.WireCount > ctx.Limits().wires)
        fault = "Too many wires! Reduce number of wires.";
    if (!fault) return false;
    ctx.host->Notify(fault, "ABORT !", MessageIcon::Exclamation);
    ctx.AbortFlag = true;
    return true;
}

}  // namespace qw
