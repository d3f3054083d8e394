#include "model/nec_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/pulse_layout.h"

namespace qw {

namespace {

// A number as NEC reads it: locale-free, in the fewest significant digits
// (7 to 9) that read back as the same single-precision value, so that a
// deck read again gives the same wires, joints and pulses.
std::string N(double v) {
    if (v == 0) return "0";
    char buf[48];
    for (int digits = 7; digits <= 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, v);
        for (char* c = buf; *c; ++c)
            if (*c == ',') *c = '.';  // a C library set to a comma locale
        if (static_cast<float>(std::strtod(buf, nullptr)) == static_cast<float>(v)) break;
    }
    return buf;
}

std::string Card(const std::string& keyword, std::initializer_list<std::string> fields) {
    std::string line = keyword;
    for (const auto& f : fields) line += " " + f;
    return line + "\r\n";
}

// The wire and segment (1-based) on which a source or load of `pulse`
// is written: a segment bounding the pulse's junction that the deck
// reader maps back to the same pulse.
bool SegmentOfPulse(const Project& p, const std::vector<WirePulses>& layout, int pulse, int& wire, int& segment,
                    bool* exact = nullptr) {
    if (exact) *exact = true;
    for (int w = 1; w <= p.WireCount; ++w) {
        const WirePulses& l = layout[w];
        if (pulse < l.first || pulse > l.last) continue;
        const int k = pulse - l.first + (l.joined1 ? 0 : 1);
        wire = w;
        for (const int s : {k, k + 1}) {
            if (s >= 1 && s <= p.Wires[w].Segments && PulseForSegment(p, layout, w, s) == pulse) {
                segment = s;
                return true;
            }
        }
        // A wire joined at both ends has one pulse more than segments: one
        // of its pulses has no segment of its own.
        segment = std::max(1, std::min(k, static_cast<int>(p.Wires[w].Segments)));
        if (exact) *exact = false;
        return true;
    }
    return false;
}

}  // namespace

std::string NecExportProblem(const Project& p) {
    if (p.WireCount == 0) return "The project has no wires.";
    // A wire of no length has no direction: no deck can carry it.
    for (int w = 1; w <= p.WireCount; ++w) {
        const Wire& x = p.Wires[w];
        if (x.X1 == x.X2 && x.Y1 == x.Y2 && x.Z1 == x.Z2) return "Wire # " + std::to_string(w) + " is zero length";
    }
    const auto layout = PulseLayout(p);
    for (int i = 1; i <= p.SourceCount; ++i) {
        int w, s;
        if (!SegmentOfPulse(p, layout, p.Sources[i].Pulse, w, s))
            return "Source " + std::to_string(i) + " lies on pulse " + std::to_string(p.Sources[i].Pulse) +
                   ", which the project does not have.";
    }
    for (int i = 1; i <= p.LoadCount; ++i) {
        int w, s;
        if (!SegmentOfPulse(p, layout, p.Loads[i].Pulse, w, s))
            return "Load " + std::to_string(i) + " lies on pulse " + std::to_string(p.Loads[i].Pulse) +
                   ", which the project does not have.";
    }
    return "";
}

