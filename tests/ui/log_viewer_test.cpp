// The log viewer: the log's end in view, reloading, and a file that is not
// there yet.
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

// A log as the program writes it: Windows-1252, CR LF.
std::string Log(int lines, const std::string& last) {
    std::string s = "QUILLWORK v1.0 Log File\r\n\r\n";
    for (int i = 1; i <= lines; ++i) s += "  IMPEDANCE  =  65.99 +  j 168.35 Ohms at Source " + std::to_string(i) + "\r\n";
    return s + last + "\r\n";
}

TEST(LogViewer, ShowsTheFileWithItsEndInViewAndReloads) {
    test::TempDir dir;
    const std::string path = dir.File("QUILLWORK.LOG");
    LogViewer v;
    const QScrollBar* bar = v.TextView()->verticalScrollBar();
    auto lastLine = [&] { return v.TextView()->document()->lastBlock().text(); };

    // Not there yet: said in the window; once it exists, Reload shows it.
    v.ShowFile(QString::fromStdString(path));
    EXPECT_TRUE(v.TextView()->toPlainText().contains("does not exist"));
    test::WriteBytes(path, Log(400, "Load # 1 = 2.5 \xB5H at Pulse 5"));
    v.Reload();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    EXPECT_EQ(lastLine(), QString::fromUtf8("Load # 1 = 2.5 \u00B5H at Pulse 5"));
    EXPECT_EQ(v.TextView()->document()->blockCount(), 403);  // no empty line after the last
    EXPECT_FALSE(v.TextView()->toPlainText().contains('\r'));
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    // The user scrolls up; a reload brings the new end into view.
    v.TextView()->verticalScrollBar()->setValue(0);
    test::WriteBytes(path, Log(400, "first run") + Log(200, "second run"));
    v.Reload();
    EXPECT_EQ(lastLine(), "second run");
    EXPECT_EQ(bar->value(), bar->maximum());
}

}  // namespace
}  // namespace qw
