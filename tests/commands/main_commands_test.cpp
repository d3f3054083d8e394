// The main window's commands on a scripted host: what each does to the
// project, the options, the settings and the files, and what it leaves
// alone when the user cancels.
#include "commands/main_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "commands/log_commands.h"
#include "model/new_project.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "solver/solver_state.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;

struct MainCommands : ::testing::Test {
    test::TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;

    MainCommands() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        NewProject(ctx);
    }
    // A project file of these cards in the test's folder.
    std::string ProjectFile(const std::string& name, const std::string& cards) {
        test::WriteBytes(dir.File(name), cards);
        return dir.File(name);
    }
    std::string Example(const std::string& name) { return kExamples + "/" + name; }
};

TEST_F(MainCommands, NewProjectNeverOverwritesAFile) {
    EXPECT_EQ(FreeFileName(dir.Path(), "Dec52607.qlk"), dir.File("Dec52607.qlk"));
    test::WriteBytes(dir.File("Dec52607.qlk"), "CM kept\r\n");
    test::WriteBytes(dir.File("Dec52607-2.qlk"), "CM kept\r\n");
    EXPECT_EQ(FreeFileName(dir.Path(), "Dec52607.qlk"), dir.File("Dec52607-3.qlk"));

    std::tm when{};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 5;
    when.tm_min = 7;
    EXPECT_EQ(NewProjectName(when), "Dec52607.qlk");  // month, day, year, minutes
    ASSERT_TRUE(NewProjectCommand(ctx, dir.Path(), when));
    EXPECT_EQ(p.FileName, dir.File("Dec52607-3.qlk"));
    EXPECT_EQ(host.mainText, std::vector<std::string>{"New Project"});
    EXPECT_EQ(test::ReadBytes(dir.File("Dec52607.qlk")), "CM kept\r\n");
}

TEST_F(MainCommands, CancelledQuestionsLeaveTheProjectAsItWas) {
    ASSERT_TRUE(OpenNamedProject(ctx, Example("dipole.qlk")));
    p.Modified = true;
    p.Height = 33;
    const int clears = host.mainTextClears;

    // New Project, Open Project, a dropped file and Exit: Cancel in the
    // save-changes question does nothing.
    host.messageAnswers = {MessageAnswer::Cancel, MessageAnswer::Cancel, MessageAnswer::Cancel,
                           MessageAnswer::Cancel};
    EXPECT_FALSE(NewProjectCommand(ctx, dir.Path(), std::tm{}));
    EXPECT_FALSE(OpenProjectCommand(ctx));
    EXPECT_FALSE(OpenNamedProject(ctx, Example("yagi3.qlk")));
    EXPECT_FALSE(ConfirmExit(ctx));
    ASSERT_EQ(host.messages.size(), 4u);
    for (const Message& m : host.messages) EXPECT_EQ(m.title, "Project was modified");
    EXPECT_EQ(host.mainTextClears, clears);
    EXPECT_EQ(p.WireCount, 1);
    EXPECT_FLOAT_EQ(p.Height, 33);
    EXPECT_TRUE(p.Modified);
    EXPECT_TRUE(host.dialogs.empty());
}

TEST_F(MainCommands, OpenShowsTheDialogBeforeAnythingChanges) {
    ASSERT_TRUE(OpenNamedProject(ctx, Example("dipole.qlk")));
    const int clears = host.mainTextClears;
    host.openAnswers = {std::nullopt};
    EXPECT_FALSE(OpenProjectCommand(ctx));
    EXPECT_EQ(host.mainTextClears, clears);
    EXPECT_EQ(std::filesystem::path(p.FileName).filename(), "dipole.qlk");

    host.openAnswers = {Example("yagi3.qlk")};
    ASSERT_TRUE(OpenProjectCommand(ctx));
    EXPECT_EQ(host.dialogs.back().title, "Read Geometry File");
    EXPECT_EQ(p.WireCount, 3);
}

TEST_F(MainCommands, DroppedFilesStartFromANewProject) {
    EXPECT_FALSE(OpenNamedProject(ctx, dir.File("notes.txt")));
    EXPECT_TRUE(IsProjectFileName("/a/ANTENNA.Nec"));
    EXPECT_FALSE(IsProjectFileName("/a/antenna.qlk.bak"));

    // The dropped file says nothing of height or ground: it must not inherit
    // the previous project's.
    ASSERT_TRUE(OpenNamedProject(ctx, Example("dipole.qlk")));
    const std::string bare = ProjectFile("bare.QLK", "GW 1 11 0 -5 0 0 5 0 0.002\r\nF 7.1\r\n");
    ASSERT_TRUE(OpenNamedProject(ctx, bare));
    EXPECT_TRUE(host.messages.empty() || host.messages.back().title != "Project was modified");
    EXPECT_FLOAT_EQ(p.Height, 0);
    EXPECT_EQ(p.Env.GroundKind, kPerfectGround);
    EXPECT_FLOAT_EQ(p.Frequency, 7.1f);
}

TEST_F(MainCommands, OptionInputBoxes) {
    // Coax impedance: rounded; 0 and Cancel change nothing.
    host.inputAnswers = {"75.4", "0", std::nullopt};
    for (int i = 0; i < 3; ++i) CoaxImpedanceCommand(ctx);
    EXPECT_FLOAT_EQ(p.CoaxImpedance, 75);
    EXPECT_EQ(host.inputs[0].title, "Coax. Impedance for SWR");
    EXPECT_EQ(host.inputs[1].proposed, " 75");

    // Plot step: 0 and below become 1; 2.5 rounds to even; Cancel keeps it.
    host.inputAnswers = {"0", "2.5", std::nullopt};
    std::vector<int> steps;
    for (int i = 0; i < 3; ++i) {
        PlotStepCommand(ctx);
        steps.push_back(ctx.options.PlotStep);
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 2}));

    // Max delta: above 1 becomes 1 and is stored at once.
    host.inputAnswers = {"2.5"};
    MaxDeltaCommand(ctx);
    EXPECT_FLOAT_EQ(ctx.options.MaxDelta, 1);
    EXPECT_EQ(GetSetting(ctx, kDefaultsSection, "MaxDelta"), "1");
}

