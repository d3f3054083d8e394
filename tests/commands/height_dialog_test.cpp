// The height dialog: its unit, the conversions in the box, the refused
// values, Cancel, and the zero-height question.
#include "commands/height_dialog.h"

#include <gtest/gtest.h>

#include "model/new_project.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

struct HeightFixture {
    test::TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    HeightFixture() {
        ctx.files.settingsFile = dir.File(kSettingsFileName);
        NewProject(ctx);
    }
};

TEST(HeightDialog, OpensInMetresOrFeetByTheProjectUnit) {
    HeightFixture m;
    m.p.Units = kMeters;
    m.p.Height = 12.5f;
    EXPECT_EQ(HeightDialogLogic(m.ctx).BoxUnit(), kMeters);
    EXPECT_EQ(HeightDialogLogic(m.ctx).OpeningText(), "12.50");
    m.p.Height = 1.23456f;
    EXPECT_EQ(HeightDialogLogic(m.ctx).OpeningText(), "1.2346");

    HeightFixture in;
    in.p.Units = kInches;  // every unit but metres opens in feet
    in.p.Height = 3.048f;
    EXPECT_EQ(HeightDialogLogic(in.ctx).BoxUnit(), kFeet);
    EXPECT_EQ(HeightDialogLogic(in.ctx).OpeningText(), "10.00");
}

TEST(HeightDialog, SwitchingUnitsConvertsTheBox) {
    HeightFixture f;
    HeightDialogLogic d(f.ctx);
    EXPECT_EQ(d.SwitchUnit(kMeters, "7"), "7");  // already metres: unchanged
    EXPECT_EQ(d.SwitchUnit(kFeet, "3,048"), "10.00");  // a comma reads as the decimal point
    EXPECT_EQ(d.BoxUnit(), kFeet);
    EXPECT_EQ(d.SwitchUnit(kMeters, "100"), "30.4801");  // 100 x 0.3048006
    EXPECT_EQ(d.BoxUnit(), kMeters);
    // OK takes the number in the box's unit.
    d.SwitchUnit(kFeet, "1");
    ASSERT_TRUE(d.Ok("20"));
    EXPECT_FLOAT_EQ(f.p.Height, 20 * 0.3048006f);
}

TEST(HeightDialog, NegativeHeightIsRefusedAndCancelRestores) {
    HeightFixture f;
    f.p.Height = 4;
    HeightDialogLogic d(f.ctx);
    EXPECT_FALSE(d.Ok("-1"));
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "Negative Height not allowed");
    EXPECT_EQ(f.host.messages[0].title, "");
    EXPECT_EQ(f.p.Height, 4.0f);
    EXPECT_FALSE(f.p.Modified);
    EXPECT_FALSE(d.Ok("1E+40"));  // beyond a 32-bit value
    EXPECT_EQ(f.host.messages.back().text, "Number out of range");
    d.Cancel();
    EXPECT_EQ(f.p.Height, 4.0f);
    EXPECT_TRUE(f.ctx.AbortFlag);
    EXPECT_FALSE(f.p.HeightChanged);

    // OK sets the height and puts an antenna in free space over ground.
    f.p.Env.GroundPresent = kFreeSpace;
    ASSERT_TRUE(d.Ok("15.5"));
    EXPECT_EQ(f.p.Height, 15.5f);
    EXPECT_TRUE(f.p.HeightChanged && f.p.Modified);
    EXPECT_FALSE(f.ctx.AbortFlag);
    EXPECT_EQ(f.p.Env.GroundPresent, kOverGround);
    EXPECT_EQ(f.host.commandCaption["CtlFree"], "Ground Plane");
    EXPECT_EQ(f.host.messages.size(), 2u);
}

TEST(HeightDialog, ZeroHeightOverGroundAsksUnlessSwitchedOff) {
    HeightFixture f;
    f.p.Height = 5;
    HeightDialogLogic d(f.ctx);
    f.host.messageAnswers = {MessageAnswer::No};
    EXPECT_FALSE(d.Ok("0"));  // No: the dialog stays open
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].title, "Warning");
    EXPECT_EQ(f.host.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.p.Height, 5.0f);
    EXPECT_FALSE(f.ctx.options.HeightWarningOff);

    f.host.messageAnswers = {MessageAnswer::Yes};
    EXPECT_TRUE(d.Ok("0"));
    EXPECT_EQ(f.p.Height, 0.0f);
    EXPECT_FALSE(f.host.commandChecked["mnuZH"]);
    // The choice is in the settings at once.
    ScriptedHost quiet;
    Context fresh{quiet};
    fresh.files.settingsFile = f.ctx.files.settingsFile;
    fresh.options.HeightWarningOff = false;
    ReadSettings(fresh);
    EXPECT_TRUE(fresh.options.HeightWarningOff);

    // Switched off: accepted silently.
    HeightDialogLogic again(f.ctx);
    EXPECT_TRUE(again.Ok("0"));
    EXPECT_EQ(f.host.messages.size(), 2u);

    // In free space nothing is asked.
    HeightFixture free;
    free.p.Env.GroundPresent = kFreeSpace;
    EXPECT_TRUE(HeightDialogLogic(free.ctx).Ok("0"));
    EXPECT_TRUE(free.host.messages.empty());
}

}  // namespace
}  // namespace qw
