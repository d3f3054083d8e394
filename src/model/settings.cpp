#include "model/settings.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "model/card_tokens.h"
#include "model/format_mask.h"
#include "model/number_conversion.h"
#include "model/number_str.h"
#include "model/number_value.h"
#include "platform/host.h"
#include "platform/profile.h"

namespace qw {

namespace {

const char* const kSettingsTitle = "Settings";

std::optional<float> AsSingle(double v) {
    try {
        return ToSingle(v);
    } catch (const NumberOverflow&) {
        return std::nullopt;
    }
}

std::optional<int> AsInteger(double v) {
    try {
        return CInt(v);
    } catch (const NumberOverflow&) {
        return std::nullopt;
    }
}

std::optional<std::int32_t> AsLong(double v) {
    try {
        return CLng(v);
    } catch (const NumberOverflow&) {
        return std::nullopt;
    }
}

// Flags are stored as -1 (True) and 0 (False).
std::string FlagText(bool flag) { return Str(flag ? -1 : 0); }

// The values of one loaded settings file.
class SettingsReader {
public:
    explicit SettingsReader(const Profile& profile) : profile_(profile) {}

    std::string Text(const char* section, const std::string& key) const {
        return profile_.Get(section, key).value_or("");
    }
    bool Present(const char* section, const std::string& key) const { return !Text(section, key).empty(); }
    double Number(const char* section, const std::string& key) const { return Val(Text(section, key)); }
    // The value as a Single, nullopt when it does not fit one.
    std::optional<float> Single(const char* section, const std::string& key) const {
        return AsSingle(Number(section, key));
    }
    // The value rounded half to even to an Integer, nullopt when it does not fit.
    std::optional<int> Rounded(const char* section, const std::string& key) const {
        return AsInteger(Number(section, key));
    }

    float Positive(const char* section, const std::string& key, float fallback) const {
        const auto v = Single(section, key);
        return v && *v > 0 ? *v : fallback;
    }

    // A palette colour 0..15; missing, empty or outside the palette gives the default.
    int Colour(const std::string& key, int fallback) const {
        if (!Present(kDefaultsSection, key)) return fallback;
        const auto n = Rounded(kDefaultsSection, key);
        return n && *n >= 0 && *n <= 15 ? *n : fallback;
    }

