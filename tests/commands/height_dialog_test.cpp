// The height dialog: its unit, the conversions in the box, the refused
// negative height, Cancel, free space, and the zero-height question.
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

TEST(HeightDialog, OpensInMetresOrFeetAndConvertsTheBox) {
    HeightFixture m;
    m.p.Height = 1.23456f;
    EXPECT_EQ(HeightDialogLogic(m.ctx).BoxUnit(), kMeters);
    EXPECT_EQ(HeightDialogLogic(m.ctx).OpeningText(), "1.2346");

    HeightFixture in;
    in.p.Units = kInches;  // every unit but metres opens in feet
    in.p.Height = 3.048f;
    EXPECT_EQ(HeightDialogLogic(in.ctx).BoxUnit(), kFeet);
    EXPECT_EQ(HeightDialogLogic(in.ctx).OpeningText(), "10.00");

    HeightDialogLogic d(m.ctx);
    EXPECT_EQ(d.SwitchUnit(kFeet, "3,048"), "10.00");  // a comma reads as the decimal point
    EXPECT_EQ(d.SwitchUnit(kMeters, "100"), "30.4801");  // 100 x 0.3048006
    d.SwitchUnit(kFeet, "1");
    ASSERT_TRUE(d.Ok("20"));  // in the box's unit
    EXPECT_FLOAT_EQ(m.p.Height, 20 * 0.3048006f);
}

TEST(HeightDialog, NegativeIsRefusedCancelRestoresAndFreeSpaceGoesOverGround) {
    HeightFixture f;
    f.p.Height = 4;
    HeightDialogLogic d(f.ctx);
    const Revisions before = f.ctx.revisions;
    EXPECT_FALSE(d.Ok("-1"));
    EXPECT_EQ(f.host.MessageTexts(), std::vector<std::string>{"Negative Height not allowed"});
    EXPECT_EQ(f.p.Height, 4.0f);
    d.Cancel();
    EXPECT_EQ(f.p.Height, 4.0f);
    EXPECT_TRUE(f.ctx.AbortFlag);
    EXPECT_FALSE(f.p.Modified);
    EXPECT_EQ(f.ctx.revisions, before);  // nothing to rebuild

    f.p.Env.GroundPresent = kFreeSpace;
    ASSERT_TRUE(d.Ok("15.5"));
    EXPECT_EQ(f.p.Height, 15.5f);
    EXPECT_TRUE(f.p.Modified);
    EXPECT_EQ(f.ctx.revisions.geometry, before.geometry + 1);  // the pulses are built again
    EXPECT_EQ(f.p.Env.GroundPresent, kOverGround);
    EXPECT_EQ(f.host.commandCaption["CtlFree"], "Ground Plane");
}

TEST(HeightDialog, ZeroHeightOverGroundAsksUnlessSwitchedOff) {
    HeightFixture f;
    f.p.Height = 5;
    HeightDialogLogic d(f.ctx);
    f.host.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(d.Ok("0"));  // No: the dialog stays open
    EXPECT_EQ(f.p.Height, 5.0f);
    EXPECT_EQ(f.host.messages.at(0).buttons, MessageButtons::YesNo);
    EXPECT_TRUE(d.Ok("0"));  // Yes: switched off, in the settings at once
    EXPECT_EQ(f.p.Height, 0.0f);
    ScriptedHost quiet;
    Context fresh{quiet};
    fresh.files.settingsFile = f.ctx.files.settingsFile;
    ReadSettings(fresh);
    EXPECT_TRUE(fresh.options.HeightWarningOff);
    EXPECT_TRUE(HeightDialogLogic(f.ctx).Ok("0"));  // switched off: accepted silently
    EXPECT_EQ(f.host.messages.size(), 2u);
}

}  // namespace
}  // namespace qw
