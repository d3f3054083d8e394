// A helical antenna as a project: the helix cut into straight wires by the
// same generator the NEC reader uses for GH cards, with an optional ground
// plane or reflector of radials, fed at its foot.
//
// The helix winds up the z axis from the +x axis. Over a ground plane
// (perfect ground) or a reflector of radials (in free space, at z = 0), a
// vertical feed wire of half a turn's spacing rises from the plane at the
// helix's start; the source is on its lowest pulse. The first radial runs
// along +x and is cut where the feed wire stands, so that the feed joins
// wire ends. Without either, the helix is alone in free space and fed on
// its first pulse.
#pragma once

#include <string>

#include "model/project.h"

namespace qw {

enum class HelixBase { kNone, kGroundPlane, kRadials };

struct HelixDesign {
    double turns = 5;               // may be fractional: turns x segmentsPerTurn is rounded
    double diameter = 0.1;          // of the helix, wire centre to wire centre, metres
    double spacing = 0.075;         // rise per turn, metres
    int segmentsPerTurn = 8;
    double wireDiameter = 0.002;    // metres
    bool leftHanded = false;
    HelixBase base = HelixBase::kNone;
    int radialCount = 4;
    double radialLength = 0.15;     // metres, from the axis
    double frequency = 0;           // MHz; 0: where the circumference is one wavelength
    int units = kMeters;            // the unit the project shows and is written in
};

// The frequency (MHz) at which the circumference is one wavelength.
double HelixNaturalFrequency(const HelixDesign& d);

// "" when the design can be built; else what is wrong with it, in words.
std::string HelixDesignProblem(const HelixDesign& d);

// The project (counts, wires, source, ground, frequency, unit). The
// design must be sound (HelixDesignProblem empty).
Project HelixProject(const HelixDesign& d);

// The project file's text: header comments describing the helix, then the
// cards, lines ended by CR LF.
std::string HelixProjectText(const HelixDesign& d);

}  // namespace qw
