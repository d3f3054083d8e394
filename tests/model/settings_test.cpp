#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "model/file_locations.h"
#include "model/settings.h"
#include "model/window_position.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class Settings : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedHost host;
    Context ctx{host};

    void SetUp() override { ctx.files.settingsFile = dir.File(kSettingsFileName); }
    void WriteSettings(const std::string& text) { WriteBytes(ctx.files.settingsFile, text); }
};

// The read rules, one stored value at a time, each in a fresh context.
TEST_F(Settings, ReadRulesFallBackToTheirDefaults) {
    using Get = float (*)(const Context&);
    const Get units = [](const Context& c) { return static_cast<float>(c.project.Units); };
    const Get wire = [](const Context& c) { return c.options.DefaultWireSize; };
    const Get segments = [](const Context& c) { return static_cast<float>(c.options.DefaultSegments); };
    const Get frequency = [](const Context& c) { return c.options.DefaultFrequency; };
    const Get coax = [](const Context& c) { return c.project.CoaxImpedance; };
    const Get plotStep = [](const Context& c) { return static_cast<float>(c.options.PlotStep); };
    const Get printerX = [](const Context& c) { return c.options.PrinterX; };
    const Get factor = [](const Context& c) { return c.options.FrequencyOffsetFactor; };
    const Get necMode = [](const Context& c) { return static_cast<float>(c.options.NecMode); };
    const Get heightOff = [](const Context& c) { return c.options.HeightWarningOff ? 1.0f : 0.0f; };
    const Get dbi = [](const Context& c) { return c.options.GainInDbi ? 1.0f : 0.0f; };
    const Get back = [](const Context& c) { return static_cast<float>(c.options.Colours.Back); };
    const Get fore = [](const Context& c) { return static_cast<float>(c.options.Colours.Fore); };
    const Get delta = [](const Context& c) { return c.options.MaxDelta; };
    const Get scale = [](const Context& c) { return static_cast<float>(c.options.PlotScale); };
    const Get marker = [](const Context& c) { return c.options.Marker3dB ? 1.0f : 0.0f; };
    const Get grid = [](const Context& c) { return static_cast<float>(c.options.GridStep); };
    const Get minDb = [](const Context& c) { return static_cast<float>(c.options.MinDb); };
    const Get step = [](const Context& c) { return c.options.ResonanceStep; };
    const Get gainHi = [](const Context& c) { return c.options.GainHi; };

    struct Case {
        const char* section;
        const char* key;
        const char* stored;
        Get get;
        float expected;
    };
    const Case cases[] = {
        {"DEFAULTS", "Units", "6", units, 1},  // wavelengths are never restored
        {"DEFAULTS", "Units", "3", units, 3},
        {"DEFAULTS", "Units", "2.5", units, 2},  // rounded half to even
        {"DEFAULTS", "Units", "0", units, 1},
        {"DEFAULTS", "Units", "99999", units, 1},  // beyond an Integer
        {"DEFAULTS", "DefaultWireSize", "0", wire, 0.002f},
        {"DEFAULTS", "DefaultWireSize", "2000000", wire, 0.002f},
        {"DEFAULTS", "DefaultWireSize", "1000000", wire, 1000000},
        {"DEFAULTS", "DefaultSegmentNumber", "0.5", segments, 10},
        {"DEFAULTS", "DefaultSegmentNumber", "1.5", segments, 2},
        {"DEFAULTS", "DefaultFrequency", "0", frequency, 14.1f},
        {"DEFAULTS", "DefaultFrequency", "1E+39", frequency, 14.1f},  // beyond a Single
        {"DEFAULTS", "DefaultFrequency", "7.05 MHz", frequency, 7.05f},
        {"DEFAULTS", "CoaxImpedance", "-75", coax, 50},
        {"DEFAULTS", "PlotIncrement", "0", plotStep, 2},
        {"DEFAULTS", "PrinterX", "abc", printerX, 0.75f},
        {"DEFAULTS", "Frequency offset factor", "0.9", factor, 1},
        {"DEFAULTS", "Frequency offset factor", "1.05", factor, 1.05f},
        {"DEFAULTS", "Nec Mode", "2", necMode, 2},
        {"DEFAULTS", "Nec Mode", "1.0", necMode, 1},
        {"DEFAULTS", "Nec Mode", "1.5", necMode, 2},
        {"DEFAULTS", "Height warning", "-1", heightOff, 1},
        {"DEFAULTS", "Height warning", "", heightOff, 0},
        {"DEFAULTS", "dBi/dBd", " 0", dbi, 0},
        {"DEFAULTS", "dBi/dBd", "", dbi, 1},
        {"DEFAULTS", "BackColor", "16", back, 15},  // beyond the palette
        {"DEFAULTS", "BackColor", "", back, 15},
        {"DEFAULTS", "BackColor", "0", back, 0},
        {"DEFAULTS", "ForeColor", "3.5", fore, 4},
        {"DEFAULTS", "MaxDelta", "0", delta, 0.1f},
        {"DEFAULTS", "MaxDelta", "2", delta, 1},
        {"DEFAULTS", "MaxDelta", "-0.2", delta, 0.1f},
        {"DEFAULTS", "MaxDelta", "0.25", delta, 0.25f},
        {"PlotOptions", "Log plot", "2", scale, 2},
        {"PlotOptions", "Log plot", "3", scale, 1},
        {"PlotOptions", "3dB Marker", "-1", marker, 1},
        {"PlotOptions", "Grid Step", "0", grid, 10},  // would never reach the innermost ring
        {"PlotOptions", "Grid Step", "5", grid, 5},
        {"PlotOptions", "Min dB down", "0", minDb, -50},
        {"PlotOptions", "Min dB down", "-30", minDb, -30},
        {"LIMITS", "ResonanceStep", "0.05", step, 0.05f},
        {"LIMITS", "GainHi", "0", gainHi, 10},
    };
    for (const auto& c : cases) {
        ScriptedHost h;
        Context fresh(h);
        fresh.files.settingsFile = ctx.files.settingsFile;
        WriteSettings(std::string("[") + c.section + "]\r\n" + c.key + "=" + c.stored + "\r\n");
        ReadSettings(fresh);
        EXPECT_EQ(c.get(fresh), c.expected) << c.key << "=" << c.stored;
        EXPECT_TRUE(h.messages.empty());  // invalid values are never reported
    }
}

