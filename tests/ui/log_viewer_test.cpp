// The log viewer: the log's end in view, reloading, and files that are not
// there.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <string>

#include "support/temp_dir.h"
#include "ui/log_viewer.h"

namespace qw {
namespace {

QString LastLine(const LogViewer& v) { return v.TextView()->document()->lastBlock().text(); }

bool EndInView(const LogViewer& v) {
    const QScrollBar* bar = v.TextView()->verticalScrollBar();
    return bar->value() == bar->maximum();
}

// A log as the program writes it: Windows-1252, CR LF.
std::string Log(int lines, const std::string& last) {
    std::string s = "QUILLWORK v1.0 Log File\r\n\r\n";
    for (int i = 1; i <= lines; ++i) s += "  IMPEDANCE  =  65.99 +  j 168.35 Ohms at Source " + std::to_string(i) + "\r\n";
    return s + last + "\r\n";
}

TEST(LogViewer, ShowsTheFileWithItsEndInViewAndReloads) {
    test::TempDir dir;
    const std::string path = dir.File("QUILLWORK.LOG");
    test::WriteBytes(path, Log(400, "Load # 1 = 2.5 \xB5H at Pulse 5"));
    LogViewer v;
    v.ShowFile(QString::fromStdString(path));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    EXPECT_EQ(v.windowTitle(), "Log - QUILLWORK.LOG");
    EXPECT_EQ(LastLine(v), QString::fromUtf8("Load # 1 = 2.5 \u00B5H at Pulse 5"));
    EXPECT_EQ(v.TextView()->document()->blockCount(), 403);  // no empty line after the last
    EXPECT_FALSE(v.TextView()->toPlainText().contains('\r'));
    EXPECT_GT(v.TextView()->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(EndInView(v));

    // The user scrolls up; a reload brings the new end into view.
    v.TextView()->verticalScrollBar()->setValue(0);
    test::WriteBytes(path, Log(400, "first run") + Log(200, "second run"));
    v.Reload();
    EXPECT_EQ(LastLine(v), "second run");
    EXPECT_TRUE(EndInView(v));

    // Closed and shown again, it reads the file again.
    test::WriteBytes(path, Log(3, "a new log\rwith a lone CR"));
    v.close();
    v.ShowFile(QString::fromStdString(path));
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(LastLine(v), "with a lone CR");
}

TEST(LogViewer, AFileThatCannotBeReadIsSaidInTheWindow) {
    test::TempDir dir;
    const std::string path = dir.File("missing.log");
    LogViewer v;
    v.ShowFile(QString::fromStdString(path));
    EXPECT_TRUE(v.isVisible());
    EXPECT_TRUE(v.TextView()->toPlainText().contains("does not exist"));
    EXPECT_TRUE(v.TextView()->toPlainText().contains(QString::fromStdString(path)));

    // Once it exists, Reload shows it.
    test::WriteBytes(path, Log(1, "now here"));
    v.Reload();
    EXPECT_EQ(LastLine(v), "now here");

    v.ShowFile(QString::fromStdString(dir.Path()));
    EXPECT_TRUE(v.TextView()->toPlainText().contains("is a folder"));
}

}  // namespace
}  // namespace qw
