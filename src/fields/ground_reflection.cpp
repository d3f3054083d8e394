#include "fields/ground_reflection.h"

#include <cmath>

#include "platform/numeric_constants.h"

namespace qw {

ComplexF SurfaceImpedance(float dielectric, float conductivity, float frequencyMHz) {
    const float omegaEps0 = 2 * kPi * frequencyMHz * 8.85e-6f;
    const ComplexF root = ComplexSqrt(dielectric, -conductivity / omegaEps0);
    const float d = root.re * root.re + root.im * root.im;
    if (!(d > 0) || !std::isfinite(d)) return {0, 0};
    return {root.re / d, -root.im / d};
}

Reflection GroundReflection(const FarFieldSetup& s, float x, float y, float z, const DirectionTrig& t) {
    // The reflection point: how far the ray to the image meets the ground
    // from the pulse (horizontally), then its distance from the origin (a
    // circular boundary) or its x coordinate (a linear boundary).
    const float D = t.cosTheta == 0 ? 100000.0f : z * t.sinTheta / t.cosTheta;
    float rho;
    if (s.circularBoundary) {
        const float a = y + D * t.sinPhi;
        const float b = x + D * t.cosPhi;
        const float sum = a * a + b * b;
        rho = sum > 0 ? std::sqrt(sum) : 0.0f;
    } else {
        rho = x + D * t.cosPhi;
    }

    // Only medium 1 exists: it is the medium wherever the point lies.
    ComplexF zg = s.zg1;

    // A radial screen in parallel with the ground, out to the medium's reach.
    const float screen = static_cast<float>(s.radialCount) * s.radialLength;
    if (s.radialCount > 0 && screen > 0 && rho <= s.extent) {
        const float rho1 = rho + screen;
        const float xs = s.k * rho1 * std::log(rho1 / screen) / static_cast<float>(s.radialCount);
        const ComplexF jxs{0, xs};
        zg = Div(Mul(zg, jxs), Add(zg, jxs));
    }

    // W = sqrt(1 - Zg^2 sin^2 theta).
    const float sin2 = t.sinTheta * t.sinTheta;
    const ComplexF zg2 = Mul(zg, zg);
    const ComplexF w = ComplexSqrt(1 - zg2.re * sin2, -(zg2.im * sin2));

    const ComplexF cosT{t.cosTheta, 0};
    const ComplexF zw = Mul(zg, w);
    const ComplexF zc = Scale(zg, t.cosTheta);
    Reflection r;
    r.rv = Div(Sub(cosT, zw), Add(cosT, zw));
    r.rd = Sub(Div(Sub(w, zc), Add(w, zc)), r.rv);
    return r;
}

}  // namespace qw
