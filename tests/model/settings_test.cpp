// The settings file: the read rules and their fallbacks, the exact form it
// is saved in, a round trip of every key, a hand-written file's own keys,
// the window positions and where the files live.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "commands/window_position.h"
#include "model/file_locations.h"
#include "model/settings.h"
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
    std::array<int, 4> ZLimits() const {
        return {ctx.options.RMin, ctx.options.RMax, ctx.options.XMin, ctx.options.XMax};
    }
};

// The read rules, one stored value at a time, each in a fresh context: the
// value in force afterwards is the one saved again.
TEST_F(Settings, ReadRulesFallBackToTheirDefaults) {
    struct Case {
        const char* section;
        const char* key;
        const char* stored;
        const char* inForce;
    };
    const char* const D = "DEFAULTS";
    const char* const P = "PlotOptions";
    const Case cases[] = {
        {D, "Units", "6", "1"},  // wavelengths are never restored
        {D, "Units", "2.5", "2"},  // rounded half to even
        {D, "Units", "99999", "1"},  // beyond an Integer
        {D, "DefaultWireSize", "2000000", ".002"}, {D, "DefaultSegmentNumber", "0.5", "10"},
        {D, "DefaultFrequency", "1E+39", "14.1"},  // beyond a Single
        {D, "DefaultFrequency", "7.05 MHz", "7.05"}, {D, "Frequency offset factor", "0.9", "1"},
        {D, "Nec Mode", "1.5", "2"}, {D, "Height warning", "", "0"}, {D, "dBi/dBd", "", "-1"},
        {D, "BackColor", "16", "15"},  // beyond the palette
        {D, "MaxDelta", "2", "1"}, {D, "MaxDelta", "-0.2", ".1"}, {P, "Log plot", "3", "1"},
        {P, "Grid Step", "0", "10"},  // would never reach the innermost ring
        {P, "Min dB down", "0", "-50"}, {"LIMITS", "GainHi", "0", "10"},
    };
    for (const auto& c : cases) {
        ScriptedHost h;
        Context fresh(h);
        fresh.files.settingsFile = ctx.files.settingsFile;
        WriteSettings(std::string("[") + c.section + "]\r\n" + c.key + "=" + c.stored + "\r\n");
        ReadSettings(fresh);
        std::filesystem::remove(ctx.files.settingsFile);
        ASSERT_TRUE(SaveSettings(fresh));
        EXPECT_EQ(GetSetting(fresh, c.section, c.key), c.inForce) << c.key << "=" << c.stored;
        EXPECT_TRUE(h.messages.empty());  // invalid values are never reported
    }
}

TEST_F(Settings, GainRangeAndZLimits) {
    WriteSettings("[DEFAULTS]\r\ndBi/dBd= 0\r\n[LIMITS]\r\nGainHi= 5\r\nGainLow= 20\r\nZLimits= 10, 500,-300, 300\r\n");
    ReadSettings(ctx);
    EXPECT_EQ(ctx.options.GainLow, 5);  // put in order
    EXPECT_EQ(ctx.options.GainHi, 20);
    EXPECT_EQ(ZLimits(), (std::array{10, 500, -300, 300}));
    EXPECT_FALSE(ctx.options.GainInDbi);
    // Missing numbers read as 0; one beyond an Integer gives the defaults.
    WriteSettings("[LIMITS]\r\nZLimits=1,2,3\r\n");
    ReadSettings(ctx);
    EXPECT_EQ(ZLimits(), (std::array{1, 2, 3, 0}));
    WriteSettings("[LIMITS]\r\nZLimits=1,99999,0,0\r\n");
    ReadSettings(ctx);
    EXPECT_EQ(ZLimits(), (std::array{0, 2000, -2000, 2000}));
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
    EXPECT_EQ(ctx.options.ScreenFont, (ProgramOptions::Font{"Courier New", 9.75f, false, true, false, false, 128}));

    ctx.options.PrinterPresent = true;
    ReadSettings(ctx);
    EXPECT_EQ(ctx.options.PrinterFont, (ProgramOptions::Font{"Arial", 12, true, false, false, false, 255}));

    // Without a printer its keys are not written either.
    ctx.options.PrinterPresent = false;
    std::filesystem::remove(ctx.files.settingsFile);
    ASSERT_TRUE(SaveSettings(ctx));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile).find("PrinterFont"), std::string::npos);
}

