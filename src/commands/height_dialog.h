// The antenna-height dialog ("Antenna Height") without its window: the text
// and unit the box opens with, the conversion when the user switches between
// feet and metres, and what OK and Cancel do to the project.
#pragma once

#include <string>

#include "model/context.h"

namespace qw {

inline constexpr float kFeetPerMetre = 3.28084f;
inline constexpr float kMetresPerFoot = 0.3048006f;

inline constexpr const char* kMetresHeightFormat = "####0.00##";
inline constexpr const char* kFeetHeightFormat = "Fixed";

class HeightDialogLogic {
public:
    // Remembers the project's Height. A project in metres opens the box in
    // metres ("####0.00##"); any other unit opens it in feet ("Fixed").
    explicit HeightDialogLogic(Context& ctx);

    // kMeters or kFeet: the unit of the number in the box.
    int BoxUnit() const { return boxUnit_; }
    // The box's text when the dialog opens.
    const std::string& OpeningText() const { return openingText_; }

    // The Feet or Meters option chosen while the box holds `typed`: returns
    // the box's new text, the number converted to the new unit (the text
    // unchanged when the unit is already that one).
    std::string SwitchUnit(int unit, const std::string& typed);

    // OK with the box holding `typed`; true when the dialog closes.
    // Refused: a negative height ("Negative Height not allowed"), and a
    // height of 0 over ground when the zero-height question is answered No.
    // Accepted: Height set (converted from feet when the box is in feet),
    // the geometry recorded as changed (the pulses are built again), Modified
    // True, the antenna over ground, AbortFlag False.
    bool Ok(const std::string& typed);

    // Cancel (or the window closed): Height restored, AbortFlag True.
    void Cancel();

private:
    Context& ctx_;
    float openingHeight_;
    int boxUnit_;
    std::string openingText_;
};

// The command caption the free-space command shows once the antenna is
// over ground.
inline constexpr const char* kOverGroundCaption = "Ground Plane";

}  // namespace qw
