// The project file window: the file's own text shown, accepted, edited and
// saved, or too long to be saved.
#include <gtest/gtest.h>

#include "commands/project_file_window.h"
#include "model/new_project.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

const std::string kFile = "CM two wires\r\nCE\r\nGW 1 5 0 0 0 0 0 1 0.002\r\nGW 2 5 1 0 0 1 0 1 0.002\r\nS 1 3 1 0\r\n";

struct Window {
    ScriptedHost host;
    Context ctx{host};
    test::TempDir dir;
    Window() {
        InstallSolver(ctx);
        NewProject(ctx);
        test::WriteBytes(dir.File("two.qlk"), kFile);
    }
};

TEST(ProjectFileWindow, ShowsTheFilesOwnTextAndAcceptsIt) {
    Window w;
    w.host.openAnswers.push_back(w.dir.File("two.qlk"));
    const ProjectFileView view = OpenProjectFileWindow(w.ctx);
    EXPECT_TRUE(view.loaded);
    EXPECT_EQ(view.caption, "Project " + w.dir.File("two.qlk"));
    EXPECT_EQ(view.text, kFile);  // the file's lines, not the echo lines
    EXPECT_EQ(view.wireCountLabel, " 2");
    CloseProjectFileWindow(w.ctx, true, false, view.text);
    EXPECT_FALSE(w.ctx.AbortFlag);
    EXPECT_TRUE(w.ctx.project.GeometryDefined);
    // The pulses built and the source prepared from what was read.
    EXPECT_TRUE(PulsesCurrent(w.ctx));
    EXPECT_EQ(Solver(w.ctx).pulses.N, 10);  // 4 inner pulses and one at the ground per wire
    EXPECT_EQ(Solver(w.ctx).E[1], 3.0f);
}

TEST(ProjectFileWindow, EditedTextIsSavedAndReadsBackAsItsCards) {
    Window w;
    w.host.openAnswers.push_back(w.dir.File("two.qlk"));
    const ProjectFileView view = OpenProjectFileWindow(w.ctx);
    const std::string edited = view.text + "GW 3 5 2 0 0 2 0 1 0.002\r\n";
    w.host.saveAnswers.push_back(w.dir.File("three.qlk"));
    CloseProjectFileWindow(w.ctx, true, true, edited);
    EXPECT_TRUE(w.ctx.AbortFlag);
    EXPECT_FALSE(w.ctx.project.GeometryDefined);
    EXPECT_FALSE(PulsesCurrent(w.ctx));  // nothing built from a text that was not read
    EXPECT_EQ(test::ReadBytes(w.dir.File("three.qlk")), edited);
    w.ctx.PendingFileName = w.dir.File("three.qlk");
    LoadProject(w.ctx);
    ASSERT_EQ(w.ctx.project.WireCount, 3);
    EXPECT_EQ(w.ctx.project.Wires[3].X1, 2.0f);
}

// A file longer than the window shows: its edited text is not saved, since
// the part cut off would be lost; unchanged, the project read is accepted.
TEST(ProjectFileWindow, TextCutToFitIsNotSavedWhenEdited) {
    Window w;
    std::string longFile = kFile;
    while (longFile.size() <= kMaxShownText) longFile += "CM a long comment line to fill the file\r\n";
    test::WriteBytes(w.dir.File("long.qlk"), longFile);
    w.host.openAnswers.push_back(w.dir.File("long.qlk"));
    const ProjectFileView view = OpenProjectFileWindow(w.ctx);
    ASSERT_TRUE(view.truncated);
    EXPECT_EQ(view.text.size(), kMaxShownText);

    w.host.saveAnswers.push_back(w.dir.File("cut.qlk"));
    EXPECT_FALSE(CloseProjectFileWindow(w.ctx, true, true, view.text + "X", view.truncated));
    EXPECT_EQ(w.host.MessageTexts(), std::vector<std::string>{kTextTooLongMessage});
    EXPECT_TRUE(w.host.dialogs.size() == 1);  // only the open dialog: no save dialog
    EXPECT_EQ(test::ReadBytes(w.dir.File("long.qlk")), longFile);

    EXPECT_TRUE(CloseProjectFileWindow(w.ctx, true, false, view.text, view.truncated));
    EXPECT_TRUE(!w.ctx.AbortFlag && w.ctx.project.GeometryDefined);
}

}  // namespace
}  // namespace qw