TEST_F(Settings, GainRangeZLimitsAndCommandMarks) {
    WriteSettings(
        "[DEFAULTS]\r\ndBi/dBd= 0\r\nNec Mode= 2\r\n"
        "[LIMITS]\r\nGainHi= 5\r\nGainLow= 20\r\nZLimits= 10, 500,-300, 300\r\n");
    ReadSettings(ctx);
    EXPECT_EQ(ctx.options.GainLow, 5);
    EXPECT_EQ(ctx.options.GainHi, 20);
    EXPECT_EQ((std::array{ctx.options.RMin, ctx.options.RMax, ctx.options.XMin, ctx.options.XMax}),
              (std::array{10, 500, -300, 300}));
    EXPECT_EQ(host.commandCaption["CtdB"], "dBd");
    EXPECT_TRUE(host.commandChecked["CtlNEC"]);

    // Missing numbers read as 0; one beyond an Integer gives the defaults.
    WriteSettings("[LIMITS]\r\nZLimits=1,2,3\r\n[DEFAULTS]\r\nNec Mode=1.0\r\n");
    ReadSettings(ctx);
    EXPECT_EQ((std::array{ctx.options.RMin, ctx.options.RMax, ctx.options.XMin, ctx.options.XMax}),
              (std::array{1, 2, 3, 0}));
    EXPECT_EQ(host.commandCaption["CtdB"], "dBi");
    EXPECT_FALSE(host.commandChecked["CtlNEC"]);
    WriteSettings("[LIMITS]\r\nZLimits=1,99999,0,0\r\n");
    ReadSettings(ctx);
    EXPECT_EQ((std::array{ctx.options.RMin, ctx.options.RMax, ctx.options.XMin, ctx.options.XMax}),
              (std::array{0, 2000, -2000, 2000}));
}

