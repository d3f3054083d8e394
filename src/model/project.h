// The one open antenna project and its records.
//
// All lengths in the records are metres, whatever unit the user works in;
// conversion happens only at input and output (units.h). Tables have a
// fixed capacity and are 1-based: entry 0 exists and is never used, and a
// count says how many entries are in use.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qw {

// The unit in which lengths are shown, typed and written to the project file.
enum LengthUnit : int {
    kMeters = 1,
    kFeet = 2,
    kInches = 3,
    kCentimeters = 4,
    kMillimeters = 5,
    kWavelengths = 6,
};

inline constexpr int kMaxWires = 50;
inline constexpr int kMaxSources = 10;
inline constexpr int kMaxLoads = 20;
inline constexpr int kMaxPulses = 300;

// The limits of the large-model option, and so the capacity of the tables
// that are kept per wire or per pulse (the interaction matrix is sized to
// the model instead).
inline constexpr int kLargeMaxWires = 500;
inline constexpr int kLargeMaxPulses = 2000;
inline constexpr int kWireCapacity = kLargeMaxWires;
inline constexpr int kPulseCapacity = kLargeMaxPulses;

// The wires and pulses a project may have: 50 and 300, or 500 and 2000
// with the large-model option.
struct ModelLimits {
    int wires = kMaxWires;
    int pulses = kMaxPulses;
};
constexpr ModelLimits LimitsFor(bool largeModels) {
    return largeModels ? ModelLimits{kLargeMaxWires, kLargeMaxPulses} : ModelLimits{};
}

// One straight thin wire, from end 1 to end 2.
struct Wire {
    int Segments = 0;
    float X1 = 0, Y1 = 0, Z1 = 0;
    float X2 = 0, Y2 = 0, Z2 = 0;
    float Radius = 0;  // metres; files and dialogs carry the diameter
};

enum SourceKind : int { kVoltageSource = 0, kCurrentSource = 1 };

// An excitation applied at one pulse.
struct Source {
    std::int32_t Pulse = 0;          // absolute pulse number, 1-based
    std::int32_t PlacementData = 0;  // kept for the placement window only
    float Magnitude = 100;           // volts or amperes
    float Phase = 0;                 // degrees
    int Kind = kVoltageSource;
};

enum LoadKind : int {
    kSeriesRX = 0,     // R and jX in series ("L")
    kParallelRX = 1,   // R and jX in parallel ("LX")
    kSeriesRLC = 2,    // series R-L-C ("LS"); a zero L or C is absent
    kParallelRLC = 3,  // parallel R-L-C ("LP")
};

// A lumped impedance at one pulse.
struct Load {
    std::int32_t Pulse = 0;
    std::int32_t PlacementData = 0;
    int Kind = kSeriesRX;
    float Resistance = 0;   // ohms
    float Reactance = 0;    // ohms for kinds 0 and 1, microhenries for 2 and 3
    float Capacitance = 0;  // picofarads for kinds 2 and 3, else 0
};

// One ground medium handed to the field computations.
struct GroundMedium {
    float Extent = 0;        // metres
    float Height = 0;        // metres
    float Dielectric = 0;    // relative dielectric constant
    float Conductivity = 0;  // S/m
};

enum GroundPresence : int { kOverGround = -1, kFreeSpace = 1 };
enum GroundKindValue : int { kPerfectGround = 0, kRealGround = 1 };
enum BoundaryShape : int { kLinearBoundary = 1, kCircularBoundary = 2 };

inline constexpr float kGroundMediumExtent = 1000000.0f;

// The ground. Dielectric and conductivity live in entry 1 of GroundMedia.
struct Environment {
    int GroundPresent = kOverGround;
    int GroundKind = kPerfectGround;
    int RadialCount = 0;
    float RadialLength = 0;  // metres
    int Boundary = kCircularBoundary;
    std::array<GroundMedium, 7> GroundMedia{};

    float Dielectric() const { return GroundMedia[1].Dielectric; }
    float Conductivity() const { return GroundMedia[1].Conductivity; }
    // Sets entry 1 to the real ground of these parameters.
    void SetRealGround(float dielectric, float conductivity);
};

// The five named ground classes.
struct GroundClass {
    const char* name;      // "Excellent", "Good", ...
    float dielectric;
    float conductivity;    // S/m
};
inline constexpr std::array<GroundClass, 5> kGroundClasses = {{
    {"Excellent", 20.0f, 0.03f},
    {"Good", 14.0f, 0.006f},
    {"Average", 13.0f, 0.005f},
    {"Poor", 12.0f, 0.002f},
    {"Bad", 4.0f, 0.001f},
}};
// The class whose parameters equal these exactly, or nullptr.
const GroundClass* FindGroundClass(float dielectric, float conductivity);

struct Project {
    std::string FileName;
    bool Modified = false;
    std::string ProjectText;   // the file as read, with echo lines; CR LF line ends
    int ProjectTextLines = 0;
    int Units = kMeters;
    float Frequency = 0;       // MHz
    float Height = 0;          // metres
    float CoaxImpedance = 50;  // ohms
    Environment Env;

    std::array<Wire, kWireCapacity + 1> Wires{};
    int WireCount = 0;
    std::array<Source, kMaxSources + 1> Sources{};
    int SourceCount = 0;
    std::array<Load, kMaxLoads + 1> Loads{};
    int LoadCount = 0;
    int PulseCount = 0;

    // What the file (or a dialog) has defined so far.
    bool GroundDefined = false;
    bool FrequencyDefined = false;
    bool GeometryDefined = false;
    bool SourcesDefined = false;
    bool LoadsDefined = false;
};

// The project's name in listings and reports: the file name without its
// folder, upper-cased ("" for a project without a file).
std::string ProjectName(const Project& project);

}  // namespace qw