TEST_F(MainCommands, TogglesShowTheirState) {
    SelectUnit(ctx, 4);
    SelectUnit(ctx, 5);  // wavelengths come only from project files
    EXPECT_EQ(p.Units, kMillimeters);
    ToggleNumberFormat(ctx);
    EXPECT_EQ(ctx.NumberFormat, kFloatNumberFormat);
    EXPECT_EQ(host.commandCaption["Ctl_Format"], "&Format Float");
    ToggleZeroHeightWarning(ctx);
    EXPECT_FALSE(host.commandChecked["mnuZH"]);
    EXPECT_EQ(GetSetting(ctx, kDefaultsSection, "Height warning"), "-1");
}

TEST_F(MainCommands, FreeSpaceToggleRebuildsTheGroundContact) {
    // A monopole standing on perfect ground: its foot is a pulse only while
    // the ground is there.
    const std::string monopole =
        ProjectFile("mono.qlk", "GND Reference\r\nF 14.2\r\nGW 1 10 0 0 0 0 0 5 0.002\r\nS 1 1 1 0\r\n");
    ASSERT_TRUE(OpenNamedProject(ctx, monopole));
    ASSERT_EQ(p.Env.GroundPresent, kOverGround);
    const int grounded = Solver(ctx).pulses.N;
    ToggleFreeSpace(ctx);
    EXPECT_EQ(p.Env.GroundPresent, kFreeSpace);
    EXPECT_EQ(host.commandCaption["CtlFree"], "Use Ground");
    EXPECT_EQ(Solver(ctx).pulses.N, grounded - 1);
    ToggleFreeSpace(ctx);
    EXPECT_EQ(host.commandCaption["CtlFree"], "In Free Space");
    EXPECT_EQ(Solver(ctx).pulses.N, grounded);
    EXPECT_TRUE(p.Modified);
}

TEST_F(MainCommands, ComputeImpedanceReportsAndTimes) {
    ASSERT_TRUE(OpenNamedProject(ctx, Example("dipole.qlk")));
    // A clock that moves 65 s on between the readings.
    std::chrono::steady_clock::time_point reading{};
    ComputeImpedanceCommand(ctx, [&] { return reading += std::chrono::seconds(65); });
    ASSERT_FALSE(ctx.AbortFlag);
    EXPECT_EQ(host.status[1], "run time: 01:05");
    bool impedance = false;
    for (const std::string& line : host.mainText)
        impedance |= line.find("IMPEDANCE  =  65.99 +  j 168.35 Ohms at Source 1") != std::string::npos;
    EXPECT_TRUE(impedance);
    EXPECT_EQ(RunTimeText(std::chrono::seconds(3725)), "02:05");
}

TEST_F(MainCommands, ReportsAlwaysGoToALogFile) {
    ASSERT_TRUE(OpenNamedProject(ctx, Example("dipole.qlk")));
    ASSERT_FALSE(ctx.log.IsOn());
    host.saveAnswers = {std::nullopt};  // the log dialog cancelled
    CurrentsCommand(ctx);
    ASSERT_TRUE(ctx.log.IsOn());
    EXPECT_EQ(ctx.log.Path(), dir.File("QUILLWORK.LOG"));
    CloseLog(ctx);
    EXPECT_NE(test::ReadBytes(dir.File("QUILLWORK.LOG")).find("Pulse"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.File("$$Current.$$$")));
}

TEST_F(MainCommands, StartUpOpensTheLogAndTheCommandLineFile) {
    StartUp(ctx, "");
    EXPECT_TRUE(ctx.log.IsOn());
    EXPECT_EQ(ctx.log.Path(), dir.File("QUILLWORK.LOG"));
    EXPECT_FALSE(ctx.ProjectOpen);
    StartUp(ctx, Example("dipole.qlk"));
    EXPECT_EQ(p.WireCount, 1);
    EXPECT_EQ(RecentProjects(ctx), std::vector<std::string>{Example("dipole.qlk")});
}

TEST(ToolbarLayout, KeysInOrderOnceEachAndKnownOnly) {
    EXPECT_EQ(ParseToolbarLayout("btnstop, btnnew,btnzz,btnnew,", {"btnnew", "btnopen", "btnstop"}),
              (std::vector<std::string>{"btnstop", "btnnew"}));
    EXPECT_LE(ToolbarLayoutText(std::vector<std::string>(40, "btnplotgain")).size(), 255u);  // the settings limit
}

TEST_F(MainCommands, RecentProjectsNewestFirstOnceEach) {
    for (int i = 1; i <= 8; ++i) RememberRecentProject(ctx, "/p/" + std::to_string(i) + ".qlk");
    RememberRecentProject(ctx, "/p/5.qlk");
    const std::vector<std::string> recent = RecentProjects(ctx);
    ASSERT_EQ(recent.size(), static_cast<std::size_t>(kMaxRecentProjects));
    EXPECT_EQ(std::vector<std::string>(recent.begin(), recent.begin() + 2), (std::vector<std::string>{"/p/5.qlk", "/p/8.qlk"}));
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "/p/5.qlk"), 1);
}

}  // namespace
}  // namespace qw
