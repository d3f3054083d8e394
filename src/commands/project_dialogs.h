// The frequency and ground dialogs as the project sees them: the values a
// dialog hands back are checked and applied here; the dialog itself is the
// Host's (a window on the desktop, options on the console, a script in the
// tests).
#pragma once

#include "model/context.h"
#include "platform/host.h"

namespace qw {

// The frequency dialog: asks until a frequency above 0.1 MHz is given or
// the dialog is cancelled. On OK: Frequency set, FrequencyDefined and
// Modified True, AbortFlag False. On Cancel: Frequency restored, AbortFlag
// True.
void RunFrequencyDialog(Context& ctx);

// The ground dialog: asks until valid parameters are given or the dialog is
// cancelled. Perfect makes the ground perfect. OK with a real ground needs
// a dielectric constant and a conductivity that are not 0 and a radial
// length when there are radials ("Ground Parameters not initialized"
// otherwise); radials force a circular boundary. On Cancel AbortFlag is
// True and the ground stays as it was.
void RunGroundDialog(Context& ctx);

// The dialog's view of the project's ground.
GroundInput GroundInputOf(const Environment& env);

// Checks a ground given by a dialog or an option. A real ground needs a
// dielectric constant and a conductivity that are not 0, a radial length
// when there are radials, and no negative value. When it is invalid:
// GroundDefined False, "Ground Parameters not initialized" ("Bad Ground")
// shown, false. A perfect ground is always valid.
bool CheckGroundInput(Context& ctx, const GroundInput& input);

// Applies a real or perfect ground given by a dialog or an option; false
// (and the message shown) when the parameters are invalid. A real ground
// marks the project modified and the matrix stale only when the input says
// it was changed (or the ground was perfect before).
bool ApplyGround(Context& ctx, const GroundInput& input);

}  // namespace qw
