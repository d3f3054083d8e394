// The radiated far field of the solved pulse currents in one direction.
//
// Each pulse radiates as two straight half-segments carrying its current,
// with the phase of its centre point. Over ground an image pass adds the
// mirror image (perfect ground) or an image weighted by the reflection
// coefficients of the ground (real ground, optionally with a radial screen).
//
// Everything is single precision and follows a fixed order of operations,
// so that a pattern computed here and one computed elsewhere agree to the
// last digit printed. A FarFieldSetup is prepared once per frequency and
// power; the evaluation itself reads only the setup and the solution, keeps
// no state of its own and allocates nothing, so several threads may
// evaluate directions at once, each on its own context.
#pragma once

#include <array>

#include "fields/complex_float.h"
#include "model/context.h"

namespace qw {

// One half-segment of a pulse as the sums use it: its factor
// F = sign(C) k S / 2 and its wire's direction cosines.
struct HalfSegmentTerm {
    float F = 0;
    float CA = 0, CB = 0, CG = 0;
};

// One pulse of the pulse table as the sums use it.
struct PulseTerm {
    float X = 0, Y = 0, Z = 0;  // centre point
    bool groundJunction = false;
    HalfSegmentTerm half[2];
    // Real ground: the pulses of one class see the same reflection
    // coefficients in every direction (the same height, or without radials
    // the same point).
    int reflectionClass = 0;
};

// What the evaluation of a direction needs besides the currents.
struct FarFieldSetup {
    float k = 0;               // wave number, rad/m
    float rad = 0;             // pi / 180
    float gainNormaliser = 0;  // 0.016678 / P_in
    bool resultsInDb = true;   // false: field strength in V/m
    bool gainInDbi = true;     // false: gains in dBd (dBi - 2.15)
    float fieldScale = 1;      // V/m results: sqrt(power level / P_in)
    float radialDistance = 0;  // V/m results: metres, 0 the distance-free value r E

    bool imagePass = false;    // there is ground
    bool realGround = false;   // the image is weighted by reflection coefficients
    ComplexF zg1;              // real ground: normalised surface impedance of medium 1
    bool circularBoundary = true;
    int radialCount = 0;
    float radialLength = 0;    // metres
    float extent = 0;          // metres, U(1): the reach of medium 1
    float height = 0;          // metres, H(1): the height of medium 1

    // The pulse table's pulses, 1..pulseCount, and the reflection classes
    // (1..reflectionClasses, each named by its first pulse).
    int pulseCount = 0;
    std::array<PulseTerm, kPulseCapacity + 1> pulses{};
    int reflectionClasses = 0;
    std::array<int, kPulseCapacity + 1> classPulse{};

    // The halves' terms again, one array per quantity (half h of pulse i
    // at [h][i]), for the loops that run over all pulses at once.
    struct HalfArrays {
        std::array<float, kPulseCapacity + 1> F{}, CA{}, CB{}, CG{};
    };
    std::array<HalfArrays, 2> halves{};
    // The pulses' centres, and 1 at a ground junction.
    std::array<float, kPulseCapacity + 1> X{}, Y{}, Z{};
    std::array<unsigned char, kPulseCapacity + 1> junction{};
};

// The field components in one direction at unit distance (r E, volts):
// E_theta and E_phi.
struct FieldComponents {
    ComplexF theta;
    ComplexF phi;
};

// Power gains in one direction (dB).
struct DirectionGains {
    float vertical = -999;    // from E_theta
    float horizontal = -999;  // from E_phi
    float total = -999;
};

// 4.343 ln(G), or -999 when G is 1e-30 or less.
float GainDb(float gain);

// Prepares a setup for the project's current frequency, pulse table and
// last solution: the wave number, the pulses' terms, the real ground's
// surface impedance, the gain normaliser 0.016678 / P_in, the result mode
// given, the field scale and radial distance of ctx.farField, and dBi or
// dBd from the options. False (the setup left unusable) when the input
// power is 0 or less; the caller tells the user "Power is Zero". Prepare
// again after every new solution.
bool PrepareFarField(Context& ctx, FarFieldSetup& setup, bool resultsInDb);

// E_theta and E_phi at the azimuth and zenith angles given in degrees.
FieldComponents FarFieldComponents(const Context& ctx, const FarFieldSetup& setup, float azimuthDeg,
                                   float zenithDeg);

// The same for `count` directions of one azimuth (a column of a grid):
// the very values of FarFieldComponents, with the fast kernels taking up
// to eight directions side by side in vector lanes.
void FarFieldColumn(const Context& ctx, const FarFieldSetup& setup, float azimuthDeg, const float* zenithDeg,
                    int count, FieldComponents* out);

// Vertical, horizontal and total gain in dBi of these components.
DirectionGains GainsInDbi(const FieldComponents& field, float gainNormaliser);

// The field in one direction. In dB mode: the total gain in dBi, or in dBd
// when the setup says so, with all three gains in the same unit left in
// *gains. In V/m mode: |E_phi| (divided by the radial distance unless that
// is 0) times the field scale; *gains is not touched.
float FieldAtDirection(const Context& ctx, const FarFieldSetup& setup, float azimuthDeg, float zenithDeg,
                       DirectionGains* gains = nullptr);

}  // namespace qw