    // An empty name, size or colour leaves that property as it is; a flag
    // is True when non-zero.
    void ReadFont(const std::string& prefix, ProgramOptions::Font& font) const {
        const std::string name = Text(kDefaultsSection, prefix + " Name");
        if (!name.empty()) font.Name = name;
        if (Present(kDefaultsSection, prefix + " Size")) {
            const auto size = Single(kDefaultsSection, prefix + " Size");
            if (size && *size > 0) font.Size = *size;
        }
        font.Bold = Number(kDefaultsSection, prefix + " Bold") != 0;
        font.Italic = Number(kDefaultsSection, prefix + " Italic") != 0;
        font.Underline = Number(kDefaultsSection, prefix + " Underline") != 0;
        font.Strikethru = Number(kDefaultsSection, prefix + " Strikethru") != 0;
        if (Present(kDefaultsSection, prefix + " Color")) {
            if (const auto colour = AsLong(Number(kDefaultsSection, prefix + " Color"))) font.Color = *colour;
        }
    }

private:
    const Profile& profile_;
};

struct ColourKey {
    const char* key;
    int ProgramOptions::ViewColours::*member;
    int fallback;
};
const ColourKey kColourKeys[] = {
    {"BackColor", &ProgramOptions::ViewColours::Back, 15},
    {"ForeColor", &ProgramOptions::ViewColours::Fore, 8},
    {"WireColor", &ProgramOptions::ViewColours::Wire, 9},
    {"PulseColor", &ProgramOptions::ViewColours::Pulse, 11},
    {"SourceColor", &ProgramOptions::ViewColours::Source, 12},
    {"LoadColor", &ProgramOptions::ViewColours::Load, 5},
    {"PosCurrentColor", &ProgramOptions::ViewColours::PosCurrent, 12},
    {"NegCurrentColor", &ProgramOptions::ViewColours::NegCurrent, 2},
    {"FieldColor", &ProgramOptions::ViewColours::Field, 3},
};

void ReadDefaults(Context& ctx, const SettingsReader& r) {
    ProgramOptions& o = ctx.options;
    const char* s = kDefaultsSection;

    ctx.NumberFormat = UpperAscii(r.Text(s, "Format")) == "FLOAT" ? kFloatNumberFormat : kFixedNumberFormat;
    // Wavelength units come only from project files.
    const auto units = r.Rounded(s, "Units");
    ctx.project.Units = units && *units >= kMeters && *units <= kMillimeters ? *units : kMeters;
    const auto wire = r.Single(s, "DefaultWireSize");
    o.DefaultWireSize = wire && *wire > 0 && *wire <= 1000000.0f ? *wire : 0.002f;
    const auto segments = r.Rounded(s, "DefaultSegmentNumber");
    o.DefaultSegments = segments && *segments >= 1 ? *segments : 10;
    o.DefaultFrequency = r.Positive(s, "DefaultFrequency", 14.1f);
    ctx.project.CoaxImpedance = r.Positive(s, "CoaxImpedance", 50.0f);
    // A file without the key keeps dBi, the reference of a new installation.
    o.GainInDbi = r.Present(s, "dBi/dBd") ? r.Number(s, "dBi/dBd") != 0 : true;
    // A step below 1 degree would never advance a pattern cut.
    const auto step = r.Rounded(s, "PlotIncrement");
    o.PlotStep = step && *step >= 1 ? *step : 2;
    o.PrinterX = r.Positive(s, "PrinterX", 0.75f);
    o.PrinterY = r.Positive(s, "PrinterY", 0.75f);
    if (o.PrinterPresent) r.ReadFont("PrinterFont", o.PrinterFont);
    r.ReadFont("ScreenFont", o.ScreenFont);
    const auto factor = r.Single(s, "Frequency offset factor");
    o.FrequencyOffsetFactor = factor && *factor > 1 ? *factor : 1.0f;
    o.NecMode = r.Number(s, "Nec Mode") > 1 ? 2 : 1;
    o.HeightWarningOff = GetSettingInt(ctx, s, "Height warning") != 0;
    o.LargeModels = GetSettingInt(ctx, s, kLargeModelsKey) != 0;
    for (const auto& c : kColourKeys) o.Colours.*c.member = r.Colour(c.key, c.fallback);
    // A maximum delta must be positive; above 1 it means no limit beyond 1.
    const auto delta = r.Single(s, "MaxDelta");
    o.MaxDelta = !delta || *delta <= 0 ? 0.1f : *delta > 1 ? 1.0f : *delta;
}

void ReadPlotOptions(Context& ctx, const SettingsReader& r) {
    ProgramOptions& o = ctx.options;
    const char* s = kPlotOptionsSection;
    // Each key only when present; values that would draw no grid or loop
    // without end fall back to the defaults.
    if (r.Present(s, "Log plot")) {
        const auto n = r.Rounded(s, "Log plot");
        o.PlotScale = n && (*n == 1 || *n == 2) ? *n : 1;
    }
    if (r.Present(s, "3dB Marker")) {
        const auto n = r.Rounded(s, "3dB Marker");
        o.Marker3dB = n && *n != 0;
    }
    if (r.Present(s, "Grid Step")) {
        const auto n = r.Rounded(s, "Grid Step");
        o.GridStep = n && *n >= 1 ? *n : 10;
    }
    if (r.Present(s, "Min dB down")) {
        const auto n = r.Rounded(s, "Min dB down");
        o.MinDb = n && *n < 0 ? *n : -50;
    }
}

void ReadLimits(Context& ctx, const SettingsReader& r) {
    ProgramOptions& o = ctx.options;
    const char* s = kLimitsSection;
    o.ResonanceHi = r.Single(s, "ResonanceHi").value_or(0);
    o.ResonanceLow = r.Single(s, "ResonanceLow").value_or(0);
    o.ResonanceStep = r.Single(s, "ResonanceStep").value_or(0);
    if (r.Present(s, "ZLimits")) {
        // R min, R max, X min, X max; all four or the defaults.
        const auto numbers = FourNumbers(r.Text(s, "ZLimits"));
        std::optional<int> v[4];
        for (int i = 0; i < 4; ++i) v[i] = AsInteger(numbers[i]);
        const bool all = v[0] && v[1] && v[2] && v[3];
        o.RMin = all ? *v[0] : 0;
        o.RMax = all ? *v[1] : 2000;
        o.XMin = all ? *v[2] : -2000;
        o.XMax = all ? *v[3] : 2000;
    }
    o.GainHi = r.Positive(s, "GainHi", 10.0f);
    o.GainLow = r.Single(s, "GainLow").value_or(0);
    if (o.GainLow > o.GainHi) std::swap(o.GainLow, o.GainHi);
}

void ReadAll(Context& ctx, const Profile& profile) {
    const SettingsReader r(profile);
    ReadDefaults(ctx, r);
    ReadPlotOptions(ctx, r);
    ReadLimits(ctx, r);
}

void WriteFont(Profile& p, const std::string& prefix, const ProgramOptions::Font& f) {
    p.Set(kDefaultsSection, prefix + " Name", f.Name);
    p.Set(kDefaultsSection, prefix + " Size", f.Size > 0 ? Str(f.Size) : "");
    p.Set(kDefaultsSection, prefix + " Bold", FlagText(f.Bold));
    p.Set(kDefaultsSection, prefix + " Italic", FlagText(f.Italic));
    p.Set(kDefaultsSection, prefix + " Underline", FlagText(f.Underline));
    p.Set(kDefaultsSection, prefix + " Strikethru", FlagText(f.Strikethru));
    p.Set(kDefaultsSection, prefix + " Color", f.Color ? Str(static_cast<int>(*f.Color)) : "");
}

void WriteAll(const Context& ctx, Profile& p) {
    const ProgramOptions& o = ctx.options;
    const char* s = kDefaultsSection;
    p.Set(s, "Format", ctx.NumberFormat == kFloatNumberFormat ? "Float" : "Fixed");
    p.Set(s, "Units", Str(ctx.project.Units));
    p.Set(s, "DefaultWireSize", Str(o.DefaultWireSize));
    p.Set(s, "DefaultSegmentNumber", Str(o.DefaultSegments));
    p.Set(s, "DefaultFrequency", Str(o.DefaultFrequency));
    p.Set(s, "CoaxImpedance", Str(ctx.project.CoaxImpedance));
    p.Set(s, "dBi/dBd", FlagText(o.GainInDbi));
    p.Set(s, "PlotIncrement", Str(o.PlotStep));
    p.Set(s, "PrinterX", Str(o.PrinterX));
    p.Set(s, "PrinterY", Str(o.PrinterY));
    if (o.PrinterPresent) WriteFont(p, "PrinterFont", o.PrinterFont);
    WriteFont(p, "ScreenFont", o.ScreenFont);
    p.Set(s, "Frequency offset factor", Str(o.FrequencyOffsetFactor));
    p.Set(s, "Nec Mode", Str(o.NecMode));
    p.Set(s, "Height warning", FlagText(o.HeightWarningOff));
    for (const auto& c : kColourKeys) p.Set(s, c.key, Str(o.Colours.*c.member));
    p.Set(s, "MaxDelta", Str(o.MaxDelta));

    s = kPlotOptionsSection;
    p.Set(s, "Log plot", Str(o.PlotScale));
    p.Set(s, "3dB Marker", FlagText(o.Marker3dB));
    p.Set(s, "Grid Step", Str(o.GridStep));
    p.Set(s, "Min dB down", Str(o.MinDb));

    s = kLimitsSection;
    p.Set(s, "ResonanceHi", Str(o.ResonanceHi));
    p.Set(s, "ResonanceLow", Str(o.ResonanceLow));
    p.Set(s, "ResonanceStep", Str(o.ResonanceStep));
    p.Set(s, "ZLimits", Str(o.RMin) + "," + Str(o.RMax) + "," + Str(o.XMin) + "," + Str(o.XMax));
    p.Set(s, "GainHi", Str(o.GainHi));
    p.Set(s, "GainLow", Str(o.GainLow));
}

void ReportNotSaved(Context& ctx, const std::string& why) {
    ctx.host->ShowMessage({"The settings could not be saved in " + SettingsPath(ctx) + "\r\n" + why +
                               "\r\nThe program goes on with the values in force.",
                           kSettingsTitle, MessageIcon::Exclamation, MessageButtons::Ok, 1});
}

}  // namespace

std::array<double, 4> FourNumbers(std::string_view text) {
    std::array<double, 4> numbers{};
    for (auto& n : numbers) {
        const auto comma = text.find(',');
        n = Val(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return numbers;
}

std::string SettingsPath(const Context& ctx) { return ctx.files.settingsFile; }

bool SettingsFileExists(const Context& ctx) {
    std::error_code ec;
    return !ctx.files.settingsFile.empty() && std::filesystem::exists(ctx.files.settingsFile, ec);
}

std::string GetSetting(const Context& ctx, const std::string& section, const std::string& key) {
    return GetProfileString(SettingsPath(ctx), section, key);
}

int GetSettingInt(const Context& ctx, const std::string& section, const std::string& key) {
    const std::string stored = GetSetting(ctx, section, key);  // the view below must not outlive it
    std::string_view text = stored;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec != std::errc() || value < INT32_MIN || value > INT32_MAX) return 0;
    return static_cast<int>(value);
}

bool PutSetting(Context& ctx, const std::string& section, const std::string& key, const std::string& value) {
    const std::string why = WriteProfileString(SettingsPath(ctx), section, key, value);
    if (why.empty()) return true;
    ReportNotSaved(ctx, why);
    return false;
}

bool SaveLargeModels(Context& ctx) {
    return PutSetting(ctx, kDefaultsSection, kLargeModelsKey, FlagText(ctx.options.LargeModels));
}

bool SaveHeightWarning(Context& ctx) {
    return PutSetting(ctx, kDefaultsSection, "Height warning", FlagText(ctx.options.HeightWarningOff));
}

bool SaveMaxDelta(Context& ctx) { return PutSetting(ctx, kDefaultsSection, "MaxDelta", Str(ctx.options.MaxDelta)); }

bool SaveGainLimits(Context& ctx) {
    Profile profile(SettingsPath(ctx));
    profile.Set(kLimitsSection, "GainHi", Str(ctx.options.GainHi));
    profile.Set(kLimitsSection, "GainLow", Str(ctx.options.GainLow));
    const std::string why = profile.Save();
    if (why.empty()) return true;
    ReportNotSaved(ctx, why);
    return false;
}

bool SavePlotOptions(Context& ctx) {
    const ProgramOptions& o = ctx.options;
    Profile profile(SettingsPath(ctx));
    profile.Set(kPlotOptionsSection, "Log plot", Str(o.PlotScale));
    profile.Set(kPlotOptionsSection, "3dB Marker", FlagText(o.Marker3dB));
    profile.Set(kPlotOptionsSection, "Grid Step", Str(o.GridStep));
    profile.Set(kPlotOptionsSection, "Min dB down", Str(o.MinDb));
    const std::string why = profile.Save();
    if (why.empty()) return true;
    ReportNotSaved(ctx, why);
    return false;
}

void ReadSettings(Context& ctx) { ReadAll(ctx, Profile(SettingsPath(ctx))); }

bool SaveSettings(Context& ctx) {
    Profile profile(SettingsPath(ctx));
    WriteAll(ctx, profile);
    const std::string why = profile.Save();
    if (why.empty()) return true;
    ReportNotSaved(ctx, why);
    return false;
}

void LoadDefaults(Context& ctx) {
    const Profile profile(SettingsPath(ctx));
    if (!profile.ReadError().empty()) {
        ctx.host->ShowMessage({"The settings could not be read from " + SettingsPath(ctx) + "\r\n" +
                                   profile.ReadError(),
                               kSettingsTitle, MessageIcon::Exclamation, MessageButtons::Ok, 1});
        return;
    }
    if (!profile.Exists()) {
        ctx.host->Notify("INI File not found, Set defaults first");
        return;
    }
    ReadAll(ctx, profile);
}

}  // namespace qw