TEST_F(Settings, DefaultsAreSavedInThisExactForm) {
    ASSERT_TRUE(SaveSettings(ctx));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile),
              "[DEFAULTS]\r\nFormat=Fixed\r\nUnits= 1\r\nDefaultWireSize= .002\r\nDefaultSegmentNumber= 10\r\n"
              "DefaultFrequency= 14.1\r\nCoaxImpedance= 50\r\ndBi/dBd=-1\r\nPlotIncrement= 2\r\nPrinterX= .75\r\n"
              "PrinterY= .75\r\nScreenFont Name=\r\nScreenFont Size=\r\nScreenFont Bold= 0\r\n"
              "ScreenFont Italic= 0\r\nScreenFont Underline= 0\r\nScreenFont Strikethru= 0\r\n"
              "ScreenFont Color=\r\nFrequency offset factor= 1\r\nNec Mode= 1\r\nHeight warning= 0\r\n"
              "BackColor= 15\r\nForeColor= 8\r\nWireColor= 9\r\nPulseColor= 11\r\nSourceColor= 12\r\n"
              "LoadColor= 5\r\nPosCurrentColor= 12\r\nNegCurrentColor= 2\r\nFieldColor= 3\r\nMaxDelta= .1\r\n"
              "\r\n"
              "[PlotOptions]\r\nLog plot= 1\r\n3dB Marker= 0\r\nGrid Step= 10\r\nMin dB down=-50\r\n"
              "\r\n"
              "[LIMITS]\r\nResonanceHi= 0\r\nResonanceLow= 0\r\nResonanceStep= 0\r\n"
              "ZLimits= 0, 2000,-2000, 2000\r\nGainHi= 10\r\nGainLow= 0\r\n");
}

TEST_F(Settings, SaveThenReadGivesTheSameValues) {
    ProgramOptions& o = ctx.options;
    std::tie(o.DefaultFrequency, o.DefaultWireSize, o.FrequencyOffsetFactor, o.MaxDelta) =
        std::tuple{7.05f, 0.0015f, 1.05f, 0.3f};
    std::tie(o.DefaultSegments, o.NecMode, o.PlotStep, o.PlotScale, o.GridStep, o.MinDb) =
        std::tuple{21, 2, 5, 2, 5, -30};
    std::tie(o.HeightWarningOff, o.GainInDbi, o.Marker3dB, o.PrinterPresent) = std::tuple{true, false, true, true};
    std::tie(o.PrinterX, o.PrinterY, o.ResonanceHi, o.ResonanceLow, o.ResonanceStep, o.GainHi, o.GainLow) =
        std::tuple{1.5f, 0.25f, 14.35f, 14.0f, 0.05f, 12.5f, -7.5f};
    std::tie(o.RMin, o.RMax, o.XMin, o.XMax) = std::tuple{10, 300, -150, 150};
    o.PrinterFont = {"Times New Roman", 10.5f, true, false, true, false, 255};
    o.ScreenFont = {"Courier New", 9.75f, false, true, false, true, -2147483640};
    o.Colours = {0, 1, 2, 3, 4, 5, 6, 7, 14};
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
        "; my settings\n[defaults]\n  FORMAT = Float \nunits=2\nMyOwnKey = keep me\n"
        "[Windows]\nMain= 100, 200, 8000, 6000\n[Toolbar]\nAnything=1\n");
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

