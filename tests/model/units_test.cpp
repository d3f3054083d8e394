// Units: the conversions, the length texts, the wire-size answers, and
// what a new project keeps.
#include <gtest/gtest.h>

#include "model/new_project.h"
#include "model/units.h"
#include "platform/scripted_host.h"

namespace qw {
namespace {

TEST(Units, ConversionsRoundInDoubleAndStoreSingle) {
    // The products are taken in double and rounded once to float.
    EXPECT_EQ(ToMeters(kMillimeters, 14.2f, 5.0f), 0.005f);
    EXPECT_NE(5.0f * 0.001f, 0.005f);  // why the double product matters
    EXPECT_EQ(ToMeters(kWavelengths, 14.2f, 0.25f), static_cast<float>(0.25 * 299.8 / static_cast<double>(14.2f)));
    EXPECT_EQ(FromMeters(kInches, 14.2f, 1.0f), 39.37008f);
    EXPECT_EQ(FromMeters(kWavelengths, 10.0f, 29.98f), 1.0f);
    // Without a frequency a wavelength cannot be converted: no division by 0.
    EXPECT_EQ(ToMeters(kWavelengths, 0.0f, 0.5f), 0.5f);
    EXPECT_EQ(FromMeters(kWavelengths, 0.0f, 0.5f), 0.5f);
}

TEST(Units, FormatLengthAndFloorHundredths) {
    Project p;
    p.Units = kFeet;
    EXPECT_EQ(FormatLength(p, 1.0f), " 3.281");
    EXPECT_EQ(FormatLength(p, -0.5f), "-1.64");
    EXPECT_EQ(FloorHundredths(-1.231f), -1.24f);
    EXPECT_EQ(FloorHundredths(1.15f), 1.15f);  // in double this would give 1.14
}

TEST(Units, WireSizeAnswers) {
    const float def = 0.002f;
    const std::pair<const char*, float> cases[] = {
        {"#14", static_cast<float>(1.628 / 1000)}, {"#", 0.008255f}, {"#22", 0.000723f}, {"#-1", 0.000723f},
        {"2mm", 2.0f}, {"0.1'", static_cast<float>(0.1 * 0.3048)}, {"1\"", 0.0254f}, {"0.002", 0.002f},
        {"0", def}, {"abc", def}, {"", 0.0f},
    };
    for (const auto& [answer, meters] : cases) EXPECT_EQ(ParseWireSize(answer, def), meters) << answer;
}

TEST(Units, AskWireSizeUsesTheInputBox) {
    ScriptedHost host;
    Context ctx(host);
    NewProject(ctx);
    ctx.options.DefaultWireSize = 0.0025f;
    host.inputAnswers = {std::string("#14"), std::nullopt};
    EXPECT_EQ(AskWireSize(ctx), static_cast<float>(1.628 / 1000));
    EXPECT_EQ(AskWireSize(ctx), 0.0f);  // cancelled
    ASSERT_EQ(host.inputs.size(), 2u);
    EXPECT_EQ(host.inputs[0].title, "Wire Size");
    EXPECT_EQ(host.inputs[0].proposed, "0.0025");
    EXPECT_EQ(host.inputs[0].prompt,
              "Enter Wire Size\r\n\r\n xxx m   in meters\r\n xxx '     in feet\r\n xxx \"   in inches\r\n"
              " #xxx     in A.W.G (0 to 20)\r\n             AWG #22 and smaller are #21\r\n\r\n"
              "Displayed value is default in meters");
}

TEST(ProjectModel, NewProjectKeepsTheUnitAndFrequencyOnly) {
    ScriptedHost host;
    Context ctx(host);
    Project& p = ctx.project;
    p.WireCount = 3;
    p.Sources[2].Magnitude = 7;
    p.Env.GroundPresent = kFreeSpace;
    p.Height = 5;
    p.Units = kFeet;
    p.Frequency = 7.05f;
    p.FileName = "x.qlk";
    NewProject(ctx);
    EXPECT_EQ(p.WireCount, 0);
    EXPECT_EQ(p.Sources[2].Magnitude, 100.0f);
    EXPECT_EQ(p.Env.GroundPresent, kOverGround);
    EXPECT_EQ(p.Height, 0.0f);
    EXPECT_EQ(p.FileName, "");
    EXPECT_EQ(p.Units, kFeet);
    EXPECT_EQ(p.Frequency, 7.05f);
}

}  // namespace
}  // namespace qw
