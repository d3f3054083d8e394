#include "plots/view3d_scene.h"

#include <algorithm>
#include <cmath>

#include "model/format_mask.h"
#include "model/units.h"
#include "solver/solver.h"

namespace qw {

Scene3D SceneOf(const Context& ctx) {
    Scene3D scene;
    const Project& p = ctx.project;
    std::vector<Point3> ends;
    if (PulsesCurrent(ctx)) {
        const PulseTable& t = ctx.solver->pulses;
        for (int w = 1; w <= t.NW; ++w) {
            const auto& e = t.Ends[static_cast<std::size_t>(w)];
            scene.wires.push_back({Point3{e[1][0], e[1][1], e[1][2]}, Point3{e[2][0], e[2][1], e[2][2]}});
        }
        for (int i = 1; i <= t.N; ++i) {
            const auto c = static_cast<std::size_t>(t.Centre(i));
            scene.pulses.push_back({t.X[c], t.Y[c], t.Z[c]});
        }
    } else {
        for (int w = 1; w <= p.WireCount; ++w) {
            const Wire& x = p.Wires[static_cast<std::size_t>(w)];
            scene.wires.push_back({Point3{x.X1, x.Y1, x.Z1 + p.Height}, Point3{x.X2, x.Y2, x.Z2 + p.Height}});
        }
    }
    for (const auto& wire : scene.wires) ends.insert(ends.end(), wire.begin(), wire.end());
    scene.extent = MeasureExtent(ends);
    const int pulses = static_cast<int>(scene.pulses.size());
    for (int s = 1; s <= p.SourceCount; ++s) {
        const int pulse = p.Sources[static_cast<std::size_t>(s)].Pulse;
        if (pulse >= 1 && pulse <= pulses) scene.sourcePulses.push_back(pulse);
    }
    for (int l = 1; l <= p.LoadCount; ++l) {
        const int pulse = p.Loads[static_cast<std::size_t>(l)].Pulse;
        if (pulse >= 1 && pulse <= pulses) scene.loadPulses.push_back(pulse);
    }
    return scene;
}

Result GatherCurrentRows(Context& ctx, const std::string& dataFilePath, WireCurrentRows& rows) {
    WireCurrentRows gathered;
    CurrentsOutput output;
    output.row = [&gathered](const CurrentRow& r) {
        if (r.wire < 1) return;
        if (gathered.size() < static_cast<std::size_t>(r.wire)) gathered.resize(static_cast<std::size_t>(r.wire));
        gathered[static_cast<std::size_t>(r.wire - 1)].push_back(r);
    };
    Result result = ListCurrents(ctx, dataFilePath, output);
    if (result.completed()) {
        if (ctx.solver) gathered.resize(static_cast<std::size_t>(std::max(0, ctx.solver->pulses.NW)));
        rows = std::move(gathered);
    }
    return result;
}

float LargestCurrent(const WireCurrentRows& rows) {
    float m = 0;
    for (const auto& wire : rows)
        for (const CurrentRow& r : wire)
            if (std::isfinite(r.magnitude)) m = std::max(m, r.magnitude);
    return m;
}

float FittedCurrentScale(const AntennaExtent& extent, const WireCurrentRows& rows) {
    const float largest = LargestCurrent(rows);
    const float reach = extent.size > 0 ? extent.size / 4 : 0.25f;
    return largest > 0 ? reach / largest : 1;
}

std::vector<std::string> WireInfoLines(const Project& p, int wire) {
    std::vector<std::string> lines{"Space Bar to change wire", ""};
    if (wire < 1 || wire > p.WireCount) {
        lines.push_back("No wires");
        return lines;
    }
    const Wire& w = p.Wires[static_cast<std::size_t>(wire)];
    const std::string unit = UnitLabel(p.Units);
    auto point = [&](float x, float y, float z) {
        return FormatLength(p, x) + "," + FormatLength(p, y) + "," + FormatLength(p, z) + unit;
    };
    const float dx = w.X2 - w.X1, dy = w.Y2 - w.Y1, dz = w.Z2 - w.Z1;
    lines.push_back("Wire " + std::to_string(wire) + " of " + std::to_string(p.WireCount));
    lines.push_back("End 1 :" + point(w.X1, w.Y1, w.Z1));
    lines.push_back("End 2 :" + point(w.X2, w.Y2, w.Z2));
    lines.push_back("Length :" + FormatLength(p, std::sqrt(dx * dx + dy * dy + dz * dz)) + unit);
    lines.push_back("Diameter : " + Format(2000 * w.Radius, "#0.00#") + " mm");
    lines.push_back("Segments : " + std::to_string(w.Segments));
    return lines;
}

}  // namespace qw
