// The log and debug files: their header, the menu captions, the dialog
// and a failed flush that turns logging off.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/log_commands.h"
#include "model/file_locations.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const char* const kHeader = "QUILLWORK  v1.0 Log File\r\n\r\n";

class Log : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedHost host;
    Context ctx{host};

    void SetUp() override { ctx.files.logFolder = dir.File("logs"); }
};

TEST_F(Log, OpenEmptiesTheFileAndWritesTheHeader) {
    const std::string path = dir.File("run.log");
    WriteBytes(path, "an older run\r\n");
    ASSERT_TRUE(OpenLog(ctx, path));
    EXPECT_EQ(host.commandCaption[kLogCommand], "&LogFile : " + path);
    EXPECT_TRUE(host.commandChecked[kLogCommand]);
    ctx.log.Write("Z = 73.1 + j 42.5");
    EXPECT_FALSE(FlushLog(ctx));  // on disk while the log stays open
    EXPECT_EQ(ReadBytes(path), std::string(kHeader) + "Z = 73.1 + j 42.5\r\n");
    ctx.log.Write("after the flush");
    CloseLog(ctx);
    EXPECT_FALSE(ctx.log.IsOn());
    EXPECT_EQ(host.commandCaption[kLogCommand], "&LogFile");
    EXPECT_FALSE(host.commandChecked[kLogCommand]);
    ctx.log.Write("after the close");  // a closed log takes nothing
    EXPECT_EQ(ReadBytes(path), std::string(kHeader) + "Z = 73.1 + j 42.5\r\nafter the flush\r\n");
}

TEST_F(Log, ChooseLogAsksWithASaveDialog) {
    std::filesystem::create_directory(ctx.files.logFolder);
    const std::string fallback = dir.File("logs/QUILLWORK.LOG");
    const std::string chosen = dir.File("chosen.log");
    struct Case {
        std::optional<std::string> answer;
        std::string opened;
    };
    const Case cases[] = {{std::nullopt, fallback}, {chosen, chosen}};
    for (const auto& c : cases) {
        host.saveAnswers.push_back(c.answer);
        ToggleLog(ctx);  // off: asks
        ASSERT_TRUE(ctx.log.IsOn());
        EXPECT_EQ(ctx.log.Path(), c.opened);
        ToggleLog(ctx);  // on: closes
        EXPECT_FALSE(ctx.log.IsOn());
        EXPECT_EQ(ReadBytes(c.opened), kHeader);
    }
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_TRUE(host.dialogs[0].save);  // the save dialog confirms before replacing a file
    EXPECT_EQ(host.dialogs[0].title, "Open LogFile");
    EXPECT_EQ(host.dialogs[0].proposed, fallback);
}

TEST_F(Log, AFlushThatCannotReopenTheLogTurnsLoggingOffAndSaysSo) {
    const std::string folder = dir.File("gone");
    std::filesystem::create_directory(folder);
    ASSERT_TRUE(OpenLog(ctx, folder + "/run.log"));
    std::filesystem::remove_all(folder);
    PutLogOnDisk(ctx);
    EXPECT_FALSE(ctx.log.IsOn());
    EXPECT_FALSE(host.commandChecked[kLogCommand]);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("logging is off"), std::string::npos);
    std::filesystem::create_directory(folder);  // the folder back: still nothing is written
    ctx.log.Write("nowhere");
    EXPECT_FALSE(FlushLog(ctx));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(Log, DebugFileLivesInTheLogsFolder) {
    // With a log open: beside it.
    ASSERT_TRUE(OpenLog(ctx, dir.File("run.log")));
    ToggleDebug(ctx);
    ASSERT_TRUE(ctx.debug.IsOn());
    EXPECT_EQ(ctx.debug.Path(), dir.File(kDebugFileName));
    EXPECT_EQ(host.commandCaption[kDebugCommand], "&Debug On");
    ctx.debug.Write("Begin Matrix Fill");
    ToggleDebug(ctx);
    EXPECT_EQ(ReadBytes(dir.File(kDebugFileName)), "Begin Matrix Fill\r\n");

    // Without a log: in the log folder of the file locations.
    CloseLog(ctx);
    std::filesystem::create_directory(ctx.files.logFolder);
    ToggleDebug(ctx);
    EXPECT_EQ(ctx.debug.Path(), dir.File("logs/QUILLWORK.DBG"));
    ToggleDebug(ctx);

    // A folder that does not exist: told, and debugging stays off.
    ctx.files.logFolder = dir.File("missing");
    ToggleDebug(ctx);
    EXPECT_FALSE(ctx.debug.IsOn());
    EXPECT_EQ(host.commandCaption[kDebugCommand], "&Debug Off");
    EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace qw
