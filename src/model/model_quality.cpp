#include "model/model_quality.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/format_mask.h"
#include "model/units.h"

namespace qw {

namespace {

using Vec = std::array<double, 3>;

Vec End(const Wire& w, int e) {
    return e == 1 ? Vec{w.X1, w.Y1, w.Z1} : Vec{w.X2, w.Y2, w.Z2};
}
Vec Sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double Length(const Wire& w) { return std::sqrt(Dot(Sub(End(w, 2), End(w, 1)), Sub(End(w, 2), End(w, 1)))); }
double SegmentLength(const Wire& w) { return w.Segments > 0 ? Length(w) / w.Segments : 0; }

bool Coincide(const Vec& a, const Vec& b) {
    return std::fabs(a[0] - b[0]) < 1e-5 && std::fabs(a[1] - b[1]) < 1e-5 && std::fabs(a[2] - b[2]) < 1e-5;
}

// The least distance between the straight pieces p0-p1 and q0-q1.
double SegmentDistance(const Vec& p0, const Vec& p1, const Vec& q0, const Vec& q1) {
    const Vec u = Sub(p1, p0), v = Sub(q1, q0), w = Sub(p0, q0);
    const double a = Dot(u, u), b = Dot(u, v), c = Dot(v, v), d = Dot(u, w), e = Dot(v, w);
    const double den = a * c - b * b;
    double s = 0, t = 0;
    if (den > 1e-12 * a * c) s = std::clamp((b * e - c * d) / den, 0.0, 1.0);
    t = c > 0 ? (b * s + e) / c : 0;
    if (t < 0 || t > 1) {
        t = std::clamp(t, 0.0, 1.0);
        s = a > 0 ? std::clamp((b * t - d) / a, 0.0, 1.0) : 0;
    }
    const Vec diff = {w[0] + s * u[0] - t * v[0], w[1] + s * u[1] - t * v[1], w[2] + s * u[2] - t * v[2]};
    return std::sqrt(Dot(diff, diff));
}

std::string M(double meters) { return Format(meters, "0.000##") + " m"; }
std::string W(int n) { return "Wire # " + std::to_string(n); }

}  // namespace

std::vector<std::string> ModelQualityFindings(const Project& p) {
    std::vector<std::string> out;
    const double lambda = p.Frequency > 0 ? WavelengthMeters(p.Frequency) : 0;
    for (int i = 1; i <= p.WireCount; ++i) {
        const Wire& w = p.Wires[i];
        const double s = SegmentLength(w);
        if (lambda > 0 && s > lambda / 10)
            out.push_back(W(i) + ": segments of " + M(s) + " are longer than a tenth of the wavelength (" +
                          M(lambda / 10) + ")");
        if (lambda > 0 && s < lambda / 1000)
            out.push_back(W(i) + ": segments of " + M(s) + " are shorter than a thousandth of the wavelength (" +
                          M(lambda / 1000) + ")");
        if (s < 4 * w.Radius)
            out.push_back(W(i) + ": segments of " + M(s) + " are shorter than 4 wire radii (" + M(4 * w.Radius) +
                          "), beyond the thin-wire limit");
    }
    for (int i = 1; i <= p.WireCount; ++i) {
        for (int j = i + 1; j <= p.WireCount; ++j) {
            const Wire& a = p.Wires[i];
            const Wire& b = p.Wires[j];
            bool joined = false;
            for (int ea = 1; ea <= 2; ++ea)
                for (int eb = 1; eb <= 2; ++eb) joined = joined || Coincide(End(a, ea), End(b, eb));
            if (joined) {
                const double sa = SegmentLength(a), sb = SegmentLength(b);
                if (std::max(sa, sb) > 5 * std::min(sa, sb))
                    out.push_back("Wires # " + std::to_string(i) + " and # " + std::to_string(j) +
                                  " join with segments of " + M(sa) + " and " + M(sb) + ", more than 5 times apart");
                const double ra = a.Radius, rb = b.Radius;
                if (std::max(ra, rb) > 5 * std::min(ra, rb))
                    out.push_back("Wires # " + std::to_string(i) + " and # " + std::to_string(j) +
                                  " join with diameters of " + M(2 * ra) + " and " + M(2 * rb) +
                                  ", more than 5 times apart");
                continue;
            }
            const double gap = SegmentDistance(End(a, 1), End(a, 2), End(b, 1), End(b, 2));
            if (gap < std::max<double>(a.Radius + b.Radius, 1e-5))
                out.push_back("Wires # " + std::to_string(i) + " and # " + std::to_string(j) +
                              " cross or touch without a joint");
        }
    }
    return out;
}

std::vector<std::string> ModelQualityReport(const Project& p) {
    std::vector<std::string> lines;
    if (p.Frequency > 0)
        lines.push_back("Model check at " + Format(p.Frequency, "###0.000") + " MHz (wavelength " +
                        M(WavelengthMeters(p.Frequency)) + "), " + std::to_string(p.WireCount) + " wires:");
    else
        lines.push_back("Model check without a frequency (the wavelength checks are left out), " +
                        std::to_string(p.WireCount) + " wires:");
    const auto findings = ModelQualityFindings(p);
    if (findings.empty()) lines.push_back("No findings.");
    for (const auto& f : findings) lines.push_back(f);
    return lines;
}

std::string ModelQualitySummary(const Project& p) {
    const auto findings = ModelQualityFindings(p);
    if (findings.empty()) return "Model check: no findings";
    std::string line = "Model check: " + std::to_string(findings.size()) + (findings.size() == 1 ? " finding: " : " findings: ");
    const std::size_t shown = std::min<std::size_t>(findings.size(), 3);
    for (std::size_t i = 0; i < shown; ++i) line += (i ? "; " : "") + findings[i];
    if (findings.size() > shown) line += "; and " + std::to_string(findings.size() - shown) + " more";
    return line;
}

}  // namespace qw