std::string NecDeckText(const Project& p, const std::string& projectName) {
    const bool ground = p.Env.GroundPresent == kOverGround;
    const double f = p.Frequency;
    std::string d;
    d += "CM " + projectName + ", written by QUILLWORK\r\n";
    d += "CM QUILLWORK feeds and loads a pulse at the joint of two segments; NEC feeds\r\n";
    d += "CM the centre of a segment. Each source and load is written on a segment that\r\n";
    d += "CM bounds its pulse, half a segment away from where QUILLWORK puts it.\r\n";
    if (p.Height != 0) d += "CM The antenna height of " + N(p.Height) + " m is added to every z.\r\n";
    bool currentSource = false;
    for (int i = 1; i <= p.SourceCount; ++i) currentSource = currentSource || p.Sources[i].Kind == kCurrentSource;
    if (currentSource) d += "CM NEC has no current source: current sources are written as voltage sources.\r\n";
    {
        const auto layout = PulseLayout(p);
        auto note = [&](const char* what, int i, int pulse) {
            int w = 0, seg = 0;
            bool exact = true;
            if (SegmentOfPulse(p, layout, pulse, w, seg, &exact) && !exact)
                d += std::string("CM ") + what + " " + std::to_string(i) + " on pulse " + std::to_string(pulse) +
                     " goes on segment " + std::to_string(seg) + " of wire " + std::to_string(w) +
                     ", nearer another pulse.\r\n";
        };
        for (int i = 1; i <= p.SourceCount; ++i) note("Source", i, p.Sources[i].Pulse);
        for (int i = 1; i <= p.LoadCount; ++i) note("Load", i, p.Loads[i].Pulse);
    }
    if (ground && p.Env.GroundKind == kRealGround)
        d += "CM NEC computes the real ground with its own ground model (GN card below).\r\n";
    d += "CE\r\n";
    for (int w = 1; w <= p.WireCount; ++w) {
        const Wire& x = p.Wires[w];
        d += Card("GW", {std::to_string(w), std::to_string(x.Segments), N(x.X1), N(x.Y1), N(x.Z1 + p.Height),
                         N(x.X2), N(x.Y2), N(x.Z2 + p.Height), N(x.Radius)});
    }
    d += Card("GE", {ground ? "1" : "0"});
    if (ground) {
        const Environment& e = p.Env;
        if (e.GroundKind == kPerfectGround) {
            d += Card("GN", {"1"});
        } else if (e.RadialCount > 0 && e.RadialLength > 0) {
            // NEC's radial screen goes with its reflection-coefficient ground.
            d += Card("GN", {"0", std::to_string(e.RadialCount), "0", "0", N(e.Dielectric()), N(e.Conductivity()),
                             N(e.RadialLength), "0.001"});
        } else {
            d += Card("GN", {"2", "0", "0", "0", N(e.Dielectric()), N(e.Conductivity())});
        }
    }
    const auto layout = PulseLayout(p);
    for (int i = 1; i <= p.SourceCount; ++i) {
        const Source& s = p.Sources[i];
        int w = 0, seg = 0;
        if (!SegmentOfPulse(p, layout, s.Pulse, w, seg)) continue;
        const double phase = s.Phase * 3.14159265358979323846 / 180.0;
        d += Card("EX", {"0", std::to_string(w), std::to_string(seg), "0", N(s.Magnitude * std::cos(phase)),
                         N(s.Magnitude * std::sin(phase))});
    }
    for (int i = 1; i <= p.LoadCount; ++i) {
        const Load& l = p.Loads[i];
        int w = 0, seg = 0;
        if (!SegmentOfPulse(p, layout, l.Pulse, w, seg)) continue;
        const std::string ws = std::to_string(w), ss = std::to_string(seg);
        switch (l.Kind) {
        case kSeriesRX: d += Card("LD", {"4", ws, ss, ss, N(l.Resistance), N(l.Reactance)}); break;
        case kParallelRX: {
            // R parallel to jX, as the series R + jX NEC takes.
            const double r = l.Resistance, x = l.Reactance;
            const double den = r * r + x * x;
            const double rs = r != 0 && x != 0 ? r * x * x / den : r;
            const double xs = r != 0 && x != 0 ? r * r * x / den : x;
            d += Card("LD", {"4", ws, ss, ss, N(rs), N(xs)});
            break;
        }
        case kSeriesRLC:
            d += Card("LD", {"0", ws, ss, ss, N(l.Resistance), N(l.Reactance * 1e-6), N(l.Capacitance * 1e-12)});
            break;
        default:
            d += Card("LD", {"1", ws, ss, ss, N(l.Resistance), N(l.Reactance * 1e-6), N(l.Capacitance * 1e-12)});
            break;
        }
    }
    if (f > 0) d += Card("FR", {"0", "1", "0", "0", N(f), "0"});
    // The default far-field grid: every 5 degrees of zenith, 10 of azimuth.
    d += Card("RP", {"0", ground ? "19" : "37", "37", "1000", "0", "0", "5", "10"});
    d += "EN\r\n";
    return d;
}

}  // namespace qw