TEST_F(Settings, PlotOptionsAreReadOnlyWhenPresent) {
    ctx.options.GridStep = 7;
    ctx.options.MinDb = -35;
    ctx.options.PlotScale = 2;
    ctx.options.Marker3dB = true;
    WriteSettings("[PlotOptions]\r\nGrid Step=\r\nMin dB down= -40\r\n");
    ReadSettings(ctx);
    EXPECT_EQ(ctx.options.GridStep, 7);
    EXPECT_EQ(ctx.options.MinDb, -40);
    EXPECT_EQ(ctx.options.PlotScale, 2);
    EXPECT_TRUE(ctx.options.Marker3dB);
}

TEST_F(Settings, FontsAndThePrinter) {
    WriteSettings(
        "[DEFAULTS]\r\n"
        "PrinterFont Name=Arial\r\nPrinterFont Size= 12\r\nPrinterFont Bold=-1\r\nPrinterFont Color= 255\r\n"
        "ScreenFont Name=Courier New\r\nScreenFont Size=\r\nScreenFont Italic=1\r\nScreenFont Color=\r\n");
    ctx.options.ScreenFont.Size = 9.75f;
    ctx.options.ScreenFont.Color = 128;
    ReadSettings(ctx);  // no printer: its font keys are not read
    EXPECT_EQ(ctx.options.PrinterFont, ProgramOptions::Font{});
    EXPECT_EQ(ctx.options.ScreenFont.Name, "Courier New");
    EXPECT_EQ(ctx.options.ScreenFont.Size, 9.75f);  // empty: unchanged
    EXPECT_EQ(ctx.options.ScreenFont.Color, 128);
    EXPECT_TRUE(ctx.options.ScreenFont.Italic);  // non-zero
    EXPECT_FALSE(ctx.options.ScreenFont.Bold);

    ctx.options.PrinterPresent = true;
    ReadSettings(ctx);
    EXPECT_EQ(ctx.options.PrinterFont.Name, "Arial");
    EXPECT_EQ(ctx.options.PrinterFont.Size, 12);
    EXPECT_TRUE(ctx.options.PrinterFont.Bold);
    EXPECT_EQ(ctx.options.PrinterFont.Color, 255);

    // Saved as bold, restored as bold; the flag is written as -1.
    ASSERT_TRUE(SaveSettings(ctx));
    EXPECT_EQ(GetSetting(ctx, "DEFAULTS", "PrinterFont Bold"), "-1");
    EXPECT_EQ(GetSetting(ctx, "DEFAULTS", "PrinterFont Italic"), "0");
    ctx.options.PrinterFont.Bold = false;
    ReadSettings(ctx);
    EXPECT_TRUE(ctx.options.PrinterFont.Bold);

    // Without a printer its keys are not written either.
    std::filesystem::remove(ctx.files.settingsFile);
    ctx.options.PrinterPresent = false;
    ASSERT_TRUE(SaveSettings(ctx));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile).find("PrinterFont"), std::string::npos);
}

TEST_F(Settings, DefaultsAreSavedInThisExactForm) {
    ASSERT_TRUE(SaveSettings(ctx));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile),
              "[DEFAULTS]\r\n"
              "Format=Fixed\r\n"
              "Units= 1\r\n"
              "DefaultWireSize= .002\r\n"
              "DefaultSegmentNumber= 10\r\n"
              "DefaultFrequency= 14.1\r\n"
              "CoaxImpedance= 50\r\n"
              "dBi/dBd=-1\r\n"
              "PlotIncrement= 2\r\n"
              "PrinterX= .75\r\n"
              "PrinterY= .75\r\n"
              "ScreenFont Name=\r\n"
              "ScreenFont Size=\r\n"
              "ScreenFont Bold= 0\r\n"
              "ScreenFont Italic= 0\r\n"
              "ScreenFont Underline= 0\r\n"
              "ScreenFont Strikethru= 0\r\n"
              "ScreenFont Color=\r\n"
              "Frequency offset factor= 1\r\n"
              "Nec Mode= 1\r\n"
              "Height warning= 0\r\n"
              "BackColor= 15\r\n"
              "ForeColor= 8\r\n"
              "WireColor= 9\r\n"
              "PulseColor= 11\r\n"
              "SourceColor= 12\r\n"
              "LoadColor= 5\r\n"
              "PosCurrentColor= 12\r\n"
              "NegCurrentColor= 2\r\n"
              "FieldColor= 3\r\n"
              "MaxDelta= .1\r\n"
              "\r\n"
              "[PlotOptions]\r\n"
              "Log plot= 1\r\n"
              "3dB Marker= 0\r\n"
              "Grid Step= 10\r\n"
              "Min dB down=-50\r\n"
              "\r\n"
              "[LIMITS]\r\n"
              "ResonanceHi= 0\r\n"
              "ResonanceLow= 0\r\n"
              "ResonanceStep= 0\r\n"
              "ZLimits= 0, 2000,-2000, 2000\r\n"
              "GainHi= 10\r\n"
              "GainLow= 0\r\n");
}

