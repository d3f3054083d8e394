// Length units, lengths as text, and the wire-size entry.
//
// Conversion products are computed in double precision and stored as
// Single, so that, for instance, 5 mS/m and 0.005 S/m compare equal.
#pragma once

#include <string>

#include "model/context.h"
#include "model/project.h"

namespace qw {

// The length of one wavelength in metres at this frequency (MHz);
// 0 when the frequency is not positive.
double WavelengthMeters(float frequency);

// A length in the project's unit to metres, and back. In wavelength units
// the factor comes from the project's frequency at each call; without a
// positive frequency a wavelength cannot be converted and the value is
// returned unchanged.
float ToMeters(const Project& project, float length);
float FromMeters(const Project& project, float meters);
// The same with an explicit unit and frequency.
float ToMeters(int units, float frequency, float length);
float FromMeters(int units, float frequency, float meters);

// The display suffix of a unit (" m", " feet", ...).
std::string UnitLabel(int units);
// The word of a unit in the project file ("Meters", "Feet", ...).
std::string UnitWord(int units);

// The caption of the unit button for a unit 1..6: "Meters", "Feet",
// "Inches", "cm", "mm", "wlngth".
std::string UnitButtonCaption(int unit);
// The next unit of the button's cycle Meters -> Feet -> Inches -> cm -> mm
// -> wavelengths -> Meters; wavelengths are left out while the
// project has no frequency (a wavelength of 0 Hz has no length).
int NextDisplayUnit(int unit, float frequency);

// A length in metres shown in the project's unit, " #0.00#;-#0.00#".
std::string FormatLength(const Project& project, float meters);

// The value x 100 (in single precision) rounded down, times 0.01:
// 1.239 gives 1.23, -1.231 gives -1.24, 1.15 gives 1.15.
float FloorHundredths(float value);

// Diameter in millimetres of an American Wire Gauge 0..20; any other
// gauge counts as 21 (AWG #22 and smaller), 0.723 mm.
double GaugeDiameterMm(double gauge);

// Reads an answer of the wire-size box: "#14" a gauge, a number with the
// suffix "m", "'" (feet) or a double quote (inches), or a number of metres.
// Returns the diameter in metres; 0 for an empty answer. An answer that
// reads as 0 gives the default wire size.
float ParseWireSize(const std::string& answer, float defaultWireSize);

// Asks for a wire size in the "Wire Size" input box; 0 when cancelled.
float AskWireSize(Context& ctx);

}  // namespace qw
