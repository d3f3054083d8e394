// Units: the conversions, the length texts, the wire-size answers, and
// what a new project keeps.
#include <gtest/gtest.h>

#include "model/new_project.h"
#include "model/units.h"
#include "platform/scripted_host.h"

namespace qw {
namespace {

TEST(Units, ConversionsRoundInDoubleAndStoreSingle) {
    // A foot is 0.3048 m and an inch 0.0254 m exactly; the products are
    // taken in double and rounded once, so they land on the nearest float.
    EXPECT_EQ(ToMeters(kFeet, 14.2f, 10.0f), 3.048f);
    EXPECT_EQ(ToMeters(kInches, 14.2f, 100.0f), 2.54f);
    EXPECT_EQ(ToMeters(kCentimeters, 14.2f, 250.0f), 2.5f);
    EXPECT_EQ(ToMeters(kMillimeters, 14.2f, 5.0f), 0.005f);
    EXPECT_EQ(ToMeters(kMeters, 14.2f, 7.5f), 7.5f);
    EXPECT_FLOAT_EQ(FromMeters(kFeet, 14.2f, 1.0f), static_cast<float>(1 / 0.3048));
    EXPECT_FLOAT_EQ(FromMeters(kInches, 14.2f, 1.0f), static_cast<float>(1 / 0.0254));
    EXPECT_EQ(FromMeters(kCentimeters, 14.2f, 0.25f), 25.0f);
    // A wavelength is 299.8 m / f in MHz: 29.98 m at 10 MHz, 2 m at 149.9.
    EXPECT_EQ(FromMeters(kWavelengths, 10.0f, 29.98f), 1.0f);
    EXPECT_FLOAT_EQ(ToMeters(kWavelengths, 149.9f, 0.25f), 0.5f);
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