TEST_F(Settings, SaveThenReadGivesTheSameValues) {
    ProgramOptions& o = ctx.options;
    o.DefaultFrequency = 7.05f;
    o.DefaultWireSize = 0.0015f;
    o.DefaultSegments = 21;
    o.NecMode = 2;
    o.FrequencyOffsetFactor = 1.05f;
    o.HeightWarningOff = true;
    o.GainInDbi = false;
    o.PlotStep = 5;
    o.MaxDelta = 0.3f;
    o.PrinterPresent = true;
    o.PrinterX = 1.5f;
    o.PrinterY = 0.25f;
    o.PrinterFont = {"Times New Roman", 10.5f, true, false, true, false, 255};
    o.ScreenFont = {"Courier New", 9.75f, false, true, false, true, -2147483640};
    o.Colours = {0, 1, 2, 3, 4, 5, 6, 7, 14};
    o.PlotScale = 2;
    o.Marker3dB = true;
    o.GridStep = 5;
    o.MinDb = -30;
    o.ResonanceHi = 14.35f;
    o.ResonanceLow = 14.0f;
    o.ResonanceStep = 0.05f;
    o.RMin = 10;
    o.RMax = 300;
    o.XMin = -150;
    o.XMax = 150;
    o.GainHi = 12.5f;
    o.GainLow = -7.5f;
    ctx.project.Units = kFeet;
    ctx.project.CoaxImpedance = 75;
    ctx.NumberFormat = kFloatNumberFormat;
    ASSERT_TRUE(SaveSettings(ctx));

    ScriptedHost h;
    Context back(h);
    back.files = ctx.files;
    back.options.PrinterPresent = true;
    ReadSettings(back);
    EXPECT_TRUE(back.options == ctx.options);
    EXPECT_EQ(back.project.Units, kFeet);
    EXPECT_EQ(back.project.CoaxImpedance, 75);
    EXPECT_EQ(back.NumberFormat, kFloatNumberFormat);

    // A second save of what was read writes the same file.
    const std::string first = ReadBytes(ctx.files.settingsFile);
    ASSERT_TRUE(SaveSettings(back));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile), first);
}

TEST_F(Settings, AHandWrittenFileReadsRightAndKeepsItsOtherKeys) {
    WriteSettings(
        "; my settings\n"
        "[defaults]\n"
        "  FORMAT = Float \n"
        "units=2\n"
        "MyOwnKey = keep me\n"
        "[Windows]\n"
        "Main= 100, 200, 8000, 6000\n"
        "[Toolbar]\n"
        "Anything=1\n");
    ReadSettings(ctx);
    EXPECT_EQ(ctx.NumberFormat, kFloatNumberFormat);
    EXPECT_EQ(ctx.project.Units, kFeet);
    ASSERT_TRUE(SaveSettings(ctx));
    const std::string saved = ReadBytes(ctx.files.settingsFile);
    EXPECT_EQ(saved.rfind("; my settings\r\n[defaults]\r\nFormat=Float\r\nUnits= 2\r\nMyOwnKey = keep me\r\n", 0), 0u)
        << saved;
    EXPECT_NE(saved.find("[Windows]\r\nMain= 100, 200, 8000, 6000\r\n[Toolbar]\r\nAnything=1\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("[DEFAULTS]"), std::string::npos);  // the section was found, not added again
}

TEST_F(Settings, ValuesWrittenTheMomentTheyChange) {
    WriteSettings("[DEFAULTS]\r\nMaxDelta= .1\r\n");
    ctx.options.HeightWarningOff = true;
    ctx.options.MaxDelta = 0.5f;
    ctx.options.GainHi = 20;
    ctx.options.GainLow = -5;
    ASSERT_TRUE(SaveHeightWarning(ctx));
    ASSERT_TRUE(SaveMaxDelta(ctx));
    ASSERT_TRUE(SaveGainLimits(ctx));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile),
              "[DEFAULTS]\r\nMaxDelta= .5\r\nHeight warning=-1\r\n\r\n[LIMITS]\r\nGainHi= 20\r\nGainLow=-5\r\n");
}

