// The requests of the field computations and of the single-direction gain:
// plain records with their defaults, filled by the dialogs (desktop), by
// the options (command line) or by the tests.
#pragma once

namespace qw {

// The grid and the form of the far-field table.
struct FarFieldRequest {
    float ZenithStart = -90;   // degrees
    float ZenithStep = 2;
    float ZenithSteps = 90;    // ZenithSteps + 1 zenith angles
    float AzimuthStart = 0;
    float AzimuthStep = 2;
    int AzimuthSteps = 180;    // AzimuthSteps + 1 azimuth angles
    bool ResultsInDb = true;   // false: field strength in V/m
    float PowerLevel = 0;      // watts; preset to the input power at every run
    float RadialDistance = 100000;  // metres; 0: the distance-free value
    float FieldScale = 1;      // sqrt(PowerLevel / input power), V/m mode
};

// The grid and the kind of the near-field table.
struct NearFieldRequest {
    bool ElectricField = true;  // false: magnetic field
    float StartX = 0, StartY = 0, StartZ = 0;  // metres
    float StepX = 1, StepY = 1, StepZ = 1;
    int CountX = 1, CountY = 1, CountZ = 1;    // points along each axis
    float PowerLevel = 0;  // watts; preset to the input power at every run
};

// The direction of the single-direction gain of the sweeps, the pattern
// window and the optimizer.
struct PatternDirection {
    float Elevation = 20;  // degrees above the horizon
    float Azimuth = 0;     // degrees
};

// The band of a frequency sweep or resonance scan (MHz).
struct SweepRange {
    float Lower = 0;
    float Upper = 0;
    float Step = 0;
};

}  // namespace qw
