#include "model/units.h"

#include <array>
#include <cctype>
#include <cmath>

#include "model/format_mask.h"
#include "model/number_value.h"
#include "platform/host.h"

namespace qw {

namespace {
struct UnitInfo {
    const char* label;
    const char* word;
    double toMeters;    // multiply
    double fromMeters;  // multiply
};
// Index by LengthUnit; wavelengths are handled by the frequency.
constexpr std::array<UnitInfo, 7> kUnits = {{
    {" m", "Meters", 1.0, 1.0},
    {" m", "Meters", 1.0, 1.0},
    {" feet", "Feet", 0.3048, 3.28084},
    {" inches", "Inches", 0.0254, 39.37008},
    {" cm", "cm", 0.01, 100.0},
    {" mm", "mm", 0.001, 1000.0},
    {" wlngth", "WLENGTH", 1.0, 1.0},
}};

const UnitInfo& Info(int units) { return kUnits[(units >= 1 && units <= 6) ? units : 1]; }

constexpr std::array<double, 22> kGaugeMm = {8.255, 7.348, 6.544, 5.827, 5.189, 4.621, 4.115, 3.665,
                                             3.264, 2.906, 2.588, 2.305, 2.053, 1.828, 1.628, 1.45,
                                             1.291, 1.15,  1.024, 0.912, 0.812, 0.723};
}  // namespace

double WavelengthMeters(float frequency) { return frequency > 0 ? 299.8 / static_cast<double>(frequency) : 0.0; }

float ToMeters(int units, float frequency, float length) {
    const double v = length;
    switch (units) {
    case kCentimeters:
        return static_cast<float>(v / 100.0);
    case kMillimeters:
        return static_cast<float>(v / 1000.0);
    case kWavelengths: {
        if (frequency <= 0) return length;
        return static_cast<float>(v * 299.8 / static_cast<double>(frequency));
    }
    default:
        return static_cast<float>(v * Info(units).toMeters);
    }
}

float FromMeters(int units, float frequency, float meters) {
    if (units == kWavelengths) {
        const double wavelength = WavelengthMeters(frequency);
        if (wavelength == 0) return meters;
        return static_cast<float>(static_cast<double>(meters) / wavelength);
    }
    return static_cast<float>(static_cast<double>(meters) * Info(units).fromMeters);
}

float ToMeters(const Project& project, float length) { return ToMeters(project.Units, project.Frequency, length); }

float FromMeters(const Project& project, float meters) {
    return FromMeters(project.Units, project.Frequency, meters);
}

std::string UnitLabel(int units) { return Info(units).label; }

std::string UnitWord(int units) { return Info(units).word; }

std::string UnitButtonCaption(int unit) {
    switch (unit) {
        case kFeet: return "Feet";
        case kInches: return "Inches";
        case kCentimeters: return "cm";
        case kMillimeters: return "mm";
        case kWavelengths: return "wlngth";
        default: return "Meters";
    }
}

int NextDisplayUnit(int unit, float frequency) {
    int next = unit >= kWavelengths || unit < kMeters ? kMeters : unit + 1;
    if (next == kWavelengths && !(frequency > 0)) next = kMeters;
    return next;
}

std::string FormatLength(const Project& project, float meters) {
    return Format(FromMeters(project, meters), " #0.00#;-#0.00#");
}

float FloorHundredths(float value) {
    const float hundreds = std::floor(value * 100.0f);
    return static_cast<float>(static_cast<double>(hundreds) * 0.01);
}

double GaugeDiameterMm(double gauge) {
    if (gauge >= 0 && gauge <= 20 && gauge == std::floor(gauge)) return kGaugeMm[static_cast<int>(gauge)];
    return kGaugeMm[21];
}

float ParseWireSize(const std::string& answer, float defaultWireSize) {
    if (answer.empty()) return 0;
    double meters;
    if (answer[0] == '#') {
        meters = GaugeDiameterMm(Val(answer.substr(1))) / 1000.0;
    } else {
        const char suffix = static_cast<char>(std::toupper(static_cast<unsigned char>(answer.back())));
        double factor = 1.0;
        if (suffix == '\'') factor = 0.3048;
        if (suffix == '"') factor = 0.0254;
        meters = Val(answer) * factor;
    }
    const float result = std::isfinite(meters) ? static_cast<float>(meters) : 0.0f;
    return result == 0 || !std::isfinite(result) ? defaultWireSize : result;
}

float AskWireSize(Context& ctx) {
    static const char* const kPromptLines[] = {
        "Enter Wire Size",
        "",
        " xxx m   in meters",
        " xxx '     in feet",
        " xxx \"   in inches",
        " #xxx     in A.W.G (0 to 20)",
        "             AWG #22 and smaller are #21",
        "",
        "Displayed value is default in meters",
    };
    std::string prompt;
    for (std::size_t i = 0; i < std::size(kPromptLines); ++i) {
        if (i > 0) prompt += "\r\n";
        prompt += kPromptLines[i];
    }
    const auto answer =
        ctx.host->InputBox(prompt, "Wire Size", Format(ctx.options.DefaultWireSize, "General Number"));
    if (!answer) return 0;
    return ParseWireSize(*answer, ctx.options.DefaultWireSize);
}

}  // namespace qw