TEST_F(Settings, PlotOptionsWrittenByThePlotOptionsDialogReadBack) {
    WriteSettings("[PlotOptions]\r\nGrid Step= 5\r\n[Windows]\r\nPlotOpt= 1, 2, 3, 4\r\n");
    ctx.options.PlotScale = 2;
    ctx.options.Marker3dB = true;
    ctx.options.GridStep = 10;
    ctx.options.MinDb = -30;
    ASSERT_TRUE(SavePlotOptions(ctx));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile),
              "[PlotOptions]\r\nGrid Step= 10\r\nLog plot= 2\r\n3dB Marker=-1\r\nMin dB down=-30\r\n"
              "[Windows]\r\nPlotOpt= 1, 2, 3, 4\r\n");
    const ProgramOptions saved = ctx.options;
    ctx.options = ProgramOptions{};
    ReadSettings(ctx);
    EXPECT_EQ(ctx.options.PlotScale, saved.PlotScale);
    EXPECT_EQ(ctx.options.Marker3dB, saved.Marker3dB);
    EXPECT_EQ(ctx.options.GridStep, saved.GridStep);
    EXPECT_EQ(ctx.options.MinDb, saved.MinDb);
}

TEST_F(Settings, NoFileGivesDefaultsAndLoadDefaultsSaysSo) {
    ctx.options.DefaultFrequency = 3.5f;
    ctx.project.Units = kInches;
    LoadDefaults(ctx);  // nothing read
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"INI File not found, Set defaults first"});
    EXPECT_EQ(ctx.options.DefaultFrequency, 3.5f);
    EXPECT_EQ(GetSetting(ctx, "DEFAULTS", "Units"), "");
    EXPECT_EQ(GetSettingInt(ctx, "DEFAULTS", "Units"), 0);

    ReadSettings(ctx);  // every rule falls back to its default
    EXPECT_EQ(ctx.options.DefaultFrequency, 14.1f);
    EXPECT_EQ(ctx.project.Units, kMeters);
}

TEST_F(Settings, GetSettingInt) {
    WriteSettings("[S]\r\nA=-1\r\nB= 12.7\r\nC=+3\r\nD=x\r\nE=99999999999\r\n");
    EXPECT_EQ(GetSettingInt(ctx, "S", "A"), -1);
    EXPECT_EQ(GetSettingInt(ctx, "S", "B"), 12);  // its leading integer, not rounded
    EXPECT_EQ(GetSettingInt(ctx, "S", "C"), 3);
    EXPECT_EQ(GetSettingInt(ctx, "S", "D"), 0);
    EXPECT_EQ(GetSettingInt(ctx, "S", "E"), 0);
}

TEST_F(Settings, AnUnwritableFileIsReportedAndTheProgramGoesOn) {
    for (const std::string& path : {dir.File("missing/QUILLWORK.INI"), dir.Path()}) {
        ScriptedHost h;
        Context c(h);
        c.files.settingsFile = path;
        c.options.DefaultFrequency = 7.05f;
        EXPECT_FALSE(SaveSettings(c));
        EXPECT_FALSE(PutSetting(c, "DEFAULTS", "MaxDelta", " .5"));
        ASSERT_EQ(h.messages.size(), 2u) << path;
        EXPECT_EQ(h.messages[0].title, "Settings");
        EXPECT_EQ(h.messages[0].text.rfind("The settings could not be saved in " + path + "\r\n", 0), 0u)
            << h.messages[0].text;
        EXPECT_EQ(c.options.DefaultFrequency, 7.05f);  // the values in force are kept
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));

    // A folder in place of the file cannot be read either: Load Defaults says why.
    ScriptedHost h;
    Context c(h);
    c.files.settingsFile = dir.Path();
    LoadDefaults(c);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text.rfind("The settings could not be read from " + dir.Path(), 0), 0u);
}

