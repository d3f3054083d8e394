#include "commands/height_dialog.h"

#include <cmath>

#include "commands/checks.h"
#include "model/format_mask.h"
#include "model/number_value.h"
#include "model/settings.h"
#include "platform/host.h"

namespace qw {

namespace {

// The number in the box, 0 when it holds none. The box may use a comma as
// its decimal point.
float BoxNumber(const std::string& typed) {
    std::string text = typed;
    for (char& c : text)
        if (c == ',') c = '.';
    return static_cast<float>(Val(text));
}

std::string MetresText(float metres) { return Format(metres, kMetresHeightFormat); }
std::string FeetText(float feet) { return Format(feet, kFeetHeightFormat); }

}  // namespace

HeightDialogLogic::HeightDialogLogic(Context& ctx)
    : ctx_(ctx), openingHeight_(ctx.project.Height), boxUnit_(ctx.project.Units == kMeters ? kMeters : kFeet) {
    openingText_ = boxUnit_ == kMeters ? MetresText(openingHeight_) : FeetText(openingHeight_ * kFeetPerMetre);
}

std::string HeightDialogLogic::SwitchUnit(int unit, const std::string& typed) {
    if (unit == boxUnit_ || (unit != kMeters && unit != kFeet)) return typed;
    const float number = BoxNumber(typed);
    boxUnit_ = unit;
    return unit == kFeet ? FeetText(number * kFeetPerMetre) : MetresText(number * kMetresPerFoot);
}

bool HeightDialogLogic::Ok(const std::string& typed) {
    Project& p = ctx_.project;
    const float number = BoxNumber(typed);
    if (number < 0) {
        ctx_.host->Notify("Negative Height not allowed");
        return false;
    }
    if (!std::isfinite(number)) {  // beyond the range of a 32-bit value
        ctx_.host->Notify("Number out of range", "Antenna Height", MessageIcon::Critical);
        return false;
    }
    if (number == 0 && p.Env.GroundPresent == kOverGround && !ctx_.options.HeightWarningOff) {
        if (ZeroHeightWarning(ctx_) != MessageAnswer::Yes) return false;
        ctx_.options.HeightWarningOff = true;
        SaveHeightWarning(ctx_);  // a failure has been reported; the choice holds for this run
        ctx_.host->CheckCommand("mnuZH", false);
    }
    p.Height = boxUnit_ == kFeet ? number * kMetresPerFoot : number;
    p.Env.GroundPresent = kOverGround;
    ctx_.Changed(Change::Geometry);
    ctx_.host->SetCommandCaption("CtlFree", kOverGroundCaption);
    ctx_.AbortFlag = false;
    p.Modified = true;
    return true;
}

void HeightDialogLogic::Cancel() {
    ctx_.project.Height = openingHeight_;
    ctx_.AbortFlag = true;
}

}  // namespace qw
