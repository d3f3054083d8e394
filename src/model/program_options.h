// The options a computation reads that the settings file keeps, and the
// coordinate formats of the Format command.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qw {

// Coordinate formats of the Format command.
inline constexpr const char* kFixedNumberFormat = " #0.000#;-#0.000#";
inline constexpr const char* kFloatNumberFormat = " 0.000E+00";

// Values the settings file provides; these are their built-in defaults.
// The project's own values (unit, feed-line impedance) and the number
// format live in the Project and the Context.
struct ProgramOptions {
    // A font as the settings keep it, for the desktop program to apply.
    struct Font {
        std::string Name;  // "": the window's own font
        float Size = 0;    // points; 0: the window's own size
        bool Bold = false, Italic = false, Underline = false, Strikethru = false;
        std::optional<std::int32_t> Color;  // none: the window's own colour
        bool operator==(const Font&) const = default;
    };
    // Colours of the antenna views: indices 0..15 of the 16-colour palette.
    struct ViewColours {
        int Back = 15, Fore = 8, Wire = 9, Pulse = 11, Source = 12, Load = 5;
        int PosCurrent = 12, NegCurrent = 2, Field = 3;
        bool operator==(const ViewColours&) const = default;
    };

    float DefaultFrequency = 14.1f;  // MHz, for a new project
    float DefaultWireSize = 0.002f;  // diameter, metres
    int DefaultSegments = 10;
    // NEC compatibility: in mode 2 the solver's wire radii are scaled by
    // FrequencyOffsetFactor (at least 1).
    int NecMode = 1;
    float FrequencyOffsetFactor = 1;
    // True: the warning about a zero antenna height is switched off.
    bool HeightWarningOff = false;
    // True: projects and NEC decks of up to 500 wires and 2000 pulses are
    // taken instead of 50 and 300.
    bool LargeModels = false;
    bool GainInDbi = true;  // false: gains in dBd
    int PlotStep = 2;       // degrees between the points of a pattern cut
    float MaxDelta = 0.1f;  // optimizer: largest |total factor - 1|, at most 1

    // Printing: a printer was found at start-up (never on the console);
    // offsets of printed pictures in inches; the printer's font.
    bool PrinterPresent = false;
    float PrinterX = 0.75f, PrinterY = 0.75f;
    Font PrinterFont;
    // Font and text colour of the main window's text area.
    Font ScreenFont;
    ViewColours Colours;

    // Polar plots.
    int PlotScale = 1;  // 1 logarithmic, 2 linear
    bool Marker3dB = false;
    int GridStep = 10;  // dB, at least 1
    int MinDb = -50;    // dB, below 0

    // Sweeps and the resonance scan (MHz), and the plot axes.
    float ResonanceHi = 0, ResonanceLow = 0, ResonanceStep = 0;
    int RMin = 0, RMax = 2000, XMin = -2000, XMax = 2000;  // ohms, impedance plot
    float GainHi = 10, GainLow = 0;                         // dB, gain and F/B plots
    float SwrLimit = 0;                                     // top of the SWR axis (not kept in the settings)

    bool operator==(const ProgramOptions&) const = default;
};

}  // namespace qw
