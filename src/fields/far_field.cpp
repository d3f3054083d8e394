#include "fields/far_field.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fields/ground_reflection.h"
#include "fields/magnitude_phase.h"
#include "platform/numeric_constants.h"
#include "solver/solver_state.h"
#include "solver/vector_trig.h"

namespace qw {

namespace {

// The vector sum S = (Sx, Sy, Sz) of the half-segment terms of one
// direction.
struct VectorSum {
    ComplexF x, y, z;
};

// The phases of every pulse's centre (or of its image's, for zSign = -1 and
// the image height h) in one direction, and their cosines and sines: the
// fast kernels take the sines and cosines of all pulses at once in vector
// lanes, the reference kernels one after the other from the C library.
struct PulsePhases {
    float cosPsi[kPulseCapacity + 1];
    float sinPsi[kPulseCapacity + 1];
};

void Phases(const SolverState& st, const FarFieldSetup& s, const DirectionTrig& t, float K, bool realImage,
            PulsePhases& out) {
    const float k = s.k;
    const int n = s.pulseCount;
    float psi[kPulseCapacity + 1];
    const float* X = s.X.data();
    const float* Y = s.Y.data();
    const float* Z = s.Z.data();
    if (realImage) {
        for (int i = 1; i <= n; ++i)
            psi[i] = k * (X[i] * t.sinTheta * t.cosPhi + Y[i] * t.sinTheta * t.sinPhi - (Z[i] - 2 * s.height) * t.cosTheta);
    } else {
        for (int i = 1; i <= n; ++i)
            psi[i] = k * (X[i] * t.sinTheta * t.cosPhi + Y[i] * t.sinTheta * t.sinPhi + K * Z[i] * t.cosTheta);
    }
    if (st.referenceKernels) {
        for (int i = 1; i <= n; ++i) {
            out.cosPsi[i] = std::cos(psi[i]);
            out.sinPsi[i] = std::sin(psi[i]);
        }
        return;
    }
    SinCos(psi + 1, out.sinPsi + 1, out.cosPsi + 1, n);
}

// The terms of every pulse's halves in the direct or perfect image pass:
// T = F (re + j im) with re + j im the pulse current turned by its phase,
// and the products K T CA, K T CB, T CG that the pass adds. Loops over all
// pulses at once; the sums are taken afterwards in the pulses' order.
struct HalfProducts {
    float xr[kPulseCapacity + 1], xi[kPulseCapacity + 1], yr[kPulseCapacity + 1], yi[kPulseCapacity + 1], zr[kPulseCapacity + 1],
        zi[kPulseCapacity + 1];
};

void Products(const SolverState& st, const FarFieldSetup& s, const PulsePhases& ph, float K, float (&re)[kPulseCapacity + 1],
              float (&im)[kPulseCapacity + 1], HalfProducts (&out)[2]) {
    const int n = s.pulseCount;
    for (int i = 1; i <= n; ++i) {
        const float Ir = st.CR[i], Ii = st.CI[i];
        re[i] = Ir * ph.cosPsi[i] - Ii * ph.sinPsi[i];
        im[i] = Ii * ph.cosPsi[i] + Ir * ph.sinPsi[i];
    }
    for (int h = 0; h < 2; ++h) {
        const FarFieldSetup::HalfArrays& a = s.halves[h];
        const float* __restrict F = a.F.data();
        const float* __restrict CA = a.CA.data();
        const float* __restrict CB = a.CB.data();
        const float* __restrict CG = a.CG.data();
        HalfProducts& o = out[h];
        for (int i = 1; i <= n; ++i) {
            const float TR = F[i] * re[i], TI = F[i] * im[i];
            o.xr[i] = K * TR * CA[i];
            o.xi[i] = K * TI * CA[i];
            o.yr[i] = K * TR * CB[i];
            o.yi[i] = K * TI * CB[i];
            o.zr[i] = TR * CG[i];
            o.zi[i] = TI * CG[i];
        }
    }
}

// The direct pass (K = 1) or the perfect image pass (K = -1): every pulse's
// halves with the phase of its centre point, or of the centre's mirror
// image. A pulse at a ground junction radiates with its image in the direct
// pass (only its half above ground, doubled, and only vertically) and has no
// separate image.
__attribute__((target_clones("avx2", "default"))) void AddPass(const SolverState& st, const FarFieldSetup& s,
                                                               const DirectionTrig& t, float K, VectorSum& S) {
    PulsePhases ph;
    Phases(st, s, t, K, false, ph);
    float re[kPulseCapacity + 1], im[kPulseCapacity + 1];
    HalfProducts products[2];
    Products(st, s, ph, K, re, im, products);
    // Local sums: stores through S could alias the tables read.
    float xr = S.x.re, xi = S.x.im, yr = S.y.re, yi = S.y.im, zr = S.z.re, zi = S.z.im;
    for (int i = 1; i <= s.pulseCount; ++i) {
        if (s.junction[i]) {
            if (K < 0) continue;
            const PulseTerm& P = s.pulses[i];
            for (const HalfSegmentTerm& h : P.half) {
                if (h.F < 0) continue;  // the half that is the image
                const float TR = h.F * re[i], TI = h.F * im[i];
                zr += 2 * TR * h.CG;
                zi += 2 * TI * h.CG;
            }
            continue;
        }
        for (const HalfProducts& h : products) {
            xr += h.xr[i];
            xi += h.xi[i];
            yr += h.yr[i];
            yi += h.yi[i];
            zr += h.zr[i];
            zi += h.zi[i];
        }
    }
    S.x = {xr, xi};
    S.y = {yr, yi};
    S.z = {zr, zi};
}

// The image pass over real ground: each pulse's image weighted by the
// reflection coefficients at its reflection point.
__attribute__((target_clones("avx2", "default"))) void AddRealGroundImage(const SolverState& st, const FarFieldSetup& s,
                                                                          const DirectionTrig& t, VectorSum& S) {
    // The coefficients of each class, computed once for this direction.
    Reflection reflections[kPulseCapacity + 1];
    for (int c = 1; c <= s.reflectionClasses; ++c) {
        const PulseTerm& P = s.pulses[s.classPulse[c]];
        reflections[c] = GroundReflection(s, P.X, P.Y, P.Z, t);
    }
    PulsePhases ph;
    Phases(st, s, t, -1.0f, true, ph);
    const int n = s.pulseCount;
    // Each pulse's current turned by its phase, and its coefficients.
    float re[kPulseCapacity + 1], im[kPulseCapacity + 1];
    float rvr[kPulseCapacity + 1], rvi[kPulseCapacity + 1], rdr[kPulseCapacity + 1], rdi[kPulseCapacity + 1];
    for (int i = 1; i <= n; ++i) {
        const float cosPsi = ph.cosPsi[i], sinPsi = ph.sinPsi[i];
        const float Ir = st.CR[i], Ii = st.CI[i];
        re[i] = Ir * cosPsi - Ii * sinPsi;
        im[i] = Ii * cosPsi + Ir * sinPsi;
        const Reflection& r = reflections[s.pulses[i].reflectionClass];
        rvr[i] = r.rv.re;
        rvi[i] = r.rv.im;
        rdr[i] = r.rd.re;
        rdi[i] = r.rd.im;
    }
    // The terms of every half, T = F (re + j im), A = T rv and
    // B = T rd p with p the wire's component along the azimuth unit vector,
    // taken over all pulses at once; then their sums in the pulses' order.
    HalfProducts products[2];
    const float sinPhi = t.sinPhi, cosPhi = t.cosPhi;
    for (int h = 0; h < 2; ++h) {
        const FarFieldSetup::HalfArrays& a = s.halves[h];
        const float* __restrict F = a.F.data();
        const float* __restrict CA = a.CA.data();
        const float* __restrict CB = a.CB.data();
        const float* __restrict CG = a.CG.data();
        HalfProducts& o = products[h];
        for (int i = 1; i <= n; ++i) {
            const float TR = F[i] * re[i], TI = F[i] * im[i];
            const float p = -CA[i] * sinPhi + CB[i] * cosPhi;
            const float Ar = TR * rvr[i] - TI * rvi[i], Ai = TR * rvi[i] + TI * rvr[i];
            const float Br = (TR * rdr[i] - TI * rdi[i]) * p, Bi = (TR * rdi[i] + TI * rdr[i]) * p;
            o.xr[i] = Ar * CA[i] - Br * sinPhi;
            o.xi[i] = Ai * CA[i] - Bi * sinPhi;
            o.yr[i] = Ar * CB[i] + Br * cosPhi;
            o.yi[i] = Ai * CB[i] + Bi * cosPhi;
            o.zr[i] = Ar * CG[i];
            o.zi[i] = Ai * CG[i];
        }
    }
    // Local sums, as in AddPass.
    float xr = S.x.re, xi = S.x.im, yr = S.y.re, yi = S.y.im, zr = S.z.re, zi = S.z.im;
    for (int i = 1; i <= n; ++i) {
        if (s.junction[i]) continue;
        for (const HalfProducts& h : products) {
            xr = xr - h.xr[i];
            xi = xi - h.xi[i];
            yr = yr - h.yr[i];
            yi = yi - h.yi[i];
            zr = zr + h.zr[i];
            zi = zi + h.zi[i];
        }
    }
    S.x = {xr, xi};
    S.y = {yr, yi};
    S.z = {zr, zi};
}

// The pulses' terms, and over real ground their reflection classes.
void PreparePulses(const PulseTable& pt, FarFieldSetup& s) {
    s.pulseCount = pt.N;
    for (int i = 1; i <= pt.N; ++i) {
        PulseTerm& P = s.pulses[i];
        const int c = pt.Centre(i);
        P.X = pt.X[c];
        P.Y = pt.Y[c];
        P.Z = pt.Z[c];
        P.groundJunction = pt.IsGroundPulse(i);
        s.X[i] = P.X;
        s.Y[i] = P.Y;
        s.Z[i] = P.Z;
        s.junction[i] = P.groundJunction ? 1 : 0;
        for (int h = 1; h <= 2; ++h) {
            const int cw = pt.C[i][h];
            const int w = std::abs(cw);
            HalfSegmentTerm& half = P.half[h - 1];
            half.F = (cw < 0 ? -1.0f : 1.0f) * s.k * pt.S[w] / 2;
            half.CA = pt.CA[w];
            half.CB = pt.CB[w];
            half.CG = pt.CG[w];
            FarFieldSetup::HalfArrays& arrays = s.halves[h - 1];
            arrays.F[i] = half.F;
            arrays.CA[i] = half.CA;
            arrays.CB[i] = half.CB;
            arrays.CG[i] = half.CG;
        }
    }
    if (!s.realGround) return;
    // Without a radial screen the coefficients depend on the direction
    // alone (the reflection point only places the screen): every pulse
    // shares the first pulse's. With one, they depend on the whole point.
    s.reflectionClasses = 0;
    if (s.radialCount <= 0 || s.radialLength * static_cast<float>(s.radialCount) <= 0) {
        for (int i = 1; i <= pt.N; ++i) s.pulses[i].reflectionClass = 1;
        if (pt.N > 0) {
            s.reflectionClasses = 1;
            s.classPulse[1] = 1;
        }
        return;
    }
    for (int i = 1; i <= pt.N; ++i) {
        PulseTerm& P = s.pulses[i];
        P.reflectionClass = 0;
        for (int c = 1; c <= s.reflectionClasses && P.reflectionClass == 0; ++c) {
            const PulseTerm& Q = s.pulses[s.classPulse[c]];
            if (Q.Z == P.Z && Q.X == P.X && Q.Y == P.Y) P.reflectionClass = c;
        }
        if (P.reflectionClass == 0) {
            P.reflectionClass = ++s.reflectionClasses;
            s.classPulse[P.reflectionClass] = i;
        }
    }
}

}  // namespace

float GainDb(float gain) { return gain > 1e-30f ? 4.343f * std::log(gain) : -999.0f; }

bool PrepareFarField(Context& ctx, FarFieldSetup& setup, bool resultsInDb) {
    const SolverState& st = *ctx.solver;
    const Project& p = ctx.project;
    const Environment& env = p.Env;
    setup = FarFieldSetup{};
    if (!(st.Pin > 0)) return false;
    setup.k = st.freq.K;
    setup.rad = kRad;
    setup.gainNormaliser = 0.016678f / st.Pin;
    setup.resultsInDb = resultsInDb;
    setup.gainInDbi = ctx.options.GainInDbi;
    setup.fieldScale = ctx.farField.FieldScale;
    setup.radialDistance = ctx.farField.RadialDistance;
    setup.imagePass = env.GroundPresent == kOverGround;
    setup.realGround = setup.imagePass && env.GroundKind == kRealGround;
    if (setup.realGround) {
        const GroundMedium& m = env.GroundMedia[1];
        setup.zg1 = SurfaceImpedance(m.Dielectric, m.Conductivity, p.Frequency);
        setup.circularBoundary = env.Boundary != kLinearBoundary;
        setup.radialCount = env.RadialCount;
        setup.radialLength = env.RadialLength;
        setup.extent = m.Extent;
        setup.height = m.Height;
    }
    PreparePulses(st.pulses, setup);
    return true;
}

namespace {

DirectionTrig TrigOf(const FarFieldSetup& s, float azimuthDeg, float zenithDeg) {
    const float theta = zenithDeg * s.rad;
    const float phi = azimuthDeg * s.rad;
    DirectionTrig t;
    t.sinTheta = std::sin(theta);
    t.cosTheta = std::cos(theta);
    t.sinPhi = std::sin(phi);
    t.cosPhi = std::cos(phi);
    return t;
}

// E = -j c (S . unit vector), with the unit vectors
// theta = (cos t cos p, cos t sin p, -sin t) and phi = (-sin p, cos p, 0).
FieldComponents FieldOfSum(const DirectionTrig& t, const VectorSum& S) {
    const float c = 29.979221f;
    const float tx = t.cosTheta * t.cosPhi, ty = t.cosTheta * t.sinPhi, tz = -t.sinTheta;
    const float px = -t.sinPhi, py = t.cosPhi;
    const ComplexF dotTheta{S.x.re * tx + S.y.re * ty + S.z.re * tz, S.x.im * tx + S.y.im * ty + S.z.im * tz};
    const ComplexF dotPhi{S.x.re * px + S.y.re * py, S.x.im * px + S.y.im * py};
    FieldComponents E;
    E.theta = {c * dotTheta.im, -(c * dotTheta.re)};
    E.phi = {c * dotPhi.im, -(c * dotPhi.re)};
    return E;
}

constexpr int kLanes = 8;
typedef float Lanes __attribute__((vector_size(kLanes * sizeof(float))));

// The phases of every pulse in eight directions, and their sines and
// cosines, one set per thread, grown to the model as it needs.
struct PhaseScratch {
    std::vector<float> values;
    void Take(int pulses, float*& psi, float*& sinPsi, float*& cosPsi) {
        const std::size_t row = static_cast<std::size_t>(pulses + 1) * kLanes;
        if (values.size() < 3 * row) values.resize(3 * row);
        psi = values.data();
        sinPsi = psi + row;
        cosPsi = sinPsi + row;
    }
};

// AddPass of up to eight directions side by side, lane by lane the same
// operations in the same order: the phases of every pulse in every
// direction, their sines and cosines at once, then the sums over the pulses.
__attribute__((target_clones("avx2", "default"))) void AddPassLanes(const SolverState& st, const FarFieldSetup& s,
                                                                    const DirectionTrig* t, float K, VectorSum* S) {
    const int n = s.pulseCount;
    static thread_local PhaseScratch scratch;
    float *psi, *sinPsi, *cosPsi;
    scratch.Take(n, psi, sinPsi, cosPsi);
    Lanes sinTheta, cosTheta, sinPhi, cosPhi;
    for (int d = 0; d < kLanes; ++d) {
        sinTheta[d] = t[d].sinTheta;
        cosTheta[d] = t[d].cosTheta;
        sinPhi[d] = t[d].sinPhi;
        cosPhi[d] = t[d].cosPhi;
    }
    for (int i = 1; i <= n; ++i) {
        const Lanes v = s.k * (s.X[i] * sinTheta * cosPhi + s.Y[i] * sinTheta * sinPhi + K * s.Z[i] * cosTheta);
        std::memcpy(psi + i * kLanes, &v, sizeof v);
    }
    SinCos(psi + kLanes, sinPsi + kLanes, cosPsi + kLanes, n * kLanes);

    Lanes xr, xi, yr, yi, zr, zi;
    for (int d = 0; d < kLanes; ++d) {
        xr[d] = S[d].x.re, xi[d] = S[d].x.im, yr[d] = S[d].y.re, yi[d] = S[d].y.im;
        zr[d] = S[d].z.re, zi[d] = S[d].z.im;
    }
    for (int i = 1; i <= n; ++i) {
        Lanes cosI, sinI;
        std::memcpy(&cosI, cosPsi + i * kLanes, sizeof cosI);
        std::memcpy(&sinI, sinPsi + i * kLanes, sizeof sinI);
        const float Ir = st.CR[i], Ii = st.CI[i];
        const Lanes re = Ir * cosI - Ii * sinI;
        const Lanes im = Ii * cosI + Ir * sinI;
        if (s.junction[i]) {
            if (K < 0) continue;
            for (const HalfSegmentTerm& h : s.pulses[i].half) {
                if (h.F < 0) continue;  // the half that is the image
                const Lanes TR = h.F * re, TI = h.F * im;
                zr = zr + 2 * TR * h.CG;
                zi = zi + 2 * TI * h.CG;
            }
            continue;
        }
        for (const FarFieldSetup::HalfArrays& a : s.halves) {
            const Lanes TR = a.F[i] * re, TI = a.F[i] * im;
            xr = xr + K * TR * a.CA[i];
            xi = xi + K * TI * a.CA[i];
            yr = yr + K * TR * a.CB[i];
            yi = yi + K * TI * a.CB[i];
            zr = zr + TR * a.CG[i];
            zi = zi + TI * a.CG[i];
        }
    }
    for (int d = 0; d < kLanes; ++d) {
        S[d].x = {xr[d], xi[d]};
        S[d].y = {yr[d], yi[d]};
        S[d].z = {zr[d], zi[d]};
    }
}

// AddRealGroundImage of up to eight directions side by side, lane by lane
// the same operations in the same order.
__attribute__((target_clones("avx2", "default"))) void AddRealGroundImageLanes(const SolverState& st,
                                                                               const FarFieldSetup& s,
                                                                               const DirectionTrig* t, VectorSum* S) {
    const int n = s.pulseCount;
    static thread_local PhaseScratch scratch;
    float *psi, *sinPsi, *cosPsi;
    scratch.Take(n, psi, sinPsi, cosPsi);
    // The coefficients of each class in each direction (a class per pulse at
    // most).
    static thread_local std::vector<float> coefficients;
    const std::size_t row = static_cast<std::size_t>(n + 1) * kLanes;
    if (coefficients.size() < 4 * row) coefficients.resize(4 * row);
    float* rvr = coefficients.data();
    float* rvi = rvr + row;
    float* rdr = rvi + row;
    float* rdi = rdr + row;
    for (int c = 1; c <= s.reflectionClasses; ++c) {
        const PulseTerm& P = s.pulses[s.classPulse[c]];
        for (int d = 0; d < kLanes; ++d) {
            const Reflection r = GroundReflection(s, P.X, P.Y, P.Z, t[d]);
            rvr[c * kLanes + d] = r.rv.re;
            rvi[c * kLanes + d] = r.rv.im;
            rdr[c * kLanes + d] = r.rd.re;
            rdi[c * kLanes + d] = r.rd.im;
        }
    }
    Lanes sinTheta, cosTheta, sinPhi, cosPhi;
    for (int d = 0; d < kLanes; ++d) {
        sinTheta[d] = t[d].sinTheta;
        cosTheta[d] = t[d].cosTheta;
        sinPhi[d] = t[d].sinPhi;
        cosPhi[d] = t[d].cosPhi;
    }
    for (int i = 1; i <= n; ++i) {
        const Lanes v = s.k * (s.X[i] * sinTheta * cosPhi + s.Y[i] * sinTheta * sinPhi - (s.Z[i] - 2 * s.height) * cosTheta);
        std::memcpy(psi + i * kLanes, &v, sizeof v);
    }
    SinCos(psi + kLanes, sinPsi + kLanes, cosPsi + kLanes, n * kLanes);

    Lanes xr, xi, yr, yi, zr, zi;
    for (int d = 0; d < kLanes; ++d) {
        xr[d] = S[d].x.re, xi[d] = S[d].x.im, yr[d] = S[d].y.re, yi[d] = S[d].y.im;
        zr[d] = S[d].z.re, zi[d] = S[d].z.im;
    }
    for (int i = 1; i <= n; ++i) {
        if (s.junction[i]) continue;
        Lanes cosI, sinI;
        std::memcpy(&cosI, cosPsi + i * kLanes, sizeof cosI);
        std::memcpy(&sinI, sinPsi + i * kLanes, sizeof sinI);
        const float Ir = st.CR[i], Ii = st.CI[i];
        const Lanes re = Ir * cosI - Ii * sinI;
        const Lanes im = Ii * cosI + Ir * sinI;
        const int c = s.pulses[i].reflectionClass;
        Lanes vr, vi, dr, di;
        std::memcpy(&vr, rvr + c * kLanes, sizeof vr);
        std::memcpy(&vi, rvi + c * kLanes, sizeof vi);
        std::memcpy(&dr, rdr + c * kLanes, sizeof dr);
        std::memcpy(&di, rdi + c * kLanes, sizeof di);
        for (const FarFieldSetup::HalfArrays& a : s.halves) {
            const Lanes TR = a.F[i] * re, TI = a.F[i] * im;
            const Lanes p = -a.CA[i] * sinPhi + a.CB[i] * cosPhi;
            const Lanes Ar = TR * vr - TI * vi, Ai = TR * vi + TI * vr;
            const Lanes Br = (TR * dr - TI * di) * p, Bi = (TR * di + TI * dr) * p;
            xr = xr - (Ar * a.CA[i] - Br * sinPhi);
            xi = xi - (Ai * a.CA[i] - Bi * sinPhi);
            yr = yr - (Ar * a.CB[i] + Br * cosPhi);
            yi = yi - (Ai * a.CB[i] + Bi * cosPhi);
            zr = zr + Ar * a.CG[i];
            zi = zi + Ai * a.CG[i];
        }
    }
    for (int d = 0; d < kLanes; ++d) {
        S[d].x = {xr[d], xi[d]};
        S[d].y = {yr[d], yi[d]};
        S[d].z = {zr[d], zi[d]};
    }
}

}  // namespace

FieldComponents FarFieldComponents(const Context& ctx, const FarFieldSetup& s, float azimuthDeg, float zenithDeg) {
    const SolverState& st = *ctx.solver;
    const DirectionTrig t = TrigOf(s, azimuthDeg, zenithDeg);
    VectorSum S;
    AddPass(st, s, t, 1.0f, S);
    if (s.imagePass) {
        if (s.realGround)
            AddRealGroundImage(st, s, t, S);
        else
            AddPass(st, s, t, -1.0f, S);
    }
    return FieldOfSum(t, S);
}

void FarFieldColumn(const Context& ctx, const FarFieldSetup& s, float azimuthDeg, const float* zenithDeg, int count,
                    FieldComponents* out) {
    const SolverState& st = *ctx.solver;
    if (st.referenceKernels) {
        for (int z = 0; z < count; ++z) out[z] = FarFieldComponents(ctx, s, azimuthDeg, zenithDeg[z]);
        return;
    }
    for (int first = 0; first < count; first += kLanes) {
        const int lanes = std::min(kLanes, count - first);
        DirectionTrig t[kLanes];
        for (int d = 0; d < kLanes; ++d) t[d] = TrigOf(s, azimuthDeg, zenithDeg[first + std::min(d, lanes - 1)]);
        VectorSum S[kLanes];
        AddPassLanes(st, s, t, 1.0f, S);
        if (s.realGround)
            AddRealGroundImageLanes(st, s, t, S);
        else if (s.imagePass)
            AddPassLanes(st, s, t, -1.0f, S);
        for (int d = 0; d < lanes; ++d) out[first + d] = FieldOfSum(t[d], S[d]);
    }
}

DirectionGains GainsInDbi(const FieldComponents& E, float g) {
    const float gv = (E.theta.re * E.theta.re + E.theta.im * E.theta.im) * g;
    const float gh = (E.phi.re * E.phi.re + E.phi.im * E.phi.im) * g;
    const float gt = gv + gh;
    return {GainDb(gv), GainDb(gh), GainDb(gt)};
}

float FieldAtDirection(const Context& ctx, const FarFieldSetup& setup, float azimuthDeg, float zenithDeg,
                       DirectionGains* gains) {
    const FieldComponents E = FarFieldComponents(ctx, setup, azimuthDeg, zenithDeg);
    if (setup.resultsInDb) {
        DirectionGains g = GainsInDbi(E, setup.gainNormaliser);
        if (!setup.gainInDbi) {
            g.vertical = g.vertical - 2.15f;
            g.horizontal = g.horizontal - 2.15f;
            g.total = g.total - 2.15f;
        }
        if (gains) *gains = g;
        return g.total;
    }
    ComplexF phi = E.phi;
    if (setup.radialDistance != 0) phi = {phi.re / setup.radialDistance, phi.im / setup.radialDistance};
    return MagnitudePhase(phi.re, phi.im).magnitude * setup.fieldScale;
}

}  // namespace qw