// Values the dialogs and menus store the moment they change.
TEST_F(Settings, SingleValuesWrittenInPlace) {
    WriteSettings("[PlotOptions]\r\nGrid Step= 5\r\n[Windows]\r\nPlotOpt= 1, 2, 3, 4\r\n");
    std::tie(ctx.options.GainHi, ctx.options.GainLow) = std::tuple{20.0f, -5.0f};
    std::tie(ctx.options.PlotScale, ctx.options.Marker3dB, ctx.options.GridStep, ctx.options.MinDb) =
        std::tuple{2, true, 10, -30};
    ASSERT_TRUE(SaveGainLimits(ctx));
    ASSERT_TRUE(SavePlotOptions(ctx));
    EXPECT_EQ(ReadBytes(ctx.files.settingsFile),
              "[PlotOptions]\r\nGrid Step= 10\r\nLog plot= 2\r\n3dB Marker=-1\r\nMin dB down=-30\r\n"
              "[Windows]\r\nPlotOpt= 1, 2, 3, 4\r\n\r\n[LIMITS]\r\nGainHi= 20\r\nGainLow=-5\r\n");
}

TEST_F(Settings, IntegersAreTheLeadingIntegerNotRounded) {
    WriteSettings("[S]\r\nA=-1\r\nB= 12.7\r\nD=x\r\nE=99999999999\r\n");
    EXPECT_EQ((std::array{GetSettingInt(ctx, "S", "A"), GetSettingInt(ctx, "S", "B"), GetSettingInt(ctx, "S", "D"),
                          GetSettingInt(ctx, "S", "E"), GetSettingInt(ctx, "S", "F")}),
              (std::array{-1, 12, 0, 0, 0}));
}

TEST_F(Settings, AnUnwritableFileIsReportedAndTheProgramGoesOn) {
    const std::string path = dir.File("missing/QUILLWORK.INI");
    ctx.files.settingsFile = path;
    ctx.options.DefaultFrequency = 7.05f;
    EXPECT_FALSE(SaveSettings(ctx));
    EXPECT_FALSE(PutSetting(ctx, "DEFAULTS", "MaxDelta", " .5"));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].title, "Settings");
    EXPECT_EQ(host.messages[0].text.rfind("The settings could not be saved in " + path + "\r\n", 0), 0u)
        << host.messages[0].text;
    EXPECT_EQ(ctx.options.DefaultFrequency, 7.05f);  // the values in force are kept
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));

    // A settings name that leads to a device (whose reading would never
    // end) is neither read nor written over.
    std::filesystem::create_symlink("/dev/full", dir.File("full.ini"));
    ctx.files.settingsFile = dir.File("full.ini");
    EXPECT_FALSE(SaveSettings(ctx));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_NE(host.messages[2].text.find("it is not a file"), std::string::npos) << host.messages[2].text;
}

TEST_F(Settings, WindowPositionsAreRestoredWithinTheScreenAndStoredInStrForm) {
    struct Case {
        const char* stored;
        bool resizable;
        WindowPlacement kind;
        std::array<float, 4> box;
    };
    const float w = 1024, h = 768;
    const Case cases[] = {
        {"", true, WindowPlacement::None, {}},
        {" 10, 20, 300, 200", true, WindowPlacement::MovedAndSized, {10, 20, 300, 200}},
        {"-5, 800, 2000,-1", false, WindowPlacement::Moved, {0, 0, w, h}},
        {" 1E+39, 5", true, WindowPlacement::Maximised, {0, 5, w, h}},
    };
    for (const auto& c : cases) {
        const WindowGeometry g = RestoreWindowPosition(c.stored, w, h, c.resizable);
        EXPECT_EQ(g.kind, c.kind) << c.stored;
        if (c.kind != WindowPlacement::None) {
            EXPECT_EQ((std::array{g.left, g.top, g.width, g.height}), c.box) << c.stored;
        }
    }

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

    // The folders are created when needed; a file in the way is reported.
    TempDir dir;
    EXPECT_EQ(CreateFileFolders({dir.File("config/quillwork/QUILLWORK.INI"), dir.File("state/quillwork")}), "");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("config/quillwork")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("state/quillwork")));
    WriteBytes(dir.File("file"), "");
    EXPECT_NE(CreateFileFolders({dir.File("file/sub/QUILLWORK.INI"), dir.File("state")}), "");
}

}  // namespace
}  // namespace qw