TEST(WindowPosition, RestoredWithinTheScreen) {
    struct Case {
        const char* stored;
        bool resizable;
        WindowPlacement kind;
        float left, top, width, height;
    };
    const float w = 1024, h = 768;
    const Case cases[] = {
        {"", true, WindowPlacement::None, 0, 0, 0, 0},
        {" 0, 0, 0, 0", true, WindowPlacement::Maximised, 0, 0, w, h},
        {" 10, 20, 300, 200", true, WindowPlacement::MovedAndSized, 10, 20, 300, 200},
        {" 10, 20, 300, 200", false, WindowPlacement::Moved, 10, 20, 300, 200},
        {"-5, 800, 2000,-1", false, WindowPlacement::Moved, 0, 0, w, h},
        {" 1025, 768, 1024, 767", true, WindowPlacement::MovedAndSized, 0, 768, w, 767},
        {" 1E+39, 5", true, WindowPlacement::Maximised, 0, 5, w, h},
    };
    for (const auto& c : cases) {
        const WindowGeometry g = RestoreWindowPosition(c.stored, w, h, c.resizable);
        EXPECT_EQ(g.kind, c.kind) << c.stored;
        if (c.kind == WindowPlacement::None) continue;
        EXPECT_EQ((std::array{g.left, g.top, g.width, g.height}), (std::array{c.left, c.top, c.width, c.height}))
            << c.stored;
    }
}

TEST_F(Settings, WindowPositionIsStoredInStrForm) {
    EXPECT_EQ(WindowPositionText(120, 0, 9600.5f, -15), " 120, 0, 9600.5,-15");
    ASSERT_TRUE(StoreWindowPosition(ctx, "GeoGrid", 1, 2, 3, 4));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile), "[Windows]\r\nGeoGrid= 1, 2, 3, 4\r\n");
    EXPECT_EQ(StoredWindowPosition(ctx, "geogrid"), "1, 2, 3, 4");
    EXPECT_EQ(StoredWindowPosition(ctx, "Main"), "");
}

TEST(FileLocations, ProgramFolderWhenWritableElseTheUsersFolders) {
    std::map<std::string, std::string> env;
    bool writable = true;
    LocationInputs in;
    in.programFolder = "/opt/quillwork/bin";
    in.folderWritable = [&](const std::string&) { return writable; };
    in.environment = [&](const std::string& name) { return env.count(name) ? env[name] : ""; };

    FileLocations f = LocateFiles(in);
    EXPECT_EQ(f.settingsFile, "/opt/quillwork/bin/QUILLWORK.INI");
    EXPECT_EQ(f.logFolder, "/opt/quillwork/bin");

    writable = false;
    env["HOME"] = "/home/ann";
    f = LocateFiles(in);
    EXPECT_EQ(f.settingsFile, "/home/ann/.config/quillwork/QUILLWORK.INI");
    EXPECT_EQ(f.logFolder, "/home/ann/.local/state/quillwork");

    env["XDG_CONFIG_HOME"] = "/cfg";
    env["XDG_STATE_HOME"] = "relative/state";  // not absolute: ignored
    f = LocateFiles(in);
    EXPECT_EQ(f.settingsFile, "/cfg/quillwork/QUILLWORK.INI");
    EXPECT_EQ(f.logFolder, "/home/ann/.local/state/quillwork");
}

TEST(FileLocations, FoldersAreCreatedWhenNeeded) {
    TempDir dir;
    const FileLocations f{dir.File("config/quillwork/QUILLWORK.INI"), dir.File("state/quillwork")};
    EXPECT_EQ(CreateFileFolders(f), "");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("config/quillwork")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("state/quillwork")));
    EXPECT_EQ(CreateFileFolders(f), "");  // already there

    WriteBytes(dir.File("file"), "");
    EXPECT_NE(CreateFileFolders({dir.File("file/sub/QUILLWORK.INI"), dir.File("state")}), "");
}

}  // namespace
}  // namespace qw
